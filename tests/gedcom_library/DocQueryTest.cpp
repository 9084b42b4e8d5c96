#include <gtest/gtest.h>

#include "AppError.h"
#include "GEDEventClass.h"
#include "GEDSVGClass.h"
#include "GedFixtures.h"

namespace {

QStringList xrefsOf(const QList<GEDIndiClass>& people) {
    QStringList out;
    for (const GEDIndiClass& p : people) out.append(p.GetXref());
    return out;
}

TEST(DocQuery, EveryPathForm) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("queries.ged"));
    ASSERT_TRUE(doc);
    const GEDOtherClass head = doc->GetHead();
    const GEDObject person = doc->GetXrefs().value(QStringLiteral("I1"));
    const GEDObject famc = doc->Query(person, QStringLiteral("Other:FAMC"));
    ASSERT_FALSE(person.isNull());
    struct Case {
        const char* what;
        GEDObject start;
        QString path;
        QString payload;  // of the line found; "-" when nothing is found
    };
    const QList<Case> cases = {
        {"two steps from the document", GEDObject(), "Other:HEAD,Other:CHAR", "UTF-8"},
        {"tag in any letter case", GEDObject(), "Other:head,Other:char", "UTF-8"},
        {"kind is case-sensitive", GEDObject(), "other:HEAD", "-"},
        {"unknown tag word", GEDObject(), "Other:HEAD,Other:NOSUCH", "-"},
        {"no such line", head, "Other:PLAC", "-"},
        {"below a record", head, "Other:GEDC,Other:VERS", "5.5.1"},
        {"first match only", head, "Other:SOUR,Other:VERS", "2.0"},
        {"long tag name", person, "Event:BIRTH,Other:PLACE", "London"},
        {"date text", person, "Event:BIRT,Other:DATE", "1850-03-15"},
        {"kind without tag", person, "Other", "John /Smith/"},
        {"extension line", person, "SVG:_SVG_P", "3,4,False"},
        {"tag on the wrong kind", person, "Other:BIRT", "-"},
        {"one step below a link", famc, "Other:PEDI", "adopted"},
        {"empty step tag", person, "Event:", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GEDObject found = doc->Query(c.start, c.path);
        if (c.payload == u"-") {
            EXPECT_TRUE(found.isNull());
            continue;
        }
        ASSERT_FALSE(found.isNull());
        QString payload;
        if (found.kind() == GEDKind::Other) payload = GEDOtherClass(found).GetPayL();
        else if (found.kind() == GEDKind::Event) payload = GEDEventClass(found).GetPayL();
        else if (found.kind() == GEDKind::SVG) payload = GEDSVGClass(found).GetPayL();
        EXPECT_EQ(payload, c.payload);
    }
    // Record kinds without tags, and the empty path.
    EXPECT_EQ(doc->Query(GEDObject(), QStringLiteral("Indi")), person);
    EXPECT_EQ(GEDFamClass(doc->Query(GEDObject(), QStringLiteral("Fam"))).GetXref(), QStringLiteral("F1"));
    EXPECT_TRUE(doc->Query(GEDObject(), QStringLiteral("Indi:INDI")).isNull());
    EXPECT_EQ(doc->Query(person, QString()), person);
    EXPECT_EQ(doc->Query(GEDObject(), QStringLiteral("Other:HEAD")), head);
}

TEST(DocQuery, HeadVersionNotesAndCounts) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("queries.ged"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->GetVersion(), QStringLiteral("5.5.1"));
    EXPECT_EQ(doc->GetCntl(), load.control);
    EXPECT_FALSE(doc->Kestrova());
    EXPECT_TRUE(doc->GetAllURec().isEmpty());
    const GEDIndiClass person(doc->GetXrefs().value(QStringLiteral("I1")));
    // A note text, then a pointer to a NOTE record, an empty line between.
    EXPECT_EQ(doc->GetNotes(person), QStringLiteral("First note\n\nShared note"));
    EXPECT_EQ(person.GetNotes(), doc->GetNotes(person));
    // Trailing line feeds are removed.
    EXPECT_EQ(GEDFamClass(doc->GetXrefs().value(QStringLiteral("F1"))).GetNotes(), QStringLiteral("Ends with breaks"));
    // The family without a wife got a placeholder, counted and filed before it.
    EXPECT_EQ(doc->GetCountPersons(), 2);
    EXPECT_EQ(doc->GetCountFamilies(), 1);
    QStringList order;
    for (const GEDObject& rec : doc->GetData()) {
        if (rec.kind() == GEDKind::Indi) order.append(GEDIndiClass(rec).GetXref());
        else if (rec.kind() == GEDKind::Fam) order.append(GEDFamClass(rec).GetXref());
        else order.append(GEDOtherClass(rec).GetXref());
    }
    EXPECT_EQ(order, QStringList({"", "I1", "Missing2", "F1", "N1"}));
}

