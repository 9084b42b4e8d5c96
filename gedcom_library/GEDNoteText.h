#pragma once

#include <QString>

#include "KinreadExport.h"

// Helpers the records use when they turn GEDCOM text into notes, captions and
// picture links.

// True when the text holds an HTML end tag or line break ("</a>", "</p>",
// "</b>", "</i>", "</u>", "<br>", "<br/>", "</div>", "</span>"), in any case.
KINREAD_API bool bHasHTMLEndTag(const QString& sText);
// True when the text holds one of the five XML entities, in any case.
KINREAD_API bool bHasHTMLEntity(const QString& sText);
// Text that already looks like HTML comes back with the mark-up a note may
// hold (see safeNoteMarkup; `pUnsafe`, when given, is set when anything else
// was shown as text or left out); any other text is XML-escaped.
KINREAD_API QString sNoteTextToHTML(const QString& sText, bool* pUnsafe = nullptr);
// The text without its mark-up tags, entities turned back into characters.
// A "<" that no ">" follows is kept as text, with the rest of the text.
KINREAD_API QString sStripHTML(const QString& sText);
// An image-redirect link of the outside genealogy service rewritten to the
// service's media link of the same image; any other URL unchanged.
KINREAD_API QString sCorrectImageURL(const QString& sURL);
// True when the text is longer than two characters and begins with an ASCII letter.
KINREAD_API bool bStartsWithLetter(const QString& sText);
