#pragma once

#include <QPointF>
#include <QRectF>
#include <QtGlobal>

#include "tree_model/SVGViewpointClass.h"

// A cell of the designer grid: its index (row by row from 1), column and row.
// An index of 0 is "no cell".
struct CellRef {
    int L = 0;
    int C = 0;
    int R = 0;
    bool operator==(const CellRef&) const = default;
};

// The geometry of the Tree Designer grid as a value: the grid size, the box
// and margin sizes of the display (chart units), the zoom factor (window
// units per chart unit) and the orientation flags. Window units are twips,
// 15 to a pixel; positions are unscrolled (the scene scrolls, not the grid).
//
// Cell indices are bounds-checked: a column or row outside the grid (0
// included) has no cell.
class GridGeometry {
public:
    static constexpr int kTwipsPerPixel = 15;
    // The largest number of columns or rows: a viewpoint packs positions in 14 bits.
    static constexpr int kMaxSide = SVGViewpointClass::kMaxGridSide;

    int cols = 0;
    int rows = 0;
    int boxW = 80;
    int boxH = 80;
    int marginW = 50;
    int marginH = 50;
    int zoom = 12;
    bool horiz = true;
    bool stepped = true;

    // (row - 1) x columns + column; 0 when the column or row is outside the grid.
    int iCellIndex(int iCol, int iRow) const;
    // The column and row of a cell index; false (and 0, 0) when no such cell.
    bool GetCellColRow(int iIndex, int& iCol, int& iRow) const;
    CellRef cellRef(int iCol, int iRow) const { return {iCellIndex(iCol, iRow), iCol, iRow}; }

    // Left and top edge of a cell, with the half-cell shift of a stepped
    // chart, snapped to whole pixels.
    qint64 GetCellX(int iCol, int iRow) const;
    qint64 GetCellY(int iCol, int iRow) const;

    // A length rounded down to whole pixels.
    static qint64 lSnapToPixelX(double length);
    static qint64 lSnapToPixelY(double length) { return lSnapToPixelX(length); }

    // The size a box is drawn at: box size x zoom, snapped.
    qint64 boxWidth() const { return lSnapToPixelX(double(boxW) * zoom); }
    qint64 boxHeight() const { return lSnapToPixelY(double(boxH) * zoom); }
    // Box size x zoom, as the link lines measure it.
    double linkBoxWidth() const { return double(boxW) * zoom; }
    double linkBoxHeight() const { return double(boxH) * zoom; }
    double cellWidth() const { return double(boxW + marginW) * zoom; }
    double cellHeight() const { return double(boxH + marginH) * zoom; }

    // The box of a cell (left, top, snapped box size).
    QRectF boxRect(int iCol, int iRow) const;
    // The cell whose box holds the point (left and top edges inside, right
    // and bottom edges outside); 0 for a point in a margin or off the grid.
    int iCellAtPoint(double X, double Y) const;

    // Width (and height) of a family circle: 300 at zoom 12, 250 at 8, 400 at 20.
    double circleSize() const;

    // The extent of the grid: right and bottom edge of the last cells,
    // including a trailing margin and box, as the window is fitted to it.
    QRectF gridRect() const;

    // The same geometry with columns and rows exchanged (the orientation flip).
    void transposeSize() { qSwap(cols, rows); }

    static double toPixels(double twips) { return twips / kTwipsPerPixel; }
    static QPointF toPixels(QPointF twips) { return twips / kTwipsPerPixel; }
    static QRectF toPixels(const QRectF& twips) {
        return {twips.x() / kTwipsPerPixel, twips.y() / kTwipsPerPixel, twips.width() / kTwipsPerPixel,
                twips.height() / kTwipsPerPixel};
    }
};
