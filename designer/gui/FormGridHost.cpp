#include "FormGridHost.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>

#include "FormBox.h"
#include "FormFamily.h"
#include "FormGrid.h"
#include "GridView.h"
#include "MenuExec.h"
#include "MessageBoxes.h"
#include "ProgressLog.h"
#include "tree_model/SVGTree.h"
#include "ucGridBox.h"

namespace {
QLineF toPixels(const QLineF& twips) {
    return QLineF(FormGrid::px(twips.x1()), FormGrid::px(twips.y1()), FormGrid::px(twips.x2()), FormGrid::px(twips.y2()));
}

// The drag picture of the tree's I switch: a small person box with a dashed frame.
QCursor dragPictureCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.setBrush(QColor(0xAD, 0xD8, 0xE6));
    p.drawRect(6, 6, 20, 20);
    p.setPen(Qt::black);
    p.drawLine(12, 16, 20, 16);
    p.drawLine(16, 12, 16, 20);
    return QCursor(pixmap, 16, 16);
}
}  // namespace

FormGridHost::FormGridHost(FormGrid& form)
    : form_(form), gestures_(form.model(), *this) {
    gestures_.startDragDistance = double(QApplication::startDragDistance()) * GridGeometry::kTwipsPerPixel;
    QWidget* viewport = form_.view()->viewport();
    viewport->setMouseTracking(true);
    viewport->installEventFilter(this);
    createBox = [this](SVGTree& oTr) { return FormBox::CreateBox(oTr, applications_, &form_); };
    editBox = [this](SVGTree& oTr, const QString& sKey) { return FormBox::EditBox(oTr, sKey, applications_, &form_); };
    createFamily = [this](SVGTree& oTr, const QString& sPar1, const QString& sPar2) {
        return FormFamily::CreateFamily(oTr, sPar1, sPar2, applications_, &form_);
    };
    editFamily = [this](SVGTree& oTr, const QString& sKey, QString& sChildSet) {
        return FormFamily::EditFamily(oTr, sKey, sChildSet, applications_, &form_);
    };
}

FormGridHost::~FormGridHost() = default;

// ---- Mouse events of the view

GridMouse FormGridHost::gridMouse(const QMouseEvent& event) const {
    GridMouse e;
    e.button = event.button();
    e.buttons = event.buttons();
    e.modifiers = event.modifiers();
    const QPointF scene = form_.view()->mapToScene(event.position().toPoint());
    e.at = scene * GridGeometry::kTwipsPerPixel;
    return e;
}

bool FormGridHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched != form_.view()->viewport() || !form_.tree()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            gestures_.press(gridMouse(static_cast<QMouseEvent&>(*event)));
            return true;
        case QEvent::MouseMove:
            gestures_.move(gridMouse(static_cast<QMouseEvent&>(*event)));
            return true;
        case QEvent::MouseButtonRelease:
            gestures_.release(gridMouse(static_cast<QMouseEvent&>(*event)));
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

// ---- Messages, clipboard, popups, editors

void FormGridHost::warn(const QString& text) { ReportError(text, &form_.windowUpdates()); }

void FormGridHost::reportError(const QString& description) { ReportError(description, &form_.windowUpdates()); }

bool FormGridHost::askYesNo(const QString& question) {
    return MessageBoxes::current().show(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                                        QMessageBox::No) == QMessageBox::Yes;
}

QString FormGridHost::clipboardText() { return clipboard_.text(); }

void FormGridHost::setClipboardText(const QString& text) { clipboard_.setText(text); }

QString FormGridHost::popup(const PopupMenuModel& menu, QPointF at) {
    QMenu popup(&form_);
    for (const PopupItem& item : menu) {
        if (item.separator) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(item.caption);
        action->setObjectName(item.name);
        action->setEnabled(item.enabled);
    }
    const QPoint viewPoint = form_.view()->mapFromScene(at / GridGeometry::kTwipsPerPixel);
    QAction* chosen = MenuExec::current().exec(popup, form_.view()->viewport()->mapToGlobal(viewPoint));
    return chosen ? chosen->objectName() : QString();
}

QString FormGridHost::CreateBox(SVGTree& oTr) { return createBox(oTr); }

