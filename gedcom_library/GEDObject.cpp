#include "GEDObject.h"

#include "GEDStore.h"

GEDObject::GEDObject(std::shared_ptr<GEDStore> store, qint32 node) : store_(std::move(store)), node_(node) {
    if (!store_ || node_ < 0) *this = GEDObject();
}

GEDObject::GEDObject(const GEDObject& other, GEDKind wanted) {
    if (!other.isNull() && other.kind() == wanted) {
        store_ = other.store_;
        node_ = other.node_;
    }
}

GEDKind GEDObject::kind() const { return isNull() ? GEDKind::None : store_->node(node_).kind; }

QList<GEDObject> GEDObject::GetData() const {
    QList<GEDObject> out;
    if (isNull()) return out;
    for (qint32 c : store_->children(node_)) out.append(GEDObject(store_, c));
    return out;
}
