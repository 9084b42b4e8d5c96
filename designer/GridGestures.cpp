#include "GridGestures.h"

#include <cmath>

#include "DesignerPopups.h"
#include "GridModel.h"
#include "tree_model/SVGTree.h"

namespace {
constexpr Qt::KeyboardModifiers kModifierKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

Qt::KeyboardModifiers keys(const GridMouse& e) { return e.modifiers & kModifierKeys; }
bool noKeys(const GridMouse& e) { return keys(e) == Qt::NoModifier; }
bool shift(const GridMouse& e) { return e.modifiers.testFlag(Qt::ShiftModifier); }
bool ctrl(const GridMouse& e) { return e.modifiers.testFlag(Qt::ControlModifier); }
}  // namespace

GridGestures::GridGestures(GridModel& model, DesignerHost& host)
    : model_(model), host_(host), commands_(model, host) {
    commands_.onReset = [this] {
        forget();
        childEnd_ = false;
    };
}

GridGestures::State GridGestures::state() const {
    if (moveSource_ > 0) return moveStarted_ ? State::MoveDrag : State::MovePending;
    switch (line_) {
        case Line::None: return State::Idle;
        case Line::SpouseBand: return State::SpouseBand;
        case Line::ChildBand: return State::CircleBand;
        case Line::ChildLine: return lineMoved_ ? State::LineDrag : State::Hover;
    }
    return State::Idle;
}

QLineF GridGestures::lineGeometry() const {
    if (line_ == Line::ChildLine && !lineMoved_) return model_.childLine(lineIndex_);
    return line_ == Line::None ? QLineF() : band_;
}

GridGestures::Under GridGestures::under(QPointF at, int& index) const {
    const int cell = model_.iCellAtPoint(at.x(), at.y());
    if (cell > 0 && commands_.isOccupied(cell)) {
        index = cell;
        return Under::Box;
    }
    if (const int circle = model_.iCircleAtPoint(at.x(), at.y())) {
        index = circle;
        return Under::Circle;
    }
    index = cell;
    return cell > 0 ? Under::Box : Under::Form;
}

void GridGestures::forget() {
    line_ = Line::None;
    lineIndex_ = 0;
    spouseDrag_ = false;
    lineMoved_ = false;
    band_ = QLineF();
    moveSource_ = 0;
    moveStarted_ = false;
    host_.gestureChanged();
}

void GridGestures::CancelLinkDrag() {
    line_ = Line::None;
    lineIndex_ = 0;
    spouseDrag_ = false;
    lineMoved_ = false;
    band_ = QLineF();
    host_.gestureChanged();
}

// ---- Press

void GridGestures::press(const GridMouse& e) {
    pointer_ = e.at;
    int index = 0;
    pressedOn_ = under(e.at, index);
    pressedIndex_ = index;
    pressedAt_ = e.at;
    lineAtPress_ = line_ != Line::None;
    // A press on the red line takes the line, unless it lands on a circle or
    // inside a person's box: there it starts a move of that person.
    const bool onPerson = pressedOn_ == Under::Box && commands_.isOccupied(index);
    if (line_ == Line::ChildLine && e.button == Qt::LeftButton && noKeys(e) && pressedOn_ != Under::Circle &&
        !onPerson) {
        pressedOn_ = Under::Form;
        return;
    }
    commands_.run([&] {
        if (pressedOn_ == Under::Box)
            boxMouseDown(e, index);
        else if (pressedOn_ == Under::Circle)
            circleMouseDown(e, index);
    }, false);
}

