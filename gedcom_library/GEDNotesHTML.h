#pragma once

#include <QString>

#include "KinreadExport.h"

// The event mark-up of notes: every dated event of a person or family becomes
// an element whose data- attributes (data-start, data-evtype, data-event,
// data-gtag, data-gpayl, data-gtype) carry its date, kind, description and
// GEDCOM details. Attribute values are entity-encoded so that quotes, "<" or
// "&" in a date phrase, a description or a payload cannot end the attribute
// early; whoever reads the mark-up back decodes each value with
// sDecodeEventAttr.

// "&", ">", "<", the double quote and "'" as entity references; any other
// text unchanged.
KINREAD_API QString sEncodeEventAttr(const QString& sValue);
// The inverse of sEncodeEventAttr: the five entity references back to
// their characters ("&amp;" last, so "&amp;lt;" gives "&lt;").
KINREAD_API QString sDecodeEventAttr(const QString& sValue);
