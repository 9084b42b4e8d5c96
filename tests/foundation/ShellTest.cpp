#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "AppError.h"
#include "PathHelpers.h"
#include "ShellHelpers.h"

namespace {

// Writes an executable shell script.
QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(ShellCommandTest, WaitsForTheEditorWhileEventsKeepRunning) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The "editor" waits until the test's timer, run during the wait, lets it
    // go on; then it writes into the file it was given and ends.
    const QString editor = writeScript(dir, "editor.sh",
                                       "while [ ! -f \"$1.go\" ]; do sleep 0.01; done\n"
                                       "echo edited >> \"$1\"\n");
    const QString tree = dir.filePath("Tree with blanks.txt");

    bool timerRan = false;
    QString nestedResult;
    QTimer::singleShot(0, [&] {
        timerRan = true;
        double otherTask = 0;
        // The button pressed again during the wait starts nothing.
        nestedResult = sShellCommand(editor + " \"" + tree + "\"", true, 1, otherTask);
        QFile go(tree + ".go");
        go.open(QIODevice::WriteOnly);
    });

    double task = 0;
    const QString result = sShellCommand(editor + " \"" + tree + "\"", true, 1, task);
    EXPECT_EQ(result, "");
    EXPECT_GT(task, 0);
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(nestedResult, shellCommandBusyText());
    QFile edited(tree);
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    EXPECT_EQ(edited.readAll(), QByteArray("edited\n"));

    // Once the wait is over, the next command runs again.
    EXPECT_EQ(sShellCommand("/bin/true \"" + tree + "\"", false, 1, task), "");
    EXPECT_GT(task, 0);
}

TEST(ShellCommandTest, FailureToStartIsReturnedNotThrown) {
    double task = 7;
    const QString result = sShellCommand("/no/such/editor file.txt", true, 1, task);
    EXPECT_FALSE(result.isEmpty());
    EXPECT_EQ(task, 0);
    EXPECT_FALSE(sShellCommand("", true, 1, task).isEmpty());
}

TEST(PathHelpersTest, FullPathSplitsBaseNameAndExtension) {
    struct Case {
        QString file, full, base, extension;
    };
    const QString here = QDir::currentPath();
    const std::vector<Case> cases = {
        {"tree.txt", here + "/tree.txt", "tree", "txt"},
        {"/data/folder", "/data/folder", "folder", ""},
        {"/data/a.b/c", "/data/a.b/c", "c", ""},
        {"/data/x/../tree.v2.txt", "/data/tree.v2.txt", "tree.v2", "txt"},
        {"sub\\pic.jpg", here + "/sub/pic.jpg", "pic", "jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        QString base = "old", extension = "old";
        EXPECT_EQ(sGetFullPath(c.file, base, extension), c.full);
        EXPECT_EQ(base, c.base);
        EXPECT_EQ(extension, c.extension);
    }
    QString base = "old", extension = "old";
    try {
        sGetFullPath("", base, extension);
        FAIL() << "an empty name has no full path";
    } catch (const AppError& error) {
        EXPECT_EQ(error.source, "sGetFullPath");
        EXPECT_FALSE(error.description.isEmpty());
    }
    EXPECT_EQ(base, "");
    EXPECT_EQ(extension, "");
}

TEST(PathHelpersTest, FileExistsOnlyForFiles) {
    QTemporaryDir dir;
    const QString file = dir.filePath("picture.jpg");
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_TRUE(bFileExists(file));
    EXPECT_TRUE(bFileExists(QString(file).replace('/', '\\')));
    EXPECT_FALSE(bFileExists(dir.path()));
    EXPECT_FALSE(bFileExists(dir.filePath("missing.jpg")));
    EXPECT_FALSE(bFileExists(""));
}

TEST(PathHelpersTest, EnvironmentValues) {
    qputenv("KV_TEST_EDITOR", "gedit --new-window");
    EXPECT_EQ(sGetEnvironmentVar("KV_TEST_EDITOR"), "gedit --new-window");
    qunsetenv("KV_TEST_EDITOR");
    EXPECT_EQ(sGetEnvironmentVar("KV_TEST_EDITOR"), "");
}

}  // namespace
