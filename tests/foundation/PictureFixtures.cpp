#include "PictureFixtures.h"

#include <QBuffer>

namespace fixtures {

namespace {

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void set32(QByteArray& out, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) out[at + i] = char((v >> (8 * i)) & 0xFF);
}

int rowBytes(int bits, int width) { return ((bits * width + 31) / 32) * 4; }

QByteArray bmpHeader(int width, int height, int bitCount, quint32 compression, int paletteCount, int dataSize) {
    QByteArray out;
    out.append("BM");
    put32(out, 54 + paletteCount * 4 + dataSize);
    put32(out, 0);
    put32(out, 54 + paletteCount * 4);
    put32(out, 40);
    put32(out, static_cast<quint32>(width));
    put32(out, static_cast<quint32>(height));
    put16(out, 1);
    put16(out, bitCount);
    put32(out, compression);
    put32(out, dataSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, paletteCount);
    put32(out, 0);
    return out;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return out;
}

}  // namespace

QByteArray bmp(int width, int height, const QList<quint32>& pixels, int bitCount, bool topDown) {
    const int stride = rowBytes(bitCount, width);
    QByteArray data(stride * height, '\0');
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const quint32 p = pixels[y * width + x];
            const int at = row * stride + x * (bitCount / 8);
            data[at] = char(p & 0xFF);
            data[at + 1] = char((p >> 8) & 0xFF);
            data[at + 2] = char((p >> 16) & 0xFF);
            if (bitCount == 32) data[at + 3] = char(p >> 24);
        }
    }
    return bmpHeader(width, topDown ? -height : height, bitCount, 0, 0, data.size()) + data;
}

QByteArray bmp8(int width, int height, const QList<QRgb>& palette, const QList<quint8>& indexes, bool rle) {
    QByteArray data;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        if (rle) {
            // One run per pixel keeps the encoder trivial.
            for (int x = 0; x < width; ++x) {
                data.append(char(1));
                data.append(char(indexes[y * width + x]));
            }
            data.append(char(0));
            data.append(char(0));
        } else {
            QByteArray line(rowBytes(8, width), '\0');
            for (int x = 0; x < width; ++x) line[x] = char(indexes[y * width + x]);
            data.append(line);
        }
    }
    if (rle) {
        data.append(char(0));
        data.append(char(1));
    }
    QByteArray out = bmpHeader(width, height, 8, rle ? 1 : 0, static_cast<int>(palette.size()), data.size());
    for (QRgb c : palette) put32(out, c & 0xFFFFFF);
    return out + data;
}

QByteArray png(const QImage& image) { return encoded(image, "PNG"); }

QByteArray jpeg(const QImage& image) { return encoded(image, "JPEG"); }

