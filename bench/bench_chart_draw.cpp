// Draws the body of a chart of 10,000 to 100,000 persons through the chart
// writer into a file: family lines and circles, a root line through every
// generation, then the person boxes with wrapped captions, tooltips and buttons.
//   build-draw/bin/bench_chart_draw --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ChartOutputWriter.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "TreeDrawing.h"

namespace {

constexpr int kColumns = 200;

// Rows of 200 persons; persons 2k and 2k+1 of a row are a couple whose two
// children stand in the next row at places 2k+1 and 2k+2, so each couple's
// partners come from two families.
std::unique_ptr<SVGTree> buildTree(int persons) {
    auto tree = std::make_unique<SVGTree>();
    StringDict& settings = tree->GetSettings();
    settings.set("Inst", "A");
    settings.set("Tooltips", "True");
    settings.set("ButtonTR", "True");
    settings.set("ClassPerson", "p-??|gen");
    settings.set("RootKey", QStringLiteral("p%1").arg(persons - 1));
    tree->GetDisplay()->Init(settings);
    auto& all = tree->GetPersons();
    for (int i = 0; i < persons; ++i) {
        auto p = tree->NewPerson(QStringLiteral("p%1").arg(i),
                                 QStringLiteral("Person Number %1 Fitzgerald\\1890-1950").arg(i), QString(),
                                 1 + i % kColumns, 1 + i / kColumns, i % 2 ? QStringLiteral("m") : QStringLiteral("f"),
                                 i % 7 == 0, QString(), true);
        p->SetTooltips({QStringLiteral("Born in Bath & died <there>")});
    }
    for (int i = 0; i + 1 < persons; i += 2) {
        if ((i + 1) / kColumns != i / kColumns) continue;
        auto fam = tree->NewFamily(QStringLiteral("f%1").arg(i), all.keyAt(i), all.keyAt(i + 1));
        const int nextRow = (i / kColumns + 1) * kColumns;
        for (int c : {nextRow + (i + 1) % kColumns, nextRow + (i + 2) % kColumns})
            if (c < persons) fam->AddChild(all.valueAt(c));
    }
    tree->ClearPendingEvents();
    return tree;
}

void BM_DrawTree(benchmark::State& state) {
    const int persons = static_cast<int>(state.range(0));
    auto tree = buildTree(persons);
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.svg");
    ChartOutputWriter writer;
    for (auto _ : state) {
        writer.OpenOutput(file);
        TreeDrawing(ChartDrawContext{*tree, writer, nullptr, {}}).DrawTree();
        writer.CloseOutput();
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
    state.counters["persons/s"] = benchmark::Counter(persons, benchmark::Counter::kIsIterationInvariantRate);
    state.SetComplexityN(persons);
}

}  // namespace

BENCHMARK(BM_DrawTree)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
