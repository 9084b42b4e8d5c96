#pragma once

#include <QLineF>
#include <QPointF>
#include <Qt>

#include "DesignerCommands.h"
#include "DesignerHost.h"

class GridModel;

// One mouse event on the designer grid: the button pressed or released (none
// for a move), the buttons held, the modifier keys, and the point in window
// units on the unscrolled grid.
struct GridMouse {
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons = Qt::NoButton;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QPointF at;
};

// Everything the user does with the mouse on the Tree Designer grid, as a
// state machine the window feeds with press, move and release events:
//   Idle          nothing under way;
//   Hover         a child line near the pointer is red (the active line);
//   MovePending   the left button went down on a person, not yet moved far;
//   MoveDrag      a person (or the selection) is dragged to another cell;
//   SpouseBand    Shift and a drag from a person draw a rubber band to a spouse;
//   CircleBand    a drag from a family circle draws a rubber band to a new child;
//   LineDrag      one end of the red child line follows the pointer.
// What is under the pointer is found in the grid model: an occupied box
// stands in front of a family circle, a circle in front of an empty cell.
// The commands behind the gestures and the popups are DesignerCommands.
class GridGestures {
public:
    enum class State { Idle, Hover, MovePending, MoveDrag, SpouseBand, CircleBand, LineDrag };
    // The active line: none, the spouse rubber band, the child rubber band
    // of a circle, or a child line (by its record index).
    enum class Line { None, SpouseBand, ChildBand, ChildLine };

    GridGestures(GridModel& model, DesignerHost& host);

    DesignerCommands& commands() { return commands_; }

    void press(const GridMouse& e);
    void move(const GridMouse& e);
    void release(const GridMouse& e);

    State state() const;
    Line activeLine() const { return line_; }
    // The child record of the active child line (0 for a rubber band).
    int activeIndex() const { return lineIndex_; }
    // The active line as drawn now (window units): a band from its anchor to
    // the pointer, a child line with its dragged end at the pointer.
    QLineF lineGeometry() const;
    // True when the child end (second point) of the line is the one dragged.
    bool childEnd() const { return childEnd_; }
    bool spouseDrag() const { return spouseDrag_; }
    // The cell a person is being dragged from (0 when none) and the pointer.
    int moveSource() const { return state() == State::MoveDrag ? moveSource_ : 0; }
    QPointF pointer() const { return pointer_; }

    // Ends any line drag: the red line turns green again, the rubber bands hide.
    void CancelLinkDrag();
    // After an error: the gesture is forgotten, the selection cleared, no
    // current cell or family.
    void ResetInteraction() { commands_.ResetInteraction(); }

    // The pointer must move this far (window units) before a move drag starts.
    double startDragDistance = 10.0 * 15;
    // A child line is hit when the pointer is nearer than this (window units).
    double hoverTolerance = 3.0 * 15;

private:
    enum class Under { Form, Box, Circle };
    Under under(QPointF at, int& index) const;

    void boxMouseDown(const GridMouse& e, int iCell);
    void circleMouseDown(const GridMouse& e, int iFamily);
    void boxMouseUp(const GridMouse& e, int iCell);
    void circleMouseUp(const GridMouse& e, int iFamily);
    void formMouseMove(const GridMouse& e);
    void formMouseUp(const GridMouse& e);
    void hoverTest(QPointF at);
    void personPopup(const GridMouse& e, int iCell);
    void forget();

    GridModel& model_;
    DesignerHost& host_;
    DesignerCommands commands_;

    Line line_ = Line::None;
    int lineIndex_ = 0;
    bool childEnd_ = false;
    bool spouseDrag_ = false;
    bool lineMoved_ = false;  // the active line's end follows the pointer
    QLineF band_;             // a rubber band, or a child line being dragged

    Under pressedOn_ = Under::Form;
    bool lineAtPress_ = false;
    int pressedIndex_ = 0;
    int moveSource_ = 0;
    bool moveStarted_ = false;
    QPointF pressedAt_;
    QPointF pointer_;
};
