#include "FormAppData.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QMenuBar>

#include "DialogFrame.h"
#include "EditGrid.h"
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

    fgData_ = new EditGrid(this);
    fgData_->setObjectName(QStringLiteral("fgData"));
    fgData_->setToolTip(model_.description());
    connect(fgData_, &EditGrid::rowMenuRequested, this, &FormAppData::ShowRowMenu);

    DialogFrame frame(this, QStringLiteral("Save your changes to the Program-Data tab"),
                      QStringLiteral("Close the form without saving any changes"), [this] { cmdExit_Click(); });
    cmdExit_ = frame.cmdExit;
    cmdQuit_ = frame.cmdQuit;
    QMenu* mnuOptions = frame.menuBar->addMenu(QStringLiteral("&Options"));
    connect(mnuOptions->addAction(QStringLiteral("Add More Rows")), &QAction::triggered, this,
            &FormAppData::mnuAddRows_Click);
    frame.layout->addWidget(fgData_, 1);
    frame.finish();

    fgData_->setColumnCount(model_.columnCount());
    fgData_->setHorizontalHeaderLabels(model_.titles());
    fillGrid();
    fgData_->setCurrentCell(0, 0);
    resize(640, 420);
}

void FormAppData::fillGrid() {
    QList<QStringList> rows;
    for (int r = 0; r < model_.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model_.columnCount(); ++c) row.append(model_.cell(r, c));
        rows.append(row);
    }
    fgData_->setTexts(rows);
    SizeGridColumns();
}

void FormAppData::readGrid() {
    for (int r = 0; r < model_.rowCount(); ++r)
        for (int c = 0; c < model_.columnCount(); ++c) model_.setCell(r, c, fgData_->text(r, c));
}

void FormAppData::setCurrent(int row, int column) { fgData_->setCurrent(row, column); }

void FormAppData::BeginCellEdit() { fgData_->beginCellEdit(); }

void FormAppData::SizeGridColumns() {
    // Each column's share of the width follows the length of its longest text.
    if (model_.columnCount() >= 2) fgData_->fitColumns(model_.columnChars());
}

void FormAppData::ShowRowMenu() {
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("Insert Row Above"));
    menu.Add(2, QStringLiteral("Delete Row"));
    QLineEdit* edit = fgData_->openEditor();
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
    fgData_->endCellEdit();
    readGrid();
    const int row = std::max(fgData_->currentRow(), 0);
    const int column = std::max(fgData_->currentColumn(), 0);
    model_.insertRowAbove(row);
    fillGrid();
    // The current cell stays with the row that was current.
    setCurrent(row + 1, column);
}

void FormAppData::mnuDeleteOneRow_Click() {
    fgData_->endCellEdit();
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
    fgData_->endCellEdit();
    readGrid();
    model_.addRows(5);
    fillGrid();
}

void FormAppData::cmdExit_Click() {
    try {
        fgData_->endCellEdit();
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

GridCellDelegate* FormAppData::delegate() const { return fgData_->delegate(); }
