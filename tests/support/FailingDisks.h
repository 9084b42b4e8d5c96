#pragma once

#include <csignal>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "FileSizeSignal.h"
#include "SystemErrorText.h"

// Places where a write runs out of room part way, as on a full disk.

// A folder on a small file system of its own (a tmpfs), mounted in a mount
// namespace of the calling thread alone: no other process, and no other test
// run at the same time, sees it, and it goes away with the test process.
// Mounting needs the right to do so (root); where it is missing,
// unavailable() says why and the test skips that case.
class SmallFileSystem {
public:
    explicit SmallFileSystem(qint64 totalBytes = 512 * 1024) {
        if (!folder_.isValid()) {
            unavailable_ = QStringLiteral("no temporary folder");
            return;
        }
        if (unshare(CLONE_NEWNS) != 0) {
            unavailable_ = QStringLiteral("a mount namespace of its own is not allowed: ") + sSystemErrorText(errno);
            return;
        }
        // Mounts made in the new namespace must not reach the one it was copied from.
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            unavailable_ = QStringLiteral("mounts cannot be made private: ") + sSystemErrorText(errno);
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(totalBytes);
        if (mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                  options.constData()) != 0) {
            unavailable_ = QStringLiteral("a small file system cannot be mounted: ") + sSystemErrorText(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallFileSystem() {
        if (mounted_) umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // Empty when the file system is ready, else why it could not be made.
    const QString& unavailable() const { return unavailable_; }
    QString path(const QString& name) const { return folder_.filePath(name); }

    qint64 freeBytes() const {
        struct statvfs fs {};
        if (statvfs(QFile::encodeName(folder_.path()).constData(), &fs) != 0) return -1;
        return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
    }
    // Fills the file system with a file named "filler" until only bytes are
    // free (a whole number of pages).
    void leaveFree(qint64 bytes) {
        QFile filler(path(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append));
        const qint64 fill = freeBytes() - bytes;
        ASSERT_GE(fill, 0) << "the file system is too small";
        ASSERT_EQ(filler.write(QByteArray(fill, '\0')), fill);
        ASSERT_TRUE(filler.flush());
        filler.close();
        ASSERT_EQ(freeBytes(), bytes);
    }

private:
    QTemporaryDir folder_;
    QString unavailable_;
    bool mounted_ = false;
};

// While it lives, files of this process cannot grow past a number of bytes:
// a write beyond it fails with the system's "File too large", and the signal
// the system sends with it is caught as the program catches it. Needs no
// rights, so it runs everywhere.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        sigaction(SIGXFSZ, nullptr, &oldSignal_);
        catchFileSizeSignal();
        rlimit limit = old_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        sigaction(SIGXFSZ, &oldSignal_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    struct sigaction oldSignal_ {};
};
