#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include <utility>
#include <vector>

#include "tree_model/TreeTypes.h"

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
class SVGLayout {
public:
    // The pass-limit warning goes to `reporter` (none: not shown).
    explicit SVGLayout(Reporter* reporter = nullptr) : reporter_(reporter) {}

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

    // The year a layout sorts by, found in a text: the first four digits from
    // 1000 to 2500 not followed by a digit and not after "-", an en dash,
    // "-c" or an en dash and "c". 0 when there is none.
    static int iYearFromText(const QString& sText);
    // The year of the first Birth or Baptism (bPerson) or Marriage event of
    // the event mark-up in the joined notes text; 0 when there is none.
    static int iEventYear(const QString& sNotes, bool bPerson);

    // Ascending exchange sort of ids by keys: for each position i and each
    // later position j in turn the two swap when the key at i is greater than
    // the key at j. Equal keys end in the order this gives, which the layout
    // depends on. Time grows with the square of the count: for short lists.
    static void ExchangeSort(QVector<qint64>& keys, QVector<int>& ids);
    // The same order, found in time n log n, for long lists.
    static void ExchangeSortFast(QVector<qint64>& keys, QVector<int>& ids);

    // Adjustment passes Organise runs at most before it warns.
    static constexpr int kPassLimit = 20;
    // Shifts one row accepts from the adjustment passes.
    static constexpr int kRowShiftLimit = 25;
    // The largest column or row a grid can take (positions are packed in 14 bits).
    static constexpr int kMaxGridSide = 16383;
    static constexpr int kSortSpousesErrorOffset = 521;
    static const char* const kSource;

    // ---- Read-only views of the last layout, for the designer and tests.
    int PersonCount() const { return int(persons_.size()) - 1; }
    int UnitCount() const { return int(units_.size()) - 1; }
    // Person keys of the unit that holds sKey, in row order; empty when none.
    QStringList UnitOrder(const QString& sKey) const;

private:
    struct PersonRec {
        SVGBoxPtr box;
        QString key;
        int prevCol = 0, prevRow = 0;
        int newCol = 0, newRow = 0;
        int unit = 0;
        int parentFam = 0;
        int year = 0;
    };
    struct FamilyRec {
        SVGFamilyPtr fam;
        int row = 0, col = 0;
        int childCount = 0, width = 0, span = 0;
        QVector<int> children;     // unit indices, in the children's year order
        QVector<int> childPersons; // person indices in the family's own order
        int tree = 0;
        int next = 0;
        bool inRow = false;
        bool visited = false;
        int p1 = 0, p2 = 0;  // person indices of the parents, 0 when out of view
        int year = 0;
    };
    struct UnitRec {
        int row = 0, col = 0;
        int count = 0, width = 0;
        int first = 0;
        QVector<int> members;
        QVector<int> fams;    // the unit's families, in chain order
        QVector<int> years;
        int chainCount = 0;
        int parentFam = 0;
        int tree = 0;
        bool crossed = false;
        int next = 0;
        bool inRow = false;
        bool placed = false;
    };

    void clear();
    int personSortYear(const SVGBox& box) const;
    int familySortYear(const SVGFamily& fam, int firstChildYear) const;
    static void sortByYear(QVector<qint64>& years, QVector<int>& ids);
    void buildUnit(int person);
    QVector<int> chainOrder(const QVector<int>& fams);
    int unitPerson(const UnitRec& u, int pos) const;
    int ensureRow(int row);
    int endColumn(int item) const;
    int rowEnd(int row) const;
    void placeUnit(int u, int col, int row);
    void placeFamily(int f, int col, int row);
    void appendItem(int row, int item);
    void placeRootTree(int u, int row, int tree);
    bool fits(int u, int row);
    int firstEmptyRow();
    void numberTrees(const QVector<int>& roots);
    void uncross();
    bool pass();
    struct PushFrame {
        int item = 0, row = 0, x = 0;
        bool moved = false, ended = false;
        int block = 0;  // family whose children's block is being pushed
        int index = 0;  // next unit of that block
        int next = 0;   // the row list's next item, pushed after the block
        bool tailDone = false;
        enum { None, BlockChild, Tail } waiting = None;
    };
    bool openPush(int item, int startPos, int row, int target, bool nested, PushFrame& fr);
    bool push(int item, int startPos, int row, int target);
    bool guardedPush(int item, int startPos, int row, int target);
    bool pushUnitPersons(int u, int startPos, int& x, bool& ended, bool& moved);
    void writePositions(bool bNew, bool bViewAsRead);
    bool needsOwnRow(int u) const;
    void growGrid();
    [[noreturn]] void raiseSide(int value);

    Reporter* reporter_ = nullptr;
    SVGTree* tree_ = nullptr;
    SVGViewpointPtr viewpoint_;
    bool stepped_ = false;
    QVector<PersonRec> persons_{1};
    QVector<FamilyRec> families_{1};
    QVector<UnitRec> units_{1};
    QHash<const SVGBox*, int> personIndex_;
    QHash<QString, int> familyIndex_;
    // Families of the view in which a person is a parent: famOf_ from
    // famOfStart_[p] up to famOfStart_[p + 1].
    std::vector<int> famOfStart_, famOf_;
    // Marks of the unit being built on families, on persons placed in it and
    // on persons whose family set it has taken.
    std::vector<int> famStamp_, personStamp_, personSwept_;
    // Marks, widths by row and work list of the fit test.
    std::vector<int> unitMark_;
    int markWalk_ = 0;
    std::vector<int> fitWidth_;
    std::vector<std::pair<int, int>> fitStack_;
    QVector<int> rowHead_{0}, rowTail_{0}, rowShifts_{0};
    int firstEmpty_ = 1;
    // Row items (units negative, families positive) a push is working on.
    QSet<int> pushActive_;
    int nTrees_ = 0;
    // Persons per cell while the adjustment passes run, and the moves of
    // the push under way (person or unit, column before), to take it back.
    QHash<qint64, int> cellCount_;
    bool cellsCounted_ = false;
    bool logging_ = false;
    std::vector<std::pair<int, int>> moveLog_, unitLog_;
    std::vector<int> movedStamp_;
    int moveWalk_ = 0;
    // Pushes refused during the adjustment passes, by what they were asked
    // (item, start position, row, target). A pass starts again from the
    // first unit after each push that moves, so it would ask the same pushes
    // again and again, each costing what it moves before it is taken back:
    // one refused is not asked again while the passes run.
    QSet<QPair<qint64, qint64>> refusedPushes_;
    // The cells the persons of a push left and came to, sorted.
    std::vector<qint64> leftCells_, cameCells_;
    int iCols_ = 0, iRows_ = 0;
};
