#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QImage>

// Reading and writing device-independent bitmaps (BMP files and the bitmap
// images inside icon files). Every size, offset and count is checked against
// the bytes at hand: damaged or hostile data gives no image, never a read
// outside the data.

// What the alpha bytes of a block of 32-bit pixels (0xAARRGGBB) carry.
enum class AlphaClass {
    None,           // nothing: all zero, or all opaque
    Straight,       // colours not multiplied by alpha
    Premultiplied,  // every colour channel at most its alpha
    TwoLevel,       // only fully transparent black and fully opaque pixels
};

AlphaClass classifyAlpha(const QImage& pixels32);

// A decoded BMP file: the pixels top-down, 32-bit images as their raw bytes
// (Format_ARGB32_Premultiplied as storage, whatever the alpha bytes hold),
// others as Format_RGB32.
struct DibImage {
    QImage pixels;
    int bitCount = 0;
};

// Reads a BMP file with a 40-, 108- or 124-byte header, uncompressed, RLE8,
// RLE4 or bit fields. The pixel data is taken to follow the header, the masks
// and the colour table; the file's own offset field is not read. *damaged is
// set when the header is one the reader reads but the file does not hold what
// it describes (sizes, counts or offsets outside the data, impossible values);
// other headers are left to other readers.
std::optional<DibImage> decodeBmpFile(const QByteArray& bytes, bool* damaged = nullptr);

// Decodes the bitmap image of an icon or cursor entry (header, colour pixels
// and the 1-bit mask) into straight ARGB (Format_ARGB32).
QImage decodeIconBitmap(const QByteArray& image);

// Bytes per row of a bitmap, rounded up to whole 32-bit words, times the
// absolute height when it is not 0.
qint64 dibByteSize(int bitsPerPixel, qint64 width, qint64 height = 0);

// A BMP file of the pixels: 24 bits (blended result, alpha dropped) or 32 bits
// (the 32-bit pixels as stored), bottom-up rows.
QByteArray encodeBmpFile(const QImage& pixels, int bitCount);

// Reads little-endian values; false when they do not lie inside the data.
bool readLe16(const QByteArray& data, qint64 offset, quint16& value);
bool readLe32(const QByteArray& data, qint64 offset, quint32& value);
// Writes little-endian values into data, which must hold them.
void writeLe16(QByteArray& data, qint64 offset, quint32 value);
void writeLe32(QByteArray& data, qint64 offset, quint32 value);
