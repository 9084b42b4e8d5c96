// Reads a generated 100 MB UTF-8 text file line by line through ReadTextFile
// and through a plain std::ifstream/getline loop. The file is written once per
// run into the temporary folder (KV_BENCH_DIR overrides it) and removed at the end.
#include <fstream>
#include <string>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include "ReadTextFile.h"

namespace {

constexpr qint64 kTargetBytes = 100LL * 1024 * 1024;

class GeneratedFile {
public:
    GeneratedFile(const char* name, bool mark) {
        const QByteArray dir = qgetenv("KV_BENCH_DIR");
        path_ = QDir(dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir)).filePath(name);
        QFile f(path_);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
        if (mark) f.write("\xEF\xBB\xBF");
        QByteArray block;
        qint64 written = 0;
        for (qint64 i = 0; written < kTargetBytes; ++i) {
            // GEDCOM-like records of varying length, some with non-ASCII names.
            block += QByteArray::number(i % 4) + " NAME ";
            block += (i % 7 == 0) ? "Zo\xC3\xAB M\xC3\xBCller-\xE6\x9D\x8E" : "John Smith";
            block += " /Family" + QByteArray::number(i) + "/ " + QByteArray(int(i % 50), 'x') + "\r\n";
            if (block.size() > (1 << 20)) {
                written += f.write(block);
                block.clear();
            }
        }
        f.write(block);
        size_ = f.size();
    }
    ~GeneratedFile() { QFile::remove(path_); }
    const QString& path() const { return path_; }
    qint64 size() const { return size_; }

private:
    QString path_;
    qint64 size_ = 0;
};

const GeneratedFile& withoutMark() {
    static GeneratedFile file("kvora_bench_textfile.txt", false);
    return file;
}

const GeneratedFile& withMark() {
    static GeneratedFile file("kvora_bench_textfile_bom.txt", true);
    return file;
}

void readThroughReader(benchmark::State& state, const GeneratedFile& file) {
    for (auto _ : state) {
        ReadTextFile reader;
        reader.OpenFile(file.path());
        qint64 chars = 0, lines = 0;
        while (!reader.EOD()) {
            chars += reader.ReadLine().size();
            ++lines;
        }
        benchmark::DoNotOptimize(chars);
        state.counters["lines"] = double(lines);
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_ReadTextFile_NoMark(benchmark::State& state) { readThroughReader(state, withoutMark()); }
void BM_ReadTextFile_Mark(benchmark::State& state) { readThroughReader(state, withMark()); }

void BM_IfstreamGetline(benchmark::State& state) {
    const GeneratedFile& file = withoutMark();
    for (auto _ : state) {
        std::ifstream in(file.path().toStdString(), std::ios::binary);
        std::string line;
        qint64 chars = 0, lines = 0;
        while (std::getline(in, line)) {
            chars += qint64(line.size());
            ++lines;
        }
        benchmark::DoNotOptimize(chars);
        state.counters["lines"] = double(lines);
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

}  // namespace

BENCHMARK(BM_IfstreamGetline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadTextFile_NoMark)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadTextFile_Mark)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
