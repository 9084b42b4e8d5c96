#pragma once

#include <QString>

// Conversions the tree model applies to setting texts and keys.

// The Boolean value of a text ("True" or "False" in any letter case, or a
// number, non-zero being True); raises the type-mismatch error (with
// `source`) when the text is neither.
bool toBoolean(const QString& text, const QString& source);
// "True" or "False".
QString booleanText(bool value);
// A whole number from -32768 to 32767: the text must be a number (rounded to
// the nearest, halves to even), else the type-mismatch error; outside the
// range the overflow error.
int toInteger16(const QString& text, const QString& source);
// A non-empty run of decimal digits.
bool isDigitRun(const QString& text);
// The text without the spaces at both ends (other white space stays).
QString trimBlanks(const QString& text);
