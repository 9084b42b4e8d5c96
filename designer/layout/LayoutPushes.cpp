#include "LayoutPushes.h"

#include <algorithm>

#include "SVGLayout.h"

namespace {

// Cells counted in plain tables at most; a row's table grows as pushes go
// past its end while the tables stay within this, and cells beyond are
// counted in a hash.
constexpr long long kCellTableLimit = 1LL << 24;

// Areas read by the refused pushes remembered, at most (64 MB).
constexpr std::size_t kRememberedAreas = std::size_t(1) << 24;

}  // namespace

// ---------------------------------------------------------------- set-up

void LayoutPushes::prepare() {
    if (prepared_) return;
    // What pushes read, packed: units' rows, row-list links, blocks and
    // persons; families' rows, links and children; persons' cells.
    packRecords();
    units_.assign(r_.units.size(), {});
    unitPersons_.clear();
    unitCol_.assign(r_.units.size(), 0);
    for (int u = 1; u < r_.units.size(); ++u) {
        const LayoutUnitRec& rec = r_.units[unitRecord_[u]];
        units_[u] = {rec.row, packedItem(rec.next), familyNumber_[rec.parentFam], int(unitPersons_.size()),
                     rec.count, -1, rec.crossed};
        for (int pos = 0; pos < rec.count; ++pos) unitPersons_.push_back(personNumber_[r_.unitPerson(rec, pos)]);
        unitCol_[u] = rec.col;
    }
    families_.assign(r_.families.size(), {});
    familyChildren_.clear();
    for (int f = 1; f < r_.families.size(); ++f) {
        const int record = familyRecord_[f];
        const LayoutFamilyRec& rec = r_.families[record];
        families_[f] = {rec.row, packedItem(rec.next), int(familyChildren_.size()), int(rec.children.size())};
        for (int i = 0; i < rec.children.size(); ++i) {
            const int c = unitNumber_[rec.children[i]];
            const bool placed = r_.units[rec.children[i]].parentFam == record;
            familyChildren_.push_back({c, units_[c].row, placed});
            if (placed) units_[c].indexInBlock = i;
        }
    }
    at_.assign(r_.persons.size(), {});
    unitOf_.assign(r_.persons.size(), 0);
    for (int p = 1; p < r_.persons.size(); ++p) {
        const LayoutPersonRec& rec = r_.persons[personRecord_[p]];
        at_[p] = {rec.newCol, rec.newRow};
        unitOf_[p] = unitNumber_[rec.unit];
    }

    // Every row's table reaches past the rightmost column of the layout, so
    // that pushes rarely go beyond it; a layout both tall and wide keeps
    // each row's table to its own persons.
    int rows = int(r_.rowHead.size()), maxCol = 0;
    std::vector<int> rowMax(rows, 0);
    for (int p = 1; p < r_.persons.size(); ++p) {
        rows = std::max(rows, at_[p].row + 1);
        if (std::size_t(at_[p].row) >= rowMax.size()) rowMax.resize(at_[p].row + 1, 0);
        rowMax[at_[p].row] = std::max(rowMax[at_[p].row], at_[p].col);
        maxCol = std::max(maxCol, at_[p].col);
    }
    const bool wide = qint64(rows) * (maxCol + 64) <= kCellTableLimit;
    cells_.assign(rows, {});
    overflowCells_.clear();
    cellsInTables_ = 0;
    for (int row = 0; row < int(rowMax.size()); ++row)
        if (rowMax[row] > 0) {
            cells_[row].assign((wide ? maxCol : rowMax[row]) + 64, Cell());
            cellsInTables_ += qint64(cells_[row].size());
        }
    for (int p = 1; p < r_.persons.size(); ++p) cell(at_[p].row, at_[p].col).enter(p);
    sharedByRow_.assign(rows + 1, {});
    sharedRows_.clear();
    blockWalk_.assign(r_.families.size(), 0);

    activeUnit_.assign(r_.units.size(), 0);
    activeFam_.assign(r_.families.size(), 0);

    // Areas of 32 columns in each row, the last column area and the last row
    // taking in all beyond.
    areaRows_ = rows + 1;
    areaCols_ = (maxCol >> 5) + 2;
    areaStamp_.assign(std::size_t(areaRows_) * areaCols_, 0);
    areaSeen_.assign(areaStamp_.size(), 0);
    refused_.clear();
    readAreas_.clear();
    readRows_.clear();
    rowOpened_.assign(r_.rowShifts.size(), {});
    step_ = 0;
    seenEpoch_ = 0;
    prepared_ = true;
}

