#pragma once

#include <QGraphicsLineItem>

// A spouse or child line of the designer. Its bounds are the line's own
// rectangle widened by the pen, worked out from the two ends, so that
// painting and indexing a line cost the same whatever its length (a plain
// line item strokes its whole outline to find them, each time it is asked).
class LinkLineItem : public QGraphicsLineItem {
public:
    using QGraphicsLineItem::QGraphicsLineItem;

    QRectF boundingRect() const override;
};
