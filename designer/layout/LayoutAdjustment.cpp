#include "LayoutAdjustment.h"

#include <cmath>

namespace {

// The whole number nearest to x, halves going to the even number.
int nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}

}  // namespace

bool LayoutAdjustment::pass() {
    for (int u = 1; u < r_.units.size(); ++u) {
        const LayoutUnitRec& rec = r_.units[u];
        if (rec.count < 2) continue;
        for (int k = 1; k <= rec.chainCount; ++k) {
            const int f = rec.fams[k - 1];
            const LayoutFamilyRec& fam = r_.families[f];
            if (fam.childPersons.isEmpty() || f == rec.parentFam) continue;
            const int leftPos = qMin(k - 1, rec.count - 1);
            const int rightPos = qMin(k, rec.count - 1);
            const double P = (r_.persons[r_.unitPerson(rec, leftPos)].newCol +
                              r_.persons[r_.unitPerson(rec, rightPos)].newCol) /
                             2.0;
            const int parentsRow = rec.row ? rec.row : r_.persons[rec.first].newRow;
            const double offP = (r_.stepped && parentsRow % 2 == 0) ? 0.5 : 0.0;

            int childRow = 0;
            for (int c : fam.childPersons)
                if (!childRow || r_.persons[c].newRow < childRow) childRow = r_.persons[c].newRow;
            int minCol = 0, maxCol = 0, leftmost = 0;
            bool first = true;
            for (int c : fam.childPersons) {
                if (r_.persons[c].newRow != childRow) continue;
                const int col = r_.persons[c].newCol;
                if (first || col < minCol) {
                    minCol = col;
                    leftmost = c;
                }
                if (first || col > maxCol) maxCol = col;
                first = false;
            }
            const double offC = (r_.stepped && childRow % 2 == 0) ? 0.5 : 0.0;
            const int C = nearest((minCol + maxCol) / 2.0);
            bool moved = false;
            if (P < C) {
                if (pushes_.guardedPush(-u, rightPos, parentsRow, nearest(C + offC - offP))) moved = true;
                const int T = minCol == C ? minCol - 1 : minCol;
                if (pushes_.guardedPush(-u, leftPos, parentsRow, nearest(T + offC - offP))) moved = true;
            } else if (P > minCol) {
                const int cu = r_.persons[leftmost].unit;
                const LayoutUnitRec& child = r_.units[cu];
                int pos = 0;
                for (int j = 0; j < child.count; ++j)
                    if (r_.unitPerson(child, j) == leftmost) {
                        pos = j;
                        break;
                    }
                int withParents = 0;
                for (int j = 0; j < child.count; ++j)
                    if (r_.persons[r_.unitPerson(child, j)].parentFam) ++withParents;
                if (withParents == 1 && pos == 1)
                    moved = pushes_.guardedPush(-cu, 0, childRow,
                                                nearest(P - (maxCol - minCol) - 1 + offP - offC));
                else
                    moved =
                        pushes_.guardedPush(-cu, pos, childRow, nearest(P - (maxCol - minCol) + offP - offC));
            }
            if (moved) return true;
        }
    }
    return false;
}
