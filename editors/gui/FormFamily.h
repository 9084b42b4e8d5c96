#pragma once

#include "EditorDialog.h"
#include "FamilyEditModel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class SVGApplications;
class SVGTree;

// The family editor, "Create or Edit a Family Relationship": the family key
// (create mode), both parents, the children with "Edit Child", the unshown
// children and liaison flags, and the notes pages. A thin window over
// FamilyEditModel; nothing of the family is written before OK.
class FormFamily : public EditorDialog {
    Q_OBJECT
public:
    // Edits the family sKey; true when OK wrote it back. sChildSet receives
    // the comma list of the children edited meanwhile, also after Cancel.
    static bool EditFamily(SVGTree& oTr, const QString& sKey, QString& sChildSet,
                           const SVGApplications* oApps = nullptr, QWidget* oOwner = nullptr);
    // Creates a family of two persons; the new key, "" when none was created.
    static QString CreateFamily(SVGTree& oTr, const QString& sPar1, const QString& sPar2,
                                const SVGApplications* oApps = nullptr, QWidget* oOwner = nullptr);

    FormFamily(SVGTree& tree, const SVGApplications* applications, QWidget* parent = nullptr);

    void loadEdit(const QString& sKey);
    void loadCreate(const QString& sPar1, const QString& sPar2);
    const QString& sEditedChildren() const { return model_.editedChildren(); }

    QLineEdit* txtKey() const { return txtKey_; }
    QLineEdit* txtParent(int i) const { return i == 1 ? txtParent1_ : txtParent2_; }
    QLineEdit* txtParCaption(int i) const { return i == 1 ? txtParCaption1_ : txtParCaption2_; }
    QComboBox* comChildren() const { return comChildren_; }
    QPushButton* cmdEditChild() const { return cmdEditChild_; }
    QCheckBox* chkUnshownChildren() const { return chkUnshownChildren_; }
    QCheckBox* chkLiaison() const { return chkLiaison_; }

    void cmdEditChild_Click();

protected:
    void cmdExit_Click() override;

private:
    void fill();

    FamilyEditModel model_;

    QLineEdit* txtKey_ = nullptr;
    QLineEdit* txtParent1_ = nullptr;
    QLineEdit* txtParCaption1_ = nullptr;
    QLineEdit* txtParent2_ = nullptr;
    QLineEdit* txtParCaption2_ = nullptr;
    QComboBox* comChildren_ = nullptr;
    QPushButton* cmdEditChild_ = nullptr;
    QCheckBox* chkUnshownChildren_ = nullptr;
    QCheckBox* chkLiaison_ = nullptr;
};
