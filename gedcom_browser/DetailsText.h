#pragma once

#include <QString>

// The short description of a person that the GEDCOM browser and the
// viewpoint manager show: a caption, a known-as line and notes made into one
// paragraph.

// "Known as: " and the personal names ("|"-separated, surnames between "/"
// signs) with ", " between names and no "/"; "" when there are none.
QString sKnownAsText(const QString& sPersonalNames);

// The four texts, each trimmed, joined by line feeds where not empty; double
// line feeds made single; with two lines or more each line trimmed and ended
// with a full stop; the lines joined by single blanks. "" when all are empty.
QString sDetailsParagraph(const QString& sText1, const QString& sText2, const QString& sText3,
                          const QString& sText4);
