#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QList>

class StdPicture;

// The frames of a GIF or the pages of a TIFF kept for a picture, read again
// from the file's bytes when another one is shown.
struct SubImageSource {
    QByteArray bytes;
    QByteArray format;
    int count = 0;
    QList<int> delays;    // GIF frame delays, in hundredths of a second
    int loopCount = 0;    // GIF loop count, 0: for ever
    QImage read(int index) const;  // counted from 0; null when unreadable
};

// Reads the frame delays (hundredths of a second, one per image) and the loop
// count of a GIF file; stops quietly at the first block that leaves the data.
void readGifTiming(const QByteArray& bytes, QList<int>& delays, int& loopCount);

// What the loader keeps for one managed picture.
struct PictureRecord {
    // Bits 0-3: the picture type code; bits 4-15: the current sub-image
    // (from 1); bits 16-27: the number of sub-images. 0: no picture.
    int Flags = 0;
    const StdPicture* picture = nullptr;
    std::shared_ptr<SubImageSource> GdipImage;
    QByteArray Source;  // the original file bytes, when kept
    bool hasSource = false;

    int typeCode() const { return Flags & 0xF; }
    int subImage() const { return (Flags >> 4) & 0xFFF; }
    int subImageCount() const { return (Flags >> 16) & 0xFFF; }
    void setTypeCode(int code) { Flags = (Flags & ~0xF) | (code & 0xF); }
    void setSubImage(int index) { Flags = (Flags & ~0xFFF0) | ((index & 0xFFF) << 4); }
    void setSubImageCount(int count) { Flags = (Flags & 0xFFFF) | ((count & 0xFFF) << 16); }
};

// The one table of managed pictures of the program, shared by every picture
// loader object. It lives while a loader holds it; when the last loader goes,
// what it kept (frames, pages, original bytes) is released and the pictures
// still shown keep drawing as they are. A later loader starts a new table.
class PictureManager {
public:
    ~PictureManager();

    // The table, made when none exists.
    static std::shared_ptr<PictureManager> acquire();
    // The table in use, or null.
    static PictureManager* current();

    // Index of the picture's record, -1 when the picture is not managed.
    int FindPicture(const StdPicture* picture) const;
    // The record at index; -1 gives an empty record.
    PictureRecord& record(int index);
    void AddPictureRecord(const PictureRecord& record);
    // Forgets the picture (its last reference went).
    void PictureReleased(const StdPicture* picture);
    int PictureCount() const { return static_cast<int>(Pictures.size()); }
    // Removes the record at index; the last record takes its place.
    void removeAt(int index);

private:
    PictureManager() = default;

    std::vector<PictureRecord> Pictures;
    PictureRecord sentinel;
};
