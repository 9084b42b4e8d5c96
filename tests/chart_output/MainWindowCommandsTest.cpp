// The commands of the main window: loading, new trees, editing, designing,
// charts, saving, the progress log and leaving.
#include <QMenu>
#include <QTest>
#include <QTextCursor>

#include "FailingDisks.h"
#include "MainWindowFixture.h"
#include "TreeEditorCommand.h"

namespace {

const QString kTreeFilters[] = {QStringLiteral("Tree Files (Tree*.txt) (tree*.txt)"),
                                QStringLiteral("All Text Files (*.txt) (*.txt)"), QStringLiteral("All Files (*.*) (*)")};

// Popup menus that also note the items each menu offered.
class ItemRecordingMenus : public ScriptedMenuExec {
public:
    QList<QStringList> offered;
    QAction* exec(QMenu& menu, const QPoint& at) override {
        QStringList items;
        for (QAction* a : menu.actions()) items << a->text();
        offered << items;
        return ScriptedMenuExec::exec(menu, at);
    }
};

// ---- Browse and Open Tree

TEST_F(MainWindowTest, BrowseAsksForATreeFileAndLoadsItFromItsFolder) {
    const QString tree = writeSmallTree(QStringLiteral("trees/TreeSmall.txt"));
    window->SetOutputFile(dir.filePath("old.html"));
    dialogs.choose(tree);
    window->cmdBrowse_Click();

    ASSERT_EQ(dialogs.requests.size(), 1);
    const FileDialogRequest& r = dialogs.requests[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.title, "Select Tree Definition File");
    EXPECT_EQ(r.directory, startFolder);
    EXPECT_EQ(r.fileName, "");
    EXPECT_EQ(r.nameFilters, QStringList(std::begin(kTreeFilters), std::end(kTreeFilters)));
    EXPECT_EQ(r.defaultSuffix, "txt");
    EXPECT_EQ(treeFileBox(), tree);
    EXPECT_EQ(QDir::currentPath(), dir.filePath("trees"));
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 2);
    EXPECT_FALSE(enabled("cmdView"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindowTest, BrowseCancelledEndsSilently) {
    dialogs.cancel();
    window->cmdBrowse_Click();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_EQ(window->tree(), nullptr);
}

TEST_F(MainWindowTest, UnsavedQuestionsOfTheLoadingCommands) {
    struct Case {
        const char* command;
        void (FormSVG::*handler)();
        QString question;
    };
    const Case cases[] = {
        {"Browse", &FormSVG::cmdBrowse_Click, FormSVG::kLoadQuestion},
        {"Open Tree", &FormSVG::mnuOpenTree_Click, FormSVG::kLoadQuestion},
        {"New Tree", &FormSVG::mnuNewTree_Click, FormSVG::kNewQuestion},
        {"Edit", &FormSVG::cmdEdit_Click, FormSVG::kEditQuestion},
    };
    EXPECT_EQ(FormSVG::kLoadQuestion, "You may have left unsaved changes in this tree. Are you sure you want to load "
                                      "a new tree definition file?");
    EXPECT_EQ(FormSVG::kNewQuestion, "You may have left unsaved changes in this tree. Are you sure you want to start "
                                     "a new tree definition file?");
    EXPECT_EQ(FormSVG::kEditQuestion, "You may have left unsaved changes in this tree. Are you sure you want to edit "
                                      "the original tree definition file now?");
    load(writeSmallTree());
    changeTree();
    ASSERT_TRUE(window->tree()->IsUnsaved());
    for (const Case& c : cases) {
        boxes.shown.clear();
        boxes.answers.push_back(QMessageBox::No);
        SVGTree* before = window->tree();
        (window.get()->*c.handler)();
        ASSERT_EQ(boxes.shown.size(), 1) << c.command;
        EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Question);
        EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(boxes.shown[0].text, c.question) << c.command;
        EXPECT_EQ(window->tree(), before) << c.command;
        EXPECT_TRUE(window->tree()->IsUnsaved()) << c.command;
    }
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

TEST_F(MainWindowTest, BrowseAnsweredYesThenCancelledKeepsTheTreeUnsavedAndClosesTheDesigner) {
    QWidget designer;
    designer.setObjectName("FormGrid");
    designer.show();
    QWidget manager;
    manager.setObjectName("FormViewpoints");
    manager.show();
    load(writeSmallTree());
    changeTree();
    SVGTree* before = window->tree();

    boxes.answers.push_back(QMessageBox::Yes);
    dialogs.cancel();
    window->cmdBrowse_Click();
    EXPECT_EQ(window->tree(), before);
    EXPECT_TRUE(window->tree()->IsUnsaved());
    EXPECT_FALSE(designer.isVisible());
    EXPECT_FALSE(manager.isVisible());
    EXPECT_EQ(boxes.shown.size(), 1);

    // Yes and a file: the old tree is given up and the new one loaded.
    const QString other = writeSmallTree(QStringLiteral("TreeOther.txt"));
    boxes.answers.push_back(QMessageBox::Yes);
    dialogs.choose(other);
    std::shared_ptr<SVGTree> old = window->treeShared();
    window->cmdBrowse_Click();
    EXPECT_FALSE(old->IsUnsaved());
    EXPECT_EQ(treeFileBox(), other);
}

// ---- New Tree

TEST_F(MainWindowTest, NewTreeReplacesTheFileWithAnEmptyTreeAndLoadsIt) {
    const QString file = writeSmallTree(QStringLiteral("TreeNew.txt"));
    QWidget designer;
    designer.setObjectName("FormGrid");
    designer.show();
    window->SetOutputFile(dir.filePath("old.html"));
    dialogs.choose(file);
    window->mnuNewTree_Click();

    ASSERT_EQ(dialogs.requests.size(), 1);
    const FileDialogRequest& r = dialogs.requests[0];
    EXPECT_TRUE(r.save);
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_EQ(r.title, "Select New Tree Definition File");
    EXPECT_EQ(r.nameFilters, QStringList(std::begin(kTreeFilters), std::end(kTreeFilters)));
    EXPECT_EQ(r.defaultSuffix, "txt");
    EXPECT_EQ(readFile(file), QByteArray("\xEF\xBB\xBFH \r\n"));
    EXPECT_TRUE(logHas(QStringLiteral("Creating new tree definition file: ") + file));
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 0);
    EXPECT_EQ(treeFileBox(), file);
    EXPECT_EQ(QDir::currentPath(), dir.path());
    EXPECT_FALSE(enabled("cmdView"));
    EXPECT_TRUE(enabled("cmdProcess"));
    EXPECT_TRUE(designer.isVisible());
}

TEST_F(MainWindowTest, NewTreeAnsweredYesThenCancelledKeepsTheTreeUnsaved) {
    load(writeSmallTree());
    changeTree();
    boxes.answers.push_back(QMessageBox::Yes);
    dialogs.cancel();
    window->mnuNewTree_Click();
    EXPECT_TRUE(window->tree()->IsUnsaved());
    EXPECT_EQ(boxes.shown.size(), 1);
}

// ---- Edit

class EditorScript {
public:
    // An editor that appends a person to the file it is given.
    explicit EditorScript(const QString& folder) : path(folder + "/fake-editor") {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nprintf 'P zed=m(3,1):Zed|Z|\\n' >> \"$1\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        previous = qgetenv("SVG_EDITOR");
        qputenv("SVG_EDITOR", path.toLocal8Bit());
    }
    ~EditorScript() { qputenv("SVG_EDITOR", previous); }
    const QString path;

private:
    QByteArray previous;
};

TEST_F(MainWindowTest, EditWaitsForTheEditorAndLoadsTheFileAgain) {
    const QString tree = writeSmallTree(QStringLiteral("my trees/TreeEdit.txt"));
    load(tree);
    window->SetOutputFile(dir.filePath("chart.html"));
    QWidget designer;
    designer.setObjectName("FormGrid");
    designer.show();
    EditorScript editor(dir.path());

    window->cmdEdit_Click();
    EXPECT_TRUE(logHas(QStringLiteral("Editing tree definition file: ") + tree + " using " + editor.path));
    EXPECT_FALSE(designer.isVisible());
    ASSERT_NE(window->tree(), nullptr);
    EXPECT_EQ(window->tree()->GetPersons().count(), 3);
    EXPECT_FALSE(enabled("cmdView"));
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join(u'\n').toStdString();
}

TEST_F(MainWindowTest, EditWithAnEditorThatCannotStartReportsAndKeepsTheTree) {
    load(writeSmallTree());
    SVGTree* before = window->tree();
    const QByteArray previous = qgetenv("SVG_EDITOR");
    qputenv("SVG_EDITOR", QFile::encodeName(dir.filePath("no-such-editor")));
    window->cmdEdit_Click();
    qputenv("SVG_EDITOR", previous);
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(window->tree(), before);
}

TEST(TreeEditorCommandTest, SettingFirstThenKnownEditorsOnTheSearchPath) {
    QTemporaryDir empty, some, both;
    auto addProgram = [](const QTemporaryDir& folder, const char* name) {
        QFile f(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    };
    addProgram(some, "kate");
    addProgram(both, "leafpad");
    addProgram(both, "gedit");

    EXPECT_EQ(treeEditorCommand(" myedit -w ", {empty.path()}), "myedit -w");
    EXPECT_EQ(treeEditorCommand("", {some.path()}), "kate --block");
    EXPECT_EQ(treeEditorCommand("  ", {both.path()}), "gedit --wait");
    try {
        treeEditorCommand("", {empty.path()});
        ADD_FAILURE() << "no error for a missing editor";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description.contains("SVG_EDITOR")) << e.description.toStdString();
    }
}

// ---- Design, Process, View

const QByteArray kViewpointTree =
    "H Title=Views,Viewpoints=True\nP ann=f(1,1):Ann|A|\nP bob=m(2,1):Bob|B|\n\nV first=First view|2,1\n\n"
    "V second=Second view|2,1\n";

TEST_F(MainWindowTest, DesignWithViewpointsOffersThemInAPopupMenu) {
    ItemRecordingMenus recording;
    ScopedService<MenuExec> installRecording{recording};
    load(writeTree("TreeViews.txt", kViewpointTree));
    window->SetOutputFile(dir.filePath("chart.html"));

    recording.dismiss();
    window->cmdDesign_Click();
    ASSERT_EQ(recording.offered.size(), 1);
    EXPECT_EQ(recording.offered[0], QStringList({"(Full Tree)", "First view", "Second view"}));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_TRUE(enabled("cmdView"));

    recording.choose("Second view");
    window->cmdDesign_Click();
    recording.choose("(Full Tree)");
    window->cmdDesign_Click();
    EXPECT_EQ(calls, QStringList({"design second", "design "}));
    EXPECT_FALSE(enabled("cmdView"));
}

TEST_F(MainWindowTest, ViewIsEnabledExactlyWhileAChartExists) {
    EXPECT_FALSE(enabled("cmdView"));
    const QString tree = writeSmallTree();
    load(tree);
    EXPECT_FALSE(enabled("cmdView"));

    window->cmdProcess_Click();
    EXPECT_TRUE(enabled("cmdView"));
    EXPECT_EQ(window->GetOutputFile(), dir.filePath("chart.html"));
    window->cmdView_Click();
    EXPECT_TRUE(logHas(QStringLiteral("Viewing output file in browser: ") + dir.filePath("chart.html")));

    window->cmdDesign_Click();
    EXPECT_FALSE(enabled("cmdView"));
    window->cmdProcess_Click();
    EXPECT_TRUE(enabled("cmdView"));

    // A failing run is reported and leaves the last chart as it was.
    window->peers().processTree = [](const ChartRunRequest&) -> QString {
        throw AppError(kErrorBase + 527, "WriteOutput", "I/O error: disk full");
    };
    window->cmdProcess_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, "I/O error: disk full");
    EXPECT_TRUE(enabled("cmdView"));

