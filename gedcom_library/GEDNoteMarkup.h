#pragma once

#include <QString>

#include "KinreadExport.h"

// Notes of a GEDCOM file are shared by strangers and end up in charts that a
// browser opens, so the mark-up they may carry is held to what a note needs:
// the elements and attributes that the notes editors write.
//
//   b, i, u, s, sub, sup, h1, h2, br   no attributes
//   p                                  align
//   a                                  href, target
//   img                                src, alt, width
//   span, div                          the event attributes data-start,
//                                      data-event, data-evtype, data-gtag,
//                                      data-gtype, data-gpayl
//
// A link or picture may point at an http, https or mailto address or at a
// relative one (a place-key reference included); any other target (javascript:,
// data:, ...) is left out. Every other element is shown as text, its tags
// escaped, so that the content of a script or style never becomes live; an
// attribute a kept element may not have is left out. Comments are left out.
// A "<" that begins no tag is escaped. Tags are read as a browser reads them,
// so what is kept means to a browser what it meant here.
//
// The kept mark-up is balanced on its own, since a chart sets each note
// inside an element of its page: an end tag that closes nothing the note
// opened is left out ("</br>" is a line break, as to a browser), an end tag
// closes first what was opened inside its element, the end tags a browser
// would supply itself (an open paragraph before a new block, ...) are
// written, and what the note leaves open is closed at its end. "<b/>" opens
// an element, as in a browser.
//
// `unsafe` is set when mark-up was shown as text or left out (a comment, an
// attribute named twice and an end tag that closes nothing aside: a browser
// passes over them within the note); it is never cleared. A text without
// "<" comes back as it is.
KINREAD_API QString safeNoteMarkup(const QString& html, bool& unsafe);
