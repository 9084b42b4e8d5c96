#pragma once

#include <memory>
#include <span>
#include <vector>

#include <QString>

class GEDStore;

// Places every individual of a loaded document on the grid of a tree file:
// a row for its generation (1 at the top) and a column for its place within
// the row (from 1). Rows: people without a birth family start at row 1, and
// the children of a couple stand one row below the lower of the two
// partners; afterwards each couple is brought to the lower of its two rows.
// Columns are handed out row by row in the order of one of two walks: up
// from the people who are nobody's parents, placing each spouse group side
// by side before its parents (when the top row is at least as full as the
// bottom one), or else down from the people without a birth family.
//
// Every walk runs on explicit stacks, so the depth of a pedigree is limited
// only by memory. A person who is their own ancestor is found by cycle
// detection before anything is placed and raised as a lineage loop. Anyone
// the walks do not reach still gets a row and a column of at least 1. Counts
// are 32-bit; a grid larger than a tree file's 16-bit one is an error.
class GEDLayout {
public:
    explicit GEDLayout(const std::shared_ptr<GEDStore>& store);
    void run();

private:
    void collect();
    void keepLiveLinks();
    void buildLineage();
    void buildChildOf();
    void checkLoops();
    void layoutRows();
    void alignSpouses();
    void layoutColumns();
    void layoutAncestors(qint32 start);
    void buildSteps();
    void layoutDescendants(qint32 start);
    void visit(qint32 p);
    void placeVisited();
    const std::vector<qint32>& groupOf(qint32 p);
    qint32 other(qint32 fam, qint32 p) const;
    bool isPerson(qint32 row) const;
    [[noreturn]] void raiseLoop(qint32 p, qint32 count) const;
    void writeBack();

    std::shared_ptr<GEDStore> shared_;
    GEDStore& store_;
    // People and families go by their side-table rows, where the link
    // tables already hold them; the rows of the records in document order
    // give the order of every step whose result depends on it. A row that
    // is no record's (none of the document's people or families) stands in
    // no list: when there are such rows, the layout reads copies of the link
    // tables in which links to them read as none.
    std::size_t people_ = 0;    // rows of the person table
    std::size_t families_ = 0;  // rows of the family table
    std::span<const qint32> personOrder_, famOrder_;
    bool allRecords_ = true;
    std::vector<char> isRecord_;
    const qint32* famc_ = nullptr;
    const qint32* famsBegin_ = nullptr;
    const qint32* famsEnd_ = nullptr;
    const qint32* fams_ = nullptr;
    const qint32* husb_ = nullptr;
    const qint32* wife_ = nullptr;
    const qint32* childBegin_ = nullptr;
    const qint32* childEnd_ = nullptr;
    const qint32* children_ = nullptr;
    std::vector<qint32> ownFamc_, ownFamsBegin_, ownFamsEnd_, ownFams_;
    std::vector<qint32> ownHusb_, ownWife_, ownChildBegin_, ownChildEnd_, ownChildren_;
    // Who a family's children descend from: its partners and whoever names
    // it as a spousal family; and, inverted, the families each person is a
    // parent of and those that list each person as a child.
    std::vector<qint32> famParentStart_, famParents_;
    std::vector<char> famParentNames_;
    std::vector<qint32> parentOfStart_, parentOf_;
    std::vector<qint32> childOfStart_, childOf_;
    bool childOfBuilt_ = false;
    std::vector<char> reached_;
    // Beside each spousal family link (as fams_ holds them): the family's
    // other partner, and where its children lie.
    struct Spouse {
        qint32 other, childBegin, childEnd;
    };
    std::vector<Spouse> spouses_;
    struct Slot {
        enum : qint32 { NotWalked = 0, Walking, Walked };
        qint32 row, col, visits, state;
    };
    // The descendants' walk from each person as one list of steps (those of
    // person p from stepStart_[p]): a child to walk (its row) or a partner
    // to place (-2 - row); how far each person's walk is, and whom the walks
    // visited, in order.
    std::vector<qint32> steps_;
    std::vector<qint32> stepStart_;
    std::vector<char> walkState_;
    std::vector<qint32> visited_;
    struct Frame {
        qint32 person;
        qint32 step, stepsEnd;
    };
    std::vector<Slot> slots_;
    std::vector<Frame> walkStack_;
    std::vector<qint32> row_, col_;
    std::vector<qint32> topoOrder_;
    std::vector<qint32> nextCol_;
    std::vector<qint32> groupId_;
    std::vector<std::vector<qint32>> groups_;
    qint32 maxRow_ = 0;
    qint32 maxCol_ = 0;
};
