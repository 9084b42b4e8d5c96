#include "ReadTextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "SystemErrorText.h"
#include "TextCoreErrors.h"
#include "Windows1252.h"

namespace {

constexpr qsizetype kBufferBytes = 256 * 1024;
constexpr qsizetype kSlack = 16;

const char* const kCharsetNames[] = {"ANSI", "Unicode little-endian", "Unicode big-endian", "UTF-8"};
const char* const kTerminatorNames[] = {"CRLF", "CR", "LF", "LFCR", "CRCRLF"};

// Terminator patterns by index in the 1-byte form; the UTF-16 forms widen each byte.
struct Pattern {
    const char* bytes;
    int length;
};
const Pattern kPatterns[] = {{"\r\n", 2}, {"\r", 1}, {"\n", 1}, {"\n\r", 2}, {"\r\r\n", 3}};
// Order in which the first line end is tested: CRCRLF, CRLF, LFCR, CR, LF.
const int kDetectOrder[] = {4, 0, 3, 1, 2};

// Reads up to n bytes, looping over short reads; returns the count read.
qint64 readFully(QFile& file, char* into, qint64 n) {
    qint64 total = 0;
    while (total < n) {
        const qint64 got = file.read(into + total, n - total);
        if (got <= 0) break;
        total += got;
    }
    return total;
}

// Length of a UTF-8 sequence from its lead byte (0 for a byte that cannot lead).
int utf8SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

bool holdsNonAscii(const char* bytes, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return true;
    return false;
}

}  // namespace

ReadTextFile::ReadTextFile() = default;

ReadTextFile::~ReadTextFile() { CloseFile(); }

void ReadTextFile::raiseIO(const QString& description) const {
    raiseError(TextCoreError::TextIO, TextCoreError::readerSource(), description);
}

void ReadTextFile::OpenFile(const QString& sFile) {
    CloseFile();
    auto file = std::make_unique<QFile>(sFile);
    if (!file->open(QIODevice::ReadOnly)) {
        const QString reason = QFileInfo(sFile).isDir() ? sSystemErrorText(EISDIR) : file->errorString();
        raiseIO(QStringLiteral("I/O error: Unable to open file ") + sFile + QStringLiteral(": ") + reason);
    }
    file_ = std::move(file);
    fileName_ = sFile;
    invalidAt_ = -1;
    fileLength_ = file_->size();
    // Bytes past the last one read stay readable, so that records are
    // widened sixteen bytes at a time to their end.
    if (buffer_.size() != std::size_t(kBufferBytes + kSlack)) buffer_.assign(kBufferBytes + kSlack, 0);
    try {
        detect();
    } catch (...) {
        file_.reset();
        throw;
    }
    open_ = true;
}

