#pragma once

#include <functional>

#include <QString>

class GEDDocClass;
class GEDKeyMap;
class PlaceKeyClass;
class Reporter;

// What a GEDCOM document is exported with besides itself.
struct GEDTreeExportContext {
    QString title;                          // the loaded file's title
    QString version;                        // the program's version text
    const PlaceKeyClass* placeKeys = nullptr;
    const GEDKeyMap* keys = nullptr;        // tree keys of the records
    bool loadImages = true;                 // whether picture references are written
    Reporter* reporter = nullptr;           // warnings
};

// Writes a laid-out GEDCOM document as the lines of a tree definition file:
// three header lines, the place keys and an empty line when there are any,
// one person record per individual and one family record per family, each
// followed by its tooltip ("- ") and notes ("= ") lines. A family the library
// gives no husband or wife for, or the same person as both, cannot stand in
// a tree: it is left out and one warning names all such families. Names
// are written with blanks for the "|" signs and line breaks a person record
// cannot hold, and one warning names those persons; a grid larger than the
// Tree Designer opens is warned of. A person or family record longer than a
// tree file's line raises an error naming it, before the line is written.
void writeGEDTreeLines(const GEDDocClass& oDoc, const GEDTreeExportContext& context,
                       const std::function<void(const QString&)>& writeLine);

// The Title setting of an exported tree, one that Tree Settings accepts as it
// stands: every character other than an ASCII letter, a digit, "_" and "-"
// becomes "_" (blanks, commas and equals signs among them, which would break
// the header record), and a title that does not begin with an ASCII letter
// gets "Tree" in front (as the proposed file name does).
QString sExportTitle(const QString& sTitle);

// The file name the export proposes: "Tree" + title + ".txt", without the
// "Tree" when the title begins with it in any letter case.
QString sExportFileName(const QString& sTitle);
