#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class QSaveFile;

// Writes a file so that it either takes the place of the old file whole or
// leaves the old file exactly as it was. The bytes go to a temporary file
// beside the target, each write straight to the system (nothing is held back
// in a buffer whose failure could go unseen), and the temporary file is
// forced to the disk before it is renamed over the target. After the first
// failure nothing more is written and commit() refuses; the temporary file is
// removed by discard() or by the destructor.
//
// Every failure keeps the system's error code and its text ("No space left on
// device"), so that a caller can tell the user why the file was not written.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const QString& sFile);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file. False (with the reason in errorText) when it
    // cannot be created.
    bool open();
    // Writes all size bytes. False when any of them could not be written.
    bool write(const char* data, qsizetype size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Forces everything written to the disk and puts the file in place of the
    // target. False, with the target untouched, after any failure.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void discard();

    const QString& fileName() const { return fileName_; }
    // The system's error code of the first failure (an errno value; EIO when
    // the system gave none), 0 while nothing failed.
    int errorCode() const { return errorCode_; }
    // The text of the first failure, without the file's name.
    const QString& errorText() const { return errorText_; }

private:
    bool fail(int code, const QString& text = QString());

    QString fileName_;
    std::unique_ptr<QSaveFile> file_;
    int errorCode_ = 0;
    QString errorText_;
};

// Writes bytes as the whole content of sFile through a SafeFileWriter. Returns
// an empty text when the file was written, else the reason it was not (the
// old file then stays as it was); errorCode, when given, receives the
// system's error code of the failure.
QString sWriteWholeFile(const QString& sFile, const QByteArray& bytes, int* errorCode = nullptr);
