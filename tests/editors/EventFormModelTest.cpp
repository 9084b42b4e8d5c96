#include <gtest/gtest.h>

#include "EditorsTestSupport.h"
#include "EventFormModel.h"
#include "RecordingReporter.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"

namespace {

constexpr int S = EventFormModel::kStart;
constexpr int E = EventFormModel::kEnd;

class EventForm : public ::testing::Test {
protected:
    RecordingReporter reporter;
    EventFormModel model{reporter, testContext()};

    // Opens the texts and presses OK with the controls as they stand.
    bool pressOK() {
        return model.accept(model.dayEntries(S).at(model.side(S).day), model.dayEntries(E).at(model.side(E).day),
                            model.typeText());
    }
};

TEST_F(EventForm, KeywordTableBothWays) {
    EXPECT_EQ(EventFormModel::qualifierTexts(),
              (QStringList{"", "ABT (About)", "CAL (Calculated)", "EST (Estimated)", "BEF (Before)", "AFT (After)",
                           "BET (Between)", "FROM", "TO"}));
    for (const char* keyword : {"", "ABT", "CAL", "EST", "BEF", "AFT", "BET", "AND", "FROM", "TO"})
        EXPECT_EQ(EventFormModel::textKeyword(EventFormModel::keywordText(keyword)), QString::fromLatin1(keyword));
    EXPECT_EQ(EventFormModel::keywordText("BET"), "BET (Between)");
    EXPECT_EQ(EventFormModel::textKeyword("ABT"), "");
}

TEST_F(EventForm, QualifierSetsUpTheSecondKeywordAndTheEndControls) {
    struct Case {
        const char* qualifier;
        QStringList second;
        bool end;
    } cases[] = {
        {"", {""}, false},          {"ABT (About)", {""}, false}, {"TO", {""}, false},
        {"BET (Between)", {"AND"}, true}, {"FROM", {"TO", ""}, true},
    };
    for (const Case& c : cases) {
        model.chooseQualifier(EventFormModel::qualifierTexts().indexOf(QString::fromLatin1(c.qualifier)));
        EXPECT_EQ(model.secondTexts(), c.second) << c.qualifier;
        EXPECT_EQ(model.secondKeyword(), 0);
        EXPECT_EQ(model.endEnabled(), c.end) << c.qualifier;
    }
    // FROM with the blank second keyword writes the one-keyword form.
    model.open("1850", "", "", "");
    model.chooseQualifier(EventFormModel::qualifierTexts().indexOf("FROM"));
    model.chooseSecondKeyword(1);
    ASSERT_TRUE(pressOK());
    EXPECT_EQ(model.resultDate(), "{FROM 1850}");
}

TEST_F(EventForm, LoadsTodayAndOpensAnEventsTexts) {
    model.load(nullptr);
    for (int side : {S, E}) {
        EXPECT_EQ(model.side(side).year, "2024");
        EXPECT_EQ(model.side(side).month, 2);
        EXPECT_EQ(model.side(side).day, 10);
        EXPECT_EQ(model.side(side).dayCount, 29);
    }
    EXPECT_EQ(model.qualifier(), 0);
    EXPECT_FALSE(model.endEnabled());

    model.open("{FROM 1850-05 TO 1851D}", "Moved to &apos;Leeds&apos; &amp; back", "Residence", "lived <b>here</b>");
    EXPECT_EQ(model.qualifierKeyword(), "FROM");
    EXPECT_EQ(model.secondTexts().at(model.secondKeyword()), "TO");
    EXPECT_EQ(model.side(S).month, 5);
    EXPECT_EQ(model.side(S).day, 0);
    EXPECT_TRUE(model.dayEnabled(S));
    EXPECT_FALSE(model.dayEnabled(E));
    EXPECT_TRUE(model.side(E).dual);
    EXPECT_EQ(model.description(), "Moved to 'Leeds' & back");
    EXPECT_EQ(model.typeText(), "Residence");
    EXPECT_EQ(model.types().last(), "Residence");
    ASSERT_TRUE(pressOK());
    EXPECT_EQ(model.resultDate(), "{FROM 1850-05 TO 1851D}");
    EXPECT_EQ(model.resultEvent(), "Moved to &apos;Leeds&apos; &amp; back");
    EXPECT_EQ(model.resultType(), "Residence");
    EXPECT_EQ(model.resultDivText(), "lived <b>here</b>");
}

TEST_F(EventForm, UnreadableDateLeavesTheFormAsLoaded) {
    model.load(nullptr);
    const AppError e = errorOf([&] { model.open("{@#DFRENCH R@ 1800}", "x", "Birth", "y"); });
    EXPECT_EQ(e.description, "Unrecognised date syntax: {@#DFRENCH R@ 1800}");
    EXPECT_EQ(model.side(S).year, "2024");
    EXPECT_EQ(model.description(), "");
}

TEST_F(EventForm, DayListsFollowTheMonthAndTheLeapRule) {
    struct Case {
        const char* year;
        int month;
        int days;
    } cases[] = {{"1852", 2, 29}, {"1851", 2, 28}, {"1900", 2, 28}, {"2000", 2, 29},
                 {"1850", 4, 30}, {"1850", 12, 31}, {"1850", 0, 31}};
    for (const Case& c : cases) {
        model.open(QString::fromLatin1(c.year), "", "", "");
        model.chooseMonth(S, c.month);
        EXPECT_EQ(model.side(S).dayCount, c.days) << c.year << " " << c.month;
        EXPECT_EQ(model.dayEntries(S).size(), c.days + 1);
        EXPECT_EQ(model.dayEntries(S).first(), "<n/a>");
        EXPECT_EQ(model.dayEnabled(S), c.month > 0);
    }
    EXPECT_TRUE(reporter.warnings().isEmpty());

    // Day 31 in January, then April: the day cannot stay.
    model.open("1850-01-31", "", "", "");
    model.chooseMonth(S, 4);
    EXPECT_EQ(reporter.warnings(), QStringList{"Invalid day number"});
    EXPECT_EQ(model.side(S).day, 0);
    // 29 February of a leap year, then a common year.
    reporter.entries.clear();
    model.open("1852-02-29", "", "", "");
    model.setYearText(S, "1851");
    EXPECT_TRUE(model.leaveYear(S));
    EXPECT_EQ(reporter.warnings(), QStringList{"Invalid day number"});
    EXPECT_EQ(model.side(S).day, 0);
    // Month "<n/a>" clears the day.
    model.open("1850-03-05", "", "", "");
    model.chooseMonth(S, 0);
    EXPECT_EQ(model.side(S).day, 0);
    EXPECT_FALSE(model.dayEnabled(S));
}

TEST_F(EventForm, TypedDays) {
    model.open("1850-04-01", "", "", "");
    struct Case {
        const char* typed;
        bool ok;
        int day;
    } cases[] = {{"12", true, 12}, {"30", true, 30}, {"<n/a>", true, 0}, {"", true, 0},    {" 7", true, 7},
                 {"31", false, 0}, {"0", false, 0},  {"x", false, 0},    {"-1", false, 0}};
    for (const Case& c : cases) {
        reporter.entries.clear();
        EXPECT_EQ(model.leaveDay(S, QString::fromLatin1(c.typed)), c.ok) << c.typed;
        EXPECT_EQ(model.side(S).day, c.day) << c.typed;
        EXPECT_EQ(reporter.warnings(), c.ok ? QStringList{} : QStringList{"Invalid day number"}) << c.typed;
    }
}

TEST_F(EventForm, TypedYears) {
    model.open("1850", "", "", "");
    struct Case {
        const char* typed;
        const char* year;
        bool ok;
    } cases[] = {{"1900", "1900", true}, {" 1850", "1850", true}, {"2500", "2500", true}, {"1000", "1000", true},
                 {"850", "2024", false}, {"2501", "2024", false}, {"", "2024", false}, {"18x0", "2024", false},
                 {"1850.5", "2024", false}};
    for (const Case& c : cases) {
        reporter.entries.clear();
        model.setYearText(S, QString::fromLatin1(c.typed));
        EXPECT_EQ(model.leaveYear(S), c.ok) << c.typed;
        EXPECT_EQ(model.side(S).year, QString::fromLatin1(c.year)) << c.typed;
        EXPECT_EQ(reporter.warnings(), c.ok ? QStringList{} : QStringList{"Invalid year number"}) << c.typed;
    }
}

TEST_F(EventForm, AYearTheUserDidNotChangeSurvivesOK) {
    model.open("{ABT 0850}", "", "", "");
    EXPECT_TRUE(model.leaveYear(S));
    ASSERT_TRUE(pressOK());
    EXPECT_EQ(model.resultDate(), "c0850");
    EXPECT_TRUE(reporter.warnings().isEmpty());
}

TEST_F(EventForm, OKChecksWhatWasTypedAgain) {
    // A year typed but never left is checked at OK; OK then stops.
    model.open("1850", "", "Birth", "");
    model.setYearText(S, "850");
    EXPECT_FALSE(pressOK());
    EXPECT_EQ(reporter.warnings(), QStringList{"Invalid year number"});
    EXPECT_EQ(model.resultDate(), "");
    // The corrected year passes at the next OK.
    reporter.entries.clear();
    ASSERT_TRUE(pressOK());
    EXPECT_EQ(model.resultDate(), "2024");

    // A day typed in the box.
    model.open("1850-04", "", "", "");
    EXPECT_FALSE(model.accept("31", "", ""));
    EXPECT_EQ(reporter.warnings().last(), "Invalid day number");
    ASSERT_TRUE(model.accept("30", "", ""));
    EXPECT_EQ(model.resultDate(), "1850-04-30");

    // A type typed in the box.
    reporter.entries.clear();
    EXPECT_FALSE(model.accept("", "", "2nd"));
    EXPECT_EQ(reporter.warnings(),
              QStringList{"Event type can only contain alphanumerics, underscores, and hyphens (starting with an "
                          "alphabetic)"});
    EXPECT_EQ(model.typeText(), "");
    ASSERT_TRUE(model.accept("", "", "Emigration"));
    EXPECT_EQ(model.resultType(), "Emigration");

    // The end date is checked only when the end side is in use.
    model.open("1850", "", "", "");
    model.setYearText(E, "99");
    ASSERT_TRUE(model.accept("<n/a>", "<n/a>", ""));
    EXPECT_EQ(model.resultDate(), "1850");
}

TEST_F(EventForm, EndDateBeforeStartRaisesAndKeepsTheInput) {
    model.open("{BET 1850 AND 1855}", "d", "Birth", "t");
    model.setYearText(E, "1849");
    const AppError e = errorOf([&] { pressOK(); });
    EXPECT_EQ(e.description, "End date cannot be earlier than start date");
    EXPECT_EQ(model.side(E).year, "1849");
    EXPECT_EQ(model.resultDate(), "");
}

TEST_F(EventForm, JulianAndDualYearsExcludeEachOther) {
    model.open("{BET 1700D AND 1701D}", "", "", "");
    model.setJulian(true);
    EXPECT_FALSE(model.side(S).dual);
    EXPECT_FALSE(model.side(E).dual);
    model.setDual(E, true);
    EXPECT_FALSE(model.julian());
    EXPECT_TRUE(model.side(E).dual);
    ASSERT_TRUE(pressOK());
    EXPECT_EQ(model.resultDate(), "{BET 1700 AND 1701D}");
}

TEST_F(EventForm, TypesAreGatheredFromTheTreesNotes) {
    SVGTree tree;
    auto ann = tree.NewPerson("ann", "Ann", "", 1, 1, "f", false, "", true);
    auto bob = tree.NewPerson("bob", "Bob", "", 2, 1, "m", false, "", true);
    ann->SetNotes({"<span data-start='1850' data-event='' data-evtype='Census'>x</span>",
                   "<span data-evtype='Two words' data-start='1851' data-evtype=\"Birth\">y</span>"
                   " data-evtype='2nd' data-evtype='Census' data-evtype=\"Emigration\""});
    bob->SetNotes({"<div data-start='1850' data-evtype='Occupation'>z</div> data-evtype='Unclosed"});
    auto fam = tree.NewFamily("f1", "ann", "bob");
    fam->SetNotes({"<span data-start='1870' data-evtype='Divorce'>w</span>"});
    EXPECT_EQ(EventFormModel::collectTreeTypes(tree), "Census,Birth,Emigration,Occupation,Divorce");

    model.load(&tree);
    EXPECT_EQ(model.types(), (QStringList{"", "Birth", "Baptism", "Marriage", "Death", "Burial", "Census",
                                          "Emigration", "Occupation", "Divorce"}));
    // A type is case-sensitive: "birth" is a new one.
    EXPECT_TRUE(model.leaveType("birth"));
    EXPECT_EQ(model.types().last(), "birth");
    EXPECT_TRUE(model.leaveType("Census"));
    EXPECT_EQ(model.types().size(), 11);
}

TEST_F(EventForm, AnInvalidTypeGivenToOpenIsRefused) {
    model.open("1850", "", "not valid", "");
    EXPECT_EQ(reporter.warnings().size(), 1);
    EXPECT_EQ(model.typeText(), "");
    EXPECT_EQ(model.typeIndex(), 0);
}

}  // namespace
