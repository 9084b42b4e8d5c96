#pragma once

#include <QByteArray>

// Small metafiles made with libuemf's writer for the picture tests.
namespace fixtures {

// An enhanced metafile whose frame is 96 x 48 pixels at 96 pixels per inch,
// drawn in anisotropic mapping at 10 logical units per pixel:
// - a red rectangle over pixels (0, 0)-(48, 24), with white text "Kv" at (2, 2);
// - a green triangle with its apex at (24, 24) and its base along y = 48;
// - a black line 4 pixels wide along y = 46 from x 0 to 48;
// - a blue circle filling (48, 0)-(96, 48), the corners outside it left clear;
// - a 2 x 2 bitmap stretched over (56, 32)-(72, 48): yellow, cyan above,
//   magenta, white below.
QByteArray emfPicture();

// An enhanced metafile without a frame, 40 x 20 pixels by its bounds, drawn
// in device pixels: a 1 x 1 red bitmap stretched over (0, 0)-(20, 20); a green
// pattern fill over (0, 0)-(20, 20) moved right by 20 through a world
// transform that a restored saved state then drops; a blue path rectangle
// over (0, 0)-(10, 5).
QByteArray emfBlocks();

// A placeable metafile of 40 x 20 pixels (96 units per inch): the left half
// red, the right half blue.
QByteArray wmfPicture();

}  // namespace fixtures
