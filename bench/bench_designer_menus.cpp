// The Tree Designer's menu and clipboard work on generated trees: Select All
// over 10,000 persons, pasting 1,000 copied persons into a tree of 10,000,
// and one keystroke of the person search over 100,000 persons.
//   build/bin/bench_designer_menus
#include <benchmark/benchmark.h>

#include <memory>

#include <QCoreApplication>
#include <QStringList>

#include "DesignerMenuCommands.h"
#include "FindPersonModel.h"
#include "GridClipboard.h"
#include "GridModel.h"
#include "SVGTree.h"

namespace {

// A tree of `persons` persons in rows of 200, named "Person Number i Surname
// j", each couple of a row with two children in the row below.
std::unique_ptr<SVGTree> makeTree(int persons, const QString& prefix = QStringLiteral("p")) {
    auto tree = std::make_unique<SVGTree>();
    const int rows = persons / 200 + 1;
    tree->GetSettings().set(QStringLiteral("DesCols"), QStringLiteral("200"));
    tree->GetSettings().set(QStringLiteral("DesRows"), QString::number(rows));
    tree->GetDisplay()->Init(tree->GetSettings());
    for (int i = 0; i < persons; ++i)
        tree->NewPerson(prefix + QString::number(i),
                        QStringLiteral("Person Number %1 Surname%2").arg(i).arg(i % 997), QString(), 1 + i % 200,
                        1 + i / 200, i % 2 ? QStringLiteral("m") : QStringLiteral("f"), false, QString(), true);
    for (int a = 0; a + 201 < persons; a += 2) {
        SVGFamilyPtr f = tree->NewFamily(QStringLiteral("f%1").arg(a), prefix + QString::number(a),
                                         prefix + QString::number(a + 1));
        f->AddChild(tree->GetPersons().value(prefix + QString::number(a + 200)));
        f->AddChild(tree->GetPersons().value(prefix + QString::number(a + 201)));
    }
    return tree;
}

void openModel(GridModel& model, SVGTree& tree) {
    model.takeTree(&tree);
    model.readGridSize();
    model.askVeryLargeGrid = [](const QString&) { return true; };
    model.prepareGrid();
    model.BuildFamilyRecords(true);
}

void BM_SelectAll10k(benchmark::State& state) {
    auto tree = makeTree(10000);
    GridModel model;
    openModel(model, *tree);
    for (auto _ : state) {
        model.ClearSelection();
        benchmark::DoNotOptimize(SelectAll(model).size());
    }
}
BENCHMARK(BM_SelectAll10k)->Unit(benchmark::kMillisecond);

void BM_Paste1000Into10k(benchmark::State& state) {
    auto tree = makeTree(10000);
    auto source = makeTree(1000, QStringLiteral("s"));
    QStringList keys;
    for (const auto& kv : source->GetPersons()) keys << kv.first;
    const QString text = source->PackNPersons(keys.join(u','));
    GridModel model;
    openModel(model, *tree);
    GridClipboard clip(model);
    for (auto _ : state) {
        model.currentCell = model.geometry().iCellIndex(7, 3);
        clip.paste(text, false);
        state.PauseTiming();
        state.counters["pasted"] = double(clip.changes().cells.size());
        for (const QString& key : keys) tree->RemPerson(key);
        model.prepareGrid();
        clip.takeChanges();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste1000Into10k)->Unit(benchmark::kMillisecond);

void BM_FindPersonKeystroke100k(benchmark::State& state) {
    auto tree = makeTree(100000);
    FindPersonModel find;
    find.open(*tree);
    const QString texts[] = {QStringLiteral("pe"), QStringLiteral("per"), QStringLiteral("per nu 5"),
                             QStringLiteral("per nu 5 surname1")};
    int i = 0;
    for (auto _ : state) {
        find.setPartialName(texts[i++ % 4]);
        benchmark::DoNotOptimize(find.filter().rowCount());
    }
}
BENCHMARK(BM_FindPersonKeystroke100k)->Unit(benchmark::kMillisecond);

void BM_FindPersonKeystrokeByKey100k(benchmark::State& state) {
    auto tree = makeTree(100000);
    FindPersonModel find;
    find.open(*tree);
    find.setByKey(true);
    const QString texts[] = {QStringLiteral("p"), QStringLiteral("p1"), QStringLiteral("p12"), QStringLiteral("p123")};
    int i = 0;
    for (auto _ : state) {
        find.setPartialName(texts[i++ % 4]);
        benchmark::DoNotOptimize(find.filter().rowCount());
    }
}
BENCHMARK(BM_FindPersonKeystrokeByKey100k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
