#pragma once

#include <QByteArray>
#include <QImage>

// Windows metafiles (WMF), with or without the placeable header in front.
// The records are checked to lie inside the data and to end with the
// end-of-file record before libwmf draws them.

// True when the bytes begin like a metafile (placeable key, or a memory or
// disk metafile header).
bool looksLikeWmf(const QByteArray& bytes);

// The picture drawn at its own size: the placeable header's bounds at its
// units per inch, else the extent of what the records draw, at 96 pixels per
// inch. A null image for data that is damaged, cut short or not a metafile.
QImage renderWmf(const QByteArray& bytes);
