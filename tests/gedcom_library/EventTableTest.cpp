#include <gtest/gtest.h>

#include "GEDEventTable.h"
#include "GEDTagClass.h"
#include "QStringPrinting.h"

namespace {

struct EventCase {
    const char* tag;
    const char* description;
    const char* type;  // nullptr: the tag name is the type
};

// Every event tag, in the order the reverse look-up tries them.
const EventCase kEvents[] = {
    {"ANUL", "Annulment event", nullptr},
    {"CENS", "Census event", "Census"},
    {"DIV", "Divorce event", nullptr},
    {"DIVF", "Divorce files event", nullptr},
    {"ENGA", "Engagement event", nullptr},
    {"MARB", "Marriage banns event", "Marriage"},
    {"MARC", "Marriage contract event", "Marriage"},
    {"MARR", "Married", "Marriage"},
    {"MARL", "Marriage license event", "Marriage"},
    {"MARS", "Marriage settlement event", nullptr},
    {"RESI", "Residence event", nullptr},
    {"EVEN", "Generic event", nullptr},
    {"CAST", "Cast event", nullptr},
    {"DSCR", "Description event", nullptr},
    {"EDUC", "Education event", nullptr},
    {"IDNO", "Identification no. event", nullptr},
    {"NATI", "Nationality event", nullptr},
    {"NCHI", "Children count event", nullptr},
    {"NMR", "Marriage count event", nullptr},
    {"OCCU", "Occupation", nullptr},
    {"PROP", "Property event", nullptr},
    {"RELI", "Religion event", nullptr},
    {"SSN", "Social security no. event", nullptr},
    {"TITL", "Title event", nullptr},
    {"FACT", "Fact or attribute event", nullptr},
    {"BIRT", "Born", "Birth"},
    {"CHR", "Christened", "Baptism"},
    {"DEAT", "Died", "Death"},
    {"BURI", "Buried", "Burial"},
    {"CREM", "Cremated", "Burial"},
    {"ADOP", "Adoption event", nullptr},
    {"BAPM", "Baptised", "Baptism"},
    {"BARM", "Bar mitzvah event", nullptr},
    {"BASM", "Bas mitzvah event", nullptr},
    {"BLES", "Blessing event", nullptr},
    {"CHRA", "Christened", "Baptism"},
    {"CONF", "Confirmation event", nullptr},
    {"FCOM", "First communion event", nullptr},
    {"ORDN", "Ordination event", nullptr},
    {"NATU", "Naturalization event", nullptr},
    {"EMIG", "Emigration event", nullptr},
    {"IMMI", "Immigration event", nullptr},
    {"PROB", "Probate event", nullptr},
    {"WILL", "Will event", nullptr},
    {"GRAD", "Graduation event", nullptr},
    {"RETI", "Retirement event", nullptr},
};

short codeOf(const char* tag) { return GEDTagClass::instance().GetTag(QString::fromLatin1(tag)); }

TEST(EventTable, EveryEventTagHasItsDescriptionAndType) {
    ASSERT_EQ(std::size(kEvents), 46u);
    for (const EventCase& e : kEvents) {
        SCOPED_TRACE(e.tag);
        const short code = codeOf(e.tag);
        ASSERT_NE(code, 0);
        EXPECT_TRUE(bIsEventTag(code));
        QString type = QStringLiteral("left over");
        EXPECT_EQ(sGetEventDescr(code, type), QString::fromLatin1(e.description));
        EXPECT_EQ(type, QString::fromLatin1(e.type ? e.type : e.tag));
    }
}

TEST(EventTable, DescriptionsMapBackToTheFirstMatchingTag) {
    for (const EventCase& e : kEvents) {
        // CHRA shares its description with CHR, which comes first.
        const char* expected = QByteArray(e.tag) == "CHRA" ? "CHR" : e.tag;
        EXPECT_EQ(iGetEventTag(QString::fromLatin1(e.description)), codeOf(expected)) << e.description;
    }
    const char* unknown[] = {"Unknown event", "born", "Born ", "", "Birth"};
    for (const char* text : unknown)
        EXPECT_EQ(iGetEventTag(QString::fromLatin1(text)), 0) << text;
}

TEST(EventTable, CodesThatAreNoEventsAreUnknown) {
    const std::pair<short, const char*> cases[] = {{0, "?"}, {codeOf("NOTE"), "NOTE"}, {codeOf("_SVG_H"), "_SVG_H"}, {147, ""}};
    for (const auto& [code, type] : cases) {
        QString evType;
        EXPECT_EQ(sGetEventDescr(code, evType), QStringLiteral("Unknown event")) << code;
        EXPECT_EQ(evType, QString::fromLatin1(type)) << code;
        EXPECT_FALSE(bIsEventTag(code));
    }
}

}  // namespace
