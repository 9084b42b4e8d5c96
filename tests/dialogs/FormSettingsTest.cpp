// Widget tests of the settings dialogs: what the controls show and enable,
// and that OK reaches the models.

#include <memory>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "FormAdvSettings.h"
#include "FormSettings.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "ScriptedFileDialogs.h"
#include "ServiceSlot.h"

namespace {

// A tree titled "Smiths" and its settings dialog, made by open() from what
// the tree holds then.
struct SettingsDialog {
    SVGTree tree;
    SVGApplications apps;
    RecordingReporter reporter;
    TreeSettingsModel model;
    std::unique_ptr<FormSettings> dialog;

    SettingsDialog() {
        tree.SetAppDict(StringDict());
        set("Title", "Smiths");
    }
    void set(const char* key, const char* value) {
        tree.GetSettings().set(QString::fromUtf8(key), QString::fromUtf8(value));
    }
    FormSettings& open() {
        model.load(tree, reporter);
        dialog = std::make_unique<FormSettings>(model, tree, apps, reporter);
        return *dialog;
    }
};

TEST(FormSettingsWindow, SvgFileSwitchDisablesTheHtmlSwitchesWithoutChangingThem) {
    SettingsDialog d;
    d.set("SVGFile", "True");
    d.set("Timeline", "True");
    SVGTree& tree = d.tree;
    FormSettings& form = d.open();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), u"Tree Settings");

    const QStringList htmlOnly{"PanZoom", "InfoPanels", "Timeline"};
    const QList<bool> states{false, true, true};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(form.checkBox(htmlOnly[i])->isEnabled()) << htmlOnly[i].toStdString();
        EXPECT_EQ(form.checkBox(htmlOnly[i])->isChecked(), states[i]);
    }
    EXPECT_TRUE(form.checkBox(QStringLiteral("Fanned"))->isEnabled());

    form.checkBox(QStringLiteral("SVGFile"))->click();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(form.checkBox(htmlOnly[i])->isEnabled());
        EXPECT_EQ(form.checkBox(htmlOnly[i])->isChecked(), states[i]);
    }
    form.checkBox(QStringLiteral("SVGFile"))->click();
    QTest::mouseClick(form.cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form.saved());
    // Disabled switches store the state they show.
    EXPECT_EQ(tree.GetSettings().value(QStringLiteral("InfoPanels")), u"True");
    EXPECT_EQ(tree.GetSettings().value(QStringLiteral("Timeline")), u"True");
    EXPECT_EQ(tree.GetSettings().value(QStringLiteral("PanZoom")), u"False");
}

TEST(FormSettingsWindow, StockPictureBrowseTakesTheNameInThePlacesFolder) {
    SettingsDialog d;
    d.tree.GetPlaceKeys().Define(QStringLiteral("pics"), QString(), QStringLiteral("/home/ann/pics/"));
    d.set("StockImageM", "$pics:m.png");
    FormSettings& form = d.open();
    EXPECT_EQ(form.comPlace(1)->currentText(), u"pics");
    EXPECT_EQ(form.comPlace(0)->currentText(), u"");
    EXPECT_EQ(form.comPlace(0)->count(), 2);
    EXPECT_EQ(form.txtImage(1)->text(), u"m.png");

    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> install(dialogs);
    dialogs.choose(QStringLiteral("/elsewhere/man.jpeg"));
    dialogs.choose(QStringLiteral("/elsewhere/plain"));
    form.BrowseStockImage(1);
    form.BrowseStockImage(3);
    ASSERT_EQ(dialogs.requests.size(), 2);
    EXPECT_EQ(dialogs.requests[0].directory, u"/home/ann/pics/");
    EXPECT_EQ(dialogs.requests[0].title, u"Select Image File");
    // No place chosen: opens where the last Browse did.
    EXPECT_EQ(dialogs.requests[1].directory, u"/home/ann/pics/");
    EXPECT_EQ(form.txtImage(1)->text(), u"man.jpeg");
    EXPECT_EQ(form.comPlace(1)->currentText(), u"pics");
    EXPECT_EQ(form.txtImage(3)->text(), u"plain.");
}

