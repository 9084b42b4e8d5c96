#include "FormViewpoints.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "AppError.h"
#include "FormHelpers.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "MessageBoxes.h"
#include "PopupMenuClass.h"
#include "ProgressLog.h"
#include "WindowPlacement.h"
#include "tree_model/SVGTree.h"
#include "tree_model/gui/QtClipboardText.h"

namespace {

using List = ViewpointManagerModel::List;

// A list as the window shows it: persons in a viewpoint in blue, those whose
// spousal families are all in one too in red; the others in the list's colour.
class AllocationColours : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::ForegroundRole) return QIdentityProxyModel::data(index, role);
        switch (QIdentityProxyModel::data(index, ViewpointListModel::StateRole).toInt()) {
            case 1:
                return QBrush(QColor(0, 0, 255));
            case 2:
                return QBrush(QColor(255, 0, 0));
            default:
                return {};
        }
    }
};

constexpr int kSpouseListHeight = 120;

}  // namespace

// ---- Opening

void FormViewpoints::ManageViewpoints(const std::shared_ptr<SVGTree>& oTr, QWidget* oParentForm) {
    if (!oTr)
        raiseError(ErrorOffset::InvalidKey, QStringLiteral("FormViewpoints"),
                   QStringLiteral("There is no tree whose viewpoints could be managed"));
    FormViewpoints* window = single_;
    if (!window) {
        window = new FormViewpoints(oParentForm);
        single_ = window;
    } else if (window->parentWidget() != oParentForm) {
        window->setParent(oParentForm, window->windowFlags() | Qt::Window);
    }
    window->bindTree(oTr);
    window->show();
    window->raise();
    window->activateWindow();
}

