#pragma once

#include <QString>
#include <QStringList>

#include "DateContext.h"
#include "EventDateText.h"

class Reporter;
class SVGTree;

// What the event dialog shows and how its controls react, without widgets:
// the qualifier and second keyword, the two date sides (year box, month list,
// day list, dual-year mark), the Julian mark, the type list, the description
// and the enclosed text. Warnings go to the reporter; the dialog copies the
// state to its controls after each call.
class EventFormModel {
public:
    static constexpr int kStart = 0;
    static constexpr int kEnd = 1;

    struct Side {
        QString year;          // the year box's text
        QString checkedYear;   // the last year text read, loaded or accepted
        int month = 0;         // month list position: 0 "<n/a>", 1 to 12
        int day = 0;           // day list position: 0 "<n/a>", 1 to dayCount
        int dayCount = 31;     // number of days offered
        bool dual = false;
    };

    EventFormModel(Reporter& reporter, DateContext context);

    // ---- tables
    // The qualifier list's texts: "", "ABT (About)", ..., "FROM", "TO".
    static const QStringList& qualifierTexts();
    // Display text of a keyword ("ABT" gives "ABT (About)", "AND" gives "AND").
    static QString keywordText(const QString& sKeyword);
    // Keyword of a display text; "" when the text is none of the table.
    static QString textKeyword(const QString& sText);
    // "<n/a>" and the twelve full month names.
    QStringList monthEntries() const;
    // "<n/a>" and the days 1 to the side's day count.
    QStringList dayEntries(int side) const;
    // The event types used in the notes of the tree's persons, then of its
    // families, as a comma set in the order found; only types that obey the
    // key rule.
    static QString collectTreeTypes(const SVGTree& tree);

    // ---- opening
    // Today's date on both sides, the blank qualifier, the type list with the
    // fixed types and the tree's (none when tree is null).
    void load(const SVGTree* tree);
    // Reads the texts of an event into the form. An unreadable date raises the
    // date text's error and leaves the form as loaded.
    void open(const QString& sDate, const QString& sEvent, const QString& sType, const QString& sDivText);

    // ---- state
    int qualifier() const { return qualifier_; }
    QString qualifierKeyword() const { return qualifierKeywords().at(qualifier_); }
    // The second keyword list's texts and the selected one.
    const QStringList& secondTexts() const { return second_; }
    int secondKeyword() const { return secondIndex_; }
    // True when the end date controls are enabled (BET and FROM).
    bool endEnabled() const;
    const Side& side(int i) const { return sides_[i]; }
    bool dayEnabled(int i) const { return sides_[i].month > 0; }
    bool julian() const { return julian_; }
    const QStringList& types() const { return types_; }
    const QString& typeText() const { return type_; }
    int typeIndex() const { return types_.indexOf(type_); }
    const QString& description() const { return description_; }
    const QString& divText() const { return divText_; }

    // ---- control events
    void chooseQualifier(int index);
    void chooseSecondKeyword(int index);
    // "<n/a>" (0) clears the day; a month refills the day list.
    void chooseMonth(int side, int month);
    void chooseDay(int side, int index);
    // The year box's text as typed; checked when the box is left.
    void setYearText(int side, const QString& text);
    // Leaving the year box: a year the user changed must be a whole number
    // from 1000 to 2500, else "Invalid year number" and the current year.
    // Returns false when the year was refused.
    bool leaveYear(int side);
    // Leaving the day list with a typed text; false when it was refused
    // ("Invalid day number", the day becomes "<n/a>").
    bool leaveDay(int side, const QString& text);
    // Leaving the type box: a text not in the list joins it when it obeys the
    // key rule, else it is refused and the blank type selected. False when refused.
    bool leaveType(const QString& text);
    void setJulian(bool on);
    void setDual(int side, bool on);
    void setDescription(const QString& text) { description_ = text; }
    void setDivText(const QString& text) { divText_ = text; }

    // The date as the controls state it.
    EventDate date() const;

    // OK: checks the years, days and type again (false, with the warning,
    // when one is refused), then writes the date text, which may raise the
    // end-date refusal. On success the results hold the accepted texts.
    bool accept(const QString& startDayText, const QString& endDayText, const QString& typeText);

    QString resultDate() const { return resultDate_; }
    QString resultEvent() const { return resultEvent_; }
    QString resultType() const { return resultType_; }
    QString resultDivText() const { return resultDivText_; }

private:
    void fillDays(int side);
    void setToday(int side);

    Reporter& reporter_;
    DateContext context_;
    int qualifier_ = 0;
    QStringList second_;
    int secondIndex_ = 0;
    Side sides_[2];
    bool julian_ = false;
    QStringList types_;
    QString type_;
    QString description_;
    QString divText_;
    QString resultDate_;
    QString resultEvent_;
    QString resultType_;
    QString resultDivText_;
};
