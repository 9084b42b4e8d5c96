#include "FormFamily.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormBox.h"
#include "ProgressLog.h"

namespace {
QSize savedSize;
bool positioned = false;
}  // namespace

bool FormFamily::EditFamily(SVGTree& oTr, const QString& sKey, QString& sChildSet, const SVGApplications* oApps,
                            QWidget* oOwner) {
    FormFamily form(oTr, oApps, oOwner);
    form.loadEdit(sKey);
    form.showModal(positioned);
    sChildSet = form.sEditedChildren();
    return form.bOK();
}

QString FormFamily::CreateFamily(SVGTree& oTr, const QString& sPar1, const QString& sPar2,
                                 const SVGApplications* oApps, QWidget* oOwner) {
    FormFamily form(oTr, oApps, oOwner);
    form.loadCreate(sPar1, sPar2);
    form.showModal(positioned);
    return form.sNewKey();
}

FormFamily::FormFamily(SVGTree& tree, const SVGApplications* applications, QWidget* parent)
    : EditorDialog(NotesPages::Family, savedSize, tree, applications, parent), model_(tree) {
    setObjectName(QStringLiteral("FormFamily"));
    setWindowTitle(QStringLiteral("Create or Edit a Family Relationship"));

    auto box = [](const char* name, const char* tip) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->setToolTip(QString::fromLatin1(tip));
        return edit;
    };
    txtKey_ = box("txtKey", "Symbolic key for family (alphanumeric, underscores, and hyphens)");
    txtParent1_ = box("txtParent1", "Symbolic key of first parent");
    txtParCaption1_ = box("txtParCaption1", "Caption of first parent");
    txtParent2_ = box("txtParent2", "Symbolic key of second parent");
    txtParCaption2_ = box("txtParCaption2", "Caption of second parent");
    for (QLineEdit* locked : {txtParent1_, txtParCaption1_, txtParent2_, txtParCaption2_}) locked->setReadOnly(true);
    comChildren_ = new QComboBox;
    comChildren_->setObjectName(QStringLiteral("comChildren"));
    comChildren_->setToolTip(QStringLiteral("Children of this couple"));
    cmdEditChild_ = new QPushButton(QStringLiteral("Edit Child"));
    cmdEditChild_->setObjectName(QStringLiteral("cmdEditChild"));
    cmdEditChild_->setToolTip(QStringLiteral("Edit details of selected child"));
    cmdEditChild_->setAutoDefault(false);
    chkUnshownChildren_ = new QCheckBox(QStringLiteral("Unshown children"));
    chkUnshownChildren_->setObjectName(QStringLiteral("chkUnshownChildren"));
    chkUnshownChildren_->setToolTip(QStringLiteral("Whether there will be unshown children in the final tree"));
    chkLiaison_ = new QCheckBox(QStringLiteral("Liaison"));
    chkLiaison_->setObjectName(QStringLiteral("chkLiaison"));
    connect(cmdEditChild_, &QPushButton::clicked, this, &FormFamily::cmdEditChild_Click);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Key")), 0, 0);
    grid->addWidget(txtKey_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Key 1")), 1, 0);
    grid->addWidget(txtParent1_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Parent 1")), 1, 2);
    grid->addWidget(txtParCaption1_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Key 2")), 2, 0);
    grid->addWidget(txtParent2_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Parent 2")), 2, 2);
    grid->addWidget(txtParCaption2_, 2, 3);
    auto* children = new QHBoxLayout;
    children->addWidget(comChildren_, 1);
    children->addWidget(cmdEditChild_);
    children->addWidget(chkUnshownChildren_);
    children->addWidget(chkLiaison_);
    fieldsLayout()->addLayout(grid);
    fieldsLayout()->addLayout(children);
}

void FormFamily::fill() {
    const FamilyEditModel::Fields& f = model_.fields();
    txtKey_->setText(f.key);
    txtParent1_->setText(f.parent1);
    txtParCaption1_->setText(f.parentCaption1);
    txtParent2_->setText(f.parent2);
    txtParCaption2_->setText(f.parentCaption2);
    chkUnshownChildren_->setChecked(f.unshownChildren);
    chkLiaison_->setChecked(f.liaison);
    pages()->load(&tree_, applications_, f.notes, f.tooltips, f.progData, f.locSettings);
    comChildren_->clear();
    comChildren_->addItems(model_.childCaptions());
    if (comChildren_->count() > 0) comChildren_->setCurrentIndex(0);
    cmdEditChild_->setEnabled(comChildren_->count() > 0);
}

void FormFamily::loadEdit(const QString& sKey) {
    model_.loadEdit(sKey);
    bOK_ = false;
    txtKey_->setReadOnly(true);
    fill();
}

void FormFamily::loadCreate(const QString& sPar1, const QString& sPar2) {
    model_.loadCreate(sPar1, sPar2);
    sNewKey_.clear();
    txtKey_->setReadOnly(false);
    fill();
}

void FormFamily::cmdEditChild_Click() {
    try {
        const QString key = model_.childKey(comChildren_->currentIndex());
        if (key.isEmpty()) return;
        // The person editor belongs to this dialog while it is open.
        if (FormBox::EditBox(tree_, key, applications_, this)) model_.childEdited(key);
    } catch (...) {
        reportHandlerError();
    }
}

void FormFamily::cmdExit_Click() {
    try {
        FamilyEditModel::Fields& f = model_.fields();
        const bool create = model_.createMode();
        f.key = txtKey_->text();
        f.unshownChildren = chkUnshownChildren_->isChecked();
        f.liaison = chkLiaison_->isChecked();
        pageTexts(f.notes, f.tooltips, f.progData, f.locSettings);
        const QString key = model_.ok();
        if (create)
            sNewKey_ = key;
        else
            bOK_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}
