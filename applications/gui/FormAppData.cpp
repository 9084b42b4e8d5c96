#include "FormAppData.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "GridCellDelegate.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "PopupMenuClass.h"
#include "ProgressLog.h"
#include "SVGApplications.h"
#include "WindowPlacement.h"

bool FormAppData::EditAppData(const SVGApplications& apps, const QString& sID, const QString& sProgData,
                              QString& sNewProgData, QWidget* oParentForm) {
    AppDataModel model;
    if (!model.load(apps, sID, sProgData)) return false;
    FormAppData form(model, MainWindowLink::reporter(), oParentForm);
    form.exec();
    if (form.saved()) sNewProgData = form.resultText();
    return form.saved();
}

FormAppData::FormAppData(AppDataModel& model, Reporter& reporter, QWidget* parent)
    : QDialog(parent), model_(model), reporter_(reporter) {
    setObjectName(QStringLiteral("FormAppData"));
    setWindowTitle(QStringLiteral("Edit Application Data"));

    fgData_ = new QTableWidget(this);
    fgData_->setObjectName(QStringLiteral("fgData"));
    fgData_->setToolTip(model_.description());
    fgData_->setSelectionMode(QAbstractItemView::SingleSelection);
    fgData_->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    fgData_->setTabKeyNavigation(false);
    fgData_->horizontalHeader()->setStretchLastSection(true);
    fgData_->setContextMenuPolicy(Qt::CustomContextMenu);
    delegate_ = new GridCellDelegate(fgData_);
    fgData_->setItemDelegate(delegate_);
    connect(delegate_, &GridCellDelegate::moveRequested, this, &FormAppData::MoveEditCell);
    connect(delegate_, &GridCellDelegate::rowMenuRequested, this, &FormAppData::ShowRowMenu);
    connect(fgData_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = fgData_->indexAt(pos);
        // Shift, Ctrl or Alt with the right button is not a call for the row menu.
        if (!index.isValid() || QGuiApplication::keyboardModifiers() != Qt::NoModifier) return;
        delegate_->endEdit();
        setCurrent(index.row(), index.column());
        ShowRowMenu();
    });

    cmdExit_ = new QPushButton(QStringLiteral("OK"));
    cmdExit_->setToolTip(QStringLiteral("Save your changes to the Program-Data tab"));
    cmdQuit_ = new QPushButton(QStringLiteral("Cancel"));
    cmdQuit_->setToolTip(QStringLiteral("Close the form without saving any changes"));
    cmdExit_->setAutoDefault(false);
    cmdQuit_->setAutoDefault(false);
    connect(cmdExit_, &QPushButton::clicked, this, &FormAppData::cmdExit_Click);
    connect(cmdQuit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* menuBar = new QMenuBar(this);
    QMenu* mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    connect(mnuFile->addAction(QStringLiteral("&Close and Save")), &QAction::triggered, this,
            &FormAppData::cmdExit_Click);
    QMenu* mnuOptions = menuBar->addMenu(QStringLiteral("&Options"));
    connect(mnuOptions->addAction(QStringLiteral("Add More Rows")), &QAction::triggered, this,
            &FormAppData::mnuAddRows_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit_);
    buttons->addWidget(cmdQuit_);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(fgData_, 1);
    layout->addLayout(buttons);

    fgData_->setColumnCount(model_.columnCount());
    fgData_->setHorizontalHeaderLabels(model_.titles());
    fillGrid();
    fgData_->setCurrentCell(0, 0);
    resize(640, 420);
}

void FormAppData::fillGrid() {
    fgData_->setRowCount(model_.rowCount());
    for (int r = 0; r < model_.rowCount(); ++r) {
        for (int c = 0; c < model_.columnCount(); ++c) {
            QTableWidgetItem* item = fgData_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                fgData_->setItem(r, c, item);
            }
            item->setText(model_.cell(r, c));
        }
    }
    SizeGridColumns();
}

void FormAppData::readGrid() {
    for (int r = 0; r < model_.rowCount(); ++r)
        for (int c = 0; c < model_.columnCount(); ++c)
            if (const QTableWidgetItem* item = fgData_->item(r, c)) model_.setCell(r, c, item->text());
}

void FormAppData::setCurrent(int row, int column) {
    fgData_->setCurrentCell(row, column);
    BeginCellEdit();
}

void FormAppData::BeginCellEdit() {
    const QModelIndex index = fgData_->currentIndex();
    if (!index.isValid() || !isVisible()) return;
    if (!delegate_->openEditor()) fgData_->edit(index);
    if (QLineEdit* edit = delegate_->openEditor()) {
        if (edit->hasSelectedText()) edit->end(false);
        edit->setFocus();
    }
}

void FormAppData::MoveEditCell(AppDataModel::Move move) {
    try {
        const AppDataModel::Cell to = model_.moved({fgData_->currentRow(), fgData_->currentColumn()}, move);
        setCurrent(to.row, to.column);
    } catch (...) {
        reportHandlerError();
    }
}

void FormAppData::SizeGridColumns() {
    // Each column but the last gets its share of the width by the length of
    // its longest text; the last one stretches over the rest.
    const QList<int> chars = model_.columnChars();
    if (chars.size() < 2) return;
    int total = 0;
    for (int n : chars) total += n;
    const int available = fgData_->viewport()->width();
    for (int c = 0; c + 1 < chars.size(); ++c)
        fgData_->setColumnWidth(c, qRound(double(chars[c]) / total * available));
}

void FormAppData::ShowRowMenu() {
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("Insert Row Above"));
    menu.Add(2, QStringLiteral("Delete Row"));
    QLineEdit* edit = delegate_->openEditor();
    // The box's own context menu stays shut while the row menu is open.
    if (edit) edit->setEnabled(false);
    const int chosen = menu.Show(this);
    if (edit) edit->setEnabled(true);
    if (chosen == 1)
        mnuAddOneRow_Click();
    else if (chosen == 2)
        mnuDeleteOneRow_Click();
}

void FormAppData::mnuAddOneRow_Click() {
    delegate_->endEdit();
    readGrid();
    const int row = std::max(fgData_->currentRow(), 0);
    const int column = std::max(fgData_->currentColumn(), 0);
    model_.insertRowAbove(row);
    fillGrid();
    // The current cell stays with the row that was current.
    setCurrent(row + 1, column);
}

void FormAppData::mnuDeleteOneRow_Click() {
    delegate_->endEdit();
    readGrid();
    const int row = fgData_->currentRow();
    const int column = std::max(fgData_->currentColumn(), 0);
    if (model_.deleteRow(row)) {
        fillGrid();
        fgData_->setRowCount(model_.rowCount());
    }
    setCurrent(std::min(row, model_.rowCount() - 1), column);
}

void FormAppData::mnuAddRows_Click() {
    delegate_->endEdit();
    readGrid();
    model_.addRows(5);
    fillGrid();
}

void FormAppData::cmdExit_Click() {
    try {
        delegate_->endEdit();
        readGrid();
        const QString problem = model_.cellProblem();
        if (!problem.isEmpty()) {
            reporter_.warn(problem);
            return;
        }
        saved_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}

void FormAppData::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
    SizeGridColumns();
    BeginCellEdit();
}

void FormAppData::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    SizeGridColumns();
}
