#include "LayoutPlacement.h"

void LayoutPlacement::placeAll(const QVector<int>& roots) {
    int row = 1;
    int previousTree = 0;
    for (int u : roots) {
        const int tree = r_.units[u].tree;
        if (tree != previousTree && !fits(u, row)) row = firstEmptyRow();
        placeRootTree(u, row, tree);
        previousTree = tree;
    }
    // Units that no root reaches (a line that descends from itself) are
    // laid out as trees of their own below the rest.
    for (int u = 1; u < r_.units.size(); ++u)
        if (!r_.units[u].placed) placeRootTree(u, firstEmptyRow(), ++r_.nTrees);
}

int LayoutPlacement::endColumn(int item) const {
    if (item < 0) return r_.units[-item].col + r_.units[-item].width - 1;
    if (item > 0) return r_.families[item].col + r_.families[item].span - 1;
    return 0;
}

int LayoutPlacement::rowEnd(int row) const {
    return row < r_.rowTail.size() ? endColumn(r_.rowTail[row]) : 0;
}

void LayoutPlacement::placeUnit(int u, int col, int row) {
    LayoutUnitRec& rec = r_.units[u];
    rec.col = col;
    rec.row = row;
    const int personRow = row ? row : r_.families[rec.parentFam].row;
    for (int pos = 0; pos < rec.count; ++pos) {
        LayoutPersonRec& p = r_.persons[r_.unitPerson(rec, pos)];
        p.newCol = col + pos;
        p.newRow = personRow;
    }
    rec.width = rec.count;
    rec.placed = true;
}

void LayoutPlacement::placeFamily(int f, int col, int row) {
    LayoutFamilyRec& rec = r_.families[f];
    rec.col = col;
    rec.row = row;
    int x = col;
    for (int cu : rec.children) {
        const LayoutUnitRec& child = r_.units[cu];
        if (child.row != 0) {
            x += 1;
        } else if (child.parentFam == f) {
            placeUnit(cu, x, 0);
            x += r_.units[cu].width;
        }
    }
    r_.families[f].span = x - col;
}

void LayoutPlacement::appendItem(int row, int item) {
    bool& inRow = item < 0 ? r_.units[-item].inRow : r_.families[item].inRow;
    if (inRow) return;
    r_.ensureRow(row);
    inRow = true;
    int col = 1;
    if (r_.rowHead[row] == 0) {
        r_.rowHead[row] = item;
    } else {
        const int tail = r_.rowTail[row];
        col = endColumn(tail) + 1;
        (tail < 0 ? r_.units[-tail].next : r_.families[tail].next) = item;
    }
    r_.rowTail[row] = item;
    if (item < 0)
        placeUnit(-item, col, row);
    else
        placeFamily(item, col, row);
    while (r_.firstEmpty < r_.rowHead.size() && r_.rowHead[r_.firstEmpty] != 0) ++r_.firstEmpty;
}

int LayoutPlacement::firstEmptyRow() {
    while (r_.firstEmpty < r_.rowHead.size() && r_.rowHead[r_.firstEmpty] != 0) ++r_.firstEmpty;
    return r_.firstEmpty;
}

