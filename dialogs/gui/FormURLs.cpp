#include "FormURLs.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ClipboardText.h"
#include "GridCellDelegate.h"
#include "MessageBoxes.h"
#include "PlaceKeyClass.h"
#include "PopupMenuClass.h"
#include "ProgressLog.h"
#include "SelectFileClass.h"
#include "WindowPlacement.h"
#include "foundation/AppError.h"

namespace {
// The desktop clipboard's plain text.
class DesktopClipboard : public ClipboardText {
public:
    QString text() const override { return QGuiApplication::clipboard()->text(); }
    void setText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

enum MenuItem { InsertRow = 1, DeleteRow, CopyOne, Paste, AddDirectory, ShowURL, ShowLocal };
}  // namespace

bool FormURLs::EditPlaceKeys(PlaceKeyClass& oPlaces, QWidget* oParentForm) {
    PlaceKeyRows rows;
    rows.load(oPlaces);
    DesktopClipboard clipboard;
    FormURLs form(rows, oPlaces, clipboard, oParentForm);
    form.exec();
    return form.saved();
}

FormURLs::FormURLs(PlaceKeyRows& rows, PlaceKeyClass& places, ClipboardText& clipboard, QWidget* parent)
    : QDialog(parent), rows_(rows), places_(places), clipboard_(clipboard) {
    setObjectName(QStringLiteral("FormURLs"));
    setWindowTitle(QStringLiteral("Place Management"));

    fgPlaces_ = new QTableWidget(this);
    fgPlaces_->setObjectName(QStringLiteral("fgPlaces"));
    fgPlaces_->setToolTip(QStringLiteral("Place keys and associated local and/or remote locations"));
    fgPlaces_->setSelectionMode(QAbstractItemView::SingleSelection);
    fgPlaces_->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                               QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    fgPlaces_->setTabKeyNavigation(false);
    // A column border dragged by the user leaves the last column the rest.
    fgPlaces_->horizontalHeader()->setStretchLastSection(true);
    fgPlaces_->setContextMenuPolicy(Qt::CustomContextMenu);
    fgPlaces_->setColumnCount(PlaceKeyRows::kColumns);
    fgPlaces_->setHorizontalHeaderLabels(
        {QStringLiteral("Place Key"), QStringLiteral("Internet Location"), QStringLiteral("Local Directory")});
    delegate_ = new GridCellDelegate(fgPlaces_);
    fgPlaces_->setItemDelegate(delegate_);
    connect(delegate_, &GridCellDelegate::moveRequested, this, &FormURLs::MoveToNextCell);
    connect(delegate_, &GridCellDelegate::rowMenuRequested, this, &FormURLs::ShowRowMenu);
    connect(fgPlaces_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = fgPlaces_->indexAt(pos);
        // Shift, Ctrl or Alt with the right button is not a call for the row menu.
        if (!index.isValid() || QGuiApplication::keyboardModifiers() != Qt::NoModifier) return;
        EndCellEdit();
        setCurrent(index.row(), index.column());
        ShowRowMenu();
    });

    cmdExit_ = new QPushButton(QStringLiteral("OK"));
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setToolTip(
        QStringLiteral("Save your changes to the Place-key dictionary, and close the management tool"));
    cmdQuit_ = new QPushButton(QStringLiteral("Cancel"));
    cmdQuit_->setObjectName(QStringLiteral("cmdQuit"));
    cmdQuit_->setToolTip(QStringLiteral("Close the management tool without saving any changes"));
    cmdExit_->setAutoDefault(false);
    cmdQuit_->setAutoDefault(false);
    connect(cmdExit_, &QPushButton::clicked, this, &FormURLs::cmdExit_Click);
    connect(cmdQuit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* menuBar = new QMenuBar(this);
    QMenu* mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    connect(mnuFile->addAction(QStringLiteral("&Close and Save")), &QAction::triggered, this,
            &FormURLs::cmdExit_Click);
    QMenu* mnuOptions = menuBar->addMenu(QStringLiteral("&Options"));
    connect(mnuOptions->addAction(QStringLiteral("Add More Rows")), &QAction::triggered, this,
            &FormURLs::mnuAddRows_Click);
    connect(mnuOptions->addAction(QStringLiteral("Copy Place Definitions")), &QAction::triggered, this,
            &FormURLs::mnuCopyPlaceKeys_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit_);
    buttons->addWidget(cmdQuit_);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(fgPlaces_, 1);
    layout->addLayout(buttons);

    fillGrid();
    fgPlaces_->setCurrentCell(0, 0);
    resize(720, 420);
}

void FormURLs::fillGrid() {
    fgPlaces_->setRowCount(rows_.rowCount());
    for (int r = 0; r < rows_.rowCount(); ++r) {
        for (int c = 0; c < PlaceKeyRows::kColumns; ++c) {
            QTableWidgetItem* item = fgPlaces_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                fgPlaces_->setItem(r, c, item);
            }
            item->setText(rows_.cell(r, c));
        }
    }
    FitColumns();
}

