#pragma once

#include <QDate>
#include <QStringList>

// What the date text needs of the platform: today's date and the month names
// of the user's locale (full and abbreviated, twelve each). Tests hand in a
// fixed one so that nothing depends on the clock or the locale.
struct DateContext {
    QDate today;
    QStringList fullMonths;   // "January" to "December" in the locale's language
    QStringList shortMonths;  // "Jan" to "Dec"

    // The system clock and the system locale.
    static DateContext system();
    // English month names with the given date.
    static DateContext english(const QDate& today);

    // 1 to 12 for a word equal, ignoring letter case, to a full or abbreviated
    // month name of the locale or of English; 0 when none matches.
    int iMonthFromName(const QString& sWord) const;
};
