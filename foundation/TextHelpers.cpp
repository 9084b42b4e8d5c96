#include "TextHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "TextCoreErrors.h"

bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads a decimal number ("." separator, optional sign and exponent) from the
// start of s, skipping spaces, tabs and line breaks anywhere in it. Returns the
// value and how many characters of s it used (0 when no number was found).
struct Scanned {
    double value = 0;
    qsizetype used = 0;
};

Scanned scanNumber(QStringView s) {
    QByteArray text;  // the number's characters without blanks
    qsizetype i = 0, used = 0;
    const auto skipBlanks = [&] {
        while (i < s.size() && (isBlank(s[i]) || s[i] == u'\n' || s[i] == u'\r')) ++i;
    };
    skipBlanks();
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        text.append(char(s[i].unicode()));
        ++i;
        skipBlanks();
    }
    bool digits = false, point = false;
    while (i < s.size()) {
        if (isAsciiDigit(s[i])) {
            digits = true;
        } else if (s[i] == u'.' && !point) {
            point = true;
        } else if (!isBlank(s[i]) && s[i] != u'\n' && s[i] != u'\r') {
            break;
        }
        if (!isBlank(s[i]) && s[i] != u'\n' && s[i] != u'\r') text.append(char(s[i].unicode()));
        ++i;
        if (digits) used = i;
    }
    if (!digits) return {};
    // An exponent: E or D, an optional sign and at least one digit.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent.append(char(s[j++].unicode()));
        const qsizetype firstDigit = j;
        while (j < s.size() && isAsciiDigit(s[j])) exponent.append(char(s[j++].unicode()));
        if (j > firstDigit) {
            text += exponent;
            used = j;
        }
    }
    bool ok = false;
    const double value = QByteArray(text).toDouble(&ok);
    return ok ? Scanned{value, used} : Scanned{};
}

// The whole text (surrounding blanks allowed) as a number, or nothing.
std::optional<double> wholeNumber(const QString& s) {
    const QString t = s.trimmed();
    if (t.isEmpty() || t.contains(u' ') || t.contains(u'\t')) return std::nullopt;
    const Scanned n = scanNumber(t);
    if (n.used != t.size()) return std::nullopt;
    return n.value;
}

// "&#x" + the code point in upper-case hexadecimal, at least four digits, + ";".
void appendReference(QString& out, char32_t codePoint) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    char16_t digits[6];
    int n = 0;
    for (char32_t v = codePoint; v != 0 || n < 4; v >>= 4) digits[n++] = kHex[v & 0xF];
    out += QStringLiteral("&#x");
    while (n > 0) out += QChar(digits[--n]);
    out += u';';
}

}  // namespace

bool bAlwaysFalse() { return false; }

QString sGetVersion() {
    return QStringLiteral("V%1.%2.%3").arg(KV_VERSION_MAJOR).arg(KV_VERSION_MINOR).arg(KV_VERSION_PATCH);
}

QString sStringFromPtr(const void* p, qsizetype n) {
    if (!p || n <= 0) return QString();
    QString out(n, Qt::Uninitialized);
    std::memcpy(out.data(), p, std::size_t(n) * sizeof(char16_t));
    return out;
}

QString sEscapeXML(const QString& s) {
    const auto special = [](QChar c) { return c == u'&' || c == u'>' || c == u'<' || c == u'"' || c == u'\''; };
    if (std::none_of(s.begin(), s.end(), special)) return s;
    QString out;
    out.reserve(s.size() + s.size() / 8);
    for (QChar c : s) {
        switch (c.unicode()) {
            case u'&': out += QStringLiteral("&amp;"); break;
            case u'>': out += QStringLiteral("&gt;"); break;
            case u'<': out += QStringLiteral("&lt;"); break;
            case u'"': out += QStringLiteral("&quot;"); break;
            case u'\'': out += QStringLiteral("&apos;"); break;
            default: out += c;
        }
    }
    return out;
}

QString escapeAttributeValue(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        switch (c.unicode()) {
            case u'"': out += QStringLiteral("&quot;"); break;
            case u'\'': out += QStringLiteral("&apos;"); break;
            case u'<': out += QStringLiteral("&lt;"); break;
            case u'>': out += QStringLiteral("&gt;"); break;
            case u'\t': out += QStringLiteral("&#9;"); break;
            case u'\n': out += QStringLiteral("&#10;"); break;
            case u'\r': out += QStringLiteral("&#13;"); break;
            default: out += c;
        }
    }
    return out;
}

QString sUnescapeXML(const QString& s) {
    QString out = s;
    out.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    out.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    out.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    out.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    out.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return out;
}

QString sReescapeXML(const QString& s) { return sEscapeXML(sUnescapeXML(s)); }

