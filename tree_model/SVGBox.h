#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include "KeySet.h"
#include "AttachedTexts.h"
#include "TreeTypes.h"

class SVGTree;

// One person of the tree: the box drawn in the chart and the cell placed in
// the Tree Designer. Created only by SVGTree::NewPerson; the tree owns it.
class SVGBox : public AttachedTexts {
public:
    SVGBox() = default;

    // Stores the full-tree position; with bNotOrient false and a vertical
    // display the pair is a display position and is stored swapped.
    void SetNewPosn(int iCol, int iRow, bool bNotOrient);
    void Init(SVGTree* oTr, const QString& sKy, int iCol, int iRow, const QString& sS, bool bTent, bool bFromFile);
    // Parses comma-separated "name=value" local Person settings.
    void InitSettings(const QString& sRec);

    // Geometry of the box at its displayed position (current viewpoint or full tree).
    double GetXL() const;
    double GetXC() const;
    double GetXR() const;
    double GetYT() const;
    double GetYM() const;
    double GetYB() const;

    bool GetTentative() const { return tentative_; }
    void SetTentative(bool bTent) { tentative_ = bTent; }
    QString GetSex() const { return sex_; }
    void SetSex(const QString& sSx) { sex_ = sSx; }
    QString GetText() const { return text_; }
    void SetText(const QString& sTxt);
    QString GetDisplayText() const;
    QString GetShortText() const { return shortText_; }
    void SetShortText(const QString& sShortTxt);
    void CheckShortText();
    QString GetDisplayShortText() const;
    void SetPersonalNames(const QString& sNames);
    QString GetPersonalNames() const { return personalNames_; }
    QString CreatePersonalName() const;

    QString GetImage() const { return image_; }
    void SetImage(const QString& sImg) { image_ = sImg; }
    QString GetKey() const { return key_; }
    // Display column and row of the full-tree position.
    int GetCol() const;
    int GetRow() const;
    int GetTreeCol() const { return treeCol_; }
    int GetTreeRow() const { return treeRow_; }

    // Families in which this person is a parent, in order of addition.
    void AddFamSet(const QString& sFam);
    void RemFamSet(const QString& sFam);
    QString GetFamSet() const { return famSet_.join(); }
    const KeySet& GetFamKeys() const { return famSet_; }

    // Spouses already drawn next to this person during one drawing of the chart.
    void AddSpouseSet(const QString& sSpouse);
    void SetSpouseSet(const QString& sSpouses) { spouseSet_ = KeySet::fromText(sSpouses); }
    QString GetSpouseSet() const { return spouseSet_.join(); }

    // Every person linked to this one through families in which both are
    // parents, this person first; cached per connected group until reset.
    QString GetRelatedSpouses();
    void ResetRelatedSpouses() { relatedSpouses_ = QStringLiteral("-"); }

    SVGTree* GetTree() const { return tree_; }

private:
    friend class SVGTree;
    friend class SVGFamily;
    void SetRelatedSpouses(const QString& sList) { relatedSpouses_ = sList; }
    void displayCell(int& iCol, int& iRow) const;
    // The family the tree holds under a key of this person's family set, or null.
    const SVGFamily* parentFamily(const FamilyDict& families, const QString& sFam) const;
    QPointF cellOrigin() const;

    // What the chart writer reads of every person stands first, together:
    // the fewer memory lines a person's lookups touch, the less a large tree
    // waits on memory.
    SVGTree* tree_ = nullptr;
    int treeRow_ = 0;
    int treeCol_ = 0;
    // True while the tree holds this box under its key (NewPerson and
    // RemPerson are the only members that add and remove persons): its
    // full-tree place is then its own, found without a look-up.
    bool held_ = false;
    bool tentative_ = false;
    // The person's number in the tree's search for lineage loops, while it
    // runs (it stands where the fields above leave room).
    int loopWalk_ = -1;
    QString key_;
    QString relatedSpouses_ = QStringLiteral("-");
    KeySet famSet_;
    // The families of the tree that list this person among their children,
    // kept by the families; answers SVGTree::ChildFamily without a search.
    // Nearly every person is the child of one family at most: it is held in place.
    PointerList<const SVGFamily*> childOf_;
    // The families the tree holds in which this person is a parent, kept by
    // the tree as it adds and removes families: they answer the keys of the
    // family set without a look-up.
    PointerList<const SVGFamily*> parentOf_;
    // The viewpoints of the tree that hold this one, kept by the tree as they
    // take it in and let it go.
    ViewpointList inViewpoints_;
    QString sex_;
    QString text_;
    QString shortText_;
    QString personalNames_;
    QString image_;
    KeySet spouseSet_;
};
