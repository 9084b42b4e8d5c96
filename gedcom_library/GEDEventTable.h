#pragma once

#include <QString>

#include "KinreadExport.h"

// The 46 GEDCOM event tags named in words, and back.

// The description of an event code ("Born" for BIRT, "Unknown event" for a
// code that is not an event); sEvType receives the event type ("Birth") or,
// where the table gives none, the tag name ("?" for code 0).
KINREAD_API QString sGetEventDescr(short iTag, QString& sEvType);

// The code of the first event whose description equals sDescr exactly
// (case-sensitive); 0 for "Unknown event" and any other text.
KINREAD_API short iGetEventTag(const QString& sDescr);

// True when the code is one of the 46 event tags.
KINREAD_API bool bIsEventTag(short iTag);
