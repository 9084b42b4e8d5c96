#include <gtest/gtest.h>

#include <random>

#include "LayoutFixture.h"
#include "LayoutRules.h"
#include "RandomTrees.h"

// Small random trees: layered generations, and tangled ones whose lines
// descend from themselves; Stepped and the vertical display in turn.
TEST(LayoutRules, SmallRandomTrees) {
    std::mt19937 rng(41);
    for (int round = 0; round < 3000; ++round) {
        LayoutTree t(4 + int(rng() % 12), 3 + int(rng() % 6));
        randomTree(t, rng, round % 3 == 2);
        t.tree.SetStepped(round % 2 == 1);
        t.tree.SetHoriz(round % 5 != 4);
        const std::string difference = LayoutRules::differenceFromLayout(t.tree);
        ASSERT_EQ(difference, "") << "round " << round;
    }
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
