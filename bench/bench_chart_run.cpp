// The whole chart run (Process) on a generated tree of 10,000 persons with
// notes and tooltips on every other person: header template, drawing, notes,
// program data, navigation data and data signatures, as an SVG file and as an
// HTML page with pan and zoom, with the shipped templates and definitions.
//   build-run/bin/bench_chart_run --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ChartRun.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "TreeFileGenerator.h"
#include "QuietReporter.h"

namespace {

const QString kShare = QStringLiteral(KV_SOURCE_DIR "/share");

void BM_ProcessTree(benchmark::State& state) {
    const bool svg = state.range(1) != 0;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TreeBench.txt"));
    generateTreeFile(file, static_cast<int>(state.range(0)));

    QuietReporter reporter;
    SVGApplications apps;
    apps.Initialise(kShare, reporter);
    SVGTree tree;
    tree.setReporter(&reporter);
    tree.setApplications(&apps);
    tree.LoadFile(std::make_shared<SVGDisplay>(), file, false);
    for (const auto& [name, value] : {std::pair{"SVGFile", svg ? "True" : "False"}, {"PanZoom", "True"},
                                      {"NotesData", "True"}, {"NavData", "True"}, {"ProgData", "True"},
                                      {"Tooltips", "True"}, {"InfoPanels", "True"}, {"Viewpoints", "False"}})
        tree.GetSettings().set(QLatin1String(name), QLatin1String(value));
    tree.GetDisplay()->Init(tree.GetSettings());
    tree.SetAppDict(apps.Load(tree.GetSettings()));

    ChartRun run(tree, apps, reporter, kShare);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QStringList files = run.ProcessTree(file);
        bytes = QFileInfo(files.first()).size();
    }
    state.counters["chart_MB"] = static_cast<double>(bytes) / 1e6;
}

}  // namespace

BENCHMARK(BM_ProcessTree)->ArgNames({"persons", "svg"})->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
