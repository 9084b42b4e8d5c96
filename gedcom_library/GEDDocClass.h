#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include "GEDFamClass.h"
#include "GEDIndiClass.h"
#include "GEDObject.h"
#include "GEDOtherClass.h"
#include "GEDXrefTable.h"
#include "KinreadExport.h"
#include "OrderedDict.h"

class GEDControlClass;
class GEDStore;

// One loaded GEDCOM file. It owns every line of the file (records hold a
// shared reference to its inside, so they keep it alive) and answers the
// queries of the rest of the library and of the program: the HEAD record and
// version, a small path language, note texts, the lists of individuals and
// families, name words and a word-prefix name filter, and what this system's
// own GEDCOM export carried in HEAD.
class KINREAD_API GEDDocClass {
public:
    // For the library's own use: a document over a store being filled.
    explicit GEDDocClass(std::shared_ptr<GEDStore> store);

    // The control that loaded the document.
    std::shared_ptr<GEDControlClass> GetCntl() const;
    // Makes and files a placeholder individual "MissingN" named "(Unknown Person)".
    GEDIndiClass CreatePerson(const QString& sSex);
    // The level-0 records in document order.
    QList<GEDObject> GetData() const;
    // The HEAD record, or a null handle.
    GEDOtherClass GetHead() const;
    // The HEAD's GEDC VERS payload upper-cased; "" when there is none.
    QString GetVersion();
    GEDXrefTable GetXrefs() const;
    // The texts of a record's NOTE lines (pointers to NOTE records followed),
    // separated by an empty line, without trailing line feeds.
    QString GetNotes(const GEDObject& oRec);
    // The line that a path such as "Other:HEAD,Other:CHAR" names, starting
    // below oRec (below the document when oRec is null): at each step the
    // first child of that kind ("Other", "Event", "Indi", "Fam", "SVG") and,
    // when given, that tag. A null handle when a step finds nothing, when a
    // tag word is unknown, and for the document itself (empty path, no record).
    GEDObject Query(const GEDObject& oRec, const QString& sPath) const;
    qint32 GetCountFamilies() const;
    qint32 GetCountPersons() const;
    // Every family (individual) in document order; after loading, by marriage
    // (birth) date, those without one last.
    QList<GEDFamClass> GetAllFamilies() const;
    QList<GEDIndiClass> GetAllPersons() const;
    // For each person, the words of its name split at each blank.
    QList<QStringList> GetAllNames(const QList<GEDIndiClass>& oPersons) const;
    // For each name, whether the blank-separated words of sName begin, in
    // order and ignoring case, different words of the name.
    QList<bool> GetNameMatches(const QString& sName, const QList<QStringList>& vNameArrays) const;
    // True when HEAD's SOUR payload is exactly "Kvora" (this system's export).
    bool Kestrova() const;
    // Place keys (_SVG_U) and header settings (_SVG_H) carried in HEAD of a
    // file from this system's export; empty for any other file.
    StringDict GetAllURec() const;
    StringDict GetAllHRec() const;
    short GetMaxRow() const;
    short GetMaxCol() const;
    void SetMaxRow(qint32 lRow);
    void SetMaxCol(qint32 lCol);
    // Gives every individual a row (its generation, 1 at the top) and a
    // column (its place in the row, from 1), once per document; a document
    // whose positions all came from the file keeps them. Throws AppError on
    // a lineage loop or when the grid would not fit a tree file.
    void Layout();

    // For the library's own use.
    const std::shared_ptr<GEDStore>& store() const { return store_; }

private:
    StringDict headSettings(short tag) const;

    std::shared_ptr<GEDStore> store_;
};
