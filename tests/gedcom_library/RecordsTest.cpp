#include <gtest/gtest.h>

#include "GEDEventClass.h"
#include "GEDTagClass.h"
#include "GedFixtures.h"

namespace {

QStringList tagsOf(const QList<GEDObject>& lines) {
    QStringList out;
    for (const GEDObject& line : lines) {
        short tag = 0;
        if (line.kind() == GEDKind::Other) tag = GEDOtherClass(line).GetType();
        else if (line.kind() == GEDKind::Event) tag = GEDEventClass(line).GetType();
        out.append(GEDTagClass::instance().GetTagname(tag));
    }
    return out;
}

template <typename Record>
QStringList xrefs(const QList<Record>& records) {
    QStringList out;
    for (const Record& r : records) out.append(r.GetXref());
    return out;
}

struct People : ::testing::Test {
    GedLoad load;
    std::shared_ptr<GEDDocClass> doc;
    void SetUp() override {
        doc = load.loadFixture(QStringLiteral("people.ged"));
        ASSERT_TRUE(doc);
    }
    GEDIndiClass person(const char* id) const { return GEDIndiClass(doc->GetXrefs().value(QString::fromLatin1(id))); }
    GEDFamClass family(const char* id) const { return GEDFamClass(doc->GetXrefs().value(QString::fromLatin1(id))); }
};

TEST_F(People, NamesFromPayloadsAndPieces) {
    const GEDIndiClass john = person("I1");
    EXPECT_EQ(john.GetName(), QStringLiteral("John Smith"));
    EXPECT_EQ(john.GetPersonalNames(), QStringLiteral("John /Smith/|John \"Jack\" /Smith/|Johann /Schmidt/"));
    // An empty NAME payload takes its name from the pieces.
    EXPECT_EQ(person("I2").GetName(), QStringLiteral("Mary Lee"));
    EXPECT_EQ(person("I2").GetPersonalNames(), QStringLiteral("Mary /Lee/"));
    EXPECT_EQ(person("I4").GetName(), QString());
    EXPECT_EQ(person("I4").GetPersonalNames(), QString());

    struct Case {
        QString in, out;
    };
    const QList<Case> cases = {{"John  /Smith/ ", "John /Smith/"},
                               {"John /Smith", "John /Smith/"},
                               {"/Smith/John", "/Smith/ John"},
                               {"\tAnna\t/de  Vries/", "Anna /de Vries/"},
                               {"//", ""},
                               {"Anna // Berg", "Anna Berg"}};
    for (const Case& c : cases) EXPECT_EQ(GEDIndiClass::sNormalisePersonalName(c.in), c.out) << c.in.toStdString();
    EXPECT_EQ(GEDIndiClass::sNameFromPieces(GEDOtherClass(doc->Query(john, QStringLiteral("Other:NAME")))),
              QStringLiteral("John \"Jack\" /Smith/"));
}

TEST_F(People, SexValues) {
    // "M", "Female", "?", an empty value and "x".
    EXPECT_EQ(person("I1").GetSex(), QStringLiteral("m"));
    EXPECT_EQ(person("I2").GetSex(), QStringLiteral("f"));
    EXPECT_EQ(person("I3").GetSex(), QStringLiteral("u"));
    EXPECT_EQ(person("I4").GetSex(), QStringLiteral("u"));
    EXPECT_EQ(person("I5").GetSex(), QStringLiteral("x"));
    // No SEX line.
    EXPECT_EQ(person("I11").GetSex(), QStringLiteral("u"));
}

TEST_F(People, EventsAreKeptSortedAndCorrected) {
    const GEDIndiClass john = person("I1");
    // The later BIRT line is the birth; it keeps its place and type.
    EXPECT_EQ(john.GetBirth().GetDate(), QStringLiteral("1850-03-15"));
    EXPECT_EQ(john.GetBirth().GetPlace(), QStringLiteral("London"));
    EXPECT_EQ(john.GetBirth().GetGType(), QStringLiteral("Home birth"));
    EXPECT_EQ(john.GetDeath().GetDate(), QStringLiteral("1920"));
    // Events are sorted by date among themselves; other lines keep their places.
    EXPECT_EQ(tagsOf(john.GetData()),
              QStringList({"NAME", "NAME", "SEX", "BIRT", "BIRT", "RESI", "DEAT", "OCCU", "FAMS", "FAMS", "?"}));

    const GEDIndiClass unnamed = person("I4");
    const GEDEventClass death = unnamed.GetDeath();
    // A descriptive payload of an event that only takes "Y" becomes its note.
    EXPECT_EQ(death.GetPayL(), QString());
    EXPECT_EQ(tagsOf(death.GetData()), QStringList({"NOTE"}));
    EXPECT_EQ(death.GetNotes(), QStringLiteral("drowned at sea"));
    GEDEventClass again = death;
    again.CorrectPayload();
    EXPECT_EQ(tagsOf(death.GetData()), QStringList({"NOTE"}));
    const GEDEventClass christening(doc->Query(unnamed, QStringLiteral("Event:CHR")));
    EXPECT_EQ(christening.GetPayL(), QStringLiteral("Y"));
    const GEDEventClass occupation(doc->Query(unnamed, QStringLiteral("Event:OCCU")));
    EXPECT_EQ(occupation.GetPayL(), QStringLiteral("Weaver"));
    EXPECT_TRUE(occupation.GetData().isEmpty());
}

TEST_F(People, Captions) {
    struct Case {
        const char* id;
        QString shortCaption, caption;
    };
    const QList<Case> cases = {
        {"I1", "John Smith", "John Smith (1850-1920)"},
        {"I2", "Mary Lee", "Mary Lee (?-)"},
        {"I3", "Anna de Vries", "Anna de Vries (1901-)"},
        {"I4", "(Unnamed)", "(Unnamed) (?-?)"},
        {"I5", "John W. S. Jr", "John W. S. Jr (?-)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(person(c.id).GetShortCaption(), c.shortCaption);
        EXPECT_EQ(person(c.id).GetCaption(), c.caption);
    }
}

TEST_F(People, FamiliesPartnersAndChildren) {
    const GEDFamClass first = family("F1");
    EXPECT_EQ(first.GetHusb(), person("I1"));
    EXPECT_EQ(first.GetWife(), person("I2"));
    EXPECT_EQ(first.GetMarriage().GetDate(), QStringLiteral("1875"));
    // Children by birth date, those without one last.
    EXPECT_EQ(xrefs(first.GetChildren()), QStringList({"I6", "I3", "I5"}));
    // Family events are sorted too.
    EXPECT_EQ(tagsOf(family("F2").GetData()), QStringList({"HUSB", "WIFE", "MARR", "DIV"}));

    const GEDIndiClass john = person("I1");
    const QList<GEDFamClass> marriages = john.GetFamS();
    EXPECT_EQ(xrefs(marriages), QStringList({"F1", "F2"}));
    EXPECT_EQ(xrefs(john.GetSpouses(marriages)), QStringList({"I2", "I10"}));
    const GEDIndiClass ruth = person("I10");
    EXPECT_EQ(xrefs(ruth.GetSpouses(ruth.GetFamS())), QStringList({"I1", "I11"}));
    EXPECT_TRUE(john.GetSpouses({}).isEmpty());

    EXPECT_EQ(person("I3").GetFamC(), first);
    EXPECT_FALSE(person("I3").GetTentative());
    EXPECT_TRUE(john.GetFamC().isNull());
    EXPECT_EQ(doc->GetCountPersons(), 8);
    EXPECT_EQ(doc->GetCountFamilies(), 3);
    EXPECT_TRUE(load.listener.warnings().isEmpty());
}

TEST_F(People, RelatedSpousesGroup) {
    const QString group = QStringLiteral("I1,I2,I10,I11");
    EXPECT_EQ(person("I1").GetRelatedSpouses(), group);
    EXPECT_EQ(person("I11").GetRelatedSpouses(), group);
    EXPECT_EQ(person("I3").GetRelatedSpouses(), QStringLiteral("I3"));
}

TEST_F(People, PersonsInBirthOrder) {
    EXPECT_EQ(xrefs(doc->GetAllPersons()), QStringList({"I1", "I6", "I3", "I2", "I4", "I5", "I10", "I11"}));
    EXPECT_EQ(xrefs(doc->GetAllFamilies()), QStringList({"F1", "F2", "F3"}));
}

TEST_F(People, HandlesKeepTheirDocumentAlive) {
    GEDIndiClass john = person("I1");
    const GEDObject name = john.GetData().front();
    doc.reset();
    EXPECT_EQ(john.GetName(), QStringLiteral("John Smith"));
    EXPECT_EQ(GEDOtherClass(name).GetPayL(), QStringLiteral("John  /Smith/"));
    EXPECT_EQ(john.GetFamS().front().GetWife().GetName(), QStringLiteral("Mary Lee"));
    // A handle of the wrong class is null.
    EXPECT_TRUE(GEDFamClass(john).isNull());
    EXPECT_TRUE(GEDEventClass(name).isNull());
}

TEST(Records, BirthFamilyChoice) {
    struct Case {
        const char* what;
        const char* links;  // FAMC lines of I1
        const char* famc;   // "" for none
        bool tentative;
    };
    const QList<Case> cases = {
        {"natural before adopted", "1 FAMC @F1@\n2 PEDI adopted\n1 FAMC @F2@\n", "F2", false},
        {"adopted alone", "1 FAMC @F1@\n2 PEDI Adopted\n", "F1", true},
        {"foster after adopted", "1 FAMC @F2@\n2 PEDI foster\n1 FAMC @F1@\n2 PEDI adopted\n", "F1", true},
        {"birth counts as natural", "1 FAMC @F1@\n2 PEDI adopted\n1 FAMC @F2@\n2 PEDI birth\n", "F2", false},
        {"sealing is left out", "1 FAMC @F1@\n2 PEDI sealing\n", "", false},
        {"first natural wins", "1 FAMC @F2@\n1 FAMC @F1@\n", "F2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GedLoad load;
        const QByteArray text = QByteArray("0 HEAD\n0 @I1@ INDI\n") + c.links +
                                "0 @P@ INDI\n0 @Q@ INDI\n"
                                "0 @F1@ FAM\n1 HUSB @P@\n1 WIFE @Q@\n"
                                "0 @F2@ FAM\n1 HUSB @P@\n1 WIFE @Q@\n1 CHIL @I1@\n0 TRLR\n";
        auto doc = load.loadBytes(text);
        ASSERT_TRUE(doc);
        const GEDIndiClass child(doc->GetXrefs().value(QStringLiteral("I1")));
        EXPECT_EQ(child.GetFamC().GetXref(), QString::fromLatin1(c.famc));
        EXPECT_EQ(child.GetTentative(), c.tentative);
        // An adopted or foster child is counted among its family's children, once.
        for (const GEDFamClass& fam : doc->GetAllFamilies()) {
            const QStringList kids = xrefs(fam.GetChildren());
            const bool expected = fam.GetXref() == u"F2" || (c.tentative && fam == child.GetFamC());
            EXPECT_EQ(kids, expected ? QStringList({"I1"}) : QStringList()) << fam.GetXref().toStdString();
        }
    }
}

TEST(Records, OtherLinesAndUnknownTags) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\n"
        "0 @S1@ SOUR\n1 TITL Parish book\n1 _SCAN dropped\n"
        "0 @I1@ INDI\n1 BIRT\n2 DATE 1900\n2 DATE 1901\n2 _SEEN kept\n"
        "0 TRLR\n");
    ASSERT_TRUE(doc);
    const GEDOtherClass source(doc->GetXrefs().value(QStringLiteral("S1")));
    EXPECT_EQ(source.GetXref(), QStringLiteral("S1"));
    EXPECT_EQ(source.GetType(), 119);
    EXPECT_EQ(tagsOf(source.GetData()), QStringList({"TITL"}));
    const GEDEventClass birth = GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetBirth();
    // The later DATE line is the date; both stay among the lines.
    EXPECT_EQ(birth.GetDate(), QStringLiteral("1901"));
    EXPECT_EQ(tagsOf(birth.GetData()), QStringList({"DATE", "DATE", "?"}));
}

TEST(Records, Mends) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("mends.ged"));
    ASSERT_TRUE(doc);
    const GEDXrefTable table = doc->GetXrefs();
    const auto person = [&table](const char* id) { return GEDIndiClass(table.value(QString::fromLatin1(id))); };
    const auto family = [&table](const char* id) { return GEDFamClass(table.value(QString::fromLatin1(id))); };

    // Every broken pointer is reported once, whatever asks for it later.
    const QStringList expected = {
        "Undefined cross-reference ID: @I99@",
        "Cross-reference ID names a record of the wrong type: @F1@",
        "Undefined cross-reference ID: @F9@",
        "Undefined cross-reference ID: @N3@",
        "Undefined cross-reference ID: @M9@",
        "Cross-reference ID names a record of the wrong type: @I1@",
    };
    EXPECT_EQ(load.listener.warnings(), expected);
    EXPECT_EQ(xrefs(family("F1").GetChildren()), QStringList({"I3"}));
    EXPECT_EQ(xrefs(person("I1").GetFamS()), QStringList({"F1", "F2"}));
    EXPECT_TRUE(person("Missing5").GetFamC().isNull());
    EXPECT_EQ(load.listener.warnings(), expected);

    // Partners defined later in the file are found; missing ones get
    // placeholders whose identifiers avoid the file's own.
    EXPECT_EQ(family("F1").GetHusb(), person("I1"));
    EXPECT_EQ(family("F1").GetWife(), person("I2"));
    const GEDIndiClass wife = family("F2").GetWife();
    EXPECT_EQ(wife.GetXref(), QStringLiteral("Missing6"));
    EXPECT_EQ(wife.GetName(), QStringLiteral("(Unknown Person)"));
    EXPECT_EQ(wife.GetSex(), QStringLiteral("f"));
    EXPECT_EQ(xrefs(wife.GetFamS()), QStringList({"F2"}));
    const GEDIndiClass husband = family("F3").GetHusb();
    EXPECT_EQ(husband.GetXref(), QStringLiteral("Missing7"));
    EXPECT_EQ(husband.GetSex(), QStringLiteral("m"));
    EXPECT_EQ(doc->GetCountPersons(), 6);
    QStringList order;
    for (const GEDObject& rec : doc->GetData())
        if (rec.kind() == GEDKind::Indi) order.append(GEDIndiClass(rec).GetXref());
        else if (rec.kind() == GEDKind::Fam) order.append(GEDFamClass(rec).GetXref());
    EXPECT_EQ(order, QStringList({"F1", "Missing6", "F2", "Missing7", "F3", "I1", "I2", "I3", "Missing5"}));

    // A link marked PEDI birth is a natural parentage.
    EXPECT_EQ(person("I3").GetFamC(), family("F1"));
    EXPECT_FALSE(person("I3").GetTentative());
    // Empty and unknown SEX values.
    EXPECT_EQ(person("I2").GetSex(), QStringLiteral("u"));
    EXPECT_EQ(person("I3").GetSex(), QStringLiteral("u"));
    // Notes: a loop of NOTE records and a missing one add nothing.
    EXPECT_EQ(person("I1").GetNotes(), QStringLiteral("Own words"));
    // Looking identifiers up does not add them.
    EXPECT_FALSE(table.contains(QStringLiteral("I99")));
    EXPECT_FALSE(table.contains(QStringLiteral("F9")));
}

