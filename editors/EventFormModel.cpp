#include "EventFormModel.h"

#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "foundation/Reporter.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kNotGiven = QStringLiteral("<n/a>");
const QString kInvalidDay = QStringLiteral("Invalid day number");
const QString kInvalidYear = QStringLiteral("Invalid year number");
const QString kInvalidType = QStringLiteral(
    "Event type can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)");

// The keyword to display-text table of the dialog.
const QList<std::pair<QString, QString>>& keywordTable() {
    static const QList<std::pair<QString, QString>> table{
        {QString(), QString()},
        {QStringLiteral("ABT"), QStringLiteral("ABT (About)")},
        {QStringLiteral("CAL"), QStringLiteral("CAL (Calculated)")},
        {QStringLiteral("EST"), QStringLiteral("EST (Estimated)")},
        {QStringLiteral("BEF"), QStringLiteral("BEF (Before)")},
        {QStringLiteral("AFT"), QStringLiteral("AFT (After)")},
        {QStringLiteral("BET"), QStringLiteral("BET (Between)")},
        {QStringLiteral("AND"), QStringLiteral("AND")},
        {QStringLiteral("FROM"), QStringLiteral("FROM")},
        {QStringLiteral("TO"), QStringLiteral("TO")},
    };
    return table;
}

// A whole number from 1000 to 2500 in the text (blanks around it allowed), else 0.
int yearInRange(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return 0;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return 0;
    const int n = t.toInt();
    return n >= 1000 && n <= 2500 ? n : 0;
}

void collectTypes(const QString& notes, QString& set) {
    static const QString marker = QStringLiteral(" data-evtype=");
    qsizetype at = notes.indexOf(marker);
    while (at >= 0) {
        const qsizetype quoteAt = at + marker.size();
        if (quoteAt >= notes.size()) return;
        const QChar quote = notes[quoteAt];
        const qsizetype close = notes.indexOf(quote, quoteAt + 1);
        if (close < 0) return;
        const QString type = notes.mid(quoteAt + 1, close - quoteAt - 1);
        if (bValidName(type) && !bSetMember(set, type, QStringLiteral(","))) set = sSetJoin(set, type, QStringLiteral(","));
        at = notes.indexOf(marker, close + 1);
    }
}
}  // namespace

EventFormModel::EventFormModel(Reporter& reporter, DateContext context)
    : reporter_(reporter), context_(std::move(context)) {
    load(nullptr);
}

const QStringList& EventFormModel::qualifierTexts() {
    static const QStringList texts = [] {
        QStringList list;
        for (const QString& keyword : qualifierKeywords()) list.append(keywordText(keyword));
        return list;
    }();
    return texts;
}

QString EventFormModel::keywordText(const QString& sKeyword) {
    for (const auto& [keyword, text] : keywordTable())
        if (keyword == sKeyword) return text;
    return QString();
}

QString EventFormModel::textKeyword(const QString& sText) {
    for (const auto& [keyword, text] : keywordTable())
        if (text == sText) return keyword;
    return QString();
}

QStringList EventFormModel::monthEntries() const {
    QStringList entries{kNotGiven};
    entries.append(context_.fullMonths);
    return entries;
}

QStringList EventFormModel::dayEntries(int side) const {
    QStringList entries{kNotGiven};
    for (int d = 1; d <= sides_[side].dayCount; ++d) entries.append(QString::number(d));
    return entries;
}

QString EventFormModel::collectTreeTypes(const SVGTree& tree) {
    QString set;
    for (const auto& entry : tree.GetPersons()) collectTypes(entry.second->GetNotes().join(u'\n'), set);
    for (const auto& entry : tree.GetFamilies()) collectTypes(entry.second->GetNotes().join(u'\n'), set);
    return set;
}

void EventFormModel::setToday(int side) {
    Side& s = sides_[side];
    s = Side();
    s.year = s.checkedYear = QString::number(context_.today.year());
    s.month = context_.today.month();
    fillDays(side);
    s.day = context_.today.day();
}

void EventFormModel::load(const SVGTree* tree) {
    chooseQualifier(0);
    setToday(kStart);
    setToday(kEnd);
    julian_ = false;
    QString set = sSetUnion(QStringLiteral(",Birth,Baptism,Marriage,Death,Burial"),
                            tree ? collectTreeTypes(*tree) : QString(), QStringLiteral(","));
    types_ = set.split(u',');
    type_.clear();
    description_.clear();
    divText_.clear();
    resultDate_.clear();
    resultEvent_.clear();
    resultType_.clear();
    resultDivText_.clear();
}

