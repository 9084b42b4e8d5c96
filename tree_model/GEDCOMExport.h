#pragma once

#include <memory>

#include <QDate>
#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

class GEDControlClass;
class SVGBox;
class SVGFamily;
class SVGTree;
class WriteTextFile;

// Writes a tree as a lineage-linked GEDCOM 5.5.1 file in UTF-8. Names, sex,
// pictures, family links, notes and the dated events held as mark-up in the
// notes go into standard structures; what GEDCOM has no place for (header
// settings, place keys, grid positions, the tentative flag, family flags and
// local settings) goes into this system's own _SVG_ lines, which the GEDCOM
// library reads back. Tooltips and program data are not written.
//
// The file is written atomically: when anything fails, the error rises to the
// caller and a file already at the target stays as it was.
class GEDCOMExport {
public:
    explicit GEDCOMExport(const SVGTree& tree);
    ~GEDCOMExport();
    GEDCOMExport(const GEDCOMExport&) = delete;
    GEDCOMExport& operator=(const GEDCOMExport&) = delete;

    void Write(const QString& sFile);

private:
    void writeHeader();
    void WriteGEDCOMIndi(const SVGBox& oBox);
    void WriteGEDCOMFam(const SVGFamily& oFam);
    // The events held as mark-up in a record's notes, then the rest of the notes.
    void WriteGEDCOMEvents(const QStringList& notes);
    // One event element (its attributes and inner text) as an event structure.
    void writeEvent(const StringDict& attributes, const QString& innerText);
    // Paragraphs (parts between blank lines) as NOTE structures at iLevel.
    void WriteGEDCOMNote(const QString& sText, int iLevel);
    // A tag with a value: "@" doubled, line breaks as CONT lines, long lines
    // continued on CONC lines.
    void writeValue(int iLevel, const QString& sTag, const QString& sValue);
    void writeDate(int iLevel, const QString& sDate);
    void WriteGEDCOMLine(const QString& sLine, int iLevel);
    // A line that holds no value to split: a record or pointer line.
    void writePlain(const QString& sLine);
    GEDControlClass& control();

    const SVGTree& tree_;
    WriteTextFile* out_ = nullptr;
    std::shared_ptr<GEDControlClass> control_;
    QString submitter_;
};

// The longest GEDCOM line in characters, its CR LF terminator included.
inline constexpr int kGEDCOMMaxLine = 255;

// One GEDCOM line (level, tag and value) as the lines to write: itself when
// it fits, else its first part followed by (iLevel + 1) CONC lines. Each line
// with its CR LF stays within kGEDCOMMaxLine characters. Cuts fall between two
// non-blank characters wherever a part of more than 11 characters allows it,
// never inside a character (a surrogate pair) nor inside a doubled "@".
QStringList splitGEDCOMLine(const QString& sLine, int iLevel);

// A date as the header's DATE line gives it: two-digit day, the English
// GEDCOM month abbreviation and the four-digit year («05 MAR 2026»).
QString sGEDCOMHeaderDate(const QDate& date);
