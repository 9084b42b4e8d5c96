#include <functional>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "AppError.h"
#include "ReadTextFile.h"
#include "TextFileTestSupport.h"
#include "WriteTextFile.h"

namespace {

struct CharsetCase {
    const char* name;           // the name GetCharset must answer
    QByteArray bom;
    std::function<QByteArray(const QString&)> encode;
    bool unicode;               // can hold characters outside Windows-1252
};

QByteArray utf16(const QString& s, bool bigEndian) {
    QByteArray out;
    for (QChar c : s) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        if (bigEndian) out.append(hi).append(lo);
        else out.append(lo).append(hi);
    }
    return out;
}

QByteArray windows1252(const QString& s) {
    QByteArray out;
    for (QChar c : s) out.append(c == QChar(0x20AC) ? char(0x80) : char(c.unicode()));
    return out;
}

const std::vector<CharsetCase>& charsets() {
    static const std::vector<CharsetCase> cases = {
        {"ANSI", {}, windows1252, false},
        {"UTF-8", {}, [](const QString& s) { return s.toUtf8(); }, true},
        {"UTF-8", QByteArray("\xEF\xBB\xBF"), [](const QString& s) { return s.toUtf8(); }, true},
        {"Unicode little-endian", QByteArray("\xFF\xFE"), [](const QString& s) { return utf16(s, false); }, true},
        {"Unicode big-endian", QByteArray("\xFE\xFF"), [](const QString& s) { return utf16(s, true); }, true},
    };
    return cases;
}