void GridGestures::boxMouseDown(const GridMouse& e, int iCell) {
    const bool occupied = commands_.isOccupied(iCell);
    if (e.button == Qt::LeftButton && noKeys(e) && occupied) {
        // The red line under the pointer is not the one being moved.
        if (line_ == Line::ChildLine) CancelLinkDrag();
        model_.currentCell = iCell;
        moveSource_ = iCell;
        moveStarted_ = false;
        return;
    }
    if (e.button == Qt::LeftButton && shift(e) && occupied) {
        model_.currentCell = iCell;
        int col = 0, row = 0;
        model_.geometry().GetCellColRow(iCell, col, row);
        const QRectF box = model_.geometry().boxRect(col, row);
        const double x = e.at.x() - box.left() > box.width() / 2 ? box.right() : box.left();
        band_ = QLineF(QPointF(x, box.center().y()), e.at);
        line_ = Line::SpouseBand;
        lineIndex_ = 0;
        spouseDrag_ = true;
        childEnd_ = false;
        host_.gestureChanged();
        return;
    }
    if ((!noKeys(e) && !occupied) || e.button == Qt::RightButton || e.button == Qt::MiddleButton) CancelLinkDrag();
}

void GridGestures::circleMouseDown(const GridMouse& e, int iFamily) {
    if (e.button != Qt::LeftButton || !noKeys(e)) return;
    CancelLinkDrag();
    band_ = QLineF(model_.circleRect(iFamily).center(), e.at);
    line_ = Line::ChildBand;
    lineIndex_ = 0;
    model_.records().scratchChild().iFamily = iFamily;
    childEnd_ = true;
    host_.gestureChanged();
}

// ---- Move

void GridGestures::move(const GridMouse& e) {
    pointer_ = e.at;
    if (moveSource_ > 0) {
        if (!moveStarted_ && std::hypot(e.at.x() - pressedAt_.x(), e.at.y() - pressedAt_.y()) >= startDragDistance)
            moveStarted_ = true;
        if (moveStarted_) host_.gestureChanged();
        return;
    }
    commands_.run([&] { formMouseMove(e); }, false);
}

void GridGestures::formMouseMove(const GridMouse& e) {
    if (e.buttons == Qt::NoButton && noKeys(e)) {
        hoverTest(e.at);
        return;
    }
    if (line_ == Line::None) return;
    if (e.buttons == Qt::LeftButton && noKeys(e) && !spouseDrag_ && line_ != Line::SpouseBand) {
        if (line_ == Line::ChildLine && !lineMoved_) {
            band_ = model_.childLine(lineIndex_);
            lineMoved_ = true;
        }
        if (childEnd_)
            band_.setP2(e.at);
        else
            band_.setP1(e.at);
        host_.gestureChanged();
    } else if (e.buttons == Qt::LeftButton && shift(e) && spouseDrag_) {
        band_.setP2(e.at);
        host_.gestureChanged();
    } else {
        CancelLinkDrag();
    }
}

void GridGestures::hoverTest(QPointF at) {
    // A rubber band left over from a release the window did not see goes first.
    if (line_ == Line::SpouseBand || line_ == Line::ChildBand) CancelLinkDrag();
    const double tolerance2 = hoverTolerance * hoverTolerance;
    const LinkRecords& records = model_.records();
    int hit = 0;
    for (int i = 1; i <= records.childUpperBound() && hit == 0; ++i) {
        const ChildRecord& r = records.child(i);
        // A hidden line cannot be seen, so it is not offered for dragging.
        if (!r.inUse() || records.family(r.iFamily).bChildrenHidden) continue;
        const QLineF l = model_.childLine(i);
        const double dx = l.x2() - l.x1(), dy = l.y2() - l.y1();
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? ((at.x() - l.x1()) * dx + (at.y() - l.y1()) * dy) / len2 : 0;
        QPointF nearest = l.p1();
        if (t >= 1)
            nearest = l.p2();
        else if (t >= 0)
            nearest = QPointF(l.x1() + t * dx, l.y1() + t * dy);
        const double ex = at.x() - nearest.x(), ey = at.y() - nearest.y();
        if (ex * ex + ey * ey < tolerance2) {
            hit = i;
            childEnd_ = t > 0.5;
        }
    }
    if (hit == 0) {
        if (line_ != Line::None) CancelLinkDrag();
        return;
    }
    if (line_ == Line::ChildLine && lineIndex_ == hit) return;
    line_ = Line::ChildLine;
    lineIndex_ = hit;
    lineMoved_ = false;
    host_.gestureChanged();
}

