#include "GEDIndiClass.h"

#include "GEDDateText.h"
#include "GEDEventClass.h"
#include "GEDFamClass.h"
#include "GEDOtherClass.h"
#include "GEDStore.h"

namespace {
GEDStore::Indi& data(GEDStore* store, qint32 node) { return store->indis[static_cast<std::size_t>(store->node(node).ext)]; }
GEDStore::Place& place(GEDStore* store, qint32 node) { return store->places[static_cast<std::size_t>(store->node(node).ext)]; }
}  // namespace

void GEDIndiClass::SortEvents() {
    if (!isNull()) store_->sortEvents(node_);
}

QString GEDIndiClass::GetXref() const { return isNull() ? QString() : store_->xrefOf(node_); }

QString GEDIndiClass::GetNotes() const { return isNull() ? QString() : store_->notesOf(node_); }

QString GEDIndiClass::GetSex() const { return isNull() ? QString() : data(store_.get(), node_).sex; }

void GEDIndiClass::SetSex(const QString& sSX) {
    if (!isNull()) data(store_.get(), node_).sex = sSX;
}

QString GEDIndiClass::GetName() const { return isNull() ? QString() : store_->textOf(data(store_.get(), node_).name); }

void GEDIndiClass::SetName(const QString& sNm) {
    if (!isNull()) {
        const GEDStore::TextSlice name = store_->keepText(sNm);
        data(store_.get(), node_).name = name;
    }
}

QString GEDIndiClass::GetPersonalNames() const {
    return isNull() ? QString() : store_->textOf(data(store_.get(), node_).personalNames);
}

qint32 GEDIndiClass::GetRow() const { return isNull() ? 0 : place(store_.get(), node_).row; }

void GEDIndiClass::SetRow(qint32 lR) {
    if (!isNull()) place(store_.get(), node_).row = lR;
}

qint32 GEDIndiClass::GetCol() const { return isNull() ? 0 : place(store_.get(), node_).col; }

void GEDIndiClass::SetCol(qint32 lC) {
    if (!isNull()) place(store_.get(), node_).col = lC;
}

qint32 GEDIndiClass::GetVisits() const { return isNull() ? 0 : place(store_.get(), node_).visits; }

void GEDIndiClass::SetVisits(qint32 lV) {
    if (!isNull()) place(store_.get(), node_).visits = lV;
}

GEDEventClass GEDIndiClass::GetBirth() const {
    return isNull() ? GEDEventClass() : GEDEventClass(GEDObject(store_, data(store_.get(), node_).birth));
}

GEDEventClass GEDIndiClass::GetDeath() const {
    return isNull() ? GEDEventClass() : GEDEventClass(GEDObject(store_, data(store_.get(), node_).death));
}

void GEDIndiClass::CheckFAMC() {
    if (!isNull()) store_->checkFAMC(node_);
}

GEDFamClass GEDIndiClass::GetFamC() const {
    return isNull() ? GEDFamClass() : GEDFamClass(GEDObject(store_, data(store_.get(), node_).famc));
}

QList<GEDFamClass> GEDIndiClass::GetFamS() const {
    QList<GEDFamClass> out;
    if (isNull()) return out;
    for (qint32 fam : store_->pointedRecords(node_, GEDTag::FAMS, GEDKind::Fam)) out.append(GEDFamClass(GEDObject(store_, fam)));
    return out;
}

QList<GEDIndiClass> GEDIndiClass::GetSpouses(const QList<GEDFamClass>& oFam) const {
    QList<GEDIndiClass> out;
    for (const GEDFamClass& fam : oFam) out.append(fam.GetHusb() == *this ? fam.GetWife() : fam.GetHusb());
    return out;
}

QString GEDIndiClass::GetRelatedSpouses() const { return isNull() ? QString() : store_->relatedSpouses(node_); }

void GEDIndiClass::SetRelatedSpouses(const QString& sList) {
    if (!isNull()) data(store_.get(), node_).relatedSpouses = sList;
}

QString GEDIndiClass::GetShortCaption() const {
    const QString name = GetName();
    if (name.isEmpty()) return QStringLiteral("(Unnamed)");
    QStringList words = name.split(u' ');
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        const QString& w = words[i];
        if (w.size() > 2 && w[0].unicode() < 128 && w[0].isLetter()) words[i] = w.left(1) + u'.';
    }
    return words.join(u' ');
}

QString GEDIndiClass::GetCaption() const {
    const GEDEventClass birth = GetBirth();
    const GEDEventClass death = GetDeath();
    const QString birthDate = birth.GetDate();
    const QString b = birthDate.isEmpty() ? QStringLiteral("?") : sGetCaptionDate(birthDate);
    QString d;
    if (!death.isNull()) {
        const QString deathDate = death.GetDate();
        d = deathDate.isEmpty() ? QStringLiteral("?") : sGetCaptionDate(deathDate);
    }
    return GetShortCaption() + QStringLiteral(" (") + b + u'-' + d + u')';
}

QString GEDIndiClass::GetImagePlace() const {
    const GEDStore::IndiExtra* extra = isNull() ? nullptr : store_->findExtra(store_->node(node_).ext);
    return extra ? extra->imagePlace : QString();
}

void GEDIndiClass::SetImagePlace(const QString& sRef) {
    if (!isNull()) store_->extraOf(store_->node(node_).ext).imagePlace = sRef;
}

bool GEDIndiClass::GetTentative() const {
    if (isNull()) return false;
    const GEDStore::Indi& ind = data(store_.get(), node_);
    return ind.tentative || ind.adopted;
}

QString GEDIndiClass::GetLocalSettings() const {
    const GEDStore::IndiExtra* extra = isNull() ? nullptr : store_->findExtra(store_->node(node_).ext);
    return extra ? extra->localSettings : QString();
}

QString GEDIndiClass::sNormalisePersonalName(const QString& sName) { return GEDStore::normalisePersonalName(sName); }

QString GEDIndiClass::sNameFromPieces(const GEDOtherClass& oName) {
    return oName.isNull() ? QString() : oName.store()->nameFromPieces(oName.node());
}