FormViewpoints::FormViewpoints(QWidget* owner) : QMainWindow(owner, Qt::Window) {
    setObjectName(QStringLiteral("FormViewpoints"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Viewpoint Management"));
    model_.setReporter(&MainWindowLink::reporter());
    buildControls();
    connect(&model_, &ViewpointManagerModel::selectionsChanged, this, &FormViewpoints::syncSelections);
}

FormViewpoints::~FormViewpoints() {
    // Nothing more reaches the window from the tree once it is going.
    model_.disconnect();
    model_.bind(nullptr);
}

void FormViewpoints::buildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* mnuClose = mnuFile->addAction(QStringLiteral("&Close"));
    connect(mnuClose, &QAction::triggered, this, &FormViewpoints::mnuClose_Click);

    auto* lblKeys = new QLabel(QStringLiteral("Keys"));
    comKeys_ = new QComboBox;
    comKeys_->setObjectName(QStringLiteral("comKeys"));
    comKeys_->setEditable(true);
    comKeys_->setInsertPolicy(QComboBox::NoInsert);
    comKeys_->setToolTip(QStringLiteral("Viewpoint key"));
    comKeys_->setMinimumContentsLength(12);
    cmdAdd_ = new QPushButton(QStringLiteral("+"));
    cmdAdd_->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd_->setToolTip(QStringLiteral("Add a new viewpoint"));
    cmdDel_ = new QPushButton(QStringLiteral("-"));
    cmdDel_->setObjectName(QStringLiteral("cmdDel"));
    cmdDel_->setToolTip(QStringLiteral("Delete the current viewpoint"));
    auto* lblName = new QLabel(QStringLiteral("Name"));
    txtName_ = new QLineEdit;
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setToolTip(QStringLiteral("Viewpoint name"));
    cmdChange_ = new QPushButton(QStringLiteral("Ch"));
    cmdChange_->setObjectName(QStringLiteral("cmdChange"));
    cmdChange_->setToolTip(QStringLiteral("Change the details of the current viewpoint"));
    lblDetails_ = new QLabel(ViewpointManagerModel::kNoDetails);
    lblDetails_->setObjectName(QStringLiteral("lblDetails"));
    auto* line1 = new QFrame;
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    auto* lblPartialName = new QLabel(QStringLiteral("Partial name:"));
    txtPartName_ = new QLineEdit;
    txtPartName_->setObjectName(QStringLiteral("txtPartName"));
    txtPartName_->setToolTip(QStringLiteral("Partial name to help find a specific person"));
    chkExcudePDone_ = new QCheckBox(QStringLiteral("Hide if Person Allocated to a Viewpoint"));
    chkExcudePDone_->setObjectName(QStringLiteral("chkExcudePDone"));
    chkExcudePDone_->setToolTip(
        QStringLiteral("Don't show if person allocated to a viewpoint (else show in blue)"));
    chkExcudePFDone_ = new QCheckBox(QStringLiteral("Hide if Person and their Spouses Allocated "));
    chkExcudePFDone_->setObjectName(QStringLiteral("chkExcudePFDone"));
    chkExcudePFDone_->setToolTip(
        QStringLiteral("Don't show if person and their spousal relationships are allocated to a viewpoint "
                       "(else show in red)"));

    for (QPushButton* b : {cmdAdd_, cmdDel_, cmdChange_}) {
        b->setAutoDefault(false);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("Ch")) + 24);
    }

    auto* top = new QGridLayout;
    top->addWidget(lblKeys, 0, 0);
    top->addWidget(comKeys_, 0, 1);
    top->addWidget(cmdAdd_, 0, 2);
    top->addWidget(cmdDel_, 0, 3);
    top->addWidget(lblName, 1, 0);
    top->addWidget(txtName_, 1, 1);
    top->addWidget(cmdChange_, 1, 2);
    top->addWidget(lblDetails_, 2, 0, 1, 4);
    top->addWidget(line1, 3, 0, 1, 4);
    top->addWidget(lblPartialName, 4, 0);
    top->addWidget(txtPartName_, 4, 1, 1, 3);
    top->addWidget(chkExcudePDone_, 5, 0, 1, 4);
    top->addWidget(chkExcudePFDone_, 6, 0, 1, 4);
    top->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Matching persons")));
    left->addWidget(
        makeList(List::PersonList, QStringLiteral("Persons matching the partial name, given above")), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Associated spouses")));
    right->addWidget(
        makeList(List::SpouseList, QStringLiteral("Spouses associated with the selected person")));
    lists_[List::SpouseList]->setFixedHeight(kSpouseListHeight);
    right->addWidget(new QLabel(QStringLiteral("Associated children")));
    right->addWidget(
        makeList(List::ChildList, QStringLiteral("Children associated with the selected person and spouse")),
        1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(right, 1);

    auto* layout = new QVBoxLayout(client);
    layout->addLayout(top);
    layout->addLayout(lists, 1);
    resize(560, 520);

    connect(comKeys_, qOverload<int>(&QComboBox::activated), this, &FormViewpoints::comKeys_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &FormViewpoints::cmdAdd_Click);
    connect(cmdDel_, &QPushButton::clicked, this, &FormViewpoints::cmdDel_Click);
    connect(cmdChange_, &QPushButton::clicked, this, &FormViewpoints::cmdChange_Click);
    connect(txtPartName_, &QLineEdit::textChanged, this, [this](const QString& text) {
        try {
            model_.setPartialName(text);
        } catch (...) {
            reportHandlerError();
        }
    });
    connect(chkExcudePDone_, &QCheckBox::toggled, this, [this](bool on) {
        try {
            model_.setHidePersonDone(on);
        } catch (...) {
            reportHandlerError();
        }
    });
    connect(chkExcudePFDone_, &QCheckBox::toggled, this, [this](bool on) {
        try {
            model_.setHidePersonFamiliesDone(on);
        } catch (...) {
            reportHandlerError();
        }
    });
}

QTreeView* FormViewpoints::makeList(List which, const QString& tooltip) {
    static const char* const names[] = {"lbSelected", "lbSpouses", "lbChildren"};
    auto* view = new QTreeView;
    view->setObjectName(QLatin1String(names[which]));
    view->setToolTip(tooltip);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::PreventContextMenu);
    auto* shown = new AllocationColours(view);
    shown->setSourceModel(&model_.list(which));
    view->setModel(shown);
    view->header()->setStretchLastSection(true);
    view->viewport()->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, which](const QModelIndex& current) {
                listRowChanged(which, current.isValid() ? current.row() : -1);
            });
    lists_[which] = view;
    return view;
}

void FormViewpoints::bindTree(const std::shared_ptr<SVGTree>& tree) {
    if (model_.bind(tree)) {
        refillKeyBox();
        showDetails(QString());
    }
    for (QTreeView* view : lists_) AutoSizeColumns(view);
}

void FormViewpoints::refillKeyBox() {
    comKeys_->clear();
    comKeys_->addItems(model_.viewpointKeys());
    comKeys_->setCurrentIndex(-1);
    comKeys_->setEditText(QString());
}