    dialogs.choose(tree);
    window->cmdBrowse_Click();
    EXPECT_FALSE(enabled("cmdView"));
    window->cmdView_Click();
    EXPECT_EQ(calls, QStringList({"process " + tree, "open " + dir.filePath("chart.html"), "design ",
                                  "process " + tree}));
}

TEST_F(MainWindowTest, ProcessHandsTheRunTheTreeAndTheProgramsParts) {
    load(writeSmallTree());
    SVGTree* seenTree = nullptr;
    QString seenFolder;
    Reporter* seenReporter = nullptr;
    window->peers().processTree = [&](const ChartRunRequest& run) {
        seenTree = &run.tree;
        seenFolder = run.dataFolder;
        seenReporter = &run.reporter;
        return QString("x.svg");
    };
    window->cmdProcess_Click();
    EXPECT_EQ(seenTree, window->tree());
    EXPECT_EQ(seenFolder, QStringLiteral(KV_SOURCE_DIR "/share"));
    EXPECT_EQ(seenReporter, &window->reporter());
    EXPECT_EQ(window->GetOutputFile(), "x.svg");

    window->peers().processTree = nullptr;
    window->SetOutputFile("");
    window->cmdProcess_Click();
    EXPECT_FALSE(enabled("cmdView"));
    EXPECT_TRUE(logHas("Writing charts is not available in this version of Kvora"));
}

