// Start-up of the main window: banner, system line, applications, the
// command line and the loading of the tree it names.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSysInfo>

#include "MainWindowFixture.h"
#include "PlainLoadPicture.h"
#include "ProgramDataFolder.h"
#include "TextHelpers.h"
#include "Twips.h"

namespace {

TEST_F(MainWindowTest, StartWithoutArgumentsWritesBannerSystemAndApplicationsOnly) {
    window->Form_Load({});
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4) << lines.join(u'\n').toStdString();
    static const QRegularExpression banner(QStringLiteral("^Kestrova \\(Kvora\\), ") +
                                           QRegularExpression::escape(sGetVersion()) +
                                           QStringLiteral(" \\(libkinread\\.so V\\d+\\.\\d+\\.\\d+\\), \\S"));
    EXPECT_TRUE(banner.match(lines[0]).hasMatch()) << lines[0];
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Running under Linux ") + QSysInfo::kernelVersion() + " (build "))
        << lines[1];
    EXPECT_EQ(lines[2], "Loading ApplicationsServices.xml");
    EXPECT_TRUE(lines[3].endsWith("modifiers were loaded"));
    EXPECT_GT(window->applications().TotalApps(), 0);

    EXPECT_EQ(window->tree(), nullptr);
    for (const char* name : {"cmdDesign", "cmdEdit", "cmdProcess", "cmdView", "mnuExportToGEDCOM", "mnuSave",
                             "mnuSaveAs", "mnuViewpointManagement"})
        EXPECT_FALSE(enabled(name)) << name;
    for (const char* name : {"cmdBrowse", "chkVerify", "cmdExit", "mnuNewTree", "mnuOpenTree", "mnuLoadGEDCOM",
                             "mnuSaveProgressMsgs", "mnuExit"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindowTest, StartWithTreeAndSwitchesLoadsThenDesignsThenProcesses) {
    const QString tree = writeSmallTree(QStringLiteral("my trees/TreeSmall.txt"));
    window->Form_Load({tree, QStringLiteral("/d"), QStringLiteral("-P")});

    EXPECT_EQ(QDir::currentPath(), QFileInfo(tree).absolutePath());
    EXPECT_TRUE(logHas(QStringLiteral("Loading tree definition file: ") + tree));
    EXPECT_EQ(treeFileBox(), tree);
    EXPECT_EQ(calls, QStringList({QStringLiteral("design "), QStringLiteral("process ") + tree}));
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 2);
    EXPECT_TRUE(window->tree()->GetLaunchTD());
    EXPECT_TRUE(window->tree()->GetProcessSVG());
    EXPECT_FALSE(window->tree()->GetAutoLayout());
    for (const char* name : {"cmdDesign", "cmdEdit", "cmdProcess", "cmdView", "mnuExportToGEDCOM", "mnuSave",
                             "mnuSaveAs"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindowTest, StartWithRelativeTreeInAFolderLoadsIt) {
    writeSmallTree(QStringLiteral("sub/TreeRel.txt"));
    QDir::setCurrent(dir.path());
    window->Form_Load({QStringLiteral("sub/TreeRel.txt")});
    EXPECT_EQ(QDir::currentPath(), dir.filePath(QStringLiteral("sub")));
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 2);
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join(u'\n').toStdString();
}

TEST_F(MainWindowTest, FailedStartLoadReportsAndSkipsTheSwitches) {
    const QString missing = dir.filePath(QStringLiteral("TreeMissing.txt"));
    window->Form_Load({missing, QStringLiteral("/D"), QStringLiteral("/P")});
    EXPECT_TRUE(calls.isEmpty());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(logHas(boxes.shown[0].text));
    EXPECT_EQ(treeFileBox(), missing);
    EXPECT_FALSE(enabled("cmdProcess"));
    EXPECT_FALSE(enabled("cmdView"));
}

TEST_F(MainWindowTest, BadSwitchAtStartIsReportedAndTheTreeStillLoads) {
    const QString tree = writeSmallTree();
    window->Form_Load({tree, QStringLiteral("/X")});
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Command-line syntax error: ") + tree + " /X");
    EXPECT_TRUE(logHas(boxes.shown[0].text));
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 2);
}

struct CommandLineCase {
    QStringList arguments;
    QString file;
    QString directives;  // the letters of the directives set, in the order D P L T B I
    bool plain;          // plain picture loading (switch 0)
    QString error;       // the reported command line, "" when none
};

TEST_F(MainWindowTest, CommandLineGrammar) {
    const QString spaced = QStringLiteral("/home/me/My Trees/TreeMine.txt");
    const CommandLineCase cases[] = {
        {{}, "", "", false, ""},
        {{"/home/me/TreeMine.txt"}, "/home/me/TreeMine.txt", "", false, ""},
        {{spaced}, spaced, "", false, ""},
        {{"TreeMine.txt", "/d", "-P"}, "TreeMine.txt", "DP", false, ""},
        {{"TreeMine.txt", "/L", "-t", "/b", "-I"}, "TreeMine.txt", "LTBI", false, ""},
        {{"/D", spaced}, spaced, "D", false, ""},
        {{"-0"}, "", "", true, ""},
        {{"/0", "TreeMine.txt", "/p"}, "TreeMine.txt", "P", true, ""},
        {{"TreeMine.txt", "/X"}, "TreeMine.txt", "", false, "TreeMine.txt /X"},
        {{"TreeMine.txt", "/"}, "TreeMine.txt", "", false, "TreeMine.txt /"},
        {{"TreeMine.txt", "/d", "-"}, "TreeMine.txt", "D", false, "TreeMine.txt /d -"},
        {{"TreeMine.txt", "/d", "-x", "/P"}, "TreeMine.txt", "D", false, "TreeMine.txt /d -x /P"},
        {{"-dp"}, "", "D", false, "-dp"},
        {{spaced, "/Q"}, spaced, "", false, "\"" + spaced + "\" /Q"},
        {{"TreeA.txt", "TreeB.txt", "/P"}, "TreeA.txt", "", false, "TreeA.txt TreeB.txt /P"},
    };
    for (const CommandLineCase& c : cases) {
        boxes.shown.clear();
        bool flags[6] = {true, true, true, true, true, true};
        bPlainLoadPicture = !c.plain;
        const QString file =
            window->ParseCommandLine(c.arguments, flags[0], flags[1], flags[2], flags[3], flags[4], flags[5]);
        QString set;
        for (int i = 0; i < 6; ++i)
            if (flags[i]) set += QLatin1Char("DPLTBI"[i]);
        const std::string line = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(file, c.file) << line;
        EXPECT_EQ(set, c.directives) << line;
        EXPECT_EQ(bPlainLoadPicture, c.plain) << line;
        if (c.error.isEmpty()) {
            EXPECT_TRUE(boxes.shown.isEmpty()) << line;
        } else {
            ASSERT_EQ(boxes.shown.size(), 1) << line;
            EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Command-line syntax error: ") + c.error);
        }
    }
    bPlainLoadPicture = false;
}

TEST_F(MainWindowTest, LoadWithVerifyEchoesRecordsAndNamesTheWritingVersion) {
    const QString tree = writeTree(QStringLiteral("TreeV.txt"), "H Title=V,Version=V9.8.7\nP ann=f(1,1):Ann|A|\n");
    control<QCheckBox>("chkVerify")->setChecked(true);
    load(tree);
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains("P ann=f(1,1):Ann|A|"));
    EXPECT_TRUE(lines.contains("Tree definition file generated by V9.8.7"));
    EXPECT_LT(lines.indexOf(QStringLiteral("Loading tree definition file: ") + tree),
              lines.indexOf("P ann=f(1,1):Ann|A|"));
}

TEST_F(MainWindowTest, EveryLoadMakesANewTreeWithTheStartDirectives) {
    const QString tree = writeSmallTree();
    window->Form_Load({QStringLiteral("/missing/TreeNone.txt"), QStringLiteral("-L"), QStringLiteral("-I")});
    boxes.shown.clear();
    load(tree);
    SVGTree* first = window->tree();
    EXPECT_TRUE(first->GetAutoLayout());
    EXPECT_TRUE(first->GetDragIcon());
    EXPECT_FALSE(first->GetLaunchTD());
    load(tree);
    EXPECT_NE(window->tree(), first);
    EXPECT_TRUE(window->tree()->GetAutoLayout());
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptionsTooltipsAndPlaces) {
    struct Expected {
        const char* name;
        QString caption;
        QString tip;
        int left, top, width, height;  // twips
    };
    const Expected expected[] = {
        {"cmdBrowse", "Browse...", "Select and load tree definition file", 10560, 240, 1095, 375},
        {"chkVerify", "Verify", "Display each record as loaded from file", 10560, 720, 1215, 255},
        {"cmdDesign", "Design", "Launch the graphical Tree Designer", 10560, 1320, 1095, 375},
        {"cmdEdit", "Edit", "Edit current tree definition file", 10560, 1920, 1095, 375},
        {"cmdProcess", "Process", "Process selected tree definition file to generate HTML/SVG", 10560, 2520, 1095, 375},
        {"cmdView", "View", "View the generated HTML/SVG", 10560, 3120, 1095, 375},
        {"cmdExit", "Exit", "Save any changes and close Kvora", 10560, 4680, 1095, 375},
        {"lbTree", "Tree File:", "", 240, 240, 855, 255},
        {"txtTreeFile", "", "Name of tree definition file", 1200, 240, 9135, 375},
        {"lblProgress", "Progress", "", 240, 1320, 855, 255},
        {"txtData", "", "Progress messages", 1200, 1200, 9135, 3975},
    };
    for (const Expected& e : expected) {
        QWidget* w = control<QWidget>(e.name);
        ASSERT_NE(w, nullptr);
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) caption = l->text();
        EXPECT_EQ(caption, e.caption) << e.name;
        EXPECT_EQ(w->toolTip(), e.tip) << e.name;
        EXPECT_EQ(w->geometry(), QRect(twipsToPixels(e.left), twipsToPixels(e.top), twipsToPixels(e.width),
                                       twipsToPixels(e.height)))
            << e.name;
    }