// Works out the character set and the terminator, then leaves the buffer
// holding the start of the file with the read position just after the mark.
void ReadTextFile::detect() {
    charset_ = Ansi;
    terminator_ = 0;
    byteOrderMark_ = false;
    nonAscii_ = false;
    qint64 start = 0;

    unsigned char head[3] = {0, 0, 0};
    const qint64 headBytes = readFully(*file_, reinterpret_cast<char*>(head), std::min<qint64>(3, fileLength_));
    if (fileLength_ >= 2) {
        if (headBytes >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
            charset_ = Utf8;
            start = 3;
            byteOrderMark_ = true;
        } else if (head[0] == 0xFF && head[1] == 0xFE) {
            charset_ = Utf16LE;
            start = 2;
            byteOrderMark_ = true;
        } else if (head[0] == 0xFE && head[1] == 0xFF) {
            charset_ = Utf16BE;
            start = 2;
            byteOrderMark_ = true;
        } else if (head[1] == 0 && head[0] != 0 && head[0] < 0x80) {
            // No mark, but an ASCII character followed by a zero byte: text in
            // ANSI or UTF-8 never holds a zero byte, so this is UTF-16 written
            // without its mark (as some GEDCOM programs write "0 HEAD").
            charset_ = Utf16LE;
        } else if (head[0] == 0 && head[1] != 0 && head[1] < 0x80) {
            charset_ = Utf16BE;
        }
    }

    char* buf = buffer_.data();
    const bool wide = charset_ == Utf16LE || charset_ == Utf16BE;

    // Without a mark: UTF-8 when the whole file is valid UTF-8 with non-ASCII bytes.
    if (charset_ == Ansi && fileLength_ > 0) {
        file_->seek(0);
        bool valid = true;
        bool nonAscii = false;
        qsizetype carry = 0;  // bytes of an unfinished sequence kept from the last chunk
        qint64 remaining = fileLength_;
        while (valid && remaining > 0) {
            const qint64 got = readFully(*file_, buf + carry, std::min<qint64>(kBufferBytes - carry, remaining));
            if (got <= 0) break;
            remaining -= got;
            qsizetype n = carry + qsizetype(got);
            qsizetype cut = n;
            // Keep back a sequence that the chunk cuts off.
            for (qsizetype k = 1; k <= 3 && k <= n; ++k) {
                const auto c = static_cast<unsigned char>(buf[n - k]);
                if ((c & 0xC0) == 0x80) continue;
                const int need = utf8SequenceLength(c);
                if (need > k) cut = n - k;
                break;
            }
            if (remaining == 0) cut = n;  // nothing follows: an unfinished sequence is invalid
            if (!nonAscii) nonAscii = holdsNonAscii(buf, cut);
            valid = isValidUtf8(buf, cut);
            carry = n - cut;
            std::memmove(buf, buf + cut, std::size_t(carry));
        }
        if (valid && nonAscii) charset_ = Utf8;
        // An invalid sequence needs a byte above 127, so the scan that stopped
        // there has seen one.
        nonAscii_ = nonAscii;
    }

    // The first line end.
    qint64 lineEnd = -1;
    file_->seek(start);
    qint64 offset = start;
    while (lineEnd < 0 && offset < fileLength_) {
        const qint64 got = readFully(*file_, buf, std::min<qint64>(kBufferBytes, fileLength_ - offset));
        if (got <= 0) break;
        if (!wide) {
            for (qint64 i = 0; i < got; ++i)
                if (buf[i] == '\r' || buf[i] == '\n') {
                    lineEnd = offset + i;
                    break;
                }
        } else {
            const int low = charset_ == Utf16LE ? 0 : 1;
            for (qint64 i = 0; i + 1 < got; i += 2) {
                const char c = buf[i + low];
                if ((c == '\r' || c == '\n') && buf[i + 1 - low] == 0) {
                    lineEnd = offset + i;
                    break;
                }
            }
        }
        offset += got;  // chunks are even-sized, so code units stay aligned
    }

    if (lineEnd >= 0) {
        const int unit = wide ? 2 : 1;
        char window[6] = {0, 0, 0, 0, 0, 0};
        file_->seek(lineEnd);
        readFully(*file_, window, std::min<qint64>(3 * unit, fileLength_ - lineEnd));
        // Reduce the window to its characters (UTF-16 characters whose high byte is not 0 count as no match).
        char chars[3];
        for (int i = 0; i < 3; ++i) {
            if (!wide) {
                chars[i] = window[i];
            } else {
                const char lo = charset_ == Utf16LE ? window[2 * i] : window[2 * i + 1];
                const char hi = charset_ == Utf16LE ? window[2 * i + 1] : window[2 * i];
                chars[i] = hi == 0 ? lo : 0;
            }
        }
        for (int index : kDetectOrder)
            if (std::memcmp(chars, kPatterns[index].bytes, std::size_t(kPatterns[index].length)) == 0) {
                terminator_ = index;
                break;
            }
    }

    // The pattern in use, in the file's form.
    const Pattern& p = kPatterns[terminator_];
    patternLength_ = 0;
    for (int i = 0; i < p.length; ++i) {
        if (!wide) {
            pattern_[patternLength_++] = p.bytes[i];
        } else if (charset_ == Utf16LE) {
            pattern_[patternLength_++] = p.bytes[i];
            pattern_[patternLength_++] = 0;
        } else {
            pattern_[patternLength_++] = 0;
            pattern_[patternLength_++] = p.bytes[i];
        }
    }

    // Back to the start, just after the mark.
    file_->seek(0);
    bufferOffset_ = 0;
    bufferPos_ = 0;
    bufferEnd_ = 0;
    bytesLoaded_ = 0;
    fillBuffer();
    bufferPos_ = qsizetype(start);
}

// Moves the unread bytes to the front of the buffer and reads more after them.
// Returns false when the file has nothing more to give.
bool ReadTextFile::fillBuffer() {
    const qsizetype unread = bufferEnd_ - bufferPos_;
    if (bufferPos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + bufferPos_, std::size_t(unread));
        bufferOffset_ += bufferPos_;
        bufferPos_ = 0;
        bufferEnd_ = unread;
    }
    const qint64 want = std::min<qint64>(kBufferBytes - bufferEnd_, fileLength_ - bytesLoaded_);
    if (want <= 0) return false;
    const qint64 got = readFully(*file_, buffer_.data() + bufferEnd_, want);
    if (got <= 0) {
        if (file_->error() != QFileDevice::NoError)
            raiseIO(QStringLiteral("I/O error: ") + file_->errorString());
        // The file became shorter than it was at open: treat the rest as absent.
        fileLength_ = bytesLoaded_;
        return false;
    }
    bytesLoaded_ += got;
    bufferEnd_ += qsizetype(got);
    return true;
}