// Persons, units and families are numbered anew in the order they stand in
// the row lists (a family's block followed by the units it places), so that
// a push walking a row finds what it reads one after another.
void LayoutPushes::packRecords() {
    auto number = [](std::vector<int>& numbers, std::vector<int>& records, int size) {
        numbers.assign(std::size_t(size), 0);
        records.assign(1, 0);
        records.reserve(std::size_t(size));
    };
    number(personNumber_, personRecord_, int(r_.persons.size()));
    number(unitNumber_, unitRecord_, int(r_.units.size()));
    number(familyNumber_, familyRecord_, int(r_.families.size()));
    auto take = [](std::vector<int>& numbers, std::vector<int>& records, int record) {
        if (numbers[record]) return;
        numbers[record] = int(records.size());
        records.push_back(record);
    };
    auto takeUnit = [&](int u) {
        take(unitNumber_, unitRecord_, u);
        const LayoutUnitRec& rec = r_.units[u];
        for (int pos = 0; pos < rec.count; ++pos) take(personNumber_, personRecord_, r_.unitPerson(rec, pos));
    };
    for (int row = 1; row < r_.rowHead.size(); ++row) {
        for (int item = r_.rowHead[row]; item;) {
            if (item < 0) {
                takeUnit(-item);
                item = r_.units[-item].next;
                continue;
            }
            take(familyNumber_, familyRecord_, item);
            const LayoutFamilyRec& fam = r_.families[item];
            for (int c : fam.children)
                if (r_.units[c].row == 0 && r_.units[c].parentFam == item) takeUnit(c);
            item = fam.next;
        }
    }
    for (int u = 1; u < r_.units.size(); ++u) takeUnit(u);
    for (int f = 1; f < r_.families.size(); ++f) take(familyNumber_, familyRecord_, f);
    for (int p = 1; p < r_.persons.size(); ++p) take(personNumber_, personRecord_, p);
}

// A row item (unit negative, family positive, 0 none) by the numbers here.
int LayoutPushes::packedItem(int item) const {
    return item < 0 ? -unitNumber_[-item] : familyNumber_[item];
}

// ---------------------------------------------------------------- cells

LayoutPushes::Cell& LayoutPushes::overflowCell(int row, int col) {
    return overflowCells_[cellKey(col, row)];
}

inline LayoutPushes::Cell& LayoutPushes::cell(int row, int col) {
    if (std::size_t(row) < cells_.size()) {
        std::vector<Cell>& cells = cells_[row];
        if (std::size_t(col) < cells.size()) return cells[col];
    }
    return cellBeyond(row, col);
}

// A cell past its row's table: the table grows while the tables stay within
// their bound, else the cell is counted in the hash.
LayoutPushes::Cell& LayoutPushes::cellBeyond(int row, int col) {
    if (row >= 0 && row < int(cells_.size()) && col >= 0)
        if (Cell* cells = rowCells(row, col)) return cells[col];
    return overflowCell(row, col);
}

inline void LayoutPushes::setColumn(int p, int col) {
    At& at = at_[p];
    cell(at.row, at.col).leave(p);
    at.col = col;
    cell(at.row, col).enter(p);
}

// A person the push under way moves: a cell another person holds when it
// comes may decide the push's fate.
inline void LayoutPushes::moveOn(int p, int col) {
    At& at = at_[p];
    cell(at.row, at.col).leave(p);
    at.col = col;
    Cell& to = cell(at.row, col);
    to.enter(p);
    if (to.count > 1) noteShared(p, at.row, col);
}

