#include "SVGViewpointClass.h"

#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "foundation/AppError.h"

qint32 SVGViewpointClass::pack(int iCol, int iRow, bool bHoriz) {
    return bHoriz ? iCol * kPackFactor + iRow : iRow * kPackFactor + iCol;
}

QString SVGViewpointClass::FamiliesShown(const SVGBox& oPer) const {
    KeySet shown;
    const KeySet& fams = oPer.GetFamKeys();
    for (int i = 0; i < fams.count(); ++i)
        if (families_.contains(fams.at(i))) shown.add(fams.at(i));
    return shown.join();
}

void SVGViewpointClass::GetPerColRow(const QString& sKey, int& iCol, int& iRow, bool bHoriz) const {
    const qint32 value = persons_.value(sKey, 0);
    const int high = value / kPackFactor;
    const int low = value % kPackFactor;
    if (bHoriz) {
        iCol = high;
        iRow = low;
    } else {
        iRow = high;
        iCol = low;
    }
}

void SVGViewpointClass::SetPerColRow(const QString& sKey, int iCol, int iRow, bool bHoriz) {
    if (qint32* held = persons_.find(sKey))
        *held = pack(iCol, iRow, bHoriz);
    else
        AddPerRef(sKey, iCol, iRow, bHoriz);
}

bool SVGViewpointClass::AddPerRef(const QString& sKey, int iCol, int iRow, bool bHoriz) {
    if (!persons_.add(sKey, pack(iCol, iRow, bHoriz))) return false;
    if (tree_) tree_->viewpointPersonJoined(*this, sKey);
    return true;
}

bool SVGViewpointClass::RemPerRef(const QString& sKey) {
    if (!persons_.remove(sKey)) return false;
    if (tree_) tree_->viewpointPersonLeft(*this, sKey);
    return true;
}

bool SVGViewpointClass::RemFamRef(const QString& sKey) {
    if (!families_.remove(sKey)) return false;
    if (tree_) tree_->viewpointFamilyLeft(*this, sKey);
    return true;
}

bool SVGViewpointClass::AddFamRef(const SVGFamily& oFam) {
    if (families_.contains(oFam.GetKey())) return false;
    const SVGBoxPtr p1 = oFam.GetFirstPar();
    const SVGBoxPtr p2 = oFam.GetSecPar();
    if (!p1 || !p2 || !PersonExists(p1->GetKey()) || !PersonExists(p2->GetKey()))
        raiseError(kFamilyErrorOffset, QStringLiteral("SVGViewpointClass"),
                   QStringLiteral("Cannot add reference to family ") + oFam.GetKey() + QStringLiteral(" to viewpoint ") +
                       key_ + QStringLiteral(" without both spouses"));
    families_.add(oFam.GetKey());
    if (tree_) tree_->viewpointFamilyJoined(*this, oFam.GetKey());
    return true;
}

void SVGViewpointClass::DuplicateTree(SVGTree& oTree) {
    int cols = 0, rows = 0;
    oTree.GetFullGridColRow(cols, rows, true);
    cols_ = cols;
    rows_ = rows;
    for (const auto& kv : oTree.GetPersons()) {
        const SVGBox& p = *kv.second;
        if (!AddPerRef(kv.first, p.GetTreeCol(), p.GetTreeRow(), true))
            SetPerColRow(kv.first, p.GetTreeCol(), p.GetTreeRow(), true);
    }
    for (const auto& kv : oTree.GetFamilies()) AddFamRef(*kv.second);
    oTree.RaiseViewpointPFChange(key_);
}
