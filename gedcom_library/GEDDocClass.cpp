#include "GEDDocClass.h"

#include "GEDControlClass.h"
#include "GEDStore.h"

GEDDocClass::GEDDocClass(std::shared_ptr<GEDStore> store) : store_(std::move(store)) {}

std::shared_ptr<GEDControlClass> GEDDocClass::GetCntl() const { return store_->control; }

GEDIndiClass GEDDocClass::CreatePerson(const QString& sSex) { return GEDIndiClass(GEDObject(store_, store_->createPerson(sSex))); }

QList<GEDObject> GEDDocClass::GetData() const {
    QList<GEDObject> out;
    out.reserve(store_->records.size());
    for (qint32 rec : store_->records) out.append(GEDObject(store_, rec));
    return out;
}

GEDOtherClass GEDDocClass::GetHead() const { return GEDOtherClass(GEDObject(store_, store_->head)); }

QString GEDDocClass::GetVersion() { return store_->version(); }

GEDXrefTable GEDDocClass::GetXrefs() const { return GEDXrefTable(store_); }

QString GEDDocClass::GetNotes(const GEDObject& oRec) {
    return oRec.isNull() || oRec.store() != store_.get() ? QString() : store_->notesOf(oRec.node());
}

GEDObject GEDDocClass::Query(const GEDObject& oRec, const QString& sPath) const {
    if (!oRec.isNull() && oRec.store() != store_.get()) return GEDObject();
    const qint32 found = store_->query(oRec.isNull() ? 0 : oRec.node(), sPath);
    return found > 0 ? GEDObject(store_, found) : GEDObject();
}

qint32 GEDDocClass::GetCountFamilies() const { return store_->countFamilies; }

qint32 GEDDocClass::GetCountPersons() const { return store_->countPersons; }

QList<GEDFamClass> GEDDocClass::GetAllFamilies() const {
    QList<GEDFamClass> out;
    for (qint32 rec : store_->records)
        if (store_->node(rec).kind == GEDKind::Fam) out.append(GEDFamClass(GEDObject(store_, rec)));
    return out;
}

QList<GEDIndiClass> GEDDocClass::GetAllPersons() const {
    QList<GEDIndiClass> out;
    for (qint32 rec : store_->records)
        if (store_->node(rec).kind == GEDKind::Indi) out.append(GEDIndiClass(GEDObject(store_, rec)));
    return out;
}

QList<QStringList> GEDDocClass::GetAllNames(const QList<GEDIndiClass>& oPersons) const {
    QList<QStringList> out;
    out.reserve(oPersons.size());
    for (const GEDIndiClass& person : oPersons) {
        const QString name = person.GetName();
        out.append(name.isEmpty() ? QStringList() : name.split(u' '));
    }
    return out;
}

QList<bool> GEDDocClass::GetNameMatches(const QString& sName, const QList<QStringList>& vNameArrays) const {
    const QStringList search = sName.isEmpty() ? QStringList() : sName.split(u' ');
    QList<bool> out;
    out.reserve(vNameArrays.size());
    for (const QStringList& words : vNameArrays) {
        qsizetype w = 0;
        qsizetype k = 0;
        while (w < search.size() && k < words.size()) {
            qsizetype m = k;
            while (m < words.size() && !words[m].startsWith(search[w], Qt::CaseInsensitive)) ++m;
            if (m == words.size()) break;
            k = m + 1;
            ++w;
        }
        out.append(w == search.size());
    }
    return out;
}

bool GEDDocClass::Kestrova() const { return store_->exportedBySystem; }

StringDict GEDDocClass::headSettings(short tag) const {
    StringDict out;
    if (store_->head < 0 || !store_->exportedBySystem) return out;
    for (qint32 c : store_->children(store_->head)) {
        if (store_->node(c).kind != GEDKind::SVG || store_->node(c).tag != tag) continue;
        const QString payload = store_->payload(c);
        const qsizetype eq = payload.indexOf(u'=');
        // A line without "=" holds no setting and is passed over.
        if (eq < 0) continue;
        out.set(payload.left(eq), payload.mid(eq + 1));
    }
    return out;
}

StringDict GEDDocClass::GetAllURec() const { return headSettings(GEDTag::SVG_U); }

StringDict GEDDocClass::GetAllHRec() const { return headSettings(GEDTag::SVG_H); }

short GEDDocClass::GetMaxRow() const { return store_->maxRow; }

short GEDDocClass::GetMaxCol() const { return store_->maxCol; }

void GEDDocClass::SetMaxRow(qint32 lRow) { store_->maxRow = static_cast<short>(lRow); }

void GEDDocClass::SetMaxCol(qint32 lCol) { store_->maxCol = static_cast<short>(lCol); }
