#pragma once

#include <QString>

#include "foundation/Reporter.h"

class PlaceKeyClass;

// What the GEDCOM browser needs of its window and of the rest of the
// program: the progress log and message boxes (Reporter: warn is the
// exclamation box with OK, warnDiscard the one with OK and Cancel), an
// information box, the clipboard and the place-key editor. The window
// implements it on the program's services; tests record and script it.
class GEDBrowserHost : public Reporter {
public:
    // An information box titled "Kvora".
    virtual void showInformation(const QString& text) = 0;
    // Puts plain text on the clipboard.
    virtual void setClipboardText(const QString& text) = 0;
    // Lets the user edit the browser's place keys (a modal dialog that
    // writes its changes into keys).
    virtual void editPlaceKeys(PlaceKeyClass& keys) = 0;
};
