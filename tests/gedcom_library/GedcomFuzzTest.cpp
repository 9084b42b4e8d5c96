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
