// The built program started on the sample tree with /P writes its charts.
#include <csignal>

#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>

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
    // The warning's box waits for an answer; what matters is what came before it.
    QByteArray errors;
    runProgramUntilError(QStringLiteral(KV_BUILD_DIR "/bin/kvora"), {tree}, "Unknown record type", errors);
    EXPECT_TRUE(errors.contains("Unknown record type: 'Z ' (5A 20 77 68 )")) << errors.toStdString();
    // Ordinary progress lines stay in the log only.
    EXPECT_FALSE(errors.contains("Loading tree definition file")) << errors.toStdString();
}

// Under a file-size limit (ulimit -f, as on shared hosts) a chart that would
// grow past it is not written: the run says "File too large" as for a full
// disk, the charts written before stay whole, and the program goes on with
// whatever it holds unsaved.
TEST(ProgramStartTest, ChartPastTheFileSizeLimitIsReportedAndTheProgramGoesOn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/samples"), dir.path());
    // The support scripts are in place already: the charts are what the run writes.
    copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/SVGcode"), dir.filePath("SVGcode"));
    const QStringList charts = {dir.filePath("TreeHarwood_harwood.html"), dir.filePath("TreeHarwood_quinn.html")};
    const QByteArray oldChart = "<html>the chart of an earlier run</html>\n";
    for (const QString& chart : charts) {
        QFile f(chart);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldChart);
    }
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    // Each chart of the sample is over 16 KB. The program starts as from a
    // shell after `ulimit -f 8`: the limit set, the signal at its default.
    QByteArray errors;
    const bool stillRunning =
        runProgramUntilError(QStringLiteral(KV_BUILD_DIR "/bin/kvora"), {dir.filePath("TreeHarwood.txt"), "/P"},
                             "File too large", errors, [] {
                                 std::signal(SIGXFSZ, SIG_DFL);
                                 rlimit limit{};
                                 getrlimit(RLIMIT_FSIZE, &limit);
                                 limit.rlim_cur = 8 * 1024;
                                 setrlimit(RLIMIT_FSIZE, &limit);
                             });
    EXPECT_TRUE(stillRunning) << "the program ended: " << errors.toStdString();
    EXPECT_TRUE(errors.contains("I/O error: Unable to write file " + QFile::encodeName(dir.path()) +
                                "/TreeHarwood_harwood.html: File too large"))
        << errors.toStdString();
    for (const QString& chart : charts) {
        QFile f(chart);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), oldChart) << chart.toStdString();
    }
    // Nothing half written is left beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
}

}  // namespace
