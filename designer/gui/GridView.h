#pragma once

#include <QGraphicsView>

class GridModel;
struct GridPainting;

// The view of the designer's scene. Empty cells have no items: the view
// paints them in its background, only those in the exposed rectangle, each
// as a framed box captioned "(column,row)".
class GridView : public QGraphicsView {
    Q_OBJECT

public:
    GridView(const GridModel& model, const GridPainting& painting, QWidget* parent = nullptr);

    // The cells (first and last column and row) that a scene rectangle touches.
    void cellsIn(const QRectF& sceneRect, int& firstCol, int& lastCol, int& firstRow, int& lastRow) const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    // The window's activation is not passed on to the scene: no item of the
    // designer takes the focus or looks active, and the scene would sort all
    // its items to tell each of them, when the window opens, closes or
    // changes focus.
    bool viewportEvent(QEvent* event) override;

private:
    const GridModel& model_;
    const GridPainting& painting_;
};
