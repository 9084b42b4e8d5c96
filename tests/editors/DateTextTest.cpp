#include <gtest/gtest.h>

#include "EditorsTestSupport.h"
#include "EventDateText.h"

namespace {

DatePart part(const char* year, int month = 0, int day = 0, bool dual = false) {
    return DatePart{QString::fromLatin1(year), month, day, dual};
}

struct WriteCase {
    const char* k1;
    const char* k2;
    DatePart start;
    DatePart end;
    bool julian;
    const char* expected;
};

TEST(DateTextWriter, WritesEachFormFromTheFields) {
    const WriteCase cases[] = {
        {"", "", part("1850", 3, 5), {}, false, "1850-03-05"},
        {"ABT", "", part("1850"), {}, false, "c1850"},
        {"ABT", "", part("1850"), {}, true, "{ABT 1850J}"},
        {"", "", part("1750", 2, 11), {}, true, "{1750-02-11J}"},
        {"", "", part("1750", 2, 0, true), {}, false, "{1750-02D}"},
        {"CAL", "", part("1850"), {}, false, "{CAL 1850}"},
        {"BEF", "", part("1850", 6), {}, false, "{BEF 1850-06}"},
        {"BET", "AND", part("1850"), part("1855"), false, "{BET 1850 AND 1855}"},
        {"FROM", "TO", part("1850", 5), part("1851", 0, 0, true), false, "{FROM 1850-05 TO 1851D}"},
        {"FROM", "", part("1850"), part("1870"), false, "{FROM 1850}"},
        // Julian wins over the dual-year marks and marks both sides.
        {"BET", "AND", part("1700", 0, 0, true), part("1701", 0, 0, true), true, "{BET 1700J AND 1701J}"},
        // The end date equal to the start is not earlier.
        {"BET", "AND", part("1850"), part("1850"), false, "{BET 1850 AND 1850}"},
    };
    for (const WriteCase& c : cases) {
        EventDate date{QString::fromLatin1(c.k1), QString::fromLatin1(c.k2), c.start, c.end, c.julian};
        EXPECT_EQ(sWriteDateText(date), QString::fromLatin1(c.expected)) << c.expected;
    }
}

TEST(DateTextWriter, RefusesAnEndDateBeforeTheStart) {
    const EventDate refused[] = {
        {"BET", "AND", part("1850"), part("1849"), false},
        // Texts compare as they stand: 1850 sorts before 1850-06.
        {"BET", "AND", part("1850", 6), part("1850"), false},
        // A dual-year mark on the start does not make an equal end earlier.
        {"FROM", "TO", part("1850", 0, 0, true), part("1849"), false},
    };
    for (const EventDate& date : refused) {
        const AppError e = errorOf([&] { sWriteDateText(date); });
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::EventDates));
        EXPECT_EQ(e.source, "FormEvent");
        EXPECT_EQ(e.description, "End date cannot be earlier than start date");
    }
    // Without the marks the dates are equal: the D on the start does not make
    // the end sort before it.
    EXPECT_EQ(sWriteDateText({"FROM", "TO", part("1850", 0, 0, true), part("1850"), false}), "{FROM 1850D TO 1850}");
    EXPECT_EQ(sWriteDateText({"BET", "AND", part("1850"), part("1850"), true}), "{BET 1850J AND 1850J}");
}

TEST(DateTextReader, ReadsEachFormBackIntoTheFields) {
    const QDate today(2024, 2, 10);
    struct Case {
        const char* text;
        EventDate expected;
    } cases[] = {
        {"1850-03-05", {"", "", part("1850", 3, 5), part("1850", 3, 5), false}},
        {"c1850", {"ABT", "", part("1850"), part("1850"), false}},
        {"{ABT 1850}", {"ABT", "", part("1850"), part("1850"), false}},
        {"{ABT 1850J}", {"ABT", "", part("1850"), part("1850"), true}},
        {"{1750-02-11J}", {"", "", part("1750", 2, 11), part("1750", 2, 11), true}},
        {"{1750-02D}", {"", "", part("1750", 2, 0, true), part("1750", 2, 0, true), false}},
        {"{BET 1850 AND 1855}", {"BET", "AND", part("1850"), part("1855"), false}},
        {"{FROM 1850-05 TO 1851D}", {"FROM", "TO", part("1850", 5), part("1851", 0, 0, true), false}},
        {"{FROM 1850}", {"FROM", "", part("1850"), part("1850"), false}},
        // A keyword the dialog does not offer is dropped.
        {"{INT 1850}", {"", "", part("1850"), part("1850"), false}},
        // Years before 1000 read as they stand.
        {"0850", {"", "", part("0850"), part("0850"), false}},
        {"1852-02-29", {"", "", part("1852", 2, 29), part("1852", 2, 29), false}},
        // Nothing given: today on both sides.
        {"", {"", "", part("2024", 2, 10), part("2024", 2, 10), false}},
    };
    for (const Case& c : cases) EXPECT_EQ(readDateText(QString::fromLatin1(c.text), today), c.expected) << c.text;
}