void EventFormModel::open(const QString& sDate, const QString& sEvent, const QString& sType, const QString& sDivText) {
    const EventDate date = readDateText(sDate, context_.today);
    const DatePart* parts[2] = {&date.start, &date.end};
    for (int i = 0; i < 2; ++i) {
        Side& s = sides_[i];
        s.year = s.checkedYear = parts[i]->year;
        s.month = parts[i]->month;
        s.dual = parts[i]->dual;
        s.day = 0;
        fillDays(i);
        s.day = parts[i]->day;
    }
    julian_ = date.julian;
    chooseQualifier(qualifierKeywords().indexOf(date.keyword1));
    chooseSecondKeyword(secondKeywords(date.keyword1).indexOf(date.keyword2));
    description_ = sUnescapeXML(sEvent);
    leaveType(sType);
    divText_ = sDivText;
}

bool EventFormModel::endEnabled() const {
    const QString keyword = qualifierKeyword();
    return keyword == u"BET" || keyword == u"FROM";
}

void EventFormModel::chooseQualifier(int index) {
    qualifier_ = index >= 0 && index < qualifierKeywords().size() ? index : 0;
    second_.clear();
    for (const QString& keyword : secondKeywords(qualifierKeyword())) second_.append(keywordText(keyword));
    secondIndex_ = 0;
}

void EventFormModel::chooseSecondKeyword(int index) {
    secondIndex_ = index >= 0 && index < second_.size() ? index : 0;
}

void EventFormModel::fillDays(int side) {
    Side& s = sides_[side];
    s.dayCount = s.month == 0 ? 31 : iDaysInMonth(s.month, s.year.trimmed().toInt());
    if (s.day > s.dayCount) {
        reporter_.warn(kInvalidDay);
        s.day = 0;
    }
}

void EventFormModel::chooseMonth(int side, int month) {
    Side& s = sides_[side];
    s.month = month >= 0 && month <= 12 ? month : 0;
    if (s.month == 0) s.day = 0;
    fillDays(side);
}

void EventFormModel::chooseDay(int side, int index) {
    Side& s = sides_[side];
    s.day = s.month > 0 && index >= 0 && index <= s.dayCount ? index : 0;
}

void EventFormModel::setYearText(int side, const QString& text) { sides_[side].year = text; }

bool EventFormModel::leaveYear(int side) {
    Side& s = sides_[side];
    // A year the user did not change stays as it was read (a year before
    // 1000 read from a note survives the dialog).
    if (s.year == s.checkedYear) return true;
    bool ok = true;
    if (const int year = yearInRange(s.year)) {
        s.year = QString::number(year);
    } else {
        reporter_.warn(kInvalidYear);
        s.year = QString::number(context_.today.year());
        ok = false;
    }
    s.checkedYear = s.year;
    fillDays(side);
    return ok;
}

bool EventFormModel::leaveDay(int side, const QString& text) {
    Side& s = sides_[side];
    const QStringList entries = dayEntries(side);
    const qsizetype entry = entries.indexOf(text);
    if (entry >= 0) {
        chooseDay(side, int(entry));
        return true;
    }
    if (text.trimmed().isEmpty()) {
        s.day = 0;
        return true;
    }
    bool number = false;
    const int day = text.trimmed().toInt(&number);
    if (number && day >= 1 && day <= s.dayCount && s.month > 0) {
        s.day = day;
        return true;
    }
    reporter_.warn(kInvalidDay);
    s.day = 0;
    return false;
}

bool EventFormModel::leaveType(const QString& text) {
    if (types_.contains(text)) {
        type_ = text;
        return true;
    }
    if (bValidName(text)) {
        types_.append(text);
        type_ = text;
        return true;
    }
    reporter_.warn(kInvalidType);
    type_.clear();
    return false;
}

void EventFormModel::setJulian(bool on) {
    julian_ = on;
    if (on) sides_[kStart].dual = sides_[kEnd].dual = false;
}

void EventFormModel::setDual(int side, bool on) {
    sides_[side].dual = on;
    if (on) julian_ = false;
}

EventDate EventFormModel::date() const {
    EventDate date;
    date.keyword1 = qualifierKeyword();
    date.keyword2 = second_.isEmpty() ? QString() : textKeyword(second_.at(secondIndex_));
    const Side* sides[2] = {&sides_[kStart], &sides_[kEnd]};
    DatePart* parts[2] = {&date.start, &date.end};
    for (int i = 0; i < 2; ++i) {
        parts[i]->year = sides[i]->year;
        parts[i]->month = sides[i]->month;
        parts[i]->day = sides[i]->month > 0 ? sides[i]->day : 0;
        parts[i]->dual = sides[i]->dual;
    }
    date.julian = julian_;
    return date;
}

bool EventFormModel::accept(const QString& startDayText, const QString& endDayText, const QString& typeText) {
    // The checks of leaving each box run again: a value confirmed with the
    // keyboard alone is never written unchecked.
    if (!leaveYear(kStart) || !leaveDay(kStart, startDayText)) return false;
    if (endEnabled() && (!leaveYear(kEnd) || !leaveDay(kEnd, endDayText))) return false;
    if (!leaveType(typeText)) return false;
    resultDate_ = sWriteDateText(date());
    resultEvent_ = sEscapeXML(description_);
    resultType_ = type_;
    resultDivText_ = divText_;
    return true;
}
