#include <gtest/gtest.h>

#include <random>

#include "LayoutSort.h"

// The fast sort gives the exchange sort's own order, ties included, for
// lists of every length with few distinct keys (many ties), many distinct
// keys, and runs already in order or in reverse.
TEST(LayoutSort, FastSortKeepsTheExchangeOrder) {
    std::mt19937 rng(7);
    for (int round = 0; round < 4000; ++round) {
        const int n = round < 3000 ? int(rng() % 40) : int(rng() % 700);
        const int distinct = 1 + int(rng() % (round % 3 == 0 ? 3 : round % 3 == 1 ? 12 : 400));
        QVector<qint64> keys(n);
        for (auto& k : keys) k = qint64(rng() % distinct) - distinct / 2;
        if (round % 7 == 0) std::sort(keys.begin(), keys.end());
        if (round % 7 == 1) std::sort(keys.begin(), keys.end(), std::greater<>());
        QVector<int> ids(n);
        for (int i = 0; i < n; ++i) ids[i] = i;
        QVector<qint64> slowKeys = keys, fastKeys = keys;
        QVector<int> slowIds = ids, fastIds = ids;
        LayoutSort::ExchangeSort(slowKeys, slowIds);
        LayoutSort::ExchangeSortFast(fastKeys, fastIds);
        ASSERT_EQ(fastIds, slowIds) << "round " << round << ", " << n << " keys";
        ASSERT_EQ(fastKeys, slowKeys);
    }
}

// Ties do not keep the list's order: the exchange sort's own example.
TEST(LayoutSort, TiesFollowTheExchanges) {
    QVector<qint64> keys{1, 1, 0, 1, 0};
    QVector<int> ids{1, 2, 3, 4, 5};
    LayoutSort::ExchangeSortFast(keys, ids);
    EXPECT_EQ(ids, (QVector<int>{3, 5, 1, 4, 2}));
    EXPECT_EQ(keys, (QVector<qint64>{0, 0, 1, 1, 1}));
}