// The grid size of a tree exported from a GEDCOM file passes the sides and
// boxes a user may type: left as shown, it does not stop OK.
TEST(FormSettingsWindow, TheTitleOfAWideExportedTreeCanBeChanged) {
    SettingsDialog d;
    d.set("DesCols", "287");
    d.set("DesRows", "172");
    FormSettings& form = d.open();
    EXPECT_EQ(form.txtCols()->text(), u"287");
    EXPECT_EQ(form.txtRows()->text(), u"172");

    form.txtTitle()->setText(QStringLiteral("Joneses"));
    QTest::mouseClick(form.cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form.saved());
    EXPECT_TRUE(d.reporter.warnings().isEmpty());
    const StringDict& settings = d.tree.GetSettings();
    EXPECT_EQ(settings.value(QStringLiteral("Title")), u"Joneses");
    EXPECT_EQ(settings.value(QStringLiteral("DesCols")), u"287");
    EXPECT_EQ(settings.value(QStringLiteral("DesRows")), u"172");
}

TEST(FormAdvSettingsWindow, ShowsTheSettingsAndOkWritesThem) {
    StringDict settings;
    settings.set(QStringLiteral("W"), QStringLiteral("90"));
    settings.set(QStringLiteral("ButtonBL"), QStringLiteral("True"));
    RecordingReporter reporter;
    AdvSettingsModel model;
    model.load(settings);
    FormAdvSettings form(model, settings, reporter, QString());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), u"Advanced Tree Settings");
    EXPECT_EQ(form.textBox(QStringLiteral("W"))->text(), u"90");
    EXPECT_EQ(form.textBox(QStringLiteral("H"))->text(), u"80");
    EXPECT_TRUE(form.checkBox(QStringLiteral("ButtonBL"))->isChecked());
    EXPECT_EQ(form.textBox(QStringLiteral("W"))->objectName(), u"txtW");
    EXPECT_EQ(form.textBox(QStringLiteral("BGImage"))->objectName(), u"txtBgImage");

    form.textBox(QStringLiteral("BH"))->setText(QStringLiteral("60"));
    QTest::mouseClick(form.cmdExit(), Qt::LeftButton);
    EXPECT_FALSE(form.saved());
    EXPECT_EQ(reporter.warnings(), QStringList{"Button height must be between 0 and 48"});
    EXPECT_EQ(settings.count(), 2);

    form.textBox(QStringLiteral("BH"))->setText(QStringLiteral("20"));
    form.textBox(QStringLiteral("Inst"))->setText(QStringLiteral("b"));
    QTest::mouseClick(form.cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form.saved());
    EXPECT_EQ(settings.value(QStringLiteral("BH")), u"20");
    EXPECT_EQ(settings.value(QStringLiteral("Inst")), u"b");
}

TEST(FormAdvSettingsWindow, HeaderBrowsePutsTheChosenPathUntested) {
    StringDict settings;
    RecordingReporter reporter;
    AdvSettingsModel model;
    model.load(settings);
    FormAdvSettings form(model, settings, reporter, QStringLiteral("/opt/kvora/share"));
    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> install(dialogs);
    dialogs.choose(QStringLiteral("/home/ann/Header_mine.html"));
    dialogs.cancel();
    form.cmdHdrBrowse_Click();
    form.cmdHdrBrowse_Click();
    ASSERT_EQ(dialogs.requests.size(), 2);
    EXPECT_EQ(dialogs.requests[0].directory, u"/opt/kvora/share");
    EXPECT_EQ(dialogs.requests[0].title, u"Select Header File");
    EXPECT_EQ(form.textBox(QStringLiteral("Header"))->text(), u"/home/ann/Header_mine.html");
    EXPECT_TRUE(settings.isEmpty());
}

}  // namespace
