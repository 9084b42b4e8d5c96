#include <gtest/gtest.h>

#include "AppError.h"
#include "ParseClass.h"

namespace {
const ParseClass scanner;
}

TEST(ParseClass, WhiteSpaceCharAndPeek) {
    int pos = 1;
    scanner.SkipWhiteSpace("\t  x", pos);
    EXPECT_EQ(pos, 4);
    pos = 1;
    scanner.SkipWhiteSpace("\nx", pos);
    EXPECT_EQ(pos, 1);

    QString ch = "unchanged";
    pos = 1;
    EXPECT_FALSE(scanner.bParseChar("   ", pos, "[>]", ch));
    EXPECT_EQ(pos, 4);  // past the blanks even on failure
    EXPECT_EQ(ch, "unchanged");

    pos = 1;
    EXPECT_TRUE(scanner.bPeekChar(" /a", pos, "[/]", ch));
    EXPECT_EQ(ch, "/");
    EXPECT_EQ(pos, 1);
    pos = 1;
    EXPECT_TRUE(scanner.bParseChar(" /a", pos, "[/]", ch));
    EXPECT_EQ(pos, 3);
}

// Patterns match one character by code; the end of the text matches nothing.
TEST(ParseClass, PatternsMatchOneCharacter) {
    const struct {
        const char* pattern;
        const char* yes;
        const char* no;
    } cases[] = {
        {"#", "0", "a"},
        {"?", "\xE2\x82\xAC", ""},
        {".", ".", "x"},
        {"[A-Za-z0-9-_]", "-", "."},
        {"[A-Za-z0-9-_]", "_", "="},
        {"[A-Za-z0-9_]", "q", "-"},
        {"['\"]", "\"", "`"},
        {"[!<>]", "a", "<"},
        {"[-a]", "-", "b"},
        {"[a-]", "-", "b"},
        {"[a-c]", "b", "B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        QString ch;
        int pos = 1;
        EXPECT_TRUE(scanner.bParseChar(QString::fromUtf8(c.yes), pos, c.pattern, ch));
        pos = 1;
        EXPECT_FALSE(scanner.bParseChar(QString::fromUtf8(c.no), pos, c.pattern, ch));
    }
}

TEST(ParseClass, RunsSkipsAndKeywords) {
    int pos = 1;
    EXPECT_TRUE(scanner.bParseRun("data-start=", pos, "[A-Za-z0-9-_]"));
    EXPECT_EQ(pos, 11);
    EXPECT_FALSE(scanner.bParseRun("data-start=", pos, "[A-Za-z0-9-_]"));
    EXPECT_EQ(pos, 11);
    pos = 4;
    EXPECT_FALSE(scanner.bParseRun("abc", pos, "?"));  // beyond the end

    pos = 1;
    EXPECT_TRUE(scanner.bSkipUntil("ab<c", pos, "[<]"));
    EXPECT_EQ(pos, 3);
    EXPECT_TRUE(scanner.bSkipUntil("ab<c", pos, "[<]"));  // already on it: no move
    EXPECT_EQ(pos, 3);
    pos = 1;
    EXPECT_FALSE(scanner.bSkipUntil("abc", pos, "[<]"));
    EXPECT_EQ(pos, 4);
    pos = 9;
    EXPECT_FALSE(scanner.bSkipUntil("abc", pos, "[<]"));
    EXPECT_EQ(pos, 9);

    pos = 1;
    EXPECT_TRUE(scanner.bParseKeywordNoCase("  ABT 1850", pos, "abt"));
    EXPECT_EQ(pos, 6);
    pos = 1;
    EXPECT_FALSE(scanner.bParseKeyword("  ABT 1850", pos, "abt"));
    EXPECT_EQ(pos, 3);
    EXPECT_TRUE(scanner.bParseKeyword("  ABT 1850", pos, "ABT"));
    pos = 1;
    EXPECT_TRUE(scanner.bParseKeyword("BEFORE", pos, "BEF"));  // no word boundary
    EXPECT_EQ(pos, 4);
    pos = 1;
    EXPECT_FALSE(scanner.bParseKeyword("BE", pos, "BEF"));
}

TEST(ParseClass, IntegersAndNumbers) {
    int value = -1;
    int pos = 1;
    EXPECT_TRUE(scanner.bParseInteger("007x", pos, value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(pos, 4);
    pos = 1;
    EXPECT_FALSE(scanner.bParseInteger("x", pos, value));
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(value, 7);
    pos = 1;
    EXPECT_FALSE(scanner.bParseInteger("-5", pos, value));
    EXPECT_EQ(pos, 1);
    pos = 1;
    EXPECT_TRUE(scanner.bParseInteger("2147483647", pos, value));
    EXPECT_EQ(value, 2147483647);
    pos = 1;
    try {
        scanner.bParseInteger("99999999999 ", pos, value);
        FAIL() << "no overflow";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 6);
    }

    const struct {
        const char* text;
        bool ok;
        double value;
        int end;
    } numbers[] = {
        {"12.5", true, 12.5, 5}, {".5", true, 0.5, 3},     {"5.", true, 5, 3},        {"12 .5", true, 12.5, 6},
        {".", true, 0, 2},       {"12  x", true, 12, 5},   {"  x", false, -1, 3},     {"-1", false, -1, 1},
        {"3.14.15", true, 3.14, 5},
    };
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.text);
        double d = -1;
        pos = 1;
        EXPECT_EQ(scanner.bParseNumber(n.text, pos, d), n.ok);
        EXPECT_DOUBLE_EQ(d, n.value);
        EXPECT_EQ(pos, n.end);
    }
    // bParseInteger stops right after the digits where bParseNumber moves past blanks.
    pos = 1;
    EXPECT_TRUE(scanner.bParseInteger("12  x", pos, value));
    EXPECT_EQ(pos, 3);
}
