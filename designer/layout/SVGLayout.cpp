#include "SVGLayout.h"

#include <vector>

#include "LayoutAdjustment.h"
#include "LayoutPlacement.h"
#include "LayoutSort.h"
#include "LayoutSpouseUnits.h"
#include "foundation/Reporter.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGDisplay.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

const char* const SVGLayout::kSource = "SVGLayout";

QStringList SVGLayout::UnitOrder(const QString& sKey) const {
    QStringList out;
    const int p = r_.tree ? r_.personIndex.value(r_.tree->GetPersons().value(sKey).get()) : 0;
    if (!p || !r_.persons[p].unit) return out;
    const LayoutUnitRec& u = r_.units[r_.persons[p].unit];
    for (int pos = 0; pos < u.count; ++pos) out.append(r_.persons[r_.unitPerson(u, pos)].key);
    return out;
}

// The records of the view's persons and families with their sort years and
// previous positions, and each person's families of the view. False when
// the view holds no persons: nothing is read then.
bool SVGLayout::readView(SVGTree& oTr) {
    PersonDict personView;
    FamilyDict familyView;
    const PersonDict& persons = oTr.GetViewPersons(personView);
    if (persons.isEmpty()) return false;
    const FamilyDict& families = oTr.GetViewFamilies(familyView);

    r_.clear();
    pushes_.reset();
    r_.tree = &oTr;
    oTr.GetGridColRow(r_.iCols, r_.iRows, true);
    r_.viewpoint = oTr.GetViewpoint();
    r_.stepped = oTr.GetDisplay() && oTr.GetDisplay()->GetStepped();
    r_.persons.reserve(persons.count() + 1);
    for (const auto& [key, box] : persons) {
        LayoutPersonRec rec;
        rec.box = box;
        rec.key = key;
        r_.personIndex.insert(box.get(), int(r_.persons.size()));
        r_.persons.append(rec);
    }
    r_.families.reserve(families.count() + 1);
    for (const auto& [key, fam] : families) {
        LayoutFamilyRec rec;
        rec.fam = fam;
        rec.p1 = r_.personIndex.value(fam->GetFirstPar().get());
        rec.p2 = r_.personIndex.value(fam->GetSecPar().get());
        r_.familyIndex.insert(key, int(r_.families.size()));
        r_.families.append(rec);
    }
    for (int p = 1; p < r_.persons.size(); ++p) {
        LayoutPersonRec& rec = r_.persons[p];
        rec.year = LayoutSortYears::personYear(*rec.box);
        if (r_.viewpoint)
            r_.viewpoint->GetPerColRow(rec.key, rec.prevCol, rec.prevRow, true);
        else {
            rec.prevCol = rec.box->GetTreeCol();
            rec.prevRow = rec.box->GetTreeRow();
        }
    }
    for (int f = 1; f < r_.families.size(); ++f) {
        const SVGFamily& fam = *r_.families[f].fam;
        const QList<SVGBoxPtr> children = fam.GetChildren();
        r_.families[f].year = LayoutSortYears::familyYear(
            fam, children.isEmpty() ? 0 : LayoutSortYears::personYear(*children.first()));
    }

    // Each person's families of the view, in the order of the person's own
    // family set, looked up once.
    r_.famOfStart.assign(r_.persons.size() + 1, 0);
    r_.famOf.clear();
    for (int p = 1; p < r_.persons.size(); ++p) {
        r_.famOfStart[p] = int(r_.famOf.size());
        const KeySet& keys = r_.persons[p].box->GetFamKeys();
        for (int i = 0; i < keys.count(); ++i) {
            const int f = r_.familyIndex.value(keys.at(i));
            if (f) r_.famOf.push_back(f);
        }
    }
    r_.famOfStart[r_.persons.size()] = int(r_.famOf.size());
    r_.famStamp.assign(r_.families.size(), 0);
    return true;
}

// The spouse units, and each family's children as units in the order of
// their years, with the width of its block.
void SVGLayout::buildRecords(LayoutSpouseUnits& units) {
    for (int p = 1; p < r_.persons.size(); ++p)
        if (!r_.persons[p].unit) units.buildUnit(p);

    // The family that last listed each unit among its children.
    std::vector<int> listedBy(r_.units.size(), 0);
    for (int f = 1; f < r_.families.size(); ++f) {
        LayoutFamilyRec& fam = r_.families[f];
        // A family whose parents the view does not both show has no place
        // to hang its children from; they stand as persons of their own.
        if (!fam.p1 || !fam.p2) continue;
        QVector<int> children;
        for (const SVGBoxPtr& child : fam.fam->GetChildren()) {
            const int c = r_.personIndex.value(child.get());
            if (c) children.append(c);
        }
        if (children.isEmpty()) continue;
        fam.childCount = int(children.size());
        fam.childPersons = children;
        QVector<qint64> years;
        for (int c : children) {
            r_.persons[c].parentFam = f;
            years.append(r_.persons[c].year);
        }
        LayoutSort::sortByYear(years, children);
        for (int c : children) {
            const int cu = r_.persons[c].unit;
            if (listedBy[cu] == f) continue;  // two children of one unit
            listedBy[cu] = f;
            fam.children.append(cu);
            if (!r_.units[cu].parentFam) {
                r_.units[cu].parentFam = f;
                fam.width += r_.units[cu].count;
            } else {
                fam.width += 1;
            }
        }
    }
}

