#include "WriteTextFile.h"

#include <exception>

#include "SafeFileWriter.h"
#include "TextCoreErrors.h"
#include "Windows1252.h"

namespace {
// Bytes collected before they go to the file.
constexpr qsizetype kBufferBytes = 64 * 1024;
}  // namespace

WriteTextFile::WriteTextFile() = default;

WriteTextFile::~WriteTextFile() {
    if (!open_) return;
    if (std::uncaught_exceptions() > uncaughtAtOpen_) {
        discard();  // destroyed by an error: the old file stays as it was
        return;
    }
    try {
        CloseFile();
    } catch (...) {
        // A destructor cannot report; CloseFile has already discarded the temporary file.
    }
}

void WriteTextFile::raiseIO(const QString& description) {
    raiseError(TextCoreError::TextIO, TextCoreError::writerSource(), description);
}

void WriteTextFile::raiseWriteFailure() {
    raiseIO(QStringLiteral("I/O error: Unable to write file ") + fileName_ + QStringLiteral(": ") + file_->errorText());
}

void WriteTextFile::OpenFile(const QString& sFile, bool bANSI) {
    if (open_) CloseFile();
    auto file = std::make_unique<SafeFileWriter>(sFile);
    if (!file->open())
        raiseIO(QStringLiteral("I/O error: Unable to create file ") + sFile + QStringLiteral(": ") + file->errorText());
    file_ = std::move(file);
    fileName_ = sFile;
    ansi_ = bANSI;
    pending_.clear();
    buffer_.clear();
    buffer_.reserve(kBufferBytes + 1024);
    if (!bANSI) buffer_.append("\xEF\xBB\xBF", 3);
    uncaughtAtOpen_ = std::uncaught_exceptions();
    open_ = true;
}

void WriteTextFile::WriteLine(const QString& sText) {
    if (!open_) return;
    if (pending_.isEmpty()) {
        writeString(sText);
    } else {
        // One string: a character whose two halves came in the two texts is
        // encoded whole.
        pending_ += sText;
        writeString(pending_);
        pending_.clear();
    }
    buffer_.append("\r\n", 2);
    if (buffer_.size() >= kBufferBytes) flushBuffer();
}

void WriteTextFile::WriteText(const QString& sText) {
    if (open_) pending_ += sText;
}

void WriteTextFile::CloseFile() {
    if (!open_) return;
    try {
        writeString(pending_);
        pending_.clear();
        flushBuffer();
        if (!file_->commit()) raiseWriteFailure();
    } catch (...) {
        discard();
        throw;
    }
    file_.reset();
    open_ = false;
}

void WriteTextFile::writeString(const QString& text) {
    if (text.isEmpty()) return;
    buffer_ += ansi_ ? encodeWindows1252(text) : text.toUtf8();
    if (buffer_.size() >= kBufferBytes) flushBuffer();
}

void WriteTextFile::flushBuffer() {
    if (buffer_.isEmpty()) return;
    if (!file_->write(buffer_)) raiseWriteFailure();
    // Emptied but not released: the next block fills the same allocation
    // instead of growing a new one from nothing.
    buffer_.resize(0);
}

void WriteTextFile::discard() {
    file_.reset();  // the temporary file is removed, the target is untouched
    open_ = false;
    pending_.clear();
    buffer_.clear();
}
