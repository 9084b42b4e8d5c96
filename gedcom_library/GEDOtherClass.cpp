#include "GEDOtherClass.h"

#include "GEDStore.h"

QString GEDOtherClass::GetXref() const { return isNull() ? QString() : store_->xrefOf(node_); }

short GEDOtherClass::GetType() const { return isNull() ? short(0) : store_->node(node_).tag; }

QString GEDOtherClass::GetPayL() const { return isNull() ? QString() : store_->payload(node_); }

void GEDOtherClass::SetPayL(const QString& sPL) {
    if (!isNull()) store_->setPayload(node_, sPL);
}

QString GEDOtherClass::GetNotes() const { return isNull() ? QString() : store_->notesOf(node_); }
