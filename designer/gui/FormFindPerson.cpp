#include "FormFindPerson.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include "FormHelpers.h"
#include "PopupMenuClass.h"
#include "ProgressLog.h"
#include "WindowPlacement.h"

namespace {
// Persons outside the viewpoint shown are written in red.
class OutsideColour : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(FindPersonList::OutsideRole).toBool())
            option->palette.setColor(QPalette::Text, QColor(255, 0, 0));
    }
};
}  // namespace

QString FormFindPerson::FindPerson(const SVGTree& oTr, QString& sNewViewP, QWidget* oParentForm) {
    FormFindPerson form(oParentForm);
    form.load(oTr);
    form.exec();
    sNewViewP = form.model_.newViewpoint();
    const QString key = form.model_.chosenKey();
    form.model_.close();
    return key;
}

FormFindPerson::FormFindPerson(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormFindPerson"));
    setWindowTitle(QStringLiteral("Find Person"));
    auto* layout = new QVBoxLayout(this);

    auto* lblPartialName = new QLabel(QStringLiteral("Partial name:"));
    lblPartialName->setObjectName(QStringLiteral("lblPartialName"));
    txtPartName_ = new QLineEdit;
    txtPartName_->setObjectName(QStringLiteral("txtPartName"));
    txtPartName_->setToolTip(QStringLiteral("Partial name to help find a specific person"));
    lblPartialName->setBuddy(txtPartName_);
    chkByKey_ = new QCheckBox(QStringLiteral("By key"));
    chkByKey_->setObjectName(QStringLiteral("chkByKey"));
    chkByKey_->setToolTip(QStringLiteral("Search key names rather than captions"));
    auto* row = new QHBoxLayout;
    row->addWidget(lblPartialName);
    row->addWidget(txtPartName_, 1);
    row->addWidget(chkByKey_);
    layout->addLayout(row);

    auto* lblPersons = new QLabel(QStringLiteral("Matching persons"));
    lblPersons->setObjectName(QStringLiteral("lblPersons"));
    layout->addWidget(lblPersons);
    lbSelected_ = new QTreeView;
    lbSelected_->setObjectName(QStringLiteral("lbSelected"));
    lbSelected_->setToolTip(QStringLiteral("Persons matching the partial name, given above"));
    lbSelected_->setRootIsDecorated(false);
    lbSelected_->setItemsExpandable(false);
    lbSelected_->setUniformRowHeights(true);
    lbSelected_->setSelectionMode(QAbstractItemView::SingleSelection);
    lbSelected_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbSelected_->setContextMenuPolicy(Qt::PreventContextMenu);
    lbSelected_->setItemDelegate(new OutsideColour(lbSelected_));
    lbSelected_->setModel(&model_.filter());
    lbSelected_->header()->setStretchLastSection(true);
    lbSelected_->viewport()->installEventFilter(this);
    layout->addWidget(lbSelected_, 1);
    lblPersons->setBuddy(lbSelected_);
    resize(360, 420);

    connect(txtPartName_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!ready_) return;
        try {
            model_.setPartialName(text);
        } catch (...) {
            reportHandlerError();
        }
    });
    connect(chkByKey_, &QCheckBox::clicked, this, [this](bool checked) {
        if (!ready_) return;
        try {
            model_.setByKey(checked);
        } catch (...) {
            reportHandlerError();
        }
    });
    connect(lbSelected_, &QAbstractItemView::clicked, this, &FormFindPerson::lbSelected_Click);
}

void FormFindPerson::load(const SVGTree& oTr) {
    ready_ = false;
    chkByKey_->setChecked(false);
    txtPartName_->clear();
    model_.open(oTr);
    AutoSizeColumns(lbSelected_);
    ready_ = true;
}

void FormFindPerson::lbSelected_Click(const QModelIndex& index) {
    if (!ready_ || !index.isValid()) return;
    try {
        if (model_.clickRow(index.row())) accept();
    } catch (...) {
        reportHandlerError();
    }
}

void FormFindPerson::lbSelected_RightClick(const QPoint& at) {
    if (!ready_) return;
    try {
        const QModelIndex index = lbSelected_->indexAt(at);
        if (!index.isValid()) return;
        const QList<ViewpointMenuEntry> entries = model_.viewpointMenu(index.row());
        PopupMenuClass menu;
        for (int i = 0; i < entries.size(); ++i) menu.Add(i + 1, entries[i].caption);
        const QPoint global = lbSelected_->viewport()->mapToGlobal(at);
        const int chosen = menu.Show(this, global.x(), global.y());
        if (chosen > 0) {
            model_.chooseViewpoint(chosen);
            accept();
        } else {
            lbSelected_->selectionModel()->clearSelection();
        }
    } catch (...) {
        reportHandlerError();
    }
}

bool FormFindPerson::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbSelected_->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            type == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                if (type == QEvent::MouseButtonRelease &&
                    !(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
                    lbSelected_RightClick(mouse->position().toPoint());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormFindPerson::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
    txtPartName_->setFocus();
}

void FormFindPerson::reject() {
    model_.closeBox();
    QDialog::reject();
}