const std::vector<std::pair<const char*, QString>> kTerminators = {
    {"CRLF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}, {"LFCR", "\n\r"}, {"CRCRLF", "\r\r\n"}};

QStringList readAll(ReadTextFile& reader) {
    QStringList lines;
    while (!reader.EOD()) lines << reader.ReadLine();
    return lines;
}

int errorNumberOf(const std::function<void()>& action, QString* description = nullptr, QString* source = nullptr) {
    try {
        action();
    } catch (const AppError& e) {
        if (description) *description = e.description;
        if (source) *source = e.source;
        return e.number;
    }
    return 0;
}

}  // namespace

// Every character set with every terminator: the detected names and the
// decoded records. The Unicode records hold characters whose UTF-16 bytes,
// read out of step, look like CR or LF next to a zero byte.
TEST(ReadTextFile, DecodesEveryCharsetWithEveryTerminator) {
    TextFileScratch scratch;
    const QStringList ansiRecords = {QString::fromUtf8("Zoë Ñame costs €5"), "", "second\tline", "last"};
    const QStringList unicodeRecords = {QString::fromUtf8("Zoë 一 €"), "",
                                        QString::fromUtf16(u"\u0A05\u4E00\u0A05 \u0D05\u0A00\u4E00\u0D00\u0A05 \u0D05\u4E00"),
                                        "last"};
    int n = 0;
    for (const CharsetCase& cs : charsets()) {
        for (const auto& [termName, term] : kTerminators) {
            const QStringList& records = cs.unicode ? unicodeRecords : ansiRecords;
            SCOPED_TRACE(std::string(cs.name) + (cs.bom.isEmpty() ? "" : " with mark") + " / " + termName);
            const QString file = scratch.write(QString("grid%1.txt").arg(n++),
                                               cs.bom + cs.encode(records.join(term) + term));
            ReadTextFile reader;
            reader.OpenFile(file);
            EXPECT_EQ(reader.GetCharset(), cs.name);
            EXPECT_EQ(reader.GetTerminators(), termName);
            EXPECT_EQ(readAll(reader), records);
            EXPECT_EQ(reader.ReadLine(), "");
            // The same records as views into the reader's own buffer.
            reader.OpenFile(file);
            QStringList views;
            while (!reader.EOD()) views << reader.ReadLineView().toString();
            EXPECT_EQ(views, records);
            EXPECT_TRUE(reader.ReadLineView().isEmpty());
        }
    }
}

// A record read as a view tells whether it holds a CR or LF of its own (a
// file whose lines end in more than one way), whatever its length, and never
// counts the terminator that follows it.
TEST(ReadTextFile, ViewsTellRecordsThatHoldOtherLineEnds) {
    TextFileScratch scratch;
    const std::vector<std::pair<QString, bool>> records = {
        {"0 HEAD", false},
        {QString(15, u'x') + "\nlong", true},
        {"1 NOTE a\rb", true},
        {QString(40, u'y'), false},
        {QString(31, u'z') + "\r", true},
        {QString::fromUtf8("Zo\u00eb\nx"), true},
        {QString::fromUtf8("Zo\u00eb"), false},
        {"last", false},
    };
    QString text;
    for (const auto& record : records) text += record.first + "\r\n";
    int n = 0;
    for (const CharsetCase& cs : charsets()) {
        SCOPED_TRACE(std::string(cs.name) + (cs.bom.isEmpty() ? "" : " with mark"));
        ReadTextFile reader;
        reader.OpenFile(scratch.write(QString("breaks%1.txt").arg(n++), cs.bom + cs.encode(text)));
        EXPECT_EQ(reader.GetTerminators(), "CRLF");
        for (const auto& [record, holds] : records) {
            EXPECT_EQ(reader.ReadLineView(), record);
            EXPECT_EQ(reader.LastRecordHoldsLineBreak(), holds) << record.toStdString();
        }
        EXPECT_TRUE(reader.ReadLineView().isEmpty());
        EXPECT_FALSE(reader.LastRecordHoldsLineBreak());
    }
}

TEST(ReadTextFile, EdgeCasesOfDetectionAndRecords) {
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* charset;
        const char* terminator;
        QStringList records;
    };
    const QByteArray longFirst(5000, 'x');
    const std::vector<Case> cases = {
        {"empty file", "", "ANSI", "CRLF", {}},
        {"no line end", "abc def", "ANSI", "CRLF", {"abc def"}},
        {"CRLF with an empty record", "a\r\n\r\nb", "ANSI", "CRLF", {"a", "", "b"}},
        {"CRCRLF keeps a lone CRLF", "a\r\r\nb\r\nc\r\r\n", "ANSI", "CRCRLF", {"a", "b\r\nc"}},
        {"CRLF keeps a lone LF", "a\r\n\nb\r\n", "ANSI", "CRLF", {"a", "\nb"}},
        {"one byte EF", "\xEF", "ANSI", "CRLF", {QString(QChar(0xEF))}},
        {"mark only", "\xEF\xBB\xBF", "UTF-8", "CRLF", {}},
        {"mark not in first record", "\xEF\xBB\xBFhead\nbody", "UTF-8", "LF", {"head", "body"}},
        {"ASCII without mark stays ANSI", "plain\n", "ANSI", "LF", {"plain"}},
        {"invalid UTF-8 is ANSI", "caf\xE9\nZo\xC3\xAB\n", "ANSI", "LF", {QString::fromUtf8("café"), QString::fromUtf8("ZoÃ«")}},
        {"UTF-8 cut short at the end is ANSI", "ab\xC3", "ANSI", "CRLF", {QString::fromUtf8("abÃ")}},
        {"UTF-16 LE without a mark", QByteArray("0\0 \0H\0\n\0\x00\x4E", 10), "Unicode little-endian", "LF",
         {"0 H", QString(QChar(0x4E00))}},
        {"UTF-16 BE without a mark", QByteArray("\0" "0\0 \0H\0\r\0\n", 10), "Unicode big-endian", "CRLF", {"0 H"}},
        {"odd byte in UTF-16 dropped", QByteArray("\xFF\xFE" "a\0b\0c", 7), "Unicode little-endian", "CRLF", {"ab"}},
        {"first line end beyond 4096 bytes", "\xEF\xBB\xBF" + longFirst + "\r\nz", "UTF-8", "CRLF",
         {QString::fromLatin1(longFirst), "z"}},
        {"last record without terminator", "a\rb", "ANSI", "CR", {"a", "b"}},
    };
    TextFileScratch scratch;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReadTextFile reader;
        reader.OpenFile(scratch.write(QString("edge%1").arg(n++), c.bytes));
        EXPECT_EQ(reader.FileSize(), c.bytes.size());
        EXPECT_EQ(reader.GetCharset(), c.charset);
        EXPECT_EQ(reader.GetTerminators(), c.terminator);
        EXPECT_EQ(readAll(reader), c.records);
    }
}

// Records that straddle the reader's internal buffer boundaries, with a
// terminator of several bytes, in a 1-byte and a 2-byte form.
TEST(ReadTextFile, LongFilesReadEveryRecordInOrder) {
    TextFileScratch scratch;
    QStringList records;
    for (int i = 0; i < 40000; ++i) records << QString("record %1 %2").arg(i).arg(QString(i % 37, QChar(0x4E00 + i % 50)));
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "UTF-16" : "UTF-8");
        const QString text = records.join("\r\r\n") + "\r\r\n";
        const QString file = scratch.write(wide ? "wide" : "narrow",
                                           wide ? QByteArray("\xFF\xFE") + utf16(text, false) : text.toUtf8());
        ReadTextFile reader;
        reader.OpenFile(file);
        EXPECT_EQ(reader.GetTerminators(), "CRCRLF");
        EXPECT_EQ(readAll(reader), records);
    }
}

