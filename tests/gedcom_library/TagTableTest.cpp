#include <gtest/gtest.h>

#include "GEDTagClass.h"
#include "QStringPrinting.h"

namespace {

const GEDTagClass& tags() { return GEDTagClass::instance(); }

TEST(TagTable, ShortAndLongNamesGiveTheSameCode) {
    struct Case {
        const char* shortName;
        const char* longName;  // nullptr: the tag has no long name
        short code;
    };
    const Case cases[] = {
        {"ABBR", "ABBREVIATION", 1},   {"ADR2", "ADDRESS2", 4},        {"ADOP", "ADOPTION", 5},
        {"AFN", nullptr, 6},           {"ANCI", "ANCES_INTEREST", 11}, {"BIRT", "BIRTH", 19},
        {"CONC", "CONCATENATION", 32}, {"CONT", "CONTINUED", 35},      {"DATE", nullptr, 41},
        {"FAM", "FAMILY", 56},         {"FAX", "FACIMILIE", 60},       {"HEAD", "HEADER", 68},
        {"INDI", "INDIVIDUAL", 72},    {"NCHI", "CHILDREN_COUNT", 86}, {"QUAY", "QUALITY_OF_DATA", 104},
        {"SPFX", "SURN_PREFIX", 120},  {"TRLR", "TRAILER", 131},       {"WWW", nullptr, 136},
        {"BLOB", nullptr, 137},        {"_FILE", nullptr, 138},        {"_KEYS", nullptr, 141},
        {"_SVG_H", nullptr, 142},      {"_SVG_LS", nullptr, 146},      {"DESI", "DESCENDANT_INT", 44},
        {"DSCR", "PHY_DESCRIPTION", 48}, {"IDNO", "IDENT_NUMBER", 70}, {"MARC", "MARR_CONTRACT", 78},
        {"MARL", "MARR_LICENSE", 79},  {"NMR", "MARRIAGE_COUNT", 88},  {"RFN", "REC_FILE_NUMBER", 112},
        {"SSN", "SOC_SEC_NUMBER", 121}, {"CHRA", "ADULT_CHRISTENING", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shortName);
        EXPECT_EQ(tags().GetTag(QString::fromLatin1(c.shortName)), c.code);
        EXPECT_EQ(tags().GetTagname(c.code), QString::fromLatin1(c.shortName));
        if (c.longName) {
            EXPECT_EQ(tags().GetTag(QString::fromLatin1(c.longName)), c.code);
        }
    }
}

TEST(TagTable, EveryCodeHasADistinctShortNameThatMapsBack) {
    QStringList seen;
    for (short code = 1; code <= 146; ++code) {
        const QString name = tags().GetTagname(code);
        ASSERT_FALSE(name.isEmpty()) << code;
        EXPECT_FALSE(seen.contains(name)) << name.toStdString();
        seen.append(name);
        EXPECT_EQ(tags().GetTag(name), code) << name.toStdString();
    }
    // 146 short names and 117 long names.
    EXPECT_EQ(tags().nameCount(), 263);
}

TEST(TagTable, LookUpIsExactAndUnknownsGiveZero) {
    const char* unknown[] = {"birt", "Birth", "BIRT ", "", "CONTINUE", "_SVG_X", "?"};
    for (const char* name : unknown)
        EXPECT_EQ(tags().GetTag(QString::fromLatin1(name)), 0) << name;
    EXPECT_EQ(tags().GetTagname(0), QStringLiteral("?"));
    EXPECT_EQ(tags().GetTagname(147), QString());
    EXPECT_EQ(tags().GetTagname(-1), QString());
    EXPECT_EQ(tags().GetTagname(146), QStringLiteral("_SVG_LS"));
}

}  // namespace
