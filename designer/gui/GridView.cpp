#include "GridView.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QPainter>

#include "GridBoxLayout.h"
#include "GridModel.h"
#include "GridPainting.h"

GridView::GridView(const GridModel& model, const GridPainting& painting, QWidget* parent)
    : QGraphicsView(parent), model_(model), painting_(painting) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
}

bool GridView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Show:
    case QEvent::Hide:
        return QAbstractScrollArea::viewportEvent(event);
    default:
        return QGraphicsView::viewportEvent(event);
    }
}

void GridView::cellsIn(const QRectF& sceneRect, int& firstCol, int& lastCol, int& firstRow, int& lastRow) const {
    const GridGeometry& g = model_.geometry();
    const double cw = g.cellWidth() / GridGeometry::kTwipsPerPixel, ch = g.cellHeight() / GridGeometry::kTwipsPerPixel;
    // One cell of slack each way covers the half-cell shift of a stepped chart.
    firstCol = std::max(1, int(std::floor(sceneRect.left() / cw)));
    lastCol = std::min(g.cols, int(std::ceil(sceneRect.right() / cw)) + 1);
    firstRow = std::max(1, int(std::floor(sceneRect.top() / ch)));
    lastRow = std::min(g.rows, int(std::ceil(sceneRect.bottom() / ch)) + 1);
}

void GridView::drawBackground(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, painting_.palette.color(QPalette::Window));
    const GridGeometry& g = model_.geometry();
    if (g.cols < 1 || g.rows < 1) return;
    int c0, c1, r0, r1;
    cellsIn(rect, c0, c1, r0, r1);
    const double w = double(g.boxWidth()) / GridGeometry::kTwipsPerPixel;
    const double h = double(g.boxHeight()) / GridGeometry::kTwipsPerPixel;
    const GridBoxParts parts = ArrangeBoxParts(w, h, 1, true, false, 0, 0);
    const QColor back = painting_.colour(GridColour::kWindowBackground);
    const QColor frame = painting_.colour(GridColour::kActiveBorder);
    painter->setFont(painting_.captionFont);
    for (int row = r0; row <= r1; ++row) {
        for (int col = c0; col <= c1; ++col) {
            const int cell = g.iCellIndex(col, row);
            if (model_.occupancy().isOccupied(cell)) continue;
            const QPointF at(double(g.GetCellX(col, row)) / GridGeometry::kTwipsPerPixel,
                             double(g.GetCellY(col, row)) / GridGeometry::kTwipsPerPixel);
            const QRectF box(at, QSizeF(w, h));
            if (!box.intersects(rect)) continue;
            painter->fillRect(parts.inner.translated(at), back);
            painter->setPen(frame);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(parts.borderOutline.translated(at));
            painter->drawText(parts.caption.translated(at), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                              QStringLiteral("(%1,%2)").arg(col).arg(row));
        }
    }
}
