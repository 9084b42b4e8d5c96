// Date conversion of the control object: GEDCOM DATE payloads to the system's
// date text and back. Month names are GEDCOM's English abbreviations and
// every number is read and written without regard to the locale.

#include "GEDControlClass.h"

#include <algorithm>

#include <QStringList>

#include "AppError.h"
#include "GEDDateDigits.h"

namespace {

constexpr int kDateErrorOffset = 514;
const QString kSource = QStringLiteral("GEDControlClass");
const QString kGregorianEscape = QStringLiteral("@#DGREGORIAN@");
const QString kJulianEscape = QStringLiteral("@#DJULIAN@");
const QString kMonthLetters = QStringLiteral("JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC");

[[noreturn]] void failDate(const QString& description) { raiseError(kDateErrorOffset, kSource, description); }

QString quotedWords(const QStringList& words) {
    return QLatin1Char('"') + words.join(QLatin1Char(' ')) + QLatin1Char('"');
}

[[noreturn]] void failSyntax(const QStringList& words) {
    failDate(QStringLiteral("Bad date syntax: ") + quotedWords(words));
}

QString twoCharacters(const QString& s) { return s.size() == 1 ? QLatin1Char('0') + s : s; }

// The month of a GEDCOM month word: 1 to 12 for one of the twelve
// three-letter names (the long names were replaced by these before), 0 for
// any other word.
short iMonthNumber(const QString& word) {
    if (word.size() != 3)
        return 0;
    const qsizetype p = kMonthLetters.indexOf(word);
    return p < 0 || p % 3 != 0 ? 0 : static_cast<short>(p / 3 + 1);
}

// "185?" means the decade, "1850?" about that year; "FROM ABT" keeps FROM.
QString sFixUncertainDate(const QString& s) {
    const qsizetype q = s.indexOf(QLatin1Char('?'));
    if (q >= 0 && q == s.size() - 1) {
        if (s.size() == 4)
            return QStringLiteral("FROM %1%2 TO %1%3").arg(s.left(3), QStringLiteral("0"), QStringLiteral("9"));
        if (s.size() == 5)
            return QStringLiteral("ABT ") + s.left(4);
        return s;
    }
    if (s.startsWith(QLatin1String("FROM ABT ")))
        return QStringLiteral("FROM ") + s.mid(9);
    return s;
}

bool isBeforeChrist(const QString& word) {
    return word.endsWith(QLatin1String("BC")) || word.endsWith(QLatin1String("B.C."));
}

// One date from the words first..last: "YYYY", "YYYY-MM" or "YYYY-MM-DD",
// then "J" for a Julian date or "D" for a dual year.
QString sCvtGEDDate(const QStringList& words, qsizetype first, qsizetype last, bool julian, short minYear) {
    if (first < 0 || first > last || last >= words.size())
        failSyntax(words);
    const QString& yearWord = words.at(last);
    QString year = yearWord;
    bool dual = false;
    const qsizetype slash = yearWord.indexOf(u'/');
    if (!julian && slash >= 1 && slash <= 4) {
        year = yearWord.left(slash);
        dual = true;
    }
    QString date;
    if (year.size() == 10 && first == last) {
        // An ISO date, taken as it stands once its shape is sound.
        if (year.at(4) != u'-' || year.at(7) != u'-')
            failSyntax(words);
        const QString month = year.mid(5, 2);
        if (!bAllDigits(year.left(4)) || !bAllDigits(month) || !bAllDigits(year.mid(8, 2)) || month.toInt() < 1 ||
            month.toInt() > 12)
            failSyntax(words);
        date = year;
    } else {
        // Years of one to three digits are as valid as four; the date text
        // always writes four.
        if (year.isEmpty() || year.size() > 4 || !bAllDigits(year))
            failSyntax(words);
        year = year.rightJustified(4, u'0');
        const int yearNumber = year.toInt();
        if (yearNumber < minYear || yearNumber > 2500)
            failDate(QStringLiteral("Bad date year: ") + quotedWords(words));
        if (first < last - 2)
            failSyntax(words);
        if (first == last - 2) {
            QString day = words.at(first);
            short month = iMonthNumber(words.at(first + 1));
            if (month == 0) {
                month = iMonthNumber(words.at(first));
                if (month == 0)
                    failSyntax(words);
                day = words.at(first + 1);
            }
            if (day.size() > 2 || !bAllDigits(day))
                failSyntax(words);
            date = year + QLatin1Char('-') + twoCharacters(QString::number(month)) + QLatin1Char('-') + twoCharacters(day);
        } else if (first == last - 1) {
            const short month = iMonthNumber(words.at(first));
            if (month == 0)
                failSyntax(words);
            date = year + QLatin1Char('-') + twoCharacters(QString::number(month));
        } else {
            date = year;
        }
    }
    if (julian)
        date += QLatin1Char('J');
    if (dual)
        date += QLatin1Char('D');
    return date;
}

QString monthAbbreviation(const QString& field, const QString& text) {
    bool ok = false;
    const int month = field.toInt(&ok);
    if (!ok || month < 1 || month > 12)
        failDate(QStringLiteral("Bad date text: \"") + text + QLatin1Char('"'));
    return kMonthLetters.mid((month - 1) * 3, 3);
}

// One date word of the date text ("1850-03-05", "1700J", "1731-02-11D") as a
// GEDCOM date.
QString sCvtDatePart(const QString& sPart) {
    QString w = sPart;
    bool julian = false;
    bool dual = false;
    if (w.endsWith(QLatin1Char('J'))) {
        julian = true;
        w.chop(1);
    } else if (w.endsWith(QLatin1Char('D'))) {
        dual = true;
        w.chop(1);
    }
    const QStringList fields = w.split(QLatin1Char('-'));
    QString result;
    switch (fields.size()) {
    case 1:
        result = fields.at(0);
        break;
    case 2:
        result = monthAbbreviation(fields.at(1), sPart) + QLatin1Char(' ') + fields.at(0);
        break;
    case 3:
        result = fields.at(2) + QLatin1Char(' ') + monthAbbreviation(fields.at(1), sPart) + QLatin1Char(' ') + fields.at(0);
        break;
    default:
        return QString();
    }
    if (julian)
        return QStringLiteral("@#DJULIAN@ ") + result;
    if (dual) {
        bool ok = false;
        const int year = fields.at(0).toInt(&ok);
        if (!ok)
            failDate(QStringLiteral("Bad date text: \"") + sPart + QLatin1Char('"'));
        result += QLatin1Char('/') + QString::number(year + 1).right(2);
    }
    return result;
}

bool isRangeWord(const QString& word) { return word == QLatin1String("TO") || word == QLatin1String("AND"); }

// The shapes nearly every file writes, in their tidy form: an optional
// qualifier, then "YYYY", "MON YYYY" or "D MON YYYY" (a day of one or two
// digits), optionally a range word and a second such date, single blanks
// between the words, upper case and nothing else. Gives the same date text
// as the general reading below, without splitting the text into words; false
// (and the general reading) for anything else, failures included.
bool bPlainDate(QStringView s, short minYear, QString& out) {
    if (s.size() < 4 || s.size() > 40)
        return false;
    // The words, each of upper-case letters and digits, single blanks between.
    QStringView words[8];
    qsizetype count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size()) {
            const char16_t u = s[i].unicode();
            if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
                continue;
            if (u != u' ')
                return false;
        }
        if (i == start || count == 8)
            return false;
        words[count++] = s.sliced(start, i - start);
        start = i + 1;
    }
    char16_t buf[64];
    qsizetype n = 0;
    const auto put = [&](QStringView w) {
        for (QChar c : w)
            buf[n++] = c.unicode();
    };
    // One date from the words first..last.
    const auto date = [&](qsizetype first, qsizetype last) {
        if (first > last || last - first > 2)
            return false;
        const QStringView year = words[last];
        if (year.size() != 4 || !bAllDigits(year))
            return false;
        const int yearNumber = year.toInt();
        if (yearNumber < minYear || yearNumber > 2500)
            return false;
        put(year);
        if (first == last)
            return true;
        const QStringView month = words[last - 1];
        const qsizetype m = month.size() == 3 ? kMonthLetters.indexOf(month) : -1;
        if (m < 0 || m % 3 != 0)
            return false;
        const int monthNumber = static_cast<int>(m / 3 + 1);
        buf[n++] = u'-';
        buf[n++] = static_cast<char16_t>(u'0' + monthNumber / 10);
        buf[n++] = static_cast<char16_t>(u'0' + monthNumber % 10);
        if (first == last - 1)
            return true;
        const QStringView day = words[first];
        if (day.size() > 2 || !bAllDigits(day))
            return false;
        buf[n++] = u'-';
        if (day.size() == 1)
            buf[n++] = u'0';
        put(day);
        return true;
    };
    static const char16_t* const kQualifierWords[] = {u"ABT", u"CAL", u"EST", u"FROM", u"TO", u"BEF", u"AFT", u"BET"};
    qsizetype first = 0;
    for (const char16_t* q : kQualifierWords) {
        if (words[0] == QStringView(q)) {
            put(words[0]);
            buf[n++] = u' ';
            first = 1;
            break;
        }
    }
    qsizetype split = first;
    while (split < count && words[split] != u"TO" && words[split] != u"AND")
        ++split;
    if (!date(first, split - 1))
        return false;
    if (split < count) {
        buf[n++] = u' ';
        put(words[split]);
        buf[n++] = u' ';
        if (!date(split + 1, count - 1))
            return false;
    }
    out = QString(reinterpret_cast<const QChar*>(buf), n);
    return true;
}

}  // namespace

