#include "GEDDateText.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <QVarLengthArray>

#include "GEDDateDigits.h"

namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

struct KeywordTexts {
    const char* prefix;
    const char* suffix;
    const char* connector;
    const char* order;
};

// Per keyword of a date text: the words put before and after its date, the
// words that join a second date to it, and the digit that orders the
// keyword's dates among those of the same day.
const QHash<QString, KeywordTexts>& keywordTable() {
    static const QHash<QString, KeywordTexts> table = {
        {QStringLiteral("BEF"), {"before ", "", "", "0"}},
        {QStringLiteral("TO"), {"to ", "", " to ", "1"}},
        {QStringLiteral("CAL"), {"", " (calculated)", "", "2"}},
        {QStringLiteral("ABT"), {"about ", "", "", "3"}},
        {QStringLiteral("EST"), {"", " (estimated)", "", "4"}},
        {QString(), {"", "", "", "5"}},
        {QStringLiteral("BET"), {"between ", "", "", "6"}},
        {QStringLiteral("FROMTO"), {"", "", "", "7"}},
        {QStringLiteral("FROM"), {"from ", "", "", "8"}},
        {QStringLiteral("AFT"), {"after ", "", "", "9"}},
        {QStringLiteral("AND"), {"", "", " and ", ""}},
    };
    return table;
}

// A keyword that the table does not hold adds nothing.
KeywordTexts keywordTexts(const QString& key) { return keywordTable().value(key, KeywordTexts{"", "", "", ""}); }

QString prefixOf(const QString& key) { return QString::fromLatin1(keywordTexts(key).prefix); }
QString suffixOf(const QString& key) { return QString::fromLatin1(keywordTexts(key).suffix); }
QString connectorOf(const QString& key) { return QString::fromLatin1(keywordTexts(key).connector); }

bool isThreeWordRange(const QStringList& words) {
    return words.size() == 3 && (words.at(1) == QLatin1String("TO") || words.at(1) == QLatin1String("AND"));
}

}  // namespace

QString sFormatDate(const QString& sDate) {
    QString w = sDate;
    const bool dual = w.endsWith(QLatin1Char('D'));
    const bool julian = w.endsWith(QLatin1Char('J'));
    if (dual || julian)
        w.chop(1);

    // Only «YYYY», «YYYY-MM» and «YYYY-MM-DD» are date words.
    const QStringView view(w);
    const bool yearOnly = w.size() == 4 && bAllDigits(view);
    const bool withMonth = (w.size() == 7 || w.size() == 10) && bAllDigits(view.left(4)) && w.at(4) == u'-' &&
                           bAllDigits(view.mid(5, 2));
    const bool withDay = w.size() == 10 && withMonth && w.at(7) == u'-' && bAllDigits(view.mid(8, 2));
    if (!yearOnly && !(withMonth && w.size() == 7) && !withDay)
        return sDate;
    const int year = view.left(4).toInt();
    const int month = yearOnly ? 1 : view.mid(5, 2).toInt();
    if (month < 1 || month > 12)
        return sDate;

    QString yearPattern = w.left(4);
    if (dual)
        yearPattern += QLatin1Char('/') + QString::number(year + 1).right(2);
    else if (julian)
        yearPattern += QStringLiteral(" [J]");
    if (yearOnly)
        return yearPattern;
    const QString monthName = QString::fromLatin1(kMonthNames[month - 1]);
    if (!withDay)
        return monthName + QStringLiteral(", ") + yearPattern;

    const int day = view.mid(8, 2).toInt();
    // The weekday is that of the Gregorian date; a Julian date and a day the
    // month does not have are shown without one.
    const QDate date(year, month, day);
    QString weekdayPart;
    if (!julian && date.isValid())
        weekdayPart = QString::fromLatin1(kWeekdayNames[date.dayOfWeek() - 1]) + QLatin1Char(' ');
    return weekdayPart + monthName + QLatin1Char(' ') + QString::number(day) + QStringLiteral(", ") + yearPattern;
}

