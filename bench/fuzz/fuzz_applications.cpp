// Reads the input as an applications definition file in a folder of its own.
#include <cstdint>

#include "FuzzSupport.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    fuzz::writeFile(QStringLiteral("ApplicationsServices.xml"), data, size);
    RecordingReporter log;
    SVGApplications apps;
    try {
        apps.Initialise(fuzz::scratch().path(), log);
    } catch (const AppError&) {
    }
    return 0;
}
