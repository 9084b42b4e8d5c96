// Takes GEDCOM files along the user's road and writes their charts for the
// browser check: the GEDCOM browser exports each file as a tree definition
// file, the tree loads, the Tree Designer (offscreen) lays it out, the tree is
// saved and loaded again, and the chart run writes an SVG chart with scripts
// and an HTML page beside it.
//
// Usage: make_road_charts <program data folder> <output folder> <file.ged>[:nopictures][:program]...
// Each file gets its own folder under the output folder. Prints one line per
// chart: the GEDCOM file's name, a tab, the number of persons, a tab, the
// chart's path. A file marked ":program" is also exported untouched into
// program/ under the output folder, printed as "program:" + its name, the
// number of persons and the tree file, for the program itself to lay out and
// chart. Ends with status 1 (and the reason on stderr) when a step
// fails, warns, or the saved tree differs from the laid-out one.
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <exception>

#include "AppError.h"
#include "../UserRoad.h"

namespace {

// Runs the road for one file; false (with the reason on stderr) on a fault.
bool roadOf(const QString& dataFolder, const QString& outFolder, QString gedFile) {
    const auto option = [&gedFile](QLatin1String suffix) {
        if (!gedFile.endsWith(suffix)) return false;
        gedFile.chop(suffix.size());
        return true;
    };
    const bool program = option(QLatin1String(":program"));
    const bool pictures = !option(QLatin1String(":nopictures"));
    const QString name = QFileInfo(gedFile).fileName();
    const auto fail = [&](const QString& why) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(why));
        return false;
    };
    UserRoad road(dataFolder, outFolder + u'/' + QFileInfo(gedFile).completeBaseName());
    try {
        const QString treeFile = road.importGedcom(gedFile, pictures);
        if (treeFile.isEmpty()) return fail(QStringLiteral("the GEDCOM browser did not load the file"));
        std::shared_ptr<SVGTree> tree = road.loadTree(treeFile);
        road.designAndLayout(tree);
        const TreeShape laidOut = TreeShape::of(*tree);
        tree->SaveToFile();
        std::shared_ptr<SVGTree> reloaded = road.loadTree(treeFile);
        const QString difference = TreeShape::of(*reloaded).differenceFrom(laidOut);
        if (!difference.isEmpty()) return fail(QStringLiteral("the saved tree differs: ") + difference);
        QStringList charts = road.writeCharts(*reloaded, true);
        charts += road.writeCharts(*reloaded, false);
        if (!road.problems().isEmpty()) return fail(road.problems().join(u'\n'));
        for (const QString& chart : charts)
            std::printf("%s\t%d\t%s\n", qPrintable(name), int(reloaded->GetPersons().count()), qPrintable(chart));
        if (program) {
            // The exported tree, untouched, for the program to take further.
            UserRoad start(dataFolder, outFolder + QStringLiteral("/program/") + QFileInfo(gedFile).completeBaseName());
            const QString exported = start.importGedcom(gedFile, pictures);
            std::printf("program:%s\t%d\t%s\n", qPrintable(name), int(start.loadTree(exported)->GetPersons().count()),
                        qPrintable(exported));
        }
    } catch (const AppError& e) {
        return fail(QStringLiteral("error %1 in %2: %3").arg(e.number).arg(e.source, e.description));
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: make_road_charts <program data folder> <output folder> "
                             "<file.ged>[:nopictures][:program]...\n");
        return 2;
    }
    bool ok = true;
    for (const QString& gedFile : args.mid(3)) ok = roadOf(args[1], QFileInfo(args[2]).absoluteFilePath(), gedFile) && ok;
    return ok ? 0 : 1;
}
