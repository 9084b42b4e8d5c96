#include "DateContext.h"

#include <QLocale>

namespace {
QStringList monthNames(const QLocale& locale, QLocale::FormatType format) {
    QStringList names;
    for (int m = 1; m <= 12; ++m) names.append(locale.standaloneMonthName(m, format));
    return names;
}

int indexIn(const QStringList& names, const QString& word) {
    for (int i = 0; i < names.size(); ++i)
        if (!names[i].isEmpty() && names[i].compare(word, Qt::CaseInsensitive) == 0) return i + 1;
    return 0;
}

const DateContext& englishNames() {
    static const DateContext names = [] {
        const QLocale c(QLocale::English, QLocale::UnitedStates);
        return DateContext{QDate(), monthNames(c, QLocale::LongFormat), monthNames(c, QLocale::ShortFormat)};
    }();
    return names;
}
}  // namespace

DateContext DateContext::system() {
    const QLocale locale = QLocale::system();
    return DateContext{QDate::currentDate(), monthNames(locale, QLocale::LongFormat),
                       monthNames(locale, QLocale::ShortFormat)};
}

DateContext DateContext::english(const QDate& today) {
    DateContext context = englishNames();
    context.today = today;
    return context;
}

int DateContext::iMonthFromName(const QString& sWord) const {
    if (sWord.isEmpty()) return 0;
    for (const QStringList* names : {&fullMonths, &shortMonths, &englishNames().fullMonths, &englishNames().shortMonths})
        if (int m = indexIn(*names, sWord)) return m;
    return 0;
}
