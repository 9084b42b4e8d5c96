#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "TreeTypes.h"

class SVGTree;

// The family editor without widgets: fills its fields from a family or from
// two parents, proposes the family key, lists the children, keeps the set
// of children edited meanwhile, and on OK checks every field before it
// writes any.
class FamilyEditModel {
public:
    struct Fields {
        QString key;
        QString parent1;
        QString parentCaption1;
        QString parent2;
        QString parentCaption2;
        bool unshownChildren = false;
        bool liaison = false;
        QString notes;  // the four pages, lines joined by "\n"
        QString tooltips;
        QString progData;
        QString locSettings;
    };

    explicit FamilyEditModel(SVGTree& tree);

    void loadEdit(const QString& sKey);
    void loadCreate(const QString& sPar1, const QString& sPar2);
    bool createMode() const { return !family_; }
    const SVGFamilyPtr& family() const { return family_; }
    Fields& fields() { return fields_; }
    const Fields& fields() const { return fields_; }

    // The key for a family of two parents: their keys without a trailing
    // "-" and number, joined by "_", made unique in the tree.
    static QString sNewFamilyKey(const SVGTree& tree, const QString& sPar1, const QString& sPar2);

    // The children's captions and keys, in the family's order (none in create mode).
    QStringList childCaptions() const;
    QString childKey(int index) const;

    // A child was changed through the person editor: it joins the edited set
    // and the tree raises its person-details event.
    void childEdited(const QString& sKey);
    const QString& editedChildren() const { return editedChildren_; }

    // OK: checks every field and raises the first refusal (base + 515) before
    // anything is written; then writes the family. Returns its key.
    QString ok();

private:
    SVGTree& tree_;
    SVGFamilyPtr family_;
    Fields fields_;
    QString editedChildren_;
};
