#pragma once

#include <QString>
#include <QStringList>

#include "ChartDrawContext.h"
#include "foundation/OrderedDict.h"

class Reporter;
class SVGApplications;
class SVGTree;

// The Process action: turns the tree in memory (unsaved changes included)
// into one chart file, or one per viewpoint when viewpoints are in use. Each
// file is the header template with its insertion points filled, the drawing,
// then the data blocks the chart's scripts read, in the order of its kind
// (SVG file or HTML page).
//
// A file is written to a temporary file that takes the chart's name only when
// it is complete: a run that fails leaves the charts it finished and, for the
// one it was writing, whatever file was there before. Errors rise to the
// caller, which reports them.
class ChartRun {
public:
    // sDataFolder holds the header templates and the support scripts
    // (SVGcode/) that are copied beside charts that need them.
    ChartRun(SVGTree& oTree, const SVGApplications& oApps, Reporter& oReporter, const QString& sDataFolder);

    // The loader that sizes persons' own pictures (none: such pictures count
    // as pictures that cannot be loaded).
    void setPictureSize(PictureSizeFn fn) { pictureSize_ = std::move(fn); }

    // Writes the chart files of the tree whose file is sTreeFile and returns
    // them in the order written.
    QStringList ProcessTree(const QString& sTreeFile);
    // The chart that View opens after the last successful run: the whole
    // tree's, or the current viewpoint's (the first viewpoint's when none was
    // current). "" before any run.
    QString GetOutputFile() const { return outputFile_; }
    // The support scripts copied by the last run ("" entries none).
    QStringList copiedSupportFiles() const { return copied_; }

    // Writes one complete chart file.
    void GenerateOutputFile(const QString& sFile, const StringDict& oAppDict, bool bSVGFile);
    // Logs the mouse operations of the enabled applications.
    void LogMouseOperations(const StringDict& oAppDict);

    // The name chart files are made from: the tree file without the
    // extension of its name (a "." in a folder name is not an extension).
    static QString sOutputBase(const QString& sTreeFile);

private:
    void copySupportScripts(const QString& sChartFolder, const StringDict& oAppDict, bool bSVGFile);

    SVGTree& tree_;
    const SVGApplications& apps_;
    Reporter& reporter_;
    QString dataFolder_;
    QString treeFolder_;
    PictureSizeFn pictureSize_;
    QString outputFile_;
    QStringList copied_;
};
