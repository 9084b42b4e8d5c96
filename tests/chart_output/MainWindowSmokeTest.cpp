// The built program started on the sample tree with /P writes its charts.
#include <QDir>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "ProgramRun.h"

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir())
            copyFolder(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

TEST(ProgramStartTest, SampleTreeWithProcessSwitchWritesItsCharts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/samples"), dir.path());
    const QStringList charts = {dir.filePath("TreeHarwood_harwood.html"), dir.filePath("TreeHarwood_quinn.html")};
    auto allWritten = [&charts] {
        for (const QString& chart : charts)
            if (!QFileInfo::exists(chart)) return false;
        return true;
    };

    const bool stillRunning = runProgramUntil(QStringLiteral(KV_BUILD_DIR "/bin/kvora"),
                                              {dir.filePath("TreeHarwood.txt"), "/P"}, dir.path(), allWritten);
    EXPECT_TRUE(stillRunning) << "the program ended after start-up";
    for (const QString& chart : charts) {
        QFile file(chart);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << chart.toStdString();
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains("<svg")) << chart.toStdString();
        EXPECT_TRUE(text.trimmed().endsWith("</html>")) << chart.toStdString();
    }
}

// Errors and warnings of the progress log also reach standard error, so that a
// run from a terminal shows why it stopped.
TEST(ProgramStartTest, LoadWarningsReachStandardError) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tree = dir.filePath("TreeCut.txt");
    {
        QFile f(tree);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("H Title=Cut\nP ann=f(1,1):Ann|A|\nZ what is this\nP bob=m(2,1):Bob|B|\n");
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    // The warning's box waits for an answer; what matters is what came before it.
    QByteArray errors;
    QEventLoop loop;
    QObject::connect(&program, &QProcess::readyReadStandardError, &loop, [&] {
        errors += program.readAllStandardError();
        if (errors.contains("Unknown record type")) loop.quit();
    });
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    program.start(QStringLiteral(KV_BUILD_DIR "/bin/kvora"), {tree});
    ASSERT_TRUE(program.waitForStarted());
    loop.exec();
    program.kill();
    program.waitForFinished();
    EXPECT_TRUE(errors.contains("Unknown record type: 'Z ' (5A 20 77 68 )")) << errors.toStdString();
    // Ordinary progress lines stay in the log only.
    EXPECT_FALSE(errors.contains("Loading tree definition file")) << errors.toStdString();
}

}  // namespace
