#pragma once

#include <functional>
#include <memory>

#include <QString>

class QWidget;
class Reporter;
class SVGApplications;
class SVGTree;

// What a chart run is given: the tree in memory, the name its chart files are
// made from, the program's applications, where progress goes and the folder
// of the header templates and support scripts.
struct ChartRunRequest {
    SVGTree& tree;
    QString treeFile;
    SVGApplications& applications;
    Reporter& reporter;
    QString dataFolder;
};

// The windows and runs that the main window starts but that live in other
// parts of the program. The window starts with the chart run and the
// desktop's opening of charts; the others are filled in by the program, and
// one left empty makes its command log that it is not available.
struct MainWindowPeers {
    // Writes the chart files of the tree and returns the one View opens.
    // Errors rise to the caller.
    std::function<QString(const ChartRunRequest&)> processTree;
    // Opens (or refreshes) the Tree Designer on the tree, showing the
    // viewpoint with the key ("" for the whole tree).
    std::function<void(const std::shared_ptr<SVGTree>&, const QString& viewpointKey)> openDesigner;
    // Opens the GEDCOM browser owned by the window.
    std::function<void(QWidget* owner)> openGedcomBrowser;
    // Opens the viewpoint manager on the tree, owned by the window. The
    // program always gives it: the command has no stand-in.
    std::function<void(const std::shared_ptr<SVGTree>&, QWidget* owner)> manageViewpoints;
    // Writes the tree to a GEDCOM file.
    std::function<void(SVGTree&, const QString& file)> exportToGedcom;
    // Opens a chart with the desktop's program for it.
    std::function<void(const QString& file, Reporter& reporter)> openChart;
};
