#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "SVGLayout.h"

TEST(LayoutSpouseUnits, SingleAndCouple) {
    LayoutTree t;
    t.persons({"solo", "h", "w"});
    t.family("f", "w", "h");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(layout.UnitOrder("solo"), QStringList{"solo"});
    // The first parent stands first.
    EXPECT_EQ(layout.UnitOrder("h"), (QStringList{"w", "h"}));
    EXPECT_EQ(layout.UnitCount(), 2);
    EXPECT_EQ(t.row("w"), t.row("h"));
    EXPECT_EQ(t.col("w") + 1, t.col("h"));
}

// B married to A and to C: the earlier marriage stands next to B.
TEST(LayoutSpouseUnits, RemarriageOrderedByYear) {
    const struct {
        const char* yearBA;
        const char* yearBC;
        QStringList order;
    } cases[] = {
        {"1850", "1860", {"b", "a", "c"}},
        {"1870", "1860", {"b", "c", "a"}},
    };
    for (const auto& c : cases) {
        LayoutTree t;
        t.persons({"a", "b", "c"});
        t.family("ba", "b", "a")->AddNotes(QString("married ") + c.yearBA);
        t.family("bc", "b", "c")->AddNotes(QString("married ") + c.yearBC);
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree));
        EXPECT_EQ(layout.UnitOrder("a"), c.order);
        for (int i = 1; i < 3; ++i) EXPECT_EQ(t.col(c.order[i]), t.col(c.order[0]) + i);
    }
}

// A-B, B-C, C-D: the walk starts at whichever of B and C enters first.
TEST(LayoutSpouseUnits, ChainOfFour) {
    {
        LayoutTree t;
        t.persons({"a", "b", "c", "d"});
        t.family("ab", "a", "b");
        t.family("bc", "b", "c");
        t.family("cd", "c", "d");
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree));
        EXPECT_EQ(layout.UnitOrder("d"), (QStringList{"b", "a", "c", "d"}));
    }
    {
        LayoutTree t;
        t.persons({"d", "c", "b", "a"});
        t.family("cd", "c", "d");
        t.family("cb", "c", "b");
        t.family("ab", "a", "b");
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree));
        EXPECT_EQ(layout.UnitOrder("a"), (QStringList{"c", "d", "b", "a"}));
    }
}

// Marriage links that branch, and two families of one couple, cannot be put
// in one row: the error reaches the caller, naming what the user must change,
// and nobody moves.
TEST(LayoutSpouseUnits, UnsortableSpousesKeepOldPositions) {
    {
        // x married a, b and c, each of whom married again: the walk from a
        // takes in x, c and c2 but never reaches b's second marriage.
        LayoutTree t;
        t.persons({"x", "a"});
        t.person("b", "Bob Hall");
        t.persons({"c", "a2", "b2", "c2"});
        t.family("xa", "x", "a");
        t.family("xb", "x", "b");
        t.family("xc", "x", "c");
        t.family("aa", "a", "a2");
        t.family("bb", "b", "b2");
        t.family("cc", "c", "c2");
        SVGLayout layout;
        const AppError e = errorOf([&] { layout.Organise(t.tree); });
        EXPECT_EQ(e.number, errorNumber(SVGLayout::kSortSpousesErrorOffset));
        EXPECT_EQ(e.source, "SVGLayout");
        EXPECT_EQ(e.description, "Internal error: Unable to sort set of related spouses of Bob Hall (b): "
                                 "Auto Layout cannot put the marriages linked to this person in one row");
        for (int i = 1; i <= 7; ++i) EXPECT_EQ(t.cell(t.tree.GetPersons().keyAt(i - 1)), qMakePair(i, i));
        EXPECT_EQ(t.grid(), qMakePair(12, 8));
    }
    {
        // The couple's two families, among other marriages of the unit; a
        // caption spread over lines is named on one.
        LayoutTree t;
        t.person("h", "Adam\\Hall");
        t.person("w", "Bella Hall");
        t.person("o");
        t.family("f1", "h", "w");
        t.family("f0", "o", "w");
        t.family("f2", "w", "h");
        SVGLayout layout;
        const AppError e = errorOf([&] { layout.Organise(t.tree); });
        EXPECT_EQ(e.number, 457);
        EXPECT_EQ(e.description, "Families f1 and f2 have the same two parents, Adam Hall (h) and Bella Hall (w): "
                                 "Auto Layout needs one family per couple");
        EXPECT_EQ(t.cell("h"), qMakePair(1, 1));
        EXPECT_EQ(t.cell("w"), qMakePair(2, 2));
    }
}

// A ring of marriages: each person once, in one row.
TEST(LayoutSpouseUnits, RingOfMarriages) {
    LayoutTree t;
    t.persons({"a", "b", "c"});
    t.family("ab", "a", "b");
    t.family("bc", "b", "c");
    t.family("ca", "c", "a");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    QStringList order = layout.UnitOrder("a");
    EXPECT_EQ(order.size(), 3);
    order.sort();
    EXPECT_EQ(order, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(t.row("a"), t.row("b"));
    EXPECT_EQ(t.row("b"), t.row("c"));
    QSet<int> cols{t.col("a"), t.col("b"), t.col("c")};
    EXPECT_EQ(cols.size(), 3);
}

// The couple's two sets of parents belong to one tree: the second set stays
// in row 1 even when the first fills the grid's width.
TEST(LayoutSpouseUnits, TwoSetsOfGrandparentsInOneTree) {
    LayoutTree t(4, 8);
    t.persons({"p1", "p2", "q1", "q2", "h", "w", "k"});
    t.family("fp", "p1", "p2", {"h"});
    t.family("fq", "q1", "q2", {"w"});
    t.family("fk", "h", "w", {"k"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.row("p1"), 1);
    EXPECT_EQ(t.row("q1"), 1);
    EXPECT_EQ(t.row("h"), 2);
    EXPECT_EQ(t.row("w"), 2);
    EXPECT_EQ(t.row("k"), 3);
    EXPECT_LT(t.col("p2"), t.col("q1"));
}

// A couple whose parents stand in the opposite order exchange places.
TEST(LayoutSpouseUnits, CrossedCoupleSwapped) {
    LayoutTree t;
    t.person("q1", "", 1, 1);
    t.person("q2", "", 2, 1);
    t.person("p1", "", 5, 1);
    t.person("p2", "", 6, 1);
    t.person("h", "", 3, 3);
    t.person("w", "", 4, 3);
    t.family("fp", "p1", "p2", {"h"});
    t.family("fq", "q1", "q2", {"w"});
    t.family("fk", "h", "w");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(layout.UnitOrder("h"), (QStringList{"w", "h"}));
    EXPECT_EQ(t.row("w"), t.row("h"));
    EXPECT_LT(t.col("w"), t.col("h"));
    EXPECT_LT(t.col("q2"), t.col("p1"));
}
