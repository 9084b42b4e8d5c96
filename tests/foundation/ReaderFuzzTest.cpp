// Broken input for the foundation's readers: cut short and changed copies of
// good HTML fragments and text files are either read or refused with
// AppError, and what is read stays inside the input.
#include <gtest/gtest.h>

#include "AppError.h"
#include "HTMLParseClass.h"
#include "InputMutations.h"
#include "ParseClass.h"
#include "ReadTextFile.h"
#include "TextFileTestSupport.h"

namespace {

const QByteArray kFragment =
    "<p class='note' id=\"n1\">Born in <b>K\xC3\xB6ln</b><br/>see <a href=\"$docs:x.html\" target=_blank>notes</a>"
    "</p>\n<div><ul><li>one<li>two</ul><img src='a.png' alt=''><hr></div><!-- c --><p/>&amp;&#246;";

}  // namespace

TEST(ReaderFuzz, BrokenHtmlFragmentsListTagsInsideTheText) {
    InputMutations mutations(kFragment, 2026);
    mutations.addTokens({"<", ">", "</", "/>", "<p", "='", "=\"", " a=b", " a=1 a=2", "<<<", "<!--", "-->"});
    HTMLParseClass parser;
    for (const QByteArray& bytes : mutations.make(60, 600)) {
        const QString text = QString::fromUtf8(bytes);
        int entries = -1;
        QList<QString> div;
        QList<int> start, length;
        QList<StringDict> attributes;
        try {
            parser.bParseHTML(text, entries, div, start, length, attributes);
        } catch (const AppError& e) {
            EXPECT_FALSE(e.description.isEmpty());
            continue;
        }
        ASSERT_GE(entries, 0) << bytes.toStdString();
        ASSERT_GT(div.size(), entries);
        ASSERT_GT(start.size(), entries);
        ASSERT_GT(length.size(), entries);
        for (int i = 1; i <= entries; ++i) {
            EXPECT_GE(start[i], 1) << bytes.toStdString();
            EXPECT_LE(start[i] + length[i] - 1, text.size()) << bytes.toStdString();
            const int end = parser.iFindEnd(i, div);
            const int begin = parser.iFindStart(i, div);
            EXPECT_TRUE(end >= 0 && end <= entries && begin >= 0 && begin <= entries) << bytes.toStdString();
            const int endOf = parser.iFindEndOf(QStringLiteral("p"), QStringLiteral("li"), i, div);
            EXPECT_TRUE(endOf >= 0 && endOf <= entries) << bytes.toStdString();
        }
    }
}

TEST(ReaderFuzz, ScannerPositionsStayInsideTheText) {
    InputMutations mutations("  12.5 abc\t99999999999 <p class='x'> #1 [x]", 7);
    mutations.addTokens({"9999999999999999999999", "[", "]", "[!", "-", "."});
    const ParseClass scan;
    const QString patterns[] = {"#", "?", "[a-z]", "[!a-z0-9]", "[", "[!", "[]", "[a-]", "[-", "<", ""};
    for (const QByteArray& bytes : mutations.make(20, 300)) {
        const QString text = QString::fromUtf8(bytes);
        const int end = int(text.size()) + 1;
        const int step = 1 + end / 40;
        for (int from = 1; from <= end; from += step) {
            for (const QString& pattern : patterns) {
                int pos = from, value = 0;
                double number = 0;
                QString ch;
                try {
                    scan.bParseChar(text, pos, pattern, ch);
                    scan.bPeekChar(text, pos, pattern, ch);
                    scan.bParseRun(text, pos, pattern);
                    scan.bSkipUntil(text, pos, pattern);
                    scan.bParseKeywordNoCase(text, pos, QStringLiteral("P"));
                    scan.bParseNumber(text, pos, number);
                    scan.bParseInteger(text, pos, value);
                } catch (const AppError& e) {
                    EXPECT_FALSE(e.description.isEmpty());
                }
                EXPECT_TRUE(pos >= from && pos <= end) << bytes.toStdString() << " " << pattern.toStdString();
            }
        }
    }
}

TEST(ReaderFuzz, BrokenTextFilesReadToTheirEnd) {
    TextFileScratch scratch;
    const QByteArray seeds[] = {
        QByteArray("\xEF\xBB\xBF" "first line\r\nK\xC3\xB6ln\r\n\r\nlast"),
        QByteArray("\xFF\xFE" "a\0\r\0\n\0\xE4\0\r\0\n\0b\0", 16), QByteArray("\xFE\xFF\0a\0\n\0b\0\n", 10),
        QByteArray("ansi \xE4\xF6\rcr\rends\r"), QByteArray("lf\n\rcr\n\rmixed\r\r\nend")};
    std::uint32_t seed = 65536;
    for (const QByteArray& original : seeds) {
        InputMutations mutations(original, seed++);
        mutations.addTokens({"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", QByteArray("\0\n", 2), "\xE2\x82", "\xED\xA0\x80"});
        for (const QByteArray& bytes : mutations.make(20, 150)) {
            const QString file = scratch.write(QStringLiteral("in.txt"), bytes);
            ReadTextFile reader;
            try {
                reader.OpenFile(file);
                qsizetype records = 0;
                while (!reader.EOD()) {
                    (void)reader.ReadLine();
                    ASSERT_LE(++records, bytes.size() + 1) << "the reader stopped moving: " << bytes.toStdString();
                }
            } catch (const AppError& e) {
                EXPECT_FALSE(e.description.isEmpty());
            }
        }
    }
}
