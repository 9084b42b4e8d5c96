#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include <vector>

#include "tree_model/TreeTypes.h"

class SVGTree;

// One person of the laid-out view.
struct LayoutPersonRec {
    SVGBoxPtr box;
    QString key;
    int prevCol = 0, prevRow = 0;  // as the view showed them when the layout began
    int newCol = 0, newRow = 0;    // set by the placement and the adjustment passes
    int unit = 0;                  // the spouse unit that holds the person
    int parentFam = 0;             // the family that lists the person as a child (the last one)
    int year = 0;                  // sort year
};

// One family of the laid-out view; its children's block in a row.
struct LayoutFamilyRec {
    SVGFamilyPtr fam;
    int row = 0, col = 0;  // where the children's block stands, 0 until placed
    int childCount = 0, width = 0, span = 0;
    QVector<int> children;      // unit indices, in the children's year order
    QVector<int> childPersons;  // person indices in the family's own order
    int tree = 0;
    int next = 0;  // the item behind the block in its row: unit negative, family positive
    bool inRow = false;
    bool visited = false;
    int p1 = 0, p2 = 0;  // person indices of the parents, 0 when out of view
    int year = 0;
};

// One spouse unit: persons who stand side by side in one row.
struct LayoutUnitRec {
    int row = 0, col = 0;  // row 0: placed inside its parent family's block
    int count = 0, width = 0;
    int first = 0;
    QVector<int> members;  // the other persons, in row order
    QVector<int> fams;     // the unit's families, in chain order
    QVector<int> years;
    int chainCount = 0;
    int parentFam = 0;  // the family whose block places the unit
    int tree = 0;
    bool crossed = false;  // never shifted by the adjustment passes
    int next = 0;          // as for families
    bool inRow = false;
    bool placed = false;
};

// What one layout works on and keeps between its calls: the records of the
// view's persons, families and spouse units (index 0 unused in each), the row
// lists of the placement and the working grid size.
struct LayoutRecords {
    SVGTree* tree = nullptr;
    SVGViewpointPtr viewpoint;
    bool stepped = false;
    QVector<LayoutPersonRec> persons{1};
    QVector<LayoutFamilyRec> families{1};
    QVector<LayoutUnitRec> units{1};
    QHash<const SVGBox*, int> personIndex;
    QHash<QString, int> familyIndex;
    // Families of the view in which a person is a parent: famOf from
    // famOfStart[p] up to famOfStart[p + 1].
    std::vector<int> famOfStart, famOf;
    // The unit whose families a family belongs to (marks of the unit build).
    std::vector<int> famStamp;
    // Row lists: head and tail item of each row, and the shifts the
    // adjustment passes made in it.
    QVector<int> rowHead{0}, rowTail{0}, rowShifts{0};
    int firstEmpty = 1;
    int nTrees = 0;
    int iCols = 0, iRows = 0;

    void clear();
    // The person at position pos of a unit's row (0: its first person).
    int unitPerson(const LayoutUnitRec& u, int pos) const {
        if (pos <= 0) return u.first;
        return u.members[qMin(pos, int(u.members.size())) - 1];
    }
    // Grows the row tables to hold `row`; a row past the largest grid side
    // is refused.
    int ensureRow(int row);
    // The layout needs a grid side of `value` cells, more than a grid has.
    [[noreturn]] static void raiseSide(int value);
};
