// Writes the sample tree's charts for the browser tests, the way the program
// does: the sample tree file is loaded, its header settings are overridden to
// select a kind of chart, and the chart run writes the charts with the shipped
// templates, definitions and support scripts and the program's picture loader.
//
// Usage: make_sample_charts <program data folder> <output folder>
// Every kind gets its own copy of the data folder's samples/ under the output
// folder.
// Prints one line per chart written: the kind, a tab, the chart's path.
// Ends with status 1 (and the reason on stderr) when a run fails or warns.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSize>

#include <cstdio>

#include "AppError.h"
#include "ChartRun.h"
#include "PictureEntry.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGDisplay.h"
#include "SVGTree.h"

namespace {

using Settings = QList<std::pair<QString, QString>>;

struct Kind {
    QString name;
    Settings settings;
};

// A chart title with characters that markup, selectors and scripts treat
// specially; it becomes the drawing's id, the page's title bar and the
// plain SVG chart's title.
const QString kAwkwardTitle = QString::fromUtf8("Harwood & Quinn: \"<families>\" #1 \u2014 Ann's");

// The four kinds of chart. The charts with scripts are written for both of
// the sample's viewpoints, so that they link to each other; the plain SVG
// chart shows the whole tree (two viewpoints would enable the linked trees,
// and with them the scripts). The HTML chart keeps the sample's own title.
const QList<Kind> kKinds = {
    {QStringLiteral("svg"),
     {{"SVGFile", "True"}, {"InfoPanels", "False"}, {"Timeline", "False"}, {"LinkedTrees", "False"},
      {"Viewpoints", "False"}, {"Title", kAwkwardTitle}}},
    {QStringLiteral("svg-js"), {{"SVGFile", "True"}, {"Title", kAwkwardTitle}}},
    {QStringLiteral("html"), {{"SVGFile", "False"}, {"PanZoom", "False"}}},
    {QStringLiteral("html-pz"), {{"SVGFile", "False"}, {"PanZoom", "True"}, {"Title", kAwkwardTitle}}},
};

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + f.fileName();
        if (f.isDir()) {
            copyFolder(f.absoluteFilePath(), target);
        } else {
            QFile::remove(target);
            QFile::copy(f.absoluteFilePath(), target);
        }
    }
}

// Writes one kind's charts into folder (a copy of the sample folder).
QStringList writeCharts(const QString& dataFolder, const QString& folder, const Settings& settings,
                        RecordingReporter& reporter) {
    SVGApplications apps;
    apps.Initialise(dataFolder, reporter);
    SVGTree tree;
    tree.setReporter(&reporter);
    tree.setApplications(&apps);
    tree.LoadFile(std::make_shared<SVGDisplay>(), QDir(folder).filePath(QStringLiteral("TreeHarwood.txt")), false);
    // Additions to the sample for the scripts to show. An event noted after
    // the later ones, which the time line must sort in.
    tree.GetPersons().value(QStringLiteral("thomas"))
        ->AddNotes(QStringLiteral("<p><span data-start='{ABT 1845}' data-event='Diary' data-evtype='Event'>"
                                  "Began his harvest diary about 1845</span>.</p>"));
    // A link whose texts hold characters that markup and the chart writer
    // treat specially.
    tree.GetPersons().value(QStringLiteral("john"))
        ->AddProgData(QString::fromUtf8("TreeLink | quinn | Quinn & Baker \u2014 Stoke Mill \U0001F33E | TreeHarwood_quinn | "
                                        "PH-peter | Father-in-law\u2019s mill <1850>"));
    for (const auto& [name, value] : settings) tree.GetSettings().set(name, value);
    tree.GetDisplay()->Init(tree.GetSettings());
    tree.SetAppDict(apps.Load(tree.GetSettings()));

    // Pictures are named relative to the tree's folder, which the program
    // makes current while it works on a tree.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    ChartRun run(tree, apps, reporter, dataFolder);
    run.setPictureSize(pictureFileSize);
    QStringList files;
    try {
        files = run.ProcessTree(tree.GetTreeFile());
    } catch (...) {
        QDir::setCurrent(previous);
        throw;
    }
    QDir::setCurrent(previous);
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_sample_charts <program data folder> <output folder>\n");
        return 2;
    }
    const QString dataFolder = QFileInfo(args[1]).absoluteFilePath();
    const QString sampleFolder = dataFolder + QStringLiteral("/samples");
    const QString outFolder = QFileInfo(args[2]).absoluteFilePath();
    for (const Kind& kind : kKinds) {
        const QString folder = outFolder + u'/' + kind.name;
        QDir(folder).removeRecursively();
        copyFolder(sampleFolder, folder);
        RecordingReporter reporter;
        QStringList files;
        try {
            files = writeCharts(dataFolder, folder, kind.settings, reporter);
        } catch (const AppError& e) {
            std::fprintf(stderr, "%s: error %d in %s: %s\n", qPrintable(kind.name), e.number, qPrintable(e.source),
                         qPrintable(e.description));
            return 1;
        }
        const QList<QString> warnings = reporter.texts(RecordingReporter::Entry::Warn);
        if (!warnings.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(kind.name), qPrintable(warnings.join(u'\n')));
            return 1;
        }
        for (const QString& file : files) std::printf("%s\t%s\n", qPrintable(kind.name), qPrintable(file));
    }
    return 0;
}
