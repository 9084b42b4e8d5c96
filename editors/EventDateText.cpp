#include "EventDateText.h"

#include "DateContext.h"
#include "foundation/AppError.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSource = QStringLiteral("FormEvent");

[[noreturn]] void refuse(const QString& description) {
    raiseError(ErrorOffset::EventDates, kSource, description);
}

bool allDigits(QStringView s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

// Reads one date part into side; the Julian mark goes to julian. Raises with
// the inner messages; the caller turns them into one for the whole text.
void readPart(const QString& part, const QDate& today, DatePart& side, bool& julian) {
    side = DatePart();
    const qsizetype length = part.size();
    if (length == 0) {
        side.year = QString::number(today.year());
        side.month = today.month();
        side.day = today.day();
        return;
    }
    if (length != 4 && length != 5 && length != 7 && length != 8 && length != 10 && length != 11)
        refuse(QStringLiteral("Illegal date syntax: ") + part);
    side.year = part.left(4);
    if (!allDigits(side.year)) refuse(QStringLiteral("Illegal date syntax: ") + part);
    if (length >= 7) {
        const QStringView month = QStringView(part).mid(5, 2);
        if (!allDigits(month)) refuse(QStringLiteral("Illegal date syntax: ") + part);
        side.month = month.toInt();
        if (side.month < 1 || side.month > 12) refuse(QStringLiteral("Illegal date syntax: ") + part);
    }
    if (length >= 10) {
        const QStringView day = QStringView(part).mid(8, 2);
        if (!allDigits(day)) refuse(QStringLiteral("Illegal date syntax: ") + part);
        side.day = day.toInt();
        if (side.day < 1 || side.day > iDaysInMonth(side.month, side.year.toInt()))
            refuse(QStringLiteral("Illegal date syntax: ") + part);
    }
    if (length == 5 || length == 8 || length == 11) {
        const QChar suffix = part.back();
        if (suffix == u'J')
            julian = true;
        else if (suffix == u'D')
            side.dual = true;
        else
            refuse(QStringLiteral("Illegal date suffix: ") + suffix);
    }
}
}  // namespace

QString DatePart::compose() const {
    QString s = year;
    if (month > 0) {
        s += u'-' + twoDigits(month);
        if (day > 0) s += u'-' + twoDigits(day);
    }
    return s;
}

const QStringList& qualifierKeywords() {
    static const QStringList keywords{QString(),         QStringLiteral("ABT"), QStringLiteral("CAL"),
                                      QStringLiteral("EST"), QStringLiteral("BEF"), QStringLiteral("AFT"),
                                      QStringLiteral("BET"), QStringLiteral("FROM"), QStringLiteral("TO")};
    return keywords;
}

QStringList secondKeywords(const QString& sKeyword1) {
    if (sKeyword1 == u"BET") return {QStringLiteral("AND")};
    if (sKeyword1 == u"FROM") return {QStringLiteral("TO"), QString()};
    return {QString()};
}

QString sWriteDateText(const EventDate& date) {
    const QString start = date.start.compose();
    QString d1 = start;
    QString result;
    if (date.julian)
        d1 += u'J';
    else if (date.start.dual)
        d1 += u'D';
    else if (date.keyword1.isEmpty())
        result = d1;
    else if (date.keyword1 == u"ABT")
        result = u'c' + d1;
    if (!result.isEmpty()) return result;

    result = u'{' + (date.keyword1.isEmpty() ? QString() : date.keyword1 + u' ') + d1;
    if (!date.keyword2.isEmpty()) {
        const QString end = date.end.compose();
        // The order of the two dates is that of their texts; the calendar and
        // dual-year marks take no part in it.
        if (QString::compare(end, start, Qt::CaseSensitive) < 0)
            refuse(QStringLiteral("End date cannot be earlier than start date"));
        QString d2 = end;
        if (date.julian)
            d2 += u'J';
        else if (date.end.dual)
            d2 += u'D';
        result += u' ' + date.keyword2 + u' ' + d2;
    }
    return result + u'}';
}

EventDate readDateText(const QString& sText, const QDate& today) {
    EventDate date;
    QString d1;
    QString d2;
    if (sText.startsWith(u'{') && sText.endsWith(u'}') && sText.size() >= 2) {
        if (sText.startsWith(QStringLiteral("{@"))) refuse(QStringLiteral("Unrecognised date syntax: ") + sText);
        const QStringList words = sText.mid(1, sText.size() - 2).split(u' ');
        if (words.size() == 1) {
            d1 = words[0];
        } else if (words.size() == 2) {
            date.keyword1 = words[0];
            d1 = words[1];
        } else if (words.size() == 4) {
            date.keyword1 = words[0];
            d1 = words[1];
            date.keyword2 = words[2];
            d2 = words[3];
        } else {
            refuse(QStringLiteral("Illegal date syntax: ") + sText);
        }
    } else if (sText.startsWith(u'c')) {
        date.keyword1 = QStringLiteral("ABT");
        d1 = sText.mid(1);
    } else {
        d1 = sText;
    }

    try {
        readPart(d1, today, date.start, date.julian);
        readPart(date.keyword2.isEmpty() ? d1 : d2, today, date.end, date.julian);
        // A qualifier the dialog does not offer is dropped; a second keyword
        // that the qualifier does not allow cannot be shown.
        if (!qualifierKeywords().contains(date.keyword1)) date.keyword1.clear();
        if (!secondKeywords(date.keyword1).contains(date.keyword2)) refuse(QString());
    } catch (const AppError&) {
        refuse(QStringLiteral("Illegal date syntax: ") + sText);
    }
    return date;
}

QString sTextToDate(const QString& sText, const DateContext& context) {
    QString text = sText;
    for (QChar c : {u'.', u',', u'(', u')', u';', u':', u'?', u'!', u'-', u'/'}) text.replace(c, u' ');
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
    const QStringList words = text.split(u' ');

    for (qsizetype w = 0; w < words.size(); ++w) {
        const QString& word = words[w];
        QString year;
        bool about = false;
        if (word.size() == 4 && allDigits(word)) {
            year = word;
        } else if (word.size() == 5 && word[0] == u'c' && allDigits(QStringView(word).mid(1))) {
            year = word.mid(1);
            about = true;
        }
        if (year.isEmpty()) continue;
        const int yearNumber = year.toInt();
        if (yearNumber < 1000 || yearNumber > 2500) continue;

        int month = 0;
        QString dayWord;
        if (w >= 1) {
            month = context.iMonthFromName(words[w - 1]);
            if (w >= 2) {
                if (month > 0) {
                    dayWord = words[w - 2];
                } else {
                    dayWord = words[w - 1];
                    month = context.iMonthFromName(words[w - 2]);
                }
            }
        }
        int day = 0;
        if (month > 0 && allDigits(dayWord) && dayWord.size() <= 2) {
            day = dayWord.toInt();
            if (day < 1 || day > iDaysInMonth(month, yearNumber)) day = 0;
        }
        return DatePart{year, month, day, false}.compose().prepend(about ? QStringLiteral("c") : QString());
    }
    return QString();
}
