#include <gtest/gtest.h>

#include "GridGeometry.h"

namespace {
GridGeometry grid(bool horiz, bool stepped, int zoom = 12, int cols = 10, int rows = 6) {
    GridGeometry g;
    g.cols = cols;
    g.rows = rows;
    g.horiz = horiz;
    g.stepped = stepped;
    g.zoom = zoom;
    return g;
}
}  // namespace

TEST(GridGeometry, CellIndicesAreBoundsChecked) {
    const GridGeometry g = grid(true, false);
    struct Case { int col, row, index; } cases[] = {
        {1, 1, 1}, {10, 1, 10}, {1, 2, 11}, {10, 6, 60},
        {0, 1, 0}, {1, 0, 0}, {11, 1, 0}, {1, 7, 0}, {-3, 2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g.iCellIndex(c.col, c.row), c.index) << c.col << "," << c.row;
        int col = -1, row = -1;
        EXPECT_EQ(g.GetCellColRow(c.index, col, row), c.index != 0);
        if (c.index) {
            EXPECT_EQ(std::pair(col, row), std::pair(c.col, c.row));
        }
    }
    int col = -1, row = -1;
    EXPECT_FALSE(g.GetCellColRow(61, col, row));
    EXPECT_EQ(col, 0);
}

TEST(GridGeometry, CellEdgesWithTheHalfCellShiftOfSteppedCharts) {
    // Box 80, margin 50, zoom 12: a cell is 1560 twips; the half cell 780.
    struct Case { bool horiz, stepped; int col, row; qint64 x, y; } cases[] = {
        {true, false, 1, 1, 600, 600},   {true, false, 1, 2, 600, 2160},
        {true, true, 1, 1, 600, 600},    {true, true, 1, 2, 1380, 2160},  // even row steps right
        {true, true, 2, 3, 2160, 3720},  {false, true, 2, 1, 2160, 1380},  // even column steps down
        {false, true, 1, 2, 600, 2160},  {false, false, 2, 1, 2160, 600},
    };
    for (const Case& c : cases) {
        const GridGeometry g = grid(c.horiz, c.stepped);
        EXPECT_EQ(g.GetCellX(c.col, c.row), c.x) << c.horiz << c.stepped << " " << c.col << "," << c.row;
        EXPECT_EQ(g.GetCellY(c.col, c.row), c.y) << c.horiz << c.stepped << " " << c.col << "," << c.row;
    }
}

TEST(GridGeometry, EdgesAndSizesSnapDownToWholePixels) {
    // Zoom 13: the stepped edge is (50 + 65) x 13 = 1495 twips, 99.67 pixels.
    const GridGeometry g = grid(true, true, 13);
    EXPECT_EQ(g.GetCellX(1, 2), 1485);
    EXPECT_EQ(g.boxWidth(), 1035);  // 80 x 13 = 1040 twips, 69.3 pixels
    struct Case { double in; qint64 out; } cases[] = {{0, 0}, {14, 0}, {15, 15}, {29.9, 15}, {30, 30}, {-1, -15}};
    for (const Case& c : cases) EXPECT_EQ(GridGeometry::lSnapToPixelX(c.in), c.out) << c.in;
}

TEST(GridGeometry, PointsHitTheBoxThatHoldsThemOnly) {
    const GridGeometry flat = grid(true, false);
    const GridGeometry stepped = grid(true, true);
    const GridGeometry vertical = grid(false, true);
    struct Case { const GridGeometry* g; double x, y; int cell; const char* what; } cases[] = {
        {&flat, 600, 600, 1, "left and top edge are inside"},
        {&flat, 1559, 1559, 1, "last twip inside"},
        {&flat, 1560, 700, 0, "right edge is outside"},
        {&flat, 700, 1560, 0, "bottom edge is outside"},
        {&flat, 1600, 700, 0, "margin between two boxes"},
        {&flat, 2200, 700, 2, "second column"},
        {&flat, 15700, 700, 0, "right of the last column"},
        {&flat, 700, 9400, 0, "below the last row"},
        {&flat, -10, 700, 0, "left of the grid"},
        {&flat, 700, -5, 0, "above the grid"},
        {&stepped, 700, 2200, 0, "even row starts half a cell right"},
        {&stepped, 1400, 2200, 11, "box of row 2, column 1"},
        {&vertical, 2200, 700, 0, "even column starts half a cell lower"},
        {&vertical, 2200, 1400, 2, "box of column 2, row 1"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.g->iCellAtPoint(c.x, c.y), c.cell) << c.what;
}

TEST(GridGeometry, CircleSizeFollowsTheZoom) {
    struct Case { int zoom; double size; } cases[] = {{8, 250}, {12, 300}, {20, 400}, {1, 162.5}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(grid(true, true, c.zoom).circleSize(), c.size) << c.zoom;
}
