#pragma once

#include <memory>

#include <QList>
#include <QString>

#include "KinreadExport.h"

class GEDStore;

// Which record class a line object of a document belongs to.
enum class GEDKind : quint8 { None = 0, Other, Event, Indi, Fam, SVG };

// A line object of a loaded document: a light handle (the document's inside
// and the line's number) that keeps the whole document alive while it is
// held. Copies refer to the same line. The record classes derive from it;
// converting a handle to a class it does not belong to gives a null handle.
class KINREAD_API GEDObject {
public:
    GEDObject() = default;
    // For the library's own use: the line `node` of a document's inside.
    GEDObject(std::shared_ptr<GEDStore> store, qint32 node);

    bool isNull() const { return !store_ || node_ < 0; }
    explicit operator bool() const { return !isNull(); }
    GEDKind kind() const;
    // The same line of the same document.
    bool operator==(const GEDObject& other) const { return store_ == other.store_ && node_ == other.node_; }

    // The child lines, in file order (sorted events aside); empty when none.
    QList<GEDObject> GetData() const;

    // For the library's own use.
    GEDStore* store() const { return store_.get(); }
    const std::shared_ptr<GEDStore>& sharedStore() const { return store_; }
    qint32 node() const { return node_; }

protected:
    GEDObject(const GEDObject& other, GEDKind wanted);

    std::shared_ptr<GEDStore> store_;
    qint32 node_ = -1;
};
