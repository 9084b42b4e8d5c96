#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include <QFile>
#include <QtGlobal>
#include <QTemporaryDir>

#include "LayoutFixture.h"
#include "DescentTrees.h"
#include "LayoutRules.h"
#include "SVGDisplay.h"
#include "RandomTrees.h"

namespace {

// Compares `trees` small random trees with the rules: layered generations,
// and tangled ones whose lines descend from themselves; Stepped and the
// vertical display in turn.
void compareSmallRandomTrees(std::mt19937& rng, int trees) {
    for (int round = 0; round < trees; ++round) {
        LayoutTree t(4 + int(rng() % 12), 3 + int(rng() % 6));
        randomTree(t, rng, round % 3 == 2);
        t.tree.SetStepped(round % 2 == 1);
        t.tree.SetHoriz(round % 5 != 4);
        ASSERT_EQ(LayoutRules::differenceFromLayout(t.tree), "") << "round " << round;
    }
}

}  // namespace

TEST(LayoutRules, SmallRandomTrees) {
    std::mt19937 rng(41);
    compareSmallRandomTrees(rng, 3000);
}

// Families of descent of 20 to 3,000 persons, with cousins and lines that
// marry each other and second marriages, in grids of several widths. The
// second series holds trees where a push taken back is let through later,
// once a row on its way has counted its most shifts and stops it short.
TEST(LayoutRules, FamiliesOfDescent) {
    for (const unsigned seed : {4141u, 8u}) {
        std::mt19937 rng(seed);
        for (int round = 0; round < 400; ++round) {
            const int persons = round < 300   ? 20 + int(rng() % 200)
                                : round < 390 ? 200 + int(rng() % 800)
                                              : 3000;
            const int cols = 10 + int(rng() % 120);
            LayoutTree t(cols, persons / cols + 2);
            lineageTree(t, rng, persons, cols);
            t.tree.SetStepped(round % 2 == 1);
            const std::string difference = LayoutRules::differenceFromLayout(t.tree);
            ASSERT_EQ(difference, "")
                << "seed " << seed << ", round " << round << ", " << persons << " persons";
        }
    }
}

namespace {

// Lays out a tree of families of descent as the benchmarks make them and
// compares it with the rules; "" when they agree.
std::string descentDifference(int persons, unsigned seed, int cols, bool stepped) {
    DescentTrees builder(persons, seed, cols);
    const std::unique_ptr<SVGTree> tree = builder.build();
    tree->SetStepped(stepped);
    const std::string difference = LayoutRules::differenceFromLayout(*tree);
    if (difference.empty()) return difference;
    return std::to_string(persons) + " persons, seed " + std::to_string(seed) + ", " + std::to_string(cols) +
           " columns" + (stepped ? ", stepped" : "") + ": " + difference;
}

// Compares `trees` families of descent of the benchmarks' shape with the
// rules: 500 to 3,000 persons (every twentieth 3,000 to 8,000 when `larger`)
// over grids of 100 to 1,000 columns, each with a seed of its own.
void compareDescents(std::mt19937& rng, int trees, bool larger) {
    for (int round = 0; round < trees; ++round) {
        const int persons =
            larger && round % 20 == 19 ? 3000 + int(rng() % 5001) : 500 + int(rng() % 2501);
        const int cols = 100 + int(rng() % 901);
        const unsigned seed = rng();
        ASSERT_EQ(descentDifference(persons, seed, cols, round % 4 == 3), "") << "round " << round;
    }
}

// A sweep by hand: KV_LAYOUT_SWEEP asks for its size (0: none), and
// KV_LAYOUT_SWEEP_SEED for its seed (1 when unset).
int sweepSize() {
    return qEnvironmentVariableIntValue("KV_LAYOUT_SWEEP");
}
std::mt19937 sweepNumbers() {
    const int seed = qEnvironmentVariableIntValue("KV_LAYOUT_SWEEP_SEED");
    return std::mt19937(unsigned(seed ? seed : 1));
}

}  // namespace

// Families of descent of the benchmarks' shape. Their pushes carry persons
// through long stretches of shared rows before the rows behind clear the
// way, and every such push must run to its end before it is judged.
TEST(LayoutRules, FamiliesOfDescentAsBenchmarked) {
    std::mt19937 rng(4848);
    compareDescents(rng, 120, false);
}

// The same over as many trees as a sweep asks for, larger ones among them;
// run by hand before a change to the layout lands.
TEST(LayoutRules, FamiliesOfDescentSweep) {
    if (sweepSize() <= 0) GTEST_SKIP() << "KV_LAYOUT_SWEEP=<trees> runs it";
    std::mt19937 rng = sweepNumbers();
    compareDescents(rng, sweepSize(), true);
}

// Small random trees, layered and tangled, ten for each tree a sweep asks for.
TEST(LayoutRules, SmallRandomTreesSweep) {
    if (sweepSize() <= 0) GTEST_SKIP() << "KV_LAYOUT_SWEEP=<trees> runs it";
    std::mt19937 rng = sweepNumbers();
    compareSmallRandomTrees(rng, 10 * sweepSize());
}

// A unit of three (A married to B and to C) whose couples' parents stand
// crossed: placed inside the children's block of G1 and G2, it is marked
// crossed and never moves, also when the first pass pushes E, whose block
// stands before it in the row.
TEST(LayoutRules, CrossedUnitInABlockStays) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("TreeCrossed.txt");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("H Title=Crossed,Stepped=False,DesCols=20,DesRows=6\n"
              "P k1=m(1,1):K1 1840\nP k2=f(2,1):K2 1842\nP g1=m(3,1):G1 1840\nP g2=f(4,1):G2 1842\n"
              "P h1=m(5,1):H1 1840\nP h2=f(6,1):H2 1842\nP e=m(7,1):E 1865\nP a=m(8,1):A 1866\n"
              "P b=f(9,1):B 1868\nP c=f(10,1):C 1870\nP d=m(11,1):D 1890\nP x=m(12,1):X 1900\n"
              "F fk=k1+k2:e\nF f2=g1+g2:b\nF f1=h1+h2:a\nF fab=a+b:d\nF fac=a+c:x\n");
    out.close();
    SVGTree tree;
    tree.LoadFile(std::make_shared<SVGDisplay>(), file, false);
    auto cell = [&](const char* key) {
        const SVGBoxPtr box = tree.GetPersons().value(key);
        return qMakePair(box->GetTreeCol(), box->GetTreeRow());
    };
    EXPECT_EQ(LayoutRules::differenceFromLayout(tree), "");
    // The unit stands where the placement put it, in the order A, B, C.
    EXPECT_EQ(cell("a"), qMakePair(2, 2));
    EXPECT_EQ(cell("b"), qMakePair(3, 2));
    EXPECT_EQ(cell("c"), qMakePair(4, 2));
    EXPECT_EQ(cell("e"), qMakePair(1, 2));
}
