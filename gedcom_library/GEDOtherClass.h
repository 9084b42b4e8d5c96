#pragma once

#include "GEDObject.h"

// Any line or record that is not an individual, a family, an event or an
// extension line: HEAD, SOUR, NOTE and OBJE records down to DATE, PLAC, FAMC
// or PEDI lines. A DATE line's payload is already the system's date text.
class KINREAD_API GEDOtherClass : public GEDObject {
public:
    GEDOtherClass() = default;
    // The line as a plain line; null when it is of another class.
    explicit GEDOtherClass(const GEDObject& line) : GEDObject(line, GEDKind::Other) {}

    // The record's identifier without "@" signs; "" for a line without one.
    QString GetXref() const;
    // The tag code (0 for a tag the tag table does not know).
    short GetType() const;
    QString GetPayL() const;
    void SetPayL(const QString& sPL);
    // The note text of this line's NOTE lines.
    QString GetNotes() const;
};
