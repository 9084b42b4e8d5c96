#include "LinkLayerItem.h"

LinkLayerItem::LinkLayerItem() {
    setFlags(ItemHasNoContents | ItemContainsChildrenInShape);
}

void LinkLayerItem::setRect(const QRectF& rect) {
    if (rect == rect_) return;
    prepareGeometryChange();
    rect_ = rect;
}
