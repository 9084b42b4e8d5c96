#pragma once

#include <QString>

// The one paragraph in which the GEDCOM browser and the viewpoint manager
// describe a person: up to four texts (caption, known-as or tooltip lines,
// notes, family or membership lines), each trimmed of blanks (tabs and line
// feeds stay), joined by line feeds with empty ones skipped. Pairs of line
// feeds become one in a single pass from the left; when more than one line is
// left, every line is trimmed of blanks and closed with a full stop. The lines
// are joined by single blanks. Empty when all four texts are: the caller then
// shows nothing.
QString sPersonDetailsParagraph(const QString& s1, const QString& s2, const QString& s3, const QString& s4);