TEST(ReadTextFile, RecordSizeLimitRaisesAndReadingGoesOn) {
    TextFileScratch scratch;
    const QByteArray fits(65534, 'a');
    const QByteArray tooLong(65535, 'b');
    ReadTextFile reader;
    reader.OpenFile(scratch.write("limit", fits + "\r\n" + tooLong + "\r\nafter\r\n"));
    EXPECT_EQ(reader.ReadLine().size(), 65534);
    QString description, source;
    EXPECT_EQ(errorNumberOf([&] { reader.ReadLine(); }, &description, &source), kErrorBase + 527);
    EXPECT_EQ(description, "I/O error: Record too large");
    EXPECT_EQ(source, "ReadTextFile");
    // The bytes taken by the failed record are gone; the file stays open.
    EXPECT_FALSE(reader.EOD());
    EXPECT_EQ(reader.ReadLine(), "after");
    EXPECT_TRUE(reader.EOD());

    // In UTF-16 the failed record leaves the read position on an odd byte; the
    // records after the next line end are found and decoded as before.
    const auto wide = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    ReadTextFile utf16;
    utf16.OpenFile(scratch.write("wide-limit", QByteArray("\xFF\xFE") + wide(QString(32767, u'x') + "\r\nafter\r\nlast\r\n")));
    EXPECT_EQ(errorNumberOf([&] { utf16.ReadLine(); }), kErrorBase + 527);
    utf16.ReadLine();  // the rest of the cut record's line end and "after", out of step
    EXPECT_EQ(utf16.ReadLine(), "last");
    EXPECT_TRUE(utf16.EOD());

    // A last record without a terminator may fill the limit, but not pass it.
    ReadTextFile tail;
    tail.OpenFile(scratch.write("tail", QByteArray(65536, 'c')));
    EXPECT_EQ(tail.ReadLine().size(), 65536);
    tail.OpenFile(scratch.write("tail2", QByteArray(65537, 'c')));
    EXPECT_EQ(errorNumberOf([&] { tail.ReadLine(); }), kErrorBase + 527);
    // A first record far beyond any buffer: detection still finds its end.
    tail.OpenFile(scratch.write("huge", QByteArray(300000, 'd') + "\nnext\n"));
    EXPECT_EQ(tail.GetTerminators(), "LF");
    EXPECT_EQ(errorNumberOf([&] { tail.ReadLine(); }), kErrorBase + 527);
}

// What a writer checks before writing a line is exactly what reads back: a
// line that fits is read whole, the first that does not raises.
TEST(ReadTextFile, FitsInRecordAgreesWithWhatTheReaderTakes) {
    TextFileScratch scratch;
    const QString file = scratch.write("fits", QByteArray());
    const int limit = int(ReadTextFile::kMaxRecordBytes);
    struct Case {
        const char* what;
        QString line;
        bool fits;
    };
    const QString threeBytes(1, QChar(0x4E00));
    const std::vector<Case> cases = {
        {"ASCII filling the record", QString(limit - 2, u'a'), true},
        {"ASCII one byte over", QString(limit - 1, u'a'), false},
        {"three-byte characters filling it", threeBytes.repeated((limit - 2) / 3) + "aa", true},
        {"three-byte characters one byte over", threeBytes.repeated((limit - 2) / 3) + "aaa", false},
        {"short text", "short", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadTextFile::FitsInRecord(c.line), c.fits);
        WriteTextFile writer;
        writer.OpenFile(file);
        writer.WriteLine("first");
        writer.WriteLine(c.line);
        writer.CloseFile();
        ReadTextFile reader;
        reader.OpenFile(file);
        EXPECT_EQ(reader.ReadLine(), "first");
        if (c.fits) EXPECT_EQ(reader.ReadLine(), c.line);
        else EXPECT_EQ(errorNumberOf([&] { reader.ReadLine(); }), kErrorBase + 527);
    }
}

