#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringView>

#include "GEDLineParser.h"
#include "GEDTextIndex.h"

class GEDControlClass;
class GEDDocClass;
class GEDStore;

// One run of reading a GEDCOM file into a new document: lines are folded with
// their CONC/CONT continuations, made into line objects and attached to the
// nearest open line of a lower level; then the declared character set and
// version are checked and the document finishes itself.
class GEDLoader {
public:
    explicit GEDLoader(GEDControlClass& control);
    // The document, or none when the control's abandon flag stopped the load.
    std::shared_ptr<GEDDocClass> load(const QString& sFile);

private:
    static void undoubleAtSigns(std::u16string& text);
    static qsizetype nextLineBreak(QStringView text, qsizetype from);
    void completePending();
    void attachTop();
    // A record whose identifier an earlier one has taken is kept under a
    // fresh identifier, free in the whole file, and warned about.
    void keepDuplicates();
    void checkCharacterSet(const QString& readerCharset, bool byteOrderMark, bool nonAscii);
    void checkVersion();
    qint32 newDateLine(QStringView gedcomDate);
    qint32 newPlaceLine(QStringView place);

    GEDControlClass& control;
    std::shared_ptr<GEDStore> store;
    GEDLineParser parser;
    std::vector<bool> eventTags;
    // Open lines by nesting: slot 0 is the document, slot n + 1 the open line of level n.
    std::vector<qint32> slots;
    qint32 top = -1;
    // The line read last that is not yet an object.
    bool hasPending = false;
    qint32 pendingLevel = 0;
    qint32 pendingLineNumber = 0;
    short pendingTag = 0;
    std::u16string pendingXref;
    std::u16string pendingText;
    // The line of each record with an identifier, in line order, and the
    // records whose identifier was taken already.
    struct XrefLine {
        qint32 node;
        qint32 line;
    };
    std::vector<XrefLine> xrefLines;
    struct Duplicate {
        qint32 node;
        qint32 line;
        QString xref;
    };
    std::vector<Duplicate> duplicates;
    // Dates already converted without complaint, by their GEDCOM text (to
    // their row in the document's date texts), for the earliest valid year
    // they were converted with.
    GEDTextIndex convertedDates;
    short convertedMinYear = 0;
    // Where in the document's text the first line of each converted date
    // (by its row in the document's date texts) and of each place (by its
    // row in knownPlaces) holds it.
    struct TextAt {
        quint32 offset;
        quint32 length;
    };
    std::vector<TextAt> dateAt;
    GEDTextIndex knownPlaces;
    std::vector<TextAt> placeAt;
};