// A row's table of cells when it holds every column up to `last` (grown to
// do so while the tables stay within their bound), else none. A walk whose
// running column is left of the grid (a push to a target there) moves no
// one and needs no table; growing one for it would only waste memory.
inline LayoutPushes::Cell* LayoutPushes::rowCells(int row, int last) {
    std::vector<Cell>& cells = cells_[row];
    if (std::size_t(last) < cells.size()) return cells.data();
    if (last < 0) return nullptr;
    return growRow(row, last);
}

LayoutPushes::Cell* LayoutPushes::growRow(int row, int last) {
    std::vector<Cell>& cells = cells_[row];
    const qint64 grown = std::max<qint64>(last + 64, qint64(cells.size()) * 3 / 2);
    if (cellsInTables_ + grown - qint64(cells.size()) > kCellTableLimit) return nullptr;
    cellsInTables_ += grown - qint64(cells.size());
    cells.resize(std::size_t(grown));
    return cells.data();
}

inline void LayoutPushes::noteShared(int p, int row, int col) {
    std::vector<SharedCell>& shared = sharedByRow_[row];
    if (shared.empty()) sharedRows_.push_back(row);
    shared.push_back({p, col});
}

// ---------------------------------------------------------------- a fate decided early

// Whether the push under way may still move person p: only a block of
// children that it is walking, and has not walked past p's unit yet, can,
// once p's row takes no more pushes.
bool LayoutPushes::mayMoveAgain(int p) const {
    const UnitLinks& unit = units_[unitOf_[p]];
    if (unit.row != 0 || !unit.parentFam || activeFam_[unit.parentFam] != activeEpoch_) return false;
    return unit.indexInBlock >= walks_[blockWalk_[unit.parentFam]].index;
}

// A row whose shifts have reached the limit lets no push of its own begin
// for the rest of this push, so its persons move only with the blocks being
// walked there. A cell that holds two persons, one of them moved by this
// push, and neither of whom those blocks will reach, stays shared to the
// end: the push will be taken back, whatever else it would move.
inline bool LayoutPushes::sharedToTheEnd(int row) {
    return std::as_const(r_.rowShifts)[row] >= SVGLayout::kRowShiftLimit && std::size_t(row) < sharedByRow_.size() &&
           !sharedByRow_[row].empty() && sharedInFullRow(row);
}

bool LayoutPushes::sharedInFullRow(int row) {
    std::vector<SharedCell>& shared = sharedByRow_[row];
    std::size_t kept = 0;
    bool decided = false;
    for (std::size_t i = 0; i < shared.size(); ++i) {
        const SharedCell s = shared[i];
        if (at_[s.person].col != s.col) continue;  // moved on since
        const Cell& c = cell(row, s.col);
        if (c.count < 2) continue;  // freed
        shared[kept++] = s;
        // With two persons in the cell the other is known; three or more
        // wait for the end of the push.
        if (!decided && c.count == 2 && !mayMoveAgain(s.person) && !mayMoveAgain(c.persons ^ s.person))
            decided = true;
    }
    shared.resize(kept);
    return decided;
}

// ---------------------------------------------------------------- refused pushes

inline int LayoutPushes::cellArea(int row, int col) const {
    const int r = std::clamp(row, 0, areaRows_ - 1);
    const int c = std::clamp(col >> 5, 0, areaCols_ - 1);
    return r * areaCols_ + c;
}

inline void LayoutPushes::noteRowOpened(int row) {
    if (std::size_t(row) >= rowOpened_.size()) rowOpened_.resize(row + 1);
    // The row's shifts grow only by the walks of this push there,
    // so they are as the push found them the first time it is let in.
    RowOpened& opened = rowOpened_[row];
    const int shifts = std::as_const(r_.rowShifts)[row];
    if (opened.seen != seenEpoch_) {
        opened = {seenEpoch_, shifts, 0};
        rowsOpened_.push_back(row);
    }
    opened.gained = std::max(opened.gained, shifts - opened.before);
}

