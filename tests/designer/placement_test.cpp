#include <gtest/gtest.h>

#include <QThread>

#include "LayoutFixture.h"
#include "RecordingReporter.h"
#include "SVGLayout.h"

TEST(LayoutPlacement, ThreeSingles) {
    LayoutTree t(12, 8);
    t.persons({"a", "b", "c"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.cell("a"), qMakePair(1, 1));
    EXPECT_EQ(t.cell("b"), qMakePair(2, 1));
    EXPECT_EQ(t.cell("c"), qMakePair(3, 1));
    EXPECT_EQ(t.grid(), qMakePair(12, 8));
}

// Singles that pass the grid's width start a new band in the first empty row.
TEST(LayoutPlacement, NewBandWhenTreeDoesNotFit) {
    LayoutTree t(2, 1);
    t.persons({"a", "b", "c", "d", "e"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.cell("a"), qMakePair(1, 1));
    EXPECT_EQ(t.cell("b"), qMakePair(2, 1));
    EXPECT_EQ(t.cell("c"), qMakePair(1, 2));
    EXPECT_EQ(t.cell("d"), qMakePair(2, 2));
    EXPECT_EQ(t.cell("e"), qMakePair(1, 3));
    // The grid grows to hold them; it never shrinks.
    EXPECT_EQ(t.grid(), qMakePair(2, 3));
}

TEST(LayoutPlacement, CoupleWithTwoChildren) {
    const struct {
        bool stepped;
        int ann, bob;
    } cases[] = {{false, 1, 2}, {true, 2, 3}};
    for (const auto& c : cases) {
        LayoutTree t;
        t.persons({"ann", "bob", "cat", "dan"});
        t.family("f1", "ann", "bob", {"cat", "dan"});
        t.tree.SetStepped(c.stepped);
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree));
        EXPECT_EQ(t.cell("ann"), qMakePair(c.ann, 1)) << c.stepped;
        EXPECT_EQ(t.cell("bob"), qMakePair(c.bob, 1));
        EXPECT_EQ(t.cell("cat"), qMakePair(1, 2));
        EXPECT_EQ(t.cell("dan"), qMakePair(2, 2));
        // Nothing is left to adjust; the positions are written again unchanged.
        EXPECT_FALSE(layout.Adjust(t.tree));
        EXPECT_EQ(t.cell("ann"), qMakePair(c.ann, 1));
        EXPECT_EQ(t.cell("bob"), qMakePair(c.bob, 1));
    }
}

// A married couple both of whose persons have parents in the view, one of
// those families having several children, takes a row of its own below.
TEST(LayoutPlacement, MarriageBetweenLinesTakesOwnRow) {
    LayoutTree t(20, 8);
    t.persons({"p1", "p2", "q1", "q2", "h", "s", "w", "k"});
    t.family("fp", "p1", "p2", {"h", "s"});
    t.family("fq", "q1", "q2", {"w"});
    t.family("fk", "h", "w", {"k"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.row("p1"), 1);
    EXPECT_EQ(t.row("q1"), 1);
    EXPECT_EQ(t.row("s"), 2);
    EXPECT_EQ(t.row("h"), 3);
    EXPECT_EQ(t.row("w"), 3);
    EXPECT_EQ(t.row("k"), 4);
    EXPECT_GT(t.col("w"), t.col("h"));
}

TEST(LayoutPlacement, EmptyViewChangesNothing) {
    LayoutTree t;
    SVGLayout layout;
    EXPECT_FALSE(layout.Organise(t.tree));
    t.persons({"a"});
    t.tree.AddViewpoint("v", "View", 5, 5);
    t.tree.SetViewpointKey("v");
    EXPECT_FALSE(layout.Organise(t.tree));
    EXPECT_EQ(t.grid(), qMakePair(5, 5));
    EXPECT_EQ(t.cell("a"), qMakePair(1, 1));
}

TEST(LayoutPlacement, RevertRestoresOldCellsAndKeepsGrownGrid) {
    LayoutTree t(2, 2);
    t.persons({"a", "b", "c", "d", "e"});
    t.family("f", "a", "b", {"c", "d", "e"});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.grid(), qMakePair(3, 2));
    layout.Revert(t.tree);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(t.cell(t.tree.GetPersons().keyAt(i - 1)), qMakePair(i, i));
    EXPECT_EQ(t.grid(), qMakePair(3, 2));
}

