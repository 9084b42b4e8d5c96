#pragma once

#include <memory>

#include <QByteArray>
#include <QImage>
#include <QPoint>

// A picture as the program holds it: a bitmap, an icon or a metafile (drawn
// into pixels at its own size when loaded), with what the loader kept of it. Bitmaps from 32-bit data
// keep their pixel bytes as they were read (alpha included, premultiplied
// storage); whether the alpha channel is used when the picture is drawn is a
// property of the picture, set while the picture loader manages it.
class StdPicture {
public:
    enum PictureKind { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };

    StdPicture(int type, QImage pixels);
    ~StdPicture();
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    // 1 bitmap, 2 metafile, 3 icon (or cursor), 4 enhanced metafile.
    int Type() const { return type; }
    // False for a picture without pixels (no handle).
    bool hasHandle() const { return !stored.isNull(); }
    int width() const { return stored.width(); }
    int height() const { return stored.height(); }

    // The picture as it is drawn: with its alpha channel for icons, metafiles
    // (what their records did not draw stays clear) and pictures drawn with
    // alpha, opaque otherwise.
    QImage image() const;
    // The pixels as held: Format_ARGB32_Premultiplied for 32-bit data (the
    // bytes as read), Format_RGB32 otherwise.
    const QImage& pixels() const { return stored; }
    void setPixels(const QImage& pixels) { stored = pixels; }
    bool is32Bit() const { return stored.format() == QImage::Format_ARGB32_Premultiplied; }

    // True when the picture keeps the bytes of the file it was read from.
    bool KeepOriginalFormat() const { return keepOriginal; }
    const QByteArray& originalData() const { return original; }
    void keepOriginalData(const QByteArray& bytes);

    // A metafile's own records, which it writes when it is saved or copied.
    const QByteArray& metafileData() const { return metafile; }
    void setMetafileData(const QByteArray& bytes) { metafile = bytes; }
    bool isMetafile() const { return type == Metafile || type == EnhancedMetafile; }

    // Drawn with its alpha channel (the picture reports itself transparent).
    bool drawsWithAlpha() const { return alphaDrawing; }
    void setDrawsWithAlpha(bool on) { alphaDrawing = on; }

    bool isCursor() const { return cursor; }
    QPoint hotSpot() const { return cursorHotSpot; }
    void setCursorHotSpot(QPoint hotSpot);

private:
    int type;
    QImage stored;
    bool keepOriginal = false;
    QByteArray original;
    QByteArray metafile;
    bool alphaDrawing = false;
    bool cursor = false;
    QPoint cursorHotSpot;
};

using PicturePtr = std::shared_ptr<StdPicture>;
