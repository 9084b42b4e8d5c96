#pragma once

#include <QString>

#include "KinreadExport.h"

// Readable texts and sort keys of the system's date text («1850-03-15»,
// «ABT 1850», «BET 1850 AND 1860», «1700J», «1731-02-11D», or a text kept in
// GEDCOM form beginning with "@"). Month and weekday names are English
// whatever the locale. The document offers these to its records.

// One date word: «1850», «March, 1850», «Friday March 15, 1850»,
// «March 15, 1700 [J]», «Saturday February 10, 1731/32». A word that is not a
// date word comes back as it is.
KINREAD_API QString sFormatDate(const QString& sDate);

// A whole date text in words: «before 1850», «between 1850 and 1860»;
// "(Date?)" for a text kept in GEDCOM form.
KINREAD_API QString sGetEventDate(const QString& sDate);

// The joining text between an event's verb and its date: " on " before a
// full date, " in " before a year, a month or a date kept in GEDCOM form,
// otherwise a single blank.
KINREAD_API QString sGetEventPhrase(const QString& sDate);

// The short year of a caption: «1850», «c1850» for any qualified date or
// range, "Date?" for a text kept in GEDCOM form.
KINREAD_API QString sGetCaptionDate(const QString& sDate);

// The sort part of one date word: the word without its suffix letter, padded
// to «YYYY-MM-DD» with "00", followed by a calendar digit (1 Julian, 2 plain,
// 3 dual year). The word itself comes back without suffix and padded.
KINREAD_API QString sDateSortPart(QString& sWord);

// The key that orders date texts as text (ordinal comparison): for the same
// date before, to, calculated, about, estimated, plain, between, from-to,
// from, after; "??" for an empty text or one kept in GEDCOM form.
KINREAD_API QString sDateSortKey(const QString& sDate);