TEST(DocQuery, PersonsAndFamiliesInDateOrder) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\n"
        "0 @A@ INDI\n1 BIRT\n2 DATE 1900\n"
        "0 @F1@ FAM\n1 HUSB @A@\n1 WIFE @B@\n"
        "0 @B@ INDI\n1 BIRT\n2 DATE 1850\n"
        "0 @N1@ NOTE between\n"
        "0 @C@ INDI\n"
        "0 @D@ INDI\n1 BIRT\n2 DATE BEF 1850\n"
        "0 @F2@ FAM\n1 HUSB @C@\n1 WIFE @D@\n1 MARR\n2 DATE 1870\n"
        "0 TRLR\n");
    ASSERT_TRUE(doc);
    EXPECT_EQ(xrefsOf(doc->GetAllPersons()), QStringList({"D", "B", "A", "C"}));
    QStringList families;
    for (const GEDFamClass& f : doc->GetAllFamilies()) families.append(f.GetXref());
    EXPECT_EQ(families, QStringList({"F2", "F1"}));
    // Individuals move only among the slots individuals hold.
    const QList<GEDObject> records = doc->GetData();
    ASSERT_EQ(records.size(), 8);
    EXPECT_EQ(GEDIndiClass(records[1]).GetXref(), QStringLiteral("D"));
    EXPECT_EQ(GEDFamClass(records[2]).GetXref(), QStringLiteral("F2"));
    EXPECT_EQ(GEDOtherClass(records[4]).GetXref(), QStringLiteral("N1"));
}

TEST(DocQuery, ManyPersonsSortByBirthAndTiesKeepFileOrder) {
    // 300 persons with distinct birth years in a scrambled order, then three
    // born in the same year, then three without a birth.
    QByteArray text("0 HEAD\n");
    QList<int> years;
    for (int i = 0; i < 300; ++i) years.append(1500 + (i * 137) % 300);
    for (int i = 0; i < 300; ++i)
        text += "0 @P" + QByteArray::number(i) + "@ INDI\n1 BIRT\n2 DATE " + QByteArray::number(years[i]) + "\n";
    for (const char* id : {"T1", "T2", "T3"}) text += QByteArray("0 @") + id + "@ INDI\n1 BIRT\n2 DATE 1850\n";
    for (const char* id : {"U1", "U2", "U3"}) text += QByteArray("0 @") + id + "@ INDI\n";
    GedLoad load;
    auto doc = load.loadBytes(text + "0 TRLR\n");
    ASSERT_TRUE(doc);
    const QList<GEDIndiClass> people = doc->GetAllPersons();
    ASSERT_EQ(people.size(), 306);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(people[i].GetBirth().GetDate(), QString::number(1500 + i));
    EXPECT_EQ(xrefsOf(people.mid(300)), QStringList({"T1", "T2", "T3", "U1", "U2", "U3"}));
}

