#pragma once

#include "GEDBrowserHost.h"
#include "QuietReporter.h"

// A GEDCOM browser host for benchmarks: shows nothing, answers every warning
// with OK and every question with No.
class QuietBrowserHost : public GEDBrowserHost {
public:
    void logLine(const QString&, LogColour) override {}
    void warn(const QString&) override {}
    bool warnDiscard(const QString&) override { return false; }
    bool askYesNo(const QString&) override { return false; }
    void showInformation(const QString&) override {}
    void setClipboardText(const QString&) override {}
    void editPlaceKeys(PlaceKeyClass&) override {}
};
