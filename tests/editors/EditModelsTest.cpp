#include <gtest/gtest.h>

#include "EditorsTestSupport.h"
#include "FamilyEditModel.h"
#include "NotesPagesText.h"
#include "PersonEditModel.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"

namespace {

// A small tree: Ann and Bob with their children Cat and Dan in family f1,
// a place key "Gallery" with both editions and "Web" with only a location.
struct EditTree : ::testing::Test {
    SVGTree tree;
    void SetUp() override {
        tree.NewPerson("ann", "Ann Smith", "", 1, 1, "f", false, "", true);
        tree.NewPerson("bob", "Bob Smith", "", 2, 1, "m", false, "$Gallery:bob.jpg", true);
        tree.NewPerson("cat", "Cat Smith", "", 1, 2, "f", false, "", true);
        tree.NewPerson("dan", "Dan\\Smith", "", 2, 2, "m", false, "", true);
        auto family = tree.NewFamily("f1", "ann", "bob");
        family->AddChild(tree.GetPersons().value("dan"));
        family->AddChild(tree.GetPersons().value("cat"));
        tree.GetPlaceKeys().Define("Gallery", "https://example.org/pics/", "/home/u/pics/");
        tree.GetPlaceKeys().Define("Web", "https://example.org/web/", "");
        tree.SetUnsaved(false);
    }
    // What a refused OK raises, and that the tree did not change.
    QString refusal(auto& model) {
        const int persons = tree.GetPersons().count();
        const int families = tree.GetFamilies().count();
        const AppError e = errorOf([&] { model.ok(); });
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::InvalidKey));
        EXPECT_EQ(tree.GetPersons().count(), persons);
        EXPECT_EQ(tree.GetFamilies().count(), families);
        EXPECT_FALSE(tree.IsUnsaved());
        return e.description;
    }
};

TEST_F(EditTree, KeyProposalFromTheCaption) {
    struct Case {
        const char* caption;
        const char* key;
    } cases[] = {{"Mary Ann Smith", "MaryAnnSmith"}, {"Jean-Luc O'Neil (1850)", "Jean-LucONeil1850"},
                 {"123 Main_St", "Main_St"},         {"  ", ""},
                 {"Åsa Öberg", "saberg"}};
    for (const Case& c : cases)
        EXPECT_EQ(PersonEditModel::KeyFromCaption(QString::fromUtf8(c.caption)), QString::fromUtf8(c.key)) << c.caption;

    PersonEditModel model(tree);
    struct OkCase {
        const char* typed;
        const char* caption;
        const char* created;
    } oks[] = {
        {"", "Mary Ann Smith", "MaryAnnSmith"},
        {"", "Mary Ann Smith", "MaryAnnSmith-1"},
        {"MaryAnnSmith", "x", "MaryAnnSmith-2"},
        {"Smith-2", "x", "Smith"},
        {"", "1850", "key"},
        {"f1", "x", "f1-1"},
        {"Gallery", "x", "Gallery-1"},
    };
    for (const OkCase& c : oks) {
        model.loadCreate();
        model.fields().key = QString::fromUtf8(c.typed);
        model.fields().caption = QString::fromUtf8(c.caption);
        EXPECT_EQ(model.ok(), QString::fromUtf8(c.created));
        EXPECT_EQ(model.fields().key, QString::fromUtf8(c.created));
        ASSERT_TRUE(tree.GetPersons().contains(QString::fromUtf8(c.created)));
    }
}

TEST_F(EditTree, CreateChecksInOrderAndAFailedOKChangesNothing) {
    PersonEditModel model(tree);
    model.loadCreate();
    model.fields().caption = "Eve";
    model.fields().key = "   ";
    EXPECT_EQ(refusal(model), "Key name cannot be blank when adding new person");
    model.fields().key = "2nd";
    EXPECT_EQ(refusal(model), "Key name can only contain alphanumerics, underscores, and hyphens (starting with an "
                              "alphabetic)");
    // The settings are checked before the person is made.
    model.fields().key = "eve";
    model.fields().locSettings = "ButtonTR=True\nNoSuchSetting=1";
    const AppError e = errorOf([&] { model.ok(); });
    EXPECT_NE(e.description.indexOf("NoSuchSetting"), -1) << e.description.toStdString();
    EXPECT_FALSE(tree.GetPersons().contains("eve"));
    EXPECT_FALSE(tree.IsUnsaved());
    // Fixed, a second OK makes one person.
    model.fields().locSettings = "ButtonTR=True\n";
    EXPECT_EQ(model.ok(), "eve");
    EXPECT_FALSE(tree.GetPersons().contains("eve-1"));
    const SVGBoxPtr eve = tree.GetPersons().value("eve");
    EXPECT_EQ(eve->GetSex(), "m");
    EXPECT_EQ(eve->GetLocSettings().value("ButtonTR"), "True");
    EXPECT_TRUE(tree.IsUnsaved());
}

