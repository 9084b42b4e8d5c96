// The user's whole road on a generated GEDCOM file of 10,000 or 100,000
// individuals: the GEDCOM browser loads the file and exports it as a tree
// definition file, the tree loads from it, Auto Layout lays it out, the tree
// is saved, and the chart run writes the HTML chart. One run per size (the
// road takes seconds); the counters give each step's seconds and share of the
// whole (load_s/load_pct, export_, tree_, layout_, save_, chart_) and its peak
// resident memory in MB (the peak is reset before each step), and peak_MB the
// largest of them. When Auto Layout refuses the tree (too wide for the grid)
// its error is the label and the road goes on with the export's positions.
// The files go to the temporary folder (KV_BENCH_DIR overrides it) and are
// removed at the end.
#include <chrono>
#include <functional>
#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BrowserExport.h"
#include "ChartRun.h"
#include "foundation/AppError.h"
#include "GedcomGenerator.h"
#include "PeakMemory.h"
#include "QuietReporter.h"
#include "SVGApplications.h"
#include "SVGLayout.h"
#include "tree_model/SVGTree.h"

namespace {

const QString kShare = QStringLiteral(KV_SOURCE_DIR "/share");

void BM_UserRoad(benchmark::State& state) {
    QTemporaryDir dir(benchFolder() + QStringLiteral("/kvora_road_XXXXXX"));
    const QString gedcom = dir.filePath(QStringLiteral("road.ged"));
    writeGeneratedGedcom(gedcom.toStdString(), state.range(0));

    struct Step {
        const char* name;
        double seconds = 0, peak = 0;
    };
    Step steps[] = {{"load"}, {"export"}, {"tree"}, {"layout"}, {"save"}, {"chart"}};
    const auto timed = [](Step& step, const std::function<void()>& work) {
        resetPeakMemory();
        const auto start = std::chrono::steady_clock::now();
        work();
        step.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        step.peak = std::max(step.peak, peakMemoryMB());
    };
    int persons = 0;
    for (auto _ : state) {
        QuietReporter reporter;
        SVGApplications apps;
        apps.Initialise(kShare, reporter);
        auto browser = std::make_unique<BrowserExport>();
        QString treeFile;
        timed(steps[0], [&] { browser->load(gedcom); });
        timed(steps[1], [&] { treeFile = browser->exportTo(dir.path()); });
        browser.reset();
        SVGTree tree;
        tree.setReporter(&reporter);
        tree.setApplications(&apps);
        timed(steps[2], [&] {
            tree.LoadFile(std::make_shared<SVGDisplay>(), treeFile, false);
            tree.SetAppDict(apps.Load(tree.GetSettings()));
        });
        // A tree too wide for the grid ends Auto Layout with an error and
        // keeps the export's positions: the road goes on with them.
        timed(steps[3], [&] {
            try {
                SVGLayout(&reporter).Organise(tree);
            } catch (const AppError& error) {
                state.SetLabel("Auto Layout: " + error.description.toStdString());
            }
        });
        timed(steps[4], [&] { tree.SaveToFile(); });
        timed(steps[5], [&] {
            tree.GetSettings().set(QStringLiteral("SVGFile"), QStringLiteral("False"));
            tree.GetDisplay()->Init(tree.GetSettings());
            tree.SetAppDict(apps.Load(tree.GetSettings()));
            ChartRun run(tree, apps, reporter, kShare);
            run.ProcessTree(tree.GetTreeFile());
        });
        persons = tree.GetPersons().count();
    }
    double total = 0, peak = 0;
    for (const Step& s : steps) {
        total += s.seconds;
        peak = std::max(peak, s.peak);
    }
    for (const Step& s : steps) {
        const std::string name = s.name;
        state.counters[name + "_s"] = s.seconds / double(state.iterations());
        state.counters[name + "_pct"] = total > 0 ? 100.0 * s.seconds / total : 0;
        state.counters[name + "_MB"] = s.peak;
    }
    state.counters["persons"] = persons;
    state.counters["peak_MB"] = peak;
}

}  // namespace

BENCHMARK(BM_UserRoad)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_MAIN();