// ---- Save, Save As

TEST_F(MainWindowTest, SaveWritesTheTreeToItsFile) {
    const QString tree = writeSmallTree();
    load(tree);
    changeTree();
    window->mnuSave_Click();
    EXPECT_FALSE(window->tree()->IsUnsaved());
    EXPECT_TRUE(readFile(tree).contains("P cid=m(3,1):Cid"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Save on a full disk leaves the tree file as it was and tells the user why;
// the tree stays unsaved, and saves once there is room again.
TEST_F(MainWindowTest, SaveOnAFullDiskLeavesTheFileAndSaysWhy) {
    SmallFileSystem disk;
    if (!disk.unavailable().isEmpty()) GTEST_SKIP() << "No small full disk: " << disk.unavailable().toStdString();
    const QString tree = disk.path("TreeSmall.txt");
    const QByteArray old = "H Title=Small\nP ann=f(1,1):Ann|Ann|\nP bob=m(2,1):Bob|Bob|\n";
    {
        QFile f(tree);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(old), old.size());
    }
    load(tree);
    changeTree();
    disk.leaveFree(0);

    boxes.answers.push_back(QMessageBox::Ok);
    window->mnuSave_Click();
    const QString why = "I/O error: Unable to write file " + tree + ": No space left on device";
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, why);
    EXPECT_TRUE(logHas(why));
    EXPECT_EQ(readFile(tree), old);
    EXPECT_TRUE(window->tree()->IsUnsaved());

    QFile::remove(disk.path("filler"));
    window->mnuSave_Click();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(readFile(tree).contains("P cid=m(3,1):Cid"));
    EXPECT_FALSE(window->tree()->IsUnsaved());
}

// A tree that did not load in full (reading stopped at an unknown record, or
// the load failed) is never written over its file: Save says why and offers
// Save As, which may write any other file.
TEST_F(MainWindowTest, SaveLeavesAFileThatDidNotLoadInFullAsItWas) {
    struct Case {
        const char* what;
        QByteArray content;
        bool loads;
    };
    const QList<Case> cases = {
        {"a stray line half-way", "H Title=Cut\nP ann=f(1,1):Ann|A|\nZ what is this\nP bob=m(2,1):Bob|B|\n", true},
        {"an error half-way", "H Title=Bad\nP ann=f(1,1):Ann|A|\nP bob=q(2,1):Bob|B|\nP cat=f(3,1):Cat|C|\n", false},
        // Its first line is an unknown record: the reading stops there.
        {"a GEDCOM file opened as a tree", "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Ann /Smith/\n0 TRLR\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString tree = writeTree("TreeCut.txt", c.content);
        const QString other = dir.filePath("TreeOther.txt");
        QFile::remove(other);
        boxes.answers.push_back(QMessageBox::Ok);  // the warning or error of the load
        EXPECT_EQ(window->LoadTreeFile(tree), c.loads);
        ASSERT_TRUE(window->tree()->IsIncompletelyLoaded());
        changeTree();
        boxes.shown.clear();
        dialogs.requests.clear();

        // Save says why and offers Save As; No leaves everything as it was.
        boxes.answers.push_back(QMessageBox::No);
        window->mnuSave_Click();
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, "The tree definition file " + tree + FormSVG::kIncompleteSaveQuestion);
        EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Question);
        EXPECT_TRUE(dialogs.requests.isEmpty());
        EXPECT_EQ(readFile(tree), c.content);

        // Save As onto the same file is refused too.
        boxes.answers.push_back(QMessageBox::Yes);
        dialogs.choose(tree);
        boxes.answers.push_back(QMessageBox::Ok);
        window->mnuSave_Click();
        ASSERT_EQ(boxes.shown.size(), 3);
        EXPECT_TRUE(boxes.shown[2].text.contains("was not loaded in full")) << boxes.shown[2].text.toStdString();
        EXPECT_EQ(readFile(tree), c.content);

        // Save As to another file writes it; Save then writes there.
        boxes.answers.push_back(QMessageBox::Yes);
        dialogs.choose(other);
        window->mnuSave_Click();
        EXPECT_EQ(boxes.shown.size(), 4);
        EXPECT_EQ(treeFileBox(), other);
        EXPECT_TRUE(readFile(other).contains("P cid=m(3,1):Cid"));
        EXPECT_FALSE(window->tree()->IsIncompletelyLoaded());
        window->tree()->NewPerson("dan", "Dan", "", 4, 1, "m", false, "", false);
        window->mnuSave_Click();
        EXPECT_EQ(boxes.shown.size(), 4);
        EXPECT_TRUE(readFile(other).contains("P dan=m(4,1):Dan"));
        EXPECT_EQ(readFile(tree), c.content);
        boxes.shown.clear();
    }
}