QString GEDControlClass::sDateGED2SVG(const QString& sDateString) {
    QString heldEscape;
    {
        QString plain;
        if (bPlainDate(sDateString, iMinValidDate, plain))
            return plain;
    }
    try {
        if (sDateString.isEmpty())
            failDate(QStringLiteral("Empty date"));

        // A phrase in brackets at the end is free text: calendar escapes are
        // looked for only before it.
        QString text = sDateString.trimmed();
        QString phraseTail;
        const qsizetype phraseStart = text.indexOf(QLatin1Char('('));
        if (phraseStart >= 0 && text.endsWith(QLatin1Char(')'))) {
            phraseTail = text.mid(phraseStart);
            text.truncate(phraseStart);
        }
        // Calendar escapes: each is taken out of the text with the blanks
        // after it; two different ones conflict.
        for (;;) {
            const qsizetype at = text.indexOf(QLatin1Char('@'));
            if (at < 0)
                break;
            const qsizetype close = text.indexOf(QLatin1Char('@'), at + 1);
            const QString escape = close < 0 ? text.mid(at) : text.mid(at, close - at + 1);
            if (!heldEscape.isEmpty() && escape != heldEscape)
                failDate(QStringLiteral("Conflicting calendar escapes: ") + heldEscape + QStringLiteral(" and ") + escape);
            heldEscape = escape;
            qsizetype end = at + escape.size();
            while (end < text.size() && text.at(end) == u' ')
                ++end;
            text.remove(at, end - at);
        }
        text = (text + phraseTail).trimmed();

        // A date phrase in brackets keeps its case.
        bool hasPhrase = false;
        QString phrase;
        const qsizetype open = text.indexOf(QLatin1Char('('));
        if (open >= 0 && text.endsWith(QLatin1Char(')'))) {
            hasPhrase = true;
            phrase = text.mid(open + 1, text.size() - open - 2);
            text = text.left(open);
        }
        text = sFixUncertainDate(text.toUpper().simplified());

        QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& word : words) {
            if (word.endsWith(QLatin1Char(',')))
                word.chop(1);
            if (word.endsWith(QLatin1Char('.')) && word != QLatin1String("B.C."))
                word.chop(1);
            word = dateKeywords.value(word, word);
        }
        const QString shownEscape = heldEscape.isEmpty() ? kGregorianEscape : heldEscape;
        const QString joined = words.join(QLatin1Char(' '));

        if (hasPhrase) {
            const QString intro = (!words.isEmpty() && words.first() != QLatin1String("INT")) ? QStringLiteral("INT ") : QString();
            return shownEscape + intro + joined + QLatin1Char('(') + phrase + QLatin1Char(')');
        }
        if (std::any_of(words.cbegin(), words.cend(), isBeforeChrist))
            return shownEscape + joined;
        // The Gregorian and Julian escapes are dropped before the date itself
        // is read, so a failure from here on shows the Gregorian form.
        bool julian = false;
        if (heldEscape == kGregorianEscape) {
            heldEscape.clear();
        } else if (heldEscape == kJulianEscape) {
            heldEscape.clear();
            julian = true;
        }
        if (words.isEmpty())
            failSyntax(words);
        if (!heldEscape.isEmpty())
            return heldEscape + joined;

        static const QStringList kQualifiers = {
            QStringLiteral("ABT"), QStringLiteral("CAL"), QStringLiteral("EST"), QStringLiteral("FROM"),
            QStringLiteral("TO"),  QStringLiteral("BEF"), QStringLiteral("AFT"), QStringLiteral("BET"),
        };
        qsizetype start = 0;
        QString result;
        if (kQualifiers.contains(words.first())) {
            start = 1;
            result = words.first() + QLatin1Char(' ');
        }
        qsizetype split = start;
        while (split < words.size() && !isRangeWord(words.at(split)))
            ++split;
        result += sCvtGEDDate(words, start, split - 1, julian, iMinValidDate);
        if (split < words.size())
            result += QLatin1Char(' ') + words.at(split) + QLatin1Char(' ') +
                      sCvtGEDDate(words, split + 1, words.size() - 1, julian, iMinValidDate);
        return result;
    } catch (const AppError& failure) {
        ReportMsg(failure.description + QStringLiteral(" (record no. ") + QString::number(lLineCounter) + QLatin1Char(')'), true);
        return (heldEscape.isEmpty() ? kGregorianEscape : heldEscape) + QLatin1Char('(') + sDateString + QLatin1Char(')');
    }
}

