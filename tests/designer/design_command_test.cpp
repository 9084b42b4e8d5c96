// The main window's Design command and start-up switches open the Tree
// Designer; the designer as the program wires it to its dialogs.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../foundation/WidgetDriving.h"
#include "FormApplications.h"
#include "FormGrid.h"
#include "FormSVG.h"
#include "ProgramRun.h"
#include "ProgramWindows.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "ucGridBox.h"

namespace {

QString writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return path;
}

QString readFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// The main window connected as the program connects it, on a tree file in a
// folder of its own; the designer's program-wide dialogs are put back after.
class ProgramWiringTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString startFolder = QDir::currentPath();
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    const FormGrid::OptionsDialogs savedOptions = FormGrid::optionsDialogs();
    const FormGrid::MenuDialogs savedMenus = FormGrid::menuDialogs();
    std::unique_ptr<FormSVG> window = std::make_unique<FormSVG>();

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window->setDataFolder(QStringLiteral(KV_SOURCE_DIR "/share"));
        connectProgramWindows(*window);
        window->Form_Load({});
    }
    void TearDown() override {
        window.reset();
        FormGrid::optionsDialogs() = savedOptions;
        FormGrid::menuDialogs() = savedMenus;
        QDir::setCurrent(startFolder);
    }

    FormGrid* design(const QByteArray& treeText) {
        const QString file = writeFile(dir.filePath("Tree.txt"), treeText);
        EXPECT_TRUE(window->LoadTreeFile(file));
        window->cmdDesign_Click();
        return window->findChild<FormGrid*>();
    }
};