// Revert and Adjust skip persons deleted since, and do nothing before a layout.
TEST(LayoutPlacement, RevertAfterEditsSkipsDeletedPersons) {
    LayoutTree t;
    t.persons({"a", "b", "c"});
    SVGLayout layout;
    layout.Revert(t.tree);
    EXPECT_FALSE(layout.Adjust(t.tree));
    ASSERT_TRUE(layout.Organise(t.tree));
    t.tree.RemPerson("b");
    layout.Revert(t.tree);
    EXPECT_EQ(t.cell("a"), qMakePair(1, 1));
    EXPECT_EQ(t.cell("c"), qMakePair(3, 3));
    EXPECT_FALSE(t.tree.GetPersons().contains("b"));
}

// A viewpoint lays out in its own cells; the full tree keeps its cells, and
// children the viewpoint leaves out are left out.
TEST(LayoutPlacement, ViewpointWithSomeChildren) {
    LayoutTree t;
    t.persons({"ann", "bob", "cat", "dan"});
    auto fam = t.family("f1", "ann", "bob", {"cat", "dan"});
    auto v = t.tree.AddViewpoint("v", "View", 12, 8);
    for (const char* k : {"ann", "bob", "cat"}) v->AddPerRef(k, 7, 7, true);
    v->AddFamRef(*fam);
    t.tree.SetViewpointKey("v");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    auto at = [&](const char* k) {
        int c = 0, r = 0;
        v->GetPerColRow(k, c, r, true);
        return qMakePair(c, r);
    };
    EXPECT_EQ(at("ann").second, 1);
    EXPECT_EQ(at("bob").second, 1);
    EXPECT_EQ(at("cat").second, 2);
    EXPECT_FALSE(v->PersonExists("dan"));
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(t.cell(t.tree.GetPersons().keyAt(i - 1)), qMakePair(i, i));
}

// More generations than the old 100-row tables held.
TEST(LayoutPlacement, DeepLineGrowsRows) {
    LayoutTree t(12, 8);
    t.person("p0");
    t.person("s0");
    for (int g = 1; g <= 150; ++g) {
        t.person(QString("p%1").arg(g));
        t.person(QString("s%1").arg(g));
        t.family(QString("f%1").arg(g), QString("p%1").arg(g - 1), QString("s%1").arg(g - 1), {QString("p%1").arg(g)});
    }
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(t.row("p150"), 151);
    EXPECT_EQ(t.grid().second, 151);
}

// The layout of a vertical display is that of a horizontal one: the same
// tree-orientation cells, shown transposed.
TEST(LayoutPlacement, VerticalEqualsHorizontalTransposed) {
    auto build = [](LayoutTree& t) {
        t.persons({"a", "b", "c", "d", "e", "f", "g", "x"});
        t.family("f1", "a", "b", {"c", "d", "e"});
        t.family("f2", "e", "f", {"g"});
    };
    LayoutTree horiz, vert;
    build(horiz);
    build(vert);
    vert.tree.SetHoriz(false);
    SVGLayout l1, l2;
    ASSERT_TRUE(l1.Organise(horiz.tree));
    ASSERT_TRUE(l2.Organise(vert.tree));
    for (const QString& k : horiz.tree.GetPersons().keys()) {
        EXPECT_EQ(horiz.cell(k), vert.cell(k)) << k.toStdString();
        const auto& h = horiz.tree.GetPersons().value(k);
        const auto& v = vert.tree.GetPersons().value(k);
        EXPECT_EQ(h->GetCol(), v->GetRow());
        EXPECT_EQ(h->GetRow(), v->GetCol());
    }
    EXPECT_EQ(horiz.grid(), vert.grid());
}

// Roots go by the column they stand at, then by tree: the second sort starts
// from the order of the first, and ties of tree and column keep the order
// its exchanges give. Couples 2, 3 and 4 share descendants (one tree), as do
// couples 0 and 1; the first persons stand at columns 2, 2, 1, 2, 1.
TEST(LayoutPlacement, RootsByColumnThenTree) {
    LayoutTree t(30, 12);
    const int cols[] = {2, 2, 1, 2, 1};
    for (int i = 0; i < 5; ++i) {
        t.person(QString("a%1").arg(i), "", cols[i], 1 + i);
        t.person(QString("b%1").arg(i), "", 10, 1 + i);
        t.person(QString("c%1").arg(i), "", 11, 1 + i);
        t.family(QString("f%1").arg(i), QString("a%1").arg(i), QString("b%1").arg(i), {QString("c%1").arg(i)});
    }
    t.family("g01", "c0", "c1");
    t.family("g24", "c2", "c4");
    t.family("g43", "c4", "c3");
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    const QStringList expected{"a2", "a4", "a3", "a0", "a1"};
    for (int i = 0; i + 1 < expected.size(); ++i)
        EXPECT_LT(t.col(expected[i]), t.col(expected[i + 1])) << expected[i].toStdString();
    for (const QString& k : expected) EXPECT_EQ(t.row(k), 1);
}

