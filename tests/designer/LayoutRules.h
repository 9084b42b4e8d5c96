#pragma once

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <string>

#include "SVGTree.h"

// The automatic layout's rules written out plainly, step by step and without
// any speed-up, for tests to compare the layout with, position by position.
// It reads the tree's current view and never writes to the tree.
//
// Besides the rules themselves it keeps what the layout decided on top of
// them: rows and columns grow as needed up to 16383; every walk over
// families, descendants and pushes ends on lines that descend from
// themselves (a family reached again is not laid out again, a unit already
// in a row list is not appended again, a unit reached again while it is
// being pushed is not pushed again, and a family's block reached again ends
// the push); a walk through a block ends at a crossed unit, which never
// moves; a ring of marriages stands each person once (and positions in
// the unit past its end are read as its last person); a family lists a unit
// of two of its children once; a family whose two parents the view does not
// both show has no children's block; units no root reaches are laid out as
// trees of their own below the rest; the width count counts a child unit
// only through the family that places it. And the guard: a push that leaves
// a person it moved in a cell that another person holds is taken back
// whole, positions and shift counts, and the pass goes on.
class LayoutRules {
public:
    explicit LayoutRules(const SVGTree& tree) : tree_(tree) {}

    // Lays the tree out with SVGLayout and with the rules, then runs two more
    // passes through Adjust on each: every position, the grid, the pass-limit
    // warning and a refusal must be the same. Returns a description of the
    // first difference, "" when there is none.
    static std::string differenceFromLayout(SVGTree& tree);

    // Lays out the view. False when the view is empty. On an error (a
    // marriage chain that cannot be sorted, a grid side too large) `error`
    // holds its text and `cells` stays empty.
    bool organise();
    // One more adjustment pass on the same records; true when it moved anything.
    bool adjust();

    QHash<QString, QPair<int, int>> cells;  // person key -> new column and row
    int cols = 0, rows = 0;
    bool warned = false;  // the pass-limit warning
    QString error;

private:
    struct Person {
        SVGBoxPtr box;
        QString key;
        int newCol = 0, newRow = 0;
        int unit = 0, parentFam = 0, year = 0;
    };
    struct Family {
        SVGFamilyPtr fam;
        QString key;
        int p1 = 0, p2 = 0;
        int row = 0, col = 0, childCount = 0, width = 0, span = 0;
        QVector<int> childPersons;  // in the family's own order
        QVector<int> children;      // units, in the children's year order
        int tree = 0, next = 0, year = 0;
        bool inRow = false, laidOut = false;
    };
    struct Unit {
        int row = 0, col = 0, width = 0;
        QVector<int> persons;  // first person, then the members, in row order
        QVector<int> fams;     // chain order
        int parentFam = 0, tree = 0, next = 0;
        bool crossed = false, inRow = false, placed = false;
        int count() const { return int(persons.size()); }
    };
    struct Fail {
        QString text;
    };

    int personYear(const SVGBox& box) const;
    int familyYear(const SVGFamily& fam) const;
    static void exchangeSort(QVector<qint64>& keys, QVector<int>& ids);
    QStringList famSetOf(int person) const;
    void buildUnit(int person);
    QVector<int> chainOrder(const QVector<int>& fams);
    QStringList descendantKeys(int family, QSet<int>& seen) const;
    void numberTrees(const QVector<int>& roots);
    bool needsOwnRow(int u) const;
    int endColumn(int item) const;
    int nextOf(int item) const;
    int lastOf(int row) const;
    int rowEnd(int row) const;
    int firstEmptyRow() const;
    void placeUnit(int u, int col, int row);
    void placeFamily(int f, int col, int row);
    void append(int row, int item);
    void placeRoot(int u, int row, int tree);
    void placeFamilyTree(int f, int row, int tree);
    void widths(int u, int depth, QVector<int>& width, QSet<int>& seen) const;
    bool fits(int u, int row) const;
    void uncross();
    void movePersons(int u, int from, int& x, bool& moved, bool& ended);
    bool push(int item, int startPos, int row, int target);
    bool guardedPush(int item, int startPos, int row, int target);
    bool pass();
    int& shifts(int row);
    void finish();

    const SVGTree& tree_;
    QVector<Person> persons_{1};
    QVector<Family> families_{1};
    QVector<Unit> units_{1};
    QHash<QString, int> personIndex_, familyIndex_;
    QVector<int> rowHead_{0};
    QHash<int, int> rowShifts_;
    QSet<int> pushing_;
    int nTrees_ = 0;
    int iCols_ = 0, iRows_ = 0;
    bool stepped_ = false;
};
