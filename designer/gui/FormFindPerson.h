#pragma once

#include <QDialog>
#include <QString>

#include "FindPersonModel.h"

class QCheckBox;
class QLineEdit;
class QTreeView;
class SVGTree;

// The person search dialog, "Find Person": a partial name (or, with "By
// key", the start of a key) narrows the list of the tree's persons; a click
// on a person picks it, a right click offers the full tree and the
// viewpoints that hold the person. Persons the shown viewpoint does not hold
// are listed in red and cannot be picked by a click.
class FormFindPerson : public QDialog {
    Q_OBJECT
public:
    // Shows the dialog modally over oParentForm and returns the key of the
    // person picked, "" when the dialog was closed without one; sNewViewP
    // receives the viewpoint to show the person in ("" for the full tree).
    static QString FindPerson(const SVGTree& oTr, QString& sNewViewP, QWidget* oParentForm = nullptr);

    explicit FormFindPerson(QWidget* parent = nullptr);

    // Fills the dialog for a tree, as FindPerson does before showing it.
    void load(const SVGTree& oTr);
    FindPersonModel& model() { return model_; }

    QLineEdit* txtPartName() const { return txtPartName_; }
    QCheckBox* chkByKey() const { return chkByKey_; }
    QTreeView* lbSelected() const { return lbSelected_; }

    // A right-button release at a point of the list's viewport.
    void lbSelected_RightClick(const QPoint& at);
    // The close box and Esc: nothing is picked.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void lbSelected_Click(const QModelIndex& index);

    FindPersonModel model_;
    QLineEdit* txtPartName_ = nullptr;
    QCheckBox* chkByKey_ = nullptr;
    QTreeView* lbSelected_ = nullptr;
    bool ready_ = false;

    inline static bool positioned_ = false;
};
