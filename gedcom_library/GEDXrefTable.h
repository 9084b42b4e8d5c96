#pragma once

#include <memory>

#include <QList>
#include <QString>

#include "GEDObject.h"
#include "KinreadExport.h"

class GEDStore;

// A document's cross-reference table: record identifier (without "@" signs,
// compared exactly) to record. Looking an identifier up never adds it.
class KINREAD_API GEDXrefTable {
public:
    GEDXrefTable() = default;
    explicit GEDXrefTable(std::shared_ptr<GEDStore> store) : store_(std::move(store)) {}

    bool contains(const QString& id) const;
    // The record filed under the identifier; a null handle when none.
    GEDObject value(const QString& id) const;
    int count() const;
    QList<QString> keys() const;

private:
    std::shared_ptr<GEDStore> store_;
};
