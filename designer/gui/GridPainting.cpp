#include "GridPainting.h"

#include <algorithm>

#include "CellAppearance.h"

QColor GridPainting::colour(quint32 value) const {
    if (value == GridColour::kWindowBackground) return palette.color(QPalette::Base);
    if (value == GridColour::kActiveBorder) return palette.color(QPalette::Mid);
    if (GridColour::isSystem(value)) return palette.color(QPalette::WindowText);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QFont GridPainting::fontForZoom(int zoom) {
    QFont font;
    // 9 pixels at the normal zoom of 12.
    font.setPixelSize(std::max(4, (zoom * 3 + 2) / 4));
    return font;
}