// Process writes the chart of the file the box names: a file other than the
// loaded one is loaded first, asking about unsaved changes as Open Tree does.
TEST_F(MainWindowTest, ProcessLoadsTheFileTheBoxNames) {
    const QString first = writeSmallTree();
    const QString second = writeTree("TreeSecond.txt", "H Title=Second\nP zoe=f(1,1):Zoe|Zoe|\n");
    load(first);
    window->cmdProcess_Click();
    ASSERT_TRUE(enabled("cmdView"));
    changeTree();

    // Typing another name takes the chart away from View.
    auto* box = control<QLineEdit>("txtTreeFile");
    box->clear();
    QTest::keyClicks(box, second);
    EXPECT_FALSE(enabled("cmdView"));

    boxes.answers.push_back(QMessageBox::No);
    window->cmdProcess_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, FormSVG::kLoadQuestion);
    EXPECT_EQ(window->tree()->GetTreeFile(), first);

    boxes.answers.push_back(QMessageBox::Yes);
    window->cmdProcess_Click();
    EXPECT_EQ(window->tree()->GetTreeFile(), second);
    EXPECT_TRUE(window->tree()->GetPersons().contains("zoe"));
    EXPECT_EQ(calls, QStringList({"process " + first, "process " + second}));
    EXPECT_TRUE(enabled("cmdView"));
    EXPECT_FALSE(readFile(first).contains("cid"));

    // A box naming a file that cannot be loaded writes no chart.
    box->setText(dir.filePath("TreeMissing.txt"));
    boxes.answers.push_back(QMessageBox::Ok);
    window->cmdProcess_Click();
    EXPECT_EQ(calls.size(), 2);
}