bool FormGridHost::EditBox(SVGTree& oTr, const QString& sKey) { return editBox(oTr, sKey); }

QString FormGridHost::CreateFamily(SVGTree& oTr, const QString& sPar1, const QString& sPar2) {
    return createFamily(oTr, sPar1, sPar2);
}

bool FormGridHost::EditFamily(SVGTree& oTr, const QString& sKey, QString& sChildSet) {
    return editFamily(oTr, sKey, sChildSet);
}

// ---- Drawing

bool FormGridHost::shownPerson(int iCell, QString& key) {
    const ucGridBox* box = form_.box(iCell);
    key = box ? box->Tag : QString();
    return true;
}

void FormGridHost::redraw(const GridRedraw& changes) {
    bool locked = form_.windowUpdates().LockW();
    const GridGeometry& g = form_.model().geometry();
    for (auto it = changes.cells.constBegin(); it != changes.cells.constEnd(); ++it) {
        int col = 0, row = 0;
        if (!g.GetCellColRow(it.key(), col, row)) continue;
        QString keys = QStringLiteral("?");
        form_.RenderCell(it.key(), col, row, it.value(), keys);
    }
    if (changes.links) {
        redLine_ = 0;
        form_.BuildFamilyRecords(true);
        form_.RedrawLinks();
    } else {
        const LinkRecords& records = form_.model().records();
        for (int f : changes.families)
            if (f > 0 && f <= records.familyUpperBound()) form_.DrawFamilyLinks(f);
        for (int c : changes.childLines)
            if (c > 0 && c <= records.childUpperBound()) form_.DrawChildLinks(c);
    }
    if (changes.selection) form_.MarkSelection();
    if (changes.refresh) form_.view()->viewport()->update();
    form_.windowUpdates().UnlockW(locked);
}

void FormGridHost::gestureChanged() {
    const GridGestures::Line kind = gestures_.activeLine();
    const int index = gestures_.activeIndex();
    if (redLine_ > 0 && !(kind == GridGestures::Line::ChildLine && index == redLine_)) {
        if (redLine_ <= form_.model().records().childUpperBound()) form_.DrawChildLinks(redLine_);
        redLine_ = 0;
    }
    QGraphicsLineItem* spouseBand = form_.familyLine(0);
    QGraphicsLineItem* childBand = form_.childLine(0);
    const QLineF line = toPixels(gestures_.lineGeometry());
    spouseBand->setVisible(kind == GridGestures::Line::SpouseBand);
    childBand->setVisible(kind == GridGestures::Line::ChildBand);
    if (kind == GridGestures::Line::SpouseBand) spouseBand->setLine(line);
    if (kind == GridGestures::Line::ChildBand) childBand->setLine(line);
    if (kind == GridGestures::Line::ChildLine) {
        if (QGraphicsLineItem* item = form_.childLine(index)) {
            QPen pen = item->pen();
            pen.setColor(QColor(0xFF, 0, 0));
            item->setPen(pen);
            item->setLine(line);
            form_.placeLine(item);
            redLine_ = index;
        }
    }
    showGhost();
}

void FormGridHost::showGhost() {
    const int source = gestures_.moveSource();
    QWidget* viewport = form_.view()->viewport();
    if (source == 0) {
        if (ghost_) ghost_->hide();
        if (dragCursor_) viewport->unsetCursor();
        dragCursor_ = false;
        return;
    }
    if (!ghost_) {
        ghost_ = new QGraphicsRectItem;
        QPen pen(Qt::black, 1, Qt::DashLine);
        pen.setCosmetic(true);
        ghost_->setPen(pen);
        ghost_->setZValue(FormGrid::kBandZ);
        form_.scene()->addItem(ghost_);
    }
    const GridGeometry& g = form_.model().geometry();
    const QSizeF size(FormGrid::px(double(g.boxWidth())), FormGrid::px(double(g.boxHeight())));
    const QPointF centre = gestures_.pointer() / GridGeometry::kTwipsPerPixel;
    ghost_->setRect(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size));
    ghost_->show();
    if (!dragCursor_) {
        if (form_.tree() && form_.tree()->GetDragIcon())
            viewport->setCursor(dragPictureCursor());
        else
            viewport->setCursor(Qt::DragMoveCursor);
        dragCursor_ = true;
    }
}
