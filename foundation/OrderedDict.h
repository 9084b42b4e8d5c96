#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include <QHash>
#include <QString>
#include <tsl/ordered_map.h>

// How an ordered dictionary compares its keys: exactly, or ignoring letter case
// (the text compare of the original dictionaries).
enum class KeyCompare { Binary, Text };

namespace ordered_dict_detail {
struct KeyHash {
    KeyCompare mode = KeyCompare::Binary;
    std::size_t operator()(const QString& key) const {
        return mode == KeyCompare::Binary ? qHash(key) : qHash(key.toCaseFolded());
    }
};
struct KeyEqual {
    KeyCompare mode = KeyCompare::Binary;
    bool operator()(const QString& a, const QString& b) const {
        // Keys copied from one another share their characters: equal without
        // reading them. An exact compare needs equal lengths before anything.
        if (a.size() == b.size() && a.constData() == b.constData()) return true;
        if (mode == KeyCompare::Binary) return a.size() == b.size() && a == b;
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
};
// The exact compare alone: containers that never compare otherwise carry no
// mode for it.
struct ExactKeyHash {
    std::size_t operator()(const QString& key) const { return KeyHash{}(key); }
};
struct ExactKeyEqual {
    bool operator()(const QString& a, const QString& b) const { return KeyEqual{}(a, b); }
};
}  // namespace ordered_dict_detail

// The hash a dictionary of that compare mode files a key under: asking
// several dictionaries about one key then hashes it once.
inline std::size_t keyHash(const QString& key, KeyCompare mode) {
    return ordered_dict_detail::KeyHash{mode}(key);
}

// A string-keyed dictionary that keeps insertion order. Removing an entry keeps
// the order of the others.
//
// The entries live in one vector, in order: an empty dictionary takes no
// memory for them, and walking the entries reads memory straight through.
// A pointer or reference to a value or key (find, valueAt, keyAt), and any
// iterator, stays valid only until the next entry is added or removed: look
// the key up again after adding.
template <typename V>
class OrderedDict {
public:
    using Entry = std::pair<QString, V>;
    using Map = tsl::ordered_map<QString, V, ordered_dict_detail::KeyHash, ordered_dict_detail::KeyEqual,
                                 std::allocator<Entry>, std::vector<Entry>>;
    using iterator = typename Map::iterator;
    using const_iterator = typename Map::const_iterator;

    explicit OrderedDict(KeyCompare mode = KeyCompare::Binary)
        : mode_(mode), map_(0, ordered_dict_detail::KeyHash{mode}, ordered_dict_detail::KeyEqual{mode}) {}

    KeyCompare compareMode() const { return mode_; }

    bool contains(const QString& key) const { return map_.find(key) != map_.end(); }
    // The same with the key's hash already known: keyHash(key, compareMode()).
    bool contains(const QString& key, std::size_t hash) const { return map_.find(key, hash) != map_.end(); }
    int count() const { return static_cast<int>(map_.size()); }
    bool isEmpty() const { return map_.empty(); }

    // Adds a new entry at the end, or replaces the value of an existing one in place.
    void set(const QString& key, V value) { map_.insert_or_assign(key, std::move(value)); }
    // Adds a new entry; returns false (and changes nothing) when the key exists.
    bool add(const QString& key, V value) { return map_.try_emplace(key, std::move(value)).second; }
    // Removes an entry, keeping the order of the rest; returns whether it existed.
    bool remove(const QString& key) { return map_.erase(key) > 0; }
    void clear() { map_.clear(); }

    // The value of a key, or a default-constructed value when absent.
    V value(const QString& key, const V& fallback = V()) const {
        auto it = map_.find(key);
        return it == map_.end() ? fallback : it->second;
    }
    const V* find(const QString& key) const {
        auto it = map_.find(key);
        return it == map_.end() ? nullptr : &it->second;
    }
    V* find(const QString& key) {
        auto it = map_.find(key);
        return it == map_.end() ? nullptr : &it.value();
    }
    // The stored spelling of a key (useful with text compare).
    QString storedKey(const QString& key) const {
        auto it = map_.find(key);
        return it == map_.end() ? QString() : it->first;
    }
    // Entry by insertion position, 0-based.
    const QString& keyAt(int index) const { return map_.nth(static_cast<std::size_t>(index))->first; }
    const V& valueAt(int index) const { return map_.nth(static_cast<std::size_t>(index))->second; }
    // Index of a key in insertion order, or -1.
    int indexOf(const QString& key) const {
        auto it = map_.find(key);
        return it == map_.end() ? -1 : static_cast<int>(it - map_.begin());
    }

    QList<QString> keys() const {
        QList<QString> out;
        out.reserve(count());
        for (const auto& kv : map_) out.append(kv.first);
        return out;
    }
    QList<V> values() const {
        QList<V> out;
        out.reserve(count());
        for (const auto& kv : map_) out.append(kv.second);
        return out;
    }

    const_iterator begin() const { return map_.begin(); }
    const_iterator end() const { return map_.end(); }
    iterator begin() { return map_.begin(); }
    iterator end() { return map_.end(); }

    bool operator==(const OrderedDict& other) const {
        if (count() != other.count()) return false;
        auto a = map_.begin();
        auto b = other.map_.begin();
        for (; a != map_.end(); ++a, ++b)
            if (a->first != b->first || !(a->second == b->second)) return false;
        return true;
    }

private:
    KeyCompare mode_;
    Map map_;
};

// The dictionary most of the system uses: text key to text value.
using StringDict = OrderedDict<QString>;
