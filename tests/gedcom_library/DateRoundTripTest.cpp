#include <gtest/gtest.h>

#include <QRegularExpression>

#include "GEDControlClass.h"
#include "GEDDateText.h"
#include "RecordingListener.h"

namespace {

// Date words of every shape: years at the bounds and inside, with and
// without month and day, plain, Julian and dual-year.
QStringList generatedDateWords() {
    QStringList words;
    const char* years[] = {"1000", "1699", "1731", "1850", "1999", "2500"};
    const char* months[] = {"", "01", "02", "09", "12"};
    const char* days[] = {"", "01", "09", "10", "28", "31"};
    const char* marks[] = {"", "J", "D"};
    for (const char* year : years)
        for (const char* month : months)
            for (const char* day : days) {
                if (!*month && *day)
                    continue;
                for (const char* mark : marks) {
                    QString w = QString::fromLatin1(year);
                    if (*month)
                        w += QLatin1Char('-') + QString::fromLatin1(month);
                    if (*day)
                        w += QLatin1Char('-') + QString::fromLatin1(day);
                    words.append(w + QString::fromLatin1(mark));
                }
            }
    return words;
}

// Every form of date text the conversion from GEDCOM writes, built from the
// generated words: plain, qualified, ranges and periods (both dates of a
// range in the same calendar, as one GEDCOM date has one calendar).
QStringList generatedDateTexts() {
    const QStringList words = generatedDateWords();
    QStringList texts;
    const char* qualifiers[] = {"ABT", "CAL", "EST", "BEF", "AFT", "FROM", "TO", "BET"};
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words.at(i);
        texts.append(w);
        for (const char* qualifier : qualifiers)
            texts.append(QString::fromLatin1(qualifier) + QLatin1Char(' ') + w);
        const QString& other = words.at((i * 7 + 3) % words.size());
        if (w.endsWith(QLatin1Char('J')) != other.endsWith(QLatin1Char('J')))
            continue;
        texts.append(QStringLiteral("FROM ") + w + QStringLiteral(" TO ") + other);
        texts.append(QStringLiteral("BET ") + w + QStringLiteral(" AND ") + other);
        texts.append(w + QStringLiteral(" TO ") + other);
    }
    return texts;
}

TEST(DateRoundTrip, GeneratedDateTextsSurviveTheWayToGedcomAndBack) {
    auto control = createGEDControl();
    RecordingListener listener;
    control->SetListener(&listener);
    const QStringList texts = generatedDateTexts();
    ASSERT_GT(texts.size(), 1000);
    int failures = 0;
    for (const QString& text : texts) {
        const QString ged = control->sDateSVG2GED(text);
        const QString back = control->sDateGED2SVG(ged);
        if (back != text || !listener.messages.isEmpty()) {
            ADD_FAILURE() << text.toStdString() << " -> " << ged.toStdString() << " -> " << back.toStdString();
            listener.messages.clear();
            if (++failures > 10)
                break;
        }
    }
}

TEST(DateRoundTrip, GedcomDatesKeptAsWrittenSurviveTheWayBack) {
    auto control = createGEDControl();
    RecordingListener listener;
    control->SetListener(&listener);
    const char* texts[] = {
        "@#DHEBREW@1 TSH 5000",          "@#DFRENCH R@1 VEND 11",  "@#DGREGORIAN@44 BC",
        "@#DGREGORIAN@44 B.C.",          "@#DJULIAN@15 MAR 44 BC", "@#DGREGORIAN@INT 1850(about then)",
        "@#DGREGORIAN@(unknown)",        "@#DGREGORIAN@(1 XYZ 1850)", "@#DJULIAN@INT 1700(old style)",
        "@#DGREGORIAN@INT 1850(see @N1@)", "@#DJULIAN@(@#DJULIAN@ @#DGREGORIAN@ 1850)",
    };
    for (const char* t : texts) {
        const QString text = QString::fromUtf8(t);
        EXPECT_EQ(control->sDateGED2SVG(control->sDateSVG2GED(text)), text);
    }
    EXPECT_TRUE(listener.messages.isEmpty());
}

// Whatever the conversion from GEDCOM gives, the rest of the system can use:
// it converts back without error, reads in words and sorts.
TEST(DateRoundTrip, EveryConvertedFormIsUsableEverywhere) {
    auto control = createGEDControl();
    RecordingListener listener;
    control->SetListener(&listener);
    const char* gedDates[] = {
        "15 JAN 1850", "JAN 1850",     "1850",          "ABT 1850",          "CAL 1850",
        "EST 1850",    "BEF 1850",     "AFT 1850",      "TO 1850",           "FROM 1850",
        "BET 1850",    "BET 1850 AND 1860",             "FROM 1850 TO 1860", "1850 TO 1860",
        "1850 AND 1860", "ABT 1850 TO 1860",            "@#DJULIAN@ 1 MAR 1700",
        "11 FEB 1731/32", "185?",      "1850?",         "1850-06-30",        "32 JAN 1850",
        "INT 1850 (about then)",       "(unknown)",     "44 BC",             "44 B.C.",
        "@#DHEBREW@ 1 TSH 5000",       "1 XYZ 1850",    "",                  "@#DJULIAN@",
    };
    for (const char* ged : gedDates) {
        SCOPED_TRACE(ged);
        const QString text = control->sDateGED2SVG(QString::fromUtf8(ged));
        QString back;
        EXPECT_NO_THROW(back = control->sDateSVG2GED(text));
        EXPECT_FALSE(back.trimmed().isEmpty());
        listener.messages.clear();
        EXPECT_EQ(control->sDateGED2SVG(back), text) << back.toStdString();
        EXPECT_TRUE(listener.messages.isEmpty());

        const QString shown = sGetEventDate(text);
        EXPECT_FALSE(shown.isEmpty());
        if (!text.startsWith(QLatin1Char('@'))) {
            // Every date word was read: no digits-and-dashes word is left raw.
            EXPECT_FALSE(shown.contains(QRegularExpression(QStringLiteral("\\d{4}-")))) << shown.toStdString();
            EXPECT_TRUE(sDateSortKey(text).at(0).isDigit());
            EXPECT_TRUE(sGetCaptionDate(text).contains(QRegularExpression(QStringLiteral("^c?\\d{4}$"))));
        }
        EXPECT_FALSE(sGetEventPhrase(text).isEmpty());
    }
}

}  // namespace
