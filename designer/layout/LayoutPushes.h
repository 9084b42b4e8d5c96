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
    // One walk along a row: the item a push opened there, then the items
    // behind it in the row list, each a push of its own that the walk
    // carries on with while none ends it.
    struct Walk {
        int row = 0, x = 0;        // its row, and the column the next person takes
        int block = 0, index = 0;  // the block being walked, and its next child
        int next = 0;              // the row item behind the current one
        int items = 0;             // items opened so far
        int lastMoved = 0;         // the last of them that moved, by count; 0: none
        int unitsFrom = 0;         // its units in walkUnits_
        bool ended = false;        // the current item ended the walk
        bool waitingTail = false;  // its row list goes on in another row
    };
    void prepare();
    void packRecords();
    int packedItem(int item) const;
    bool openItem(Walk& w, int item, int startPos);
    bool startWalk(int item, int startPos, int row, int target);
    bool finishWalk(const Walk& w);
    bool push(int item, int startPos, int row, int target);
    bool movePersons(int u, int startPos, int& x, bool& ended);

    // The persons in one cell: how many, and their indices XORed together
    // (with two, either names the other).
    struct Cell {
        int count = 0, persons = 0;
        void enter(int p) {
            ++count;
            persons ^= p;
        }
        void leave(int p) {
            --count;
            persons ^= p;
        }
    };
    Cell& cell(int row, int col);
    Cell& cellBeyond(int row, int col);
    Cell* rowCells(int row, int last);
    Cell* growRow(int row, int last);
    Cell& overflowCell(int row, int col);
    void setColumn(int p, int col);
    void moveOn(int p, int col);
    void noteShared(int p, int row, int col);
    bool mayMoveAgain(int p) const;
    bool sharedToTheEnd(int row);
    bool sharedInFullRow(int row);
    bool decided();

    static qint64 cellKey(int col, int row) { return (qint64(row) << 32) | quint32(col); }

    // What a push reads, as areas: a row's stretch of columns (its persons'
    // columns and its cells' counts).
    int cellArea(int row, int col) const;
    void noteRead(int area);
    // A push that was let into a row: the shifts it had counted there so far.
    void noteRowOpened(int row);
    struct Refused;
    bool stillRefused(const Refused& known) const;
    void stampChanges();

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
    // A child of a family's block as the block's walk needs it: its unit,
    // the unit's own row (0: none) and whether this block places it.
    struct BlockChild {
        int unit = 0, row = 0;
        bool placed = false;
    };
    std::vector<BlockChild> familyChildren_;
    // Persons' columns and rows while the passes run; the records take the
    // columns of a push that stands.
    struct At {
        int col = 0, row = 0;
    };
    std::vector<At> at_;
    // Persons, units and families here are numbered in the order of the row
    // lists: the number of each record, the record of each number; and each
    // person's unit.
    std::vector<int> personNumber_, personRecord_, unitNumber_, unitRecord_, familyNumber_, familyRecord_;
    std::vector<int> unitOf_;
    // Units' first columns while the passes run, as for persons.
    std::vector<int> unitCol_;
    std::vector<std::vector<Cell>> cells_;
    QHash<qint64, Cell> overflowCells_;
    qint64 cellsInTables_ = 0;
    // While a push runs: by row, each person it moved to a cell where
    // another stood, with that column (rows that have any, listed); and for
    // each family whose block it is walking, the walk that walks it.
    struct SharedCell {
        int person = 0, col = 0;
    };
    std::vector<std::vector<SharedCell>> sharedByRow_;
    std::vector<int> sharedRows_;
    std::vector<int> blockWalk_;
    bool takenBack_ = false;  // its fate was known before its end

    // The push under way: its walks, the units and blocks it is pushing
    // (marked with the push's number) with the walks' units listed, and
    // what it moved (person or unit, column before; row and shifts counted).
    std::vector<Walk> walks_;
    std::vector<int> walkUnits_;
    std::vector<int> activeUnit_, activeFam_;
    int activeEpoch_ = 0;
    std::vector<std::pair<int, int>> moveLog_, unitLog_, shiftLog_;

    // Pushes taken back or moving nothing, remembered by their arguments
    // with the areas they read; one is answered again without running while
    // no push that stood has changed any of those areas since.
    struct Refused {
        int step = 0;          // pushes that stood before it ran
        int from = 0, to = 0;  // its areas in readAreas_
        // Rows it was let into, in readRows_, each with the most shifts the
        // row may count before a later push would be refused there.
        int rowsFrom = 0, rowsTo = 0;
    };
    QHash<std::pair<qint64, qint64>, Refused> refused_;
    std::vector<int> readAreas_;
    std::vector<std::pair<int, int>> readRows_;
    // By row, for the push under way: the push that last let it in, its
    // shifts when first let in, and the most shifts counted since at a time
    // it was let in.
    struct RowOpened {
        int seen = 0, before = 0, gained = 0;
    };
    std::vector<RowOpened> rowOpened_;
    std::vector<int> rowsOpened_;
    std::vector<int> areaStamp_, areaSeen_;
    int areaRows_ = 0, areaCols_ = 0;
    int step_ = 0, seenEpoch_ = 0;
};
