// Exporting generated trees of 10,000 to 100,000 persons as GEDCOM files;
// every person also carries two dated events in its notes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "SVGTree.h"
#include "TreeFileGenerator.h"

namespace {

QTemporaryDir& benchDir() {
    static QTemporaryDir dir;
    return dir;
}

void BM_ExportToGEDCOM(benchmark::State& state) {
    const int persons = static_cast<int>(state.range(0));
    const QString treeFile = benchDir().filePath(QStringLiteral("Tree%1.txt").arg(persons));
    if (!QFile::exists(treeFile)) generateTreeFile(treeFile, persons);
    SVGTree tree;
    tree.LoadFile(std::make_shared<SVGDisplay>(), treeFile, false);
    for (const auto& [key, box] : tree.GetPersons())
        box->AddNotes(QStringLiteral("<span data-start='{1820-03-05}' data-evtype='Birth' data-event='Born' "
                                     "data-gtag='BIRT'>Born on 5 March 1820.</span><br/>\n<br/>\n<div "
                                     "data-start='{ABT 1870}' data-evtype='Death' data-event='Died'>Died about "
                                     "1870,<br/>\nat home.</div>"));
    const QString out = benchDir().filePath(QStringLiteral("Export.ged"));
    for (auto _ : state) tree.ExportToGEDCOM(out);
    state.counters["bytes"] = static_cast<double>(QFile(out).size());
    state.SetComplexityN(persons);
}

}  // namespace

BENCHMARK(BM_ExportToGEDCOM)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
