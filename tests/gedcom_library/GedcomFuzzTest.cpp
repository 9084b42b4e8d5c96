// Broken GEDCOM files: cut short and changed copies of small fixtures either
// load (with warnings) or raise AppError, and what loads can be laid out and
// asked for its notes and pictures without a crash.
#include <gtest/gtest.h>

#include "AppError.h"
#include "GedFixtures.h"
#include "InputMutations.h"

namespace {

// Loads the bytes and walks what loaded; an AppError is an accepted outcome
// and must say what went wrong. Any other exception fails the test.
void loadAndWalk(GedLoad& load, const QByteArray& bytes) {
    std::shared_ptr<GEDDocClass> doc;
    try {
        doc = load.loadBytes(bytes);
    } catch (const AppError& e) {
        EXPECT_FALSE(e.description.isEmpty()) << bytes.toStdString();
        return;
    }
    if (!doc) return;
    try {
        doc->Layout();
    } catch (const AppError& e) {
        EXPECT_FALSE(e.description.isEmpty()) << bytes.toStdString();
    }
    for (const GEDIndiClass& person : doc->GetAllPersons()) {
        (void)person.GetFullNotes();
        (void)person.GetImage();
        (void)person.GetImagePlace();
    }
    for (const GEDFamClass& family : doc->GetAllFamilies()) (void)family.GetFullNotes();
}

QByteArray fixtureBytes(const char* name) {
    QFile f(GedLoad::fixture(QString::fromLatin1(name)));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

}  // namespace

TEST(GedcomFuzz, BrokenCopiesOfFixturesLoadOrFail) {
    const char* const fixtures[] = {"people.ged", "notes_html.ged", "images_551.ged", "layout_exported.ged",
                                    "layout_loop.ged", "continuation.ged", "555SAMPLE16LE.GED"};
    std::uint32_t seed = 20261210;
    for (const char* name : fixtures) {
        SCOPED_TRACE(name);
        InputMutations mutations(fixtureBytes(name), seed++);
        mutations.addTokens({"0 @I1@ INDI\n", "1 FAMS @F1@\n", "1 FAMC @F1@\n", "1 CONT ", "1 CONC ", "2 DATE ",
                             "ABT 32 JAN 99999\n", "1 _SVG_P 99999,99999\n", "5 NOTE ", "@F1@", "@@"});
        for (const QByteArray& bytes : mutations.make(40, 160)) {
            GedLoad load;
            loadAndWalk(load, bytes);
        }
    }
}

// Hostile shapes written by hand: each loads, or fails with its own error,
// and what loads survives layout and the note and picture queries.
TEST(GedcomFuzz, HostileShapesLoadOrFailWithTheirError) {
    QByteArray deep = "0 HEAD\n0 @I1@ INDI\n";
    for (int level = 1; level <= 120; ++level) deep += QByteArray::number(level) + " _X y\n";
    QByteArray manyNotes = "0 HEAD\n0 @I1@ INDI\n";
    for (int i = 0; i < 500; ++i) manyNotes += "1 NOTE @N1@\n";
    manyNotes += "0 @N1@ NOTE text\n1 NOTE @N1@\n0 TRLR\n";
    struct Case {
        const char* what;
        QByteArray text;
        int persons;        // -1 when the load fails
        const char* error;  // the start of the failure's text
    };
    const std::vector<Case> cases = {
        {"nested deeper than allowed", deep, -1, "GEDCOM lines nested deeper than level 99"},
        {"level numbers beyond any integer",
         "0 HEAD\n0 @I1@ INDI\n99999999999999999999 NAME x\n2147483647 NAME y\n0 TRLR\n", 1, ""},
        {"notes that point at each other",
         "0 HEAD\n0 @I1@ INDI\n1 NOTE @N1@\n0 @N1@ NOTE a\n1 NOTE @N2@\n0 @N2@ NOTE b\n1 NOTE @N1@\n"
         "0 @N3@ NOTE @N3@\n0 @I2@ INDI\n1 NOTE @N3@\n0 TRLR\n", 2, ""},
        {"one note named many times", manyNotes, 1, ""},
        {"a person who is their own parent and child",
         "0 HEAD\n0 @I1@ INDI\n1 FAMS @F1@\n1 FAMC @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I1@\n1 CHIL @I1@\n"
         "1 CHIL @I1@\n0 TRLR\n", 1, ""},
        // Placeholder persons stand in for the two links to a family.
        {"links to records of the wrong kind",
         "0 HEAD\n0 @F1@ FAM\n1 HUSB @F1@\n1 CHIL @F1@\n0 @I1@ INDI\n1 FAMC @I1@\n1 FAMS @I1@\n0 TRLR\n", 3, ""},
        {"broken identifiers", "0 HEAD\n0 @@ INDI\n0 @ INDI\n0 @I1 INDI\n0 @I1@@ INDI\n1 FAMS @\n1 FAMC @@\n0 TRLR\n",
         1, ""},
        {"a position beyond the grid", "0 HEAD\n1 SOUR Kvora\n0 @I1@ INDI\n1 _SVG_P 2147483647,2147483647\n0 TRLR\n", -1,
         "Invalid _SVG_P value"},
        {"an identifier used twice", "0 HEAD\n0 @I1@ INDI\n0 @I1@ INDI\n0 TRLR\n", 2, ""},
        {"not a GEDCOM file at all", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GedLoad load;
        try {
            const auto doc = load.loadBytes(c.text);
            ASSERT_TRUE(doc);
            EXPECT_EQ(doc->GetCountPersons(), c.persons);
        } catch (const AppError& e) {
            EXPECT_EQ(c.persons, -1) << e.description.toStdString();
            EXPECT_TRUE(e.description.startsWith(QString::fromLatin1(c.error))) << e.description.toStdString();
        }
        GedLoad again;
        loadAndWalk(again, c.text);
    }
}
