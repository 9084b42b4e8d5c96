#pragma once

#include <QtGlobal>

// Metafiles are drawn at the screen's nominal resolution; a picture larger
// than this on either side is taken for damaged data rather than drawn.
constexpr int kScreenDpi = 96;
constexpr int kMaxMetafileSide = 10000;
constexpr qint64 kMaxMetafilePixels = 32 * 1024 * 1024;

inline bool metafileSizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxMetafileSide && height <= kMaxMetafileSide &&
           qint64(width) * height <= kMaxMetafilePixels;
}
