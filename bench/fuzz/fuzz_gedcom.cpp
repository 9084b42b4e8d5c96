// Loads the input as a GEDCOM file, lays it out and asks every person and
// family for its notes and picture.
#include <cstdint>

#include "FuzzSupport.h"
#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GEDFamClass.h"
#include "GEDIndiClass.h"
#include "AppError.h"

namespace {
class QuietListener : public GEDControlListener {
public:
    void ReportMessage(const QString&, bool) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::app();
    static QuietListener listener;
    const QString path = fuzz::writeFile(QStringLiteral("in.ged"), data, size);
    auto control = createGEDControl();
    control->SetListener(&listener);
    std::shared_ptr<GEDDocClass> doc;
    try {
        doc = control->LoadGEDCOM(path);
    } catch (const AppError&) {
        return 0;
    }
    if (!doc) return 0;
    try {
        doc->Layout();
    } catch (const AppError&) {
    }
    for (const GEDIndiClass& person : doc->GetAllPersons()) {
        try {
            (void)person.GetFullNotes();
            (void)person.GetImage();
            (void)person.GetImagePlace();
        } catch (const AppError&) {
        }
    }
    for (const GEDFamClass& family : doc->GetAllFamilies()) {
        try {
            (void)family.GetFullNotes();
        } catch (const AppError&) {
        }
    }
    return 0;
}
