#include "EditGrid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>

#include "GridCellDelegate.h"

EditGrid::EditGrid(QWidget* parent) : QTableWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    // After the user drags a column border the last column takes the rest.
    horizontalHeader()->setStretchLastSection(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    delegate_ = new GridCellDelegate(this);
    setItemDelegate(delegate_);
    connect(delegate_, &GridCellDelegate::moveRequested, this, &EditGrid::moveCurrent);
    connect(delegate_, &GridCellDelegate::rowMenuRequested, this, &EditGrid::rowMenuRequested);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = indexAt(pos);
        // Shift, Ctrl or Alt with the right button is not a call for the row menu.
        if (!index.isValid() || QGuiApplication::keyboardModifiers() != Qt::NoModifier) return;
        endCellEdit();
        setCurrent(index.row(), index.column());
        Q_EMIT rowMenuRequested();
    });
}

QLineEdit* EditGrid::openEditor() const { return delegate_->openEditor(); }

void EditGrid::setTexts(const QList<QStringList>& rows) {
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* cell = item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                setItem(r, c, cell);
            }
            cell->setText(rows[r].value(c));
        }
    }
}

QString EditGrid::text(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void EditGrid::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
    const QModelIndex edited = delegate_->editedIndex();
    if (edited.isValid() && edited.row() == row && edited.column() == column) {
        QLineEdit* edit = openEditor();
        edit->setText(text);
        edit->end(false);
    }
}

void EditGrid::setCurrent(int row, int column) {
    setCurrentCell(row, column);
    beginCellEdit();
}

void EditGrid::beginCellEdit() {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !isVisible()) return;
    if (!openEditor()) edit(index);
    if (QLineEdit* box = openEditor()) {
        if (box->hasSelectedText()) box->end(false);
        box->setFocus();
    }
}

void EditGrid::endCellEdit() { delegate_->endEdit(); }

void EditGrid::moveCurrent(GridMove move) {
    const GridCell to = nextCell({currentRow(), currentColumn()}, move, rowCount(), columnCount());
    setCurrent(to.row, to.column);
}

void EditGrid::fitColumns(const QList<int>& weights) {
    const QList<int> widths = columnWidths(weights, viewport()->width());
    for (int c = 0; c + 1 < widths.size(); ++c) setColumnWidth(c, widths[c]);
}
