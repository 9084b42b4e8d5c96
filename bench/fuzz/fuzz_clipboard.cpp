// Pastes the input as clipboard text of each kind, into an empty tree and
// into one that already holds the pasted keys.
#include <cstdint>

#include "FuzzSupport.h"
#include "RecordingReporter.h"
#include "SVGTree.h"
#include "AppError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    if (size < 1) return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);
    RecordingReporter log;
    SVGTree tree;
    tree.setReporter(&log);
    const bool asNew = data[0] & 0x80;
    for (int round = 0; round < 2; ++round) {
        try {
            QString keys, sign;
            switch (data[0] % 5) {
            case 0: tree.Unpack1Person(text, asNew, keys); break;
            case 1: tree.UnpackNPersons(text, asNew); break;
            case 2: tree.UnpackFamily(text, asNew, keys); break;
            case 3: tree.UnpackNFamilies(text, asNew, keys); break;
            default: tree.UnpackKeys(text, sign); break;
            }
        } catch (const AppError&) {
        }
    }
    return 0;
}
