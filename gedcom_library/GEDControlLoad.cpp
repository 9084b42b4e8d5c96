#include "GEDControlClass.h"

#include "GEDDocClass.h"
#include "GEDLoader.h"

std::shared_ptr<GEDDocClass> GEDControlClass::LoadGEDCOM(const QString& sFile) {
    GEDLoader loader(*this);
    return loader.load(sFile);
}