// ---- Release

void GridGestures::release(const GridMouse& e) {
    pointer_ = e.at;
    if (moveSource_ > 0) {
        const bool started = moveStarted_;
        moveSource_ = 0;
        moveStarted_ = false;
        host_.gestureChanged();
        if (!started) {
            // A click on the box, not a move: it clears the selection.
            commands_.run([&] { commands_.ClearSelection(); }, false);
            return;
        }
        const int target = model_.iCellAtPoint(e.at.x(), e.at.y());
        commands_.run([&] {
            if (target > 0)
                commands_.dropPerson(target);
            else
                commands_.changes().refresh = true;
        });
        return;
    }
    const Under on = pressedOn_;
    const int index = pressedIndex_;
    pressedOn_ = Under::Form;
    pressedIndex_ = 0;
    if (on == Under::Box)
        boxMouseUp(e, index);
    else if (on == Under::Circle)
        circleMouseUp(e, index);
    else
        formMouseUp(e);
}

void GridGestures::boxMouseUp(const GridMouse& e, int iCell) {
    // A release on a box while a line is (or was, when pressed) active
    // belongs to the line: it opens no popup.
    if (line_ != Line::None || lineAtPress_) {
        formMouseUp(e);
        return;
    }
    if (e.button == Qt::RightButton && noKeys(e)) {
        personPopup(e, iCell);
        return;
    }
    commands_.run([&] {
        if (e.button == Qt::LeftButton && ctrl(e))
            commands_.ToggleSelect(commands_.boxTag(iCell));
        else
            commands_.ClearSelection();
    }, false);
}

void GridGestures::personPopup(const GridMouse& e, int iCell) {
    QString chosen;
    commands_.run([&] {
        DesignerPopups::PersonContext context;
        context.occupied = commands_.isOccupied(iCell);
        context.selected = model_.selection().count();
        context.viewpoint = model_.tree()->GetViewpoint() != nullptr;
        int family = 0;
        model_.iFindChild(commands_.boxTag(iCell), family);
        context.childRecord = context.occupied && family != 0;
        context.clipboard = host_.clipboardText();
        const PopupMenuModel menu = DesignerPopups::personPopup(context, *model_.tree());
        model_.currentCell = iCell;
        chosen = host_.popup(menu, e.at);
    }, false);
    if (!chosen.isEmpty()) commands_.runPopupItem(chosen);
}

void GridGestures::circleMouseUp(const GridMouse& e, int iFamily) {
    if (e.button == Qt::RightButton && noKeys(e)) {
        QString chosen;
        commands_.run([&] {
            CancelLinkDrag();
            model_.currentFamily = iFamily;
            chosen = host_.popup(DesignerPopups::familyPopup(model_.tree()->GetViewpoint() != nullptr), e.at);
        }, false);
        if (!chosen.isEmpty()) commands_.runPopupItem(chosen);
        return;
    }
    if (line_ != Line::None) {
        formMouseUp(e);
        return;
    }
    commands_.run([&] {
        commands_.ClearSelection();
        CancelLinkDrag();
    }, false);
}

void GridGestures::formMouseUp(const GridMouse& e) {
    commands_.run([&] {
        commands_.ClearSelection();
        if (e.button == Qt::LeftButton && shift(e) && spouseDrag_) {
            const int start = model_.currentCell;
            const int target = model_.iCellAtPoint(e.at.x(), e.at.y());
            commands_.linkSpouses(start, target);
        } else if (e.button == Qt::LeftButton && noKeys(e) && !spouseDrag_ &&
                   (line_ == Line::ChildLine || line_ == Line::ChildBand)) {
            const int i = line_ == Line::ChildBand ? 0 : lineIndex_;
            commands_.endChildLineDrag(i, childEnd_, e.at);
            // The dragged end goes back to its anchor.
            if (i == 0)
                model_.records().scratchChild().iFamily = 0;
            else
                commands_.changes().childLines.insert(i);
        }
        CancelLinkDrag();
    });
}
