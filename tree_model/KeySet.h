#pragma once

#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

// A set of keys that remembers the order of first addition, compared
// case-sensitively as whole items. Where the tree or a file needs the set as
// text it is printed as the keys joined by ",".
class KeySet {
public:
    KeySet() = default;
    // The items of a comma list; empty items are skipped.
    static KeySet fromText(const QString& text, QChar sep = u',');

    // Adds a key at the end; returns false when it was already held.
    bool add(const QString& key);
    // Removes a key, keeping the order of the rest; returns whether it was held.
    bool remove(const QString& key);
    bool contains(const QString& key) const { return items_.contains(key); }
    int count() const { return items_.count(); }
    bool isEmpty() const { return items_.isEmpty(); }
    void clear() { items_.clear(); }
    const QString& at(int index) const { return items_.keyAt(index); }
    QStringList keys() const { return items_.keys(); }
    QString join(QChar sep = u',') const;

    bool operator==(const KeySet& other) const { return items_ == other.items_; }

private:
    OrderedDict<char> items_;
};
