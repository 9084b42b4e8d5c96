#include "SVGFamily.h"

#include "LocalSettings.h"
#include "SVGBox.h"
#include "SVGTree.h"

void SVGFamily::Init(SVGTree* oTr, const SVGBoxPtr& oPar1, const SVGBoxPtr& oPar2) {
    tree_ = oTr;
    par1_ = oPar1;
    par2_ = oPar2;
}

void SVGFamily::InitSettings(const QString& sRec) {
    static const QStringList booleans = {"HideLinks"};
    static const QStringList classes = {"ClassFamily", "ClassFamilyLines", "ClassFamilyNotes"};
    parseLocalSettings(sRec, GetLocSettings(), QStringLiteral("SVGFamily"), QStringLiteral("Family"), booleans, {},
                       classes);
}

void SVGFamily::AddChild(const SVGBoxPtr& oChild) {
    children_.append(oChild);
    if (indexed_ && oChild) oChild->childOf_.append(this);
}

void SVGFamily::RemChild(const SVGBox* oChild) {
    for (int i = 0; i < children_.size(); ++i) {
        if (children_[i].get() != oChild) continue;
        const SVGBoxPtr child = children_[i];
        if (i != children_.size() - 1) children_[i] = children_.last();
        children_.removeLast();
        if (indexed_ && child) child->childOf_.removeOne(this);
        return;
    }
}

void SVGFamily::RemAllChildren() {
    const QList<SVGBoxPtr> old = children_;
    children_.clear();
    if (indexed_)
        for (const SVGBoxPtr& child : old)
            if (child) child->childOf_.removeOne(this);
}

bool SVGFamily::ChildExists(const QString& sKey) const {
    for (const SVGBoxPtr& child : children_)
        if (child && child->GetKey() == sKey) return true;
    return false;
}
