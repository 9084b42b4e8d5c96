#pragma once

#include <QtGlobal>

// Window positions and sizes are kept in twips: 15 twips to one logical pixel.
inline constexpr int kTwipsPerPixel = 15;

inline double pixelsToTwips(int pixels) { return double(pixels) * kTwipsPerPixel; }
inline int twipsToPixels(double twips) { return qRound(twips / kTwipsPerPixel); }
