#pragma once

#include <functional>

#include <QApplication>
#include <benchmark/benchmark.h>

// The main of a benchmark of windows: a QApplication on the offscreen
// platform (unless another is asked for), the benchmarks, then `beforeExit`
// (closing windows that must go before the application does).
inline int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit) beforeExit();
    return 0;
}
