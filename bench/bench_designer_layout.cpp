// Automatic layout of the Tree Designer grid over generated trees of 1,000 to
// 100,000 persons, families of descent of 20,000 persons on grids of other
// widths and with other seeds, 100,000 persons without any family, one
// family with many children and one person with many marriages, and over
// trees as a user gets them from GEDCOM files through the GEDCOM browser's
// export: the project's generated GEDCOM files of 10,000 to 60,000 persons
// (seeds 1 to 3), the large real sample of the test data (5.5.1-sample-3),
// and a generated file of 100,000 persons whose layout is too wide for a
// grid and is refused.
//   build/bin/bench_designer_layout
//
// Each round puts the persons back in the cells they had before and lays the
// whole tree out again; only the layout itself is timed. The counter
// `positions` is a digest of every person's cell after the layout: two
// builds that lay a tree out alike show the same number.
//
// The work per person is nearly the same at every size: counted instructions
// of Organise (valgrind --tool=callgrind --toggle-collect='SVGLayout::Organise*'
// with --benchmark_min_time=0) are about 6,400, 5,800 and 5,600 per person for
// 1,000, 10,000 and 100,000 persons. The one step above linear is the sort of
// the roots (n log n). Time per person grows more than that from 1,000 to
// 100,000 persons, where the records no longer fit the processor's caches.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "BrowserExport.h"
#include "DescentTrees.h"
#include "QuietReporter.h"
#include "SVGBox.h"
#include "SVGDisplay.h"
#include "SVGFamily.h"
#include "SVGLayout.h"
#include "SVGTree.h"
#include "foundation/AppError.h"

