#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

// The directory of an icon (type 1) or cursor (type 2) file and the choice
// of its image that best fits a wanted size and colour depth. Every entry is
// checked against the file's bytes before anything is read from it.
class IconFile {
public:
    struct Entry {
        int index = 0;      // place in the directory
        int width = 0;
        int height = 0;
        int size = 0;       // (width + height) / 2, each taken to 11 bits
        int depth = 0;      // colour depth code
        bool png = false;
        QPoint hotSpot;     // cursors only
        qint64 offset = 0;
        qint64 length = 0;
    };

    // Reads the directory; false (and no entries) when the data is no icon
    // or cursor file or an entry lies outside it.
    bool parse(const QByteArray& data);

    bool isCursor() const { return type == 2; }
    // Entries ordered by size, entries of equal size in directory order.
    const QList<Entry>& entries() const { return ordered; }

    // The entry for a wanted width, height and colour depth.
    const Entry& choose(int wantedWidth, int wantedHeight, int wantedDepth) const;

    // The entry's image as straight ARGB at its own size; null when it
    // cannot be decoded.
    QImage decode(const Entry& entry) const;

    // A file of the same type holding only this entry.
    QByteArray singleEntryFile(const Entry& entry) const;

    // An icon file of one 24- or 32-bit image (rows of `pixels` as stored,
    // 0xAARRGGBB) with its 1-bit mask (a set bit is transparent).
    static QByteArray buildIconFile(const QImage& pixels, int bitCount, const QImage& transparentMask);

private:
    QByteArray bytes;
    int type = 0;
    QList<Entry> ordered;
};

// Turns IconSize into a wanted width and height (in/out), for a file of
// imageCount images: -1 keeps a single image's own size (0 x 0) and takes the
// normal icon size for several; 4 takes the desired width and height
// themselves; -3, -2, 0, 1, 2 and 3 name the jumbo, extra-large, small,
// normal, small and large icon sizes.
void ResolveIconSize(int& IconSize, int& DesiredIconCx, int& DesiredIconCy, int imageCount);
