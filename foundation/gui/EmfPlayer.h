#pragma once

#include <QByteArray>
#include <QImage>

// Enhanced metafiles (EMF, and EMF+ files that carry EMF records as well):
// the records are read with libuemf, each checked to lie inside the data,
// and the common ones are drawn with QPainter: the header's frame gives the
// picture's size; bitmaps (StretchDIBits, BitBlt, StretchBlt,
// SetDIBitsToDevice) go through the program's DIB decoder; polygons,
// polylines, Bezier curves, rectangles, ellipses, paths, pens, brushes, fonts
// and text are drawn; mapping modes, window and viewport, world transforms
// and saved states are followed. Other records are skipped.
class EmfPlayer {
public:
    // True when the bytes begin with an enhanced-metafile header record.
    static bool looksLikeEmf(const QByteArray& bytes);

    // The picture at its own size (the header's frame at 96 pixels per inch;
    // its bounds when the frame is empty), undrawn parts transparent. A null
    // image when a record cannot be read, the records run past the data, or
    // the end-of-file record is missing.
    static QImage render(const QByteArray& bytes);
};
