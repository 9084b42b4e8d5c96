#pragma once

#include <QString>

#include "SVGDisplay.h"
#include "foundation/OrderedDict.h"

class Reporter;
class SVGApplications;
class SVGTree;

// Copies a header template into a chart file: the opening of the SVG or HTML
// document with the chart's symbols, styles and scripts. Variables in the
// lines are substituted; lines that equal a marker exactly are replaced by
// generated text (support and application scripts, stylesheets, stock-image
// symbols, the background image, the click handlers, the applications'
// preamble and the list of mouse operations).
class HeaderTemplate {
public:
    // Support scripts and the stylesheet are linked from the folder
    // "SVGcode" beside the chart itself.
    static const char* const kSupportBase;

    // sDataFolder holds the shipped templates; a relative path in the Header
    // setting is taken from sTreeFolder (the folder of the tree file).
    HeaderTemplate(SVGTree& oTree, const SVGApplications& oApps, SVGDisplay::ChartWriter& oOut,
                   Reporter& oReporter, const QString& sDataFolder, const QString& sTreeFolder);

    // The template the chart uses: the Header setting when it is set, else the
    // shipped one for the kind of chart.
    QString sTemplateFile(const StringDict& oAppDict, bool bSVGFile) const;
    // Logs the template used and copies it.
    void WriteHeader(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars);
    // The line-by-line copy. A template that cannot be read raises the
    // text-file error.
    void CopyHeaderFile(const QString& sFile, const StringDict& oVars);
    void WritePreamble(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars);
    void WritePostamble(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars);
    // The configured mouse operations, for the chart's help text.
    void WriteMouseHelp(const StringDict& oAppDict);

private:
    void write(const QString& sLine);
    void writeCode(const QString& sCode, const StringDict& oVars);
    void writeAmble(const QString& sCode, const StringDict& oAppDict, const StringDict& oVars);
    void writeScripts(const StringDict& oAppDict, bool bSVGFile);
    void writeStyles(const StringDict& oAppDict, bool bSVGFile);
    void writeStockImages();
    // Returns the background image's location ("" when there is none).
    QString writeBackgroundPattern(bool bSVGFile);
    void writeBackgroundRect(const QString& sImage, bool bSVGFile);

    SVGTree& tree_;
    const SVGApplications& apps_;
    SVGDisplay::ChartWriter& out_;
    Reporter& reporter_;
    QString dataFolder_;
    QString treeFolder_;
};
