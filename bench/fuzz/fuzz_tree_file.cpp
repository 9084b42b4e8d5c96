// Loads the input as a tree definition file.
#include <cstdint>

#include "FuzzSupport.h"
#include "RecordingReporter.h"
#include "SVGDisplay.h"
#include "SVGTree.h"
#include "AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    const QString path = fuzz::writeFile(QStringLiteral("in.txt"), data, size);
    RecordingReporter log;
    SVGTree tree;
    tree.setReporter(&log);
    try {
        tree.LoadFile(std::make_shared<SVGDisplay>(), path, size % 2 == 0);
    } catch (const AppError&) {
    }
    return 0;
}
