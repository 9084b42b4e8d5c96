#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

// Small picture files made in memory for the picture tests, each written
// byte by byte so that the tests do not depend on the decoders they test.
namespace fixtures {

// A BMP file: 24 bits from colours (alpha ignored), or 32 bits with the given
// 0xAARRGGBB values as stored; rows bottom-up unless topDown.
QByteArray bmp(int width, int height, const QList<quint32>& pixels, int bitCount, bool topDown = false);
// An 8-bit BMP with a palette, compressed with RLE8 when rle is set.
QByteArray bmp8(int width, int height, const QList<QRgb>& palette, const QList<quint8>& indexes, bool rle);

QByteArray png(const QImage& image);
QByteArray jpeg(const QImage& image);

// A GIF of equally sized frames, each filled with one colour, with frame
// delays in hundredths of a second and a loop count.
QByteArray gif(int width, int height, const QList<QRgb>& frameColours, const QList<int>& delays, int loops);

// An uncompressed RGB TIFF with one page per colour; page i is
// (width + i) x height.
QByteArray tiff(int width, int height, const QList<QRgb>& pageColours);

// One image of an icon or cursor file.
struct IconImage {
    int size = 16;           // width and height
    int bitCount = 32;       // 4, 8, 24 or 32 (ignored for PNG)
    quint32 colour = 0;      // 0xAARRGGBB, straight
    bool png = false;
    QPoint hotSpot;          // cursors
    bool transparentCorner = false;  // top-left pixel masked out
};
// An icon (type 1) or cursor (type 2) file of the images, in the given order.
QByteArray iconFile(const QList<IconImage>& images, int type = 1);

}  // namespace fixtures