void LayoutPlacement::placeRootTree(int root, int row, int tree) {
    // An explicit stack in place of recursion, so that no depth of descent
    // can exhaust the call stack; frames run in the order recursion would.
    struct Frame {
        bool isFamily;
        int idx;
        int row;
        int i = -1;  // next family (unit) or child (family)
        int j = -1;  // next family of the current child
        int extra = 0;
    };
    QVector<Frame> stack{{false, root, row}};
    while (!stack.isEmpty()) {
        Frame& fr = stack.last();
        if (!fr.isFamily) {
            LayoutUnitRec& u = r_.units[fr.idx];
            if (fr.i < 0) {
                appendItem(fr.row, -fr.idx);
                u.tree = tree;
                fr.i = 0;
            }
            if (u.count > 1 && fr.i < u.fams.size()) {
                const Frame next{true, u.fams[fr.i++], fr.row + 1};
                stack.append(next);
            } else {
                stack.removeLast();
            }
            continue;
        }
        const int f = fr.idx;
        if (fr.i < 0) {
            LayoutFamilyRec& fam = r_.families[f];
            // A family reached twice (a line that descends from itself) is laid out once.
            if (fam.visited || fam.children.isEmpty()) {
                fam.tree = tree;
                fam.visited = true;
                stack.removeLast();
                continue;
            }
            fam.visited = true;
            fam.tree = tree;
            appendItem(fr.row, f);
            fr.i = 0;
        }
        const LayoutFamilyRec& fam = r_.families[f];
        if (fr.i < fam.children.size()) {
            const int c = fam.children[fr.i];
            LayoutUnitRec& child = r_.units[c];
            if (fr.j < 0) {
                child.tree = tree;
                if (child.count > 1 && child.parentFam == f) {
                    if (needsOwnRow(c)) {
                        fr.extra += child.count - 1;
                        ++fr.i;
                        const Frame next{false, c, fr.row + 1};
                        stack.append(next);
                        continue;
                    }
                    fr.j = 0;
                } else {
                    ++fr.i;
                    continue;
                }
            }
            while (fr.j < child.fams.size() && child.fams[fr.j] == child.parentFam) ++fr.j;
            if (fr.j < child.fams.size()) {
                const Frame next{true, child.fams[fr.j++], fr.row + 1};
                stack.append(next);
            } else {
                fr.j = -1;
                ++fr.i;
            }
            continue;
        }
        if (fr.extra >= 1) {
            LayoutFamilyRec& rec = r_.families[f];
            rec.width -= fr.extra;
            rec.span -= fr.extra;
            placeFamily(f, rec.col, rec.row);
        }
        stack.removeLast();
    }
}

bool LayoutPlacement::needsOwnRow(int u) const {
    const LayoutUnitRec& rec = r_.units[u];
    int withParents = 0;
    bool large = false;
    for (int pos = 0; pos < rec.count; ++pos) {
        const int pf = r_.persons[r_.unitPerson(rec, pos)].parentFam;
        if (!pf) continue;
        ++withParents;
        if (r_.families[pf].childCount >= 2) large = true;
    }
    return withParents >= 2 && large;
}

bool LayoutPlacement::fits(int root, int row) {
    // Width that the root's descendancy adds to each row from `row` down; a
    // unit shared by several families counts once, through the family that
    // claims it. The marks and tables are kept between calls: a view of many
    // small trees tests each of them.
    if (unitMark_.size() != std::size_t(r_.units.size())) {
        unitMark_.assign(r_.units.size(), 0);
        markWalk_ = 0;
    }
    const int walk = ++markWalk_;
    fitWidth_.clear();
    fitStack_.clear();
    unitMark_[root] = walk;
    fitStack_.emplace_back(root, 0);
    while (!fitStack_.empty()) {
        const auto [u, depth] = fitStack_.back();
        fitStack_.pop_back();
        const LayoutUnitRec& rec = r_.units[u];
        if (std::size_t(depth) >= fitWidth_.size()) fitWidth_.resize(depth + 1, 0);
        fitWidth_[depth] += rec.count;
        for (int f : rec.fams) {
            if (f == rec.parentFam) continue;
            for (int c : r_.families[f].children)
                if (r_.units[c].parentFam == f && unitMark_[c] != walk) {
                    unitMark_[c] = walk;
                    fitStack_.emplace_back(c, depth + 1);
                }
        }
    }
    for (std::size_t d = 0; d < fitWidth_.size(); ++d)
        if (fitWidth_[d] && qint64(rowEnd(row + int(d))) + fitWidth_[d] > r_.iCols) return false;
    return true;
}
