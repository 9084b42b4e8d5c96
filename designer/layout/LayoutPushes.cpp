#include "LayoutPushes.h"

#include <algorithm>

#include "SVGLayout.h"

void LayoutPushes::reset() {
    cellsCounted_ = false;
}

bool LayoutPushes::pushUnitPersons(int u, int startPos, int& x, bool& ended, bool& moved) {
    LayoutUnitRec& rec = r_.units[u];
    for (int pos = startPos; pos < rec.count; ++pos) {
        LayoutPersonRec& p = r_.persons[r_.unitPerson(rec, pos)];
        if (p.newCol >= x) {
            ended = true;
            return moved;
        }
        if (logging_) {
            moveLog_.emplace_back(r_.unitPerson(rec, pos), p.newCol);
            if (pos == 0) unitLog_.emplace_back(u, rec.col);
        }
        p.newCol = x;
        if (pos == 0) rec.col = x;
        moved = true;
        ++x;
    }
    return moved;
}

// Starts one push: false when the row's shifts, a crossed unit or a push
// already under way refuse it; else moves the unit's persons and fills `fr`
// with the block and the row item to go on with.
bool LayoutPushes::openPush(int item, int startPos, int row, int target, PushFrame& fr) {
    r_.ensureRow(row);
    if (r_.rowShifts[row] >= SVGLayout::kRowShiftLimit) return false;
    // A crossed unit never moves; a push that would carry its left
    // neighbour onto it is taken back by the guard.
    if (item < 0 && r_.units[-item].crossed) return false;
    // A unit reached again while it is being pushed (a line that descends
    // from itself) is not pushed again.
    if (item < 0 && pushActive_.contains(item)) return false;
    fr = PushFrame();
    fr.item = item;
    fr.row = row;
    fr.x = target;
    int block = 0, from = 0;
    if (item < 0) {
        pushActive_.insert(item);
        const int u = -item;
        pushUnitPersons(u, startPos, fr.x, fr.ended, fr.moved);
        if (!fr.ended) {
            const LayoutUnitRec& rec = r_.units[u];
            if (rec.row != 0) {
                fr.next = rec.next;
            } else if (rec.parentFam) {
                block = rec.parentFam;
                from = int(r_.families[block].children.indexOf(u)) + 1;
            }
        }
    } else {
        block = item;
    }
    if (block) {
        fr.next = r_.families[block].next;
        // A block reached again while it is being pushed (a line that
        // descends from itself) ends the push instead of going round for ever.
        if (pushActive_.contains(block)) {
            fr.ended = true;
        } else {
            pushActive_.insert(block);
            fr.block = block;
            fr.index = from;
        }
    }
    return true;
}

bool LayoutPushes::push(int item, int startPos, int row, int target) {
    // Pushes started by pushes wait on an explicit stack, so that a long row
    // or a deep line cannot exhaust the call stack. A push goes on with the
    // units of its children's block (a unit with a row of its own gets a push
    // of its own), then with the next item of its row list; it counts a shift
    // of its row when it or a push it started moved anything.
    pushActive_.clear();
    QVector<PushFrame> stack(1);
    if (!openPush(item, startPos, row, target, stack[0])) return false;
    bool result = false;
    bool returning = false;
    while (!stack.isEmpty()) {
        PushFrame fr = stack.takeLast();
        if (returning) {
            returning = false;
            if (result) fr.moved = true;
            if (fr.waiting == PushFrame::BlockChild) {
                ++fr.x;
                ++fr.index;
            }
            fr.waiting = PushFrame::None;
        }
        PushFrame child;
        bool opened = false;
        if (fr.block) {
            const QVector<int>& children = r_.families[fr.block].children;
            while (fr.index < children.size() && !fr.ended) {
                const int c = children[fr.index];
                const LayoutUnitRec& unit = r_.units[c];
                if (unit.row != 0) {
                    if (openPush(-c, 0, unit.row, fr.x, child)) {
                        fr.waiting = PushFrame::BlockChild;
                        opened = true;
                        break;
                    }
                    ++fr.x;
                } else if (unit.parentFam == fr.block) {
                    pushUnitPersons(c, 0, fr.x, fr.ended, fr.moved);
                }
                ++fr.index;
            }
            if (!opened) {
                pushActive_.remove(fr.block);
                fr.block = 0;
            }
        }
        if (!opened && !fr.tailDone) {
            fr.tailDone = true;
            if (!fr.ended && fr.next) {
                const int nextRow = fr.next < 0 ? r_.units[-fr.next].row : r_.families[fr.next].row;
                if (openPush(fr.next, 0, nextRow, fr.x, child)) {
                    fr.waiting = PushFrame::Tail;
                    opened = true;
                }
            }
        }
        if (opened) {
            stack.append(fr);
            stack.append(child);
            continue;
        }
        if (fr.moved && !fr.ended) ++r_.rowShifts[fr.row];
        if (fr.item < 0) pushActive_.remove(fr.item);
        result = fr.moved;
        returning = true;
    }
    return result;
}