// A push that runs along a whole row goes on from item to item without
// growing the call stack: 8,190 couples with a child each, the first pass
// pushing every child block of the row along, lay out on a thread with a
// small stack.
TEST(LayoutPlacement, LongRowOfPushesOnSmallStack) {
    LayoutTree t(SVGLayout::kMaxGridSide, 10);
    t.tree.SetStepped(false);
    const int couples = 8190;
    for (int i = 0; i < couples; ++i) {
        const QString n = QString::number(i);
        t.person("a" + n, "", 1 + i % 100, 1 + i / 100);
        t.person("b" + n, "", 1 + i % 100, 1 + i / 100);
        t.person("c" + n, "", 1 + i % 100, 1 + i / 100);
        t.family("f" + n, "a" + n, "b" + n, {"c" + n});
    }
    bool done = false;
    QThread* thread = QThread::create([&] {
        SVGLayout layout;
        done = layout.Organise(t.tree);
    });
    thread->setStackSize(256 * 1024);
    thread->start();
    thread->wait();
    delete thread;
    ASSERT_TRUE(done);
    QSet<QPair<int, int>> cells;
    for (const QString& k : t.tree.GetPersons().keys()) cells.insert(t.cell(k));
    EXPECT_EQ(cells.size(), 3 * couples);
    for (int i = 0; i < couples; i += 97) {
        const QString n = QString::number(i);
        EXPECT_EQ(t.row("a" + n), 1);
        EXPECT_EQ(t.row("c" + n), 2);
    }
    // The child of the first couple was pushed right, under its parents, and
    // the blocks behind it went along.
    EXPECT_EQ(t.col("c0"), 2);
    EXPECT_GT(t.col("c100"), t.col("c0"));
}

// A child pulled under its parents: targets are rounded with halves going to
// the even number, after a half-column shift when Stepped puts the children's
// (even) row half a column to the right.
TEST(LayoutPlacement, ChildPulledUnderParentsRoundsHalvesToEven) {
    const struct {
        bool stepped;
        bool single;  // a person of its own stands left of the couple
        int child;
    } cases[] = {
        {false, false, 2},  // parents at 1, 2: nearest(1.5) = 2
        {true, false, 1},   // nearest(1.5 - 0.5) = 1
        {false, true, 2},   // parents at 2, 3: nearest(2.5) = 2
        {true, true, 2},    // nearest(2.5 - 0.5) = 2
    };
    for (const auto& c : cases) {
        LayoutTree t;
        t.tree.SetStepped(c.stepped);
        if (c.single) t.person("solo");
        t.persons({"a", "b", "c"});
        t.family("f", "a", "b", {"c"});
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree));
        const int parents = c.single ? 2 : 1;
        EXPECT_EQ(t.cell("a"), qMakePair(parents, 1)) << c.stepped << c.single;
        EXPECT_EQ(t.cell("b"), qMakePair(parents + 1, 1));
        EXPECT_EQ(t.cell("c"), qMakePair(c.child, 2)) << c.stepped << c.single;
    }
}

