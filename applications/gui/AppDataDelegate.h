#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "AppDataModel.h"


// The program-data editor's cell editor: a line edit over the current cell.
// The keys that leave a cell (Enter, Tab, the arrows up and down, Page Up and
// Page Down) store the text and ask for a move; Escape reloads the cell's
// stored text into the box and keeps it open; a right-click asks for the row menu.
class AppDataDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    // The open editor, or null.
    QLineEdit* openEditor() const { return editor_; }
    // Stores the open editor's text in its cell and closes it.
    void endEdit();

Q_SIGNALS:
    void moveRequested(AppDataModel::Move move);
    void rowMenuRequested();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex index_;
};
