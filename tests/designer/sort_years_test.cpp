#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "SVGLayout.h"

TEST(LayoutSortYears, YearInText) {
    const struct {
        const char16_t* text;
        int year;
    } cases[] = {
        {u"John Smith 1820-1885", 1820},
        {u"b. c1820", 1820},
        {u"\u2013c1820", 0},
        {u"-c1820", 0},
        {u"-1820", 0},
        {u"\u20131820", 0},
        {u"c1850\u2013c1920", 1850},
        {u"0999", 0},
        {u"2501", 0},
        {u"1000", 1000},
        {u"2500", 2500},
        {u"12345", 2345},
        {u"", 0},
        {u"185", 0},
        {u"x-1900 then 1910", 1910},
        {u"{BET 1850 AND 1860}", 1850},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SVGLayout::iYearFromText(QString::fromUtf16(c.text)), c.year) << QString::fromUtf16(c.text).toStdString();
}

TEST(LayoutSortYears, EventYearInNotes) {
    const struct {
        const char* notes;
        bool person;
        int year;
    } cases[] = {
        // The first Birth or Baptism decides, whichever comes first.
        {"<span data-evtype=\"Baptism\" data-start=\"1821\">b</span> <span data-evtype=\"Birth\" data-start=\"1820\">", true, 1821},
        {"<SPAN data-evtype='birth' data-start='c1805'>x</SPAN>", true, 1805},
        {"<div data-evtype=\"Birth\" data-start=\"1830\">", true, 1830},
        // An empty date runs on into the rest of the notes.
        {"<span data-evtype=\"Birth\" data-start=\"\">x</span> later 1900", true, 1900},
        // Attributes are matched with their case.
        {"<span DATA-START=\"1820\" data-evtype=\"Birth\">", true, 0},
        {"<span data-start=\"1820\" DATA-EVTYPE=\"Birth\">", true, 0},
        // Other events are passed over; a family takes the Marriage.
        {"<span data-evtype=\"Death\" data-start=\"1890\"> <span data-evtype=\"Birth\" data-start = \"1850\">", true, 1850},
        {"<span data-evtype=\"Birth\" data-start=\"1850\"> <span data-evtype=\"Marriage\" data-start=\"1875\">", false, 1875},
        {"<span data-evtype=\"Birth\" data-start=\"1850\">", false, 0},
        // Attributes after the tag's end do not count; an unclosed tag ends the scan.
        {"<span>data-evtype=\"Birth\" data-start=\"1850\"", true, 0},
        {"<span data-evtype=\"Birth\" data-start=\"1850\"", true, 0},
        {"no mark-up 1850", true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SVGLayout::iEventYear(QString::fromUtf8(c.notes), c.person), c.year) << c.notes;
}

// Children stand in the order of an exchange sort by year: ties need not
// keep the family's order.
TEST(LayoutSortYears, ChildrenOrderFollowsExchangeSort) {
    LayoutTree t(20, 8);
    t.persons({"pa", "ma"});
    t.person("x", "X 1850");
    t.person("y", "Y 1850");
    t.person("z", "Z 1840");
    t.family("f", "pa", "ma", {"x", "y", "z"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_LT(t.col("z"), t.col("y"));
    EXPECT_LT(t.col("y"), t.col("x"));
}

// A family without dates takes its first child's year less one: the couple
// married in 1850 comes before one whose first child was born in 1849.
TEST(LayoutSortYears, FamilyYearFromFirstChild) {
    LayoutTree t(20, 8);
    t.persons({"b", "a", "c"});
    t.person("k", "K 1849");
    auto ba = t.family("ba", "b", "a");
    auto bc = t.family("bc", "b", "c", {"k"});
    ba->AddTooltips("married 1850");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(layout.UnitOrder("b"), (QStringList{"b", "c", "a"}));
    ba->SetTooltips({"married 1847"});
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(layout.UnitOrder("b"), (QStringList{"b", "a", "c"}));
}
