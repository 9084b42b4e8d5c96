#include "FormURLs.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "ClipboardText.h"
#include "DialogFrame.h"
#include "EditGrid.h"
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

    fgPlaces_ = new EditGrid(this);
    fgPlaces_->setObjectName(QStringLiteral("fgPlaces"));
    fgPlaces_->setToolTip(QStringLiteral("Place keys and associated local and/or remote locations"));
    fgPlaces_->setColumnCount(PlaceKeyRows::kColumns);
    fgPlaces_->setHorizontalHeaderLabels(
        {QStringLiteral("Place Key"), QStringLiteral("Internet Location"), QStringLiteral("Local Directory")});
    connect(fgPlaces_, &EditGrid::rowMenuRequested, this, &FormURLs::ShowRowMenu);
    // The rows follow the grid each time a key moves on from a cell.
    connect(fgPlaces_->delegate(), &GridCellDelegate::moveRequested, this, &FormURLs::readGrid);

    DialogFrame frame(this,
                      QStringLiteral("Save your changes to the Place-key dictionary, and close the management tool"),
                      QStringLiteral("Close the management tool without saving any changes"), [this] { cmdExit_Click(); });
    cmdExit_ = frame.cmdExit;
    cmdQuit_ = frame.cmdQuit;
    QMenu* mnuOptions = frame.menuBar->addMenu(QStringLiteral("&Options"));
    connect(mnuOptions->addAction(QStringLiteral("Add More Rows")), &QAction::triggered, this,
            &FormURLs::mnuAddRows_Click);
    connect(mnuOptions->addAction(QStringLiteral("Copy Place Definitions")), &QAction::triggered, this,
            &FormURLs::mnuCopyPlaceKeys_Click);
    frame.layout->addWidget(fgPlaces_, 1);
    frame.finish();

    fillGrid();
    fgPlaces_->setCurrentCell(0, 0);
    resize(720, 420);
}

void FormURLs::fillGrid() {
    fgPlaces_->setTexts(rows_.rows());
    FitColumns();
}

void FormURLs::readGrid() {
    for (int r = 0; r < rows_.rowCount(); ++r)
        for (int c = 0; c < PlaceKeyRows::kColumns; ++c) rows_.setCell(r, c, fgPlaces_->text(r, c));
}

void FormURLs::setCurrent(int row, int column) { fgPlaces_->setCurrent(row, column); }

void FormURLs::BeginCellEdit() { fgPlaces_->beginCellEdit(); }

void FormURLs::EndCellEdit() {
    fgPlaces_->endCellEdit();
    readGrid();
}

void FormURLs::FitColumns() {
    // Each column's share of the width follows the length of its longest text.
    fgPlaces_->fitColumns(rows_.columnChars());
}

void FormURLs::SetEditDirectory(int iRow, int iCol, const QString& sText) {
    rows_.setCell(iRow, iCol, sText);
    fgPlaces_->setCellText(iRow, iCol, sText);
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
    const QPointer<QLineEdit> edit = fgPlaces_->openEditor();
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
        if (QLineEdit* open = fgPlaces_->openEditor()) open->setFocus();
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
        if (QLineEdit* edit = fgPlaces_->openEditor()) edit->setFocus();
    } catch (...) {
        reportHandlerError();
    }
}

void FormURLs::showExpansion(bool bLocal) {
    try {
        // The open box's text counts as its cell's.
        readGrid();
        if (QLineEdit* edit = fgPlaces_->openEditor()) {
            const QModelIndex edited = fgPlaces_->delegate()->editedIndex();
            rows_.setCell(edited.row(), edited.column(), edit->text());
        }
        const int row = fgPlaces_->currentRow();
        const QString text = rows_.expand(row, bLocal);
        MessageBoxes::current().show(QMessageBox::Information, rows_.cell(row, 0) + QStringLiteral(" = ") + text,
                                     QMessageBox::Ok);
        if (QLineEdit* edit = fgPlaces_->openEditor()) edit->setFocus();
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

GridCellDelegate* FormURLs::delegate() const { return fgPlaces_->delegate(); }
