#pragma once

#include <QRectF>

// Where the parts of a grid box go: the border ring, the inner rectangle,
// the picture over the caption, sized by the share of the inner height
// given to the picture (`ImagePart`) and fitted to the picture's aspect.
// Lengths are in pixels of the box's own surface.
struct GridBoxParts {
    QRectF inner;             // inside the border; the background fills it
    QRectF borderOutline;     // the rectangle the border pen strokes
    bool captionShown = false;
    QRectF caption;
    bool pictureShown = false;
    QRectF picture;
};

// Border width in pixels; the outline runs from (H1, H1) to (w - H2, h - H2)
// with H1 = BW / 2 and H2 = (BW + 1) / 2, rounded down, so the pen covers the
// outer BW pixels.
GridBoxParts ArrangeBoxParts(double width, double height, int borderWidth, bool hasCaption, bool hasImage,
                             double imagePart, double aspect);
