#pragma once

#include <QGraphicsItem>

// The parent of the designer's spouse and child lines of one part of the
// grid (LinkLayers): an item of no contents of its own that holds its lines
// within its bounds. The scene's index then keeps the layer in place of each
// line: a line thousands of columns long would stand in thousands of the
// index's cells, and cost as much each time it is added, moved or removed.
// The lines are found by walking the layer's children when it is painted.
class LinkLayerItem : public QGraphicsItem {
public:
    LinkLayerItem();

    // The rectangle (scene pixels) that holds every line.
    void setRect(const QRectF& rect);

    QRectF boundingRect() const override { return rect_; }
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

private:
    QRectF rect_;
};
