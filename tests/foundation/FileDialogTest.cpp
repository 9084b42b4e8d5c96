#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "AppError.h"
#include "GuiLogFixture.h"
#include "ProgressLog.h"
#include "ScriptedFileDialogs.h"
#include "SelectFileClass.h"
#include "WidgetDriving.h"

TEST(SelectFileClass, FiltersBecomeOneNameFilterPerPair) {
    struct Case {
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Tree Files (Tree*.txt)|tree*.txt|All Text Files (*.txt)|*.txt|All Files (*.*)|*.*",
         {"Tree Files (Tree*.txt) (tree*.txt)", "All Text Files (*.txt) (*.txt)", "All Files (*.*) (*)"}},
        {"All Images (*.jpg, *.png, *.gif, *.tif, *.bmp)|*.jpg;*.png;*.gif;*.tif;*.bmp|All Files (*.*)|*.*|",
         {"All Images (*.jpg, *.png, *.gif, *.tif, *.bmp) (*.jpg *.png *.gif *.tif *.bmp)", "All Files (*.*) (*)"}},
        {"Header Files (Header*.*)|header*.*", {"Header Files (Header*.*) (header*.*)"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SelectFileClass::nameFilters(c.filter), c.expected) << c.filter.toStdString();
}

class ScriptedFileDialog : public GuiLogFixture {
protected:
    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> installDialogs{dialogs};
};

TEST_F(ScriptedFileDialog, OpenAsksWithTheCallersSettingsAndHandsBackTheChoice) {
    SelectFileClass dlg;
    dlg.Filter = QStringLiteral("Tree Files (Tree*.txt)|tree*.txt|All Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    dlg.FilterIndex = 2;
    dlg.DefaultExt = QStringLiteral(".t.xt");
    dlg.DialogTitle = QStringLiteral("Select Tree Definition File");
    dlg.InitialDir = QStringLiteral("/home/user/trees");
    dlg.CancelError = true;
    dialogs.choose(QStringLiteral("/home/user/trees/Tree Smith.txt"), 0);

    dlg.ShowOpen();

    ASSERT_EQ(dialogs.requests.size(), 1);
    const FileDialogRequest& r = dialogs.requests[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.title, "Select Tree Definition File");
    EXPECT_EQ(r.directory, "/home/user/trees");
    EXPECT_EQ(r.nameFilters.size(), 3);
    EXPECT_EQ(r.selectedFilter, 1);
    EXPECT_EQ(r.defaultSuffix, "txt");
    EXPECT_EQ(dlg.DefaultExt, "txt");
    EXPECT_EQ(dlg.FileName, "/home/user/trees/Tree Smith.txt");
    EXPECT_EQ(dlg.FileTitle, "Tree Smith.txt");
    EXPECT_EQ(dlg.FilterIndex, 1);
}

TEST_F(ScriptedFileDialog, EmptySettingsTakeAllFilesAndTheCurrentFolder) {
    SelectFileClass dlg;
    dialogs.choose(QStringLiteral("/tmp/notes.txt"));
    dlg.ShowSave();
    const FileDialogRequest& r = dialogs.requests.at(0);
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.nameFilters, QStringList{"All Files (*.*) (*)"});
    EXPECT_EQ(r.selectedFilter, 0);
    EXPECT_EQ(r.directory, QDir::currentPath());
    EXPECT_EQ(dlg.InitialDir, QDir::currentPath());
    EXPECT_FALSE(r.confirmOverwrite);
}

TEST_F(ScriptedFileDialog, SaveAsksBeforeOverwritingOnlyWhenTheFlagSaysSo) {
    for (int flags : {0, 2, 10, 8, 268}) {
        SelectFileClass dlg;
        dlg.DialogFlags = flags;
        dialogs.choose(QStringLiteral("/tmp/new.ged"));
        dlg.ShowSave();
        EXPECT_EQ(dialogs.requests.last().confirmOverwrite, (flags & 2) != 0) << flags;
    }
}

TEST_F(ScriptedFileDialog, CancelRaisesTheCancelErrorOnlyWhenAskedTo) {
    SelectFileClass quiet;
    quiet.FileName = QStringLiteral("proposed.txt");
    quiet.FileTitle = QStringLiteral("earlier.txt");
    dialogs.cancel();
    EXPECT_NO_THROW(quiet.ShowOpen());
    EXPECT_EQ(quiet.FileName, "");
    EXPECT_EQ(quiet.FileTitle, "earlier.txt");

    SelectFileClass strict;
    strict.CancelError = true;
    strict.FileName = QStringLiteral("proposed.txt");
    dialogs.cancel();
    try {
        strict.ShowSave();
        FAIL() << "Cancel raised nothing";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kCancelErrorNumber);
        EXPECT_EQ(e.source, "SelectFileClass");
        EXPECT_EQ(e.description, "Cancel was selected");
    }
    EXPECT_EQ(strict.FileName, "");
}

TEST_F(ScriptedFileDialog, AHandlerEndsSilentlyWhenTheUserCancels) {
    auto openHandler = [] {
        try {
            SelectFileClass dlg;
            dlg.CancelError = true;
            dlg.ShowOpen();
            LogProgress(QStringLiteral("Opening ") + dlg.FileName);
            raiseError(ErrorOffset::TextFileIO, QStringLiteral("ReadTextFile"), QStringLiteral("Cannot read ") + dlg.FileName);
        } catch (...) {
            reportHandlerError();
        }
    };
    dialogs.cancel();
    openHandler();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());

    dialogs.choose(QStringLiteral("/tmp/Tree1.txt"));
    openHandler();
    EXPECT_EQ(lines(), (QStringList{"Opening /tmp/Tree1.txt", "Cannot read /tmp/Tree1.txt"}));
    EXPECT_EQ(boxes.texts(), QStringList{"Cannot read /tmp/Tree1.txt"});
}

// The standard dialogs, driven through the real QFileDialog.
TEST(QtFileDialogs, TheRealDialogTakesFiltersSuffixAndTypedName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    bool answered = false;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        answered = true;
        EXPECT_EQ(dialog->windowTitle(), "Select New Text File For Messages");
        EXPECT_EQ(dialog->selectedNameFilter(), "All Files (*.*)");  // shown without its patterns
        dialog->selectFile(QStringLiteral("messages"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    SelectFileClass dlg;
    dlg.Filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    dlg.FilterIndex = 2;
    dlg.DefaultExt = QStringLiteral(".txt");
    dlg.DialogTitle = QStringLiteral("Select New Text File For Messages");
    dlg.InitialDir = dir.path();
    dlg.DialogFlags = 10;
    dlg.ShowSave();
    ASSERT_TRUE(answered);
    EXPECT_EQ(dlg.FileName, dir.filePath(QStringLiteral("messages.txt")));
    EXPECT_EQ(dlg.FileTitle, "messages.txt");
    EXPECT_EQ(dlg.FilterIndex, 2);
}

TEST(QtFileDialogs, ClosingTheRealDialogIsCancel) {
    whenModalOpens([](QWidget* dialog) { dialog->close(); });
    SelectFileClass dlg;
    dlg.CancelError = true;
    EXPECT_THROW(dlg.ShowOpen(), AppError);
    EXPECT_EQ(dlg.FileName, "");
}
