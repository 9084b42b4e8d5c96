// The Tree Designer on the wide trees a GEDCOM import makes: a generated
// GEDCOM file of 10,000 or 50,000 individuals (default seed) exported through
// the GEDCOM browser's export and loaded as a tree, thousands of columns wide
// with family lines thousands of columns long. Each step is timed with the
// window's redraw (the window is shown on the offscreen platform and painted
// before the step ends): opening the designer (before_MB: the resident memory
// with the tree loaded; peak_MB: the peak while the designer opens), one step
// of zoom, View > Refresh, dragging one person to an empty cell, and Auto
// Layout from the menu (layout_ms: the layout's own time, untimed).
//   QT_QPA_PLATFORM=offscreen build/bin/bench_designer_wide
// The tree files are made first, by a child process. Progress and error lines
// go to standard error, sent to /dev/null.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "BrowserExport.h"
#include "FormGrid.h"
#include "FormGridHost.h"
#include "GridGestures.h"
#include "PeakMemory.h"
#include "SVGLayout.h"
#include "YesBoxes.h"
#include "tree_model/SVGTree.h"

namespace {

constexpr int kSizes[] = {10000, 50000};

// The folder of the tree files.
QTemporaryDir* folder = nullptr;

QString treeFileOf(int persons) {
    return folder->filePath(QStringLiteral("Tree%1.txt").arg(persons));
}

// The tree files of every size, made by a child process: the memory the
// GEDCOM load and export take is not this process's, whose peak is the
// designer's with its tree.
bool makeTreeFiles() {
    const pid_t child = fork();
    if (child == 0) {
        bool copied = true;
        for (int persons : kSizes) copied = QFile::copy(generatedTreeFile(persons), treeFileOf(persons)) && copied;
        std::exit(copied ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::shared_ptr<SVGTree> loadTree(int persons) {
    auto tree = std::make_shared<SVGTree>();
    tree->LoadFile(std::make_shared<SVGDisplay>(), treeFileOf(persons), false);
    return tree;
}

// What the program's event loop does after a step: the scene indexes its
// changed items and the window paints what they exposed.
void paint() {
    QCoreApplication::processEvents();
}

// A designer open on the whole of one loaded tree.
struct OpenDesigner {
    std::shared_ptr<SVGTree> tree;
    std::unique_ptr<FormGrid> form = std::make_unique<FormGrid>();

    explicit OpenDesigner(int persons) : tree(loadTree(persons)) {
        form->LoadDetails(tree, QString());
        paint();
    }
    ~OpenDesigner() { form.reset(); }

    const GridGeometry& geometry() const { return form->model().geometry(); }
    QPointF inCell(int cell) const {
        int col = 0, row = 0;
        geometry().GetCellColRow(cell, col, row);
        return geometry().boxRect(col, row).center();
    }
    void drag(QPointF from, QPointF to) {
        GridGestures& g = form->host().gestures();
        g.press({Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, from});
        g.move({Qt::NoButton, Qt::LeftButton, Qt::NoModifier, (from + to) / 2});
        g.move({Qt::NoButton, Qt::LeftButton, Qt::NoModifier, to});
        g.release({Qt::LeftButton, Qt::NoButton, Qt::NoModifier, to});
    }
};

void BM_WideOpen(benchmark::State& state) {
    auto tree = loadTree(int(state.range(0)));
    int boxes = 0;
    double peak = 0, before = 0;
    for (auto _ : state) {
        if (before == 0) before = residentMemoryMB();
        resetPeakMemory();
        auto form = std::make_unique<FormGrid>();
        form->LoadDetails(tree, QString());
        paint();
        peak = std::max(peak, peakMemoryMB());
        boxes = form->boxCount();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["boxes"] = boxes;
    state.counters["before_MB"] = before;
    state.counters["peak_MB"] = peak;
}

void BM_WideZoomStep(benchmark::State& state) {
    OpenDesigner d(int(state.range(0)));
    bool in = true;
    for (auto _ : state) {
        in ? d.form->zoomIn() : d.form->zoomOut();
        paint();
        in = !in;
    }
    state.counters["columns"] = d.geometry().cols;
    state.counters["rows"] = d.geometry().rows;
}

void BM_WideRefresh(benchmark::State& state) {
    OpenDesigner d(int(state.range(0)));
    for (auto _ : state) {
        d.form->mnuRefresh_Click();
        paint();
    }
}

// A parent of the family with the most children in view, to the empty cell
// beside it in its row and back: its family's spouse line, circle and child
// lines follow it.
void BM_WideDragOnePerson(benchmark::State& state) {
    OpenDesigner d(int(state.range(0)));
    const GridModel& model = d.form->model();
    const LinkRecords& records = model.records();
    int family = 0, most = -1;
    for (int i = 1; i <= records.familyUpperBound(); ++i) {
        if (!records.family(i).inUse()) continue;
        const int children = int(records.childrenOfFamily(i).size());
        if (children > most) most = children, family = i;
    }
    if (family == 0) {
        state.SkipWithError("no family in view");
        return;
    }
    const QString key = records.family(family).Key1;
    const int from = model.cellOfPerson(key).L;
    int to = 0;
    for (int cell = from + 1; cell <= d.geometry().cols * d.geometry().rows; ++cell)
        if (!model.occupancy().isOccupied(cell)) {
            to = cell;
            break;
        }
    bool there = true;
    for (auto _ : state) {
        d.drag(d.inCell(there ? from : to), d.inCell(there ? to : from));
        paint();
        there = !there;
    }
    if (model.cellOfPerson(key).L != (there ? from : to)) state.SkipWithError("the person did not move");
    state.counters["children"] = most;
    state.SetItemsProcessed(state.iterations());
}

// Auto Layout from the View menu and the window's redraw; the positions the
// export gave come back (Revert Layout) untimed. layout_ms: the layout alone.
void BM_WideAutoLayout(benchmark::State& state) {
    OpenDesigner d(int(state.range(0)));
    double layoutMs = 0;
    for (auto _ : state) {
        d.form->mnuLayout_Click();
        paint();
        state.PauseTiming();
        d.form->mnuRevert_Click();
        QElapsedTimer timer;
        timer.start();
        SVGLayout layout(nullptr);
        layout.Organise(*d.tree);
        layoutMs += double(timer.nsecsElapsed()) / 1e6;
        layout.Revert(*d.tree);
        paint();
        state.ResumeTiming();
    }
    state.counters["layout_ms"] = layoutMs / double(state.iterations());
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    folder = &dir;
    if (!makeTreeFiles()) {
        std::fputs("the tree files could not be made\n", stderr);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    YesBoxes yes;
    ScopedService<MessageBoxes> answers(yes);
    std::freopen("/dev/null", "w", stderr);
    const auto add = [](const char* name, void (*step)(benchmark::State&), int iterations) {
        for (int persons : kSizes)
            benchmark::RegisterBenchmark(name, step)
                ->Arg(persons)
                ->Iterations(iterations)
                ->Unit(benchmark::kMillisecond);
    };
    add("BM_WideOpen", BM_WideOpen, 5);
    add("BM_WideZoomStep", BM_WideZoomStep, 20);
    add("BM_WideRefresh", BM_WideRefresh, 20);
    add("BM_WideDragOnePerson", BM_WideDragOnePerson, 100);
    add("BM_WideAutoLayout", BM_WideAutoLayout, 3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
