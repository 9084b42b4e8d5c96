#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include <QLocale>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "AppError.h"
#include "PersonDetailsParagraph.h"
#include "SystemErrorText.h"
#include "TextHelpers.h"
#include "Windows1252.h"

TEST(TextHelpers, EscapingAndUnescapingXml) {
    EXPECT_EQ(sEscapeXML("a<b & c"), "a&lt;b &amp; c");
    EXPECT_EQ(sEscapeXML("\"x\" 'y' >"), "&quot;x&quot; &apos;y&apos; &gt;");
    EXPECT_EQ(sUnescapeXML("&lt;&amp;lt;&gt;&quot;&apos;&nbsp;"), "<&lt;>\"'&nbsp;");
    EXPECT_EQ(sReescapeXML("a&amp;b"), "a&amp;b");
    EXPECT_EQ(sReescapeXML("a&b<c"), "a&amp;b&lt;c");
}

TEST(TextHelpers, EncodeNonAsciiWritesOnlyReferencesXmlAllows) {
    const struct {
        QString in;
        const char* out;
    } cases[] = {
        {QString::fromUtf16(u"a\nb\tc\u00E9\u20AC"), "a&#x000A;b\tc&#x00E9;&#x20AC;"},
        {QString::fromUtf16(u"\r"), "&#x000D;"},
        {QString::fromUtf16(u"x\u0001y\u001F"), "x&#xFFFD;y&#xFFFD;"},             // controls XML forbids
        {QString::fromUtf16(u"\U0001F600"), "&#x1F600;"},                           // a pair is one character
        {QString(QChar(0xD800)) + "a" + QChar(0xDC00), "&#xFFFD;a&#xFFFD;"},       // lone halves
        {QString(QChar(0xFFFE)), "&#xFFFD;"},
        {QString("plain ~"), "plain ~"},
        {QString(QChar(0x7F)), "\x7F"},  // below 128: copied
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sEncodeNonASCII(c.in), c.out) << c.out;
        // Text read before it is written sees what the file will hold: the
        // characters written as U+FFFD are U+FFFD, the others stay.
        EXPECT_EQ(sEncodeNonASCII(withXMLCharacters(c.in)), c.out) << c.out;
    }
    EXPECT_EQ(withXMLCharacters(QString::fromUtf16(u"a\f\U0001F600\u0000b\t\r\n", 9)),
              QString::fromUtf16(u"a\uFFFD\U0001F600\uFFFDb\t\r\n", 9));
    // No length limit.
    EXPECT_EQ(sEncodeNonASCII(QString(40000, QChar(0xE9))).size(), 40000 * 8);
}

TEST(TextHelpers, TrimmingFullStopsLinesAndNames) {
    EXPECT_EQ(sAddFullStop("Born 1900  "), "Born 1900.");
    EXPECT_EQ(sAddFullStop("Done."), "Done.");
    EXPECT_EQ(sAddFullStop("   "), "");
    EXPECT_EQ(sAddFullStop(""), "");
    EXPECT_EQ(sTrimWhite("\t a b \t"), "a b");
    EXPECT_EQ(sTrimWhite("\na\n"), "\na\n");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\t a \n"), "\t a \n");
    EXPECT_EQ(sFirstLine("SVG-P\nrest"), "SVG-P");
    EXPECT_EQ(sFirstLine("no line feed"), "");
    for (const char* good : {"P1", "a_b-c", "Z"}) EXPECT_TRUE(bValidName(good)) << good;
    for (const char* bad : {"1P", "_a", "a.b", "", "a b", "\xC3\xA9"}) EXPECT_FALSE(bValidName(QString::fromUtf8(bad))) << bad;
}

