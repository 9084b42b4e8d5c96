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
// attribute a kept element may not have is left out. A "<" that begins no
// tag is escaped.
//
// The note is read as a browser reads it, and what is kept is written so
// that a browser reads it as it was read here:
// - Characters that the chart's file writes as U+FFFD (controls other than
//   tab, line feed and carriage return, among them the form feed that a
//   browser takes for white space inside a tag) are U+FFFD before anything
//   is read, in tags as in text.
// - Tag and attribute names end at white space, "/" or ">". A comment ends
//   at "-->" or "--!>" ("<!-->" and "<!--->" are empty ones); "<?...>",
//   "<!...>" and "</" followed by neither a letter nor ">" are bogus
//   comments up to the first ">"; "</>" is nothing. All of these are left
//   out, a comment without its end up to the end of the note.
// - What follows the start tag of a script, style, textarea, title, xmp,
//   iframe, noembed, noframes or noscript is that element's text up to its
//   own end tag (a script's by a script's rules), and after plaintext all
//   the rest is text: it is shown as text, as its tags are.
// - Every kept tag is written anew: its name in lower case, then each
//   attribute it may carry as ` name="value"`, the value as written with
//   quotes, "<", ">" and white space controls as references; nothing else.
// So every word outside comments stays in the note. Inline SVG and MathML
// are read as HTML too: a CDATA section in them is taken for a bogus comment.
//
// The kept mark-up is balanced on its own, since a chart sets each note
// inside an element of its page: an end tag that closes nothing the note
// opened is left out ("</br>" is a line break, as to a browser), an end tag
// closes first what was opened inside its element, the end tags a browser
// would supply itself (an open paragraph before a new block, ...) are
// written, and what the note leaves open is closed at its end. "<b/>" opens
// an element, as in a browser.
//
// `unsafe` is set when mark-up was shown as text or left out (a comment, a
// bogus comment, an attribute named twice and an end tag that closes
// nothing aside: a browser passes over them within the note); it is never
// cleared. A text without "<" comes back as it is.
KINREAD_API QString safeNoteMarkup(const QString& html, bool& unsafe);
