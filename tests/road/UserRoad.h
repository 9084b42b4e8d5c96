#pragma once

#include <memory>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextEdit>

#include "GEDBrowserHost.h"
#include "LogReporter.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "ScriptedMessageBoxes.h"
#include "ServiceSlot.h"

// What a tree holds that a round trip through its file must keep: each
// person's cell, and each family's parents and children.
struct TreeShape {
    QMap<QString, QString> persons;   // key -> "col,row"
    QMap<QString, QString> families;  // key -> "parent parent: child child..."

    static TreeShape of(const SVGTree& tree);
    bool operator==(const TreeShape& other) const = default;
    // How many cells hold a person.
    int occupiedCells() const;
    // The first difference from other, "" when there is none.
    QString differenceFrom(const TreeShape& other) const;
};

// A GEDCOM browser host that answers every warning with OK and records what
// the browser shows.
class RoadBrowserHost : public GEDBrowserHost {
public:
    QStringList log, warnings;
    void logLine(const QString& text, LogColour) override { log << text; }
    void warn(const QString& text) override { warnings << text; }
    bool warnDiscard(const QString& text) override {
        warnings << text;
        return false;
    }
    bool askYesNo(const QString&) override { return false; }
    void showInformation(const QString&) override {}
    void setClipboardText(const QString&) override {}
    void editPlaceKeys(PlaceKeyClass&) override {}
};

// The road a user takes from a GEDCOM file to a chart, one step at a time, as
// the program's windows drive the subsystems: the GEDCOM browser loads the
// file and exports a tree definition file, the main window loads it, the
// Tree Designer opens on it and lays it out, the tree is saved and loaded
// again, and the chart run writes its charts. Work happens in a folder of its
// own; the warnings and boxes of every step are kept for the caller to check.
// Needs a QApplication (the designer is a window, shown offscreen).
class UserRoad {
public:
    // dataFolder holds the program's templates, definitions and support
    // scripts; workFolder is emptied and receives the copied GEDCOM file, the
    // tree file and the charts.
    UserRoad(const QString& dataFolder, const QString& workFolder);
    ~UserRoad();

    // Copies the GEDCOM file into the work folder, with the pictures/ folder
    // beside it when there is one, loads the copy in the GEDCOM browser and
    // exports the tree file it proposes, with the persons' pictures or
    // without. Returns the tree file's path ("" when the file did not load).
    QString importGedcom(const QString& gedFile, bool pictures = true);
    // What the GEDCOM library said of the file's content while it loaded.
    const QStringList& gedcomWarnings() const { return browserWarnings_; }
    int gedcomPersons() const { return gedcomPersons_; }
    int gedcomFamilies() const { return gedcomFamilies_; }

    // Loads a tree definition file as the main window does.
    std::shared_ptr<SVGTree> loadTree(const QString& treeFile);

    // Opens the Tree Designer on the whole tree, lays it out automatically and
    // shows the new layout; returns how many person boxes the designer shows.
    int designAndLayout(const std::shared_ptr<SVGTree>& tree);

    // Writes the tree's charts with scripts, as an SVG file (svg) or an HTML
    // page, beside its tree file; returns the files written.
    QStringList writeCharts(SVGTree& tree, bool svg);

    QString workFolder() const { return work_; }
    // Warnings of the tree model, the designer and the chart run, and the
    // boxes shown, in order; the notice that the layout ran out of adjustment
    // passes is no problem (a large tree may need more).
    QStringList problems() const;
    // The very-large-grid questions the designer asked (all answered Yes).
    const QStringList& gridQuestions() const { return gridQuestions_; }
    static constexpr const char* kPassLimitNotice = "Auto-Layout operation applied more than";

private:
    QString data_;
    QString work_;
    RecordingReporter reporter_;
    SVGApplications apps_;
    QStringList browserWarnings_;
    QStringList gridQuestions_;
    int gedcomPersons_ = 0, gedcomFamilies_ = 0;
    QTextEdit log_;
    ScriptedMessageBoxes boxes_;
    ScopedService<MessageBoxes> installBoxes_{boxes_};
    LogReporter designerReporter_{&log_, &boxes_};
};
