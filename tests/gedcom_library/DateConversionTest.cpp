#include <gtest/gtest.h>

#include <QLocale>

#include "AppError.h"
#include "GEDControlClass.h"
#include "RecordingListener.h"

namespace {

struct GedCase {
    const char* ged;
    const char* text;
    const char* warning;  // nullptr: converts without a warning
};

class DateConversion : public ::testing::Test {
protected:
    void SetUp() override {
        control = createGEDControl();
        control->SetListener(&listener);
    }
    void checkGed(const GedCase& c) {
        SCOPED_TRACE(c.ged);
        listener.messages.clear();
        EXPECT_EQ(control->sDateGED2SVG(QString::fromUtf8(c.ged)), QString::fromUtf8(c.text));
        if (c.warning) {
            EXPECT_EQ(listener.warnings(), QStringList{QString::fromUtf8(c.warning)});
        } else {
            EXPECT_TRUE(listener.messages.isEmpty()) << listener.messages.value(0).text.toStdString();
        }
    }

    std::shared_ptr<GEDControlClass> control;
    RecordingListener listener;
};

TEST_F(DateConversion, GedcomDatesToDateText) {
    const GedCase cases[] = {
        // plain dates, long and short month words, commas and points
        {"15 JAN 1850", "1850-01-15", nullptr},
        {"15 January 1850", "1850-01-15", nullptr},
        {"Jan 15, 1850", "1850-01-15", nullptr},
        {"1 Jan. 1850", "1850-01-01", nullptr},
        {"May 5, 1850", "1850-05-05", nullptr},
        {"Sept 1850", "1850-09", nullptr},
        {"5 JAN 1850", "1850-01-05", nullptr},
        {"15   jan  1850", "1850-01-15", nullptr},
        {"JAN 1850", "1850-01", nullptr},
        {"1850", "1850", nullptr},
        {"1850-06-30", "1850-06-30", nullptr},
        {"32 JAN 1850", "1850-01-32", nullptr},
        // qualifiers
        {"About 1850", "ABT 1850", nullptr},
        {"cal 1850", "CAL 1850", nullptr},
        {"EST 1850", "EST 1850", nullptr},
        {"BEF 3 MAR 1850", "BEF 1850-03-03", nullptr},
        {"After 1850", "AFT 1850", nullptr},
        {"AFT 1850-06-30", "AFT 1850-06-30", nullptr},
        {"TO 1850", "TO 1850", nullptr},
        {"BET 1850", "BET 1850", nullptr},
        // ranges and periods
        {"BET 1 JAN 1850 AND 1860", "BET 1850-01-01 AND 1860", nullptr},
        {"Between 1850 and 1860", "BET 1850 AND 1860", nullptr},
        {"FROM 1850 TO 1860", "FROM 1850 TO 1860", nullptr},
        {"FROM MAR 1850 TO 2 DEC 1860", "FROM 1850-03 TO 1860-12-02", nullptr},
        {"1850 TO 1860", "1850 TO 1860", nullptr},
        {"FROM ABT 1850", "FROM 1850", nullptr},
        // uncertain years
        {"185?", "FROM 1850 TO 1859", nullptr},
        {"1850?", "ABT 1850", nullptr},
        // calendars: Julian, dual years, other calendars kept as written
        {"@#DJULIAN@ 1 MAR 1700", "1700-03-01J", nullptr},
        {"ABT @#DJULIAN@ 1700", "ABT 1700J", nullptr},
        {"@#DJULIAN@ FROM 1700 TO 1710", "FROM 1700J TO 1710J", nullptr},
        {"@#DGREGORIAN@ 15 JAN 1850", "1850-01-15", nullptr},
        {"11 FEB 1731/32", "1731-02-11D", nullptr},
        {"1699/00", "1699D", nullptr},
        {"@#DHEBREW@ 1 TSH 5000", "@#DHEBREW@1 TSH 5000", nullptr},
        {"@#DFRENCH R@ 1 VEND 11", "@#DFRENCH R@1 VEND 11", nullptr},
        // phrases keep their case
        {"INT 1850 (about then)", "@#DGREGORIAN@INT 1850(about then)", nullptr},
        {"1850 (About Then)", "@#DGREGORIAN@INT 1850(About Then)", nullptr},
        {"(unknown)", "@#DGREGORIAN@(unknown)", nullptr},
        {"INT 1850 (see @N1@)", "@#DGREGORIAN@INT 1850(see @N1@)", nullptr},
        {"@#DJULIAN@ INT 1700 (old style)", "@#DJULIAN@INT 1700(old style)", nullptr},
        // before Christ
        {"44 BC", "@#DGREGORIAN@44 BC", nullptr},
        {"44 B.C.", "@#DGREGORIAN@44 B.C.", nullptr},
        {"@#DJULIAN@ 15 MAR 44 BC", "@#DJULIAN@15 MAR 44 BC", nullptr},
        // year bounds
        {"2500", "2500", nullptr},
        {"2501", "@#DGREGORIAN@(2501)", "Bad date year: \"2501\" (record no. 0)"},
        {"1 JAN 0850", "@#DGREGORIAN@(1 JAN 0850)", "Bad date year: \"1 JAN 0850\" (record no. 0)"},
        // failures keep the input in the fallback form
        {"", "@#DGREGORIAN@()", "Empty date (record no. 0)"},
        {"1 XYZ 1850", "@#DGREGORIAN@(1 XYZ 1850)", "Bad date syntax: \"1 XYZ 1850\" (record no. 0)"},
        {"XY JAN 1850", "@#DGREGORIAN@(XY JAN 1850)", "Bad date syntax: \"XY JAN 1850\" (record no. 0)"},
        {"123 JAN 1850", "@#DGREGORIAN@(123 JAN 1850)", "Bad date syntax: \"123 JAN 1850\" (record no. 0)"},
        {"1 2 JAN 1850", "@#DGREGORIAN@(1 2 JAN 1850)", "Bad date syntax: \"1 2 JAN 1850\" (record no. 0)"},
        {"185", "@#DGREGORIAN@(185)", "Bad date year: \"185\" (record no. 0)"},
        {"18X0", "@#DGREGORIAN@(18X0)", "Bad date syntax: \"18X0\" (record no. 0)"},
        {"1850-13-01", "@#DGREGORIAN@(1850-13-01)", "Bad date syntax: \"1850-13-01\" (record no. 0)"},
        {"INT 1850", "@#DGREGORIAN@(INT 1850)", "Bad date syntax: \"INT 1850\" (record no. 0)"},
        {"ABT", "@#DGREGORIAN@(ABT)", "Bad date syntax: \"ABT\" (record no. 0)"},
        {"FROM 1850 TO", "@#DGREGORIAN@(FROM 1850 TO)", "Bad date syntax: \"FROM 1850 TO\" (record no. 0)"},
        {"@#DJULIAN@ 1731/32", "@#DGREGORIAN@(@#DJULIAN@ 1731/32)", "Bad date syntax: \"1731/32\" (record no. 0)"},
        {"@#DJULIAN@", "@#DGREGORIAN@(@#DJULIAN@)", "Bad date syntax: \"\" (record no. 0)"},
        {"@#DHEBREW@", "@#DHEBREW@(@#DHEBREW@)", "Bad date syntax: \"\" (record no. 0)"},
        {"@#DJULIAN@ @#DGREGORIAN@ 1850", "@#DJULIAN@(@#DJULIAN@ @#DGREGORIAN@ 1850)",
         "Conflicting calendar escapes: @#DJULIAN@ and @#DGREGORIAN@ (record no. 0)"},
    };
    for (const GedCase& c : cases)
        checkGed(c);
}

TEST_F(DateConversion, EarliestYearAndLineCounterComeFromTheControl) {
    control->SetMinValidDate(0);
    checkGed({"1 JAN 0850", "0850-01-01", nullptr});
    control->SetMinValidDate(1900);
    control->SetLineCounter(42);
    checkGed({"1850", "@#DGREGORIAN@(1850)", "Bad date year: \"1850\" (record no. 42)"});
}

// Years of one to three digits are GEDCOM years like any other, below the
// earliest valid year as much as above it; a month is one whole month word,
// never a piece of the run of month names.
TEST_F(DateConversion, ShortYearsAndWholeMonthWords) {
    control->SetMinValidDate(1);
    const GedCase cases[] = {
        {"794", "0794", nullptr},
        {"ABT 850", "ABT 0850", nullptr},
        {"5 MAY 794", "0794-05-05", nullptr},
        {"Dec 31, 99", "0099-12-31", nullptr},
        {"BET 794 AND 1066", "BET 0794 AND 1066", nullptr},
        {"@#DJULIAN@ 1 MAR 850", "0850-03-01J", nullptr},
        {"11 FEB 731/32", "0731-02-11D", nullptr},
        {"7", "0007", nullptr},
        {"0", "@#DGREGORIAN@(0)", "Bad date year: \"0\" (record no. 0)"},
        {"12345", "@#DGREGORIAN@(12345)", "Bad date syntax: \"12345\" (record no. 0)"},
        {"c. 1850", "@#DGREGORIAN@(c. 1850)", "Bad date syntax: \"C 1850\" (record no. 0)"},
        {"E 1850", "@#DGREGORIAN@(E 1850)", "Bad date syntax: \"E 1850\" (record no. 0)"},
        {"AN 1850", "@#DGREGORIAN@(AN 1850)", "Bad date syntax: \"AN 1850\" (record no. 0)"},
        {"NJU 1850", "@#DGREGORIAN@(NJU 1850)", "Bad date syntax: \"NJU 1850\" (record no. 0)"},
        {"1 JA 1850", "@#DGREGORIAN@(1 JA 1850)", "Bad date syntax: \"1 JA 1850\" (record no. 0)"},
    };
    for (const GedCase& c : cases)
        checkGed(c);
    // The earliest valid year still holds for short years.
    control->SetMinValidDate(1000);
    checkGed({"ABT 850", "@#DGREGORIAN@(ABT 850)", "Bad date year: \"ABT 850\" (record no. 0)"});
    // Written back, a short year keeps the four digits of the date text.
    EXPECT_EQ(control->sDateSVG2GED(QStringLiteral("ABT 0850")), QStringLiteral("ABT 0850"));
}

TEST_F(DateConversion, DateTextToGedcomDates) {
    const std::pair<const char*, const char*> cases[] = {
        {"1850", "1850"},
        {"1850-03", "MAR 1850"},
        {"1850-03-05", "05 MAR 1850"},
        {"1850-1-2", "2 JAN 1850"},
        {"c1850", "ABT 1850"},
        {"c1700J", "ABT @#DJULIAN@ 1700"},
        {"c", "ABT "},
        {"ABT 1850", "ABT 1850"},
        {"BEF 1850-03-05", "BEF 05 MAR 1850"},
        {"BET 1850 AND 1860", "BET 1850 AND 1860"},
        {"FROM 1850-01 TO 1860-12-31", "FROM JAN 1850 TO 31 DEC 1860"},
        {"1850 TO 1860", "1850 TO 1860"},
        {"1850-01 AND 1860D", "JAN 1850 AND 1860/61"},
        {"1700-03-01J", "@#DJULIAN@ 01 MAR 1700"},
        {"1731-02-11D", "11 FEB 1731/32"},
        {"1850D", "1850/51"},
        {"1699D", "1699/00"},
        {"9D", "9/10"},
        {"@#DGREGORIAN@INT 1850(about then)", "@#DGREGORIAN@ INT 1850(about then)"},
        {"@#DHEBREW@1 TSH 5000", "@#DHEBREW@ 1 TSH 5000"},
        {"@no second at sign", " @no second at sign"},
        // shapes it does not know
        {"ABT 1850 X", ""},
        {"FROM 1850 TO 1860 X", ""},
        {"1850-01-02-03", ""},
        {"", ""},
    };
    for (const auto& [text, ged] : cases)
        EXPECT_EQ(control->sDateSVG2GED(QString::fromUtf8(text)), QString::fromUtf8(ged)) << text;
}

TEST_F(DateConversion, DateTextWithBadNumbersThrows) {
    const char* cases[] = {"1850-XX", "1850-13-01", "1850-00", "ABT 1850-0", "XXXXD", "FROM 1850 TO 1860-1X"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        try {
            control->sDateSVG2GED(QString::fromUtf8(text));
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, errorNumber(514));
            EXPECT_EQ(e.source, QStringLiteral("GEDControlClass"));
        }
    }
}

TEST_F(DateConversion, MonthNamesDoNotFollowTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    checkGed({"15 MAR 1850", "1850-03-15", nullptr});
    EXPECT_EQ(control->sDateSVG2GED(QStringLiteral("1850-03-15")), QStringLiteral("15 MAR 1850"));
    QLocale::setDefault(saved);
}

}  // namespace
