#include "StdPicture.h"

#include "PictureManager.h"

StdPicture::StdPicture(int type, QImage pixels) : type(type), stored(std::move(pixels)) {}

StdPicture::~StdPicture() {
    // The current manager, if any, forgets what it kept for this picture.
    if (PictureManager* manager = PictureManager::current()) manager->PictureReleased(this);
}

QImage StdPicture::image() const {
    if (type == Icon || isMetafile() || alphaDrawing || !is32Bit()) return stored;
    // Drawn without alpha: the alpha bytes carry nothing.
    QImage opaque = stored.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < opaque.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x) line[x] |= 0xFF000000u;
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

void StdPicture::keepOriginalData(const QByteArray& bytes) {
    keepOriginal = true;
    original = bytes;
}

void StdPicture::setCursorHotSpot(QPoint hotSpot) {
    cursor = true;
    cursorHotSpot = hotSpot;
}
