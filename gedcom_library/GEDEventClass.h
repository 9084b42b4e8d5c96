#pragma once

#include "GEDObject.h"

// A line whose tag is one of the 46 events; it keeps its date, place and
// GEDCOM TYPE text at hand.
class KINREAD_API GEDEventClass : public GEDObject {
public:
    GEDEventClass() = default;
    explicit GEDEventClass(const GEDObject& line) : GEDObject(line, GEDKind::Event) {}

    short GetType() const;
    // The date text of its (last) DATE line; "" when none.
    QString GetDate() const;
    // The payload of its (last) PLAC line; "" when none.
    QString GetPlace() const;
    // The payload of its (last) TYPE line; "" when none.
    QString GetGType() const;
    // Moves a descriptive payload of an event whose GEDCOM value is only "Y"
    // or nothing (BIRT, DEAT, MARR...) into a NOTE line of its own.
    void CorrectPayload();
    QString GetNotes() const;
    QString GetPayL() const;
    void SetPayL(const QString& sPL);
};
