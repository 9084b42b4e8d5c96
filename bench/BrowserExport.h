#pragma once

#include <cstdint>

#include <memory>

#include <QString>

#include "QuietHosts.h"

class GEDBrowserSession;
class LoadedGEDCOMClass;

// The GEDCOM browser as a user drives it from a GEDCOM file to a tree
// definition file: load the file, export it under the name the browser
// proposes. Shows nothing and answers every warning with OK.
class BrowserExport {
public:
    BrowserExport();
    ~BrowserExport();
    BrowserExport(const BrowserExport&) = delete;
    BrowserExport& operator=(const BrowserExport&) = delete;

    void load(const QString& gedcomFile);
    // Writes the tree file into `folder`; returns its path.
    QString exportTo(const QString& folder);

private:
    QuietBrowserHost host_;
    std::unique_ptr<LoadedGEDCOMClass> holder_;
    std::unique_ptr<GEDBrowserSession> session_;
};

// The folder benchmarks write their files in: the temporary folder, or
// KV_BENCH_DIR when set.
QString benchFolder();

// The tree file a user gets from the project's generated GEDCOM file of
// `persons` individuals (from `seed`) through the browser's export. Made
// once per count and seed in a run, in a folder removed when the run ends.
QString generatedTreeFile(int persons, std::uint32_t seed = 1);
