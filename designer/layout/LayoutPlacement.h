#pragma once

#include <QVector>

#include <utility>
#include <vector>

#include "LayoutRecords.h"

// Row placement: every unit and every family's block of children appended
// at the right end of its row's list, descendants one row down per
// generation, one tree after another, a tree that would pass the grid's
// width starting a new band of rows.
class LayoutPlacement {
public:
    explicit LayoutPlacement(LayoutRecords& records) : r_(records) {}

    // Places the roots in the order given, then the units no root reaches.
    void placeAll(const QVector<int>& roots);

private:
    int endColumn(int item) const;
    int rowEnd(int row) const;
    void placeUnit(int u, int col, int row);
    void placeFamily(int f, int col, int row);
    void appendItem(int row, int item);
    void placeRootTree(int u, int row, int tree);
    bool needsOwnRow(int u) const;
    bool fits(int u, int row);
    int firstEmptyRow();

    LayoutRecords& r_;
    // Marks, widths by row and work list of the fit test.
    std::vector<int> unitMark_;
    int markWalk_ = 0;
    std::vector<int> fitWidth_;
    std::vector<std::pair<int, int>> fitStack_;
};