inline void LayoutPushes::noteRead(int area) {
    if (areaSeen_[area] == seenEpoch_) return;
    areaSeen_[area] = seenEpoch_;
    readAreas_.push_back(area);
}

// A refused push would run as it ran while no push that stood since has
// changed an area it read, and no row it was let into has counted so many
// shifts that it would now be refused there. (Shifts only grow, and a push
// refused by a row's shifts is refused there again.)
bool LayoutPushes::stillRefused(const Refused& known) const {
    for (int i = known.from; i < known.to; ++i)
        if (areaStamp_[readAreas_[i]] > known.step) return false;
    for (int i = known.rowsFrom; i < known.rowsTo; ++i)
        if (std::as_const(r_.rowShifts)[readRows_[i].first] > readRows_[i].second) return false;
    return true;
}

// A push that stood changed the cells its persons left and came to (its rows'
// shifts are read as they stand).
void LayoutPushes::stampChanges() {
    ++step_;
    for (const auto& [p, from] : moveLog_) {
        areaStamp_[cellArea(at_[p].row, from)] = step_;
        areaStamp_[cellArea(at_[p].row, at_[p].col)] = step_;
    }
}

// ---------------------------------------------------------------- pushes

// Moves the unit's persons from startPos on to x, x + 1, ...; ends the walk
// (and moves no further) at a person who already stands at or right of the
// column it would take, or at a crossed unit, which never moves. True when
// anyone moved.
inline bool LayoutPushes::movePersons(int u, int startPos, int& x, bool& ended) {
    const UnitLinks& unit = units_[u];
    if (unit.crossed) {
        ended = true;
        return false;
    }
    if (startPos >= unit.count) return false;
    // A unit stands in one row: its cells and read areas are found once.
    const int* persons = unitPersons_.data() + unit.persons;
    const int row = at_[persons[startPos]].row;
    Cell* cells = rowCells(row, x + unit.count - startPos);
    const int areaBase = std::min(row, areaRows_ - 1) * areaCols_;
    const int lastArea = areaCols_ - 1;
    bool moved = false;
    for (int pos = startPos; pos < unit.count; ++pos) {
        const int p = persons[pos];
        At& at = at_[p];
        const int from = areaBase + std::min(at.col >> 5, lastArea);
        noteRead(from);
        if (at.col >= x) {
            ended = true;
            return moved;
        }
        const int to = areaBase + std::min(x >> 5, lastArea);
        if (to != from) noteRead(to);
        moveLog_.emplace_back(p, at.col);
        if (pos == 0) {
            unitLog_.emplace_back(u, unitCol_[u]);
            unitCol_[u] = x;
        }
        if (cells) {
            cells[at.col].leave(p);
            at.col = x;
            Cell& now = cells[x];
            now.enter(p);
            // Onto the next person of the unit, who moves on next: no cell
            // that could decide anything.
            if (now.count > 1 && !(now.count == 2 && pos + 1 < unit.count && (now.persons ^ p) == persons[pos + 1]))
                noteShared(p, row, x);
        } else {
            moveOn(p, x);
        }
        moved = true;
        ++x;
    }
    return moved;
}

