#include "LayoutSortYears.h"

#include <QStringList>
#include <QStringView>

#include "foundation/TextHelpers.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"

namespace {

bool isDash(QChar c) {
    return c == u'-' || c == QChar(0x2013);
}

}  // namespace

int LayoutSortYears::iYearFromText(const QString& sText) {
    const int n = int(sText.size());
    for (int i = 0; i + 3 < n; ++i) {
        if (!isAsciiDigit(sText[i]) || !isAsciiDigit(sText[i + 1]) || !isAsciiDigit(sText[i + 2]) ||
            !isAsciiDigit(sText[i + 3]))
            continue;
        const int value = (sText[i].unicode() - '0') * 1000 + (sText[i + 1].unicode() - '0') * 100 +
                          (sText[i + 2].unicode() - '0') * 10 + (sText[i + 3].unicode() - '0');
        if (value < 1000 || value > 2500) continue;
        if (i + 4 < n && isAsciiDigit(sText[i + 4])) continue;
        if (i > 0 && isDash(sText[i - 1])) continue;
        if (i > 1 && isDash(sText[i - 2]) && sText[i - 1] == u'c') continue;
        return value;
    }
    return 0;
}

int LayoutSortYears::iEventYear(const QString& sNotes, bool bPerson) {
    const QString start = QStringLiteral("data-start");
    const QString evtype = QStringLiteral("data-evtype");
    auto valueAt = [&](int pos) {
        auto skipBlanks = [&](int p) {
            while (p < sNotes.size() && (sNotes[p] == u' ' || sNotes[p] == u'\t')) ++p;
            return p;
        };
        pos = skipBlanks(pos) + 1;   // the "="
        return skipBlanks(pos) + 1;  // the opening quote
    };
    int pos = 0;
    // Once no "<span" is left, only "<div" tags are looked for.
    bool spansLeft = true;
    while (pos < sNotes.size()) {
        int tag = spansLeft ? int(sNotes.indexOf(QStringLiteral("<span"), pos, Qt::CaseInsensitive)) : -1;
        int nameEnd = tag + 5;
        if (tag < 0) {
            spansLeft = false;
            tag = sNotes.indexOf(QStringLiteral("<div"), pos, Qt::CaseInsensitive);
            if (tag < 0) return 0;
            nameEnd = tag + 4;
        }
        const int close = sNotes.indexOf(u'>', nameEnd);
        if (close < 0) return 0;
        // The attributes count only inside the tag: look no further.
        const QStringView inside = QStringView(sNotes).mid(nameEnd, close - nameEnd);
        const int ds = int(inside.indexOf(start));
        const int et = int(inside.indexOf(evtype));
        if (ds < 0 || et < 0) {
            pos = close + 1;
            continue;
        }
        const int dateAt = valueAt(nameEnd + ds + int(start.size()));
        const QStringView type = QStringView(sNotes).mid(
            qMin<qsizetype>(valueAt(nameEnd + et + int(evtype.size())), sNotes.size()));
        const bool match = bPerson ? (type.startsWith(u"Birth", Qt::CaseInsensitive) ||
                                      type.startsWith(u"Baptism", Qt::CaseInsensitive))
                                   : type.startsWith(u"Marriage", Qt::CaseInsensitive);
        if (match) return dateAt < sNotes.size() ? iYearFromText(sNotes.mid(dateAt)) : 0;
        pos = close + 1;
    }
    return 0;
}

int LayoutSortYears::personYear(const SVGBox& box) {
    const int year = iYearFromText(box.GetText());
    return year ? year : iEventYear(box.GetNotes().join(u' '), true);
}

int LayoutSortYears::familyYear(const SVGFamily& fam, int firstChildYear) {
    const QString notes = fam.GetNotes().join(u' ');
    int year = iEventYear(notes, false);
    if (!year) year = iYearFromText(notes);
    if (!year) year = iYearFromText(fam.GetTooltips().join(u' '));
    if (!year && firstChildYear) year = firstChildYear - 1;
    return year;
}