TEST_F(ProgramWiringTest, DesignOpensTheDesignerOnTheLoadedTreeAndOnTheChosenViewpoint) {
    menus.choose("(Full Tree)");
    FormGrid* designer = design("H Title=Views,Viewpoints=True,DesCols=6,DesRows=4\nP ann=f(1,1):Ann|A|\n"
                                "P bob=m(2,1):Bob|B|\n\nV first=First view|3,2\n\np ann(2,2)\n\n"
                                "V second=Second view|2,1\n");
    ASSERT_TRUE(designer);
    EXPECT_TRUE(designer->isVisible());
    EXPECT_EQ(designer->tree(), window->tree());
    EXPECT_EQ(designer->windowTitle(), "Tree Designer - Views (6 x 4)");
    EXPECT_EQ(designer->boxCount(), 2);

    menus.choose("First view");
    window->cmdDesign_Click();
    EXPECT_EQ(window->findChildren<FormGrid*>().size(), 1) << "one designer, opened again";
    EXPECT_EQ(designer->windowTitle(), "Tree Designer - Views, viewpoint First view (3 x 2)");
    ASSERT_EQ(designer->boxCount(), 1);
    EXPECT_EQ(designer->box(designer->model().geometry().iCellIndex(2, 2))->Tag, "ann");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// The chart files a run of the program wrote into a folder.
QStringList chartsIn(const QString& folder) {
    return QDir(folder).entryList({"*.html", "*.svg"}, QDir::Files);
}

// Starts the built program on a tree with switches and waits for its chart;
// its error output goes into `errors` when given.
QByteArray runProgram(const QString& folder, const QStringList& switches, QByteArray* errors = nullptr) {
    const QString tree = writeFile(QDir(folder).filePath("TreeStart.txt"),
                                   "H Title=Start,DesCols=12,DesRows=8\n"
                                   "P dad=m(9,1):Dad|D|\nP mum=f(3,4):Mum|M|\nP kid=m(7,7):Kid|K|\n\n"
                                   "F fam=dad+mum:kid\n");
    const bool running = runProgramUntil(QStringLiteral(KV_BUILD_DIR "/bin/kvora"), QStringList{tree} + switches,
                                         folder, [&folder] { return !chartsIn(folder).isEmpty(); }, errors);
    EXPECT_TRUE(running) << "the program ended after start-up";
    const QStringList charts = chartsIn(folder);
    if (charts.isEmpty()) {
        ADD_FAILURE() << "no chart was written";
        return {};
    }
    QFile chart(QDir(folder).filePath(charts.first()));
    chart.open(QIODevice::ReadOnly);
    return chart.readAll();
}

TEST(DesignCommand, StartUpSwitchesDesignLayOutThenProcess) {
    QTemporaryDir plain, laidOut;
    const QByteArray asStored = runProgram(plain.path(), {"/P"});
    QByteArray errors;
    const QByteArray afterLayout = runProgram(laidOut.path(), {"/D", "/L", "/P"}, &errors);
    ASSERT_FALSE(asStored.isEmpty());
    ASSERT_FALSE(afterLayout.isEmpty());
    // The designer opened and laid the tree out before the chart was written:
    // the chart shows the new places, not the stored ones.
    EXPECT_NE(asStored, afterLayout);
    EXPECT_TRUE(afterLayout.contains("<svg"));
    // Opening the designer refuses no connection of Qt's objects.
    EXPECT_FALSE(errors.contains("QObject::")) << errors.toStdString();
}

// What the applications dialog showed: the ids of its boxes, ticked or not.
using Ticks = QMap<QString, bool>;

// Opens Interactive Applications from the designer's menu; the dialog, once
// open, is read into `shown`, its boxes set as `set` says, then closed with
// OK or Cancel.
void chooseApplications(FormGrid& designer, Ticks& shown, const Ticks& set, bool ok) {
    shown.clear();
    bool opened = false;
    whenModalOpens([&](QWidget* w) {
        auto* form = qobject_cast<FormApplications*>(w);
        ASSERT_TRUE(form);
        opened = true;
        for (int i = 0; form->chkApps(i); ++i) {
            QCheckBox* box = form->chkApps(i);
            const QString id = box->property("appId").toString();
            shown.insert(id, box->isChecked());
            if (set.contains(id)) box->setChecked(set.value(id));
        }
        (ok ? form->cmdExit() : form->cmdQuit())->click();
    });
    designer.menuEntry(QStringLiteral("mnuSelectApps"))->trigger();
    EXPECT_TRUE(opened) << "the applications dialog opened";
}

TEST_F(ProgramWiringTest, InteractiveApplicationsEditTheEnabledSetAndTheSettingsFollowIt) {
    FormGrid* designer = design("H Title=Apps,Timeline=False,InfoPanels=True\n"
                                "P ann=f(1,1):Ann|Ann|\nP bob=m(2,1):Bob|Bob|\n");
    ASSERT_TRUE(designer);
    SVGTree& tree = *window->tree();
    StringDict& settings = tree.GetSettings();
    tree.SetUnsaved(false);

    // Shown from the enabled set; ticking one and OK enables it.
    Ticks shown;
    chooseApplications(*designer, shown, {{"LinkedTrees", true}}, true);
    EXPECT_EQ(shown, (Ticks{{"InfoPanels", true}, {"Timeline", false}, {"LinkedTrees", false}}));
    EXPECT_TRUE(tree.IsUnsaved());
    ASSERT_TRUE(tree.GetAppDict());
    EXPECT_EQ(tree.GetAppDict()->keys(), (QStringList{"InfoPanels", "LinkedTrees"}));
    EXPECT_EQ(tree.GetAppDict()->value("LinkedTrees"), "Linked trees");
    EXPECT_EQ(settings.value("LinkedTrees"), "True") << "a setting, not the application's name";
    EXPECT_EQ(settings.value("Timeline"), "False");
    EXPECT_EQ(settings.value("InfoPanels"), "True");

    // Unticking disables it: its setting says so and stays.
    chooseApplications(*designer, shown, {{"InfoPanels", false}}, true);
    EXPECT_EQ(shown, (Ticks{{"InfoPanels", true}, {"Timeline", false}, {"LinkedTrees", true}}));
    EXPECT_EQ(tree.GetAppDict()->keys(), QStringList{"LinkedTrees"});
    EXPECT_EQ(settings.value("InfoPanels"), "False");

    // Saved and read again, as the program reads it.
    designer->mnuSave_Click();
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join(u'\n').toStdString();
    EXPECT_FALSE(tree.IsUnsaved());
    SVGTree back;
    back.setApplications(&window->applications());
    back.LoadFile(std::make_shared<SVGDisplay>(), tree.GetTreeFile(), false);
    ASSERT_TRUE(back.GetAppDict());
    EXPECT_EQ(back.GetAppDict()->keys(), QStringList{"LinkedTrees"});
    for (const char* id : {"LinkedTrees", "InfoPanels", "Timeline"})
        EXPECT_EQ(back.GetSettings().value(id), settings.value(id)) << id;

    // Cancel changes nothing, ticks or not.
    const StringDict before = settings;
    chooseApplications(*designer, shown, {{"Timeline", true}, {"LinkedTrees", false}}, false);
    EXPECT_EQ(shown, (Ticks{{"InfoPanels", false}, {"Timeline", false}, {"LinkedTrees", true}}));
    EXPECT_FALSE(tree.IsUnsaved());
    EXPECT_EQ(tree.GetAppDict()->keys(), QStringList{"LinkedTrees"});
    EXPECT_TRUE(settings == before);

    // The chart carries the scripts and click handlers of the enabled set only.
    window->cmdProcess_Click();
    const QStringList charts = QDir(dir.path()).entryList({"*.html"}, QDir::Files);
    ASSERT_EQ(charts.size(), 1);
    const QString chart = readFile(dir.filePath(charts.first()));
    EXPECT_TRUE(chart.contains("showTreeLinks(")) << "Linked trees";
    EXPECT_FALSE(chart.contains("showInfoPanel(")) << "Information panels";
    EXPECT_FALSE(chart.contains("showTimeline(")) << "Timeline";
    EXPECT_TRUE(chart.contains("/SVGcode/navigation6.js")) << "the script of a service Linked trees requires";
}

// A tree whose load stopped short has no enabled set: the command makes one
// from the tree's settings, and Cancel leaves the tree without one.
TEST_F(ProgramWiringTest, InteractiveApplicationsOnATreeWithoutAnEnabledSet) {
    FormGrid* designer = design("H Title=Apps,Timeline=True\nP ann=f(1,1):Ann|Ann|\n");
    ASSERT_TRUE(designer);
    auto bare = std::make_shared<SVGTree>();
    bare->GetSettings().set("Timeline", "True");
    bare->GetSettings().set("InfoPanels", "False");
    bare->GetDisplay()->Init(bare->GetSettings());
    designer->LoadDetails(bare, QString());
    ASSERT_EQ(bare->GetAppDict(), nullptr);

    Ticks shown;
    chooseApplications(*designer, shown, {{"InfoPanels", true}}, false);
    EXPECT_EQ(shown.value("Timeline"), true);
    EXPECT_EQ(bare->GetAppDict(), nullptr);
    EXPECT_FALSE(bare->IsUnsaved());

    chooseApplications(*designer, shown, {{"InfoPanels", true}}, true);
    ASSERT_TRUE(bare->GetAppDict());
    EXPECT_EQ(bare->GetAppDict()->keys(), (QStringList{"Timeline", "InfoPanels"}));
    EXPECT_EQ(bare->GetSettings().value("InfoPanels"), "True");
    EXPECT_TRUE(bare->IsUnsaved());
}

}  // namespace