// Index of the first terminator at or after `from` that lies wholly in the
// buffer, or -1. In UTF-16 files only positions at an even file offset count
// (code units start there, after a mark or without one), also when a record
// cut off by the size limit left the read position on an odd byte.
qsizetype ReadTextFile::findTerminator(qsizetype from) const {
    const char* buf = buffer_.data();
    const qsizetype end = bufferEnd_ - patternLength_;
    if (charset_ == Utf16LE || charset_ == Utf16BE) {
        if ((bufferOffset_ + from) & 1) ++from;
        for (qsizetype p = from; p <= end; p += 2)
            if (buf[p] == pattern_[0] && buf[p + 1] == pattern_[1] &&
                std::memcmp(buf + p, pattern_, std::size_t(patternLength_)) == 0)
                return p;
        return -1;
    }
    const char first = pattern_[0];
    while (from <= end) {
        const void* hit = std::memchr(buf + from, first, std::size_t(end - from + 1));
        if (!hit) return -1;
        const qsizetype p = static_cast<const char*>(hit) - buf;
        if (std::memcmp(buf + p, pattern_, std::size_t(patternLength_)) == 0) return p;
        from = p + 1;
    }
    return -1;
}

void ReadTextFile::nextRecord(const char*& bytes, qsizetype& n) {
    qsizetype searchFrom = bufferPos_;
    for (;;) {
        const qsizetype p = findTerminator(searchFrom);
        const qsizetype available = bufferEnd_ - bufferPos_;
        if (p >= 0 ? p + patternLength_ - bufferPos_ > kMaxRecordBytes : available > kMaxRecordBytes) {
            // The bytes taken so far are consumed; the partial record is dropped.
            bufferPos_ += kMaxRecordBytes + 1;
            raiseIO(QStringLiteral("I/O error: Record too large"));
        }
        if (p >= 0) {
            bytes = buffer_.data() + bufferPos_;
            n = p - bufferPos_;
            bufferPos_ = p + patternLength_;
            return;
        }
        if (!fillBuffer()) {
            // A last record without a terminator.
            bytes = buffer_.data() + bufferPos_;
            n = bufferEnd_ - bufferPos_;
            bufferPos_ = bufferEnd_;
            return;
        }
        // Look again where a terminator may have been cut by the buffer's end.
        searchFrom = std::max<qsizetype>(bufferPos_, bufferPos_ + available - (patternLength_ - 1));
    }
}

QString ReadTextFile::ReadLine() {
    invalidAt_ = -1;
    if (!open_ || readPosition() >= fileLength_) return QString();
    const char* bytes = nullptr;
    qsizetype n = 0;
    nextRecord(bytes, n);
    return decode(bytes, n);
}

namespace {

// Widens bytes to UTF-16 units one to one, reading and writing whole blocks
// of sixteen (both sides must have room up to the next multiple of 16).
// Gives which kinds of byte it met: kNonAscii for a byte above 127 (then
// what was written is not the text), kLineBreak for a CR or LF.
enum : unsigned { kNonAscii = 1, kLineBreak = 2 };
unsigned widenAscii(const char* in, qsizetype n, char16_t* out) {
    unsigned found = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (qsizetype i = 0; i < n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        // Only the bytes of the record count, not those after it.
        const unsigned inside = n - i >= 16 ? 0xFFFFu : (1u << (n - i)) - 1;
        if (static_cast<unsigned>(_mm_movemask_epi8(v)) & inside) found |= kNonAscii;
        const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
        if (static_cast<unsigned>(_mm_movemask_epi8(breaks)) & inside) found |= kLineBreak;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
    }
#else
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c & 0x80u) found |= kNonAscii;
        if (c == '\r' || c == '\n') found |= kLineBreak;
        out[i] = c;
    }
#endif
    return found;
}

bool holdsLineBreak(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
}

}  // namespace

