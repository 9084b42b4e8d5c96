// Mouse gestures of the Tree Designer on a generated tree of 10,000 persons,
// the window on the offscreen platform, each timed end to end (the tree, the
// grid model and link records, and the scene's items): moving one person,
// linking two persons as spouses (the family editor replaced by a stand-in
// that adds the family), adding a child by a drag from a family circle, and
// Select All followed by moving the whole selection by one row.
//   build/bin/bench_designer_gestures
#include <benchmark/benchmark.h>

#include <memory>

#include <QTemporaryDir>

#include "FormGrid.h"
#include "FormGridHost.h"
#include "GridGestures.h"
#include "OffscreenBenchMain.h"
#include "ScriptedMessageBoxes.h"
#include "TreeFileGenerator.h"
#include "tree_model/SVGTree.h"

namespace {

constexpr int kPersons = 10000;

// The generated tree (rows of 200 persons; the last row of the grid is
// empty, the rows not stepped) open in the designer on the whole tree.
struct OpenDesigner {
    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;  // the very-large-grid question: its default answer
    ScopedService<MessageBoxes> installBoxes{boxes};
    std::shared_ptr<SVGTree> tree = std::make_shared<SVGTree>();
    std::unique_ptr<FormGrid> form = std::make_unique<FormGrid>();
    int familiesMade = 0;

    OpenDesigner() {
        boxes.answers.assign(4, QMessageBox::Yes);
        const QString file = dir.filePath("Tree.txt");
        generateTreeFile(file, kPersons);
        tree->LoadFile(std::make_shared<SVGDisplay>(), file, false);
        // Rows in line, so that the full rows can move one row down as they are.
        tree->SetStepped(false);
        form->LoadDetails(tree, QString());
        form->host().createFamily = [this](SVGTree& t, const QString& a, const QString& b) {
            const QString key = QStringLiteral("made%1").arg(++familiesMade);
            t.NewFamily(key, a, b);
            return key;
        };
    }
    GridGestures& gestures() { return form->host().gestures(); }
    const GridGeometry& geometry() const { return form->model().geometry(); }
    QPointF inBox(int col, int row) const { return geometry().boxRect(col, row).center(); }
    int cell(int col, int row) const { return geometry().iCellIndex(col, row); }

    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        gestures().press({Qt::LeftButton, Qt::LeftButton, mods, from});
        gestures().move({Qt::NoButton, Qt::LeftButton, mods, (from + to) / 2});
        gestures().move({Qt::NoButton, Qt::LeftButton, mods, to});
        gestures().release({Qt::LeftButton, Qt::NoButton, mods, to});
    }
};

// Made on first use, closed before the application ends.
std::unique_ptr<OpenDesigner> theDesigner;
OpenDesigner& designer() {
    if (!theDesigner) theDesigner = std::make_unique<OpenDesigner>();
    return *theDesigner;
}

// p0 (column 1, row 1) to the empty last row and back.
void BM_MoveOnePerson(benchmark::State& state) {
    OpenDesigner& d = designer();
    const int lastRow = d.geometry().rows;
    bool down = true;
    for (auto _ : state) {
        d.drag(d.inBox(1, down ? 1 : lastRow), d.inBox(1, down ? lastRow : 1));
        down = !down;
    }
    if (!down) d.drag(d.inBox(1, lastRow), d.inBox(1, 1));
}
BENCHMARK(BM_MoveOnePerson)->Unit(benchmark::kMillisecond);

// Shift and a drag from one person of the last full row to another: a new
// family, its records and the scene's circles and lines built again.
void BM_LinkSpouses(benchmark::State& state) {
    OpenDesigner& d = designer();
    const int row = d.geometry().rows - 1;
    int col = 1;
    for (auto _ : state) {
        d.drag(d.inBox(col, row), d.inBox(col + 2, row), Qt::ShiftModifier);
        col = col % 190 + 1;
    }
    state.counters["families"] = d.familiesMade;
}
BENCHMARK(BM_LinkSpouses)->Unit(benchmark::kMillisecond)->Iterations(150);

// A drag from the circle of a family of row 49 to a person of row 1, who
// becomes its child (after a check of the whole lineage); unlinked again untimed.
void BM_LinkChild(benchmark::State& state) {
    OpenDesigner& d = designer();
    GridModel& model = d.form->model();
    const int family = model.records().familyIndex(QStringLiteral("f9600"));
    const QPointF circle = model.circleRect(family).center();
    const QPointF target = d.inBox(101, 1);
    for (auto _ : state) {
        d.drag(circle, target);
        state.PauseTiming();
        model.currentCell = d.cell(101, 1);
        d.form->host().commands().mnuUnlinkChild_Click();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LinkChild)->Unit(benchmark::kMillisecond);

// Select All, then the whole selection one row down (or up again).
void BM_SelectAllAndMove(benchmark::State& state) {
    OpenDesigner& d = designer();
    bool down = true;
    for (auto _ : state) {
        const int from = down ? 1 : 2;
        for (const auto& kv : d.tree->GetPersons()) d.form->SelectPerson(kv.first);
        d.drag(d.inBox(1, from), d.inBox(1, from + (down ? 1 : -1)));
        state.PauseTiming();
        if (d.form->model().cellOfPerson(QStringLiteral("p0")).R != from + (down ? 1 : -1))
        {
            state.SkipWithError("the selection did not move");
            break;
        }
        d.form->host().commands().run([&] { d.form->host().commands().ClearSelection(); }, false);
        down = !down;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllAndMove)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
    return runOffscreenBenchmarks(argc, argv, [] { theDesigner.reset(); });
}