// The root units, numbered by tree, in the order they are placed: by tree
// number, then by the column the display shows them at.
QVector<int> SVGLayout::sortedRoots(SVGTree& oTr, LayoutSpouseUnits& units) {
    QVector<int> roots;
    for (int u = 1; u < r_.units.size(); ++u) {
        const LayoutUnitRec& rec = r_.units[u];
        bool root = true;
        for (int pos = 0; pos < rec.count && root; ++pos) {
            const int pf = r_.persons[r_.unitPerson(rec, pos)].parentFam;
            // The unit's own families carry its mark (buildUnit).
            if (pf && r_.famStamp[pf] != u) root = false;
        }
        if (root) roots.append(u);
    }
    // Roots by the column the display shows them at, then by tree number
    // and column: the second sort starts from the order of the first.
    QVector<qint64> column(r_.units.size(), 0);
    QVector<qint64> keys;
    keys.reserve(roots.size());
    // The column the display shows: a vertical display swaps the tree's
    // column and row (what SVGTree::GetPerColRow gives, read before).
    const bool vertical = oTr.GetDisplay() && !oTr.GetDisplay()->GetHoriz();
    for (int u : roots) {
        const LayoutPersonRec& first = r_.persons[r_.units[u].first];
        const int col = vertical ? first.prevRow : first.prevCol;
        column[u] = col;
        keys.append(col);
    }
    LayoutSort::ExchangeSortFast(keys, roots);
    units.numberTrees(roots);
    for (int i = 0; i < roots.size(); ++i)
        keys[i] = (qint64(r_.units[roots[i]].tree) << 32) + (column[roots[i]] + 0x80000000LL);
    LayoutSort::ExchangeSortFast(keys, roots);
    return roots;
}

// The grid the new positions need, at least the working size; a side past
// the largest a grid can have is refused before the working size changes, so
// that Revert then keeps the grid.
QPair<int, int> SVGLayout::neededGrid() const {
    int cols = r_.iCols, rows = r_.iRows;
    for (int p = 1; p < r_.persons.size(); ++p) {
        cols = qMax(cols, r_.persons[p].newCol);
        rows = qMax(rows, r_.persons[p].newRow);
    }
    if (cols > kMaxGridSide) LayoutRecords::raiseSide(cols);
    if (rows > kMaxGridSide) LayoutRecords::raiseSide(rows);
    return {cols, rows};
}

void SVGLayout::growGrid() {
    const QPair<int, int> grid = neededGrid();
    r_.iCols = grid.first;
    r_.iRows = grid.second;
}

// Writes new (bNew) or previous positions of the persons that the kept view
// still holds, then the working grid size. Organise writes into the view it
// has just read (bViewAsRead), which holds every person.
void SVGLayout::writePositions(bool bNew, bool bViewAsRead) {
    if (!r_.tree) return;
    const SVGViewpointPtr& viewpoint = r_.viewpoint;
    const bool viewpointHeld = viewpoint && r_.tree->GetViewpoints().value(viewpoint->GetKey()) == viewpoint;
    for (int p = 1; p < r_.persons.size(); ++p) {
        const LayoutPersonRec& rec = r_.persons[p];
        if (!bViewAsRead && r_.tree->GetPersons().value(rec.key) != rec.box) continue;
        const int col = bNew ? rec.newCol : rec.prevCol;
        const int row = bNew ? rec.newRow : rec.prevRow;
        if (viewpoint) {
            if (!bViewAsRead && (!viewpointHeld || !viewpoint->PersonExists(rec.key))) continue;
            viewpoint->SetPerColRow(rec.key, col, row, true);
        } else {
            rec.box->SetNewPosn(col, row, true);
        }
    }
    int cols = r_.iCols, rows = r_.iRows;
    r_.tree->SetGridColRow(cols, rows, true);
}

bool SVGLayout::Organise(SVGTree& oTr) {
    if (!readView(oTr)) return false;
    try {
        LayoutSpouseUnits units(r_);
        buildRecords(units);
        LayoutPlacement(r_).placeAll(sortedRoots(oTr, units));
        units.uncross();
        // Pushes only move persons right: a placement already too wide or
        // too tall for a grid is refused without running the passes.
        neededGrid();

        LayoutAdjustment adjustment(r_, pushes_);
        for (int counter = 0;; ++counter) {
            const bool moved = adjustment.pass();
            if (counter >= kPassLimit) {
                if (reporter_)
                    reporter_->warn(QStringLiteral("Auto-Layout operation applied more than ") +
                                    QString::number(kPassLimit) + QStringLiteral(" column adjustments"));
                break;
            }
            if (!moved) break;
        }

        growGrid();
        writePositions(true, true);
    } catch (...) {
        Revert(oTr);
        throw;
    }
    return true;
}

void SVGLayout::Revert(SVGTree& oTr) {
    Q_UNUSED(oTr);
    writePositions(false, false);
}

bool SVGLayout::Adjust(SVGTree& oTr) {
    Q_UNUSED(oTr);
    if (!r_.tree) return false;
    const bool moved = LayoutAdjustment(r_, pushes_).pass();
    growGrid();
    writePositions(true, false);
    return moved;
}