TEST_F(EditTree, EditWritesEveryFieldBack) {
    PersonEditModel model(tree);
    model.loadEdit("dan");
    EXPECT_FALSE(model.createMode());
    EXPECT_EQ(model.fields().caption, "Dan\\Smith");
    EXPECT_EQ(model.fields().sex, 1);
    PersonEditModel::Fields& f = model.fields();
    f.caption = "Daniel Smith";
    f.shortCaption = "";
    f.sex = 3;
    f.tentative = true;
    f.rootPerson = true;
    f.notes = "line 1\nline 2";
    f.tooltips = "";
    f.progData = "Link | v | n";
    f.locSettings = "ButtonTR=True\nClassPerson=x";
    f.namesLoaded = true;
    f.names = "Ann|Smith\n  Ann  \n\nDan";
    f.place = "Gallery";
    f.file = "dan.jpg";
    EXPECT_EQ(model.ok(), "dan");
    const SVGBoxPtr dan = tree.GetPersons().value("dan");
    EXPECT_EQ(dan->GetText(), "Daniel Smith");
    EXPECT_EQ(dan->GetShortText(), "Daniel Smith");
    EXPECT_EQ(dan->GetSex(), "x");
    EXPECT_TRUE(dan->GetTentative());
    EXPECT_EQ(tree.GetRootPerson(), dan);
    EXPECT_EQ(dan->GetNotes(), (QStringList{"line 1", "line 2"}));
    EXPECT_EQ(dan->GetTooltips(), QStringList{});
    EXPECT_EQ(dan->GetProgData(), QStringList{"Link | v | n"});
    EXPECT_EQ(sGetLocSettingsText(*dan), "ButtonTR=True\nClassPerson=x");
    EXPECT_EQ(dan->GetPersonalNames(), "AnnSmith|Ann|Dan");
    EXPECT_EQ(dan->GetImage(), "$Gallery:dan.jpg");

    // Names never opened stay; the root mark is cleared only for the root person.
    model.loadEdit("cat");
    EXPECT_FALSE(model.fields().rootPerson);
    model.ok();
    EXPECT_EQ(tree.GetRootPerson(), dan);
    model.loadEdit("dan");
    EXPECT_TRUE(model.fields().rootPerson);
    model.fields().rootPerson = false;
    model.ok();
    EXPECT_EQ(tree.GetRootPerson(), nullptr);
    EXPECT_EQ(dan->GetPersonalNames(), "AnnSmith|Ann|Dan");
    // Opened and cleared: empty names.
    model.loadEdit("dan");
    model.fields().namesLoaded = true;
    model.fields().names = "";
    model.ok();
    EXPECT_EQ(dan->GetPersonalNames(), "");
    // A bad setting in edit mode changes nothing either.
    model.loadEdit("dan");
    model.fields().caption = "Changed";
    model.fields().locSettings = "ButtonTR=maybe";
    EXPECT_THROW(model.ok(), AppError);
    EXPECT_EQ(dan->GetText(), "Daniel Smith");
}

TEST_F(EditTree, NamesBoxStartsFromTheNamesOrTheCaption) {
    PersonEditModel model(tree);
    model.loadEdit("ann");
    EXPECT_EQ(model.namesText(), "Ann /Smith/");
    tree.GetPersons().value("ann")->SetPersonalNames("Ann|Smith");
    EXPECT_EQ(model.namesText(), "Ann\nSmith");
    EXPECT_EQ(PersonEditModel::namesFromText("Ann|Smith\nAnn"), "AnnSmith|Ann");
    EXPECT_EQ(PersonEditModel::namesFromText("Ann\r\nAnn\n"), "Ann");
}