QString sGetEventDate(const QString& sDate) {
    if (sDate.startsWith(QLatin1Char('@')))
        return QStringLiteral("(Date?)");
    const QStringList words = sDate.split(QLatin1Char(' '));
    if (words.size() == 1)
        return sFormatDate(words.at(0));
    if (words.size() == 2)
        return prefixOf(words.at(0)) + sFormatDate(words.at(1)) + suffixOf(words.at(0));
    if (isThreeWordRange(words))
        return sFormatDate(words.at(0)) + connectorOf(words.at(1)) + sFormatDate(words.at(2));
    if (words.size() == 3)
        return prefixOf(words.at(0)) + sFormatDate(words.at(1)) + suffixOf(words.at(0));
    return prefixOf(words.at(0)) + sFormatDate(words.at(1)) + suffixOf(words.at(0)) + connectorOf(words.at(2)) +
           sFormatDate(words.at(3));
}

QString sGetEventPhrase(const QString& sDate) {
    const QString in = QStringLiteral(" in ");
    if (sDate.startsWith(QLatin1Char('@')))
        return in;
    const QStringList words = sDate.split(QLatin1Char(' '));
    const auto onOrIn = [&in](const QString& date) { return date.size() > 8 ? QStringLiteral(" on ") : in; };
    if (words.size() == 1)
        return onOrIn(words.at(0));
    if (words.size() == 2 && (words.at(0) == QLatin1String("ABT") || words.at(0) == QLatin1String("CAL") ||
                              words.at(0) == QLatin1String("EST")))
        return onOrIn(words.at(1));
    return QStringLiteral(" ");
}

QString sGetCaptionDate(const QString& sDate) {
    if (sDate.startsWith(QLatin1Char('@')))
        return QStringLiteral("Date?");
    const QStringList words = sDate.split(QLatin1Char(' '));
    if (words.size() == 1)
        return words.at(0).left(4);
    if (isThreeWordRange(words))
        return QLatin1Char('c') + words.at(0).left(4);
    return QLatin1Char('c') + words.at(1).left(4);
}


namespace {

// A sort key being written: long enough for any key of a date of up to five
// words of ordinary length, and growing beyond that.
using KeyBuffer = QVarLengthArray<QChar, 48>;

// A word of a date as it sorts, added to a key: the date padded with "-00"
// to ten characters, then its calendar (1 Julian, 2 Gregorian, 3 dual).
void appendSortPart(QStringView word, KeyBuffer& key) {
    QChar calendar = u'2';
    if (word.endsWith(u'D')) {
        calendar = u'3';
        word.chop(1);
    } else if (word.endsWith(u'J')) {
        calendar = u'1';
        word.chop(1);
    }
    key.append(word.data(), word.size());
    static constexpr QChar pad[] = {u'-', u'0', u'0'};
    for (qsizetype size = word.size(); size < 10; size += 3)
        key.append(pad, 3);
    key.append(calendar);
}

void appendOrder(QStringView keyword, KeyBuffer& key) {
    // The table is looked up with a text over the word's own characters.
    const QString borrowed = QString::fromRawData(keyword.data(), keyword.size());
    for (const char* c = keywordTexts(borrowed).order; *c; ++c)
        key.append(QLatin1Char(*c));
}

}  // namespace

QString sDateSortPart(QString& sWord) {
    KeyBuffer key;
    appendSortPart(sWord, key);
    const QString part(key.constData(), key.size());
    // The word keeps what was written for it, without the calendar digit.
    sWord = part.chopped(1);
    return part;
}

QString sDateSortKey(const QString& sDate) {
    if (sDate.isEmpty() || sDate.startsWith(QLatin1Char('@')))
        return QStringLiteral("??");
    // Keys are made for every distinct date of a file: the words are read in
    // place and the key is written once.
    QStringView words[5];
    qsizetype count = 0;
    for (QStringView word : QStringView(sDate).tokenize(u' ')) {
        if (count < 5)
            words[count] = word;
        ++count;
    }
    // Written in a buffer and made a text of its own size once.
    KeyBuffer key;
    const auto text = [&key] { return QString(key.constData(), key.size()); };
    if (count == 1) {
        appendSortPart(words[0], key);
        appendOrder(QStringView(), key);
        return text();
    }
    // A range whose FROM was missing sorts as from-to.
    if (count == 3 && (words[1] == u"TO" || words[1] == u"AND")) {
        appendSortPart(words[0], key);
        appendOrder(u"FROMTO", key);
        appendSortPart(words[2], key);
        return text();
    }
    appendSortPart(words[1], key);
    appendOrder(words[0] == u"FROM" && count == 4 ? QStringView(u"FROMTO") : words[0], key);
    if (count == 4)
        appendSortPart(words[3], key);
    return text();
}
