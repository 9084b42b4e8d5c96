#pragma once

#include <QGraphicsLineItem>

// A spouse or child line of the designer. Its bounds are the line's own
// rectangle widened by the widest pen the designer draws lines with, worked
// out from the two ends, so that painting and indexing a line cost the same
// whatever its length (a plain line item strokes its whole outline to find
// them, each time it is asked, and copies its pen).
class LinkLineItem : public QGraphicsLineItem {
public:
    // The widest pen of the designer's lines, in pixels (cosmetic pens).
    static constexpr double kWidestPen = 2;

    using QGraphicsLineItem::QGraphicsLineItem;

    QRectF boundingRect() const override;
};
