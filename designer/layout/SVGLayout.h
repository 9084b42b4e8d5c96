#pragma once

#include <QPair>
#include <QString>
#include <QStringList>

#include "LayoutPushes.h"
#include "LayoutRecords.h"
#include "LayoutSortYears.h"
#include "tree_model/SVGViewpointClass.h"

class LayoutSpouseUnits;
class Reporter;
class SVGTree;

// Automatic layout of the Tree Designer grid for the current view (the full
// tree or the viewpoint the tree shows): the spouses of one marriage chain
// side by side in one row, children one row below their parents, one family
// tree after another, and parents moved towards the centre of their children
// by repeated adjustment passes. The positions the persons had before are
// kept, so that the last layout can be undone.
//
// All positions are read and written in tree orientation, except the current
// display column of each root unit that decides the order of the trees.
//
// The work is shared out: LayoutRecords holds what a layout keeps,
// LayoutSortYears finds the years it sorts by, LayoutSpouseUnits builds the
// units and numbers the trees, LayoutPlacement places them in rows, and
// LayoutAdjustment with LayoutPushes runs the adjustment passes.
class SVGLayout {
public:
    // The pass-limit warning goes to `reporter` (none: not shown).
    explicit SVGLayout(Reporter* reporter = nullptr) : reporter_(reporter) {}
    SVGLayout(const SVGLayout&) = delete;
    SVGLayout& operator=(const SVGLayout&) = delete;

    // Lays out the view of oTr and writes the new positions and grid size.
    // False when the view holds no persons (nothing changes then). An error
    // after the view has been read puts the old positions back and is raised
    // again.
    bool Organise(SVGTree& oTr);
    // Writes back the positions the last Organise found, then the working
    // grid size. Persons deleted or taken out of the view since are skipped.
    void Revert(SVGTree& oTr);
    // One more column adjustment pass on the last layout; writes all
    // positions and the grid size. True when the pass moved anything.
    bool Adjust(SVGTree& oTr);

    static int iYearFromText(const QString& sText) { return LayoutSortYears::iYearFromText(sText); }
    static int iEventYear(const QString& sNotes, bool bPerson) {
        return LayoutSortYears::iEventYear(sNotes, bPerson);
    }

    // Adjustment passes Organise runs at most before it warns.
    static constexpr int kPassLimit = 20;
    // Shifts one row accepts from the adjustment passes.
    static constexpr int kRowShiftLimit = 25;
    // The largest column or row a grid can take (positions are packed in 14 bits).
    static constexpr int kMaxGridSide = SVGViewpointClass::kMaxGridSide;
    static constexpr int kSortSpousesErrorOffset = 521;
    static const char* const kSource;

    // ---- Read-only views of the last layout, for the designer and tests.
    int PersonCount() const { return int(r_.persons.size()) - 1; }
    int UnitCount() const { return int(r_.units.size()) - 1; }
    // Person keys of the unit that holds sKey, in row order; empty when none.
    QStringList UnitOrder(const QString& sKey) const;

private:
    bool readView(SVGTree& oTr);
    void buildRecords(LayoutSpouseUnits& units);
    QVector<int> sortedRoots(SVGTree& oTr, LayoutSpouseUnits& units);
    void writePositions(bool bNew, bool bViewAsRead);
    QPair<int, int> neededGrid() const;
    void growGrid();

    Reporter* reporter_ = nullptr;
    LayoutRecords r_;
    LayoutPushes pushes_{r_};
};