TEST_F(MainWindowTest, SaveAsShowsTheNewFileOrNothingWhenCancelled) {
    const QString tree = writeSmallTree();
    load(tree);
    dialogs.cancel();
    window->mnuSaveAs_Click();
    EXPECT_EQ(treeFileBox(), tree);
    EXPECT_TRUE(boxes.shown.isEmpty());

    const QString copy = dir.filePath("TreeCopy.txt");
    dialogs.choose(copy);
    window->mnuSaveAs_Click();
    ASSERT_EQ(dialogs.requests.size(), 2);
    EXPECT_TRUE(dialogs.requests[1].save);
    EXPECT_TRUE(dialogs.requests[1].confirmOverwrite);
    EXPECT_EQ(dialogs.requests[1].title, "Select New Tree Definition File");
    EXPECT_EQ(treeFileBox(), copy);
    EXPECT_TRUE(readFile(copy).contains("P ann=f(1,1):Ann"));
}

// ---- Export As GEDCOM file

TEST_F(MainWindowTest, ExportProposesANameFromTheTitle) {
    EXPECT_EQ(FormSVG::gedcomFileNameFor("Smith"), "TreeSmith.ged");
    EXPECT_EQ(FormSVG::gedcomFileNameFor("Tree of Smiths"), "Tree of Smiths.ged");
    EXPECT_EQ(FormSVG::gedcomFileNameFor("tree smith"), "tree smith.ged");

    load(writeSmallTree());
    QString exported;
    window->peers().exportToGedcom = [&](SVGTree&, const QString& file) { exported = file; };
    dialogs.choose(dir.filePath("out.ged"));
    window->mnuExportToGEDCOM_Click();
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].fileName, "TreeSmall.ged");
    EXPECT_EQ(dialogs.requests[0].title, "Select New GEDCOM File");
    EXPECT_EQ(dialogs.requests[0].nameFilters, QStringList({"GEDCOM Files (*.ged) (*.ged)", "All Files (*.*) (*)"}));
    EXPECT_TRUE(dialogs.requests[0].confirmOverwrite);
    EXPECT_EQ(exported, dir.filePath("out.ged"));
}

