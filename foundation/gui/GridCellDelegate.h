#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "GridCells.h"

// The cell editor of the editable tables (program data, place keys): a line
// edit over the current cell.
// The keys that leave a cell (Enter, Tab, the arrows up and down, Page Up and
// Page Down) store the text and ask for a move; Escape reloads the cell's
// stored text into the box and keeps it open; a right-click asks for the row menu.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // The open editor, or null.
    QLineEdit* openEditor() const { return editor_; }
    // The cell the open editor edits; invalid when none is open.
    QModelIndex editedIndex() const { return editor_ ? QModelIndex(index_) : QModelIndex(); }
    // Stores the open editor's text in its cell and closes it.
    void endEdit();

Q_SIGNALS:
    void moveRequested(GridMove move);
    void rowMenuRequested();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
};
