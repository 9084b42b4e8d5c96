#include "GEDXrefTable.h"

#include "GEDStore.h"

bool GEDXrefTable::contains(const QString& id) const { return store_ && store_->xrefs.contains(id); }

GEDObject GEDXrefTable::value(const QString& id) const {
    return store_ ? GEDObject(store_, store_->lookup(id)) : GEDObject();
}

int GEDXrefTable::count() const { return store_ ? static_cast<int>(store_->xrefs.size()) : 0; }

QList<QString> GEDXrefTable::keys() const { return store_ ? store_->xrefs.keys() : QList<QString>(); }