bool LayoutPushes::guardedPush(int item, int startPos, int row, int target) {
    // A push moves whole rows through their lists; where a row's list does
    // not follow its columns (a marriage with a row of its own that stands in
    // the row of another family's children) it can carry one person onto
    // another's cell. Such a push is taken back: the layout stays as it was.
    // The persons a push moves are logged, so that the check and the undo
    // cost what the push moved, not the whole view.
    auto cellOf = [](int col, int row) { return (qint64(row) << 32) | quint32(col); };
    if (!cellsCounted_) {
        cellCount_.clear();
        for (int p = 1; p < r_.persons.size(); ++p)
            ++cellCount_[cellOf(r_.persons[p].newCol, r_.persons[p].newRow)];
        cellsCounted_ = true;
    }
    const QVector<int> shifts = r_.rowShifts;
    moveLog_.clear();
    unitLog_.clear();
    logging_ = true;
    const bool moved = push(item, startPos, row, target);
    logging_ = false;
    if (!moved) return false;
    // The first column each moved person had, once per person.
    std::vector<std::pair<int, int>> firstCols;
    for (const auto& [p, col] : moveLog_) {
        if (movedStamp_.size() < std::size_t(r_.persons.size())) movedStamp_.assign(r_.persons.size(), 0);
        if (movedStamp_[p] == moveWalk_ + 1) continue;
        movedStamp_[p] = moveWalk_ + 1;
        firstCols.emplace_back(p, col);
    }
    ++moveWalk_;
    // The count of a cell after the push is its count before, less the moved
    // persons that left it, plus those that came to it. The counts change
    // only when the push stands, so a push taken back costs no update.
    std::vector<qint64>& left = leftCells_;
    std::vector<qint64>& came = cameCells_;
    left.clear();
    came.clear();
    for (const auto& [p, col] : firstCols) {
        left.push_back(cellOf(col, r_.persons[p].newRow));
        came.push_back(cellOf(r_.persons[p].newCol, r_.persons[p].newRow));
    }
    std::sort(left.begin(), left.end());
    std::sort(came.begin(), came.end());
    bool shared = false;
    for (auto at = came.begin(); at != came.end() && !shared;) {
        const auto end = std::upper_bound(at, came.end(), *at);
        const auto leavers = std::equal_range(left.begin(), left.end(), *at);
        shared = cellCount_.value(*at) - (leavers.second - leavers.first) + (end - at) > 1;
        at = end;
    }
    if (!shared) {
        for (const auto& [p, col] : firstCols) {
            --cellCount_[cellOf(col, r_.persons[p].newRow)];
            ++cellCount_[cellOf(r_.persons[p].newCol, r_.persons[p].newRow)];
        }
        return true;
    }
    for (const auto& [p, col] : firstCols) r_.persons[p].newCol = col;
    for (auto it = unitLog_.crbegin(); it != unitLog_.crend(); ++it) r_.units[it->first].col = it->second;
    r_.rowShifts = shifts;
    return false;
}
