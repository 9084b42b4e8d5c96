// The GEDCOM library's text index on the sizes a file of a million persons
// gives it: 1.4 million record identifiers looked up in the scattered order
// of the references that name them, and the loader's table of date texts,
// most of them repeated (about one look-up in eight adds a date).
//
// Each look-up reports its cost as ns_per_lookup. The texts looked up lie in
// one character buffer read in order, so that the time is the index's own.
//
// KV_DATES_FILE=<file of one date per line> adds the same date benchmark
// over the dates of a real or generated file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QStringView>

#include "GEDTextIndex.h"

namespace {

// A fixed sequence of pseudo-random numbers, the same on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

// Texts kept one after the other in one buffer.
class Texts {
public:
    void add(const std::string& text) {
        starts_.push_back(chars_.size());
        chars_.insert(chars_.end(), text.begin(), text.end());
    }
    std::size_t size() const { return starts_.size(); }
    // Views over the buffer; valid while no text is added.
    std::vector<QStringView> views() const {
        std::vector<QStringView> out;
        out.reserve(starts_.size());
        for (std::size_t i = 0; i < starts_.size(); ++i) {
            const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : chars_.size();
            out.emplace_back(chars_.data() + starts_[i], static_cast<qsizetype>(end - starts_[i]));
        }
        return out;
    }

private:
    std::vector<char16_t> chars_;
    std::vector<std::size_t> starts_;
};

constexpr int kPersons = 1000000;
constexpr int kFamilies = 400000;

// "I1".."I1000000" then "F1".."F400000", in the order a file defines them.
const Texts& identifiers() {
    static const Texts texts = [] {
        Texts t;
        for (int i = 1; i <= kPersons; ++i) t.add("I" + std::to_string(i));
        for (int i = 1; i <= kFamilies; ++i) t.add("F" + std::to_string(i));
        return t;
    }();
    return texts;
}

// Each identifier about three times (a person names its families, a family
// its partners and children), in a scattered order.
const Texts& references() {
    static const Texts texts = [] {
        std::vector<std::string> refs;
        for (int round = 0; round < 3; ++round) {
            for (int i = 1; i <= kPersons; ++i) refs.push_back("I" + std::to_string(i));
            for (int i = 1; i <= kFamilies; ++i) refs.push_back("F" + std::to_string(i));
        }
        Random random(7);
        for (std::size_t i = refs.size() - 1; i > 0; --i)
            std::swap(refs[i], refs[static_cast<std::size_t>(random.next() % (i + 1))]);
        Texts t;
        for (const std::string& r : refs) t.add(r);
        return t;
    }();
    return texts;
}

// Date payloads in the shapes and proportions of a large generated file:
// about 2.9 million of them, some 12% distinct.
const Texts& dates() {
    static const Texts texts = [] {
        static const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                             "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
        static const char* const prefixes[] = {"ABT ", "BEF ", "AFT ", "EST ", "CAL "};
        Random random(11);
        Texts t;
        for (int i = 0; i < 2900000; ++i) {
            const int year = 1000 + random.below(1100);
            const std::string y = std::to_string(year);
            const int shape = random.below(100);
            std::string date;
            if (shape < 30)
                date = std::to_string(1 + random.below(28)) + " " + months[random.below(12)] + " " + y;
            else if (shape < 50)
                date = std::string(months[random.below(12)]) + " " + y;
            else if (shape < 62)
                date = y;
            else if (shape < 90)
                date = prefixes[random.below(5)] + y;
            else if (shape < 95)
                date = "BET " + y + " AND " + std::to_string(year + 1 + random.below(5));
            else
                date = "FROM " + y + " TO " + std::to_string(year + 1 + random.below(10));
            t.add(date);
        }
        return t;
    }();
    return texts;
}

void setLookupCounters(benchmark::State& state, std::size_t perIteration) {
    state.counters["ns_per_lookup"] = benchmark::Counter(static_cast<double>(perIteration) * 1e-9,
                                                         benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

GEDTextIndex identifierIndex() {
    GEDTextIndex index;
    const std::vector<QStringView> ids = identifiers().views();
    index.reserve(static_cast<qsizetype>(ids.size()));
    for (std::size_t i = 0; i < ids.size(); ++i) index.insert(ids[i], static_cast<qint32>(i));
    return index;
}

// Fills the identifier index, with room reserved (as the loader does) or not.
void BM_IdentifierFill(benchmark::State& state) {
    const bool reserved = state.range(0) != 0;
    const std::vector<QStringView> ids = identifiers().views();
    for (auto _ : state) {
        GEDTextIndex index;
        if (reserved) index.reserve(static_cast<qsizetype>(ids.size()));
        for (std::size_t i = 0; i < ids.size(); ++i) index.insert(ids[i], static_cast<qint32>(i));
        benchmark::DoNotOptimize(index.size());
    }
    setLookupCounters(state, ids.size());
}
BENCHMARK(BM_IdentifierFill)->ArgName("reserved")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Finds every reference's identifier, in a scattered order.
void BM_IdentifierFind(benchmark::State& state) {
    const GEDTextIndex index = identifierIndex();
    const std::vector<QStringView> refs = references().views();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (QStringView r : refs) sum += index.find(r);
        benchmark::DoNotOptimize(sum);
    }
    setLookupCounters(state, refs.size());
}
BENCHMARK(BM_IdentifierFind)->Unit(benchmark::kMillisecond);

// Looks for identifiers that are not there, as the search for a free one does.
void BM_IdentifierMiss(benchmark::State& state) {
    const GEDTextIndex index = identifierIndex();
    Texts missing;
    for (int i = 1; i <= 1000000; ++i) missing.add((i % 2 ? "Missing" : "S") + std::to_string(static_cast<std::int64_t>(i) * 7919 % 1000003));
    const std::vector<QStringView> views = missing.views();
    for (auto _ : state) {
        int found = 0;
        for (QStringView m : views) found += index.contains(m) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    setLookupCounters(state, views.size());
}
BENCHMARK(BM_IdentifierMiss)->Unit(benchmark::kMillisecond);

// The loader's use of the date index: a date found shares the first line's
// conversion, a date not found is added.
void runDates(benchmark::State& state, const Texts& texts) {
    const std::vector<QStringView> views = texts.views();
    qsizetype distinct = 0;
    for (auto _ : state) {
        GEDTextIndex index;
        std::int64_t sum = 0;
        for (QStringView d : views) {
            const qint32 row = index.find(d);
            if (row >= 0)
                sum += row;
            else
                index.insert(d, static_cast<qint32>(index.size()));
        }
        distinct = index.size();
        benchmark::DoNotOptimize(sum);
    }
    setLookupCounters(state, views.size());
    state.counters["distinct"] = static_cast<double>(distinct);
}

void BM_DateTexts(benchmark::State& state) { runDates(state, dates()); }
BENCHMARK(BM_DateTexts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (const char* file = std::getenv("KV_DATES_FILE")) {
        static Texts fileDates;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            fileDates.add(line);
        }
        benchmark::RegisterBenchmark("BM_DateTextsOfFile", [](benchmark::State& state) { runDates(state, fileDates); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
