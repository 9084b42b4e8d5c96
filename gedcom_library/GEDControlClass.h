#pragma once

#include <memory>

#include <QHash>
#include <QString>

#include "KinreadExport.h"

class GEDDocClass;

// Receives the library's progress lines (bWarning false) and warnings
// (bWarning true), synchronously, on the caller's thread. A handler may call
// GEDControlClass::Quit to abandon a running load.
class KINREAD_API GEDControlListener {
public:
    virtual ~GEDControlListener() = default;
    virtual void ReportMessage(const QString& sText, bool bWarning) = 0;
};

// The library's entry object: loads GEDCOM files, converts dates both ways,
// maps event descriptions to tags, holds the earliest accepted year and the
// abandon flag of a running load. Made by createGEDControl(); documents it
// loads keep it alive through a shared reference.
class KINREAD_API GEDControlClass : public std::enable_shared_from_this<GEDControlClass> {
public:
    ~GEDControlClass();
    GEDControlClass(const GEDControlClass&) = delete;
    GEDControlClass& operator=(const GEDControlClass&) = delete;

    // "V" + major.minor.revision of the library, e.g. «V1.2.0».
    QString GetVersion() const;

    // A GEDCOM date to the system's date text. Never throws: a date it cannot
    // convert is reported as a warning and comes back in the failure form
    // escape + "(" + input + ")".
    QString sDateGED2SVG(const QString& sDateString);
    // The system's date text to a GEDCOM date; shapes it does not know give
    // an empty text; a month or year field that is not a number throws AppError.
    QString sDateSVG2GED(const QString& sDateString) const;
    // The GEDCOM tag of an event description ("Born" gives "BIRT"); "EVEN"
    // for a description that is not in the event table.
    QString CvtEventDescrToTag(const QString& sEvDescr) const;

    // Sets the abandon flag; a running load stops at its next line.
    void Quit();
    // Loads a GEDCOM file into a new document; no document when the load was
    // abandoned. Errors pass out as AppError.
    std::shared_ptr<GEDDocClass> LoadGEDCOM(const QString& sFile);

    // The earliest year the date conversion accepts (default 1000).
    short GetMinValidDate() const { return iMinValidDate; }
    void SetMinValidDate(short iMin) { iMinValidDate = iMin; }

    // The receiver of ReportMessage (not owned; none by default).
    void SetListener(GEDControlListener* listener) { reportListener = listener; }
    GEDControlListener* GetListener() const { return reportListener; }

    // Raises ReportMessage with the two values; every class of the library
    // reports through its document's control with it.
    void ReportMsg(const QString& sText, bool bWarning);

    // State of the current or last load: the abandon flag and the number of
    // lines read so far (empty lines included), quoted in date warnings.
    bool IsAbandoned() const { return bAbandon; }
    void ClearAbandon() { bAbandon = false; }
    int GetLineCounter() const { return lLineCounter; }
    void SetLineCounter(int lCount) { lLineCounter = lCount; }

private:
    friend KINREAD_API std::shared_ptr<GEDControlClass> createGEDControl();
    GEDControlClass();

    bool bAbandon = false;
    short iMinValidDate = 1000;
    int lLineCounter = 0;
    GEDControlListener* reportListener = nullptr;
    QHash<QString, QString> dateKeywords;  // long date word to its GEDCOM word
};

// Makes a new control object.
KINREAD_API std::shared_ptr<GEDControlClass> createGEDControl();