void FormURLs::readGrid() {
    for (int r = 0; r < rows_.rowCount(); ++r)
        for (int c = 0; c < PlaceKeyRows::kColumns; ++c)
            if (const QTableWidgetItem* item = fgPlaces_->item(r, c)) rows_.setCell(r, c, item->text());
}

void FormURLs::setCurrent(int row, int column) {
    fgPlaces_->setCurrentCell(row, column);
    BeginCellEdit();
}

void FormURLs::BeginCellEdit() {
    const QModelIndex index = fgPlaces_->currentIndex();
    if (!index.isValid() || !isVisible()) return;
    if (!delegate_->openEditor()) fgPlaces_->edit(index);
    if (QLineEdit* edit = delegate_->openEditor()) {
        if (edit->hasSelectedText()) edit->end(false);
        edit->setFocus();
    }
}

void FormURLs::EndCellEdit() {
    delegate_->endEdit();
    readGrid();
}

void FormURLs::MoveToNextCell(GridMove move) {
    try {
        const GridCell to = nextCell({fgPlaces_->currentRow(), fgPlaces_->currentColumn()}, move, rows_.rowCount(),
                                     PlaceKeyRows::kColumns);
        readGrid();
        setCurrent(to.row, to.column);
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::FitColumns() {
    // Each column's share of the width follows the length of its longest text.
    const QList<int> widths = columnWidths(rows_.columnChars(), fgPlaces_->viewport()->width());
    for (int c = 0; c + 1 < widths.size(); ++c) fgPlaces_->setColumnWidth(c, widths[c]);
}

void FormURLs::SetEditDirectory(int iRow, int iCol, const QString& sText) {
    rows_.setCell(iRow, iCol, sText);
    if (QTableWidgetItem* item = fgPlaces_->item(iRow, iCol)) item->setText(sText);
    const QModelIndex edited = delegate_->editedIndex();
    if (edited.isValid() && edited.row() == iRow && edited.column() == iCol) {
        QLineEdit* edit = delegate_->openEditor();
        edit->setText(sText);
        edit->end(false);
    }
}

void FormURLs::ShowRowMenu() {
    const QString clip = clipboard_.text();
    PopupMenuClass menu;
    menu.Add(InsertRow, QStringLiteral("Insert Row Above"));
    menu.Add(DeleteRow, QStringLiteral("Delete Row"));
    menu.Add(0, QStringLiteral("-"));
    menu.Add(CopyOne, QStringLiteral("Copy Place Definition"));
    menu.Add(Paste, QStringLiteral("Paste Place Definitions"), false, false,
             PlaceKeyRows::isPlaceKeyText(clip) ? 0 : 1);
    menu.Add(AddDirectory, QStringLiteral("Add Local Directory"), false, false,
             fgPlaces_->currentColumn() == 2 ? 0 : 1);
    menu.Add(0, QStringLiteral("-"));
    menu.Add(ShowURL, QStringLiteral("Show URL Expansion"));
    menu.Add(ShowLocal, QStringLiteral("Show Local Expansion"));
    // The box's own context menu stays shut while the row menu is open.
    const QPointer<QLineEdit> edit = delegate_->openEditor();
    if (edit) edit->setEnabled(false);
    int chosen = 0;
    {
        const auto enable = qScopeGuard([edit] {
            if (edit) edit->setEnabled(true);
        });
        chosen = menu.Show(this);
    }
    switch (chosen) {
    case InsertRow: mnuAddOneRow_Click(); break;
    case DeleteRow: mnuDeleteOneRow_Click(); break;
    case CopyOne: mnuCopyPlaceKey_Click(); break;
    case Paste: mnuPastePlaceKeys_Click(); break;
    case AddDirectory: mnuAddDirectory_Click(); break;
    case ShowURL: mnuShowURL_Click(); break;
    case ShowLocal: mnuShowLocal_Click(); break;
    default:
        if (QLineEdit* open = delegate_->openEditor()) open->setFocus();
    }
}

void FormURLs::mnuAddRows_Click() {
    EndCellEdit();
    rows_.addRows(5);
    fillGrid();
    BeginCellEdit();
}

void FormURLs::mnuAddOneRow_Click() {
    EndCellEdit();
    const int row = std::max(fgPlaces_->currentRow(), 0);
    const int column = std::max(fgPlaces_->currentColumn(), 0);
    rows_.insertRowAbove(row);
    fillGrid();
    // The current cell stays with the row that was current.
    setCurrent(row + 1, column);
}

void FormURLs::mnuDeleteOneRow_Click() {
    EndCellEdit();
    const int row = fgPlaces_->currentRow();
    const int column = std::max(fgPlaces_->currentColumn(), 0);
    rows_.deleteRow(row);
    fillGrid();
    setCurrent(std::min(row, rows_.rowCount() - 1), column);
}

void FormURLs::mnuCopyPlaceKey_Click() {
    try {
        EndCellEdit();
        clipboard_.setText(rows_.packRow(fgPlaces_->currentRow()));
        BeginCellEdit();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::mnuCopyPlaceKeys_Click() {
    try {
        EndCellEdit();
        clipboard_.setText(rows_.packAll());
        BeginCellEdit();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::mnuPastePlaceKeys_Click() {
    try {
        EndCellEdit();
        const int row = rows_.paste(clipboard_.text());
        fillGrid();
        if (row >= 0) fgPlaces_->setCurrentCell(row, fgPlaces_->currentColumn());
        BeginCellEdit();
    } catch (...) {
        reportHandlerError();
    }
}

QString FormURLs::sBrowseDirectory() {
    SelectFileClass dialog;
    dialog.FileName = QStringLiteral("Use 'Save' to select opened directory");
    dialog.CancelError = true;
    dialog.DialogFlags = FileDialogFlag::NoValidate | FileDialogFlag::NoChangeDir | FileDialogFlag::HideReadOnly;
    dialog.Filter = QStringLiteral("All Files (*.*)|*.*");
    dialog.DialogTitle = QStringLiteral("Select a Directory");
    try {
        dialog.ShowSave();
    } catch (const AppError& e) {
        if (e.number == kCancelErrorNumber) return {};
        throw;
    }
    // The folder of the chosen name, with its closing separator.
    return dialog.FileName.left(dialog.FileName.lastIndexOf(u'/') + 1);
}

void FormURLs::mnuAddDirectory_Click() {
    try {
        const QString folder = sBrowseDirectory();
        if (!folder.isEmpty()) SetEditDirectory(fgPlaces_->currentRow(), 2, folder);
        if (QLineEdit* edit = delegate_->openEditor()) edit->setFocus();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::showExpansion(bool bLocal) {
    try {
        // The open box's text counts as the cell's.
        if (QLineEdit* edit = delegate_->openEditor()) {
            const QModelIndex edited = delegate_->editedIndex();
            rows_.setCell(edited.row(), edited.column(), edit->text());
        }
        const int row = fgPlaces_->currentRow();
        const QString text = rows_.expand(row, bLocal);
        MessageBoxes::current().show(QMessageBox::Information, rows_.cell(row, 0) + QStringLiteral(" = ") + text,
                                     QMessageBox::Ok);
        if (QLineEdit* edit = delegate_->openEditor()) edit->setFocus();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::mnuShowURL_Click() { showExpansion(false); }

void FormURLs::mnuShowLocal_Click() { showExpansion(true); }

void FormURLs::cmdExit_Click() {
    try {
        EndCellEdit();
        rows_.save(places_);
        saved_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
    FitColumns();
    BeginCellEdit();
}

void FormURLs::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FitColumns();
}
