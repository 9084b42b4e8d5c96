#include "LinkLineItem.h"

#include <QPen>

QRectF LinkLineItem::boundingRect() const {
    // A square cap reaches half the pen's width past each end, along the line
    // and across it; a pen's width covers that in any direction.
    const QLineF l = line();
    const qreal pad = std::max<qreal>(pen().widthF(), 1);
    return QRectF(l.p1(), l.p2()).normalized().adjusted(-pad, -pad, pad, pad);
}