    QStringList menuTexts;
    for (QAction* top : window->menuBar()->actions()) {
        menuTexts << top->text();
        for (QAction* a : top->menu()->actions()) menuTexts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(menuTexts, QStringList({"&File", "&New Tree ...", "&Open Tree ...", "-", "&Load GEDCOM File...",
                                      "&Export As GEDCOM file...", "-", "Save Progress Messages...", "-", "&Save",
                                      "Save As...", "E&xit", "&Tools", "Manage Viewpoints ..."}));
}

TEST_F(MainWindowTest, ResizingKeepsTheRightColumnAndTheLogMargins) {
    window->show();
    QWidget* client = window->centralWidget();
    const QSize design = client->size();
    const QRect log = control<QWidget>("txtData")->geometry();
    const QRect file = control<QWidget>("txtTreeFile")->geometry();
    window->resize(window->width() + 100, window->height() + 40);
    ASSERT_EQ(client->size(), design + QSize(100, 40));
    for (const char* name : {"cmdBrowse", "cmdDesign", "cmdEdit", "cmdProcess", "cmdView", "cmdExit", "chkVerify"})
        EXPECT_EQ(control<QWidget>(name)->x(), twipsToPixels(10560) + 100) << name;
    EXPECT_EQ(control<QWidget>("cmdExit")->y(), twipsToPixels(4680));
    EXPECT_EQ(control<QWidget>("txtData")->geometry(), log.adjusted(0, 0, 100, 40));
    EXPECT_EQ(control<QWidget>("txtTreeFile")->geometry(), file.adjusted(0, 0, 100, 0));

    // Too narrow for the boxes: the column moves, the boxes keep their last size.
    window->resize(60, window->height());
    EXPECT_EQ(control<QWidget>("txtData")->geometry(), log.adjusted(0, 0, 100, 40));
}

TEST(ProgramDataFolderTest, InstalledShareFolderElseTheProgramsOwn) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("bin"));
    EXPECT_EQ(programDataFolder(root.filePath("bin")), root.filePath("bin"));
    ASSERT_TRUE(QDir(root.path()).mkpath("share/kvora"));
    EXPECT_EQ(programDataFolder(root.filePath("bin")), root.filePath("share/kvora"));
}

}  // namespace
