// Builds trees of 10,000 to 100,000 persons through the model's own members
// and runs the lookups the chart writer makes for every person and family.
// Also loads and saves generated tree files of the same sizes.
//   build-tree/bin/bench_tree_model
//
// The work per person is the same at every size: counted instructions
// (valgrind --tool=callgrind with --benchmark_min_time=0) grow tenfold from
// 10,000 to 100,000 persons, for the build and for the lookups alike. Time
// grows faster where the larger tree no longer fits the processor's caches.
// The chart lookups walk the persons and families in order and reach what
// they need through the person itself (its families as pointers, their order
// stamps, the viewpoints that hold it, its key's shared text), in the few
// memory lines at the start of the person: no key table is asked per person.
// The memory a person takes is what keeps the walk itself cheap.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include <QTemporaryDir>

#include "EvictCaches.h"
#include "SVGTree.h"
#include "TreeFileGenerator.h"
#ifdef KV_PROGRAM_HEAP
#include "ProgramHeap.h"
#endif

namespace {

// Couples of persons 2k and 2k+1 (for the first half) with two children each
// from the second half; two viewpoints hold alternate couples and children.
std::unique_ptr<SVGTree> buildTree(int persons) {
    auto tree = std::make_unique<SVGTree>();
    auto v1 = tree->AddViewpoint("v1", "Odd", 200, 200);
    auto v2 = tree->AddViewpoint("v2", "Even", 200, 200);
    for (int i = 0; i < persons; ++i) {
        const QString key = QStringLiteral("p") + QString::number(i);
        tree->NewPerson(key, QStringLiteral("Person Number ") + QString::number(i), QString(), 1 + i % 200,
                        1 + i / 200, i % 2 ? QStringLiteral("m") : QStringLiteral("f"), false, QString(), true);
    }
    const int half = persons / 2;
    auto& all = tree->GetPersons();
    for (int k = 0; 2 * k + 1 < half; ++k) {
        const QString fkey = QStringLiteral("f") + QString::number(k);
        auto fam = tree->NewFamily(fkey, QStringLiteral("p") + QString::number(2 * k),
                                   QStringLiteral("p") + QString::number(2 * k + 1));
        for (int c = half + 2 * k; c < half + 2 * k + 2 && c < persons; ++c) fam->AddChild(all.valueAt(c));
        SVGViewpointClass& v = k % 2 ? *v1 : *v2;
        for (int p : {2 * k, 2 * k + 1, half + 2 * k, half + 2 * k + 1})
            if (p < persons) v.AddPerRef(all.keyAt(p), 1 + p % 200, 1 + p / 200, true);
        v.AddFamRef(*fam);
    }
    tree->ClearPendingEvents();
    return tree;
}

// Bytes of the heap blocks in use.
std::size_t heapInUse() {
#ifdef KV_PROGRAM_HEAP
    return programHeapBytesInUse();
#else
    return mallinfo2().uordblks;
#endif
}

// Heap bytes a built tree holds per person, measured once outside the timing.
double heapPerPerson(int persons) {
    const std::size_t before = heapInUse();
    auto tree = buildTree(persons);
    const std::size_t after = heapInUse();
    return static_cast<double>(after - before) / persons;
}

void BM_BuildTree(benchmark::State& state) {
    state.counters["heap/person"] = heapPerPerson(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto tree = buildTree(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(tree.get());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

// BM_ChartLookups repeats the lookups over a tree that stays in the caches as
// far as it fits (all of it for the small trees); BM_ChartLookupsColdCaches
// empties the caches before each round, as a chart is written once over a
// tree that other work has since pushed out of the caches.
void chartLookups(benchmark::State& state, bool cold) {
    auto tree = buildTree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            evictCaches();
            state.ResumeTiming();
        }
        long long sum = 0;
        for (const auto& kv : tree->GetPersons()) kv.second->ResetRelatedSpouses();
        PersonDict viewPersons;
        for (const auto& kv : tree->GetViewPersons(viewPersons)) {
            SVGBox& p = *kv.second;
            sum += tree->ChildFamily(p).size();
            sum += p.GetFamKeys().count();
            sum += p.GetRelatedSpouses().size();
            sum += tree->GetPersonViewpoints(p).size();
            sum += static_cast<long long>(p.GetXR() + p.GetYB());
        }
        FamilyDict viewFamilies;
        for (const auto& kv : tree->GetViewFamilies(viewFamilies)) {
            sum += kv.second->ChildCount();
            sum += tree->GetFamilyViewpoints(*kv.second).size();
        }
        double right = 0, bottom = 0;
        tree->GetFarEdges(right, bottom);
        benchmark::DoNotOptimize(sum + static_cast<long long>(right + bottom));
    }
    state.SetComplexityN(state.range(0));
}
void BM_ChartLookups(benchmark::State& state) { chartLookups(state, false); }
void BM_ChartLookupsColdCaches(benchmark::State& state) { chartLookups(state, true); }

QTemporaryDir& benchDir() {
    static QTemporaryDir dir;
    return dir;
}

// A generated tree file of n persons, made once per size.
QString treeFile(int persons, bool reversed = false) {
    const QString file =
        benchDir().filePath(QStringLiteral("Tree%1%2.txt").arg(persons).arg(reversed ? "r" : ""));
    if (!QFile::exists(file)) generateTreeFile(file, persons, reversed);
    return file;
}

void BM_LoadFile(benchmark::State& state) {
    const QString file = treeFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto tree = std::make_unique<SVGTree>();
        tree->LoadFile(std::make_shared<SVGDisplay>(), file, false);
        benchmark::DoNotOptimize(tree->GetPersons().count());
        state.PauseTiming();  // releasing the tree is not part of loading it
        tree.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

void BM_SaveFile(benchmark::State& state, bool reversed) {
    SVGTree tree;
    tree.LoadFile(std::make_shared<SVGDisplay>(), treeFile(static_cast<int>(state.range(0)), reversed), false);
    tree.SetTreeFile(benchDir().filePath(QStringLiteral("Saved.txt")));
    for (auto _ : state) tree.SaveToFile();
    state.counters["families"] = tree.GetFamilies().count();
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_LoadFile)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_SaveFile, sorted, false)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveFile, reversed, true)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTree)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_ChartLookups)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK(BM_ChartLookupsColdCaches)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Complexity(benchmark::oN);
BENCHMARK_MAIN();
