#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class SafeFileWriter;

// Writes a text file line by line, in UTF-8 with a byte-order mark (the
// default) or in the ANSI code page (Windows-1252; characters it cannot hold
// become "?"). Lines end with CR LF.
//
// The text goes to a temporary file beside the target (SafeFileWriter), which
// replaces the target only when the file is closed normally (CloseFile, a later
// OpenFile, or destruction while no error is in flight) and every byte has
// reached the disk. A writer destroyed while an error unwinds the stack, or
// one whose file could not take all its bytes, discards the temporary file:
// the old file stays whole, and the I/O error says why.
class WriteTextFile {
public:
    WriteTextFile();
    ~WriteTextFile();
    WriteTextFile(const WriteTextFile&) = delete;
    WriteTextFile& operator=(const WriteTextFile&) = delete;

    // Closes any open file, then starts writing sFile. Raises the I/O error
    // when the file cannot be created.
    void OpenFile(const QString& sFile, bool bANSI = false);
    // Writes the pending text, sText and CR LF. Does nothing when no file is open.
    void WriteLine(const QString& sText);
    // Adds sText to the pending text. Does nothing when no file is open.
    void WriteText(const QString& sText);
    // Writes the pending text (without a line end) and everything buffered,
    // then puts the file in place of the target. Does nothing when no file is open.
    void CloseFile();

private:
    void writeString(const QString& text);
    void flushBuffer();
    void discard();
    [[noreturn]] void raiseWriteFailure();
    [[noreturn]] void raiseIO(const QString& description);

    std::unique_ptr<SafeFileWriter> file_;
    QString fileName_;
    bool open_ = false;
    bool ansi_ = false;
    QString pending_;
    QByteArray buffer_;
    int uncaughtAtOpen_ = 0;
};
