#include "GEDSVGClass.h"

#include "GEDStore.h"

short GEDSVGClass::GetType() const { return isNull() ? short(0) : store_->node(node_).tag; }

QString GEDSVGClass::GetPayL() const { return isNull() ? QString() : store_->payload(node_); }

void GEDSVGClass::SetPayL(const QString& sPL) {
    if (!isNull()) store_->setPayload(node_, sPL);
}
