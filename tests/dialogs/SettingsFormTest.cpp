// The tree settings and advanced settings forms: filling from the tree, the
// ordered checks with their messages, and what OK writes.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "AdvSettingsModel.h"
#include "DialogTestSupport.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "SVGViewpointClass.h"
#include "TreeSettingsModel.h"
#include "foundation/AppError.h"

namespace {

// A tree titled "Smiths" with the settings given.
struct SettingsTree {
    SVGTree tree;
    SVGApplications apps;
    RecordingReporter reporter;
    TreeSettingsModel model;

    SettingsTree() {
        tree.GetSettings().set(QStringLiteral("Title"), QStringLiteral("Smiths"));
        tree.SetAppDict(StringDict());
    }
    void load() { model.load(tree, reporter); }
    StringDict& settings() { return tree.GetSettings(); }
};

TEST(TreeSettingsForm, AbsentSwitchesShowTheirDefaultsAndOkAppendsAllFourteen) {
    SettingsTree t;
    t.settings().set(QStringLiteral("Small"), QStringLiteral("true"));
    t.settings().set(QStringLiteral("Opaque"), QStringLiteral("1"));
    t.settings().set(QStringLiteral("Blog"), QStringLiteral("yes"));   // no Boolean: its default
    t.settings().set(QStringLiteral("Scaled"), QString());             // no Boolean: its default
    t.load();
    const QList<bool> expected = {true, true, true, false, true, false, false,
                                  false, true, false, true, true, false, false};
    EXPECT_EQ(t.model.switchOn, expected);
    EXPECT_EQ(t.model.cols, u"12");
    EXPECT_EQ(t.model.rows, u"8");

    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(entriesOf(t.settings()),
              (QStringList{"Title=Smiths", "Small=True", "Opaque=True", "Blog=False", "Scaled=False", "Horiz=True",
                           "Stepped=True", "Rounded=True", "SVGFile=False", "PanZoom=False", "Fanned=False",
                           "Viewpoints=True", "InfoPanels=True", "Tooltips=False", "Timeline=False", "DesCols=12",
                           "DesRows=8"}));
    // The two switches that are applications follow into the enabled set.
    EXPECT_TRUE(t.tree.GetAppDict()->contains(QStringLiteral("InfoPanels")));
    EXPECT_FALSE(t.tree.GetAppDict()->contains(QStringLiteral("Timeline")));
}

TEST(TreeSettingsForm, ChecksInOrderWithTheirMessages) {
    struct Case {
        const char* title;
        const char* imagePart;
        const char* cols;
        const char* rows;
        const char* message;  // "" when OK passes
    };
    const Case cases[] = {
        {"", "", "12", "8", "Tree title cannot be blank"},
        {"9lives", "x", "0", "8", "Tree title can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)"},
        {"My Tree", "", "12", "8", "Tree title can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)"},
        {"Smiths", "50%", "12", "8", ""},
        {"Smiths", "0", "12", "8", ""},
        {"Smiths", "1", "12", "8", ""},
        {"Smiths", "1.5", "12", "8", "Image poportion must be between 0 and 1 (or 0% and 100%)"},
        {"Smiths", "150%", "12", "8", "Image poportion must be between 0 and 1 (or 0% and 100%)"},
        {"Smiths", "-1", "12", "8", "Image proportion must be numeric"},
        {"Smiths", "half", "12", "8", "Image proportion must be numeric"},
        {"Smiths", " 0.5", "12", "8", "Image proportion must be numeric"},
        {"Smiths", "", "100", "20", ""},
        {"Smiths", "", "100", "21", "Total size of Tree Designer grid is too large. Maximum is 2000 boxes"},
        {"Smiths", "", "0", "8", "Number of Tree Designer grid colums must be between 1 and 100"},
        {"Smiths", "", "101", "8", "Number of Tree Designer grid colums must be between 1 and 100"},
        {"Smiths", "", "100.4", "8", ""},
        {"Smiths", "", "100.6", "8", "Number of Tree Designer grid colums must be between 1 and 100"},
        {"Smiths", "", " 1e1", "8", "Number of Tree Designer grid colums must be numeric"},
        {"Smiths", "", "-3", "0", "Number of Tree Designer grid colums must be numeric"},
        {"Smiths", "", "12", "", "Number of Tree Designer grid rows must be numeric"},
        {"Smiths", "", "12", "0.4", "Number of Tree Designer grid rows must be between 1 and 100"},
        {"Smiths", "", "99999999999", "8", "Number of Tree Designer grid colums must be between 1 and 100"},
    };
    for (const Case& c : cases) {
        SettingsTree t;
        t.load();
        t.model.title = QString::fromUtf8(c.title);
        t.model.imagePart = QString::fromUtf8(c.imagePart);
        t.model.cols = QString::fromUtf8(c.cols);
        t.model.rows = QString::fromUtf8(c.rows);
        const StringDict before = t.settings();
        const bool ok = t.model.accept(t.tree, t.apps, t.reporter);
        const QString message = QString::fromUtf8(c.message);
        SCOPED_TRACE(std::string(c.title) + " / " + c.imagePart + " / " + c.cols + " x " + c.rows);
        EXPECT_EQ(ok, message.isEmpty());
        EXPECT_EQ(t.reporter.warnings(), message.isEmpty() ? QStringList() : QStringList{message});
        // A refused OK writes nothing.
        if (!ok) {
            EXPECT_TRUE(t.settings() == before);
        }
    }
}

TEST(TreeSettingsForm, PictureShareAndGridSizeAreStoredAsTheRulesSay) {
    SettingsTree t;
    t.settings().set(QStringLiteral("ImagePart"), QStringLiteral("0.3"));
    t.load();
    t.model.imagePart = QStringLiteral("50%");
    t.model.cols = QStringLiteral("12.5");
    t.model.rows = QStringLiteral("9.5");
    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(t.settings().value(QStringLiteral("ImagePart")), u"50%");
    // Whole numbers, halves to even.
    EXPECT_EQ(t.settings().value(QStringLiteral("DesCols")), u"12");
    EXPECT_EQ(t.settings().value(QStringLiteral("DesRows")), u"10");

    t.model.imagePart.clear();
    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_FALSE(t.settings().contains(QStringLiteral("ImagePart")));
}

// A tree exported from a GEDCOM file is often wider than the sides and boxes
// a user may type: a side left as the dialog showed it is taken as it is, and
// only what the user typed is checked (the product only when both sides were).
TEST(TreeSettingsForm, OnlyTypedGridSidesAreChecked) {
    struct Case {
        const char* what;
        const char* storedCols;
        const char* storedRows;
        const char* cols;  // as OK finds them; the stored ones when left as shown
        const char* rows;
        const char* message;  // "" when OK passes
    };
    const Case cases[] = {
        {"an export left as shown", "287", "172", "287", "172", ""},
        {"rows alone typed", "300", "10", "300", "12", ""},
        {"rows alone typed, far past the boxes", "287", "172", "287", "100", ""},
        {"columns alone typed, rows kept", "287", "172", "40", "172", ""},
        {"both typed", "287", "172", "100", "20", ""},
        {"a side no number kept as stored", "-3", "8", "-3", "9", ""},
        {"typed rows too many", "287", "172", "287", "101",
         "Number of Tree Designer grid rows must be between 1 and 100"},
        {"typed columns too many", "287", "172", "300", "172",
         "Number of Tree Designer grid colums must be between 1 and 100"},
        {"typed columns not a number", "287", "172", "many", "172",
         "Number of Tree Designer grid colums must be numeric"},
        {"typed rows zero", "300", "10", "300", "0", "Number of Tree Designer grid rows must be between 1 and 100"},
        {"both typed, too many boxes", "300", "10", "100", "21",
         "Total size of Tree Designer grid is too large. Maximum is 2000 boxes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsTree t;
        t.settings().set(QStringLiteral("DesCols"), QString::fromUtf8(c.storedCols));
        t.settings().set(QStringLiteral("DesRows"), QString::fromUtf8(c.storedRows));
        t.load();
        t.model.cols = QString::fromUtf8(c.cols);
        t.model.rows = QString::fromUtf8(c.rows);
        const StringDict before = t.settings();
        const bool ok = t.model.accept(t.tree, t.apps, t.reporter);
        const QString message = QString::fromUtf8(c.message);
        EXPECT_EQ(ok, message.isEmpty());
        EXPECT_EQ(t.reporter.warnings(), message.isEmpty() ? QStringList() : QStringList{message});
        if (ok) {
            EXPECT_EQ(t.settings().value(QStringLiteral("DesCols")), QString::fromUtf8(c.cols));
            EXPECT_EQ(t.settings().value(QStringLiteral("DesRows")), QString::fromUtf8(c.rows));
        } else {
            EXPECT_TRUE(t.settings() == before);
        }
    }

    // The same for the grid of the open viewpoint.
    SettingsTree t;
    const SVGViewpointPtr viewpoint = t.tree.AddViewpoint(QStringLiteral("all"), QStringLiteral("All"), 287, 172);
    t.tree.SetViewpointKey(QStringLiteral("all"));
    t.load();
    t.model.title = QStringLiteral("Smith_Family");
    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(t.settings().value(QStringLiteral("Title")), u"Smith_Family");
    EXPECT_EQ(viewpoint->GetCols(), 287);
    EXPECT_EQ(viewpoint->GetRows(), 172);
    t.model.rows = QStringLiteral("200");
    EXPECT_FALSE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(t.reporter.warnings(), QStringList{"Number of Tree Designer grid rows must be between 1 and 100"});
    EXPECT_EQ(viewpoint->GetRows(), 172);
}

TEST(TreeSettingsForm, OpenViewpointHasItsOwnGridSize) {
    SettingsTree t;
    t.settings().set(QStringLiteral("DesCols"), QStringLiteral("30"));
    t.settings().set(QStringLiteral("DesRows"), QStringLiteral("20"));
    const SVGViewpointPtr viewpoint = t.tree.AddViewpoint(QStringLiteral("north"), QStringLiteral("North"), 10, 6);
    t.tree.SetViewpointKey(QStringLiteral("north"));
    t.load();
    EXPECT_EQ(t.model.cols, u"10");
    EXPECT_EQ(t.model.rows, u"6");

    t.model.cols = QStringLiteral("40");
    t.model.rows = QStringLiteral("25");
    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(viewpoint->GetCols(), 40);
    EXPECT_EQ(viewpoint->GetRows(), 25);
    EXPECT_EQ(t.settings().value(QStringLiteral("DesCols")), u"30");
    EXPECT_EQ(t.settings().value(QStringLiteral("DesRows")), u"20");
}

TEST(TreeSettingsForm, StockPicturesSplitIntoPlaceAndPath) {
    SettingsTree t;
    t.tree.GetPlaceKeys().Define(QStringLiteral("pics"), QStringLiteral("http://x.org/p/"), QStringLiteral("/home/p/"));
    t.tree.GetPlaceKeys().Define(QStringLiteral("old"), QString(), QStringLiteral("/old/"));
    t.settings().set(QStringLiteral("StockImageF"), QStringLiteral("$pics:women/f.png"));
    t.settings().set(QStringLiteral("StockImageM"), QStringLiteral("m.png"));
    t.settings().set(QStringLiteral("StockImageU"), QStringLiteral("$gone:u.png"));
    t.load();
    EXPECT_EQ(t.model.placeChoices, (QStringList{"", "pics", "old"}));
    EXPECT_EQ(t.model.stock[0].placeKey, u"pics");
    EXPECT_EQ(t.model.stock[0].path, u"women/f.png");
    EXPECT_EQ(t.model.stock[1].placeKey, u"");
    EXPECT_EQ(t.model.stock[1].path, u"m.png");
    // An undefined key is warned about and dropped; the path stays.
    EXPECT_EQ(t.reporter.warnings(), QStringList{"Undefined place key used for stock image: gone"});
    EXPECT_EQ(t.model.stock[2].placeKey, u"");
    EXPECT_EQ(t.model.stock[2].path, u"u.png");

    t.model.stock[0].path.clear();                 // removes StockImageF
    t.model.stock[1].placeKey = QStringLiteral("old");
    t.model.stock[3] = {QStringLiteral("pics"), QStringLiteral("x.png")};
    t.reporter.entries.clear();
    ASSERT_TRUE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_FALSE(t.settings().contains(QStringLiteral("StockImageF")));
    EXPECT_EQ(t.settings().value(QStringLiteral("StockImageM")), u"$old:m.png");
    EXPECT_EQ(t.settings().value(QStringLiteral("StockImageU")), u"u.png");
    EXPECT_EQ(t.settings().value(QStringLiteral("StockImageX")), u"$pics:x.png");

    // A comma would split the header record in the tree file.
    t.model.stock[2].path = QStringLiteral("a,b.png");
    const StringDict before = t.settings();
    EXPECT_FALSE(t.model.accept(t.tree, t.apps, t.reporter));
    EXPECT_EQ(t.reporter.warnings(), QStringList{"Unknown stock image file name contains commas"});
    EXPECT_TRUE(t.settings() == before);
}

TEST(TreeSettingsForm, WithoutPlaceKeysTheChoicesAreEmpty) {
    SettingsTree t;
    t.settings().set(QStringLiteral("StockImageF"), QStringLiteral("f.png"));
    t.load();
    EXPECT_TRUE(t.model.placeChoices.isEmpty());
    EXPECT_TRUE(t.reporter.warnings().isEmpty());
}

// ---- Advanced settings

struct AdvForm {
    StringDict settings;
    RecordingReporter reporter;
    AdvSettingsModel model;
    AdvForm() { model.load(settings); }
};

TEST(AdvSettingsForm, DefaultsShownAndOkAppendsThemInFieldOrder) {
    AdvForm f;
    f.settings.set(QStringLiteral("Title"), QStringLiteral("Smiths"));
    f.settings.set(QStringLiteral("NavData"), QStringLiteral("True"));
    f.settings.set(QStringLiteral("ButtonTR"), QString());  // no Boolean: cleared
    f.model.load(f.settings);
    EXPECT_EQ(f.model.value(QStringLiteral("W")), u"80");
    EXPECT_EQ(f.model.value(QStringLiteral("MH")), u"50");
    EXPECT_EQ(f.model.value(QStringLiteral("BW")), u"12");
    EXPECT_TRUE(f.model.isOn(QStringLiteral("NavData")));
    EXPECT_FALSE(f.model.isOn(QStringLiteral("ButtonTR")));

    ASSERT_TRUE(f.model.accept(f.settings, f.reporter));
    EXPECT_EQ(entriesOf(f.settings),
              (QStringList{"Title=Smiths", "NavData=True", "ButtonTR=False", "ProgData=False", "NotesData=False",
                           "W=80", "H=80", "MW=50", "MH=50", "BW=12", "BH=12", "ButtonTL=False", "ButtonBL=False",
                           "ButtonBR=False"}));
}

TEST(AdvSettingsForm, ChecksInOrderWithTheirMessages) {
    struct Case {
        const char* key;
        const char* text;
        const char* message;  // "" when OK passes
    };
    const Case cases[] = {
        {"Inst", "A", ""}, {"Inst", "z", ""}, {"Inst", "7", ""},
        {"Inst", "ab", "Instance ID can only be a single digit or letter"},
        {"Inst", "!", "Instance ID can only be a single digit or letter"},
        {"Inst", "\xC3\xA9", "Instance ID can only be a single digit or letter"},
        {"W", "0", "Box width must be greater than 0 and not greater than 320"},
        {"W", "320.5", "Box width must be greater than 0 and not greater than 320"},
        {"W", "320", ""}, {"W", "50%", ""},
        {"H", "abc", "Box height must be numeric"},
        {"MW", "-5", "Margin width must be numeric"},
        {"MW", " 50", "Margin width must be numeric"},
        {"MW", "0", ""}, {"MW", "200", ""},
        {"MH", "201", "Margin height must be between 0 and 200"},
        {"BW", "48", ""},
        {"BH", "49", "Button height must be between 0 and 48"},
        {"TooltipTL", "Open, then close", "Top-left button tooltip contains commas"},
        {"TooltipBR", "no comma", ""},
        {"IconTR", "a,b.png", "Top-right button icon contains commas"},
        {"BGImage", "bg,1.png", "Background image file name contains commas"},
        {"BGImageWidth", "100%", ""}, {"BGImageWidth", "1", ""},
        {"BGImageWidth", "150%", "Background image width must be between 0 and 1 (or 0% and 100%)"},
        {"BGImageWidth", "1.5", "Background image width must be between 0 and 1 (or 0% and 100%)"},
        {"BGImageHeight", "1e0", "Background image height must be numeric"},
        {"BGImageOpacity", "2", "Background image opacity must be between 0 and 1 (or 0% and 100%)"},
        {"Header", "a,b.html", "Header file name contains commas"},
    };
    for (const Case& c : cases) {
        AdvForm f;
        const QString key = QString::fromUtf8(c.key);
        f.model.setValue(key, QString::fromUtf8(c.text));
        const bool ok = f.model.accept(f.settings, f.reporter);
        const QString message = QString::fromUtf8(c.message);
        SCOPED_TRACE(std::string(c.key) + " = " + c.text);
        EXPECT_EQ(ok, message.isEmpty());
        EXPECT_EQ(f.reporter.warnings(), message.isEmpty() ? QStringList() : QStringList{message});
        if (ok)
            EXPECT_EQ(f.settings.value(key), QString::fromUtf8(c.text));  // stored as typed
        else
            EXPECT_TRUE(f.settings.isEmpty());  // a refused OK writes nothing
    }
}

TEST(AdvSettingsForm, FirstFailureInFieldOrderIsTheOneReported) {
    AdvForm f;
    f.model.setValue(QStringLiteral("BGImageWidth"), QStringLiteral("3"));
    f.model.setValue(QStringLiteral("H"), QStringLiteral("tall"));
    f.model.setValue(QStringLiteral("Inst"), QStringLiteral("xy"));
    EXPECT_FALSE(f.model.accept(f.settings, f.reporter));
    f.model.setValue(QStringLiteral("Inst"), QString());
    EXPECT_FALSE(f.model.accept(f.settings, f.reporter));
    EXPECT_EQ(f.reporter.warnings(),
              (QStringList{"Instance ID can only be a single digit or letter", "Box height must be numeric"}));
}

TEST(AdvSettingsForm, EmptyTextsRemoveTheirKeysUntested) {
    AdvForm f;
    f.settings.set(QStringLiteral("Inst"), QStringLiteral("Q"));
    f.settings.set(QStringLiteral("W"), QStringLiteral("90"));
    f.model.load(f.settings);
    f.model.setValue(QStringLiteral("Inst"), QString());
    f.model.setValue(QStringLiteral("W"), QString());
    ASSERT_TRUE(f.model.accept(f.settings, f.reporter));
    EXPECT_FALSE(f.settings.contains(QStringLiteral("Inst")));
    EXPECT_FALSE(f.settings.contains(QStringLiteral("W")));
}

TEST(AdvSettingsForm, MissingHeaderFileIsRaisedAfterEveryOtherCheck) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("Header_none.html"));
    for (const QString& header : {missing, dir.path()}) {  // no file, and a folder
        AdvForm f;
        f.model.setValue(QStringLiteral("Header"), header);
        try {
            f.model.accept(f.settings, f.reporter);
            ADD_FAILURE() << "no error raised";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, errorNumber(520));
            EXPECT_EQ(e.source, u"FormAdvSettings");
            EXPECT_EQ(e.description, QStringLiteral("File ") + header + QStringLiteral(" does not exist"));
        }
        EXPECT_TRUE(f.settings.isEmpty());

        // Another field's failure comes first.
        f.model.setValue(QStringLiteral("W"), QStringLiteral("0"));
        EXPECT_FALSE(f.model.accept(f.settings, f.reporter));
    }

    AdvForm f;
    const QString present = dir.filePath(QStringLiteral("Header_mine.html"));
    QFile file(present);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    f.model.setValue(QStringLiteral("Header"), present);
    ASSERT_TRUE(f.model.accept(f.settings, f.reporter));
    EXPECT_EQ(f.settings.value(QStringLiteral("Header")), present);
}

}  // namespace
