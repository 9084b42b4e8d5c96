#include "PictureManager.h"

#include <QBuffer>
#include <QImageReader>

#include "StdPicture.h"

namespace {

std::weak_ptr<PictureManager> shared;
PictureManager* live = nullptr;

}  // namespace

QImage SubImageSource::read(int index) const {
    if (index < 0 || index >= count) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    if (index > 0 && reader.jumpToImage(index)) return reader.read();
    // Frames that build on the ones before them are read in order.
    QImage frame;
    for (int i = 0; i <= index; ++i) {
        frame = reader.read();
        if (frame.isNull()) return {};
    }
    return frame;
}

void readGifTiming(const QByteArray& bytes, QList<int>& delays, int& loopCount) {
    delays.clear();
    loopCount = 0;
    const qsizetype size = bytes.size();
    auto at = [&](qsizetype i) { return static_cast<quint8>(bytes[i]); };
    if (size < 13) return;
    qsizetype pos = 13;
    if (at(10) & 0x80) pos += 3 * (qsizetype(2) << (at(10) & 7));
    int pendingDelay = 0;
    // Skips a chain of sub-blocks; false when it runs off the data.
    auto skipBlocks = [&]() {
        while (pos < size) {
            const int length = at(pos++);
            if (length == 0) return true;
            pos += length;
        }
        return false;
    };
    while (pos < size) {
        const quint8 kind = at(pos++);
        if (kind == 0x3B) return;
        if (kind == 0x21) {
            if (pos >= size) return;
            const quint8 label = at(pos++);
            if (label == 0xF9 && pos + 4 < size && at(pos) >= 4) {
                pendingDelay = at(pos + 2) | (at(pos + 3) << 8);
            } else if (label == 0xFF && pos + 16 < size && bytes.mid(pos + 1, 11) == "NETSCAPE2.0" &&
                       at(pos + 12) >= 3 && at(pos + 13) == 1) {
                loopCount = at(pos + 14) | (at(pos + 15) << 8);
            }
            if (!skipBlocks()) return;
        } else if (kind == 0x2C) {
            if (pos + 9 > size) return;
            const quint8 flags = at(pos + 8);
            pos += 9;
            if (flags & 0x80) pos += 3 * (qsizetype(2) << (flags & 7));
            pos += 1;  // code size
            if (!skipBlocks()) return;
            delays.append(pendingDelay);
            pendingDelay = 0;
        } else {
            return;
        }
    }
}

PictureManager::~PictureManager() {
    live = nullptr;
    Pictures.clear();
}

std::shared_ptr<PictureManager> PictureManager::acquire() {
    if (auto existing = shared.lock()) return existing;
    std::shared_ptr<PictureManager> made(new PictureManager);
    shared = made;
    live = made.get();
    return made;
}

PictureManager* PictureManager::current() { return live; }

int PictureManager::FindPicture(const StdPicture* picture) const {
    if (!picture) return -1;
    for (int i = PictureCount() - 1; i >= 0; --i)
        if (Pictures[static_cast<size_t>(i)].picture == picture) return i;
    return -1;
}

PictureRecord& PictureManager::record(int index) {
    if (index < 0 || index >= PictureCount()) {
        sentinel = PictureRecord{};
        return sentinel;
    }
    return Pictures[static_cast<size_t>(index)];
}

void PictureManager::AddPictureRecord(const PictureRecord& record) { Pictures.push_back(record); }

void PictureManager::PictureReleased(const StdPicture* picture) {
    for (int i = 0; i < PictureCount(); ++i) {
        if (Pictures[static_cast<size_t>(i)].picture == picture) {
            removeAt(i);
            return;
        }
    }
}

void PictureManager::removeAt(int index) {
    // The last record takes the place of the one removed.
    if (index < PictureCount() - 1) Pictures[static_cast<size_t>(index)] = std::move(Pictures.back());
    Pictures.pop_back();
}