QStringView ReadTextFile::ReadLineView() {
    lineBreak_ = false;
    invalidAt_ = -1;
    if (!open_ || readPosition() >= fileLength_) return QStringView();
    const char* bytes = nullptr;
    qsizetype n = 0;
    nextRecord(bytes, n);
    if (n < 1) return QStringView();
    if (charset_ == Ansi || charset_ == Utf8) {
        // ASCII reads the same in both; anything else goes through the decoder.
        // Room for whole blocks of sixteen; the record's bytes lie in the
        // buffer, which has room after its last byte.
        if (record_.size() < std::size_t(n + kSlack)) record_.resize(std::size_t(n + kSlack));
        char16_t* out = record_.data();
        const unsigned found = widenAscii(bytes, n, out);
        if (!(found & kNonAscii)) {
            lineBreak_ = found & kLineBreak;
            return QStringView(out, n);
        }
        if (charset_ == Utf8) {
            // Decoded in place, as QString::fromUtf8 would (a mark at the
            // start of the record is dropped, bad bytes become U+FFFD).
            QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            const qsizetype room = decoder.requiredSpace(n);
            if (record_.size() < std::size_t(room)) record_.resize(std::size_t(room));
            auto* first = reinterpret_cast<QChar*>(record_.data());
            const QChar* end = decoder.appendToBuffer(first, QByteArrayView(bytes, n));
            if (decoder.hasError()) noteInvalidUtf8(bytes, n);
            const QStringView view(record_.data(), end - first);
            lineBreak_ = holdsLineBreak(view);
            return view;
        }
    }
    const QString text = decode(bytes, n);
    if (record_.size() < std::size_t(text.size())) record_.resize(std::size_t(text.size()));
    std::copy(text.utf16(), text.utf16() + text.size(), record_.data());
    const QStringView view(record_.data(), text.size());
    lineBreak_ = holdsLineBreak(view);
    return view;
}

void ReadTextFile::noteInvalidUtf8(const char* bytes, qsizetype n) {
    // The bytes before the first bad one are UTF-8: the characters they
    // decode to are the place of its U+FFFD.
    const qsizetype bad = firstInvalidUtf8(bytes, n);
    invalidAt_ = bad > 0 ? QString::fromUtf8(bytes, bad).size() : 0;
}

QString ReadTextFile::decode(const char* bytes, qsizetype n) {
    if (n < 1) return QString();
    switch (charset_) {
        case Utf8: {
            QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            QString text = decoder(QByteArrayView(bytes, n));
            if (decoder.hasError()) noteInvalidUtf8(bytes, n);
            return text;
        }
        case Utf16LE:
        case Utf16BE: {
            const qsizetype units = n / 2;  // an odd last byte is dropped
            QString out(units, Qt::Uninitialized);
            auto* dst = reinterpret_cast<char16_t*>(out.data());
            const auto* src = reinterpret_cast<const unsigned char*>(bytes);
            if (charset_ == Utf16LE)
                for (qsizetype i = 0; i < units; ++i) dst[i] = char16_t(src[2 * i] | (src[2 * i + 1] << 8));
            else
                for (qsizetype i = 0; i < units; ++i) dst[i] = char16_t((src[2 * i] << 8) | src[2 * i + 1]);
            return out;
        }
        default:
            return decodeWindows1252(bytes, n);
    }
}

void ReadTextFile::CloseFile() {
    if (!open_ && !file_) return;
    file_.reset();
    open_ = false;
}

qint64 ReadTextFile::FileSize() const { return fileLength_; }

bool ReadTextFile::EOD() const { return !open_ || readPosition() >= fileLength_; }

QString ReadTextFile::GetCharset() const {
    return charset_ == Unset ? QString() : QString::fromLatin1(kCharsetNames[charset_]);
}

void ReadTextFile::SetUTF8() {
    if (charset_ != Ansi && charset_ != Utf8)
        raiseError(TextCoreError::SetUTF8, TextCoreError::readerSource(),
                   QStringLiteral("Illegal call to SetUTF8 method"));
    charset_ = Utf8;
}

QString ReadTextFile::LineOfFile(qint64 line) const {
    return QStringLiteral("line ") + QString::number(line) + QStringLiteral(" of ") + fileName_;
}

QString ReadTextFile::InvalidUtf8Warning(qint64 line) const {
    return QStringLiteral("Warning, file BOM indicates UTF-8 but ") + LineOfFile(line) +
           QStringLiteral(" is the first to hold bytes that are not UTF-8");
}

QString ReadTextFile::GetTerminators() const { return QString::fromLatin1(kTerminatorNames[terminator_]); }

bool ReadTextFile::FitsInRecord(QStringView text) {
    constexpr qsizetype kTerminator = 2;
    // A UTF-16 code unit takes at most three bytes in UTF-8.
    if (text.size() * 3 + kTerminator <= kMaxRecordBytes) return true;
    return text.toUtf8().size() + kTerminator <= kMaxRecordBytes;
}
