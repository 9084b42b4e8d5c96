#pragma once

#include <QGraphicsItem>

// The parent of the designer's spouse and child lines: an item of no
// contents of its own, as large as the grid, that holds its lines within its
// bounds. The scene's index then keeps this one item in place of each line:
// a line thousands of columns long would stand in thousands of the index's
// cells, and cost as much each time it is added, moved or removed. The
// lines are found by walking the layer's children when it is painted.
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
