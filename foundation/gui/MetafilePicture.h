#pragma once

#include <QByteArray>

#include "StdPicture.h"

// Windows metafiles as pictures, for both ways the program loads pictures
// (its picture loader and the plain loader of the start-up switch 0): WMF
// drawn by libwmf, EMF by the EMF player.

// True when the bytes begin like a WMF or an EMF file.
bool looksLikeMetafile(const QByteArray& bytes);

// The metafile drawn at its own size: a picture of type 2 (WMF) or 4 (EMF)
// that keeps the records it was drawn from, and the bytes as read when keep
// is set. Null for data that is damaged, cut short or not a metafile.
PicturePtr metafilePicture(const QByteArray& bytes, bool keep);
