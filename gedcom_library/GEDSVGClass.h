#pragma once

#include "GEDObject.h"

// One of the system's own extension lines (_SVG_H, _SVG_U, _SVG_P, _SVG_F,
// _SVG_LS) that its GEDCOM export writes. It has no child lines.
class KINREAD_API GEDSVGClass : public GEDObject {
public:
    GEDSVGClass() = default;
    explicit GEDSVGClass(const GEDObject& line) : GEDObject(line, GEDKind::SVG) {}

    short GetType() const;
    QString GetPayL() const;
    void SetPayL(const QString& sPL);
};
