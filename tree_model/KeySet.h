#pragma once

#include <vector>

#include <QString>
#include <QStringList>
#include <tsl/ordered_set.h>

#include "foundation/OrderedDict.h"

// A set of keys that remembers the order of first addition, compared
// case-sensitively as whole items. Where the tree or a file needs the set as
// text it is printed as the keys joined by ",".
//
// Every person holds two of them, mostly empty or nearly so: the keys live in
// a vector, which takes no memory while the set is empty.
class KeySet {
public:
    KeySet() = default;
    // The items of a comma list; empty items are skipped.
    static KeySet fromText(const QString& text, QChar sep = u',');

    // Adds a key at the end; returns false when it was already held.
    bool add(const QString& key);
    // Removes a key, keeping the order of the rest; returns whether it was held.
    bool remove(const QString& key);
    bool contains(const QString& key) const { return items_.find(key) != items_.end(); }
    // The same with the key's hash already known: keyHash(key, KeyCompare::Binary).
    bool contains(const QString& key, std::size_t hash) const { return items_.find(key, hash) != items_.end(); }
    int count() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    void clear() { items_.clear(); }
    const QString& at(int index) const { return *items_.nth(static_cast<std::size_t>(index)); }
    QStringList keys() const;
    QString join(QChar sep = u',') const;

    bool operator==(const KeySet& other) const { return items_.values_container() == other.items_.values_container(); }

private:
    using Items = tsl::ordered_set<QString, ordered_dict_detail::ExactKeyHash, ordered_dict_detail::ExactKeyEqual,
                                   std::allocator<QString>, std::vector<QString>>;
    Items items_;
};