TEST(DateTextReader, RefusesWithTheWholeText) {
    const QDate today(2024, 2, 10);
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"{@#DJULIAN@ 1850}", "Unrecognised date syntax: {@#DJULIAN@ 1850}"},
        {"{@}", "Unrecognised date syntax: {@}"},
        {"{ABT  1850}", "Illegal date syntax: {ABT  1850}"},
        {"{BET 1850 AND}", "Illegal date syntax: {BET 1850 AND}"},
        {"{A B C D E}", "Illegal date syntax: {A B C D E}"},
        {"1850-3-5", "Illegal date syntax: 1850-3-5"},
        {"C1850", "Illegal date syntax: C1850"},
        {"1850X", "Illegal date syntax: 1850X"},
        {"1850-13", "Illegal date syntax: 1850-13"},
        {"1851-02-29", "Illegal date syntax: 1851-02-29"},
        {"1850-04-31", "Illegal date syntax: 1850-04-31"},
        {"1850-01-00", "Illegal date syntax: 1850-01-00"},
        {"18a0", "Illegal date syntax: 18a0"},
        {"+850", "Illegal date syntax: +850"},
        {"{BET 1850 TO 1855}", "Illegal date syntax: {BET 1850 TO 1855}"},
        {"{ABT 1850 AND 1855}", "Illegal date syntax: {ABT 1850 AND 1855}"},
        {"about 1850", "Illegal date syntax: about 1850"},
    };
    for (const Case& c : cases) {
        const AppError e = errorOf([&] { readDateText(QString::fromLatin1(c.text), today); });
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::EventDates)) << c.text;
        EXPECT_EQ(e.source, "FormEvent");
        EXPECT_EQ(e.description, QString::fromLatin1(c.message));
    }
}

TEST(DateTextReader, WhatIsReadWritesBackTheSameText) {
    const QDate today(2024, 2, 10);
    for (const char* text : {"1850-03-05", "c1850", "{ABT 1850J}", "{1750-02-11J}", "{1750-02D}", "{CAL 1850}",
                             "{BET 1850 AND 1855}", "{FROM 1850-05 TO 1851D}", "{FROM 1850}", "{TO 1790-12}",
                             "{AFT 1900-01-01}", "{EST 1700D}"})
        EXPECT_EQ(sWriteDateText(readDateText(QString::fromLatin1(text), today)), QString::fromLatin1(text));
    // ABT without a mark is written in the short form.
    EXPECT_EQ(sWriteDateText(readDateText("{ABT 1850}", today)), "c1850");
}

TEST(DateDerivation, FindsTheFirstDateInFreeText) {
    const DateContext context = testContext();
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"born 5 March 1850", "1850-03-05"},
        {"March 5, 1850", "1850-03-05"},
        {"in March 1850", "1850-03"},
        {"Mar 1850", "1850-03"},
        {"5 mar. 1850", "1850-03-05"},
        {"c1850", "c1850"},
        {"born c1850 in Leeds", "c1850"},
        {"31 February 1850", "1850-02"},
        {"29 February 1852", "1852-02-29"},
        {"0 March 1850", "1850-03"},
        {"about 950", ""},
        {"in 0950 or 1850", "1850"},
        {"1850", "1850"},
        {"on 12/03/1850", "1850"},
        {"the 5 of 1850", "1850"},
        // Only "c" and four digits is the about form.
        {"cross 1850", "1850"},
        {"cabcd 1850", "1850"},
        {"Ca1850", ""},
        {"3000 years after 1850", "1850"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sTextToDate(QString::fromLatin1(c.text), context), QString::fromLatin1(c.expected)) << c.text;
}

TEST(DateDerivation, MonthNamesOfTheLocaleAndOfEnglish) {
    DateContext french = DateContext::english(QDate(2024, 1, 1));
    french.fullMonths = QStringList{"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                    "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    french.shortMonths = QStringList{"janv.", "févr.", "mars", "avr.", "mai", "juin",
                                     "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    EXPECT_EQ(sTextToDate("né le 5 Février 1850", french), "1850-02-05");
    EXPECT_EQ(sTextToDate("born 5 February 1850", french), "1850-02-05");
    EXPECT_EQ(french.iMonthFromName("AOÛT"), 8);
    EXPECT_EQ(french.iMonthFromName("Sep"), 9);
    EXPECT_EQ(french.iMonthFromName("Septem"), 0);
    EXPECT_EQ(french.iMonthFromName(""), 0);
}

}  // namespace
