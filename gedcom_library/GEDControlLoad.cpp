#include "GEDControlClass.h"

#include "AppError.h"

std::shared_ptr<GEDDocClass> GEDControlClass::LoadGEDCOM(const QString& sFile) {
    raiseError(ErrorOffset::InvalidKey, QStringLiteral("GEDControlClass"), QStringLiteral("Loading is not implemented yet"));
}