TEST_F(EditTree, PictureTextSplitAndJoin) {
    PersonEditModel model(tree);
    struct Case {
        const char* stored;
        const char* place;
        const char* file;
        const char* warning;
        const char* written;
    } cases[] = {
        {"$Gallery:me.jpg", "Gallery", "me.jpg", "", "$Gallery:me.jpg"},
        {"$K:me.jpg", "", "me.jpg", "Undefined place key used for this person: K", "me.jpg"},
        {"pics/me.jpg", "", "pics/me.jpg", "", "pics/me.jpg"},
        {"https://x.org/a:b.jpg", "", "https://x.org/a:b.jpg", "", "https://x.org/a:b.jpg"},
        {"$NoColon", "", "$NoColon", "", "$NoColon"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        model.loadEdit("bob");
        EXPECT_EQ(model.SetImageSpec(QString::fromLatin1(c.stored)), QString::fromLatin1(c.warning)) << c.stored;
        EXPECT_EQ(model.fields().place, QString::fromLatin1(c.place)) << c.stored;
        EXPECT_EQ(model.fields().file, QString::fromLatin1(c.file)) << c.stored;
        model.ok();
        EXPECT_EQ(tree.GetPersons().value("bob")->GetImage(), QString::fromLatin1(c.written)) << c.stored;
    }
    EXPECT_EQ(model.placeKeys(), (QStringList{"Gallery", "Web"}));
}

TEST_F(EditTree, PictureFileToShow) {
    PersonEditModel model(tree);
    QStringList downloads;
    auto download = [&](const QString& url) {
        downloads.append(url);
        return QStringLiteral("/cache/") + url.section(u'/', -1);
    };
    struct Case {
        const char* place;
        const char* file;
        bool local;
        const char* shown;
        const char* problem;
        bool usedLocal;
    } cases[] = {
        {"Gallery", "me.jpg", true, "/home/u/pics/me.jpg", "", true},
        {"Gallery", " me.jpg ", false, "/cache/me.jpg", "", false},
        {"Web", "me.jpg", true, "", "Could not identify local edition of file me.jpg at place Web", true},
        {"", "HTTPS://x.org/a.png", true, "/cache/a.png", "", false},
        {"", "pics/a.png", false, "pics/a.png", "", true},
        {"", "", false, "", "", false},
        {"Nowhere", "me.jpg", false, "", "Could not identify remote edition of file me.jpg at place Nowhere", false},
    };
    for (const Case& c : cases) {
        const auto resolved = model.sResolveImageFile(QString::fromLatin1(c.place), QString::fromLatin1(c.file),
                                                      c.local, download);
        EXPECT_EQ(resolved.file, QString::fromLatin1(c.shown)) << c.file;
        EXPECT_EQ(resolved.problem, QString::fromLatin1(c.problem)) << c.file;
        EXPECT_EQ(resolved.local, c.usedLocal) << c.file;
    }
    EXPECT_EQ(downloads, (QStringList{"https://example.org/pics/me.jpg", "HTTPS://x.org/a.png"}));
    // A failed download is a problem to report, not an error.
    const auto failed = model.sResolveImageFile("", "https://x.org/b.png", true, [](const QString&) -> QString {
        throw AppError(errorNumber(520), "DownloadFileCache", "Unable to download file");
    });
    EXPECT_EQ(failed.file, "");
    EXPECT_EQ(failed.problem, "Unable to download file");
    EXPECT_EQ(model.browseFolder("Gallery"), "/home/u/pics/");
    EXPECT_EQ(model.browseFolder("Web"), "");
    EXPECT_EQ(model.browseFolder(""), "");
}

TEST(PictureFit, FitsIntoTheFrameKeepingItsProportions) {
    EXPECT_EQ(fitPicture({400, 100}, {200, 200}), QSizeF(200, 50));
    EXPECT_EQ(fitPicture({100, 400}, {200, 200}), QSizeF(50, 200));
    EXPECT_EQ(fitPicture({50, 50}, {200, 100}), QSizeF(100, 100));
    EXPECT_EQ(fitPicture({0, 50}, {200, 100}), QSizeF());
}

TEST_F(EditTree, FamilyKeyProposal) {
    tree.NewPerson("Ann-2", "Ann", "", 5, 1, "f", false, "", true);
    tree.NewPerson("Bob", "Bob", "", 6, 1, "m", false, "", true);
    tree.NewPerson("Ann-b", "Ann", "", 7, 1, "f", false, "", true);
    EXPECT_EQ(FamilyEditModel::sNewFamilyKey(tree, "Ann-2", "Bob"), "Ann_Bob");
    EXPECT_EQ(FamilyEditModel::sNewFamilyKey(tree, "Ann-b", "Bob"), "Ann-b_Bob");
    FamilyEditModel model(tree);
    model.loadCreate("Ann-2", "Bob");
    EXPECT_EQ(model.fields().key, "Ann_Bob");
    EXPECT_EQ(model.fields().parentCaption1, "Ann");
    EXPECT_EQ(model.ok(), "Ann_Bob");
    EXPECT_EQ(FamilyEditModel::sNewFamilyKey(tree, "Ann-2", "Bob"), "Ann_Bob-1");
}

TEST_F(EditTree, FamilyCreateChecksAndAFailedOKChangesNothing) {
    tree.NewPerson("eve", "Eve", "", 5, 1, "f", false, "", true);
    tree.SetUnsaved(false);
    FamilyEditModel model(tree);
    model.loadCreate("eve", "bob");
    struct Case {
        const char* key;
        const char* message;
    } cases[] = {
        {" ", "Key name cannot be blank when adding new family"},
        {"9f", "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)"},
        {"f1", "The specified key name is already in use for a different family"},
        {"ann", "The specified family key name is already in use for a person: ann"},
    };
    for (const Case& c : cases) {
        model.fields().key = QString::fromLatin1(c.key);
        EXPECT_EQ(refusal(model), QString::fromLatin1(c.message));
    }
    model.fields().key = "f2";
    model.fields().locSettings = "HideLinks=sometimes";
    EXPECT_THROW(model.ok(), AppError);
    EXPECT_FALSE(tree.GetFamilies().contains("f2"));
    // Fixed: the second OK creates the family once, not "already in use".
    model.fields().locSettings = "HideLinks=True\n";
    model.fields().liaison = true;
    model.fields().notes = "met 1870";
    EXPECT_EQ(model.ok(), "f2");
    const SVGFamilyPtr f2 = tree.GetFamilies().value("f2");
    EXPECT_TRUE(f2->GetLiaison());
    EXPECT_EQ(f2->GetNotes(), QStringList{"met 1870"});
    EXPECT_EQ(f2->GetLocSettings().value("HideLinks"), "True");

    FamilyEditModel same(tree);
    same.loadCreate("eve", "eve");
    EXPECT_EQ(errorOf([&] { same.ok(); }).description, "Person eve is already associated with family eve_eve");
}

TEST_F(EditTree, FamilyChildrenAndEditedSet) {
    FamilyEditModel model(tree);
    model.loadEdit("f1");
    EXPECT_EQ(model.fields().parent1, "ann");
    EXPECT_EQ(model.fields().parentCaption2, "Bob Smith");
    EXPECT_EQ(model.childCaptions(), (QStringList{"DanSmith", "Cat Smith"}));
    EXPECT_EQ(model.childKey(0), "dan");
    EXPECT_EQ(model.childKey(2), "");
    QStringList raised;
    QObject::connect(&tree, &SVGTree::PersonDetails, [&](const QString& key) { raised.append(key); });
    model.childEdited("cat");
    model.childEdited("dan");
    model.childEdited("cat");
    EXPECT_EQ(model.editedChildren(), "cat,dan");
    EXPECT_EQ(raised, (QStringList{"cat", "dan", "cat"}));
    EXPECT_TRUE(tree.IsUnsaved());

    model.fields().unshownChildren = true;
    EXPECT_EQ(model.ok(), "f1");
    EXPECT_TRUE(tree.GetFamilies().value("f1")->GetMoreChildren());
    model.loadEdit("f1");
    EXPECT_EQ(model.editedChildren(), "");

    FamilyEditModel create(tree);
    create.loadCreate("cat", "dan");
    EXPECT_TRUE(create.childCaptions().isEmpty());
}

}  // namespace
