#include "TreeText.h"

#include <cmath>

#include "foundation/AppError.h"

namespace {

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A whole text read as a number (blanks around it allowed); false when it is not one.
bool strictNumber(const QString& text, double& value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    value = t.toDouble(&ok);  // QString::toDouble is locale-free ("." separator)
    return ok && std::isfinite(value);
}

[[noreturn]] void typeMismatch(const QString& source) {
    throw AppError(kTypeMismatchError, source, QStringLiteral("Type mismatch"));
}

}  // namespace

bool isValidKeyName(const QString& text) {
    if (text.isEmpty() || !isAsciiLetter(text[0])) return false;
    for (QChar c : text)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'_' && c != u'-') return false;
    return true;
}

bool isBooleanText(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0 || t.compare(u"False", Qt::CaseInsensitive) == 0)
        return true;
    double v;
    return strictNumber(t, v);
}

bool toBoolean(const QString& text, const QString& source) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    double v;
    if (!strictNumber(t, v)) typeMismatch(source);
    return v != 0.0;
}

QString booleanText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

double singleValue(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r')) ++i;
    const int start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    int digits = 0;
    while (i < n && isAsciiDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isAsciiDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    int end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        int j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
        int expDigits = 0;
        while (j < n && isAsciiDigit(text[j])) ++j, ++expDigits;
        if (expDigits > 0) end = j;
    }
    QString number = text.mid(start, end - start);
    number.replace(u'd', u'e').replace(u'D', u'e');
    const double v = number.toDouble();
    return static_cast<double>(static_cast<float>(v));
}

double numberOrPercent(const QString& text, const QString& source) {
    if (text.endsWith(u'%')) {
        double v;
        if (!strictNumber(text.left(text.size() - 1), v)) typeMismatch(source);
        return static_cast<double>(static_cast<float>(v / 100.0));
    }
    return singleValue(text);
}

int toInteger16(const QString& text, const QString& source) {
    double v;
    if (!strictNumber(text, v)) typeMismatch(source);
    const double r = std::nearbyint(v);  // default rounding: halves to even
    if (r < -32768.0 || r > 32767.0) throw AppError(kOverflowError, source, QStringLiteral("Overflow"));
    return static_cast<int>(r);
}

bool isDigitRun(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!isAsciiDigit(c)) return false;
    return true;
}
