#pragma once

#include <QList>
#include <QString>

class GEDIndiClass;
class PlaceKeyClass;

// Picture references of GEDCOM persons turned into place-key references:
// "$", the key of the picture's folder, ":" and the rest of the path.

// The folder part of a picture path or URL; bURL tells which it was. A URL
// (http:// or https://) ends its folder at the last "/" before any "?"; one
// whose only "/" characters belong to its scheme has no folder (""). A local
// path ends its folder at its last "/" or "\", else at its first ":"; a bare
// file name lies in the current folder ".\".
QString sGetFolderPart(const QString& sPath, bool& bURL);

// The internet location a new key gives a local picture folder: a folder
// named relative to the GEDCOM file (other than the current folder) is the
// same relative location for a chart written beside the exported tree, with
// "/" for "\"; an absolute folder or the current folder has none ("").
QString sRelativeLocation(const QString& sFolder);

// Gives every person's picture folder a place key, reusing a key that names
// the folder already (internet locations and local folders are compared
// exactly; of two keys naming one folder the first counts), and stores each
// person's reference with SetImagePlace. A new key is "GEDDIR" followed by
// the number of keys plus one, or the next number whose key is free.
void MapImagesToPlaceKeys(const QList<GEDIndiClass>& persons, PlaceKeyClass& placeKeys);

// The picture reference to write for a person: its stored reference when
// pictures are imported, else "".
QString sGetImageSpec(const GEDIndiClass& oPer, bool bLoadImages);
