#include <csignal>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "FailingDisks.h"
#include "FileSizeSignal.h"
#include "SafeFileWriter.h"

namespace {

// While the program catches the file-size signal, its own write past the
// limit fails with the reason, and a program it starts (an editor, the
// browser, both inheriting the limit) meets the limit as when started from a
// shell: the signal ends it, instead of leaving it to run on past writes that
// fail.
TEST(FileSizeSignalTest, OwnWritesFailWhileStartedProgramsGetTheDefaultActionBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FileSizeLimit limit(4096);

    EXPECT_EQ(sWriteWholeFile(dir.filePath("own.txt"), QByteArray(8192, 'x')), "File too large");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("own.txt")));

    QProcess started;
    started.start(QStringLiteral("dd"),
                  {"if=/dev/zero", "of=" + dir.filePath("started.bin"), "bs=8192", "count=1", "status=none"});
    ASSERT_TRUE(started.waitForFinished());
    EXPECT_EQ(started.exitStatus(), QProcess::CrashExit) << "exit code " << started.exitCode();
    EXPECT_EQ(started.exitCode(), SIGXFSZ);
}

}  // namespace
