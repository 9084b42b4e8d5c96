#include "IconFile.h"

#include "DibCodec.h"

namespace {

constexpr quint32 kPngSignature = 0x474E5089u;

quint32 readBe32(const QByteArray& data, qint64 offset) {
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<quint8>(data[offset + i]);
    return v;
}

}  // namespace

bool IconFile::parse(const QByteArray& data) {
    bytes = data;
    ordered.clear();
    type = 0;
    quint16 reserved = 0, fileType = 0, rawCount = 0;
    if (data.size() < 62) return false;
    readLe16(data, 0, reserved);
    readLe16(data, 2, fileType);
    readLe16(data, 4, rawCount);
    const int count = rawCount & 0x7FF;
    if (reserved != 0 || (fileType != 1 && fileType != 2) || count < 1) return false;
    qint64 used = 6 + 16 * static_cast<qint64>(count);
    if (used > data.size()) return false;

    QList<Entry> found;
    for (int i = 0; i < count; ++i) {
        const qint64 at = 6 + 16 * static_cast<qint64>(i);
        quint16 fieldA = 0, fieldB = 0;
        quint32 length = 0, offset = 0;
        readLe16(data, at + 4, fieldA);
        readLe16(data, at + 6, fieldB);
        readLe32(data, at + 8, length);
        readLe32(data, at + 12, offset);
        used += length;
        if (length < 1 || qint64(offset) + qint64(length) > data.size() || used > data.size()) return false;

        Entry e;
        e.index = i;
        e.offset = offset;
        e.length = length;
        if (fileType == 2) e.hotSpot = QPoint(fieldA, fieldB);
        quint32 signature = 0;
        e.png = length >= 4 && readLe32(data, offset, signature) && signature == kPngSignature;
        if (e.png) {
            if (length < 26) return false;  // no room for the image header
            e.width = static_cast<int>(readBe32(data, offset + 16) & 0x7FF);
            e.height = static_cast<int>(readBe32(data, offset + 20) & 0x7FF);
            const int bitDepth = static_cast<quint8>(data[offset + 24]);
            const int colourType = static_cast<quint8>(data[offset + 25]);
            if (colourType == 2) e.depth = 24;
            else if (colourType == 4) e.depth = 9;
            else if (colourType == 6) e.depth = 32;
            else if (colourType == 0 && bitDepth == 16) e.depth = 8;
            else e.depth = bitDepth;
        } else {
            if (length < 16) return false;
            quint32 w = 0, h = 0;
            quint16 bitCount = 0;
            readLe32(data, offset + 4, w);
            readLe32(data, offset + 8, h);
            readLe16(data, offset + 14, bitCount);
            const qint64 height = static_cast<qint32>(h);
            e.width = static_cast<int>(w & 0x7FF);
            e.height = static_cast<int>(((height < 0 ? -height : height) / 2) & 0x7FF);
            e.depth = bitCount & 0xFF;
        }
        e.size = (e.width + e.height) / 2;
        qsizetype place = 0;
        while (place < found.size() && found[place].size <= e.size) ++place;
        found.insert(place, e);
    }
    type = fileType;
    ordered = found;
    return true;
}

const IconFile::Entry& IconFile::choose(int wantedWidth, int wantedHeight, int wantedDepth) const {
    const int wanted = ((wantedWidth & 0x7FF) + (wantedHeight & 0x7FF)) / 2;
    qsizetype i = 0;
    while (i < ordered.size() && ordered[i].size < wanted) ++i;
    if (i == ordered.size()) return ordered.last();
    // Among the images of that size, go on while the next one is still
    // within the wanted depth.
    qsizetype chosen = i;
    while (chosen + 1 < ordered.size() && ordered[chosen + 1].size == ordered[i].size &&
           ordered[chosen + 1].depth <= wantedDepth)
        ++chosen;
    return ordered[chosen];
}

