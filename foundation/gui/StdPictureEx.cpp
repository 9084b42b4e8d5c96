#include "StdPictureEx.h"

#include <cerrno>
#include <cstring>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QScreen>

#include "AppError.h"
#include "DibCodec.h"
#include "IconFile.h"
#include "MetafilePicture.h"
#include "PathHelpers.h"
#include "PictureManager.h"
#include "SafeFileWriter.h"

namespace {

constexpr quint32 kPngSignature = 0x474E5089u;

enum TypeCode { kNone = 0, kBitmap = 1, kIcon = 3, kJpeg = 5, kPng = 6, kGif = 7, kTiff = 8 };

quint32 signatureOf(const QByteArray& bytes) {
    quint32 value = 0;
    for (int i = 0; i < 4 && i < bytes.size(); ++i) value |= static_cast<quint32>(static_cast<quint8>(bytes[i])) << (8 * i);
    return value;
}

int screenDepth() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->depth();
    }
    return 32;
}

int typeCodeOfFormat(const QByteArray& format) {
    const QByteArray f = format.toLower();
    if (f == "bmp" || f == "dib") return kBitmap;
    if (f == "jpeg" || f == "jpg") return kJpeg;
    if (f == "png") return kPng;
    if (f == "gif") return kGif;
    if (f == "tiff" || f == "tif") return kTiff;
    return kNone;
}