TEST(TextHelpers, PersonDetailsParagraph) {
    struct Case {
        const char* texts[4];
        const char* paragraph;
    } const cases[] = {
        {{"", "", "", ""}, ""},
        {{"Ann Lee (1900-1950)", "", "", ""}, "Ann Lee (1900-1950)"},  // one line: no full stop added
        {{"  Ann  ", "", "", ""}, "Ann"},
        {{"Ann", "Known as: Ann Lee", "Born 1900\nDied 1950", ""}, "Ann. Known as: Ann Lee. Born 1900. Died 1950."},
        {{"Solo Dancer.", "", "Person not present in any viewpoints", ""},
         "Solo Dancer. Person not present in any viewpoints."},  // no second full stop
        {{"", "", "Note", "Family note"}, "Note. Family note."},
        {{"A", "  B  \n  C", "", ""}, "A. B. C."},
        // Pairs of line feeds become one in one pass from the left: three
        // leave an empty line, which gets no full stop.
        {{"Ann", "", "a\n\nb", ""}, "Ann. a. b."},
        {{"Ann", "", "Born 1900.\n\n\nDied 1950 ", "Married 1920"}, "Ann. Born 1900.  Died 1950. Married 1920."},
        // Only blanks are trimmed: line feeds at either end of a text, and
        // tabs, stay.
        {{"A", "\n\nB ", "", ""}, "A.  B."},
        {{"Ann\t", "", "Born 1900", ""}, "Ann\t. Born 1900."},
        {{"\tAnn ", "", "", ""}, "\tAnn"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sPersonDetailsParagraph(c.texts[0], c.texts[1], c.texts[2], c.texts[3]), QString::fromUtf8(c.paragraph))
            << c.paragraph;
}

TEST(TextHelpers, NumbersUseAPointInEveryLocale) {
    // A German locale for Qt and, built here when the system has none, for the C library.
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir localeDir;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", localeDir.filePath("de_DE.UTF-8")});
        qputenv("LOCPATH", localeDir.path().toLocal8Bit());
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    // Without the system's locale sources (Debian package locales) only Qt's locale is German.
    if (std::string(probe) != "2,5") std::printf("note: C library locale not German, only Qt's\n");
    EXPECT_EQ(QLocale().toString(2.5), "2,5");
    EXPECT_EQ(sFormatNum(2), "2.00");
    EXPECT_EQ(sFormatNum(2.5), "2.50");
    EXPECT_EQ(sFormatNum(1.23456), "1.235");
    EXPECT_EQ(sFormatNum(12.3456), "12.346");
    EXPECT_EQ(sFormatNum(-1.5), "-1.50");
    EXPECT_EQ(sFormatNum(1234567), "1234567.00");
    EXPECT_EQ(sFormatPct(0.5), "50.00%");
    EXPECT_FLOAT_EQ(sngNumOrPct("25%"), 0.25f);
    EXPECT_FLOAT_EQ(sngNumOrPct("0.3"), 0.3f);
    EXPECT_FLOAT_EQ(sngNumOrPct("abc"), 0.0f);
    EXPECT_FLOAT_EQ(sngVal(" 1 2.5x"), 12.5f);
    EXPECT_FLOAT_EQ(sngVal("-3.25e1px"), -32.5f);
    EXPECT_FLOAT_EQ(sngVal(","), 0.0f);
    EXPECT_FLOAT_EQ(sngVal("1,5"), 1.0f);
    std::setlocale(LC_ALL, previousLocale.c_str());
    qunsetenv("LOCPATH");
    QLocale::setDefault(QLocale::c());

    try {
        sngNumOrPct("x%");
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 13);
    }
}

TEST(TextHelpers, NumberAndValueChecks) {
    const struct {
        const char* text;
        bool number, numOrPct, boolean, integer;
    } cases[] = {
        {"12", true, true, true, true},
        {"12.5", true, true, true, true},
        {"12.5%", false, true, false, false},
        {"%", false, false, false, false},
        {"1.2.3", false, false, false, false},
        {"-1", false, false, true, true},
        {"", false, false, false, false},
        {".", false, false, false, false},
        {"True", false, false, true, false},
        {"fALSE", false, false, true, false},
        {"yes", false, false, false, false},
        {"32767", true, true, true, true},
        {"32768", true, true, true, false},
        {"-32768", false, false, true, true},
        {"32767.5", true, true, true, false},  // rounds to even: 32768
        {" 7 ", false, false, true, true},
        {"1 2", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(bIsNumber(c.text), c.number);
        EXPECT_EQ(bIsNumOrPct(c.text), c.numOrPct);
        EXPECT_EQ(bIsBoolean(c.text), c.boolean);
        EXPECT_EQ(bIsInteger(c.text), c.integer);
    }
}

TEST(TextHelpers, DatesArraysAndValues) {
    EXPECT_EQ(iDaysInMonth(2, 1900), 28);
    EXPECT_EQ(iDaysInMonth(2, 2000), 29);
    EXPECT_EQ(iDaysInMonth(2, 2024), 29);
    EXPECT_EQ(iDaysInMonth(4, 2023), 30);
    EXPECT_EQ(iDaysInMonth(13, 2023), 31);
    EXPECT_EQ(iDaysInMonth(0, 2023), 31);
    EXPECT_FALSE(bIsLeapYear(2100));

    EXPECT_EQ(iArraySize(std::vector<int>{}), 0);
    EXPECT_EQ(iArraySize(QList<QString>{"a", "b"}), 2);
    EXPECT_EQ(vMaxOfArray(3, 7, 7, 2), 7);
    EXPECT_DOUBLE_EQ(vMaxOfArray(1.5, 2.0, -1.0), 2.0);
    EXPECT_DOUBLE_EQ(vMaxOfArray(1, 2.5, 2), 2.5);  // mixed numbers compare numerically
    EXPECT_FALSE(bAlwaysFalse());
    EXPECT_TRUE(sGetVersion().startsWith("V"));
    EXPECT_EQ(sGetVersion().count('.'), 2);

    const char16_t units[] = u"hello";
    EXPECT_EQ(sStringFromPtr(units, 4), "hell");
    EXPECT_EQ(sStringFromPtr(units, 0), "");
}

TEST(TextHelpers, AnsiCodePageAndSystemErrorTexts) {
    EXPECT_EQ(decodeWindows1252("\x80\x9F\xE9\x81", 4), QString::fromUtf16(u"\u20AC\u0178\u00E9\u0081"));
    EXPECT_EQ(encodeWindows1252(QString::fromUtf16(u"\u20AC\u00E9\u4E00\U0001F600\u0081")), QByteArray("\x80\xE9??\x81"));
    EXPECT_EQ(sStringFromAnsi("caf\xE9", 4), QString::fromUtf8("café"));
    EXPECT_FALSE(sSystemErrorText(2).isEmpty());
    EXPECT_EQ(sSystemErrorText(-2147221504), "Unknown system error code: &H80040000");
}
