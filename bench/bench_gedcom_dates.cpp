// Date conversion and date texts of the GEDCOM library: the loader converts
// every DATE line once, and every sort of events, children, persons and
// families builds sort keys, so these run millions of times on large files.

#include <benchmark/benchmark.h>

#include <QStringList>

#include "GEDControlClass.h"
#include "GEDDateText.h"

namespace {

// A mix of the date shapes real files hold.
QStringList gedcomDates() {
    QStringList dates;
    const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int i = 0; i < 1000; ++i) {
        const QString year = QString::number(1500 + i % 500);
        const QString month = QString::fromLatin1(months[i % 12]);
        const QString day = QString::number(1 + i % 28);
        switch (i % 8) {
        case 0: case 1: case 2: dates.append(day + QLatin1Char(' ') + month + QLatin1Char(' ') + year); break;
        case 3: dates.append(year); break;
        case 4: dates.append(QStringLiteral("ABT ") + year); break;
        case 5: dates.append(month + QLatin1Char(' ') + year); break;
        case 6: dates.append(QStringLiteral("BET ") + year + QStringLiteral(" AND ") + QString::number(1510 + i % 500)); break;
        default: dates.append(QStringLiteral("@#DJULIAN@ ") + day + QLatin1Char(' ') + month + QLatin1Char(' ') + year); break;
        }
    }
    return dates;
}

QStringList dateTexts() {
    auto control = createGEDControl();
    QStringList texts;
    for (const QString& d : gedcomDates())
        texts.append(control->sDateGED2SVG(d));
    return texts;
}

void BM_GedcomDateToDateText(benchmark::State& state) {
    auto control = createGEDControl();
    const QStringList dates = gedcomDates();
    for (auto _ : state)
        for (const QString& d : dates)
            benchmark::DoNotOptimize(control->sDateGED2SVG(d));
    state.SetItemsProcessed(state.iterations() * dates.size());
}
BENCHMARK(BM_GedcomDateToDateText);

void BM_DateTextToGedcom(benchmark::State& state) {
    auto control = createGEDControl();
    const QStringList texts = dateTexts();
    for (auto _ : state)
        for (const QString& t : texts)
            benchmark::DoNotOptimize(control->sDateSVG2GED(t));
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_DateTextToGedcom);

void BM_DateSortKey(benchmark::State& state) {
    const QStringList texts = dateTexts();
    for (auto _ : state)
        for (const QString& t : texts)
            benchmark::DoNotOptimize(sDateSortKey(t));
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_DateSortKey);

void BM_EventDateInWords(benchmark::State& state) {
    const QStringList texts = dateTexts();
    for (auto _ : state)
        for (const QString& t : texts)
            benchmark::DoNotOptimize(sGetEventDate(t));
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_EventDateInWords);

}  // namespace

BENCHMARK_MAIN();
