// The viewpoint manager on a tree of 100,000 persons and 10 viewpoints, with
// its window on the offscreen platform: opening it, one keystroke in the
// search box, and the tree's change events while a person is selected and
// every person is listed.
//   build/bin/bench_viewpoint_manager
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QStringList>

#include "FormViewpoints.h"
#include "OffscreenBenchMain.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

namespace {

constexpr int kPersons = 100000;
constexpr int kViewpoints = 10;

// Couples of persons 2k and 2k+1 of the first half with two children each
// from the second half. Viewpoint k % 10 holds couple k with its children,
// except every fourth couple, which no viewpoint holds yet.
std::shared_ptr<SVGTree> buildTree() {
    static const char* const given[] = {"Mary",  "John",   "Anne",   "William",  "Elizabeth",
                                        "James", "Sarah",  "Thomas", "Margaret", "George",
                                        "Jane",  "Robert", "Ellen",  "Henry",    "Alice"};
    static const char* const surnames[] = {"Smith",    "Jones",   "Taylor", "Brown",    "Williams",
                                           "Wilson",   "Johnson", "Davies", "Robinson", "Wright",
                                           "Thompson", "Evans",   "Walker", "White",    "Roberts",
                                           "Green",    "Hall",    "Wood",   "Jackson",  "Clarke"};
    auto tree = std::make_shared<SVGTree>();
    std::vector<SVGViewpointPtr> views;
    for (int v = 0; v < kViewpoints; ++v)
        views.push_back(tree->AddViewpoint(QStringLiteral("v") + QString::number(v),
                                           QStringLiteral("Branch ") + QString::number(v), 200, 200));
    for (int i = 0; i < kPersons; ++i) {
        const QString text = QLatin1String(given[i % 15]) + u' ' + QLatin1String(surnames[(i / 15) % 20]) +
                             QStringLiteral(" (") + QString::number(1700 + i % 200) + u'-' +
                             QString::number(1760 + i % 200) + u')';
        tree->NewPerson(QStringLiteral("p") + QString::number(i), text, QString(), 1 + i % 200, 1 + i / 200,
                        i % 2 ? QStringLiteral("m") : QStringLiteral("f"), false, QString(), true);
    }
    const int half = kPersons / 2;
    const PersonDict& all = tree->GetPersons();
    for (int k = 0; 2 * k + 1 < half; ++k) {
        auto family =
            tree->NewFamily(QStringLiteral("f") + QString::number(k), all.keyAt(2 * k), all.keyAt(2 * k + 1));
        for (int c = half + 2 * k; c < half + 2 * k + 2; ++c) family->AddChild(all.valueAt(c));
        if (k % 4 == 3) continue;
        SVGViewpointClass& view = *views[static_cast<std::size_t>(k % kViewpoints)];
        for (int p : {2 * k, 2 * k + 1, half + 2 * k, half + 2 * k + 1})
            view.AddPerRef(all.keyAt(p), 1, 1, true);
        view.AddFamRef(*family);
    }
    tree->ClearPendingEvents();
    return tree;
}

const std::shared_ptr<SVGTree>& sharedTree() {
    static const std::shared_ptr<SVGTree> tree = buildTree();
    return tree;
}

void closeWindow() {
    if (FormViewpoints* window = FormViewpoints::openWindow()) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// An open window with every person listed and one person selected.
FormViewpoints& openWithSelection() {
    closeWindow();
    FormViewpoints::ManageViewpoints(sharedTree(), nullptr);
    FormViewpoints& window = *FormViewpoints::openWindow();
    window.model().selectPerson(20001);
    QCoreApplication::processEvents();
    return window;
}

void BM_OpenWindow(benchmark::State& state) {
    const auto& tree = sharedTree();
    for (auto _ : state) {
        FormViewpoints::ManageViewpoints(tree, nullptr);
        QCoreApplication::processEvents();
        state.PauseTiming();
        closeWindow();
        state.ResumeTiming();
    }
}

void BM_FilterKeystroke(benchmark::State& state) {
    FormViewpoints& window = openWithSelection();
    static const char* const typed[] = {"m", "ma", "mar", "mary", "mary s", "mary sm"};
    std::size_t next = 0;
    for (auto _ : state) {
        window.txtPartName()->setText(QLatin1String(typed[next]));
        next = (next + 1) % std::size(typed);
    }
    closeWindow();
}

enum class Event { PersonDetails, ViewpointPFChange, PFChange };

void BM_TreeChangeEvent(benchmark::State& state, Event event) {
    FormViewpoints& window = openWithSelection();
    SVGTree& tree = *sharedTree();
    const SVGBoxPtr person = tree.GetPersons().value(QStringLiteral("p20001"));
    const SVGFamilyPtr family = tree.GetFamilies().value(QStringLiteral("f3"));
    const SVGViewpointPtr view = tree.GetViewpoints().value(QStringLiteral("v3"));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        switch (event) {
            case Event::PersonDetails:
                person->SetText(flip ? QStringLiteral("Renamed Person")
                                     : QStringLiteral("Mary Smith (1700-1760)"));
                tree.RaisePersonDetails(person->GetKey());
                break;
            case Event::ViewpointPFChange:
                // Couple 3 (p6, p7) joins the viewpoint, or leaves it again.
                if (flip) {
                    for (const char* key : {"p6", "p7"}) view->AddPerRef(QLatin1String(key), 1, 1, true);
                    view->AddFamRef(*family);
                } else {
                    view->RemFamRef(family->GetKey());
                    for (const char* key : {"p6", "p7"}) view->RemPerRef(QLatin1String(key));
                }
                tree.RaiseViewpointPFChange(view->GetKey());
                break;
            case Event::PFChange:
                tree.SetPendingPFChange();
                tree.RaisePendingEvents();
                break;
        }
    }
    benchmark::DoNotOptimize(window.model().list(ViewpointManagerModel::PersonList).count());
    closeWindow();
}

}  // namespace

BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TreeChangeEvent, PersonDetails, Event::PersonDetails)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TreeChangeEvent, ViewpointPFChange, Event::ViewpointPFChange)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TreeChangeEvent, PFChange, Event::PFChange)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
