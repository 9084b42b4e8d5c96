#pragma once

#include <QHash>

#include <utility>
#include <vector>

#include "LayoutRecords.h"

// The pushes of the adjustment passes: a push moves a unit's persons (or a
// family's block of children) right to a target column and carries what
// stands behind them along their row lists, never moving anyone left. A push
// that would put two persons in one cell is taken back.
class LayoutPushes {
public:
    explicit LayoutPushes(LayoutRecords& records) : r_(records) {}

    // Forgets what it knew of an earlier layout.
    void reset() { prepared_ = false; }
    // Pushes `item` (a unit, negative, from position startPos in its row; or
    // a family's block) to `target`, counting the shift in `row`; true when
    // anything moved and stood.
    bool guardedPush(int item, int startPos, int row, int target);

private:
    struct PushFrame {
        int item = 0, row = 0, x = 0;
        bool moved = false, ended = false;
        int block = 0;  // family whose children's block is being pushed
        int index = 0;  // next unit of that block
        int next = 0;   // the row list's next item, pushed after the block
        bool tailDone = false;
        enum { None, BlockChild, Tail } waiting = None;
    };
    void prepare();
    bool openPush(int item, int startPos, int row, int target, PushFrame& fr);
    bool push(int item, int startPos, int row, int target);
    void movePersons(int u, int startPos, int& x, bool& ended, bool& moved);
    bool isActive(int item) const;
    void setActive(int item, bool active);

    // Persons per cell, by row and column.
    int& cellCount(int row, int col);
    void setColumn(int p, int col);

    static qint64 cellKey(int col, int row) { return (qint64(row) << 32) | quint32(col); }

    LayoutRecords& r_;
    bool prepared_ = false;

    // What pushes read of units and families, packed; a unit's persons
    // from unitPersons_[persons], a family's children from
    // familyChildren_[children]; a unit's index among the children of the
    // family whose block places it (-1 none).
    struct UnitLinks {
        int row = 0, next = 0, parentFam = 0;
        int persons = 0, count = 0;
        int indexInBlock = -1;
        bool crossed = false;
    };
    struct FamilyLinks {
        int row = 0, next = 0;
        int children = 0, childCount = 0;
    };
    std::vector<UnitLinks> units_;
    std::vector<int> unitPersons_;
    std::vector<FamilyLinks> families_;
    std::vector<int> familyChildren_;
    // Persons' columns and rows while the passes run; the records take the
    // columns of a push that stands.
    std::vector<int> col_, row_;
    std::vector<std::vector<int>> cellCounts_;
    QHash<qint64, int> overflowCells_;

    // The push under way: its frames, the items it is pushing, and what it
    // moved (person or unit, column before; rows whose shifts it counted).
    std::vector<PushFrame> stack_;
    std::vector<int> activeUnit_, activeFam_;
    int activeEpoch_ = 0;
    std::vector<std::pair<int, int>> moveLog_, unitLog_;
    std::vector<int> shiftLog_;
};
