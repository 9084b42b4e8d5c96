#pragma once

#include <QHash>
#include <QPair>
#include <QSet>
#include <QVector>

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

    // Forgets the cell counts of an earlier layout.
    void reset();
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
    bool openPush(int item, int startPos, int row, int target, PushFrame& fr);
    bool push(int item, int startPos, int row, int target);
    bool pushUnitPersons(int u, int startPos, int& x, bool& ended, bool& moved);

    LayoutRecords& r_;
    // Row items (units negative, families positive) a push is working on.
    QSet<int> pushActive_;
    // Persons per cell while the adjustment passes run, and the moves of
    // the push under way (person or unit, column before), to take it back.
    QHash<qint64, int> cellCount_;
    bool cellsCounted_ = false;
    bool logging_ = false;
    std::vector<std::pair<int, int>> moveLog_, unitLog_;
    std::vector<int> movedStamp_;
    int moveWalk_ = 0;
    // The cells the persons of a push left and came to, sorted.
    std::vector<qint64> leftCells_, cameCells_;
};
