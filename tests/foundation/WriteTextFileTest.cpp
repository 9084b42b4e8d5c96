#include <cerrno>
#include <functional>
#include <stdexcept>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "AppError.h"
#include "ErrorOf.h"
#include "FailingDisks.h"
#include "ReadTextFile.h"
#include "SafeFileWriter.h"
#include "TextFileTestSupport.h"
#include "WriteTextFile.h"

TEST(WriteTextFile, RoundTripThroughTheReader) {
    TextFileScratch scratch;
    QStringList lines = {QString::fromUtf16(u"Zoë 一 \U0001F600 €"), "", "tab\there", QString(5000, 'w')};
    for (int i = 0; i < 20000; ++i) lines << QString("line %1 \u00E9").arg(i);  // several buffers' worth
    const QString file = scratch.path("round.txt");
    {
        WriteTextFile writer;
        writer.OpenFile(file);
        for (const QString& line : lines) writer.WriteLine(line);
        writer.CloseFile();
    }
    EXPECT_TRUE(TextFileScratch::read(file).startsWith("\xEF\xBB\xBFZo\xC3\xAB"));
    ReadTextFile reader;
    reader.OpenFile(file);
    EXPECT_EQ(reader.GetCharset(), "UTF-8");
    EXPECT_EQ(reader.GetTerminators(), "CRLF");
    QStringList back;
    while (!reader.EOD()) back << reader.ReadLine();
    EXPECT_EQ(back, lines);
}

