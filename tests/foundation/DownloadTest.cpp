#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "AppError.h"
#include "Downloads.h"
#include "FailingDisks.h"
#include "LocalHttpServer.h"
#include "RecordingReporter.h"

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = downloadTimeouts();
        setDownloadTimeouts({2000, 3000});
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override { setDownloadTimeouts(saved); }

    // The download error raised for url by source.
    static void expectDownloadError(const std::function<void()>& call, const QString& source, const QString& url) {
        try {
            call();
            FAIL() << "no error raised for " << url.toStdString();
        } catch (const AppError& error) {
            EXPECT_EQ(error.number, errorNumber(517));
            EXPECT_EQ(error.source, source);
            EXPECT_TRUE(error.description.startsWith(QStringLiteral("Unable to download file ") + url + " (code = "))
                << error.description.toStdString();
            EXPECT_TRUE(error.description.endsWith(QStringLiteral(")")));
        }
    }

    // The names in the folder: a failed download must leave nothing.
    QStringList folderEntries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    DownloadTimeouts saved;
    QTemporaryDir folder;
    LocalHttpServer server;
};

TEST_F(DownloadTest, WritesTheBodyAndFollowsRedirects) {
    server.answer("/photo.jpg", 200, "picture bytes");
    server.answer("/old.jpg", 302, "", "Location: /photo.jpg\r\n");
    const QString target = folder.filePath("photo.jpg");

    DownloadFile(qs(server.url("/photo.jpg")), target);
    EXPECT_EQ(readAll(target), QByteArray("picture bytes"));

    const QString moved = folder.filePath("moved.jpg");
    DownloadFile(qs(server.url("/old.jpg")), moved);
    EXPECT_EQ(readAll(moved), QByteArray("picture bytes"));
}

TEST_F(DownloadTest, FailuresRaiseTheUrlAndLeaveNoFile) {
    server.answerRaw("/cut.jpg", "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nonly part of it");
    server.hang("/slow.jpg");
    setDownloadTimeouts({2000, 300});

    const std::vector<std::string> failing = {"/missing.jpg", "/cut.jpg", "/slow.jpg"};
    for (const auto& path : failing) {
        SCOPED_TRACE(path);
        const QString url = qs(server.url(path));
        expectDownloadError([&] { DownloadFile(url, folder.filePath("out.jpg")); }, "DownloadFile", url);
        EXPECT_TRUE(folderEntries().isEmpty()) << folderEntries().join(' ').toStdString();
    }
}

TEST_F(DownloadTest, FailureKeepsAnExistingFileUntouched) {
    const QString target = folder.filePath("kept.jpg");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older copy");
    }
    const QString url = qs(server.url("/missing.jpg"));
    expectDownloadError([&] { DownloadFile(url, target); }, "DownloadFile", url);
    EXPECT_EQ(readAll(target), QByteArray("older copy"));
    EXPECT_EQ(folderEntries(), QStringList{"kept.jpg"});

    // A body the disk cannot take in full, under and over 16 KB.
    for (const int size : {10'000, 70'000}) {
        SCOPED_TRACE(size);
        server.answer("/large.jpg", 200, std::string(size, 'p'));
        const QString large = qs(server.url("/large.jpg"));
        {
            FileSizeLimit limit(size - 6000);
            expectDownloadError([&] { DownloadFile(large, target); }, "DownloadFile", large);
        }
        EXPECT_EQ(readAll(target), QByteArray("older copy"));
        EXPECT_EQ(folderEntries(), QStringList{"kept.jpg"});
    }
}

TEST_F(DownloadTest, OnlyHttpAndHttpsAreFetched) {
    const QString local = folder.filePath("secret.txt");
    {
        QFile file(local);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    for (const QString& url : {QStringLiteral("file://") + local, QStringLiteral("ftp://127.0.0.1/x"),
                               QStringLiteral("not a url")}) {
        SCOPED_TRACE(url.toStdString());
        expectDownloadError([&] { DownloadFile(url, folder.filePath("copy.txt")); }, "DownloadFile", url);
    }
    // A redirect may not lead off to another scheme either.
    server.answer("/to-file", 302, "", "Location: file://" + local.toStdString() + "\r\n");
    const QString url = qs(server.url("/to-file"));
    expectDownloadError([&] { DownloadFile(url, folder.filePath("copy.txt")); }, "DownloadFile", url);
    EXPECT_FALSE(QFile::exists(folder.filePath("copy.txt")));
}

TEST_F(DownloadTest, CacheKeepsEachUrlApartAndLogs) {
    QStandardPaths::setTestModeEnabled(true);
    server.answer("/a/face.png", 200, "first");
    server.answer("/b/face.png", 200, "second");
    RecordingReporter reporter;

    const QString urlA = qs(server.url("/a/face.png"));
    const QString urlB = qs(server.url("/b/face.png"));
    const QString fileA = DownloadFileCache(urlA, &reporter);
    const QString fileB = DownloadFileCache(urlB, &reporter);

    EXPECT_TRUE(fileA.startsWith(downloadCacheFolder()));
    EXPECT_NE(fileA, fileB);
    EXPECT_TRUE(fileA.endsWith("face.png"));
    EXPECT_EQ(readAll(fileA), QByteArray("first"));
    EXPECT_EQ(readAll(fileB), QByteArray("second"));

    // Every call fetches the newest version again.
    server.answer("/a/face.png", 200, "changed");
    EXPECT_EQ(DownloadFileCache(urlA, &reporter), fileA);
    EXPECT_EQ(readAll(fileA), QByteArray("changed"));

    const QString urlMissing = qs(server.url("/gone.png"));
    expectDownloadError([&] { DownloadFileCache(urlMissing, &reporter); }, "DownloadFileCache", urlMissing);

    const QList<QString> logged = reporter.logLines();
    ASSERT_EQ(logged.size(), 3);
    EXPECT_EQ(logged.front(), "Downloading " + urlA + " to file cache for local access");
    QDir(downloadCacheFolder()).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
