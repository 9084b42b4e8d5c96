#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include "KinreadExport.h"

// Tag codes the library tests by number.
namespace GEDTag {
inline constexpr short Unknown = 0;
inline constexpr short BIRT = 19;
inline constexpr short CHAR = 27;
inline constexpr short CHIL = 28;
inline constexpr short CONC = 32;
inline constexpr short CONT = 35;
inline constexpr short DATE = 41;
inline constexpr short DEAT = 42;
inline constexpr short FAM = 56;
inline constexpr short FAMC = 57;
inline constexpr short FAMS = 59;
inline constexpr short GEDC = 65;
inline constexpr short GIVN = 66;
inline constexpr short HEAD = 68;
inline constexpr short HUSB = 69;
inline constexpr short INDI = 72;
inline constexpr short MARR = 80;
inline constexpr short NAME = 83;
inline constexpr short NICK = 87;
inline constexpr short NOTE = 89;
inline constexpr short NPFX = 90;
inline constexpr short NSFX = 91;
inline constexpr short OBJE = 92;
inline constexpr short PEDI = 97;
inline constexpr short PLAC = 99;
inline constexpr short SEX = 116;
inline constexpr short SOUR = 119;
inline constexpr short SPFX = 120;
inline constexpr short SURN = 126;
inline constexpr short TRLR = 131;
inline constexpr short TYPE = 132;
inline constexpr short VERS = 133;
inline constexpr short WIFE = 134;
inline constexpr short BLOB = 137;
inline constexpr short SVG_H = 142;
inline constexpr short SVG_U = 143;
inline constexpr short SVG_P = 144;
inline constexpr short SVG_F = 145;
inline constexpr short SVG_LS = 146;
inline constexpr short Last = 146;
inline constexpr short Count = Last + 1;
}  // namespace GEDTag

// The two lookups between GEDCOM tag names and the library's tag codes
// (1 to 146; 0 is no tag). Every short name and every long name is a key of
// the name table; the look-up is exact and case-sensitive, so callers
// upper-case a tag word first. One instance serves the whole library.
class KINREAD_API GEDTagClass {
public:
    // The one shared table, made on first use.
    static const GEDTagClass& instance();

    // The code of a tag name or long name; 0 when the name is not a key.
    short GetTag(const QString& sName) const;
    // The short name of a code: "?" for 0, an empty text for a code not in the table.
    QString GetTagname(short iTag) const;

    // Number of keys of the name table (short and long names together).
    int nameCount() const { return names.size(); }

private:
    GEDTagClass();

    QHash<QString, short> names;
    QStringList shortNames;  // index = code - 1
};
