#pragma once

#include <QString>

#include "foundation/AppError.h"
#include "foundation/TextCoreErrors.h"

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

// True when the text holds a CR or LF, which no record of a tree definition
// file can hold.
bool hasLineBreak(const QString& text);
// True when the text can stand between the "|" signs of a record, as a
// person's caption and short caption and a viewpoint's name do: it holds
// neither "|" nor a line break.
bool fitsBetweenBars(const QString& text);
// The text with a blank for each line break (CR LF counting as one) and,
// when `bars`, for each "|": a text from elsewhere made fit for a record.
QString blanksForBreaks(const QString& text, bool bars);

// True for the errors a setting's value raises when it is no Boolean or
// number, or a number out of range.
inline bool isValueError(const AppError& e) {
    return e.number == RuntimeError::TypeMismatch || e.number == RuntimeError::Overflow;
}
// `read` applied to the value of the setting `name`; a value error it raises
// names the setting after its own message, so that a user can find it.
template <typename Read>
auto readSetting(const QString& name, const QString& value, Read read) -> decltype(read(value)) {
    try {
        return read(value);
    } catch (AppError& e) {
        if (isValueError(e)) e.description += QStringLiteral(" in setting ") + name + u'=' + value;
        throw;
    }
}
