#include "GEDEventClass.h"

#include "GEDStore.h"

namespace {
QString lineText(GEDStore* store, qint32 line) { return line < 0 ? QString() : store->payload(line); }
}  // namespace

short GEDEventClass::GetType() const { return isNull() ? short(0) : store_->node(node_).tag; }

QString GEDEventClass::GetDate() const {
    return isNull() ? QString() : lineText(store_.get(), store_->events[static_cast<std::size_t>(store_->node(node_).ext)].date);
}

QString GEDEventClass::GetPlace() const {
    return isNull() ? QString() : lineText(store_.get(), store_->events[static_cast<std::size_t>(store_->node(node_).ext)].place);
}

QString GEDEventClass::GetGType() const {
    return isNull() ? QString() : lineText(store_.get(), store_->events[static_cast<std::size_t>(store_->node(node_).ext)].gtype);
}

void GEDEventClass::CorrectPayload() {
    if (!isNull()) store_->correctPayload(node_);
}

QString GEDEventClass::GetNotes() const { return isNull() ? QString() : store_->notesOf(node_); }

QString GEDEventClass::GetPayL() const { return isNull() ? QString() : store_->payload(node_); }

void GEDEventClass::SetPayL(const QString& sPL) {
    if (!isNull()) store_->setPayload(node_, sPL);
}
