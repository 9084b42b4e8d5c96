#include "DibCodec.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiRle8 = 1;
constexpr quint32 kBiRle4 = 2;
constexpr quint32 kBiBitfields = 3;

// Largest side and pixel count accepted; larger images are refused before
// anything is allocated.
constexpr qint64 kMaxSide = 32768;
constexpr qint64 kMaxPixels = qint64(1) << 26;

quint8 byteAt(const QByteArray& data, qint64 offset) { return static_cast<quint8>(data[offset]); }

bool inside(const QByteArray& data, qint64 offset, qint64 length) {
    return offset >= 0 && length >= 0 && offset <= data.size() && length <= data.size() - offset;
}

// Scales a value masked out of a pixel to 8 bits.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(quint32 m = 0) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1u)) ++shift;
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u)) ++bits;
    }
    quint32 value(quint32 pixel) const {
        if (!mask || bits == 0) return 0;
        const quint32 v = (pixel & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        const quint32 max = (1u << bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

struct BmpHeader {
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;  // signed: negative rows run top-down
    int bitCount = 0;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
};

// The colour table at offset (count entries of 4 bytes, blue-green-red).
std::optional<QList<QRgb>> readPalette(const QByteArray& data, qint64 offset, qint64 count) {
    if (count < 0 || count > 65536 || !inside(data, offset, count * 4)) return std::nullopt;
    QList<QRgb> palette;
    palette.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = offset + i * 4;
        palette.append(qRgb(byteAt(data, at + 2), byteAt(data, at + 1), byteAt(data, at)));
    }
    return palette;
}

QRgb paletteColour(const QList<QRgb>& palette, quint32 index) {
    return index < static_cast<quint32>(palette.size()) ? palette[index] : qRgb(0, 0, 0);
}

// Pixel x of a row of 1-, 4-, 8- or 24-bit pixels.
QRgb indexedOrRgbPixel(const quint8* row, qint64 x, int bpp, const QList<QRgb>& palette) {
    switch (bpp) {
    case 1: return paletteColour(palette, (row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return paletteColour(palette, (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4));
    case 8: return paletteColour(palette, row[x]);
    default: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
}

// Decodes RLE8 or RLE4 data into palette indexes (bottom-up rows turned
// top-down); false on any code that leaves the image or the data.
bool decodeRle(const QByteArray& data, qint64 offset, bool fourBit, qint64 width, qint64 height,
               std::vector<quint8>& indexes) {
    indexes.assign(static_cast<size_t>(width * height), 0);
    qint64 x = 0;
    qint64 y = 0;  // counted from the bottom row
    qint64 at = offset;
    auto put = [&](quint8 index) {
        if (x < width && y < height) indexes[static_cast<size_t>((height - 1 - y) * width + x)] = index;
        ++x;
    };
    while (true) {
        if (!inside(data, at, 2)) return false;
        const quint8 count = byteAt(data, at);
        const quint8 value = byteAt(data, at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(fourBit ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // delta
            if (!inside(data, at, 2)) return false;
            x += byteAt(data, at);
            y += byteAt(data, at + 1);
            at += 2;
        } else {  // absolute run of `value` pixels, padded to 16 bits
            const qint64 bytes = fourBit ? (value + 1) / 2 : value;
            if (!inside(data, at, bytes)) return false;
            for (int i = 0; i < value; ++i) {
                const quint8 b = byteAt(data, at + (fourBit ? i / 2 : i));
                put(fourBit ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            at += (bytes + 1) & ~qint64(1);
        }
        if (y > height) return true;  // past the top: nothing more can be drawn
    }
}

std::optional<DibImage> damagedResult(bool& broken) {
    broken = true;
    return std::nullopt;
}

}  // namespace

bool readLe16(const QByteArray& data, qint64 offset, quint16& value) {
    if (!inside(data, offset, 2)) return false;
    value = static_cast<quint16>(byteAt(data, offset) | (byteAt(data, offset + 1) << 8));
    return true;
}

bool readLe32(const QByteArray& data, qint64 offset, quint32& value) {
    if (!inside(data, offset, 4)) return false;
    value = static_cast<quint32>(byteAt(data, offset)) | (static_cast<quint32>(byteAt(data, offset + 1)) << 8) |
            (static_cast<quint32>(byteAt(data, offset + 2)) << 16) |
            (static_cast<quint32>(byteAt(data, offset + 3)) << 24);
    return true;
}

void writeLe16(QByteArray& data, qint64 offset, quint32 value) {
    data[offset] = char(value & 0xFF);
    data[offset + 1] = char((value >> 8) & 0xFF);
}

void writeLe32(QByteArray& data, qint64 offset, quint32 value) {
    writeLe16(data, offset, value & 0xFFFF);
    writeLe16(data, offset + 2, value >> 16);
}

qint64 dibByteSize(int bitsPerPixel, qint64 width, qint64 height) {
    const qint64 row = ((static_cast<qint64>(bitsPerPixel) * width + 31) & ~qint64(31)) / 8;
    return height != 0 ? row * (height < 0 ? -height : height) : row;
}

AlphaClass classifyAlpha(const QImage& pixels32) {
    bool zero = false, colourClear = false, opaque = false, partial = false;
    bool first = true;
    quint32 previous = 0;
    for (int y = 0; y < pixels32.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(pixels32.constScanLine(y));
        for (int x = 0; x < pixels32.width(); ++x) {
            const quint32 p = line[x];
            if (!first && p == previous) continue;
            first = false;
            previous = p;
            const quint32 alpha = p >> 24;
            if (p == 0) {
                zero = true;
            } else if (alpha == 0) {
                if (partial || (colourClear && opaque)) return AlphaClass::Straight;
                colourClear = true;
            } else if (alpha == 255) {
                if (colourClear) return AlphaClass::Straight;
                opaque = true;
            } else {
                if (((p >> 16) & 0xFF) > alpha || ((p >> 8) & 0xFF) > alpha || (p & 0xFF) > alpha)
                    return AlphaClass::Straight;
                partial = true;
            }
        }
    }
    if (zero && opaque && !colourClear && !partial) return AlphaClass::TwoLevel;
    if (partial) return AlphaClass::Premultiplied;
    return AlphaClass::None;
}

std::optional<DibImage> decodeBmpFile(const QByteArray& data, bool* damaged) {
    bool ignored = false;
    bool& broken = damaged ? *damaged : ignored;
    broken = false;
    BmpHeader h;
    quint32 value = 0;
    quint16 word = 0;
    if (!readLe16(data, 0, word) || word != 0x4D42) return std::nullopt;
    if (!readLe32(data, 14, h.headerSize) || h.headerSize < 40 || h.headerSize >= 125) return std::nullopt;
    if (!inside(data, 14, h.headerSize)) {
        broken = true;
        return std::nullopt;
    }
    readLe32(data, 18, value);
    h.width = static_cast<qint32>(value);
    readLe32(data, 22, value);
    h.height = static_cast<qint32>(value);
    readLe16(data, 28, word);
    h.bitCount = word;
    readLe32(data, 30, h.compression);
    readLe32(data, 46, h.coloursUsed);
    if (h.bitCount < 1 || h.compression >= 4) return std::nullopt;

    // What a bitmap section accepts.
    const int bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return damagedResult(broken);
    if (h.compression == kBiRle8 && bpp != 8) return damagedResult(broken);
    if (h.compression == kBiRle4 && bpp != 4) return damagedResult(broken);
    if (h.compression == kBiBitfields && bpp != 16 && bpp != 32) return damagedResult(broken);
    const bool topDown = h.height < 0;
    const qint64 width = h.width;
    const qint64 height = topDown ? -h.height : h.height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return damagedResult(broken);
    if (topDown && (h.compression == kBiRle8 || h.compression == kBiRle4)) return damagedResult(broken);

    qint64 offset = 14 + h.headerSize;
    if (h.compression == kBiBitfields && h.headerSize == 40) offset += 12;
    qint64 paletteCount = 0;
    if (h.coloursUsed != 0) {
        paletteCount = h.coloursUsed;
    } else if (bpp <= 8) {
        paletteCount = qint64(1) << bpp;
    }
    if (paletteCount > 65536) return damagedResult(broken);
    QList<QRgb> palette;
    if (bpp <= 8) {
        auto read = readPalette(data, offset, paletteCount);
        if (!read) return damagedResult(broken);
        palette = *read;
    }
    offset += 4 * paletteCount;
    if (!inside(data, offset, 0)) return damagedResult(broken);

    DibImage result;
    result.bitCount = bpp;
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 bpp == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return damagedResult(broken);

    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        // Compressed data cannot grow an image more than this many times.
        if (width * height > (data.size() - offset + 1) * 512) return damagedResult(broken);
        std::vector<quint8> indexes;
        if (!decodeRle(data, offset, h.compression == kBiRle4, width, height, indexes)) return damagedResult(broken);
        for (qint64 y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<quint32*>(image.scanLine(static_cast<int>(y)));
            for (qint64 x = 0; x < width; ++x)
                line[x] = paletteColour(palette, indexes[static_cast<size_t>(y * width + x)]);
        }
        result.pixels = image;
        return result;
    }

    const qint64 stride = dibByteSize(bpp, width);
    if (!inside(data, offset, stride * height)) return damagedResult(broken);

    quint32 masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bpp == 16) {
        masks[0] = 0x7C00u;
        masks[1] = 0x03E0u;
        masks[2] = 0x001Fu;
    }
    if (h.compression == kBiBitfields) {
        for (int i = 0; i < 3; ++i)
            if (!readLe32(data, 54 + 4 * i, masks[i])) return damagedResult(broken);
    }
    const bool rawPixels =
        bpp == 32 && masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u && masks[2] == 0x000000FFu;
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    const auto* bytes = reinterpret_cast<const quint8*>(data.constData());
    for (qint64 row = 0; row < height; ++row) {
        const quint8* src = bytes + offset + row * stride;
        const qint64 y = topDown ? row : height - 1 - row;
        auto* line = reinterpret_cast<quint32*>(image.scanLine(static_cast<int>(y)));
        for (qint64 x = 0; x < width; ++x) {
            switch (bpp) {
            case 1: case 4: case 8: case 24: line[x] = indexedOrRgbPixel(src, x, bpp, palette); break;
            case 16: {
                const quint32 p = src[2 * x] | (src[2 * x + 1] << 8);
                line[x] = qRgb(red.value(p), green.value(p), blue.value(p));
                break;
            }
            default: {
                quint32 p;
                std::memcpy(&p, src + 4 * x, 4);
                line[x] = rawPixels ? p : (red.value(p) << 16) | (green.value(p) << 8) | blue.value(p);
                break;
            }
            }
        }
    }
    result.pixels = image;
    return result;
}

QImage decodeIconBitmap(const QByteArray& data) {
    quint32 headerSize = 0, value = 0, compression = 0, coloursUsed = 0;
    quint16 bitCount = 0;
    if (!readLe32(data, 0, headerSize) || headerSize < 40 || !inside(data, 0, headerSize)) return {};
    readLe32(data, 4, value);
    const qint64 width = static_cast<qint32>(value);
    readLe32(data, 8, value);
    const qint64 doubleHeight = static_cast<qint32>(value);
    readLe16(data, 14, bitCount);
    readLe32(data, 16, compression);
    readLe32(data, 32, coloursUsed);
    const qint64 height = (doubleHeight < 0 ? -doubleHeight : doubleHeight) / 2;
    const int bpp = bitCount;
    if (compression != kBiRgb) return {};
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) return {};

    qint64 offset = headerSize;
    QList<QRgb> palette;
    if (bpp <= 8) {
        const qint64 count = coloursUsed ? coloursUsed : (qint64(1) << bpp);
        auto read = readPalette(data, offset, count);
        if (!read) return {};
        palette = *read;
        offset += 4 * count;
    }
    const qint64 stride = dibByteSize(bpp, width);
    const qint64 maskStride = dibByteSize(1, width);
    if (!inside(data, offset, stride * height)) return {};
    const bool hasMask = inside(data, offset + stride * height, maskStride * height);

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
    if (image.isNull()) return {};
    const auto* bytes = reinterpret_cast<const quint8*>(data.constData());
    bool anyAlpha = false;
    for (qint64 row = 0; row < height; ++row) {
        const quint8* src = bytes + offset + row * stride;
        auto* line = reinterpret_cast<quint32*>(image.scanLine(static_cast<int>(height - 1 - row)));
        for (qint64 x = 0; x < width; ++x) {
            if (bpp != 32) {
                line[x] = indexedOrRgbPixel(src, x, bpp, palette);
                continue;
            }
            quint32 p;
            std::memcpy(&p, src + 4 * x, 4);
            line[x] = p;
            if (p >> 24) anyAlpha = true;
        }
    }
    if (bpp == 32 && anyAlpha) return image;  // the alpha channel rules; the mask is not needed
    if (!hasMask) return {};
    const quint8* mask = bytes + offset + stride * height;
    for (qint64 row = 0; row < height; ++row) {
        const quint8* src = mask + row * maskStride;
        auto* line = reinterpret_cast<quint32*>(image.scanLine(static_cast<int>(height - 1 - row)));
        for (qint64 x = 0; x < width; ++x) {
            const bool clear = (src[x / 8] >> (7 - x % 8)) & 1;
            line[x] = clear ? 0u : (line[x] | 0xFF000000u);
        }
    }
    return image;
}

QByteArray encodeBmpFile(const QImage& pixels, int bitCount) {
    const qint64 width = pixels.width();
    const qint64 height = pixels.height();
    const qint64 stride = dibByteSize(bitCount, width);
    const qint64 dataSize = stride * height;
    QByteArray out(static_cast<qsizetype>(54 + dataSize), '\0');
    auto put16 = [&](qint64 at, quint32 v) { writeLe16(out, at, v); };
    auto put32 = [&](qint64 at, quint32 v) { writeLe32(out, at, v); };
    put16(0, 0x4D42);
    put32(2, static_cast<quint32>(54 + dataSize));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<quint32>(width));
    put32(22, static_cast<quint32>(height));
    put16(26, 1);
    put16(28, static_cast<quint32>(bitCount));
    put32(34, static_cast<quint32>(dataSize));
    const QImage source = bitCount == 32 ? pixels : pixels.convertToFormat(QImage::Format_RGB32);
    auto* dst = reinterpret_cast<quint8*>(out.data()) + 54;
    for (qint64 row = 0; row < height; ++row) {
        const auto* line = reinterpret_cast<const quint32*>(source.constScanLine(static_cast<int>(height - 1 - row)));
        quint8* d = dst + row * stride;
        for (qint64 x = 0; x < width; ++x) {
            const quint32 p = line[x];
            if (bitCount == 32) {
                std::memcpy(d + 4 * x, &p, 4);
            } else {
                d[3 * x] = p & 0xFF;
                d[3 * x + 1] = (p >> 8) & 0xFF;
                d[3 * x + 2] = (p >> 16) & 0xFF;
            }
        }
    }
    return out;
}