// ---- Save Progress Messages

TEST_F(MainWindowTest, SaveProgressMessagesWritesAllLinesOrTheSelectedOnes) {
    window->mnuSaveProgressMsgs_Click();
    EXPECT_TRUE(dialogs.requests.isEmpty());

    window->reporter().logLine("first line");
    window->reporter().logLine("second line", LogColour::Red);
    window->reporter().logLine("third line");
    const QString all = dir.filePath("all.txt");
    dialogs.choose(all);
    window->mnuSaveProgressMsgs_Click();
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].title, "Select New Text File For Messages");
    EXPECT_EQ(dialogs.requests[0].nameFilters, QStringList({"Text Files (*.txt) (*.txt)", "All Files (*.*) (*)"}));
    EXPECT_TRUE(dialogs.requests[0].confirmOverwrite);
    EXPECT_EQ(readFile(all), QByteArray("\xEF\xBB\xBF" "first line\r\nsecond line\r\nthird line\r\n"));

    QTextEdit* log = control<QTextEdit>("txtData");
    QTextCursor cursor(log->document());
    cursor.setPosition(14);  // inside "second line"
    cursor.setPosition(16, QTextCursor::KeepAnchor);
    log->setTextCursor(cursor);
    const QString part = dir.filePath("part.txt");
    dialogs.choose(part);
    window->mnuSaveProgressMsgs_Click();
    EXPECT_EQ(readFile(part), QByteArray("\xEF\xBB\xBF" "second line\r\n"));

    cursor.setPosition(3);
    cursor.setPosition(12, QTextCursor::KeepAnchor);  // from "first" up to the "s" of "second"
    log->setTextCursor(cursor);
    dialogs.choose(part);
    window->mnuSaveProgressMsgs_Click();
    EXPECT_EQ(readFile(part), QByteArray("\xEF\xBB\xBF" "first line\r\nsecond line\r\n"));
}

TEST_F(MainWindowTest, LogLinesAreFoundByCharacterPosition) {
    window->reporter().logLine("ab");
    window->reporter().logLine("cdef");
    EXPECT_EQ(window->iLineCount(), 3);  // two lines and the empty one after the last line end
    EXPECT_EQ(window->iLineFromChar(-1), -1);
    EXPECT_EQ(window->iLineFromChar(2), 0);
    EXPECT_EQ(window->iLineFromChar(3), 1);
    EXPECT_EQ(window->iLineIndex(1), 3);
    EXPECT_EQ(window->iLineIndex(-2), -1);
    EXPECT_EQ(window->iLineLength(4), 4);
    EXPECT_EQ(window->sLineAtChar(5), "cdef");
    int start = 0, end = 0;
    window->GetLineExtent(4, start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 7);
    for (auto call : {std::function<void()>([&] { window->iLineLength(-1); }),
                      std::function<void()>([&] { window->sLineAtChar(-1); }),
                      std::function<void()>([&] { window->GetLineExtent(-2, start, end); })}) {
        try {
            call();
            ADD_FAILURE() << "no error for a negative position";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, 5);
        }
    }
}

