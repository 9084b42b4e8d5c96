#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "AttachedTexts.h"
#include "TreeTypes.h"

class SVGTree;

// One family of the tree: two parents and an ordered list of children.
// Created only by SVGTree::NewFamily (or the tree file reader through it);
// the tree owns it.
class SVGFamily : public AttachedTexts {
public:
    SVGFamily() = default;

    void Init(SVGTree* oTr, const SVGBoxPtr& oPar1, const SVGBoxPtr& oPar2);
    // Parses comma-separated "name=value" local Family settings.
    void InitSettings(const QString& sRec);

    void AddChild(const SVGBoxPtr& oChild);
    // Removes the child (same object); the last child takes its place.
    void RemChild(const SVGBox* oChild);
    void RemChild(const SVGBoxPtr& oChild) { RemChild(oChild.get()); }
    void RemAllChildren();
    bool ChildExists(const QString& sKey) const;

    void SetKey(const QString& sK) { key_ = sK; }
    QString GetKey() const { return key_; }
    SVGBoxPtr GetFirstPar() const { return par1_; }
    SVGBoxPtr GetSecPar() const { return par2_; }
    // A copy of the children in order; empty when there are none.
    QList<SVGBoxPtr> GetChildren() const { return children_; }
    int ChildCount() const { return static_cast<int>(children_.size()); }
    bool GetMoreChildren() const { return moreChildren_; }
    void SetMoreChildren(bool bMore) { moreChildren_ = bMore; }
    bool GetLiaison() const { return liaison_; }
    void SetLiaison(bool bLia) { liaison_ = bLia; }
    QString GetRootKey() const { return rootKey_; }
    void SetRootKey(const QString& sKey) { rootKey_ = sKey; }

    SVGTree* GetTree() const { return tree_; }

private:
    friend class SVGTree;
    friend class SVGBox;

    SVGTree* tree_ = nullptr;
    // True while the tree holds this family under its key (NewFamily and
    // RemFamily are the only members that add and remove families); the
    // children of a held family know it.
    bool indexed_ = false;
    // Given by the tree when it adds the family, larger for each later one:
    // held families order by it as they stand in the tree's family order,
    // which removals keep and additions extend at the end.
    quint64 order_ = 0;
    QString key_;
    // The viewpoints of the tree that hold this one, kept by the tree as they
    // take it in and let it go.
    ViewpointList inViewpoints_;
    SVGBoxPtr par1_;
    SVGBoxPtr par2_;
    QList<SVGBoxPtr> children_;
    bool moreChildren_ = false;
    bool liaison_ = false;
    QString rootKey_;
};