QImage premultiplied(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

// Raw 32-bit pixel bytes taken as straight ARGB.
QImage asStraight(const QImage& pixels32) {
    QImage straight = pixels32.copy();
    straight.reinterpretAsFormat(QImage::Format_ARGB32);
    return straight;
}

// Premultiplied pixels turned back into straight ones, each channel rounded
// to the nearest value.
QImage unpremultiplied(const QImage& pixels32) {
    QImage out = pixels32.copy();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const quint32 p = line[x];
            const quint32 a = p >> 24;
            if (a == 0 || a == 255) continue;
            auto channel = [&](int shift) {
                const quint32 c = (p >> shift) & 0xFF;
                return std::min<quint32>(255, (c * 255 + a / 2) / a) << shift;
            };
            line[x] = (a << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    out.reinterpretAsFormat(QImage::Format_ARGB32);
    return out;
}

[[noreturn]] void raiseSaveError(int number) {
    QString text;
    switch (number) {
    case 5: text = QStringLiteral("Invalid procedure call or argument"); break;
    case 7: text = QStringLiteral("Out of memory"); break;
    case 17: text = QStringLiteral("Can't perform requested operation"); break;
    default: text = QString::fromLocal8Bit(std::strerror(number)); break;
    }
    throw AppError(number, QStringLiteral("SavePicture"), text);
}

// A system colour for a negative colour value (its low 8 bits).
QColor systemColour(int index) {
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette(Qt::white);
    switch (index) {
    case 5: return palette.color(QPalette::Base);            // window background
    case 8: return palette.color(QPalette::Text);            // window text
    case 15: return palette.color(QPalette::Button);         // button face
    case 18: return palette.color(QPalette::ButtonText);     // button text
    case 13: return palette.color(QPalette::Highlight);      // selection
    case 14: return palette.color(QPalette::HighlightedText);
    default: return palette.color(QPalette::Window);
    }
}

QColor colourOf(int value) {
    if (value < 0) return systemColour(value & 0xFF);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace

StdPictureEx::StdPictureEx() = default;

StdPictureEx::~StdPictureEx() = default;

bool StdPictureEx::EnsureManager() {
    if (!manager) manager = PictureManager::acquire();
    return true;
}

PicturePtr StdPictureEx::LoadPicture(const ImageSource& source, int IconSize, int IconColorDepth,
                                     int DesiredIconCx, int DesiredIconCy, bool KeepOriginalFormat,
                                     int RequiredFormat) {
    return LoadPicture(source, IconSize, &IconColorDepth, DesiredIconCx, DesiredIconCy, KeepOriginalFormat,
                       RequiredFormat);
}

PicturePtr StdPictureEx::LoadPicture(const ImageSource& source, int IconSize, int* IconColorDepth,
                                     int DesiredIconCx, int DesiredIconCy, bool KeepOriginalFormat,
                                     int RequiredFormat) {
    EnsureManager();
    int depthStore = 0;
    int& depth = IconColorDepth ? *IconColorDepth : depthStore;
    bool keepForIcon = false;
    if (RequiredFormat == 1) {
        KeepOriginalFormat = false;
    } else if (RequiredFormat == 3) {
        keepForIcon = KeepOriginalFormat;
        KeepOriginalFormat = false;
    } else {
        RequiredFormat = 0;
    }
    DesiredIconCx = DesiredIconCx < 0 ? 0 : DesiredIconCx % 4096;
    DesiredIconCy = DesiredIconCy < 0 ? 0 : DesiredIconCy % 4096;
    if (depth < 0) depth = 0;

    PictureRecord record;
    PicturePtr picture;
    if (const auto* path = std::get_if<QString>(&source)) {
        if (!path->isEmpty())
            picture = ReadFileBytes(*path, IconSize, depth, DesiredIconCx, DesiredIconCy, KeepOriginalFormat, record);
    } else if (const auto* bytes = std::get_if<QByteArray>(&source)) {
        if (bytes->size() > 1)
            picture = LoadFromBytes(*bytes, IconSize, depth, DesiredIconCx, DesiredIconCy, KeepOriginalFormat, record);
    } else if (const auto* given = std::get_if<PicturePtr>(&source)) {
        if (*given && (*given)->hasHandle()) {
            picture = CopyPicture(*given, IconSize, DesiredIconCx, DesiredIconCy, KeepOriginalFormat, record);
            if (!picture) picture = *given;
        }
    }
    if (!picture) return nullptr;

    if (RequiredFormat == 1) {
        picture = ConvertToBitmap(picture, record);
    } else if (RequiredFormat == 3) {
        picture = ConvertToIcon(picture, record, keepForIcon, DesiredIconCx, DesiredIconCy);
    }
    if (record.Flags != 0 && manager->FindPicture(picture.get()) < 0) {
        record.picture = picture.get();
        manager->AddPictureRecord(record);
        picture->setDrawsWithAlpha(true);
    }
    return picture;
}

PicturePtr StdPictureEx::ReadFileBytes(const QString& path, int IconSize, int& IconColorDepth, int cx, int cy,
                                       bool& keep, PictureRecord& record) {
    QFile file(localPath(path));
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const qint64 size = file.size();
    if (size <= 0 || size > 0x7FFFFFFF) return nullptr;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < size) return nullptr;
    return LoadFromBytes(bytes, IconSize, IconColorDepth, cx, cy, keep, record);
}

PicturePtr StdPictureEx::LoadFromBytes(const QByteArray& bytes, int IconSize, int& IconColorDepth, int cx, int cy,
                                       bool& keep, PictureRecord& record) {
    const quint32 signature = signatureOf(bytes);
    bool formatChosen = false;
    if ((signature & 0xFFFF) == 0x4D42) {
        keep = false;
        bool damaged = false;
        if (PicturePtr picture = ReadBmp(bytes, keep, record, damaged)) return picture;
        if (damaged) return nullptr;  // a bitmap that does not hold what it says is no picture
    } else if ((signature & 0xFFFFFF) == 0x464947) {
        formatChosen = keep;  // only the full decoding keeps every frame
    } else if (signature == kPngSignature || (signature & 0xFFFF) == 0x4949 || (signature & 0xFFFF) == 0x4D4D) {
        formatChosen = true;
    } else if ((signature & 0xFFFF) == 0 && ((signature >> 16) == 1 || (signature >> 16) == 2)) {
        if (PicturePtr picture = LoadIconFile(bytes, cx, cy, IconSize, IconColorDepth, keep, record)) return picture;
    }
    if (!formatChosen) {
        if (PicturePtr picture = PictureFromStream(bytes, keep)) return picture;
    }
    return LoadImageBytes(bytes, QImage(), keep, record);
}

PicturePtr StdPictureEx::ReadBmp(const QByteArray& bytes, bool keep, PictureRecord& record, bool& damaged) {
    const std::optional<DibImage> dib = decodeBmpFile(bytes, &damaged);
    if (!dib) return nullptr;
    if (dib->bitCount == 32) {
        switch (classifyAlpha(dib->pixels)) {
        case AlphaClass::Straight:
            record.Flags = kBitmap;
            return LoadImageBytes(QByteArray(), asStraight(dib->pixels), keep, record);
        case AlphaClass::Premultiplied: record.Flags = kBitmap; break;
        case AlphaClass::TwoLevel:
        case AlphaClass::None: break;
        }
    }
    return std::make_shared<StdPicture>(StdPicture::Bitmap, dib->pixels);
}

PicturePtr StdPictureEx::LoadIconFile(const QByteArray& bytes, int cx, int cy, int IconSize, int& IconColorDepth,
                                      bool keep, PictureRecord& record) {
    IconFile file;
    if (!file.parse(bytes)) return nullptr;
    ResolveIconSize(IconSize, cx, cy, static_cast<int>(file.entries().size()));
    const IconFile::Entry* chosen = &file.entries().first();
    if (file.entries().size() > 1) {
        if (IconColorDepth < 1) IconColorDepth = screenDepth();
        chosen = &file.choose(cx, cy, IconColorDepth);
    }
    QImage image = file.decode(*chosen);
    if (image.isNull()) return nullptr;
    // The image is made at the wanted size (its own size where none is wanted).
    const int width = cx > 0 ? cx : image.width();
    const int height = cy > 0 ? cy : image.height();
    if (width != image.width() || height != image.height())
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    auto picture = std::make_shared<StdPicture>(StdPicture::Icon, premultiplied(image));
    if (file.isCursor()) picture->setCursorHotSpot(chosen->hotSpot);
    if (keep) {
        record.Source = file.singleEntryFile(*chosen);
        record.hasSource = true;
        record.Flags = kIcon;
    }
    if (chosen->depth == 32) record.Flags = kIcon;
    return picture;
}

PicturePtr StdPictureEx::PictureFromStream(const QByteArray& bytes, bool keep) {
    // The plain loader reads BMP, JPEG, the first frame of a GIF, and
    // metafiles.
    if (looksLikeMetafile(bytes)) return metafilePicture(bytes, keep);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    if (format != "bmp" && format != "jpeg" && format != "gif") return nullptr;
    const QImage image = reader.read();
    if (image.isNull()) return nullptr;
    PicturePtr picture;
    if (image.hasAlphaChannel()) {
        // A transparent GIF is drawn with its transparency.
        picture = std::make_shared<StdPicture>(StdPicture::Bitmap, premultiplied(image));
        picture->setDrawsWithAlpha(true);
    } else {
        picture = std::make_shared<StdPicture>(StdPicture::Bitmap, image.convertToFormat(QImage::Format_RGB32));
    }
    if (keep) picture->keepOriginalData(bytes);
    return picture;
}

PicturePtr StdPictureEx::LoadImageBytes(const QByteArray& bytes, const QImage& bitmap, bool keep,
                                        PictureRecord& record) {
    QImage image = bitmap;
    std::shared_ptr<SubImageSource> frames;
    if (image.isNull()) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const int code = typeCodeOfFormat(reader.format());
        if (code == kNone) {
            record.Flags = 0;
            return nullptr;
        }
        record.Flags = code;
        if (code == kGif || (code == kTiff && keep)) {
            frames = std::make_shared<SubImageSource>();
            frames->bytes = bytes;
            frames->format = reader.format();
            int count = reader.imageCount();
            QImage first;
            if (code == kGif) {
                // Count the frames and take their delays.
                count = 0;
                QImage frame;
                while (!(frame = reader.read()).isNull()) {
                    if (count == 0) first = frame;
                    ++count;
                }
                readGifTiming(bytes, frames->delays, frames->loopCount);
            } else {
                first = reader.read();
            }
            frames->count = count;
            record.setSubImage(1);
            record.setSubImageCount(count);
            if (code == kGif && !(count >= 2 && keep)) {
                record.Flags = 0;
                return PictureFromStream(bytes, keep);
            }
            if (count >= 2) record.GdipImage = frames;
            image = first;
        } else {
            image = reader.read();
        }
        if (image.isNull()) {
            record = PictureRecord{};
            return nullptr;
        }
    } else {
        record.Flags = kBitmap;
    }

    QImage pixels;
    if (keep) {
        pixels = premultiplied(image);
    } else if (image.hasAlphaChannel()) {
        // Drawn with its alpha channel: a managed bitmap.
        pixels = premultiplied(image);
        record.Flags = kBitmap;
    } else {
        pixels = image.convertToFormat(QImage::Format_RGB32);
    }
    if (keep && !bytes.isEmpty()) {
        record.Source = bytes;
        record.hasSource = true;
    }
    return std::make_shared<StdPicture>(StdPicture::Bitmap, pixels);
}

PicturePtr StdPictureEx::PictureFromBitmap(const QImage& pixels, PictureRecord& record) {
    if (pixels.format() != QImage::Format_ARGB32_Premultiplied) {
        record.Flags = 0;
        return std::make_shared<StdPicture>(StdPicture::Bitmap, pixels);
    }
    switch (classifyAlpha(pixels)) {
    case AlphaClass::Straight:
        return LoadImageBytes(QByteArray(), asStraight(pixels), false, record);
    case AlphaClass::Premultiplied:
    case AlphaClass::TwoLevel:
        record.Flags = kBitmap;
        break;
    case AlphaClass::None:
        record.Flags = 0;
        break;
    }
    return std::make_shared<StdPicture>(StdPicture::Bitmap, pixels);
}

PicturePtr StdPictureEx::CopyPicture(const PicturePtr& source, int IconSize, int cx, int cy, bool& keep,
                                     PictureRecord& record) {
    record = PictureRecord{};
    QByteArray bytes;
    const int index = manager->FindPicture(source.get());
    if (source->KeepOriginalFormat()) {
        bytes = source->originalData();
    } else if (index >= 0 && manager->record(index).hasSource && keep) {
        bytes = manager->record(index).Source;
    } else if (source->isMetafile()) {
        bytes = source->metafileData();  // a metafile is copied through its records
    } else {
        if (index < 0) keep = false;
        if (source->Type() == StdPicture::Icon) {
            ResolveIconSize(IconSize, cx, cy, 1);
            QImage image = source->pixels();
            if (cx > 0 && cy > 0 && (cx != image.width() || cy != image.height()))
                image = image.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            auto copy = std::make_shared<StdPicture>(StdPicture::Icon, image);
            if (source->isCursor()) copy->setCursorHotSpot(source->hotSpot());
            record.Flags = classifyAlpha(source->pixels()) != AlphaClass::None ? kIcon : 0;
            return copy;
        }
        return PictureFromBitmap(source->pixels().copy(), record);
    }
    int depth = 0;
    PicturePtr picture = LoadFromBytes(bytes, IconSize, depth, cx, cy, keep, record);
    if (!picture) record = PictureRecord{};
    if (!keep) {
        record.Source.clear();
        record.hasSource = false;
    }
    return picture;
}

PicturePtr StdPictureEx::ConvertToBitmap(const PicturePtr& picture, PictureRecord& record) {
    if (!picture->hasHandle()) return picture;
    if (picture->Type() == StdPicture::Bitmap) {
        if (record.Flags != 0) record.Flags = kBitmap;
        return picture;
    }
    // An icon or a metafile: its pixels (transparency included) become a
    // bitmap.
    record = PictureRecord{};
    auto bitmap = std::make_shared<StdPicture>(StdPicture::Bitmap, picture->pixels());
    if (classifyAlpha(picture->pixels()) != AlphaClass::None) {
        record.Flags = kBitmap;
    } else {
        bitmap->setPixels(picture->pixels().convertToFormat(QImage::Format_RGB32));
    }
    return bitmap;
}

PicturePtr StdPictureEx::ConvertToIcon(const PicturePtr& picture, PictureRecord& record, bool keep, int cx,
                                       int cy) {
    if (!picture->hasHandle() || picture->Type() == StdPicture::Icon) return picture;
    if (picture->isMetafile()) return ConvertToBitmap(picture, record);
    const QImage& pixels = picture->pixels();
    const int bitCount = picture->is32Bit() ? 32 : 24;
    QImage colours = pixels;
    QImage mask;
    if (bitCount == 32 && classifyAlpha(pixels) == AlphaClass::Premultiplied) {
        // Icon images hold straight colours: a half-transparent pixel keeps
        // its colour, and fully transparent pixels are masked out.
        colours = unpremultiplied(pixels);
        mask = QImage(pixels.size(), QImage::Format_Grayscale8);
        mask.fill(0);
        for (int y = 0; y < pixels.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(pixels.constScanLine(y));
            uchar* m = mask.scanLine(y);
            for (int x = 0; x < pixels.width(); ++x) m[x] = (line[x] >> 24) == 0 ? 1 : 0;
        }
    }
    const QByteArray file = IconFile::buildIconFile(colours, bitCount, mask);
    int depth = 0;
    PictureRecord iconRecord;
    PicturePtr icon = LoadIconFile(file, cx, cy, -1, depth, keep, iconRecord);
    if (!icon) return picture;
    record = iconRecord;
    return icon;
}

QByteArray StdPictureEx::gatherOriginalBytes(const PicturePtr& picture) {
    if (picture->KeepOriginalFormat()) return picture->originalData();
    const int index = manager->FindPicture(picture.get());
    if (index >= 0 && manager->record(index).hasSource) return manager->record(index).Source;
    if (picture->isMetafile()) return picture->metafileData();
    if (picture->Type() == StdPicture::Icon) {
        // An icon writes itself as an icon file of its 32-bit image.
        QImage mask(picture->pixels().size(), QImage::Format_Grayscale8);
        for (int y = 0; y < mask.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(picture->pixels().constScanLine(y));
            uchar* m = mask.scanLine(y);
            for (int x = 0; x < mask.width(); ++x) m[x] = (line[x] >> 24) == 0 ? 1 : 0;
        }
        return IconFile::buildIconFile(unpremultiplied(picture->pixels()), 32, mask);
    }
    return {};
}

QByteArray StdPictureEx::savedBytes(const PicturePtr& Picture, bool AlwaysSaveAsBitmap, bool KeepPremultipliedBits,
                                    int BackColor, QImage* bitmap) {
    const int code = PictureType(Picture);
    const bool bmpRoute = (!Picture->KeepOriginalFormat() && code == kBitmap) || AlwaysSaveAsBitmap;
    if (!bmpRoute) {
        const QByteArray bytes = gatherOriginalBytes(Picture);
        if (bytes.isEmpty()) raiseSaveError(5);
        return bytes;
    }
    const bool keep32 = manager->FindPicture(Picture.get()) >= 0 && KeepPremultipliedBits &&
                        Picture->Type() == StdPicture::Bitmap && Picture->is32Bit();
    QImage section;
    if (keep32) {
        section = Picture->pixels().copy();
    } else {
        section = QImage(Picture->width(), Picture->height(), QImage::Format_RGB32);
        if (section.isNull()) raiseSaveError(7);
        section.fill(colourOf(BackColor));
        QPainter painter(&section);
        painter.drawImage(0, 0, Picture->image());
    }
    if (section.isNull()) raiseSaveError(7);
    if (bitmap) {
        *bitmap = section;
        return {};
    }
    return encodeBmpFile(section, keep32 ? 32 : 24);
}

void StdPictureEx::SavePicture(const PicturePtr& Picture, const QString& Destination, bool AlwaysSaveAsBitmap,
                               bool KeepPremultipliedBits, int BackColor) {
    EnsureManager();
    if (!Picture || !Picture->hasHandle()) return;
    if (Destination.isEmpty()) raiseSaveError(17);
    const QByteArray bytes = savedBytes(Picture, AlwaysSaveAsBitmap, KeepPremultipliedBits, BackColor, nullptr);
    // The file is replaced only once all of it has been written.
    int code = 0;
    if (!sWriteWholeFile(localPath(Destination), bytes, &code).isEmpty()) raiseSaveError(code);
}

void StdPictureEx::SavePicture(const PicturePtr& Picture, QByteArray& Destination, bool AlwaysSaveAsBitmap,
                               bool KeepPremultipliedBits, int BackColor) {
    EnsureManager();
    if (!Picture || !Picture->hasHandle()) return;
    Destination = savedBytes(Picture, AlwaysSaveAsBitmap, KeepPremultipliedBits, BackColor, nullptr);
}

void StdPictureEx::SavePicture(const PicturePtr& Picture, PicturePtr& Destination, bool AlwaysSaveAsBitmap,
                               bool KeepPremultipliedBits, int BackColor) {
    EnsureManager();
    if (!Picture || !Picture->hasHandle()) return;
    const int code = PictureType(Picture);
    const bool bmpRoute = (!Picture->KeepOriginalFormat() && code == kBitmap) || AlwaysSaveAsBitmap;
    if (!bmpRoute) {
        Destination = LoadPicture(Picture, -1);
        return;
    }
    QImage section;
    savedBytes(Picture, true, KeepPremultipliedBits, BackColor, &section);
    Destination = std::make_shared<StdPicture>(StdPicture::Bitmap, section);
}

int StdPictureEx::SubImageCount(const PicturePtr& Picture) {
    EnsureManager();
    return manager->record(manager->FindPicture(Picture.get())).subImageCount();
}

int StdPictureEx::SubImageIndex(const PicturePtr& Picture) {
    EnsureManager();
    return manager->record(manager->FindPicture(Picture.get())).subImage();
}

PicturePtr StdPictureEx::SubImage(const PicturePtr& Picture, int NewIndex) {
    EnsureManager();
    if (!Picture) return nullptr;
    if (!Picture->hasHandle() || NewIndex < 1) return Picture;
    const int index = manager->FindPicture(Picture.get());
    if (index < 0) return Picture;
    PictureRecord& record = manager->record(index);
    if (record.subImageCount() < 2 || NewIndex > record.subImageCount() || !record.GdipImage) return Picture;
    const QImage frame = record.GdipImage->read(NewIndex - 1);
    if (frame.isNull()) return Picture;
    record.setSubImage(NewIndex);
    if (record.typeCode() == kTiff) {
        // Pages may differ in size: each is a picture of its own.
        auto page = std::make_shared<StdPicture>(StdPicture::Bitmap, premultiplied(frame));
        page->setDrawsWithAlpha(true);
        record.picture = page.get();
        return page;
    }
    QImage pixels = premultiplied(frame);
    if (pixels.size() != Picture->pixels().size()) pixels = pixels.copy(QRect(QPoint(0, 0), Picture->pixels().size()));
    Picture->setPixels(pixels);
    return Picture;
}

void StdPictureEx::UnManage(const PicturePtr& Picture) {
    EnsureManager();
    if (!Picture || !Picture->hasHandle()) return;
    const int index = manager->FindPicture(Picture.get());
    if (index < 0 || !Picture->drawsWithAlpha()) return;
    Picture->setDrawsWithAlpha(false);
    manager->removeAt(index);
}

bool StdPictureEx::IsManaged(const PicturePtr& Picture) {
    EnsureManager();
    return Picture && manager->FindPicture(Picture.get()) >= 0 && Picture->drawsWithAlpha();
}

int StdPictureEx::PictureType(const PicturePtr& Picture) {
    EnsureManager();
    if (!Picture) return 0;
    const PictureRecord& record = manager->record(manager->FindPicture(Picture.get()));
    if (record.Flags != 0) return record.typeCode();
    int type = Picture->Type();
    // The kept bytes tell a bitmap's original format; a metafile stays one.
    if (type == StdPicture::Bitmap && Picture->KeepOriginalFormat() && Picture->originalData().size() >= 4) {
        const quint32 signature = signatureOf(Picture->originalData());
        if ((signature & 0xFFFFFF) == 0x464947) type = kGif;
        else if ((signature & 0xFFFF) != 0x4D42) type = kJpeg;
    }
    return type;
}

bool StdPictureEx::GetGIFAnimationInfo(const PicturePtr& Picture, QList<int>& Durations, int ZeroDurationAdjustment) {
    EnsureManager();
    const int index = manager->FindPicture(Picture.get());
    if (index < 0) return false;
    const PictureRecord& record = manager->record(index);
    if (record.typeCode() != kGif || !record.GdipImage) return false;
    const SubImageSource& frames = *record.GdipImage;
    Durations = QList<int>(record.subImageCount() + 1, 0);
    Durations[0] = frames.loopCount;
    const int adjusted = std::max(ZeroDurationAdjustment, 10) / 10;
    for (int i = 1; i < Durations.size(); ++i) {
        const int delay = i - 1 < frames.delays.size() ? frames.delays[i - 1] : 0;
        Durations[i] = delay < 1 ? adjusted : delay;
    }
    return true;
}

bool StdPictureEx::HasOriginalFormat(const PicturePtr& Picture) {
    EnsureManager();
    if (!Picture) return false;
    if (manager->record(manager->FindPicture(Picture.get())).hasSource) return true;
    return Picture->KeepOriginalFormat();
}
