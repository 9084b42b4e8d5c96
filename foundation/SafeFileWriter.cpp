#include "SafeFileWriter.h"

#include <cerrno>

#include <unistd.h>

#include <QSaveFile>

#include "SystemErrorText.h"

namespace {

// Qt's own text of a failure of its file, or "" where it knows no more than
// the system's error code does.
QString qtReason(const QFileDevice& file) {
    const QString text = file.errorString();
    return text.startsWith(QLatin1String("Unknown error")) ? QString() : text;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const QString& sFile) : fileName_(sFile) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::fail(int code, const QString& text) {
    if (errorCode_ == 0) {
        errorCode_ = code > 0 ? code : EIO;
        errorText_ = text.isEmpty() ? sSystemErrorText(errorCode_) : text;
    }
    discard();
    return false;
}

bool SafeFileWriter::open() {
    discard();
    errorCode_ = 0;
    errorText_.clear();
    auto file = std::make_unique<QSaveFile>(fileName_);
    // Writing straight over the target is never allowed: a failure must leave
    // the old file whole. Unbuffered: every byte goes to the system at once.
    file->setDirectWriteFallback(false);
    errno = 0;
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int code = errno;
        // Qt's text says why the temporary file could not be made, also where
        // no system call failed (a folder given as the file, say).
        return fail(code, qtReason(*file));
    }
    file_ = std::move(file);
    return true;
}

bool SafeFileWriter::write(const char* data, qsizetype size) {
    if (!file_) return fail(errorCode_ ? errorCode_ : EBADF);
    // The system's own writes, so that a short write (the disk filling up
    // part way) and its reason are both seen.
    const int fd = file_->handle();
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (written == 0) return fail(EIO);
        data += written;
        size -= written;
    }
    return true;
}

bool SafeFileWriter::commit() {
    if (!file_) return fail(errorCode_ ? errorCode_ : EBADF);
    // A file system may report a failed write only when it is made to put the
    // bytes on the disk; the target is replaced only after that succeeded.
    while (::fsync(file_->handle()) != 0) {
        if (errno != EINTR) return fail(errno);
    }
    errno = 0;
    if (!file_->commit()) {
        const int code = errno;
        const QString text = qtReason(*file_);
        file_.reset();
        return fail(code, text);
    }
    file_.reset();
    return true;
}

void SafeFileWriter::discard() {
    if (!file_) return;
    file_->cancelWriting();
    file_.reset();  // removes the temporary file
}

QString sWriteWholeFile(const QString& sFile, const QByteArray& bytes, int* errorCode) {
    SafeFileWriter file(sFile);
    const bool written = file.open() && file.write(bytes) && file.commit();
    if (errorCode) *errorCode = written ? 0 : file.errorCode();
    return written ? QString() : file.errorText();
}
