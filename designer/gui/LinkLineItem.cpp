#include "LinkLineItem.h"

QRectF LinkLineItem::boundingRect() const {
    // A square cap reaches half the pen's width past each end, along the line
    // and across it; the pen's width covers that in any direction.
    const QLineF l = line();
    return QRectF(l.p1(), l.p2()).normalized().adjusted(-kWidestPen, -kWidestPen, kWidestPen, kWidestPen);
}
