// Reads the input as an applications definition file in a folder of its own,
// then enables every entry and asks what a chart run asks.
#include <cstdint>

#include "DefinitionQueries.h"
#include "FuzzSupport.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    fuzz::writeFile(QStringLiteral("ApplicationsServices.xml"), data, size);
    RecordingReporter log;
    SVGApplications apps;
    apps.Initialise(fuzz::scratch().path(), log);
    (void)askEverything(apps, log);
    return 0;
}
