// The GEDCOM browser on a generated file of 100,000 individuals: loading it
// and filling the person list; one keystroke of the name filter; the export
// to a tree definition file (the library's layout included, as on a first
// export); and loading the exported file as a tree. The files go to the
// temporary folder (KV_BENCH_DIR overrides it) and are removed at the end.
// The counter peak_MB is the process's peak resident memory during the step
// (the peak is reset before each run of it).
#include <memory>

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include "GEDBrowserSession.h"
#include "GedcomGenerator.h"
#include "PeakMemory.h"
#include "QuietHosts.h"
#include "LoadedGEDCOMClass.h"
#include "tree_model/SVGTree.h"

namespace {

constexpr std::int64_t kPersons = 100000;

QString benchPath(const QString& name) {
    const QByteArray dir = qgetenv("KV_BENCH_DIR");
    return QDir(dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir)).filePath(name);
}

class Files {
public:
    Files() : gedcom(benchPath(QStringLiteral("kvora_browser_bench.ged"))),
              tree(benchPath(QStringLiteral("kvora_browser_bench_Tree.txt"))) {
        writeGeneratedGedcom(gedcom.toStdString(), kPersons);
    }
    ~Files() {
        QFile::remove(gedcom);
        QFile::remove(tree);
    }
    const QString gedcom, tree;
};

const Files& files() {
    static Files f;
    return f;
}

// A session opened on a fresh holder, as the window opens it.
struct OpenSession {
    QuietBrowserHost host;
    LoadedGEDCOMClass holder;
    GEDBrowserSession session{host};
    OpenSession() { session.open(holder); }
};

// The rows a list view shows first: their texts are made as it paints.
void readVisibleRows(GEDNameListModel& model) {
    for (int r = 0; r < std::min(40, model.rowCount()); ++r) benchmark::DoNotOptimize(model.rowText(r));
}

void BM_LoadAndFillList(benchmark::State& state) {
    const QString& path = files().gedcom;
    double peak = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto open = std::make_unique<OpenSession>();
        resetPeakMemory();
        state.ResumeTiming();
        open->session.loadFile(path);
        readVisibleRows(open->session.personList());
        peak = peakMemoryMB();
        rows = open->session.personList().rowCount();
        state.PauseTiming();
        open.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["peak_MB"] = peak;
}

void BM_FilterKeystroke(benchmark::State& state) {
    OpenSession open;
    open.session.loadFile(files().gedcom);
    open.session.setPartName(QStringLiteral("m"));
    bool longer = true;
    int rows = 0;
    for (auto _ : state) {
        // One character typed or deleted: "m" to "ma" and back.
        open.session.setPartName(longer ? QStringLiteral("ma") : QStringLiteral("m"));
        readVisibleRows(open.session.personList());
        rows = open.session.personList().rowCount();
        longer = !longer;
    }
    state.counters["rows"] = rows;
}

void BM_ExportTreeFile(benchmark::State& state) {
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto open = std::make_unique<OpenSession>();
        open->session.loadFile(files().gedcom);
        resetPeakMemory();
        state.ResumeTiming();
        open->session.ExportTreeFile(files().tree);
        peak = peakMemoryMB();
        state.PauseTiming();
        open.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(QFile(files().tree).size()) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peak;
}

void BM_LoadExportedTree(benchmark::State& state) {
    if (!QFile::exists(files().tree)) {
        OpenSession open;
        open.session.loadFile(files().gedcom);
        open.session.ExportTreeFile(files().tree);
    }
    double peak = 0;
    int persons = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = std::make_unique<SVGTree>();
        resetPeakMemory();
        state.ResumeTiming();
        tree->LoadFile(std::make_shared<SVGDisplay>(), files().tree, false);
        peak = peakMemoryMB();
        persons = tree->GetPersons().count();
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.counters["persons"] = persons;
    state.counters["peak_MB"] = peak;
}

}  // namespace

BENCHMARK(BM_LoadAndFillList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportTreeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadExportedTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