TEST(WriteTextFile, BytesWritten) {
    TextFileScratch scratch;
    const struct {
        const char* what;
        bool ansi;
        std::function<void(WriteTextFile&)> write;
        QByteArray bytes;
    } cases[] = {
        {"nothing in UTF-8", false, [](WriteTextFile&) {}, "\xEF\xBB\xBF"},
        {"nothing in ANSI", true, [](WriteTextFile&) {}, ""},
        {"pending text goes first", true,
         [](WriteTextFile& w) {
             w.WriteText("a");
             w.WriteText("b");
             w.WriteLine("c");
         },
         "abc\r\n"},
        {"pending text at close has no line end", true,
         [](WriteTextFile& w) {
             w.WriteLine("1");
             w.WriteText("x");
         },
         "1\r\nx"},
        {"ANSI turns what it cannot hold into ?", true,
         [](WriteTextFile& w) { w.WriteLine(QString::fromUtf16(u"\u20AC\u00E9\u4E00\U0001F600")); }, "\x80\xE9??\r\n"},
        {"UTF-8", false, [](WriteTextFile& w) { w.WriteLine(QString::fromUtf16(u"\u00E9")); },
         "\xEF\xBB\xBF\xC3\xA9\r\n"},
        {"a character split between pending text and its line stays whole", false,
         [](WriteTextFile& w) {
             const QString face = QString::fromUtf16(u"\U0001F600");
             w.WriteText(face.left(1));
             w.WriteLine(face.mid(1));
         },
         "\xEF\xBB\xBF\xF0\x9F\x98\x80\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = scratch.write("out.txt", QByteArray(10000, 'o'));  // a longer old file
        WriteTextFile writer;
        writer.OpenFile(file, c.ansi);
        c.write(writer);
        writer.CloseFile();
        EXPECT_EQ(TextFileScratch::read(file), c.bytes);
    }
}

TEST(WriteTextFile, ClosedWriterIgnoresWritesAndReopeningClosesFirst) {
    TextFileScratch scratch;
    WriteTextFile writer;
    writer.WriteLine("ignored");
    writer.WriteText("ignored");
    writer.CloseFile();
    EXPECT_TRUE(scratch.entries().isEmpty());

    writer.OpenFile(scratch.path("first.txt"), true);
    writer.WriteText("one");
    writer.OpenFile(scratch.path("second.txt"), true);
    writer.WriteLine("two");
    EXPECT_EQ(TextFileScratch::read(scratch.path("first.txt")), "one");
    writer.CloseFile();
    EXPECT_EQ(TextFileScratch::read(scratch.path("second.txt")), "two\r\n");
    writer.WriteLine("after close");
    EXPECT_EQ(TextFileScratch::read(scratch.path("second.txt")), "two\r\n");
}

// The target changes only when the writer closes normally: an error half-way
// leaves the old file byte for byte and no stray temporary file.
TEST(WriteTextFile, ReplacesTheTargetOnlyWhenClosedNormally) {
    TextFileScratch scratch;
    QByteArray old;
    for (int i = 0; i < 3000; ++i) old += "old record " + QByteArray::number(i) + "\r\n";
    const QString file = scratch.write("tree.txt", old);

    try {
        WriteTextFile writer;
        writer.OpenFile(file);
        for (int i = 0; i < 50000; ++i) writer.WriteLine(QString("new record %1").arg(i));  // several flushed buffers
        EXPECT_EQ(TextFileScratch::read(file), old);  // still the old file while writing
        throw std::runtime_error("failure half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(TextFileScratch::read(file), old);
    EXPECT_EQ(scratch.entries(), QStringList{"tree.txt"});

    {
        WriteTextFile writer;
        writer.OpenFile(file, true);
        writer.WriteLine("replaced");
    }  // destroyed without an error: the file is closed and put in place
    EXPECT_EQ(TextFileScratch::read(file), "replaced\r\n");
    EXPECT_EQ(scratch.entries(), QStringList{"tree.txt"});
}

TEST(WriteTextFile, UncreatableFileRaisesTheIOError) {
    TextFileScratch scratch;
    WriteTextFile writer;
    try {
        writer.OpenFile(scratch.path("no/such/folder/x.txt"));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kErrorBase + 527);
        EXPECT_EQ(e.source, "WriteTextFile");
        EXPECT_TRUE(e.description.startsWith("I/O error: ")) << e.description.toStdString();
    }
    writer.WriteLine("still closed");
    writer.CloseFile();
}

// A disk that fills up while a file is written: the old file stays byte for
// byte, no temporary file is left, and the error gives the system's reason.
// Files under and over the 16 KB that the platform's file layer once held back
// and lost, and disks that take none or part of the new bytes.
TEST(WriteTextFile, AFullDiskLeavesTheOldFileAndSaysWhy) {
    const QByteArray old = "H Title=Old\r\nP ann=f(1,1):Ann|Ann|\r\n";
    const struct {
        const char* what;
        int lines;    // lines of 100 bytes
        qint64 free;  // bytes left on the disk (a whole number of 4 KB pages)
    } cases[] = {
        {"10 KB on a full disk", 100, 0},
        {"10 KB with 4 KB free", 100, 4096},
        {"70 KB with 68 KB free", 700, 68 * 1024},
        {"70 KB with 40 KB free", 700, 40 * 1024},
    };
    const QString line(98, u'x');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SmallFileSystem disk;
        if (!disk.unavailable().isEmpty()) GTEST_SKIP() << "No small full disk: " << disk.unavailable().toStdString();
        const QString file = disk.path("Tree.txt");
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(old), old.size());
        }
        disk.leaveFree(c.free);

        const AppError e = errorOf([&] {
            WriteTextFile writer;
            writer.OpenFile(file, true);
            for (int i = 0; i < c.lines; ++i) writer.WriteLine(line);
            writer.CloseFile();
        });
        EXPECT_EQ(e.number, kErrorBase + 527);
        EXPECT_EQ(e.description, "I/O error: Unable to write file " + file + ": No space left on device");
        EXPECT_EQ(TextFileScratch::read(file), old);
        EXPECT_EQ(QDir(disk.path(".")).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList({"Tree.txt", "filler"}));

        // The same whole file in one piece, as pictures and support scripts are written.
        int code = 0;
        EXPECT_EQ(sWriteWholeFile(file, QByteArray(c.lines * 100, 'y'), &code), "No space left on device");
        EXPECT_EQ(code, ENOSPC);
        EXPECT_EQ(TextFileScratch::read(file), old);
    }
}

// Where no small disk can be made: a file that may not grow past a size fails
// in the same way, under and over 16 KB.
TEST(WriteTextFile, AFileThatCannotGrowLeavesTheOldFileAndSaysWhy) {
    TextFileScratch scratch;
    const QByteArray old = "old\r\n";
    const QString file = scratch.write("Tree.txt", old);
    for (const int size : {10'000, 70'000}) {
        SCOPED_TRACE(size);
        AppError e;
        {
            FileSizeLimit limit(size - 3000);
            e = errorOf([&] {
                WriteTextFile writer;
                writer.OpenFile(file, true);
                writer.WriteText(QString(size, u'z'));
                writer.CloseFile();
            });
        }
        EXPECT_EQ(e.description, "I/O error: Unable to write file " + file + ": File too large");
        EXPECT_EQ(TextFileScratch::read(file), old);
        EXPECT_EQ(scratch.entries(), QStringList{"Tree.txt"});
    }
}
