#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// What the designer's items paint with: the colours of the grid's colour
// values (the two system colours come from the palette: the window
// background is the palette's base, the active border its mid colour) and
// the caption font of the current zoom.
struct GridPainting {
    QPalette palette;
    QFont captionFont;

    QColor colour(quint32 value) const;
    // The caption font for a zoom factor: its size follows the boxes'.
    static QFont fontForZoom(int zoom);
};
