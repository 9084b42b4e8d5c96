// Opens the Tree Designer on generated trees of 10,000 and 100,000 persons
// (model, link records and scene built under the offscreen platform), and
// times the re-rendering of one moved person's cells and links, the redraw
// of one person's links, a zoom step and Toggle Orientation on the open grid,
// and the main window's Design command.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_designer_grid
// The generated trees have 200 columns, so the very-large-grid question is
// answered Yes. Progress and error lines (pictures the tree names that do not
// exist) go to standard error, which the benchmark sends to /dev/null.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "FormGrid.h"
#include "FormSVG.h"
#include "ScriptedMenuExec.h"
#include "SVGDisplay.h"
#include "SVGTree.h"
#include "TreeFileGenerator.h"
#include "YesBoxes.h"

namespace {

double peakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// One loaded tree per size, kept for the whole run.
std::shared_ptr<SVGTree> treeOf(int persons) {
    static std::map<int, std::shared_ptr<SVGTree>> trees;
    static QTemporaryDir dir;
    auto& tree = trees[persons];
    if (!tree) {
        const QString file = dir.filePath(QStringLiteral("tree%1.txt").arg(persons));
        generateTreeFile(file, persons);
        auto display = std::make_shared<SVGDisplay>();
        tree = std::make_shared<SVGTree>(display);
        tree->LoadFile(display, file, false);
    }
    return tree;
}

void BM_OpenDesigner(benchmark::State& state) {
    const int persons = int(state.range(0));
    auto tree = treeOf(persons);
    int boxes = 0;
    double closeMs = 0;
    for (auto _ : state) {
        auto form = std::make_unique<FormGrid>();
        form->LoadDetails(tree, QString());
        // What the program's event loop does before the window shows: the
        // scene polishes its new items and indexes them.
        QCoreApplication::processEvents();
        boxes = form->boxCount();
        benchmark::DoNotOptimize(boxes);
        state.PauseTiming();
        QElapsedTimer closing;
        closing.start();
        form.reset();
        closeMs += double(closing.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["boxes"] = boxes;
    state.counters["close_ms"] = closeMs / double(state.iterations());
    state.counters["peak_rss_MB"] = peakRssMB();
}
BENCHMARK(BM_OpenDesigner)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A person moved to an empty cell and back: both cells are shown again and
// the lines of its family follow it.
void BM_RerenderMovedPerson(benchmark::State& state) {
    auto tree = treeOf(int(state.range(0)));
    FormGrid form;
    form.LoadDetails(tree, QString());
    QCoreApplication::processEvents();
    const QString key = QStringLiteral("p400");  // a parent of family f400, at (1, 3)
    int col = 1, row = 3;
    for (auto _ : state) {
        int toCol = 1, toRow = tree->GetPersons().count() / 200 + 1;
        tree->SetPerColRow(key, toCol, toRow);
        form.refreshPerson(key);
        tree->SetPerColRow(key, col, row);
        form.refreshPerson(key);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_RerenderMovedPerson)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_RedrawPersonLinks(benchmark::State& state) {
    auto tree = treeOf(int(state.range(0)));
    FormGrid form;
    form.LoadDetails(tree, QString());
    QCoreApplication::processEvents();
    const QString key = QStringLiteral("p400");
    const CellRef cell = form.model().cellOfPerson(key);
    for (auto _ : state) form.RedrawPersonLinks(key, cell.L, cell.C, cell.R);
}
BENCHMARK(BM_RedrawPersonLinks)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One step of zoom in or out: every box, circle and line takes its new size.
void BM_ZoomChange(benchmark::State& state) {
    auto tree = treeOf(int(state.range(0)));
    FormGrid form;
    form.LoadDetails(tree, QString());
    QCoreApplication::processEvents();
    bool in = true;
    for (auto _ : state) {
        if (in)
            form.zoomIn();
        else
            form.zoomOut();
        in = !in;
    }
}
BENCHMARK(BM_ZoomChange)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ToggleOrientation(benchmark::State& state) {
    auto tree = treeOf(int(state.range(0)));
    FormGrid form;
    form.LoadDetails(tree, QString());
    QCoreApplication::processEvents();
    for (auto _ : state) form.mnuOrient_Click();
    if (!tree->GetDisplay()->GetHoriz()) form.mnuOrient_Click();
}
BENCHMARK(BM_ToggleOrientation)->Arg(10000)->Unit(benchmark::kMillisecond);

// View > Refresh: every box, circle and line of the grid is made again from
// the tree, and the scene indexes them before the window paints.
void BM_RefreshCommand(benchmark::State& state) {
    auto tree = treeOf(int(state.range(0)));
    FormGrid form;
    form.LoadDetails(tree, QString());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.mnuRefresh_Click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshCommand)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The main window's Design command on a loaded tree file: the designer is
// made and opened on the full tree (chosen from the viewpoint menu).
void BM_DesignCommand(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TreeDesign.txt"));
    generateTreeFile(file, int(state.range(0)));
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    FormSVG window;
    window.peers().openDesigner = [&window](const std::shared_ptr<SVGTree>& tree, const QString& key) {
        FormGrid::OpenDesigner(&window, tree, key);
    };
    if (!window.LoadTreeFile(file)) {
        state.SkipWithError("the generated tree did not load");
        return;
    }
    for (auto _ : state) {
        menus.choose(QStringLiteral("(Full Tree)"));
        window.cmdDesign_Click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete window.findChild<FormGrid*>();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DesignCommand)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    YesBoxes yes;
    MessageBoxes::install(&yes);
    std::freopen("/dev/null", "w", stderr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
