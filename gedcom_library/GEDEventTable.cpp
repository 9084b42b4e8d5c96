#include "GEDEventTable.h"

#include "GEDTagClass.h"

namespace {

struct EventRow {
    short tag;
    const char* description;
    const char* eventType;  // nullptr: the tag name stands for the type
};

// In look-up order: the reverse look-up takes the first matching row, so
// "Christened" gives CHR, not CHRA.
constexpr EventRow kEventRows[] = {
    {12, "Annulment event", nullptr},
    {25, "Census event", "Census"},
    {46, "Divorce event", nullptr},
    {47, "Divorce files event", nullptr},
    {53, "Engagement event", nullptr},
    {77, "Marriage banns event", "Marriage"},
    {78, "Marriage contract event", "Marriage"},
    {80, "Married", "Marriage"},
    {79, "Marriage license event", "Marriage"},
    {81, "Marriage settlement event", nullptr},
    {109, "Residence event", nullptr},
    {54, "Generic event", nullptr},
    {23, "Cast event", nullptr},
    {48, "Description event", nullptr},
    {49, "Education event", nullptr},
    {70, "Identification no. event", nullptr},
    {84, "Nationality event", nullptr},
    {86, "Children count event", nullptr},
    {88, "Marriage count event", nullptr},
    {93, "Occupation", nullptr},
    {102, "Property event", nullptr},
    {107, "Religion event", nullptr},
    {121, "Social security no. event", nullptr},
    {130, "Title event", nullptr},
    {55, "Fact or attribute event", nullptr},
    {19, "Born", "Birth"},
    {29, "Christened", "Baptism"},
    {42, "Died", "Death"},
    {21, "Buried", "Burial"},
    {38, "Cremated", "Burial"},
    {5, "Adoption event", nullptr},
    {16, "Baptised", "Baptism"},
    {17, "Bar mitzvah event", nullptr},
    {18, "Bas mitzvah event", nullptr},
    {20, "Blessing event", nullptr},
    {30, "Christened", "Baptism"},
    {33, "Confirmation event", nullptr},
    {61, "First communion event", nullptr},
    {95, "Ordination event", nullptr},
    {85, "Naturalization event", nullptr},
    {51, "Emigration event", nullptr},
    {71, "Immigration event", nullptr},
    {101, "Probate event", nullptr},
    {135, "Will event", nullptr},
    {67, "Graduation event", nullptr},
    {111, "Retirement event", nullptr},
};

const EventRow* findRow(short iTag) {
    for (const EventRow& row : kEventRows)
        if (row.tag == iTag)
            return &row;
    return nullptr;
}

}  // namespace

QString sGetEventDescr(short iTag, QString& sEvType) {
    sEvType = GEDTagClass::instance().GetTagname(iTag);
    const EventRow* row = findRow(iTag);
    if (!row)
        return QStringLiteral("Unknown event");
    if (row->eventType)
        sEvType = QString::fromLatin1(row->eventType);
    return QString::fromLatin1(row->description);
}

short iGetEventTag(const QString& sDescr) {
    for (const EventRow& row : kEventRows)
        if (sDescr == QLatin1String(row.description))
            return row.tag;
    return GEDTag::Unknown;
}

bool bIsEventTag(short iTag) { return findRow(iTag) != nullptr; }