namespace {

// How many UTF-16 units from i make a character XML allows: 2 for a
// surrogate pair, 1 for a single unit, 0 for a unit XML does not allow (a
// control other than TAB, LF and CR, a lone surrogate, U+FFFE, U+FFFF).
int xmlCharacterUnits(const QString& s, qsizetype i) {
    const char16_t c = s[i].unicode();
    if (c < 32) return c == u'\t' || c == u'\n' || c == u'\r' ? 1 : 0;
    if (QChar::isHighSurrogate(c)) return i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode()) ? 2 : 0;
    if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) return 0;
    return 1;
}

}  // namespace

QString sEncodeNonASCII(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\t' || (c >= 32 && c < 128)) {
            out += QChar(c);
            continue;
        }
        switch (xmlCharacterUnits(s, i)) {
            case 0: appendReference(out, 0xFFFD); break;  // not allowed in XML
            case 2:
                appendReference(out, QChar::surrogateToUcs4(c, s[i + 1].unicode()));
                ++i;
                break;
            default: appendReference(out, c);
        }
    }
    return out;
}

QString withXMLCharacters(const QString& s) {
    QString out = s;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const int units = xmlCharacterUnits(out, i);
        if (units == 0) out[i] = QChar(0xFFFD);
        else i += units - 1;
    }
    return out;
}

QString sAddFullStop(const QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == u' ') --end;
    QString out = s.left(end);
    if (!out.isEmpty() && !out.endsWith(u'.')) out += u'.';
    return out;
}

QString sTrimWhite(const QString& s) {
    qsizetype start = 0, end = s.size();
    while (start < end && isBlank(s[start])) ++start;
    while (end > start && isBlank(s[end - 1])) --end;
    return s.mid(start, end - start);
}

QString trimBlanks(const QString& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ') ++start;
    while (end > start && text[end - 1] == u' ') --end;
    return text.mid(start, end - start);
}

QString sFirstLine(const QString& s) {
    const qsizetype lf = s.indexOf(u'\n');
    return lf < 0 ? QString() : s.left(lf);
}

namespace {
bool isNameChar(QChar c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == u'_' || c == u'-'; }
}  // namespace

bool bValidName(const QString& s) {
    if (s.isEmpty() || !isAsciiLetter(s[0])) return false;
    for (QChar c : s)
        if (!isNameChar(c)) return false;
    return true;
}

QString sMakeValidName(const QString& s, const QString& prefix) {
    QString name = s;
    for (QChar& c : name)
        if (!isNameChar(c)) c = u'_';
    if (name.isEmpty() || !isAsciiLetter(name[0])) name.prepend(prefix);
    return name;
}

QString sFormatNum(double value) {
    // Rounded to three decimals, then a third decimal of 0 is dropped.
    QString text = QString::number(value, 'f', 3);  // always "." whatever the locale
    if (text.endsWith(u'0')) text.chop(1);
    if (text == QLatin1String("-0.00")) text = QStringLiteral("0.00");
    return text;
}

QString sFormatPct(double fraction) { return sFormatNum(fraction * 100) + u'%'; }

float sngVal(const QString& s) { return static_cast<float>(scanNumber(s).value); }

float sngNumOrPct(const QString& s) {
    if (s.endsWith(u'%')) {
        const std::optional<double> n = wholeNumber(s.left(s.size() - 1));
        if (!n) throw AppError(RuntimeError::TypeMismatch, QStringLiteral("sngNumOrPct"), QStringLiteral("Type mismatch"));
        return static_cast<float>(*n / 100);
    }
    return sngVal(s);
}

bool bIsNumber(const QString& s) {
    if (s.isEmpty()) return false;
    int digits = 0, points = 0;
    for (QChar c : s) {
        if (isAsciiDigit(c)) ++digits;
        else if (c == u'.') ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

bool bIsNumOrPct(const QString& s) {
    if (s.isEmpty()) return false;
    return bIsNumber(s.endsWith(u'%') ? s.left(s.size() - 1) : s);
}

bool bIsBoolean(const QString& s) {
    const QString t = s.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return true;
    return wholeNumber(s).has_value();
}

bool bIsInteger(const QString& s) {
    const std::optional<double> n = wholeNumber(s);
    if (!n) return false;
    const double rounded = std::nearbyint(*n);  // halves to even, as integer conversion does
    return rounded >= -32768 && rounded <= 32767;
}

bool bIsLeapYear(int iYear) { return (iYear % 4 == 0 && iYear % 100 != 0) || iYear % 400 == 0; }

int iDaysInMonth(int iMonth, int iYear) {
    switch (iMonth) {
        case 2: return bIsLeapYear(iYear) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        default: return 31;
    }
}
