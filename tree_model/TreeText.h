#pragma once

#include <QString>

// Text rules the tree model applies to keys, setting values and numbers.

// Runtime error numbers raised where a setting text cannot be converted.
inline constexpr int kTypeMismatchError = 13;
inline constexpr int kOverflowError = 6;

// The key rule: an ASCII letter, then ASCII letters, digits, "_" and "-".
bool isValidKeyName(const QString& text);

// Whether the Boolean conversion accepts the text: "True" or "False" in any
// letter case, or a number (non-zero is True). Blanks around it are allowed.
bool isBooleanText(const QString& text);
// The Boolean value of a text; raises the type-mismatch error (with `source`)
// when the text is not accepted.
bool toBoolean(const QString& text, const QString& source);
// "True" or "False".
QString booleanText(bool value);

// The text's leading decimal number ("." separator, leading blanks skipped,
// reading stops where a number cannot go on), 0 when there is none; held with
// single precision.
double singleValue(const QString& text);
// A text ending in "%" is the number before it divided by 100 (that part must
// be a number, else the type-mismatch error); any other text as singleValue.
double numberOrPercent(const QString& text, const QString& source);
// A whole number from -32768 to 32767: the text must be a number (rounded to
// the nearest, halves to even), else the type-mismatch error; outside the
// range the overflow error.
int toInteger16(const QString& text, const QString& source);

// A non-empty run of decimal digits.
bool isDigitRun(const QString& text);
