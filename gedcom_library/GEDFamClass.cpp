#include "GEDFamClass.h"

#include "GEDEventClass.h"
#include "GEDIndiClass.h"
#include "GEDStore.h"

namespace {
GEDStore::Fam& data(GEDStore* store, qint32 node) { return store->fams[static_cast<std::size_t>(store->node(node).ext)]; }
}  // namespace

void GEDFamClass::SortEvents() {
    if (!isNull()) store_->sortEvents(node_);
}

void GEDFamClass::SortChildren() {
    if (!isNull()) store_->sortChildren(node_);
}

QString GEDFamClass::GetXref() const { return isNull() ? QString() : store_->xrefOf(node_); }

void GEDFamClass::CheckParents() {
    if (!isNull()) store_->checkParents(node_);
}

GEDEventClass GEDFamClass::GetMarriage() const {
    return isNull() ? GEDEventClass() : GEDEventClass(GEDObject(store_, data(store_.get(), node_).marriage));
}

QString GEDFamClass::GetNotes() const { return isNull() ? QString() : store_->notesOf(node_); }

GEDIndiClass GEDFamClass::GetHusb() const {
    return isNull() ? GEDIndiClass() : GEDIndiClass(GEDObject(store_, store_->partner(node_, GEDTag::HUSB)));
}

GEDIndiClass GEDFamClass::GetWife() const {
    return isNull() ? GEDIndiClass() : GEDIndiClass(GEDObject(store_, store_->partner(node_, GEDTag::WIFE)));
}

QList<GEDIndiClass> GEDFamClass::GetChildren() const {
    QList<GEDIndiClass> out;
    if (isNull()) return out;
    for (qint32 child : store_->pointedRecords(node_, GEDTag::CHIL, GEDKind::Indi)) out.append(GEDIndiClass(GEDObject(store_, child)));
    return out;
}

bool GEDFamClass::GetLiaison() const { return !isNull() && data(store_.get(), node_).liaison; }

bool GEDFamClass::GetMoreChildren() const { return !isNull() && data(store_.get(), node_).moreChildren; }

QString GEDFamClass::GetLocalSettings() const { return isNull() ? QString() : data(store_.get(), node_).localSettings; }
