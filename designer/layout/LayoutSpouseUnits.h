#pragma once

#include <QVector>

#include <vector>

#include "LayoutRecords.h"

// Spouse units (a person with everyone of the view linked to it through
// marriages, in one row, in marriage-chain order), the numbering of the
// view's separate trees, and the uncrossing of couples after placement.
class LayoutSpouseUnits {
public:
    explicit LayoutSpouseUnits(LayoutRecords& records);

    // Builds the unit that holds `person`, whose unit is still 0.
    void buildUnit(int person);
    // Numbers the trees of the roots, given in the order of their columns.
    void numberTrees(const QVector<int>& roots);
    // Swaps a couple whose parents' blocks stand in the opposite order; a
    // larger unit so crossed is marked and never shifted.
    void uncross();

private:
    QVector<int> chainOrder(const QVector<int>& fams);

    LayoutRecords& r_;
    // Marks of the unit being built on persons placed in it and on persons
    // whose family set it has taken.
    std::vector<int> personStamp_, personSwept_;
};