QString GEDControlClass::sDateSVG2GED(const QString& sDateString) const {
    const QString& s = sDateString;
    if (s.startsWith(QLatin1Char('@'))) {
        // A date kept in GEDCOM form gets back the blank after its escape.
        const qsizetype close = s.indexOf(QLatin1Char('@'), 1);
        if (close < 0)
            return QLatin1Char(' ') + s;
        return s.left(close + 1) + QLatin1Char(' ') + s.mid(close + 1);
    }
    if (s.isEmpty())
        return QString();
    const QStringList words = s.split(QLatin1Char(' '));
    const QChar blank(u' ');
    switch (words.size()) {
    case 1:
        if (s.startsWith(QLatin1Char('c')))
            return QStringLiteral("ABT ") + sCvtDatePart(s.mid(1));
        return sCvtDatePart(s);
    case 2:
        return words.at(0) + blank + sCvtDatePart(words.at(1));
    case 3:
        // A range whose FROM was missing: "1850 TO 1860".
        if (isRangeWord(words.at(1)))
            return sCvtDatePart(words.at(0)) + blank + words.at(1) + blank + sCvtDatePart(words.at(2));
        return QString();
    case 4:
        return words.at(0) + blank + sCvtDatePart(words.at(1)) + blank + words.at(2) + blank + sCvtDatePart(words.at(3));
    default:
        return QString();
    }
}