// Trees in bands of their own, each with parents that the passes move: one
// pass per tree. The warning shows once the counter reaches 20, whether the
// 21st pass moves anything or not; the layout is applied all the same, and
// a later Adjust goes on.
TEST(LayoutPlacement, PassLimitWarning) {
    const struct {
        int trees;
        bool warned;
        bool adjustMoves;
    } cases[] = {{19, false, false}, {20, true, false}, {21, true, false}, {22, true, true}};
    for (const auto& c : cases) {
        LayoutTree t(5, 4);
        t.tree.SetStepped(false);
        for (int i = 0; i < c.trees; ++i) {
            const QString n = QString::number(i);
            QStringList kids;
            for (int k = 0; k < 5; ++k) kids << QString("k%1_%2").arg(i).arg(k);
            t.person("a" + n, "", 1, 1 + 2 * i);
            t.person("b" + n, "", 2, 1 + 2 * i);
            for (int k = 0; k < 5; ++k) t.person(kids[k], "", 1 + k, 2 + 2 * i);
            t.family("f" + n, "a" + n, "b" + n, kids);
        }
        RecordingReporter reporter;
        SVGLayout layout(&reporter);
        ASSERT_TRUE(layout.Organise(t.tree));
        const QList<QString> warnings = reporter.texts(RecordingReporter::Entry::Warn);
        if (c.warned)
            EXPECT_EQ(warnings, QList<QString>{"Auto-Layout operation applied more than 20 column adjustments"}) << c.trees;
        else
            EXPECT_TRUE(warnings.isEmpty()) << c.trees;
        // Parents over the middle of their five children: moved by a pass.
        const int moved = qMin(c.trees, 21);
        for (int i = 0; i < c.trees; ++i) {
            const QString n = QString::number(i);
            EXPECT_EQ(t.cell("a" + n), qMakePair(1, 1 + 2 * i)) << c.trees << " " << i;
            EXPECT_EQ(t.cell("b" + n), qMakePair(i < moved ? 3 : 2, 1 + 2 * i)) << c.trees << " " << i;
        }
        EXPECT_EQ(layout.Adjust(t.tree), c.adjustMoves) << c.trees;
        EXPECT_EQ(t.col("b" + QString::number(c.trees - 1)), 3);
    }
}

// A layout that needs more than 16383 rows or columns is refused: nobody
// moves and the grid keeps its size.
TEST(LayoutPlacement, GridSideLimitRefused) {
    const int n = SVGLayout::kMaxGridSide + 1;
    for (const bool wide : {false, true}) {
        LayoutTree t(1, 1);
        QStringList kids;
        for (int i = 0; i < n; ++i) {
            kids << QString("p%1").arg(i);
            t.person(kids.last(), "", 1 + i % 7, 1 + i / 7);
        }
        if (wide) {
            t.person("pa", "", 1, 9000);
            t.person("ma", "", 2, 9000);
            t.family("f", "pa", "ma", kids);
        }
        SVGLayout layout;
        const AppError e = errorOf([&] { layout.Organise(t.tree); });
        EXPECT_EQ(e.source, "SVGLayout");
        EXPECT_EQ(e.description, QString("The layout needs a grid side of %1 cells; a grid can have at most 16383 "
                                         "columns and 16383 rows").arg(n))
            << wide;
        for (int i = 0; i < n; i += 101) EXPECT_EQ(t.cell(kids[i]), qMakePair(1 + i % 7, 1 + i / 7));
        EXPECT_EQ(t.grid(), qMakePair(1, 1));
    }
}

// The kept layout remembers its viewpoint: Revert puts back only the persons
// the viewpoint still holds, never adds a person it dropped, and writes
// nothing once the viewpoint itself is gone.
TEST(LayoutPlacement, RevertKeepsToTheViewpointItLaidOut) {
    LayoutTree t;
    t.persons({"a", "b", "c"});
    auto v = t.tree.AddViewpoint("v", "View", 12, 8);
    v->AddPerRef("a", 5, 5, true);
    v->AddPerRef("b", 6, 5, true);
    v->AddPerRef("c", 7, 5, true);
    t.tree.SetViewpointKey("v");
    auto at = [&](const char* k) {
        int c = 0, r = 0;
        v->GetPerColRow(k, c, r, true);
        return qMakePair(c, r);
    };
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    EXPECT_EQ(at("a"), qMakePair(1, 1));
    EXPECT_EQ(at("c"), qMakePair(3, 1));
    v->RemPerRef("b");
    layout.Revert(t.tree);
    EXPECT_EQ(at("a"), qMakePair(5, 5));
    EXPECT_EQ(at("c"), qMakePair(7, 5));
    EXPECT_FALSE(v->PersonExists("b"));
    // The full tree's own cells are not the viewpoint's: untouched.
    EXPECT_EQ(t.cell("b"), qMakePair(2, 2));

    ASSERT_TRUE(layout.Organise(t.tree));
    t.tree.SetViewpointKey("");
    t.tree.DeleteViewpoint("v");
    layout.Revert(t.tree);
    EXPECT_FALSE(layout.Adjust(t.tree));
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(t.cell(t.tree.GetPersons().keyAt(i - 1)), qMakePair(i, i));
}
