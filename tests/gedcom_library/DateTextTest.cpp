#include <gtest/gtest.h>

#include <algorithm>

#include <QLocale>

#include "GEDDateText.h"
#include "QStringPrinting.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(DateText, DisplayTexts) {
    struct Case {
        const char* date;
        const char* display;
        const char* phrase;
        const char* caption;
    };
    const Case cases[] = {
        {"1850", "1850", " in ", "1850"},
        {"1850-03", "March, 1850", " in ", "1850"},
        {"1850-03-15", "Friday March 15, 1850", " on ", "1850"},
        {"1850-03-05", "Tuesday March 5, 1850", " on ", "1850"},
        {"1700J", "1700 [J]", " in ", "1700"},
        {"1700-03-15J", "March 15, 1700 [J]", " on ", "1700"},
        {"1731-02-10D", "Saturday February 10, 1731/32", " on ", "1731"},
        {"1699D", "1699/00", " in ", "1699"},
        {"1850-01-32", "January 32, 1850", " on ", "1850"},
        {"BEF 1850", "before 1850", " ", "c1850"},
        {"ABT 1850-03", "about March, 1850", " in ", "c1850"},
        {"ABT 1850", "about 1850", " in ", "c1850"},
        {"CAL 1850", "1850 (calculated)", " in ", "c1850"},
        {"EST 1850-03-15", "Friday March 15, 1850 (estimated)", " on ", "c1850"},
        {"AFT 1850-03-15", "after Friday March 15, 1850", " ", "c1850"},
        {"FROM 1850", "from 1850", " ", "c1850"},
        {"TO 1850", "to 1850", " ", "c1850"},
        {"BET 1850", "between 1850", " ", "c1850"},
        {"BET 1850 AND 1860", "between 1850 and 1860", " ", "c1850"},
        {"FROM 1850 TO 1860-12", "from 1850 to December, 1860", " ", "c1850"},
        {"ABT 1850 TO 1860", "about 1850 to 1860", " ", "c1850"},
        {"1850 TO 1860", "1850 to 1860", " ", "c1850"},
        {"1850 AND 1860J", "1850 and 1860 [J]", " ", "c1850"},
        {"XYZ 1850", "1850", " ", "c1850"},
        {"@#DHEBREW@1 TSH 5000", "(Date?)", " in ", "Date?"},
        {"@#DGREGORIAN@(unknown)", "(Date?)", " in ", "Date?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(sGetEventDate(q(c.date)), q(c.display));
        EXPECT_EQ(sGetEventPhrase(q(c.date)), q(c.phrase));
        EXPECT_EQ(sGetCaptionDate(q(c.date)), q(c.caption));
    }
}

TEST(DateText, WordsThatAreNoDatesAreShownAsWritten) {
    const char* words[] = {"c1850", "18500", "1850-3", "1850-13", "1850-03-1X", "TO", ""};
    for (const char* w : words)
        EXPECT_EQ(sFormatDate(q(w)), q(w)) << w;
}

TEST(DateText, NamesAreEnglishInEveryLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(sFormatDate(q("1850-03-15")), q("Friday March 15, 1850"));
    QLocale::setDefault(saved);
}

TEST(DateText, SortKeys) {
    const std::pair<const char*, const char*> cases[] = {
        {"BEF 1850", "1850-00-0020"},
        {"1850", "1850-00-0025"},
        {"AFT 1850", "1850-00-0029"},
        {"BET 1850 AND 1860", "1850-00-00261860-00-002"},
        {"FROM 1850 TO 1860", "1850-00-00271860-00-002"},
        {"FROM 1850", "1850-00-0028"},
        {"1850-03-15", "1850-03-1525"},
        {"1850J", "1850-00-0015"},
        {"1731-02-11D", "1731-02-1135"},
        {"1850 TO 1860", "1850-00-00271860-00-002"},
        {"XYZ 1850", "1850-00-002"},
        {"", "??"},
        {"@#DHEBREW@1 TSH 5000", "??"},
    };
    for (const auto& [date, key] : cases)
        EXPECT_EQ(sDateSortKey(q(date)), q(key)) << date;

    QString word = q("1850-03J");
    EXPECT_EQ(sDateSortPart(word), q("1850-03-001"));
    EXPECT_EQ(word, q("1850-03-00"));
}

TEST(DateText, SortKeysOrderDatesAsText) {
    // In the order the keys must give.
    const char* ordered[] = {
        "1849-12-31", "1850J",    "BEF 1850",          "TO 1850",           "CAL 1850",
        "ABT 1850",   "EST 1850", "1850",              "BET 1850 AND 1851", "FROM 1850 TO 1851",
        "FROM 1850",  "AFT 1850", "1850D",             "1850-01",           "1850-01-01",
        "1850-02",    "1851",     "@#DGREGORIAN@(unknown)",
    };
    QStringList dates;
    for (const char* d : ordered)
        dates.append(q(d));
    QStringList shuffled = dates;
    std::reverse(shuffled.begin(), shuffled.end());
    std::stable_sort(shuffled.begin(), shuffled.end(),
                     [](const QString& a, const QString& b) { return sDateSortKey(a) < sDateSortKey(b); });
    EXPECT_EQ(shuffled, dates);
}

}  // namespace