namespace {

// A generated tree and the cells its persons start from.
struct LayoutInput {
    std::unique_ptr<SVGTree> tree;
    std::vector<std::pair<int, int>> cells;
    int cols = 0, rows = 0;
    int families = 0;
};

// A generated tree: families of descent (or unrelated persons) on a grid
// `cols` wide.
LayoutInput generated(int persons, unsigned seed, int cols, bool unrelated) {
    DescentTrees builder(persons, seed, cols);
    LayoutInput in;
    in.tree = builder.build(unrelated);
    in.tree->GetGridColRow(in.cols, in.rows, true);
    in.families = builder.families();
    for (const auto& kv : in.tree->GetPersons())
        in.cells.emplace_back(kv.second->GetTreeCol(), kv.second->GetTreeRow());
    return in;
}

// Inputs are built once per size, grid width, seed and kind and kept for the
// later rounds.
LayoutInput& generatedInput(int persons, int cols, unsigned seed, bool unrelated) {
    static std::map<std::tuple<int, int, unsigned, bool>, LayoutInput> made;
    const auto key = std::make_tuple(persons, cols, seed, unrelated);
    auto it = made.find(key);
    if (it == made.end()) it = made.emplace(key, generated(persons, seed, cols, unrelated)).first;
    return it->second;
}

// The benchmarks' own trees: 200 columns, seeded by their size.
LayoutInput& input(int persons, bool unrelated) { return generatedInput(persons, 200, unsigned(persons), unrelated); }

// Families of descent of one size over grids of other widths and with other
// seeds than the benchmarks' own trees.
LayoutInput& descent(int persons, int cols, unsigned seed) { return generatedInput(persons, cols, seed, false); }

// A tree file as a user gets it from a GEDCOM file, loaded once per file.
LayoutInput& exported(const QString& treeFile) {
    static std::map<QString, LayoutInput> made;
    static QuietReporter reporter;
    auto it = made.find(treeFile);
    if (it != made.end()) return it->second;
    LayoutInput in;
    in.tree = std::make_unique<SVGTree>();
    in.tree->setReporter(&reporter);
    in.tree->LoadFile(std::make_shared<SVGDisplay>(), treeFile, false);
    in.tree->GetGridColRow(in.cols, in.rows, true);
    in.families = int(in.tree->GetFamilies().count());
    for (const auto& kv : in.tree->GetPersons())
        in.cells.emplace_back(kv.second->GetTreeCol(), kv.second->GetTreeRow());
    return made.emplace(treeFile, std::move(in)).first->second;
}

// The real sample of the test data, exported once.
QString realSampleTreeFile() {
    static QTemporaryDir dir(benchFolder() + QStringLiteral("/kvora_layout_XXXXXX"));
    static QString treeFile;
    if (treeFile.isEmpty()) {
        BrowserExport browser;
        browser.load(QStringLiteral(KV_SOURCE_DIR "/tests/data/ged/5.5.1-sample-3.ged"));
        treeFile = browser.exportTo(dir.path());
    }
    return treeFile;
}

void restore(LayoutInput& in) {
    const PersonDict& persons = in.tree->GetPersons();
    for (int i = 0; i < persons.count(); ++i)
        persons.valueAt(i)->SetNewPosn(in.cells[i].first, in.cells[i].second, true);
    int cols = in.cols, rows = in.rows;
    in.tree->SetGridColRow(cols, rows, true);
}

void organise(benchmark::State& state, LayoutInput& in) {
    int cols = 0, rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        restore(in);
        SVGLayout layout;
        state.ResumeTiming();
        try {
            benchmark::DoNotOptimize(layout.Organise(*in.tree));
        } catch (const AppError& error) {
            state.SetLabel("refused: " + error.description.toStdString());
        }
        state.PauseTiming();
        in.tree->GetGridColRow(cols, rows, true);
        state.ResumeTiming();
    }
    // The positions the layout gave, as one number, to compare builds by.
    quint64 digest = 14695981039346656037ULL;
    for (const auto& kv : in.tree->GetPersons()) {
        digest = (digest ^ quint64(kv.second->GetTreeCol())) * 1099511628211ULL;
        digest = (digest ^ quint64(kv.second->GetTreeRow())) * 1099511628211ULL;
    }
    state.counters["positions"] = double(digest >> 12);
    state.counters["persons"] = double(in.tree->GetPersons().count());
    state.counters["families"] = in.families;
    state.counters["grid_cols"] = cols;
    state.counters["grid_rows"] = rows;
    state.counters["per_person"] =
        benchmark::Counter(double(in.tree->GetPersons().count()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetComplexityN(in.tree->GetPersons().count());
}

void BM_Organise(benchmark::State& state) {
    organise(state, input(int(state.range(0)), false));
}
// Arguments: persons, grid columns, seed.
void BM_OrganiseDescent(benchmark::State& state) {
    organise(state, descent(int(state.range(0)), int(state.range(1)), unsigned(state.range(2))));
}
void BM_OrganiseUnrelated(benchmark::State& state) {
    organise(state, input(int(state.range(0)), true));
}
// Generated GEDCOM files as exported; the one of 100,000 persons is refused.
void BM_OrganiseExported(benchmark::State& state) {
    organise(state, exported(generatedTreeFile(int(state.range(0)))));
}
// The same sizes generated with other seeds. Arguments: persons, seed.
void BM_OrganiseExportedSeed(benchmark::State& state) {
    organise(state, exported(generatedTreeFile(int(state.range(0)), std::uint32_t(state.range(1)))));
}
void BM_OrganiseRealSample(benchmark::State& state) {
    organise(state, exported(realSampleTreeFile()));
}

// Lists that the layout sorts or walks per family or per person at their
// longest: one couple with n children whose years repeat, and one person
// married n times (the marriages' years repeat too). Each grows with n.
void wide(benchmark::State& state, bool marriages) {
    const int n = int(state.range(0));
    SVGTree tree;
    int cols = SVGLayout::kMaxGridSide, rows = 10;
    tree.SetGridColRow(cols, rows, true);
    auto newPerson = [&](const QString& key, int i, int year) {
        tree.NewPerson(key, key + u' ' + QString::number(year), QString(), 1 + i % 50, 1 + i / 50, QString(), false,
                       QString(), true);
    };
    newPerson(QStringLiteral("pa"), 0, 1800);
    newPerson(QStringLiteral("ma"), 1, 1802);
    SVGFamilyPtr fam = marriages ? nullptr : tree.NewFamily(QStringLiteral("f"), QStringLiteral("pa"), QStringLiteral("ma"));
    for (int i = 0; i < n; ++i) {
        const QString key = QStringLiteral("p") + QString::number(i);
        newPerson(key, i + 2, 1820 + i % 7);
        if (marriages)
            tree.NewFamily(QStringLiteral("f") + QString::number(i), QStringLiteral("pa"), key)
                ->AddNotes(QStringLiteral("married ") + QString::number(1830 + i % 11));
        else
            fam->AddChild(tree.GetPersons().value(key));
    }
    tree.ClearPendingEvents();
    std::vector<std::pair<int, int>> cells;
    for (const auto& kv : tree.GetPersons()) cells.emplace_back(kv.second->GetTreeCol(), kv.second->GetTreeRow());
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < tree.GetPersons().count(); ++i)
            tree.GetPersons().valueAt(i)->SetNewPosn(cells[i].first, cells[i].second, true);
        SVGLayout layout;
        state.ResumeTiming();
        benchmark::DoNotOptimize(layout.Organise(tree));
    }
    state.SetComplexityN(n);
}
void BM_OrganiseManyChildren(benchmark::State& state) { wide(state, false); }
void BM_OrganiseManyMarriages(benchmark::State& state) { wide(state, true); }

}  // namespace

BENCHMARK(BM_Organise)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_OrganiseDescent)
    ->ArgsProduct({{20000}, {200, 400, 800}, {1, 2, 3, 4}})
    ->ArgNames({"persons", "cols", "seed"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrganiseUnrelated)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrganiseManyChildren)->Arg(1000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_OrganiseExported)->DenseRange(10000, 60000, 10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_OrganiseExported)
    ->Name("BM_OrganiseExportedRefused")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrganiseExportedSeed)
    ->ArgsProduct({benchmark::CreateDenseRange(10000, 60000, 10000), {2, 3}})
    ->ArgNames({"persons", "seed"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrganiseRealSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrganiseManyMarriages)->Arg(1000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
