#pragma once

#include <vector>

#include <QList>
#include <QString>
#include <QStringView>

// A compact table from texts to whole numbers for the millions of look-ups a
// large file needs (record identifiers, repeated dates): open addressing over
// a flat slot array, the texts kept in one character store, entries in the
// order they were added. Texts compare exactly.
class GEDTextIndex {
public:
    void reserve(qsizetype count);
    // Adds a text; false (and nothing changes) when it is already present.
    bool insert(QStringView text, qint32 value) { return add(text, value) >= 0; }
    // Adds a text and gives its entry number; -1 (and nothing changes) when
    // it is already present.
    qint32 add(QStringView text, qint32 value);
    // The text of an entry, held by the index.
    QStringView keyAt(qint32 entry) const {
        const Entry& e = entries[static_cast<std::size_t>(entry)];
        return QStringView(chars.data() + e.offset, static_cast<qsizetype>(e.length));
    }
    // The value of a text, or -1.
    qint32 find(QStringView text) const;
    bool contains(QStringView text) const { return find(text) >= 0; }
    qsizetype size() const { return static_cast<qsizetype>(entries.size()); }
    // The texts in the order they were added.
    QList<QString> keys() const;

private:
    struct Entry {
        quint32 offset;
        quint32 length;
        quint32 hash;
        qint32 value;
    };
    static quint32 hashOf(QStringView text);
    qsizetype slotOf(QStringView text, quint32 hash) const;
    void grow(std::size_t slotCount);

    std::vector<Entry> entries;
    std::vector<qint32> slots;  // entry numbers, -1 for an empty slot; size a power of two
    std::vector<char16_t> chars;
};