void FormViewpoints::showDetails(const QString& key) {
    const ViewpointManagerModel::Details details = model_.ShowViewpointDetails(key);
    txtName_->setText(details.name);
    lblDetails_->setText(details.text);
}

int FormViewpoints::chosenKeyIndex() const {
    const int index = comKeys_->currentIndex();
    return index >= 0 && comKeys_->itemText(index) == comKeys_->currentText() ? index : -1;
}

// ---- The key box

void FormViewpoints::comKeys_Click(int index) {
    try {
        showDetails(index >= 0 ? comKeys_->itemText(index) : QString());
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::cmdAdd_Click() {
    try {
        const QString key = comKeys_->currentText();
        txtName_->setText(model_.AddViewpoint(key, txtName_->text()));
        comKeys_->addItem(key);
        comKeys_->setCurrentIndex(comKeys_->count() - 1);
        showDetails(key);
        comKeys_->setFocus();
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::cmdDel_Click() {
    try {
        const int chosen = chosenKeyIndex();
        const QString key = model_.currentKey();
        if (chosen >= 0 && !key.isEmpty()) {
            const auto answer =
                MessageBoxes::current().show(QMessageBox::Question, model_.DeleteQuestion(),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer != QMessageBox::Yes) return;
            // Deleting may close the Tree Designer that shows the viewpoint,
            // and this window with it, before the call returns.
            const QPointer<FormViewpoints> self(this);
            model_.DeleteViewpoint();
            if (!self) return;
            if (!comKeys_->isVisible()) {
                closeSilently();
                return;
            }
            const int entry = comKeys_->findText(key, Qt::MatchExactly | Qt::MatchCaseSensitive);
            comKeys_->removeItem(entry >= 0 ? entry : chosen);
        }
        comKeys_->setCurrentIndex(-1);
        comKeys_->setEditText(QString());
        showDetails(QString());
        comKeys_->setFocus();
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::cmdChange_Click() {
    try {
        const QString oldKey = model_.currentKey();
        const QString newKey = comKeys_->currentText();
        if (model_.RenameViewpoint(newKey, txtName_->text())) {
            const int entry = comKeys_->findText(oldKey, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (entry >= 0) comKeys_->removeItem(entry);
            comKeys_->addItem(newKey);
            comKeys_->setCurrentIndex(comKeys_->count() - 1);
            showDetails(newKey);
        }
    } catch (...) {
        reportHandlerError();
    }
    comKeys_->setFocus();
}

// ---- The lists

void FormViewpoints::listRowChanged(List which, int row) {
    if (syncing_ || row < 0) return;
    try {
        if (which == List::PersonList)
            model_.selectPerson(row);
        else if (which == List::SpouseList)
            model_.selectSpouse(row);
        else
            model_.selectChild(row);
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::syncSelections() {
    syncing_ = true;
    for (int i = 0; i < 3; ++i) {
        const List which = static_cast<List>(i);
        QTreeView* view = lists_[which];
        const int row = model_.selectedRow(which);
        const QModelIndex index = row >= 0 ? view->model()->index(row, 0) : QModelIndex();
        if (view->currentIndex() != index) {
            if (index.isValid())
                view->setCurrentIndex(index);
            else
                view->selectionModel()->clear();
        }
    }
    syncing_ = false;
}

bool FormViewpoints::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 3; ++i) {
        if (!lists_[i] || watched != lists_[i]->viewport()) continue;
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
            type != QEvent::MouseButtonDblClick)
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton) break;
        // The right button selects and opens the menu on its release alone,
        // and not with Shift, Ctrl or Alt held.
        if (type == QEvent::MouseButtonRelease &&
            !(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            listRightClick(static_cast<List>(i), mouse->position().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormViewpoints::listRightClick(List which, const QPoint& at) {
    try {
        QTreeView* view = lists_[which];
        const QModelIndex index = view->indexAt(at);
        if (!index.isValid()) return;
        // The row is chosen as a click chooses it, so that the lists to its
        // right show what the commands act on.
        if (view->currentIndex().row() != index.row()) view->setCurrentIndex(index);
        if (model_.selectedRow(which) != index.row()) return;
        const ViewpointManagerModel::MenuState state = model_.menuState(which);
        auto enabled = [](bool on) { return on ? 0 : 1; };

        PopupMenuClass menu;
        if (which == List::PersonList) {
            menu.Add(mnuCopyPer, QStringLiteral("Copy Person"));
            menu.Add(mnuCopyPerAllSp, QStringLiteral("Copy Person and All Spouses"));
            menu.Add(0, QStringLiteral("-"));
            menu.Add(mnuShowPerson, QStringLiteral("Show Details"));
            menu.Add(mnuSelectPerFather, QStringLiteral("Select Father Caption"), false, false,
                     enabled(state.selectFather));
            menu.Add(mnuSelectPerMother, QStringLiteral("Select Mother Caption"), false, false,
                     enabled(state.selectMother));
        } else if (which == List::SpouseList) {
            menu.Add(mnuCopyPerSp, QStringLiteral("Copy Person and Spouse"));
            menu.Add(mnuCopyPerSpChild, QStringLiteral("Copy Person, Spouse, and Children"));
            menu.Add(0, QStringLiteral("-"));
            menu.Add(mnuShowSpouse, QStringLiteral("Show Details"));
            menu.Add(mnuSelectSp, QStringLiteral("Select Spouse Caption"), false, false,
                     enabled(state.selectCaption));
            menu.Add(mnuSelectSpFather, QStringLiteral("Select Father Caption"), false, false,
                     enabled(state.selectFather));
            menu.Add(mnuSelectSpMother, QStringLiteral("Select Mother Caption"), false, false,
                     enabled(state.selectMother));
        } else {
            menu.Add(mnuCopyChild, QStringLiteral("Copy Child"));
            menu.Add(0, QStringLiteral("-"));
            menu.Add(mnuShowChild, QStringLiteral("Show Details"));
            menu.Add(mnuSelectChild, QStringLiteral("Select Child Caption"), false, false,
                     enabled(state.selectCaption));
        }
        const QPoint global = view->viewport()->mapToGlobal(at);
        const int chosen = menu.Show(this, global.x(), global.y());
        if (chosen > 0) runMenuCommand(which, chosen);
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::runMenuCommand(List which, int id) {
    try {
        QtClipboardText clipboard;
        auto showDetailsOf = [this](List list) {
            const QString text = model_.detailsText(list);
            if (!text.isEmpty())
                MessageBoxes::current().show(QMessageBox::Information, text, QMessageBox::Ok);
        };
        switch (id) {
            case mnuCopyPer:
                clipboard.setText(model_.copyPerson());
                break;
            case mnuCopyPerAllSp:
                clipboard.setText(model_.copyPersonAndAllSpouses());
                break;
            case mnuCopyPerSp:
                clipboard.setText(model_.copyPersonAndSpouse());
                break;
            case mnuCopyPerSpChild:
                clipboard.setText(model_.copyPersonSpouseAndChildren());
                break;
            case mnuCopyChild:
                clipboard.setText(model_.copyChild());
                break;
            case mnuShowPerson:
            case mnuShowSpouse:
            case mnuShowChild:
                showDetailsOf(which);
                break;
            case mnuSelectPerFather:
            case mnuSelectSpFather:
                setSearchText(model_.parentCaption(which, true));
                break;
            case mnuSelectPerMother:
            case mnuSelectSpMother:
                setSearchText(model_.parentCaption(which, false));
                break;
            case mnuSelectSp:
            case mnuSelectChild:
                setSearchText(model_.entryCaption(which));
                break;
            default:
                break;
        }
    } catch (...) {
        reportHandlerError();
    }
}

void FormViewpoints::setSearchText(const std::optional<QString>& text) {
    if (text) txtPartName_->setText(*text);
}

// ---- Showing and closing

void FormViewpoints::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PositionForm(this, positioned_);
}

void FormViewpoints::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) PositionForm(this, positioned_);
}

void FormViewpoints::mnuClose_Click() {
    close();
}

void FormViewpoints::closeSilently() {
    silentClose_ = true;
    close();
}

void FormViewpoints::closeEvent(QCloseEvent* event) {
    // Tree events reach only an open window.
    model_.bind(nullptr);
    if (!silentClose_) {
        QWidget* next = oLoadedForm(QStringLiteral("FormGrid"));
        if (!next) next = MainWindowLink::existingWindow();
        if (next && next != this) next->activateWindow();
    }
    event->accept();
}
