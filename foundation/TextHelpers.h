#pragma once

#include <iterator>
#include <type_traits>
#include <utility>

#include <QString>

// Small text, XML, name, number and date helpers used throughout the system.
// Numbers are read and written with "." as the decimal separator whatever the
// user's locale.

// ---- Arrays and values --------------------------------------------------------

// Number of elements of a container; 0 for an empty one.
template <typename Container>
int iArraySize(const Container& array) {
    return static_cast<int>(std::size(array));
}

// The largest of the values, in their common type (numbers compare
// numerically); the first of equal maxima wins.
template <typename T, typename... Rest>
std::common_type_t<T, Rest...> vMaxOfArray(T first, Rest... rest) {
    using R = std::common_type_t<T, Rest...>;
    R best = R(std::move(first));
    ((R(rest) > best ? void(best = R(rest)) : void()), ...);
    return best;
}

// False: a switch that keeps unfinished features hidden.
bool bAlwaysFalse();

// "V" + major + "." + minor + "." + revision of the program's version.
QString sGetVersion();

// A string of n UTF-16 code units copied from a byte address.
QString sStringFromPtr(const void* p, qsizetype n);

// ---- XML and text -----------------------------------------------------------

// "&", ">", "<", the double quote and "'" as entity references, in that order.
QString sEscapeXML(const QString& s);
// Text for a quoted attribute value of HTML or XML: the quotes, "<", ">"
// and the white space controls (tab, line feed, carriage return) as
// character references, so that the value neither ends early nor breaks its
// tag's line; "&" and the references the text holds are left as they are.
QString escapeAttributeValue(const QString& s);
// The five entity references of sEscapeXML back to characters ("&amp;" last).
QString sUnescapeXML(const QString& s);
// Escapes text that may already hold those entities exactly once.
QString sReescapeXML(const QString& s);
// Every character below 32 other than TAB, and every character from 128 up, as
// a hexadecimal character reference ("&#x" + at least four upper-case digits +
// ";"). A surrogate pair is written as one reference to its code point;
// characters XML does not allow (other controls, lone surrogates, U+FFFE,
// U+FFFF) are written as U+FFFD.
QString sEncodeNonASCII(const QString& s);
// The text with each character that sEncodeNonASCII writes as U+FFFD (the
// controls other than TAB, LF and CR, lone surrogates, U+FFFE and U+FFFF)
// replaced by U+FFFD, so that text can be read as the file written from it
// will read.
QString withXMLCharacters(const QString& s);
// Trailing spaces removed; "." appended unless the result is empty or ends with ".".
QString sAddFullStop(const QString& s);
// Leading and trailing spaces and tabs removed.
QString sTrimWhite(const QString& s);
// Leading and trailing spaces removed; other white space stays.
QString trimBlanks(const QString& text);
// The text before the first line feed; "" when the text holds none.
QString sFirstLine(const QString& s);
// The key rule: an ASCII letter, then ASCII letters, digits, "_" and "-".
bool bValidName(const QString& s);
// A name the key rule accepts, made from s: every character the rule does not
// allow becomes "_", and a name that would not begin with an ASCII letter
// gets `prefix` (which must begin with one) in front.
QString sMakeValidName(const QString& s, const QString& prefix);
// "A" to "Z" and "a" to "z"; "0" to "9".
bool isAsciiLetter(QChar c);
bool isAsciiDigit(QChar c);

// ---- Numbers, independent of the locale -------------------------------------

// The number with two or three decimals ("0.00#"), "." as decimal separator.
QString sFormatNum(double value);
// sFormatNum of the fraction times 100, followed by "%".
QString sFormatPct(double fraction);
// The number at the start of the text (blanks ignored); 0 when there is none.
float sngVal(const QString& s);
// "25%" gives 0.25; otherwise sngVal. A part before "%" that is not a number
// raises the type-mismatch error.
float sngNumOrPct(const QString& s);
// Not empty, only digits and ".", at least one digit, at most one ".".
bool bIsNumber(const QString& s);
// bIsNumber of the text without one trailing "%"; False for "".
bool bIsNumOrPct(const QString& s);
// "True" or "False" in any letter case, or a number.
bool bIsBoolean(const QString& s);
// A number that rounds into a signed 16-bit integer.
bool bIsInteger(const QString& s);

// ---- Dates --------------------------------------------------------------------

bool bIsLeapYear(int iYear);
// 28 or 29 for month 2, 30 for months 4, 6, 9 and 11, 31 for every other value.
int iDaysInMonth(int iMonth, int iYear);
