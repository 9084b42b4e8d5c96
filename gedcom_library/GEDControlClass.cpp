#include "GEDControlClass.h"

#include "GEDEventTable.h"
#include "GEDTagClass.h"

std::shared_ptr<GEDControlClass> createGEDControl() {
    return std::shared_ptr<GEDControlClass>(new GEDControlClass());
}

GEDControlClass::GEDControlClass() {
    // Long date words and the GEDCOM words that replace them. MAY is its own
    // abbreviation and has no entry.
    static const char* const kKeywords[][2] = {
        {"ABOUT", "ABT"},   {"BEFORE", "BEF"},  {"AFTER", "AFT"},     {"BETWEEN", "BET"},
        {"JANUARY", "JAN"}, {"FEBRUARY", "FEB"}, {"MARCH", "MAR"},    {"APRIL", "APR"},
        {"JUNE", "JUN"},    {"JULY", "JUL"},    {"AUGUST", "AUG"},    {"SEPTEMBER", "SEP"},
        {"SEPT", "SEP"},    {"OCTOBER", "OCT"}, {"NOVEMBER", "NOV"},  {"DECEMBER", "DEC"},
    };
    for (const auto& entry : kKeywords)
        dateKeywords.insert(QString::fromLatin1(entry[0]), QString::fromLatin1(entry[1]));
}

GEDControlClass::~GEDControlClass() = default;

QString GEDControlClass::GetVersion() const {
    // The library carries no comments text, so nothing follows the numbers.
    return QStringLiteral("V%1.%2.%3")
        .arg(KINREAD_VERSION_MAJOR)
        .arg(KINREAD_VERSION_MINOR)
        .arg(KINREAD_VERSION_REVISION);
}

QString GEDControlClass::CvtEventDescrToTag(const QString& sEvDescr) const {
    const short iTag = iGetEventTag(sEvDescr);
    if (iTag == GEDTag::Unknown)
        return QStringLiteral("EVEN");
    return GEDTagClass::instance().GetTagname(iTag);
}

void GEDControlClass::Quit() { bAbandon = true; }

void GEDControlClass::ReportMsg(const QString& sText, bool bWarning) {
    if (reportListener)
        reportListener->ReportMessage(sText, bWarning);
}
