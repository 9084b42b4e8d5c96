#include "GridGeometry.h"

#include <cmath>

namespace {
// Rounded to the nearest whole number, halves to even.
qint64 nearest(double v) { return static_cast<qint64>(std::nearbyint(v)); }
// Integer division truncating towards zero of a rounded value.
qint64 cellOf(double v, double size) { return nearest(v) / static_cast<qint64>(size) + 1; }
}  // namespace

int GridGeometry::iCellIndex(int iCol, int iRow) const {
    if (iCol < 1 || iRow < 1 || iCol > cols || iRow > rows) return 0;
    return (iRow - 1) * cols + iCol;
}

bool GridGeometry::GetCellColRow(int iIndex, int& iCol, int& iRow) const {
    if (cols < 1 || iIndex < 1 || qint64(iIndex) > qint64(cols) * rows) {
        iCol = iRow = 0;
        return false;
    }
    iCol = (iIndex - 1) % cols + 1;
    iRow = (iIndex - 1) / cols + 1;
    return true;
}

qint64 GridGeometry::GetCellX(int iCol, int iRow) const {
    double x;
    if (horiz && stepped && iRow % 2 == 0)
        x = (double(iCol - 1) * boxW + double(iCol) * marginW + (boxW + marginW) / 2.0) * zoom;
    else
        x = double((qint64(iCol) - 1) * boxW + qint64(iCol) * marginW) * zoom;
    return lSnapToPixelX(double(nearest(x)));
}

qint64 GridGeometry::GetCellY(int iCol, int iRow) const {
    double y;
    if (!horiz && stepped && iCol % 2 == 0)
        y = (double(iRow - 1) * boxH + double(iRow) * marginH + (boxH + marginH) / 2.0) * zoom;
    else
        y = double((qint64(iRow) - 1) * boxH + qint64(iRow) * marginH) * zoom;
    return lSnapToPixelY(double(nearest(y)));
}

qint64 GridGeometry::lSnapToPixelX(double length) {
    const double pixels = std::floor(length / kTwipsPerPixel);
    return nearest(pixels * kTwipsPerPixel);
}

QRectF GridGeometry::boxRect(int iCol, int iRow) const {
    return QRectF(double(GetCellX(iCol, iRow)), double(GetCellY(iCol, iRow)), double(boxWidth()),
                  double(boxHeight()));
}

int GridGeometry::iCellAtPoint(double X, double Y) const {
    const double cw = cellWidth(), ch = cellHeight();
    if (cw < 1 || ch < 1) return 0;
    qint64 col, row;
    if (horiz) {
        row = cellOf(Y, ch);
        col = (stepped && row % 2 == 0) ? cellOf(X - cw / 2, cw) : cellOf(X, cw);
    } else {
        col = cellOf(X, cw);
        row = (stepped && col % 2 == 0) ? cellOf(Y - ch / 2, ch) : cellOf(Y, ch);
    }
    if (col < 1 || row < 1 || col > cols || row > rows) return 0;
    const int c = int(col), r = int(row);
    const double left = double(GetCellX(c, r)), top = double(GetCellY(c, r));
    if (X < left || X >= left + double(boxWidth()) || Y < top || Y >= top + double(boxHeight())) return 0;
    return iCellIndex(c, r);
}

double GridGeometry::circleSize() const { return (zoom / 12.0 - 1) * 150 + 300; }

QRectF GridGeometry::gridRect() const {
    double right, bottom;
    if (horiz) {
        right = double(GetCellX(cols, rows > 1 ? 2 : 1));
        bottom = double(GetCellY(1, rows));
    } else {
        right = double(GetCellX(cols, 1));
        bottom = double(GetCellY(cols > 1 ? 2 : 1, rows));
    }
    return QRectF(0, 0, right + cellWidth(), bottom + cellHeight());
}
