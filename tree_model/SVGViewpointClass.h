#pragma once

#include <QString>

#include "KeySet.h"
#include "TreeTypes.h"

class SVGTree;

// A named subset of the tree with a grid of its own: some persons, each at a
// position of its own, and some families. A position is packed as
// high * 16384 + low (each part 0..16383), high being the column and low the
// row in the tree's stored orientation; the members taking bHoriz translate
// from display columns and rows.
class SVGViewpointClass {
public:
    static constexpr int kPackFactor = 16384;
    // The most columns or rows a grid can have.
    static constexpr int kMaxGridSide = kPackFactor - 1;
    static constexpr int kFamilyErrorOffset = 529;

    SVGViewpointClass() = default;
    // A copy would report its changes to the tree holding the original.
    SVGViewpointClass(const SVGViewpointClass&) = delete;
    SVGViewpointClass& operator=(const SVGViewpointClass&) = delete;

    QString GetKey() const { return key_; }
    void SetKey(const QString& sK) { key_ = sK; }
    QString GetName() const { return name_; }
    void SetName(const QString& sN) { name_ = sN; }
    int GetCols() const { return cols_; }
    void SetCols(int iC) { cols_ = iC; }
    int GetRows() const { return rows_; }
    void SetRows(int iR) { rows_ = iR; }

    // Person key to packed position, in order of addition. Persons join and
    // leave only through the members below, so that the tree holding the
    // viewpoint can keep each person's list of viewpoints.
    const OrderedDict<qint32>& GetPerDict() const { return persons_; }
    QString GetFamSet() const { return families_.join(); }
    const KeySet& GetFamKeys() const { return families_; }

    bool PersonExists(const QString& sKey) const { return persons_.contains(sKey); }
    bool FamilyExists(const QString& sKey) const { return families_.contains(sKey); }
    // Those families of the person's family set that this viewpoint shows.
    QString FamiliesShown(const SVGBox& oPer) const;
    void GetPerColRow(const QString& sKey, int& iCol, int& iRow, bool bHoriz) const;
    void SetPerColRow(const QString& sKey, int iCol, int iRow, bool bHoriz);
    bool RemPerRef(const QString& sKey);
    bool AddPerRef(const QString& sKey, int iCol, int iRow, bool bHoriz);
    bool AddPerRefFromFile(const QString& sKey, int iCol, int iRow) { return AddPerRef(sKey, iCol, iRow, false); }
    // Adds a family whose two parents the viewpoint holds; false when already shown.
    bool AddFamRef(const SVGFamily& oFam);
    bool RemFamRef(const QString& sKey);
    // Makes the viewpoint a copy of the whole tree.
    void DuplicateTree(SVGTree& oTree);

private:
    friend class SVGTree;
    static qint32 pack(int iCol, int iRow, bool bHoriz);

    // The tree that holds this viewpoint, told of every person and family
    // that joins or leaves it; null before the tree adds it and after the
    // tree lets it go.
    SVGTree* tree_ = nullptr;

    QString key_;
    QString name_;
    int cols_ = 12;
    int rows_ = 8;
    OrderedDict<qint32> persons_;
    KeySet families_;
};
