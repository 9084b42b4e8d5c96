// Writing the tree as a GEDCOM file (SVGTree::ExportToGEDCOM).
#include "SVGTree.h"

#include "GEDCOMExport.h"

void SVGTree::ExportToGEDCOM(const QString& sFile) const {
    // Logged before the file is opened, so the line is there when opening fails.
    logLine(QStringLiteral("Exporting tree to GEDCOM file: ") + sFile);
    GEDCOMExport(*this).Write(sFile);
}