QImage IconFile::decode(const Entry& entry) const {
    const QByteArray image = bytes.mid(entry.offset, entry.length);
    if (entry.png) {
        QImage decoded;
        if (!decoded.loadFromData(image, "PNG")) return {};
        return decoded.convertToFormat(QImage::Format_ARGB32);
    }
    return decodeIconBitmap(image);
}

QByteArray IconFile::singleEntryFile(const Entry& entry) const {
    QByteArray out;
    out.append(bytes.mid(0, 4));
    out.append(char(1));
    out.append(char(0));
    out.append(bytes.mid(6 + 16 * entry.index, 12));
    const quint32 offset = 22;
    for (int i = 0; i < 4; ++i) out.append(char((offset >> (8 * i)) & 0xFF));
    out.append(bytes.mid(entry.offset, entry.length));
    return out;
}

QByteArray IconFile::buildIconFile(const QImage& pixels, int bitCount, const QImage& transparentMask) {
    const int width = pixels.width();
    const int height = pixels.height();
    const qint64 colourStride = dibByteSize(bitCount, width);
    const qint64 maskStride = dibByteSize(1, width);
    const qint64 imageSize = 40 + (colourStride + maskStride) * height;
    QByteArray out(static_cast<qsizetype>(22 + imageSize), '\0');
    auto put16 = [&](qint64 at, quint32 v) { writeLe16(out, at, v); };
    auto put32 = [&](qint64 at, quint32 v) { writeLe32(out, at, v); };
    put16(2, 1);
    put16(4, 1);
    out[6] = char(width < 256 ? width : 0);
    out[7] = char(height < 256 ? height : 0);
    put16(10, 1);
    put16(12, static_cast<quint32>(bitCount));
    put32(14, static_cast<quint32>(imageSize));
    put32(18, 22);
    put32(22, 40);
    put32(26, static_cast<quint32>(width));
    put32(30, static_cast<quint32>(2 * height));
    put16(34, 1);
    put16(36, static_cast<quint32>(bitCount));
    auto* dst = reinterpret_cast<quint8*>(out.data()) + 62;
    for (int row = 0; row < height; ++row) {
        const auto* line = reinterpret_cast<const quint32*>(pixels.constScanLine(height - 1 - row));
        quint8* d = dst + row * colourStride;
        for (int x = 0; x < width; ++x) {
            const quint32 p = line[x];
            d[(bitCount / 8) * x] = p & 0xFF;
            d[(bitCount / 8) * x + 1] = (p >> 8) & 0xFF;
            d[(bitCount / 8) * x + 2] = (p >> 16) & 0xFF;
            if (bitCount == 32) d[4 * x + 3] = (p >> 24) & 0xFF;
        }
        if (transparentMask.isNull()) continue;
        quint8* m = dst + colourStride * height + row * maskStride;
        const uchar* maskLine = transparentMask.constScanLine(height - 1 - row);
        for (int x = 0; x < width; ++x)
            if (maskLine[x]) m[x / 8] |= quint8(0x80 >> (x % 8));
    }
    return out;
}

void ResolveIconSize(int& IconSize, int& DesiredIconCx, int& DesiredIconCy, int imageCount) {
    if (IconSize == 4) {
        if (DesiredIconCx < 1 && DesiredIconCy < 1) {
            IconSize = -1;
        } else {
            if (DesiredIconCx < 1) DesiredIconCx = DesiredIconCy;
            if (DesiredIconCy < 1) DesiredIconCy = DesiredIconCx;
            return;
        }
    }
    if (IconSize == -1) {
        if (imageCount > 1) {
            IconSize = 1;
        } else {
            DesiredIconCx = 0;
            DesiredIconCy = 0;
            return;
        }
    }
    // The system's icon sizes at the standard pixel density.
    int side = -1;
    switch (IconSize) {
    case -3: side = 256; break;
    case -2: side = 48; break;
    case 0: case 2: side = 16; break;
    case 1: case 3: side = 32; break;
    default: break;
    }
    if (side > 0) {
        DesiredIconCx = side;
        DesiredIconCy = side;
    }
}
