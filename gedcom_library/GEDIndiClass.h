#pragma once

#include <QList>
#include <QString>

#include "GEDObject.h"

class GEDEventClass;
class GEDFamClass;
class GEDOtherClass;

// One INDI record of a loaded document. While its lines arrive it derives the
// display name, the personal names, the sex, the birth and death events, a
// stored position and tentative flag, and local settings; when the file has
// been read the document chooses its birth family and sorts its events.
class KINREAD_API GEDIndiClass : public GEDObject {
public:
    GEDIndiClass() = default;
    explicit GEDIndiClass(const GEDObject& record) : GEDObject(record, GEDKind::Indi) {}

    // Corrects event payloads and sorts the event lines by date (other lines stay in place).
    void SortEvents();
    QString GetXref() const;
    QString GetNotes() const;
    // "m", "f", "u" or "x" ("u" when the file gives none or an unknown value).
    QString GetSex() const;
    void SetSex(const QString& sSX);
    // The first personal name with every "/" removed; "" when none.
    QString GetName() const;
    void SetName(const QString& sNm);
    // Every distinct personal name, "|"-separated, surnames between "/" signs.
    QString GetPersonalNames() const;
    qint32 GetRow() const;
    void SetRow(qint32 lR);
    qint32 GetCol() const;
    void SetCol(qint32 lC);
    qint32 GetVisits() const;
    void SetVisits(qint32 lV);
    GEDEventClass GetBirth() const;
    GEDEventClass GetDeath() const;
    // Chooses the birth family: a natural link (no PEDI, or PEDI birth) before
    // an adopted one before a foster one.
    void CheckFAMC();
    GEDFamClass GetFamC() const;
    // The spousal families in the order of the FAMS lines.
    QList<GEDFamClass> GetFamS() const;
    // For each family, the wife when this person is its husband, else the husband.
    QList<GEDIndiClass> GetSpouses(const QList<GEDFamClass>& oFam) const;
    // This person's xref and those of every person linked to it through
    // partnerships, ","-separated, its own first; computed once per group.
    QString GetRelatedSpouses() const;
    void SetRelatedSpouses(const QString& sList);
    // The display name with middle words cut to initials; "(Unnamed)" without a name.
    QString GetShortCaption() const;
    // The short caption followed by the life years: «John W. Smith (1850-1920)».
    QString GetCaption() const;
    // The note and every event as HTML, each dated event an element with
    // its details in data- attributes.
    QString GetFullNotes() const;
    // Birth and death in plain words, else the person's own note.
    QString GetBriefNotes() const;
    // The first linked picture file marked primary or that looks like a
    // picture; "" when none. Searched once, then kept.
    QString GetImage() const;
    QString GetImagePlace() const;
    void SetImagePlace(const QString& sRef);
    // The stored tentative flag, or True when the birth family came from an adopted or foster link.
    bool GetTentative() const;
    // The "," list of the record's _SVG_LS payloads.
    QString GetLocalSettings() const;

    // A NAME payload tidied: single blanks, the surname between "/" signs.
    static QString sNormalisePersonalName(const QString& sName);
    // The name built from a NAME line's NPFX, GIVN, NICK, SPFX, SURN and NSFX lines.
    static QString sNameFromPieces(const GEDOtherClass& oName);
};
