#pragma once

#include <QHash>
#include <QRectF>
#include <QSizeF>

class LinkLayerItem;
class QGraphicsLineItem;
class QGraphicsScene;

// The layers that hold the designer's spouse and child lines. The grid is
// cut into squares of 8 cells, and again of 16, 32 and so on; a line goes to
// the layer of the smallest square size that holds it, that of the square
// its top-left corner is in, and each layer reaches one square further
// right and down so that the line fits. The scene's index keeps the layers
// (few, each in the index cells it covers) instead of the lines, and a paint
// walks the lines of the layers it exposes only: lines away from the view
// cost it nothing, however many or long they are.
class LinkLayers {
public:
    LinkLayers(QGraphicsScene& scene, double z);
    LinkLayers(const LinkLayers&) = delete;
    LinkLayers& operator=(const LinkLayers&) = delete;

    // The size of a cell in scene pixels; the layers take their bounds from it.
    void setCellSize(const QSizeF& cell);
    // Puts a line into the layer that holds its bounds, when it is not there
    // yet; a line of no scene joins the layers' scene.
    void place(QGraphicsLineItem* line);

    // The layer that holds a rectangle of the scene (made when there is none).
    LinkLayerItem* layerFor(const QRectF& bounds);
    int layerCount() const { return int(layers_.size()); }

private:
    QRectF layerRect(quint64 key) const;

    QGraphicsScene& scene_;
    double z_;
    QSizeF cell_{1, 1};
    QHash<quint64, LinkLayerItem*> layers_;
};
