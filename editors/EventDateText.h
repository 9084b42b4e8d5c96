#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

struct DateContext;

// The date text of event mark-up (the data-start attribute of an event
// element): "1850-03-05", "c1850", "{ABT 1850J}", "{BET 1850 AND 1855}",
// "{FROM 1850-05 TO 1851D}", or empty. Refusals raise the event-dates error
// (base + 519) with the source "FormEvent".

// One side of an event's date as the event dialog holds it.
struct DatePart {
    QString year;     // the year as typed (four digits when read from a date text)
    int month = 0;    // 1 to 12; 0 when not given
    int day = 0;      // 1 to the month's length; 0 when not given (always 0 without a month)
    bool dual = false;  // the year is given in old and new style

    // year, then "-MM" when a month is given, then "-DD" when a day is given too.
    QString compose() const;
    bool operator==(const DatePart&) const = default;
};

// A whole date as the event dialog holds it.
struct EventDate {
    QString keyword1;  // qualifier: "", "ABT", "CAL", "EST", "BEF", "AFT", "BET", "FROM" or "TO"
    QString keyword2;  // "AND" after BET, "TO" or "" after FROM, else ""
    DatePart start;
    DatePart end;      // a copy of start when there is no second keyword
    bool julian = false;  // both dates are in the Julian calendar
    bool operator==(const EventDate&) const = default;
};

// The qualifier keywords, in the order the dialog offers them ("" first).
const QStringList& qualifierKeywords();
// The second keywords a qualifier allows, in the dialog's order: {"AND"} for
// BET, {"TO", ""} for FROM, {""} for every other qualifier.
QStringList secondKeywords(const QString& sKeyword1);

// The date text of a date. Julian wins over the dual-year marks. Refuses an
// end date that sorts (as text, without J and D marks) before the start date
// with "End date cannot be earlier than start date".
QString sWriteDateText(const EventDate& date);

// The date held in a date text; an empty text (or an empty part) gives today.
// A qualifier not in the table reads as none. Refuses "{@..." with
// "Unrecognised date syntax: " + the text, and anything else it cannot show
// with "Illegal date syntax: " + the text.
EventDate readDateText(const QString& sText, const QDate& today);

// A first date found in free text ("born 5 March 1850" gives "1850-03-05",
// "c1850" gives "c1850"): the first four-digit year from 1000 to 2500, with
// the month and day words just before it when they read as such; "" when
// there is no such year.
QString sTextToDate(const QString& sText, const DateContext& context);
