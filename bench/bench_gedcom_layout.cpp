// Lays out generated GEDCOM 5.5.1 files of 10,000, 100,000 and 1,000,000
// individuals with GEDDocClass::Layout. Each iteration loads the file afresh
// (not timed), since a document lays itself out only once, then times the
// layout alone. The files are written once per run into the temporary folder
// (KV_BENCH_DIR overrides it) and removed at the end. Counters: persons, the
// largest row and column, ns_per_person, and grid_error (1 when the layout
// ended with the error for a grid larger than a tree file holds; the time
// then still covers the whole layout, which is complete before that check).
// BM_Layout times the layout straight after the load, with whatever of the
// document the load left in the caches (all of it for small files);
// BM_LayoutColdCaches first overwrites a buffer larger than the caches, so
// that every size reads the document from memory alike.
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include "EvictCaches.h"
#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GedcomGenerator.h"

namespace {

class LayoutInput {
public:
    explicit LayoutInput(std::int64_t individuals) {
        const QByteArray dir = qgetenv("KV_BENCH_DIR");
        path_ = QDir(dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir))
                    .filePath(QStringLiteral("kvora_layout_bench_%1.ged").arg(individuals));
        writeGeneratedGedcom(path_.toStdString(), individuals);
    }
    ~LayoutInput() { QFile::remove(path_); }
    const QString& path() const { return path_; }

private:
    QString path_;
};

const LayoutInput& inputOf(std::int64_t individuals) {
    static std::map<std::int64_t, std::unique_ptr<LayoutInput>> inputs;
    auto& input = inputs[individuals];
    if (!input) input = std::make_unique<LayoutInput>(individuals);
    return *input;
}

void runLayout(benchmark::State& state, bool cold) {
    const LayoutInput& input = inputOf(state.range(0));
    auto control = createGEDControl();
    double persons = 0, maxRow = 0, maxCol = 0, gridError = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = control->LoadGEDCOM(input.path());
        if (cold) evictCaches();
        state.ResumeTiming();
        try {
            doc->Layout();
        } catch (const std::exception&) {
            gridError = 1;
        }
        state.PauseTiming();
        persons = doc->GetCountPersons();
        maxRow = doc->GetMaxRow();
        maxCol = doc->GetMaxCol();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["persons"] = persons;
    state.counters["max_row"] = maxRow;
    state.counters["max_col"] = maxCol;
    state.counters["grid_error"] = gridError;
    state.counters["ns_per_person"] =
        benchmark::Counter(persons * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Layout(benchmark::State& state) { runLayout(state, false); }
void BM_LayoutColdCaches(benchmark::State& state) { runLayout(state, true); }

}  // namespace

// Each size as many rounds as its loads allow in a few seconds: a layout of
// about a millisecond needs more of them than one of a tenth of a second for
// a steady mean.
void layoutSizes(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_Layout)->Apply(layoutSizes)->Arg(10000)->Iterations(30);
BENCHMARK(BM_Layout)->Apply(layoutSizes)->Arg(100000)->Iterations(10);
BENCHMARK(BM_Layout)->Apply(layoutSizes)->Arg(1000000)->Iterations(3);
BENCHMARK(BM_LayoutColdCaches)->Apply(layoutSizes)->Arg(10000)->Iterations(30);
BENCHMARK(BM_LayoutColdCaches)->Apply(layoutSizes)->Arg(100000)->Iterations(10);
BENCHMARK(BM_LayoutColdCaches)->Apply(layoutSizes)->Arg(1000000)->Iterations(3);
BENCHMARK_MAIN();
