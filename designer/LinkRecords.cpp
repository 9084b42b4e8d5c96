#include "LinkRecords.h"

#include <algorithm>

namespace {
void insertSorted(QList<int>& list, int value) {
    list.insert(std::lower_bound(list.begin(), list.end(), value) - list.begin(), value);
}
void removeValue(QHash<QString, QList<int>>& map, const QString& key, int value) {
    auto it = map.find(key);
    if (it == map.end()) return;
    it->removeOne(value);
    if (it->isEmpty()) map.erase(it);
}
template <class Map>
void clearKeepingRoom(Map& map) {
    const qsizetype size = map.size();
    map.clear();
    map.reserve(size);
}
void swapColRow(CellRef& cell, const GridGeometry& geometry) {
    qSwap(cell.C, cell.R);
    cell.L = geometry.iCellIndex(cell.C, cell.R);
}
}  // namespace

QString FamilyRecord::circlePicture() const {
    const bool more = bMoreChildren || bMoreChildren2;
    if (bLiaison) return more ? QStringLiteral("CircleH-L") : QStringLiteral("Circle-L");
    return more ? QStringLiteral("CircleH") : QStringLiteral("Circle");
}

LinkRecords::LinkRecords() : families_(1), children_(1) {}

int LinkRecords::takeIndex(std::set<int>& free, int& firstUnused) {
    if (!free.empty()) {
        const int i = *free.begin();
        free.erase(free.begin());
        return i;
    }
    return firstUnused++;
}

int LinkRecords::addFamily(const FamilyRecord& record) {
    const int i = takeIndex(freeFamilies_, firstUnusedFamily_);
    if (size_t(i) >= families_.size()) families_.resize(size_t(i) + 1);
    families_[size_t(i)] = record;
    familyIndex_.insert(record.Key, i);
    if (!record.Key1.isEmpty()) insertSorted(parentFamilies_[record.Key1], i);
    if (!record.Key2.isEmpty() && record.Key2 != record.Key1) insertSorted(parentFamilies_[record.Key2], i);
    return i;
}

int LinkRecords::addChild(const ChildRecord& record) {
    const int i = takeIndex(freeChildren_, firstUnusedChild_);
    if (size_t(i) >= children_.size()) children_.resize(size_t(i) + 1);
    children_[size_t(i)] = record;
    insertSorted(childRecordsOfPerson_[record.Key], i);
    insertSorted(familyChildren_[record.iFamily], i);
    ++liveChildren_;
    return i;
}

void LinkRecords::freeFamily(int i) {
    if (i < 1 || i > familyUpperBound() || !families_[size_t(i)].inUse()) return;
    FamilyRecord& r = families_[size_t(i)];
    if (familyIndex_.value(r.Key) == i) familyIndex_.remove(r.Key);
    removeValue(parentFamilies_, r.Key1, i);
    removeValue(parentFamilies_, r.Key2, i);
    r = FamilyRecord();
    freeFamilies_.insert(i);
}

void LinkRecords::freeChild(int i) {
    if (i < 1 || i > childUpperBound() || !children_[size_t(i)].inUse()) return;
    ChildRecord& r = children_[size_t(i)];
    removeValue(childRecordsOfPerson_, r.Key, i);
    auto fc = familyChildren_.find(r.iFamily);
    if (fc != familyChildren_.end()) {
        fc->removeOne(i);
        if (fc->isEmpty()) familyChildren_.erase(fc);
    }
    r.iFamily = 0;
    --liveChildren_;
    freeChildren_.insert(i);
}

void LinkRecords::clear() {
    for (size_t i = 1; i < families_.size(); ++i) {
        FamilyRecord& r = families_[i];
        r.LCR1.L = r.LCR2.L = 0;
        r.Key1.clear();
        r.Key2.clear();
        r.Key.clear();
    }
    for (size_t i = 1; i < children_.size(); ++i) children_[i].iFamily = 0;
    freeFamilies_.clear();
    freeChildren_.clear();
    firstUnusedFamily_ = firstUnusedChild_ = 1;
    // The records are built again at once, mostly as many: the maps keep
    // their room, so that refilling them does not rehash them as they grow.
    clearKeepingRoom(familyIndex_);
    clearKeepingRoom(parentFamilies_);
    clearKeepingRoom(childRecordsOfPerson_);
    clearKeepingRoom(familyChildren_);
    liveChildren_ = 0;
}

QList<int> LinkRecords::familiesOfParent(const QString& key) const { return parentFamilies_.value(key); }

QList<int> LinkRecords::childrenOfFamily(int iFamily) const { return familyChildren_.value(iFamily); }

int LinkRecords::iFindChild(const QString& key, int& iFamily) const {
    const auto it = childRecordsOfPerson_.constFind(key);
    if (it == childRecordsOfPerson_.constEnd() || it->isEmpty()) {
        iFamily = 0;
        return 0;
    }
    const int i = it->first();
    iFamily = children_[size_t(i)].iFamily;
    return i;
}

void LinkRecords::setParentCell(int iFamily, const QString& key, const CellRef& cell) {
    FamilyRecord& r = families_[size_t(iFamily)];
    if (r.Key1 == key) r.LCR1 = cell;
    if (r.Key2 == key) r.LCR2 = cell;
}

void LinkRecords::setChildCell(int iChild, const CellRef& cell) { children_[size_t(iChild)].LCR = cell; }

void LinkRecords::setFamilyFlags(int iFamily, bool moreChildren, bool liaison) {
    FamilyRecord& r = families_[size_t(iFamily)];
    r.bMoreChildren = moreChildren;
    r.bLiaison = liaison;
}

void LinkRecords::setChildFamily(int iChild, int iFamily) {
    ChildRecord& r = children_[size_t(iChild)];
    if (!r.inUse() || r.iFamily == iFamily || iFamily == 0) return;
    auto fc = familyChildren_.find(r.iFamily);
    if (fc != familyChildren_.end()) {
        fc->removeOne(iChild);
        if (fc->isEmpty()) familyChildren_.erase(fc);
    }
    r.iFamily = iFamily;
    insertSorted(familyChildren_[iFamily], iChild);
}

void LinkRecords::setChildPerson(int iChild, const QString& key, const CellRef& cell, bool tentative) {
    ChildRecord& r = children_[size_t(iChild)];
    if (!r.inUse()) return;
    if (r.Key != key) {
        removeValue(childRecordsOfPerson_, r.Key, iChild);
        r.Key = key;
        insertSorted(childRecordsOfPerson_[key], iChild);
    }
    r.LCR = cell;
    r.bTentative = tentative;
}

void LinkRecords::setChildrenHidden(int iFamily, bool hidden) { families_[size_t(iFamily)].bChildrenHidden = hidden; }

void LinkRecords::transpose(const GridGeometry& geometry) {
    for (size_t i = 1; i < families_.size(); ++i) {
        FamilyRecord& r = families_[i];
        if (!r.inUse()) continue;
        swapColRow(r.LCR1, geometry);
        swapColRow(r.LCR2, geometry);
    }
    for (size_t i = 1; i < children_.size(); ++i)
        if (children_[i].inUse()) swapColRow(children_[i].LCR, geometry);
}
