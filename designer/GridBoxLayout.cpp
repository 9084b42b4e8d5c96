#include "GridBoxLayout.h"

#include <algorithm>

GridBoxParts ArrangeBoxParts(double width, double height, int borderWidth, bool hasCaption, bool hasImage,
                             double imagePart, double aspect) {
    GridBoxParts parts;
    const int bw = std::max(borderWidth, 0);
    const int h1 = bw / 2, h2 = (bw + 1) / 2;
    parts.borderOutline = QRectF(h1, h1, width - h2 - h1, height - h2 - h1);
    parts.inner = QRectF(bw, bw, std::max(0.0, width - 2.0 * bw), std::max(0.0, height - 2.0 * bw));
    const QRectF& in = parts.inner;

    double imageArea = 0, captionArea = 0;
    parts.captionShown = hasCaption;
    parts.pictureShown = hasImage;
    if (hasCaption && hasImage) {
        imageArea = float(imagePart) * in.height();
        captionArea = in.height() - imageArea;
        if (captionArea == 0)
            parts.captionShown = false;
        else if (imageArea == 0)
            parts.pictureShown = false;
    } else if (hasImage) {
        imageArea = in.height();
    } else if (hasCaption) {
        captionArea = in.height();
    }

    if (parts.captionShown)
        parts.caption = QRectF(in.left(), hasImage ? in.top() + imageArea : in.top(), in.width(), captionArea);
    if (parts.pictureShown) {
        // A picture without an area to fit into is not shown.
        if (in.width() <= 0 || imageArea <= 0) {
            parts.pictureShown = false;
        } else {
            const float r = float(imageArea / in.width());
            if (r >= float(aspect)) {
                parts.picture = QRectF(in.left(), in.top(), in.width(), in.width() * aspect);
            } else {
                const double w = imageArea / aspect;
                parts.picture = QRectF(in.left() + in.width() / 2 - w / 2, in.top(), w, imageArea);
            }
        }
    }
    return parts;
}
