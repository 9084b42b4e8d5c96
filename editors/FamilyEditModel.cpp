#include "FamilyEditModel.h"

#include "NotesPagesText.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "foundation/AppError.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSource = QStringLiteral("FormFamily");

QString withoutNumberSuffix(const QString& key) {
    const qsizetype dash = key.lastIndexOf(u'-');
    if (dash < 0) return key;
    const QString tail = key.mid(dash + 1);
    if (tail.isEmpty()) return key;
    for (QChar c : tail)
        if (c < u'0' || c > u'9') return key;
    return key.left(dash);
}
}  // namespace

FamilyEditModel::FamilyEditModel(SVGTree& tree) : tree_(tree) {}

QString FamilyEditModel::sNewFamilyKey(const SVGTree& tree, const QString& sPar1, const QString& sPar2) {
    return tree.MakeUniqueKey(withoutNumberSuffix(sPar1) + u'_' + withoutNumberSuffix(sPar2));
}

void FamilyEditModel::loadEdit(const QString& sKey) {
    family_ = tree_.GetFamilies().value(sKey);
    fields_ = Fields();
    editedChildren_.clear();
    if (!family_) return;
    fields_.key = sKey;
    if (const SVGBoxPtr p = family_->GetFirstPar()) {
        fields_.parent1 = p->GetKey();
        fields_.parentCaption1 = p->GetDisplayText();
    }
    if (const SVGBoxPtr p = family_->GetSecPar()) {
        fields_.parent2 = p->GetKey();
        fields_.parentCaption2 = p->GetDisplayText();
    }
    fields_.notes = sPageText(family_->GetNotes());
    fields_.tooltips = sPageText(family_->GetTooltips());
    fields_.progData = sPageText(family_->GetProgData());
    fields_.locSettings = sGetLocSettingsText(*family_);
    fields_.unshownChildren = family_->GetMoreChildren();
    fields_.liaison = family_->GetLiaison();
}

void FamilyEditModel::loadCreate(const QString& sPar1, const QString& sPar2) {
    family_.reset();
    fields_ = Fields();
    editedChildren_.clear();
    fields_.key = sNewFamilyKey(tree_, sPar1, sPar2);
    fields_.parent1 = sPar1;
    fields_.parent2 = sPar2;
    if (const SVGBoxPtr p = tree_.GetPersons().value(sPar1)) fields_.parentCaption1 = p->GetDisplayText();
    if (const SVGBoxPtr p = tree_.GetPersons().value(sPar2)) fields_.parentCaption2 = p->GetDisplayText();
}

QStringList FamilyEditModel::childCaptions() const {
    QStringList captions;
    if (family_)
        for (const SVGBoxPtr& child : family_->GetChildren()) captions.append(child->GetDisplayText());
    return captions;
}

QString FamilyEditModel::childKey(int index) const {
    if (!family_) return QString();
    const QList<SVGBoxPtr> children = family_->GetChildren();
    return index >= 0 && index < children.size() ? children[index]->GetKey() : QString();
}

void FamilyEditModel::childEdited(const QString& sKey) {
    editedChildren_ = sSetUnion(editedChildren_, sKey, QStringLiteral(","));
    tree_.RaisePersonDetails(sKey);
}

QString FamilyEditModel::ok() {
    auto invalid = [](const QString& message) { raiseError(ErrorOffset::InvalidKey, kSource, message); };
    const Fields& f = fields_;
    QString key = f.key;
    if (createMode()) {
        key = f.key.trimmed();
        if (key.isEmpty()) invalid(QStringLiteral("Key name cannot be blank when adding new family"));
        if (!bValidName(key))
            invalid(QStringLiteral(
                "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)"));
        if (tree_.GetFamilies().contains(key))
            invalid(QStringLiteral("The specified key name is already in use for a different family"));
        // What the tree would refuse when it adds the family, found first.
        if (tree_.GetPersons().contains(key))
            invalid(QStringLiteral("The specified family key name is already in use for a person: ") + key);
        const SVGBoxPtr par1 = tree_.GetPersons().value(f.parent1);
        const SVGBoxPtr par2 = tree_.GetPersons().value(f.parent2);
        if (!par1 || !par2)
            invalid(QStringLiteral("Family ") + key + QStringLiteral(" refers to a person who is not in the tree"));
        for (const SVGBoxPtr& parent : {par1, par2})
            if (parent->GetFamKeys().contains(key) || (parent == par2 && par1 == par2))
                raiseError(ErrorOffset::InvalidKey, QStringLiteral("SVGBox"),
                           QStringLiteral("Person ") + parent->GetKey() +
                               QStringLiteral(" is already associated with family ") + key);
    }
    const QString record = sLocSettingsRecord(f.locSettings);
    if (!record.isEmpty()) {
        SVGFamily scratch;
        scratch.InitSettings(record);
    }

    if (createMode()) family_ = tree_.NewFamily(key, f.parent1, f.parent2);
    family_->SetMoreChildren(f.unshownChildren);
    family_->SetLiaison(f.liaison);
    family_->SetNotes(pageLines(f.notes));
    family_->SetTooltips(pageLines(f.tooltips));
    family_->SetProgData(pageLines(f.progData));
    SetLocSettingsText(*family_, f.locSettings);
    return key;
}