QByteArray gif(int width, int height, const QList<QRgb>& frameColours, const QList<int>& delays, int loops) {
    QByteArray out("GIF89a");
    put16(out, width);
    put16(out, height);
    out.append(char(0xF1));  // global colour table of 4 entries
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < frameColours.size() ? frameColours[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
    put16(out, loops);
    out.append(char(0));
    for (int frame = 0; frame < frameColours.size(); ++frame) {
        out.append("\x21\xF9\x04\x04", 4);
        put16(out, delays[frame]);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2C));
        put16(out, 0);
        put16(out, 0);
        put16(out, width);
        put16(out, height);
        out.append(char(0));
        // LZW with 3-bit codes: a clear code before every pixel keeps the
        // code width from growing.
        out.append(char(2));
        QByteArray bits;
        quint32 accumulator = 0;
        int filled = 0;
        auto emit = [&](quint32 code) {
            accumulator |= code << filled;
            filled += 3;
            while (filled >= 8) {
                bits.append(char(accumulator & 0xFF));
                accumulator >>= 8;
                filled -= 8;
            }
        };
        for (int i = 0; i < width * height; ++i) {
            emit(4);
            emit(static_cast<quint32>(frame));
        }
        emit(5);
        if (filled > 0) bits.append(char(accumulator & 0xFF));
        for (qsizetype at = 0; at < bits.size(); at += 255) {
            const QByteArray block = bits.mid(at, 255);
            out.append(char(block.size()));
            out.append(block);
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}

QByteArray tiff(int width, int height, const QList<QRgb>& pageColours) {
    QByteArray out("II\x2A\x00", 4);
    put32(out, 8);
    for (int page = 0; page < pageColours.size(); ++page) {
        const int w = width + page;
        const int ifd = static_cast<int>(out.size());
        const int entries = 10;
        const int bpsAt = ifd + 2 + entries * 12 + 4;
        const int pixelsAt = bpsAt + 6;
        const int pixelBytes = w * height * 3;
        put16(out, entries);
        auto entry = [&](quint16 tag, quint16 type, quint32 count, quint32 value) {
            put16(out, tag);
            put16(out, type);
            put32(out, count);
            put32(out, value);
        };
        entry(256, 4, 1, w);
        entry(257, 4, 1, height);
        entry(258, 3, 3, bpsAt);
        entry(259, 3, 1, 1);
        entry(262, 3, 1, 2);
        entry(273, 4, 1, pixelsAt);
        entry(277, 3, 1, 3);
        entry(278, 4, 1, height);
        entry(279, 4, 1, pixelBytes);
        entry(284, 3, 1, 1);
        const int nextAt = static_cast<int>(out.size());
        put32(out, 0);
        put16(out, 8);
        put16(out, 8);
        put16(out, 8);
        for (int i = 0; i < w * height; ++i) {
            out.append(char(qRed(pageColours[page])));
            out.append(char(qGreen(pageColours[page])));
            out.append(char(qBlue(pageColours[page])));
        }
        if (page + 1 < pageColours.size()) set32(out, nextAt, static_cast<quint32>(out.size()));
    }
    return out;
}

QByteArray iconFile(const QList<IconImage>& images, int type) {
    QList<QByteArray> datas;
    for (const IconImage& image : images) {
        const int n = image.size;
        if (image.png) {
            QImage picture(n, n, QImage::Format_ARGB32);
            picture.fill(image.colour);
            if (image.transparentCorner) picture.setPixel(0, 0, 0);
            datas.append(png(picture));
            continue;
        }
        const int bits = image.bitCount;
        QByteArray data;
        put32(data, 40);
        put32(data, n);
        put32(data, 2 * n);
        put16(data, 1);
        put16(data, bits);
        for (int i = 0; i < 6; ++i) put32(data, 0);
        if (bits <= 8) {
            // Index 1 holds the colour; the rest of the table is black.
            for (int i = 0; i < (1 << bits); ++i) put32(data, i == 1 ? (image.colour & 0xFFFFFF) : 0);
        }
        const int stride = rowBytes(bits, n);
        for (int row = 0; row < n; ++row) {
            QByteArray line(stride, '\0');
            for (int x = 0; x < n; ++x) {
                const bool corner = image.transparentCorner && x == 0 && row == n - 1;
                const quint32 p = corner ? 0u : image.colour;
                switch (bits) {
                case 4: line[x / 2] = char(line[x / 2] | ((x & 1) ? 1 : 0x10)); break;
                case 8: line[x] = char(1); break;
                default:
                    line[x * (bits / 8)] = char(p & 0xFF);
                    line[x * (bits / 8) + 1] = char((p >> 8) & 0xFF);
                    line[x * (bits / 8) + 2] = char((p >> 16) & 0xFF);
                    if (bits == 32) line[x * 4 + 3] = char(p >> 24);
                }
            }
            data.append(line);
        }
        const int maskStride = rowBytes(1, n);
        for (int row = 0; row < n; ++row) {
            QByteArray line(maskStride, '\0');
            if (image.transparentCorner && row == n - 1) line[0] = char(0x80);
            data.append(line);
        }
        datas.append(data);
    }
    QByteArray out;
    put16(out, 0);
    put16(out, type);
    put16(out, static_cast<quint32>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        out.append(char(image.size < 256 ? image.size : 0));
        out.append(char(image.size < 256 ? image.size : 0));
        out.append(char(0));
        out.append(char(0));
        put16(out, type == 2 ? image.hotSpot.x() : 1);
        put16(out, type == 2 ? image.hotSpot.y() : image.bitCount);
        put32(out, static_cast<quint32>(datas[i].size()));
        put32(out, offset);
        offset += static_cast<quint32>(datas[i].size());
    }
    for (const QByteArray& data : datas) out.append(data);
    return out;
}

}  // namespace fixtures