TEST(Records, PlaceholderAfterAnUnresolvedPartner) {
    GedLoad load;
    auto doc = load.loadText("0 HEAD\n0 @F1@ FAM\n1 HUSB @GONE@\n1 WIFE @W@\n0 @W@ INDI\n0 TRLR\n");
    ASSERT_TRUE(doc);
    const GEDFamClass fam(doc->GetXrefs().value(QStringLiteral("F1")));
    // The unresolved line is passed over, so the placeholder is the husband.
    EXPECT_EQ(fam.GetHusb().GetName(), QStringLiteral("(Unknown Person)"));
    EXPECT_EQ(tagsOf(fam.GetData()), QStringList({"HUSB", "WIFE", "HUSB"}));
    EXPECT_EQ(load.listener.warnings(), QStringList({"Undefined cross-reference ID: @GONE@"}));
    // A placeholder made on request is filed like the others.
    const GEDIndiClass extra = doc->CreatePerson(QStringLiteral("m"));
    EXPECT_EQ(extra.GetXref(), QStringLiteral("Missing3"));
    EXPECT_EQ(doc->GetCountPersons(), 3);
    EXPECT_EQ(doc->GetXrefs().value(QStringLiteral("Missing3")), extra);
}

}  // namespace

// Lines with the same date or place may share their text inside the
// document: changing one line's value, to a shorter or a longer one, leaves
// the others as they were.
TEST(Records, EditedValuesStayWithTheirLine) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\n"
        "0 @I1@ INDI\n1 BIRT\n2 DATE 5 MAR 1850\n2 PLAC York\n1 DEAT\n2 DATE 5 MAR 1850\n2 PLAC York\n"
        "0 @I2@ INDI\n1 BIRT\n2 DATE 5 MAR 1850\n2 PLAC York\n"
        "0 TRLR\n");
    ASSERT_TRUE(doc);
    const GEDIndiClass first(doc->GetXrefs().value(QStringLiteral("I1")));
    const GEDIndiClass second(doc->GetXrefs().value(QStringLiteral("I2")));
    const auto lineOf = [](const GEDEventClass& event, const char* tag) {
        for (const GEDObject& line : event.GetData())
            if (GEDTagClass::instance().GetTagname(GEDOtherClass(line).GetType()) == QLatin1String(tag)) return GEDOtherClass(line);
        return GEDOtherClass();
    };
    for (const char* value : {"Yo", "York Minster, York"}) {
        SCOPED_TRACE(value);
        lineOf(first.GetBirth(), "PLAC").SetPayL(QString::fromLatin1(value));
        lineOf(first.GetDeath(), "DATE").SetPayL(QString::fromLatin1(value));
        EXPECT_EQ(first.GetBirth().GetPlace(), QLatin1String(value));
        EXPECT_EQ(first.GetDeath().GetDate(), QLatin1String(value));
        EXPECT_EQ(first.GetBirth().GetDate(), QStringLiteral("1850-03-05"));
        EXPECT_EQ(first.GetDeath().GetPlace(), QStringLiteral("York"));
        EXPECT_EQ(second.GetBirth().GetDate(), QStringLiteral("1850-03-05"));
        EXPECT_EQ(second.GetBirth().GetPlace(), QStringLiteral("York"));
    }
}
