#pragma once

#include "foundation/Reporter.h"

// A reporter for benchmarks: shows nothing, answers every warning with OK and
// every question with No.
class QuietReporter : public Reporter {
public:
    void logLine(const QString&, LogColour) override {}
    void warn(const QString&) override {}
    bool warnDiscard(const QString&) override { return false; }
    bool askYesNo(const QString&) override { return false; }
};