TEST(DocQuery, NameWordsAndMatches) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\n"
        "0 @I1@ INDI\n1 NAME John  /Smith/\n"
        "0 @I2@ INDI\n"
        "0 @I3@ INDI\n1 NAME Mary /Jones/\n"
        "0 TRLR\n");
    ASSERT_TRUE(doc);
    const QList<GEDIndiClass> people = doc->GetAllPersons();
    const QList<QStringList> names = doc->GetAllNames(people);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[0], QStringList({"John", "Smith"}));
    EXPECT_EQ(names[1], QStringList());
    EXPECT_EQ(names[2], QStringList({"Mary", "Jones"}));
    EXPECT_TRUE(doc->GetAllNames({}).isEmpty());

    struct Case {
        QString search;
        QStringList words;
        bool match;
    };
    const QList<Case> cases = {
        {"jo", {"Mary", "Jones"}, true},
        {"jo", {"John", "Smith"}, true},
        {"jo sm", {"John", "Smith"}, true},
        {"JOHN SMITH", {"John", "Smith"}, true},
        {"sm jo", {"John", "Smith"}, false},
        {"smith john", {"John", "Smith"}, false},
        {"jo jo", {"John", "Jones"}, true},
        {"jo jo", {"John", "Smith"}, false},
        {"", {}, true},
        {"", {"John"}, true},
        {"john ", {"John", "Smith"}, true},
        {"john ", {"John"}, false},
        {"x", {}, false},
        {"ohn", {"John"}, false},
        {"John  Smith", {"John", "", "Smith"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search.toStdString() + " / " + c.words.join(u' ').toStdString());
        const QList<bool> result = doc->GetNameMatches(c.search, {c.words});
        ASSERT_EQ(result.size(), 1);
        EXPECT_EQ(result[0], c.match);
    }
    EXPECT_EQ(doc->GetNameMatches(QStringLiteral("jo"), names), QList<bool>({true, false, true}));
    EXPECT_TRUE(doc->GetNameMatches(QStringLiteral("jo"), {}).isEmpty());
}

TEST(DocQuery, FileFromThisSystemsExport) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("export.ged"));
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->Kestrova());
    const StringDict settings = doc->GetAllHRec();
    EXPECT_EQ(settings.keys(), QStringList({"BoxWidth", "Title"}));
    EXPECT_EQ(settings.value(QStringLiteral("BoxWidth")), QStringLiteral("140"));
    EXPECT_EQ(settings.value(QStringLiteral("Title")), QStringLiteral("Our tree"));
    const StringDict places = doc->GetAllURec();
    EXPECT_EQ(places.keys(), QStringList({"home"}));
    EXPECT_EQ(places.value(QStringLiteral("home")), QStringLiteral("http://example.org/pics|C:\\pics"));
    EXPECT_EQ(doc->GetMaxCol(), 5);
    EXPECT_EQ(doc->GetMaxRow(), 3);

    const GEDIndiClass ida(doc->GetXrefs().value(QStringLiteral("P1")));
    EXPECT_EQ(ida.GetCol(), 2);
    EXPECT_EQ(ida.GetRow(), 3);
    EXPECT_TRUE(ida.GetTentative());
    EXPECT_EQ(ida.GetLocalSettings(), QStringLiteral("BoxColour=red,Shape=round"));
    EXPECT_FALSE(GEDIndiClass(doc->GetXrefs().value(QStringLiteral("P2"))).GetTentative());
    const GEDFamClass family(doc->GetXrefs().value(QStringLiteral("F1")));
    EXPECT_TRUE(family.GetMoreChildren());
    EXPECT_FALSE(family.GetLiaison());
    EXPECT_EQ(family.GetLocalSettings(), QStringLiteral("LineColour=blue"));
    // Extension lines have no child lines.
    const GEDSVGClass position(doc->Query(ida, QStringLiteral("SVG:_SVG_P")));
    EXPECT_EQ(position.GetType(), 144);
    EXPECT_TRUE(position.GetData().isEmpty());

    // The mark is exact: another letter case is another writer.
    GedLoad other;
    QFile f(GedLoad::fixture(QStringLiteral("export.ged")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    auto lookalike = other.loadBytes(f.readAll().replace("1 SOUR Kvora", "1 SOUR kvora"));
    ASSERT_TRUE(lookalike);
    EXPECT_FALSE(lookalike->Kestrova());
    EXPECT_TRUE(lookalike->GetAllHRec().isEmpty());
    EXPECT_TRUE(lookalike->GetAllURec().isEmpty());
}

TEST(DocQuery, BadExtensionLineIsAClearError) {
    GedLoad load;
    try {
        load.loadText("0 HEAD\n1 SOUR Kvora\n0 @P1@ INDI\n1 _SVG_P 2,x\n0 TRLR\n");
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kErrorBase + 517);
        EXPECT_EQ(e.description, QStringLiteral("Invalid _SVG_P value: 2,x"));
    }
}

}  // namespace
