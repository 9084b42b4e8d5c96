#pragma once

#include <memory>
#include <variant>

#include <QByteArray>
#include <QList>
#include <QString>

#include "StdPicture.h"

class PictureManager;
struct PictureRecord;

// The picture loader: turns image files, image bytes and existing pictures
// into pictures. Besides what the plain loader reads it keeps 32-bit alpha
// channels, the frames of GIF files and the pages of TIFF files, and picks
// the best image of an icon or cursor file for a wanted size and colour
// depth. Pictures that need the loader after loading (alpha drawing, frames,
// kept original bytes) are managed: the loaders of the program share one
// table of them (PictureManager).
//
// Picture type codes: 0 none, 1 bitmap, 2 metafile, 3 icon, 4 enhanced
// metafile, 5 JPEG, 6 PNG, 7 GIF, 8 TIFF. Metafiles (WMF and EMF) are drawn
// into pixels at their own size and keep their records for saving and
// copying.
class StdPictureEx {
public:
    // A file path, the bytes of an image, or an existing picture.
    using ImageSource = std::variant<std::monostate, QString, QByteArray, PicturePtr>;

    StdPictureEx();
    ~StdPictureEx();
    StdPictureEx(const StdPictureEx&) = delete;
    StdPictureEx& operator=(const StdPictureEx&) = delete;

    // The new picture, or null. Never throws. IconSize: see ResolveIconSize;
    // IconColorDepth 0 means the screen's depth (written back);
    // RequiredFormat 1 gives a bitmap, 3 an icon.
    PicturePtr LoadPicture(const ImageSource& ImageSource = {}, int IconSize = 0, int IconColorDepth = 0,
                           int DesiredIconCx = 0, int DesiredIconCy = 0, bool KeepOriginalFormat = false,
                           int RequiredFormat = 0);
    PicturePtr LoadPicture(const ImageSource& ImageSource, int IconSize, int* IconColorDepth, int DesiredIconCx,
                           int DesiredIconCy, bool KeepOriginalFormat, int RequiredFormat);

    // Writes the picture to a file (created or replaced only when the whole
    // picture was written), into bytes, or into a new picture: its original
    // bytes when it has them, else a BMP file (24 bits over BackColor,
    // 0x00BBGGRR or a negative system-colour number; or 32 bits for a managed
    // bitmap with KeepPremultipliedBits). Failures raise errors with the
    // source "SavePicture": 5 no original bytes, 7 no bitmap, 17 no usable
    // destination, others from the file system.
    void SavePicture(const PicturePtr& Picture, const QString& Destination, bool AlwaysSaveAsBitmap = false,
                     bool KeepPremultipliedBits = false, int BackColor = 0xFFFFFF);
    void SavePicture(const PicturePtr& Picture, QByteArray& Destination, bool AlwaysSaveAsBitmap = false,
                     bool KeepPremultipliedBits = false, int BackColor = 0xFFFFFF);
    void SavePicture(const PicturePtr& Picture, PicturePtr& Destination, bool AlwaysSaveAsBitmap = false,
                     bool KeepPremultipliedBits = false, int BackColor = 0xFFFFFF);

    int SubImageCount(const PicturePtr& Picture);
    int SubImageIndex(const PicturePtr& Picture);
    // The picture showing sub-image NewIndex (from 1): the same picture for
    // GIF frames, a new picture for a TIFF page.
    PicturePtr SubImage(const PicturePtr& Picture, int NewIndex);
    void UnManage(const PicturePtr& Picture);
    bool IsManaged(const PicturePtr& Picture);
    int PictureType(const PicturePtr& Picture);
    // Durations[0]: the loop count (0 for ever); Durations[1..n]: each frame's
    // delay in hundredths of a second, a delay below 1 replaced by
    // max(ZeroDurationAdjustment, 10) / 10 (the adjustment in milliseconds).
    bool GetGIFAnimationInfo(const PicturePtr& Picture, QList<int>& Durations, int ZeroDurationAdjustment = 0);
    bool HasOriginalFormat(const PicturePtr& Picture);

private:
    enum class Destination { File, Bytes, Picture };

    bool EnsureManager();
    PicturePtr ReadFileBytes(const QString& path, int IconSize, int& IconColorDepth, int cx, int cy,
                             bool& keep, PictureRecord& record);
    PicturePtr LoadFromBytes(const QByteArray& bytes, int IconSize, int& IconColorDepth, int cx, int cy,
                             bool& keep, PictureRecord& record);
    PicturePtr ReadBmp(const QByteArray& bytes, bool keep, PictureRecord& record, bool& damaged);
    PicturePtr LoadIconFile(const QByteArray& bytes, int cx, int cy, int IconSize, int& IconColorDepth, bool keep,
                            PictureRecord& record);
    PicturePtr PictureFromStream(const QByteArray& bytes, bool keep);
    PicturePtr LoadImageBytes(const QByteArray& bytes, const QImage& bitmap, bool keep, PictureRecord& record);
    PicturePtr PictureFromBitmap(const QImage& pixels32, PictureRecord& record);
    // A new picture from an existing one: decoded again from its original
    // bytes when they are kept, else a copy of its pixels.
    PicturePtr CopyPicture(const PicturePtr& source, int IconSize, int cx, int cy, bool& keep,
                           PictureRecord& record);
    // The picture's bytes in their original format (an icon writes itself as
    // an icon file); empty when there are none.
    PicturePtr ConvertToBitmap(const PicturePtr& picture, PictureRecord& record);
    PicturePtr ConvertToIcon(const PicturePtr& picture, PictureRecord& record, bool keep, int cx, int cy);
    QByteArray gatherOriginalBytes(const PicturePtr& picture);
    QByteArray savedBytes(const PicturePtr& Picture, bool AlwaysSaveAsBitmap, bool KeepPremultipliedBits,
                          int BackColor, QImage* bitmap);

    std::shared_ptr<PictureManager> manager;
};
