#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringView>

class QFile;

// Reads a text file record by record. OpenFile works out the character set from
// the byte-order mark (a file without one is UTF-8 when its bytes are valid
// UTF-8 holding non-ASCII bytes, else ANSI, that is Windows-1252) and the line
// terminator from the first line end; ReadLine then hands out one decoded
// record per call, without its terminator.
//
// A record, terminator included, holds at most 65,536 bytes; a longer one
// raises "I/O error: Record too large". In UTF-16 files a terminator is only
// recognised on a 2-byte code-unit boundary. In a UTF-8 file, bytes that are
// not UTF-8 become U+FFFD; the reader notes where in the record the first
// of them stands, for its callers to warn.
class ReadTextFile {
public:
    // Record size limit in bytes, terminator included.
    static constexpr qsizetype kMaxRecordBytes = 65536;
    // True when the text, written as one UTF-8 line ending in CR LF, is a
    // record this reader takes: what a writer checks so that a file it
    // writes can be read again.
    static bool FitsInRecord(QStringView text);

    ReadTextFile();
    ~ReadTextFile();
    ReadTextFile(const ReadTextFile&) = delete;
    ReadTextFile& operator=(const ReadTextFile&) = delete;

    // Opens the file (closing any file still open), detects its character set
    // and terminator. A file that cannot be opened or read raises the I/O error.
    void OpenFile(const QString& sFile);
    // The next record without its terminator; "" when no file is open or nothing is left.
    QString ReadLine();
    // The same record as a view into a buffer of the reader, valid until the
    // next read: for readers of large files that copy what they keep.
    QStringView ReadLineView();
    // True when the record ReadLineView gave last holds a CR or LF, as in a
    // file whose lines end in more than one way.
    bool LastRecordHoldsLineBreak() const { return lineBreak_; }
    // Where in the record ReadLine or ReadLineView gave last the first
    // character decoded from bytes that are not UTF-8 stands, or -1 when the
    // record had none (always -1 unless the file is read as UTF-8).
    qsizetype LastRecordInvalidAt() const { return invalidAt_; }
    // "line 3 of <file>": a line of the open (or last opened) file, as the
    // readers of its records name it in their errors and warnings.
    QString LineOfFile(qint64 line) const;
    // The warning of a file read as UTF-8 whose line `line` is the first to
    // hold bytes that are not UTF-8.
    QString InvalidUtf8Warning(qint64 line) const;
    // Closes the file when one is open; the character set and terminator stay known.
    void CloseFile();
    // The file length in bytes, recorded at open.
    qint64 FileSize() const;
    // True when no file is open or every byte has been read.
    bool EOD() const;
    // "ANSI", "Unicode little-endian", "Unicode big-endian" or "UTF-8"; "" before any file was opened.
    QString GetCharset() const;
    // Switches an ANSI or UTF-8 file to UTF-8 decoding for the records still to
    // come; raises "Illegal call to SetUTF8 method" on a UTF-16 file or before any file was opened.
    void SetUTF8();
    // "CRLF", "CR", "LF", "LFCR" or "CRCRLF".
    QString GetTerminators() const;
    // True when the file starts with a byte-order mark (UTF-8 or UTF-16).
    bool HasByteOrderMark() const { return byteOrderMark_; }
    // True when a file without a mark read as ANSI or UTF-8 holds a byte
    // above 127; false for a file of ASCII bytes only and for UTF-16 files.
    bool HoldsNonAscii() const { return nonAscii_; }

private:
    enum Charset { Unset = -1, Ansi = 0, Utf16LE = 1, Utf16BE = 2, Utf8 = 3 };

    void detect();
    bool fillBuffer();
    qint64 readPosition() const { return bufferOffset_ + qint64(bufferPos_); }
    qsizetype findTerminator(qsizetype from) const;
    // Decodes a record; notes in invalidAt_ where the first character from
    // bytes that are not UTF-8 stands.
    QString decode(const char* bytes, qsizetype n);
    void noteInvalidUtf8(const char* bytes, qsizetype n);
    // Finds the next record; its bytes stay in the buffer until the next read.
    void nextRecord(const char*& bytes, qsizetype& n);
    [[noreturn]] void raiseIO(const QString& description) const;

    std::unique_ptr<QFile> file_;
    QString fileName_;
    bool open_ = false;
    qint64 fileLength_ = 0;
    qint64 bytesLoaded_ = 0;  // file bytes read into the buffer so far
    std::vector<char> buffer_;
    std::vector<char16_t> record_;  // the last record ReadLineView decoded
    qint64 bufferOffset_ = 0;  // file offset of buffer_[0]
    qsizetype bufferPos_ = 0;  // next unread byte in buffer_
    qsizetype bufferEnd_ = 0;  // one past the last valid byte in buffer_
    int charset_ = Unset;
    bool byteOrderMark_ = false;
    bool nonAscii_ = false;
    bool lineBreak_ = false;
    qsizetype invalidAt_ = -1;
    int terminator_ = 0;
    char pattern_[6] = {};
    int patternLength_ = 0;
};
