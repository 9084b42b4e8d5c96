#include "ParseClass.h"

#include <climits>
#include <utility>

#include <QVarLengthArray>

#include "TextCoreErrors.h"

namespace {

// A pattern that matches one character, compiled once per operation.
class CharPattern {
public:
    explicit CharPattern(const QString& pattern) {
        const qsizetype n = pattern.size();
        if (n == 1) {
            const char16_t c = pattern[0].unicode();
            kind_ = c == u'#' ? Digit : c == u'?' ? Any : Literal;
            literal_ = c;
        } else if (n >= 2 && pattern[0] == u'[' && pattern[n - 1] == u']') {
            kind_ = Class;
            qsizetype i = 1;
            const qsizetype end = n - 1;
            if (i < end && pattern[i] == u'!') {
                negate_ = true;
                ++i;
            }
            while (i < end) {
                const char16_t c = pattern[i].unicode();
                if (i + 2 < end && pattern[i + 1] == u'-') {
                    ranges_.append({c, pattern[i + 2].unicode()});
                    i += 3;
                } else {
                    ranges_.append({c, c});  // also a hyphen first, last or after a range
                    ++i;
                }
            }
        }
        // Anything else (empty, or several characters that are not a class)
        // matches no single character.
    }

    bool matches(const QString& text, int pos) const {
        if (pos < 1 || pos > text.size()) return false;  // the end of the text matches nothing
        const char16_t c = text[pos - 1].unicode();
        switch (kind_) {
            case Digit: return c >= u'0' && c <= u'9';
            case Any: return true;
            case Literal: return c == literal_;
            case Class: {
                bool in = false;
                for (const auto& [lo, hi] : ranges_)
                    if (c >= lo && c <= hi) {
                        in = true;
                        break;
                    }
                return in != negate_;
            }
            default: return false;
        }
    }

private:
    enum Kind { None, Digit, Any, Literal, Class };
    Kind kind_ = None;
    char16_t literal_ = 0;
    bool negate_ = false;
    QVarLengthArray<std::pair<char16_t, char16_t>, 8> ranges_;
};

bool keywordAt(const QString& text, int pos, const QString& keyword, Qt::CaseSensitivity cs) {
    if (pos < 1 || pos > text.size() + 1) return false;
    return QStringView(text).mid(pos - 1).startsWith(keyword, cs);
}

}  // namespace

void ParseClass::SkipWhiteSpace(const QString& sText, int& iPos) const {
    while (iPos >= 1 && iPos <= sText.size() && (sText[iPos - 1] == u' ' || sText[iPos - 1] == u'\t')) ++iPos;
}

bool ParseClass::bParseChar(const QString& sText, int& iPos, const QString& sPattern, QString& sChar) const {
    SkipWhiteSpace(sText, iPos);
    if (!CharPattern(sPattern).matches(sText, iPos)) return false;
    sChar = QString(sText[iPos - 1]);
    ++iPos;
    return true;
}

bool ParseClass::bPeekChar(const QString& sText, const int& iPos, const QString& sPattern, QString& sChar) const {
    int pos = iPos;
    return bParseChar(sText, pos, sPattern, sChar);
}

bool ParseClass::bParseRun(const QString& sText, int& iPos, const QString& sPattern) const {
    const CharPattern pattern(sPattern);
    if (!pattern.matches(sText, iPos)) return false;
    ++iPos;
    while (pattern.matches(sText, iPos)) ++iPos;
    return true;
}

bool ParseClass::bSkipUntil(const QString& sText, int& iPos, const QString& sPattern) const {
    const CharPattern pattern(sPattern);
    while (iPos <= sText.size()) {
        if (pattern.matches(sText, iPos)) return true;
        ++iPos;
    }
    return false;
}

bool ParseClass::bParseKeyword(const QString& sText, int& iPos, const QString& sKeyword) const {
    SkipWhiteSpace(sText, iPos);
    if (!keywordAt(sText, iPos, sKeyword, Qt::CaseSensitive)) return false;
    iPos += int(sKeyword.size());
    return true;
}

bool ParseClass::bParseKeywordNoCase(const QString& sText, int& iPos, const QString& sKeyword) const {
    SkipWhiteSpace(sText, iPos);
    if (!keywordAt(sText, iPos, sKeyword, Qt::CaseInsensitive)) return false;
    iPos += int(sKeyword.size());
    return true;
}

bool ParseClass::bParseInteger(const QString& sText, int& iPos, int& iValue) const {
    SkipWhiteSpace(sText, iPos);
    const int start = iPos;
    if (!bParseRun(sText, iPos, QStringLiteral("#"))) return false;
    long long value = 0;
    for (int i = start; i < iPos; ++i) {
        value = value * 10 + (sText[i - 1].unicode() - u'0');
        if (value > INT_MAX)
            throw AppError(RuntimeError::Overflow, TextCoreError::scannerSource(), QStringLiteral("Overflow"));
    }
    iValue = int(value);
    return true;
}

bool ParseClass::bParseNumber(const QString& sText, int& iPos, double& dValue) const {
    SkipWhiteSpace(sText, iPos);
    const int start = iPos;
    bParseRun(sText, iPos, QStringLiteral("#"));
    QString point;
    if (bParseChar(sText, iPos, QStringLiteral("."), point)) bParseRun(sText, iPos, QStringLiteral("#"));
    if (iPos == start) return false;
    QByteArray number;
    for (int i = start; i < iPos; ++i)
        if (sText[i - 1] != u' ' && sText[i - 1] != u'\t') number.append(char(sText[i - 1].unicode()));
    bool ok = false;
    const double value = number.toDouble(&ok);  // "." whatever the locale
    dValue = ok ? value : 0.0;                  // a lone "." reads as 0
    return true;
}