// Opens `item` (a unit from position startPos, or a family's block) as the
// next item of walk `w` in its row, at the walk's running column: false when
// the row's shifts, a crossed unit or a unit already being pushed refuse it.
// A unit's persons move at once; a unit placed inside a block goes on with
// the block's later children.
bool LayoutPushes::openItem(Walk& w, int item, int startPos) {
    if (std::as_const(r_.rowShifts)[w.row] >= SVGLayout::kRowShiftLimit) return false;
    noteRowOpened(w.row);
    int block = 0, from = 0;
    if (item < 0) {
        const int u = -item;
        const UnitLinks& unit = units_[u];
        // A crossed unit never moves; a push that would carry its left
        // neighbour onto it is taken back by the guard. A unit reached again
        // while it is being pushed (a line that descends from itself) is not
        // pushed again.
        if (unit.crossed || activeUnit_[u] == activeEpoch_) return false;
        activeUnit_[u] = activeEpoch_;
        walkUnits_.push_back(u);
        ++w.items;
        if (movePersons(u, startPos, w.x, w.ended)) w.lastMoved = w.items;
        if (w.ended) return true;
        if (unit.row != 0) {
            w.next = unit.next;
            return true;
        }
        block = unit.parentFam;
        from = unit.indexInBlock + 1;
        if (!block) {
            w.next = 0;
            return true;
        }
    } else {
        ++w.items;
        block = item;
    }
    w.next = families_[block].next;
    // A block reached again while it is being pushed (a line that descends
    // from itself) ends the push instead of going round for ever.
    if (activeFam_[block] == activeEpoch_) {
        w.ended = true;
    } else {
        activeFam_[block] = activeEpoch_;
        w.block = block;
        w.index = from;
        blockWalk_[block] = int(&w - walks_.data());
    }
    return true;
}

// Starts a walk in `row` with `item`; false when the item is refused.
bool LayoutPushes::startWalk(int item, int startPos, int row, int target) {
    if (row >= r_.rowShifts.size()) r_.ensureRow(row);
    walks_.emplace_back();
    Walk& w = walks_.back();
    w.row = row;
    w.x = target;
    w.unitsFrom = int(walkUnits_.size());
    if (openItem(w, item, startPos)) return true;
    walks_.pop_back();
    return false;
}

// A walk that has ended: each item it opened was a push of its own, each
// counting a shift of the row when it, or anything after it, moved (the last
// not when it ended the walk). Its units are no longer being pushed. True
// when anything moved.
bool LayoutPushes::finishWalk(const Walk& w) {
    const int shifts = w.lastMoved < w.items ? w.lastMoved : w.items - (w.ended ? 1 : 0);
    if (shifts > 0) {
        r_.rowShifts[w.row] += shifts;
        shiftLog_.emplace_back(w.row, shifts);
    }
    for (std::size_t i = std::size_t(w.unitsFrom); i < walkUnits_.size(); ++i) activeUnit_[walkUnits_[i]] = 0;
    walkUnits_.resize(std::size_t(w.unitsFrom));
    return w.lastMoved > 0;
}

bool LayoutPushes::push(int item, int startPos, int row, int target) {
    // A push moves an item's persons, then walks its children's block (a
    // unit with a row of its own there gets a push of its own, waiting on a
    // stack so that a deep line cannot exhaust the call stack), then pushes
    // the next item of its row list, and so on along the row: one walk.
    // Each item's push counts a shift of the row when it or a push it
    // started moved anything.
    ++activeEpoch_;
    walks_.clear();
    walkUnits_.clear();
    if (!startWalk(item, startPos, row, target)) return false;
    bool result = false;
    bool returning = false;
    while (!walks_.empty()) {
        const std::size_t top = walks_.size() - 1;
        if (returning) {
            Walk& w = walks_[top];
            returning = false;
            if (result) w.lastMoved = w.items;
            if (w.waitingTail) {
                w.waitingTail = false;
                w.next = 0;
            } else {
                ++w.x;
                ++w.index;
            }
        }
        bool opened = false;
        if (walks_[top].block) {
            const FamilyLinks& family = families_[walks_[top].block];
            while (walks_[top].index < family.childCount && !walks_[top].ended) {
                Walk& w = walks_[top];
                const BlockChild child = familyChildren_[family.children + w.index];
                const int c = child.unit;
                if (child.row != 0) {
                    if (startWalk(-c, 0, child.row, w.x)) {
                        opened = true;
                        break;
                    }
                    ++walks_[top].x;  // the walks may have moved in memory
                } else if (child.placed) {
                    if (movePersons(c, 0, w.x, w.ended)) w.lastMoved = w.items;
                    if (sharedToTheEnd(w.row)) return decided();
                }
                ++walks_[top].index;
            }
            if (opened) continue;
            Walk& w = walks_[top];
            activeFam_[w.block] = 0;
            w.block = 0;
        }
        if (!walks_[top].ended && walks_[top].next) {
            Walk& w = walks_[top];
            const int nextRow = w.next < 0 ? units_[-w.next].row : families_[w.next].row;
            if (nextRow == w.row) {
                // The row list goes on in the same row: the same walk.
                if (openItem(w, w.next, 0)) continue;
            } else if (startWalk(w.next, 0, nextRow, w.x)) {
                walks_[top].waitingTail = true;
                continue;
            }
        }
        const Walk& w = walks_[top];
        result = finishWalk(w);
        const int walked = w.row;
        walks_.pop_back();
        returning = true;
        if (sharedToTheEnd(walked)) return decided();
    }
    return result;
}

