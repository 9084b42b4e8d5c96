#pragma once

#include <set>
#include <vector>

#include <QHash>
#include <QList>
#include <QString>

#include "GridGeometry.h"

// One family shown in the designer: its two parents' cells and keys (the
// first is the one further left, or further up), the flags that choose its
// circle's picture, and the family key. LCR1.L == 0 marks the record free.
struct FamilyRecord {
    CellRef LCR1;
    QString Key1;
    CellRef LCR2;
    QString Key2;
    bool bChildrenHidden = false;
    bool bMoreChildren = false;
    bool bMoreChildren2 = false;  // a child of the family is not in view
    bool bLiaison = false;
    bool bRelatedSpouses = false;
    QString Key;

    bool inUse() const { return LCR1.L > 0; }
    // "Circle", "CircleH", "Circle-L" or "CircleH-L".
    QString circlePicture() const;
};

// One child line: the family record it hangs from (0 marks the record free),
// the child's cell, whether the child is tentative, and the child's key.
struct ChildRecord {
    int iFamily = 0;
    CellRef LCR;
    bool bTentative = false;
    QString Key;

    bool inUse() const { return iFamily != 0; }
};

// The family and child records of the designer (`atFamily`, `atChild`),
// index 0 of each never a live record (child record 0 is the scratch record
// of a circle drag). A new record takes the lowest free index; the records
// of a family, of a parent and of a child are found through maps, without
// scanning every record.
class LinkRecords {
public:
    LinkRecords();

    const std::vector<FamilyRecord>& atFamily() const { return families_; }
    const std::vector<ChildRecord>& atChild() const { return children_; }
    const FamilyRecord& family(int i) const { return families_[size_t(i)]; }
    const ChildRecord& child(int i) const { return children_[size_t(i)]; }
    ChildRecord& scratchChild() { return children_[0]; }
    int familyUpperBound() const { return int(families_.size()) - 1; }
    int childUpperBound() const { return int(children_.size()) - 1; }

    // Adds a record at the lowest free index and returns the index.
    int addFamily(const FamilyRecord& record);
    int addChild(const ChildRecord& record);
    // Frees one record (a family's child records stay: free them first).
    void freeFamily(int i);
    void freeChild(int i);
    // Frees every record; the arrays keep their size.
    void clear();

    // The record of a family key; 0 when none.
    int familyIndex(const QString& key) const { return familyIndex_.value(key, 0); }
    // The family records in which the person is a parent, in index order.
    QList<int> familiesOfParent(const QString& key) const;
    // The child records of a family record, in index order.
    QList<int> childrenOfFamily(int iFamily) const;
    // The first child record in use for the person, and its family record;
    // both 0 when there is none.
    int iFindChild(const QString& key, int& iFamily) const;

    // Moves a parent of a family record to another cell.
    void setParentCell(int iFamily, const QString& key, const CellRef& cell);
    void setChildCell(int iChild, const CellRef& cell);
    void setChildrenHidden(int iFamily, bool hidden);
    void setMoreChildren2(int iFamily, bool more) { families_[size_t(iFamily)].bMoreChildren2 = more; }
    // The flags the family editor may change.
    void setFamilyFlags(int iFamily, bool moreChildren, bool liaison);
    void setRelatedSpouses(int iFamily, bool related) { families_[size_t(iFamily)].bRelatedSpouses = related; }
    void setChildTentative(int iChild, bool tentative) { children_[size_t(iChild)].bTentative = tentative; }
    // Hangs a child record from another family record.
    void setChildFamily(int iChild, int iFamily);
    // Gives a child record to another person, standing in the given cell.
    void setChildPerson(int iChild, const QString& key, const CellRef& cell, bool tentative);
    // Exchanges column and row of every record in use and recomputes each
    // cell index in the given (already transposed) geometry.
    void transpose(const GridGeometry& geometry);

    int familyCount() const { return familyIndex_.size(); }
    int childCount() const { return liveChildren_; }

private:
    static int takeIndex(std::set<int>& free, int& firstUnused);

    std::vector<FamilyRecord> families_;
    std::vector<ChildRecord> children_;
    // Free indices below the first never used since the last clear.
    std::set<int> freeFamilies_, freeChildren_;
    int firstUnusedFamily_ = 1, firstUnusedChild_ = 1;
    QHash<QString, int> familyIndex_;
    QHash<QString, QList<int>> parentFamilies_;
    QHash<QString, QList<int>> childRecordsOfPerson_;
    QHash<int, QList<int>> familyChildren_;
    int liveChildren_ = 0;
};
