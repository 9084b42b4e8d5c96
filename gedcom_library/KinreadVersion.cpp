#include "KinreadExport.h"

#include <QString>

// The library's version, Major.Minor.Revision, as the build gives it.
KINREAD_API QString kinreadVersionText() {
    return QStringLiteral("%1.%2.%3").arg(KINREAD_VERSION_MAJOR).arg(KINREAD_VERSION_MINOR).arg(KINREAD_VERSION_REVISION);
}
