#include "GridCellDelegate.h"

#include <optional>

#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The move a key asks for, if any.
std::optional<GridMove> moveOf(const QKeyEvent& key) {
    
    const bool shift = key.modifiers() & Qt::ShiftModifier;
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    switch (key.key()) {
    case Qt::Key_Tab:
        return shift ? GridMove::Previous : GridMove::Next;
    case Qt::Key_Backtab:
        return GridMove::Previous;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ctrl ? GridMove::Previous : GridMove::Next;
    case Qt::Key_Down:
        return GridMove::Down;
    case Qt::Key_Up:
        return GridMove::Up;
    case Qt::Key_PageDown:
        return GridMove::Last;
    case Qt::Key_PageUp:
        return GridMove::First;
    default:
        return std::nullopt;
    }
}

// Set on a box until it first takes the focus: the view selects the whole
// text of a new box, and the caret goes to the end of the text instead.
const char* const kFresh = "kvFreshEditor";

}  // namespace

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this, &GridCellDelegate::rowMenuRequested);
    edit->setProperty(kFresh, true);
    editor_ = edit;
    index_ = index;
    return edit;
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->setText(index.data(Qt::EditRole).toString());
}

void GridCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == editor_) {
        editor_ = nullptr;
        index_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridCellDelegate::endEdit() {
    if (QLineEdit* edit = editor_) {
        Q_EMIT commitData(edit);
        Q_EMIT closeEditor(edit, NoHint);
    }
}

bool GridCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(object);
    if (edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            // Undo the edit of this cell; the box stays open on it.
            if (index_.isValid()) setEditorData(edit, index_);
            return true;
        }
        if (const auto move = moveOf(*key)) {
            endEdit();
            Q_EMIT moveRequested(*move);
            return true;
        }
    }
    if (edit && event->type() == QEvent::ShortcutOverride) {
        // Escape belongs to the box, not to the dialog's Cancel.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    if (edit && event->type() == QEvent::FocusIn) {
        // A new box, or one that the window's activation focuses as if by
        // Tab, would come up with its whole text selected.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        static_cast<QObject*>(edit)->event(event);
        if (edit->property(kFresh).toBool() || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            edit->setProperty(kFresh, false);
            edit->end(false);
        }
        return true;
    }
    // Losing the focus alone does not end an edit: the text stays pending.
    if (edit && event->type() == QEvent::FocusOut) return false;
    return QStyledItemDelegate::eventFilter(object, event);
}
