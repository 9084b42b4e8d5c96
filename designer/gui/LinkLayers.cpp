#include "LinkLayers.h"

#include <algorithm>
#include <cmath>

#include <QGraphicsLineItem>
#include <QGraphicsScene>

#include "LinkLayerItem.h"

namespace {
// The smallest square, in cells.
constexpr int kSquare = 8;
// A key: the doubling of the square (8 bits), then its column and row of
// squares (28 bits each, offset so that a square left of or above the grid
// has one too).
constexpr int kBits = 28;
constexpr qint64 kOffset = qint64(1) << (kBits - 1);
constexpr quint64 kMask = (quint64(1) << kBits) - 1;

quint64 keyOf(int level, qint64 x, qint64 y) {
    return (quint64(level) << (2 * kBits)) | ((quint64(x + kOffset) & kMask) << kBits) |
           (quint64(y + kOffset) & kMask);
}
}  // namespace

LinkLayers::LinkLayers(QGraphicsScene& scene, double z) : scene_(scene), z_(z) {}

void LinkLayers::setCellSize(const QSizeF& cell) {
    if (cell == cell_ || cell.isEmpty()) return;
    cell_ = cell;
    for (auto it = layers_.cbegin(); it != layers_.cend(); ++it) it.value()->setRect(layerRect(it.key()));
}

QRectF LinkLayers::layerRect(quint64 key) const {
    const int level = int(key >> (2 * kBits));
    const double side = double(kSquare) * std::ldexp(1.0, level);
    const double x = double(qint64((key >> kBits) & kMask) - kOffset),
                 y = double(qint64(key & kMask) - kOffset);
    return QRectF(x * side * cell_.width(), y * side * cell_.height(), 2 * side * cell_.width(),
                  2 * side * cell_.height());
}

LinkLayerItem* LinkLayers::layerFor(const QRectF& bounds) {
    const QRectF cells(bounds.x() / cell_.width(), bounds.y() / cell_.height(),
                       bounds.width() / cell_.width(), bounds.height() / cell_.height());
    const double reach = std::max(cells.width(), cells.height());
    int level = 0;
    double side = kSquare;
    while (side < reach && level < 40) {
        side *= 2;
        ++level;
    }
    const quint64 key =
        keyOf(level, qint64(std::floor(cells.left() / side)), qint64(std::floor(cells.top() / side)));
    LinkLayerItem*& layer = layers_[key];
    if (!layer) {
        layer = new LinkLayerItem;
        layer->setZValue(z_);
        layer->setRect(layerRect(key));
        scene_.addItem(layer);
    }
    return layer;
}

void LinkLayers::place(QGraphicsLineItem* line) {
    LinkLayerItem* layer = layerFor(line->boundingRect());
    if (line->parentItem() != layer) line->setParentItem(layer);
}
