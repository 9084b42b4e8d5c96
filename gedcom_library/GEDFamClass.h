#pragma once

#include <QList>
#include <QString>

#include "GEDObject.h"

class GEDEventClass;
class GEDIndiClass;

// One FAM record of a loaded document. Partners and children are resolved
// from its HUSB, WIFE and CHIL lines each time they are asked for; a family
// without a partner got a placeholder person when the file had been read.
class KINREAD_API GEDFamClass : public GEDObject {
public:
    GEDFamClass() = default;
    explicit GEDFamClass(const GEDObject& record) : GEDObject(record, GEDKind::Fam) {}

    void SortEvents();
    // Sorts the CHIL lines by the children's birth dates (other lines stay in place).
    void SortChildren();
    QString GetXref() const;
    // Gives a missing husband or wife a placeholder person.
    void CheckParents();
    GEDEventClass GetMarriage() const;
    QString GetNotes() const;
    // The note and every event as HTML (see GEDIndiClass::GetFullNotes).
    QString GetFullNotes() const;
    // The marriage in plain words, else the family's own note.
    QString GetBriefNotes() const;
    // The first HUSB (WIFE) line that names an individual of the document.
    GEDIndiClass GetHusb() const;
    GEDIndiClass GetWife() const;
    // The children in CHIL line order (by birth once the document is loaded).
    QList<GEDIndiClass> GetChildren() const;
    bool GetLiaison() const;
    bool GetMoreChildren() const;
    QString GetLocalSettings() const;
};
