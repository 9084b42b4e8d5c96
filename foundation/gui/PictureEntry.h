#pragma once

#include <QSize>
#include <QString>

#include "StdPicture.h"

class StdPictureEx;

// The one entry through which the program loads picture files. With
// bPlainLoadPicture set the plain loader reads the file, metafiles through the
// picture loader's own decoders (errors: 53 "File not found", 481 "Invalid
// picture"); otherwise the program's picture loader, asked for a file at the
// normal icon size, and a file it cannot read raises error base + 526 "Failed
// to load image file: <path>" with the source "LoadPictureEx".
PicturePtr LoadPictureEx(const QString& sPath);

// The size in pixels of a picture file, loaded through LoadPictureEx (and
// raising as it does): what a chart asks of a person's picture.
QSize pictureFileSize(const QString& sPath);

// The program's one picture loader, made on first use.
StdPictureEx& pictureLoader();
// Releases the program's picture loader (at the end of the program).
void releasePictureLoader();
