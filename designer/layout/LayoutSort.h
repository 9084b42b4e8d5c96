#pragma once

#include <QVector>

// The exchange sort the layout orders by, and the same order found faster.
class LayoutSort {
public:
    // Ascending exchange sort of ids by keys: for each position i and each
    // later position j in turn the two swap when the key at i is greater than
    // the key at j. Equal keys end in the order this gives, which the layout
    // depends on. Time grows with the square of the count: for short lists.
    static void ExchangeSort(QVector<qint64>& keys, QVector<int>& ids);
    // The same order, found in time n log n, for long lists.
    static void ExchangeSortFast(QVector<qint64>& keys, QVector<int>& ids);
    // The exchange sort's order: the plain sort for the few children of a
    // family or spouses of a person, the fast one for a list long enough that
    // the plain one's square would show.
    static void sortByYear(QVector<qint64>& years, QVector<int>& ids);
};