// Ends the push under way: its fate is known, it will be taken back.
bool LayoutPushes::decided() {
    walks_.clear();
    takenBack_ = true;
    return true;
}

bool LayoutPushes::guardedPush(int item, int startPos, int row, int target) {
    // A push moves whole rows through their lists; where a row's list does
    // not follow its columns (a marriage with a row of its own that stands in
    // the row of another family's children) it can carry one person onto
    // another's cell. Such a push is taken back: the layout stays as it was.
    // The passes ask the same pushes again and again while others stand
    // elsewhere, so a push taken back is answered from memory until what it
    // read changes.
    // The persons a push moves are logged, so that the check and the undo
    // cost what the push moved, not the whole view.
    prepare();
    // What refused pushes read is kept to a bound; past it they are all
    // forgotten and asked again as they come.
    if (readAreas_.size() > kRememberedAreas) {
        refused_.clear();
        readAreas_.clear();
        readRows_.clear();
    }
    item = packedItem(item);
    const std::pair<qint64, qint64> key((qint64(item) << 32) | quint32(target),
                                        (qint64(row) << 32) | quint32(startPos));
    const auto known = refused_.constFind(key);
    if (known != refused_.cend() && stillRefused(*known)) return false;
    // What this push reads is noted, to remember it should it not stand.
    ++seenEpoch_;
    const int readFrom = int(readAreas_.size());
    rowsOpened_.clear();
    auto refuse = [&] {
        const int rowsFrom = int(readRows_.size());
        for (int row : rowsOpened_)
            readRows_.emplace_back(row, SVGLayout::kRowShiftLimit - 1 - rowOpened_[row].gained);
        refused_[key] = Refused{step_, readFrom, int(readAreas_.size()), rowsFrom, int(readRows_.size())};
        return false;
    };
    moveLog_.clear();
    unitLog_.clear();
    shiftLog_.clear();
    for (int shared : sharedRows_) sharedByRow_[shared].clear();
    sharedRows_.clear();
    takenBack_ = false;
    const bool moved = push(item, startPos, row, target);
    if (!moved) return refuse();
    // The cells are counted as persons move, so the check looks only at the
    // cells the moved persons came to.
    bool shared = takenBack_;
    for (std::size_t i = 0; i < moveLog_.size() && !shared; ++i) {
        const int p = moveLog_[i].first;
        shared = cell(at_[p].row, at_[p].col).count > 1;
    }
    if (!shared) {
        for (const auto& [p, from] : moveLog_) r_.persons[personRecord_[p]].newCol = at_[p].col;
        for (const auto& [u, from] : unitLog_) r_.units[unitRecord_[u]].col = unitCol_[u];
        readAreas_.resize(readFrom);
        stampChanges();
        return true;
    }
    for (auto it = moveLog_.crbegin(); it != moveLog_.crend(); ++it) setColumn(it->first, it->second);
    for (auto it = unitLog_.crbegin(); it != unitLog_.crend(); ++it) unitCol_[it->first] = it->second;
    for (const auto& [shifted, count] : shiftLog_) r_.rowShifts[shifted] -= count;
    return refuse();
}
