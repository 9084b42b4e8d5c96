#include "GEDTagClass.h"

#include <iterator>

namespace {

struct TagRow {
    const char* shortName;
    const char* longName;  // nullptr when the tag has no long name
};

// Row n is tag code n + 1: the GEDCOM 5.5.1 tags (alphabetical, ADOP after
// ADR2), then tags other programs write inside multimedia links, then the
// system's own extension tags. Long names are GEDCOM's, spelt as the files
// carry them.
constexpr TagRow kTagRows[] = {
    {"ABBR", "ABBREVIATION"},
    {"ADDR", "ADDRESS"},
    {"ADR1", "ADDRESS1"},
    {"ADR2", "ADDRESS2"},
    {"ADOP", "ADOPTION"},
    {"AFN", nullptr},
    {"AGE", nullptr},
    {"AGNC", "AGENCY"},
    {"ALIA", "ALIAS"},
    {"ANCE", "ANCESTORS"},
    {"ANCI", "ANCES_INTEREST"},
    {"ANUL", "ANNULMENT"},
    {"ASSO", "ASSOCIATES"},
    {"AUTH", "AUTHOR"},
    {"BAPL", "BAPTISM_LDS"},
    {"BAPM", "BAPTISM"},
    {"BARM", "BAR_MITZVAH"},
    {"BASM", "BAS_MITZVAH"},
    {"BIRT", "BIRTH"},
    {"BLES", "BLESSING"},
    {"BURI", "BURIAL"},
    {"CALN", "CALL_NUMBER"},
    {"CAST", "CASTE"},
    {"CAUS", "CAUSE"},
    {"CENS", "CENSUS"},
    {"CHAN", "CHANGE"},
    {"CHAR", "CHARACTER"},
    {"CHIL", "CHILD"},
    {"CHR", "CHRISTENING"},
    {"CHRA", "ADULT_CHRISTENING"},
    {"CITY", nullptr},
    {"CONC", "CONCATENATION"},
    {"CONF", "CONFIRMATION"},
    {"CONL", "CONFIRMATION_LDS"},
    {"CONT", "CONTINUED"},
    {"COPR", "COPYRIGHT"},
    {"CORP", "CORPORATE"},
    {"CREM", "CREMATION"},
    {"CTRY", "COUNTRY"},
    {"DATA", nullptr},
    {"DATE", nullptr},
    {"DEAT", "DEATH"},
    {"DESC", "DESCENDANTS"},
    {"DESI", "DESCENDANT_INT"},
    {"DEST", "DESTINATION"},
    {"DIV", "DIVORCE"},
    {"DIVF", "DIVORCE_FILED"},
    {"DSCR", "PHY_DESCRIPTION"},
    {"EDUC", "EDUCATION"},
    {"EMAI", "EMAIL"},
    {"EMIG", "EMIGRATION"},
    {"ENDL", "ENDOWMENT"},
    {"ENGA", "ENGAGEMENT"},
    {"EVEN", "EVENT"},
    {"FACT", nullptr},
    {"FAM", "FAMILY"},
    {"FAMC", "FAMILY_CHILD"},
    {"FAMF", "FAMILY_FILE"},
    {"FAMS", "FAMILY_SPOUSE"},
    {"FAX", "FACIMILIE"},
    {"FCOM", "FIRST_COMMUNION"},
    {"FILE", nullptr},
    {"FORM", "FORMAT"},
    {"FONE", "PHONETIC"},
    {"GEDC", "GEDCOM"},
    {"GIVN", "GIVEN_NAME"},
    {"GRAD", "GRADUATION"},
    {"HEAD", "HEADER"},
    {"HUSB", "HUSBAND"},
    {"IDNO", "IDENT_NUMBER"},
    {"IMMI", "IMMIGRATION"},
    {"INDI", "INDIVIDUAL"},
    {"LANG", "LANGUAGE"},
    {"LATI", "LATITUDE"},
    {"LONG", "LONGITUDE"},
    {"MAP", nullptr},
    {"MARB", "MARRIAGE_BANN"},
    {"MARC", "MARR_CONTRACT"},
    {"MARL", "MARR_LICENSE"},
    {"MARR", "MARRIAGE"},
    {"MARS", "MARR_SETTLEMENT"},
    {"MEDI", "MEDIA"},
    {"NAME", nullptr},
    {"NATI", "NATIONALITY"},
    {"NATU", "NATURALIZATION"},
    {"NCHI", "CHILDREN_COUNT"},
    {"NICK", "NICKNAME"},
    {"NMR", "MARRIAGE_COUNT"},
    {"NOTE", nullptr},
    {"NPFX", "NAME_PREFIX"},
    {"NSFX", "NAME_SUFFIX"},
    {"OBJE", "OBJECT"},
    {"OCCU", "OCCUPATION"},
    {"ORDI", "ORDINANCE"},
    {"ORDN", "ORDINATION"},
    {"PAGE", nullptr},
    {"PEDI", "PEDIGREE"},
    {"PHON", "PHONE"},
    {"PLAC", "PLACE"},
    {"POST", "POSTAL_CODE"},
    {"PROB", "PROBATE"},
    {"PROP", "PROPERTY"},
    {"PUBL", "PUBLICATION"},
    {"QUAY", "QUALITY_OF_DATA"},
    {"REFN", "REFERENCE"},
    {"RELA", "RELATIONSHIP"},
    {"RELI", "RELIGION"},
    {"REPO", "REPOSITORY"},
    {"RESI", "RESIDENCE"},
    {"RESN", "RESTRICTION"},
    {"RETI", "RETIREMENT"},
    {"RFN", "REC_FILE_NUMBER"},
    {"RIN", "REC_ID_NUMBER"},
    {"ROLE", nullptr},
    {"ROMN", "ROMANIZED"},
    {"SEX", nullptr},
    {"SLGC", "SEALING_CHILD"},
    {"SLGS", "SEALING_SPOUSE"},
    {"SOUR", "SOURCE"},
    {"SPFX", "SURN_PREFIX"},
    {"SSN", "SOC_SEC_NUMBER"},
    {"STAE", "STATE"},
    {"STAT", "STATUS"},
    {"SUBM", "SUBMITTER"},
    {"SUBN", "SUBMISSION"},
    {"SURN", "SURNAME"},
    {"TEMP", "TEMPLE"},
    {"TEXT", nullptr},
    {"TIME", nullptr},
    {"TITL", "TITLE"},
    {"TRLR", "TRAILER"},
    {"TYPE", nullptr},
    {"VERS", "VERSION"},
    {"WIFE", nullptr},
    {"WILL", nullptr},
    {"WWW", nullptr},
    {"BLOB", nullptr},
    {"_FILE", nullptr},
    {"_PRIM", nullptr},
    {"_TYPE", nullptr},
    {"_KEYS", nullptr},
    {"_SVG_H", nullptr},
    {"_SVG_U", nullptr},
    {"_SVG_P", nullptr},
    {"_SVG_F", nullptr},
    {"_SVG_LS", nullptr},
};

static_assert(std::size(kTagRows) == GEDTag::Last, "one row per tag code");

}  // namespace

const GEDTagClass& GEDTagClass::instance() {
    static const GEDTagClass table;
    return table;
}

GEDTagClass::GEDTagClass() {
    shortNames.reserve(GEDTag::Last);
    short code = 0;
    for (const TagRow& row : kTagRows) {
        ++code;
        const QString shortName = QString::fromLatin1(row.shortName);
        shortNames.append(shortName);
        names.insert(shortName, code);
        if (row.longName)
            names.insert(QString::fromLatin1(row.longName), code);
    }
}

short GEDTagClass::GetTag(const QString& sName) const { return names.value(sName, GEDTag::Unknown); }

QString GEDTagClass::GetTagname(short iTag) const {
    if (iTag == GEDTag::Unknown)
        return QStringLiteral("?");
    if (iTag < 1 || iTag > shortNames.size())
        return QString();
    return shortNames.at(iTag - 1);
}
