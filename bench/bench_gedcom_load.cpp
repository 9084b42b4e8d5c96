// Loads generated GEDCOM 5.5.1 files of 10,000, 100,000 and 1,000,000 individuals
// through GEDControlClass::LoadGEDCOM, beside a plain C++ loop that only reads
// the same file's lines and splits them into level, identifier, tag and
// payload. The files are written once per run into the temporary folder
// (KV_BENCH_DIR overrides it) and removed at the end. The counter peak_MB is
// the process's peak resident memory during the last load (the peak is reset
// before each load).
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GedcomGenerator.h"
#include "PeakMemory.h"

namespace {

class GeneratedGedcom {
public:
    explicit GeneratedGedcom(std::int64_t individuals) {
        const QByteArray dir = qgetenv("KV_BENCH_DIR");
        path_ = QDir(dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir))
                    .filePath(QStringLiteral("kvora_bench_%1.ged").arg(individuals));
        result_ = writeGeneratedGedcom(path_.toStdString(), individuals);
    }
    ~GeneratedGedcom() { QFile::remove(path_); }
    const QString& path() const { return path_; }
    const GedcomGeneratorResult& result() const { return result_; }

private:
    QString path_;
    GedcomGeneratorResult result_;
};

const GeneratedGedcom& fileOf(std::int64_t individuals) {
    static std::map<std::int64_t, std::unique_ptr<GeneratedGedcom>> files;
    auto& file = files[individuals];
    if (!file) file = std::make_unique<GeneratedGedcom>(individuals);
    return *file;
}

void BM_LoadGEDCOM(benchmark::State& state) {
    const GeneratedGedcom& file = fileOf(state.range(0));
    auto control = createGEDControl();
    std::int64_t persons = 0;
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        auto doc = control->LoadGEDCOM(file.path());
        peak = peakMemoryMB();
        persons = doc ? doc->GetCountPersons() : 0;
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["persons"] = double(persons);
    state.counters["lines"] = double(file.result().lines);
    state.counters["file_MB"] = double(file.result().bytes) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peak;
}

// Reads the file line by line and splits each line, without building anything.
void BM_PlainReadAndSplit(benchmark::State& state) {
    const GeneratedGedcom& file = fileOf(state.range(0));
    for (auto _ : state) {
        std::ifstream in(file.path().toStdString(), std::ios::binary);
        std::string line;
        std::size_t fields = 0;
        while (std::getline(in, line)) {
            std::string_view v(line);
            if (!v.empty() && v.back() == '\r') v.remove_suffix(1);
            std::size_t pos = v.find(' ');
            const std::string_view level = v.substr(0, pos);
            std::string_view rest = pos == std::string_view::npos ? std::string_view() : v.substr(pos + 1);
            std::string_view xref;
            if (!rest.empty() && rest.front() == '@') {
                pos = rest.find('@', 1);
                xref = rest.substr(1, pos == std::string_view::npos ? rest.npos : pos - 1);
                rest = pos == std::string_view::npos ? std::string_view() : rest.substr(std::min(rest.size(), pos + 2));
            }
            pos = rest.find(' ');
            const std::string_view tag = rest.substr(0, pos);
            const std::string_view payload = pos == std::string_view::npos ? std::string_view() : rest.substr(pos + 1);
            fields += level.size() + xref.size() + tag.size() + payload.size();
        }
        benchmark::DoNotOptimize(fields);
    }
    state.counters["lines"] = double(fileOf(state.range(0)).result().lines);
}

}  // namespace

BENCHMARK(BM_PlainReadAndSplit)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadGEDCOM)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
