#pragma once

#include <QString>
#include <QStringList>

#include "SVGDisplay.h"

class SVGApplications;
class SVGTree;

// The data blocks of a chart that its scripts read at run time: the notes of
// persons and families (hidden elements shown in information panels), their
// program-data rows, and the script object that names the values of each kind
// of program data (the data signatures). In an SVG chart an element is a
// foreignObject holding an XHTML div with one CDATA section; in an HTML chart
// it is a div hidden by an inline style.
class ChartDataBlocks {
public:
    ChartDataBlocks(const SVGTree& oTree, const SVGApplications& oApps, SVGDisplay::ChartWriter& oOut);

    // The notes of every person, then every family, in view that has notes;
    // an HTML chart gets an outer div even when none has.
    void GenerateNotes();
    // The program-data rows of every person, then every family, in view that
    // has them.
    void GenerateProgData();
    // The signatures of every kind of program data, registered under the
    // chart's instance letter in the page's pd_dataSignatures; nothing when
    // no kind is defined.
    void GenerateDataSignatures();

    // Text for a CDATA section: a "]]>" inside it would end the section early,
    // so it is split across two sections.
    static QString sCDataSafe(const QString& sText);
    // Text for a single-quoted script string: backslashes and quotes escaped,
    // and "<", ">" and "&" written as escapes, so that the text can neither end
    // the script element or a CDATA section nor be read as markup where a
    // script inside a drawing is parsed as XML. Characters outside printable
    // ASCII are written as \u escapes too: the chart writer would turn them
    // into character references, which script text does not decode.
    static QString sScriptString(const QString& sText);

private:
    // Writes the lines, expanding place keys to their internet locations;
    // returns how many there were.
    int iWriteNotesLines(const QStringList& sLines, bool bData);
    void writeElementStart(const QString& sId, const QString& sClasses);
    void writeElementEnd();

    const SVGTree& tree_;
    const SVGApplications& apps_;
    SVGDisplay::ChartWriter& out_;
    bool svg_;
    QString inst_;
};