// ---- Tools menu

TEST_F(MainWindowTest, ManageViewpointsIsOfferedOnlyForTreesUsingViewpoints) {
    QMenu* tools = control<QMenu>("mnuTools");
    Q_EMIT tools->aboutToShow();
    EXPECT_FALSE(enabled("mnuViewpointManagement"));
    load(writeTree("TreeNoViews.txt", "H Viewpoints=False\nV first=First view|2,1\n"));
    Q_EMIT tools->aboutToShow();
    EXPECT_FALSE(enabled("mnuViewpointManagement"));
    load(writeTree("TreeViews.txt", kViewpointTree));
    Q_EMIT tools->aboutToShow();
    EXPECT_TRUE(enabled("mnuViewpointManagement"));
}

// ---- Exit and the close box

TEST_F(MainWindowTest, ExitSavesUnsavedChangesWithoutAskingAndCloses) {
    window->show();
    const QString tree = writeSmallTree();
    load(tree);
    changeTree();
    bool closed = false;
    QObject::connect(window.get(), &FormSVG::windowClosed, [&] { closed = true; });
    window->cmdExit_Click();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(closed);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(readFile(tree).contains("P cid=m(3,1):Cid"));
}

TEST_F(MainWindowTest, ExitWithAFailingSaveReportsAndStaysOpen) {
    window->show();
    load(writeSmallTree());
    window->tree()->GetPersons().value("ann")->SetText("two\nlines");
    window->tree()->SetUnsaved(true);
    window->mnuExit_Click();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->tree()->IsUnsaved());
}

TEST_F(MainWindowTest, ExitAsksBeforeLeavingATreeThatDidNotLoadInFull) {
    window->show();
    const QByteArray content = "H Title=Cut\nP ann=f(1,1):Ann|A|\nZ what is this\nP bob=m(2,1):Bob|B|\n";
    const QString tree = writeTree("TreeCut.txt", content);
    boxes.answers.push_back(QMessageBox::Ok);  // the unknown record's warning
    window->LoadTreeFile(tree);
    ASSERT_TRUE(window->tree()->IsIncompletelyLoaded());
    changeTree();
    boxes.shown.clear();

    boxes.answers.push_back(QMessageBox::No);
    window->cmdExit_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, FormSVG::kCloseQuestion);
    EXPECT_TRUE(window->isVisible());

    boxes.answers.push_back(QMessageBox::Yes);
    window->cmdExit_Click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readFile(tree), content);
}

TEST_F(MainWindowTest, CloseBoxAsksOnlyForUnsavedChangesAndSavesNothing) {
    EXPECT_EQ(FormSVG::kCloseQuestion, "You may have left unsaved changes in this tree. Are you sure you want to "
                                       "discard them and leave Kvora?");
    window->show();
    const QString tree = writeSmallTree();
    load(tree);
    changeTree();

    boxes.answers.push_back(QMessageBox::No);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, FormSVG::kCloseQuestion);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Question);
    EXPECT_TRUE(window->isVisible());

    boxes.answers.push_back(QMessageBox::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(readFile(tree).contains("cid"));

    window->show();
    window->tree()->SetUnsaved(false);
    boxes.shown.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindowTest, CommandsWhosePeerIsMissingSayTheyAreNotAvailable) {
    window->peers() = MainWindowPeers{};
    load(writeTree("TreeViews.txt", kViewpointTree));
    menus.choose("(Full Tree)");
    window->cmdDesign_Click();
    window->mnuLoadGEDCOM_Click();
    window->mnuExportToGEDCOM_Click();
    for (const char* what : {"The Tree Designer", "The GEDCOM browser", "Export to GEDCOM"})
        EXPECT_TRUE(logHas(QLatin1String(what) + QStringLiteral(" is not available in this version of Kvora")))
            << what;
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

}  // namespace
