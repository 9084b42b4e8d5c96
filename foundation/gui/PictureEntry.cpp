#include "PictureEntry.h"

#include <memory>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "AppError.h"
#include "MetafilePicture.h"
#include "PathHelpers.h"
#include "PlainLoadPicture.h"
#include "StdPictureEx.h"

namespace {

constexpr int kImageLoadErrorOffset = 526;

std::unique_ptr<StdPictureEx> oPictureLoader;

// The longest start of a file that tells whether it is a metafile.
constexpr qint64 kMetafileHeadBytes = 44;

PicturePtr plainLoad(const QString& sPath) {
    const QString path = localPath(sPath);
    if (!QFileInfo(path).isFile()) throw AppError(53, QStringLiteral("LoadPictureEx"), QStringLiteral("File not found"));
    auto invalid = [] { return AppError(481, QStringLiteral("LoadPictureEx"), QStringLiteral("Invalid picture")); };
    // Metafiles are drawn by the same decoders as in the picture loader.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && looksLikeMetafile(file.peek(kMetafileHeadBytes))) {
        PicturePtr picture = metafilePicture(file.readAll(), false);
        if (!picture) throw invalid();
        return picture;
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) throw invalid();
    return std::make_shared<StdPicture>(StdPicture::Bitmap, image.convertToFormat(QImage::Format_RGB32));
}

}  // namespace

StdPictureEx& pictureLoader() {
    if (!oPictureLoader) oPictureLoader = std::make_unique<StdPictureEx>();
    return *oPictureLoader;
}

void releasePictureLoader() { oPictureLoader.reset(); }

PicturePtr LoadPictureEx(const QString& sPath) {
    if (bPlainLoadPicture) return plainLoad(sPath);
    PicturePtr picture = pictureLoader().LoadPicture(sPath, -1);
    if (!picture) {
        raiseError(kImageLoadErrorOffset, QStringLiteral("LoadPictureEx"),
                   QStringLiteral("Failed to load image file: ") + sPath);
    }
    return picture;
}

QSize pictureFileSize(const QString& sPath) {
    const PicturePtr picture = LoadPictureEx(sPath);
    return picture ? QSize(picture->width(), picture->height()) : QSize();
}