// In a file read as UTF-8, bytes that are not UTF-8 become U+FFFD and the
// reader tells where in the record the first of them stands, through
// ReadLine and ReadLineView alike; a U+FFFD the file holds is no such place.
TEST(ReadTextFile, InvalidUtf8IsPlacedInItsRecord) {
    struct Record {
        const char* what;
        QByteArray bytes;
        qsizetype invalidAt;
    };
    const std::vector<Record> records = {
        {"clean ASCII", "plain", -1},
        {"clean non-ASCII with a U+FFFD of its own", "Zo\xC3\xAB \xEF\xBF\xBD", -1},
        {"a Windows-1252 byte", "caf\xE9 au lait", 3},
        {"after a two-unit character", "\xC3\xA9\xF0\x9F\x98\x80x\xFFy\xFF", 4},
        {"an overlong form", "a\xC0\xAF", 1},
        {"an encoded surrogate", "\xED\xA0\x80z", 0},
        {"a sequence cut by the line end", "ab\xE2\x82", 2},
        {"a lone continuation byte", "\x80", 0},
    };
    QByteArray file("\xEF\xBB\xBF");
    for (const Record& r : records) file += r.bytes + "\r\n";
    TextFileScratch scratch;
    const QString path = scratch.write("marked", file);
    for (bool view : {false, true}) {
        ReadTextFile reader;
        reader.OpenFile(path);
        for (const Record& r : records) {
            SCOPED_TRACE(std::string(r.what) + (view ? " (view)" : ""));
            const QString text = view ? reader.ReadLineView().toString() : reader.ReadLine();
            EXPECT_EQ(text, QString::fromUtf8(r.bytes));
            EXPECT_EQ(reader.LastRecordInvalidAt(), r.invalidAt);
            if (r.invalidAt >= 0) {
                EXPECT_EQ(text[r.invalidAt], QChar::ReplacementCharacter);
            }
        }
    }
    // Without a mark such bytes make the file ANSI: nothing is invalid.
    ReadTextFile ansi;
    ansi.OpenFile(scratch.write("unmarked", "caf\xE9\r\n"));
    EXPECT_EQ(ansi.ReadLine(), QString::fromUtf8("café"));
    EXPECT_EQ(ansi.LastRecordInvalidAt(), -1);
}

TEST(ReadTextFile, SetUTF8SwitchesLaterRecordsOfAnAnsiFile) {
    TextFileScratch scratch;
    ReadTextFile reader;
    // Before any file: nothing to switch.
    EXPECT_EQ(errorNumberOf([&] { reader.SetUTF8(); }), kErrorBase + 521);
    reader.OpenFile(scratch.write("mixed", "caf\xE9\r\nZo\xC3\xAB\r\n"));
    EXPECT_EQ(reader.GetCharset(), "ANSI");
    EXPECT_EQ(reader.ReadLine(), QString::fromUtf8("café"));
    reader.SetUTF8();
    EXPECT_EQ(reader.GetCharset(), "UTF-8");
    EXPECT_EQ(reader.ReadLine(), QString::fromUtf8("Zoë"));

    reader.OpenFile(scratch.write("wide", QByteArray("\xFE\xFF\0a", 4)));
    QString description;
    EXPECT_EQ(errorNumberOf([&] { reader.SetUTF8(); }, &description), kErrorBase + 521);
    EXPECT_EQ(description, "Illegal call to SetUTF8 method");
    EXPECT_EQ(reader.GetCharset(), "Unicode big-endian");
}

TEST(ReadTextFile, ClosedAndMissingFiles) {
    TextFileScratch scratch;
    ReadTextFile reader;
    EXPECT_TRUE(reader.EOD());
    EXPECT_EQ(reader.ReadLine(), "");
    reader.CloseFile();  // nothing open: no effect

    QString source;
    EXPECT_EQ(errorNumberOf([&] { reader.OpenFile(scratch.path("absent.txt")); }, nullptr, &source), kErrorBase + 527);
    EXPECT_EQ(source, "ReadTextFile");
    EXPECT_TRUE(reader.EOD());
    QString description;
    EXPECT_EQ(errorNumberOf([&] { reader.OpenFile(QDir::tempPath()); }, &description), kErrorBase + 527);
    EXPECT_TRUE(description.endsWith("Is a directory")) << description.toStdString();

    reader.OpenFile(scratch.write("two", "one\ntwo\n"));
    EXPECT_EQ(reader.ReadLine(), "one");
    reader.CloseFile();
    EXPECT_TRUE(reader.EOD());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.GetTerminators(), "LF");  // still known after closing
}
