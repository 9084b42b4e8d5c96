#pragma once

#include <QString>

// The one paragraph in which a window describes a person: up to four texts
// (caption, tooltip or notes lines, membership or family lines), each trimmed
// of blanks, joined by line feeds with empty ones skipped. Runs of two line
// feeds become one; when more than one line is left, every line is trimmed and
// closed with a full stop. The lines are joined by single blanks. Empty when
// all four texts are empty: the caller then shows nothing.
QString sPersonDetailsParagraph(const QString& s1, const QString& s2, const QString& s3, const QString& s4);
