#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Moving the current cell of an editable table by key, and sharing the
// table's width out among its columns. Rows and columns are 0-based data
// positions (the header is not a row).

// Where a key sends the current cell.
enum class GridMove {
    Next,      // Tab, Enter: next column, wrapping to the next row and to the top
    Previous,  // Shift+Tab, Ctrl+Enter: previous column, wrapping back
    Down,      // next row, wrapping to the first
    Up,        // previous row, wrapping to the last
    Last,      // Page Down: the last row
    First,     // Page Up: the first row
};

struct GridCell {
    int row = 0;
    int column = 0;
    bool operator==(const GridCell&) const = default;
};

// The cell a move leads to in a table of rows by columns; the cell itself
// when the table is empty.
GridCell nextCell(GridCell from, GridMove move, int rows, int columns);

// For each of the first `columns` columns, the length of its longest text in
// rows, at least minChars.
QList<int> columnChars(const QList<QStringList>& rows, int columns, int minChars);

// The widths of columns weighted by weights over usable: every column but the
// last gets usable * weight / sum of the weights, rounded; the last takes what
// is left.
QList<int> columnWidths(const QList<int>& weights, int usable);
