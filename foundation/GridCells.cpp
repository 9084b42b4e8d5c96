#include "GridCells.h"

#include <algorithm>
#include <cmath>

GridCell nextCell(GridCell from, GridMove move, int rows, int columns) {
    if (rows <= 0 || columns <= 0) return from;
    GridCell to = from;
    switch (move) {
    case GridMove::Next:
        if (++to.column >= columns) {
            to.column = 0;
            to.row = to.row + 1 >= rows ? 0 : to.row + 1;
        }
        break;
    case GridMove::Previous:
        if (--to.column < 0) {
            to.column = columns - 1;
            to.row = to.row - 1 < 0 ? rows - 1 : to.row - 1;
        }
        break;
    case GridMove::Down:
        to.row = to.row + 1 >= rows ? 0 : to.row + 1;
        break;
    case GridMove::Up:
        to.row = to.row - 1 < 0 ? rows - 1 : to.row - 1;
        break;
    case GridMove::Last:
        to.row = rows - 1;
        break;
    case GridMove::First:
        to.row = 0;
        break;
    }
    return to;
}

QList<int> columnChars(const QList<QStringList>& rows, int columns, int minChars) {
    QList<int> chars(columns, minChars);
    for (const QStringList& row : rows)
        for (int c = 0; c < columns && c < row.size(); ++c) chars[c] = std::max(chars[c], static_cast<int>(row[c].size()));
    return chars;
}

QList<int> columnWidths(const QList<int>& weights, int usable) {
    QList<int> widths;
    if (weights.isEmpty()) return widths;
    double total = 0;
    for (int w : weights) total += w;
    int used = 0;
    for (int c = 0; c + 1 < weights.size(); ++c) {
        const int width = total > 0 ? static_cast<int>(std::lround(usable * double(weights[c]) / total)) : 0;
        widths.append(width);
        used += width;
    }
    widths.append(usable - used);
    return widths;
}
