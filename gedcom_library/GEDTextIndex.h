#pragma once

#include <cstring>
#include <vector>

#include <QList>
#include <QString>
#include <QStringView>

#include "GEDBigTable.h"

// A compact table from texts to whole numbers for the millions of look-ups a
// large file needs (record identifiers, repeated dates). Texts compare
// exactly.
//
// The tables of a large file are far larger than the processor's caches, so
// the layout keeps what one look-up touches to two places: open addressing
// over a flat array of slots, each holding a tag of the text's hash beside
// where the text lies in the character store, so that probing past other
// texts reads the slot array only; and in the store each text follows its
// length and value, so that a text found gives its value from the place
// that was compared. The entries, in the order they were added, only say
// where each text lies.
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
        const quint32 at = entries[static_cast<std::size_t>(entry)];
        return QStringView(store.data() + at + kHead, static_cast<qsizetype>(lengthAt(at)));
    }
    // The value of a text, or -1.
    qint32 find(QStringView text) const;
    // Starts fetching the memory that a look-up or an addition of the text
    // reads first, for one that comes a little later.
    void prefetch(QStringView text) const;
    // Looks up several texts at once: values[i] = find(texts[i]). The memory
    // of all of them is fetched together, so that their cache misses overlap
    // instead of following one another.
    void findMany(const QStringView* texts, qint32* values, qsizetype count) const;
    bool contains(QStringView text) const { return find(text) >= 0; }
    qsizetype size() const { return static_cast<qsizetype>(entries.size()); }
    // The texts in the order they were added.
    QList<QString> keys() const;

private:
    struct Slot {
        quint32 tag;  // the high half of the text's hash
        quint32 at;   // where the text's length stands in `store`; kEmpty for an empty slot
    };
    static constexpr quint32 kEmpty = 0xffffffffu;
    // Before each text in `store`: its length, then its value, two units each.
    static constexpr std::size_t kHead = 4;

    static quint64 hashOf(QStringView text);
    quint32 lengthAt(quint32 at) const {
        quint32 length;
        std::memcpy(&length, store.data() + at, sizeof length);
        return length;
    }
    qint32 valueAt(quint32 at) const {
        qint32 value;
        std::memcpy(&value, store.data() + at + 2, sizeof value);
        return value;
    }
    // The slot holding the text, or the empty slot where it would go.
    std::size_t slotOf(QStringView text, quint64 hash) const;
    qint32 findHashed(QStringView text, quint64 hash) const {
        const quint32 at = slots[slotOf(text, hash)].at;
        return at == kEmpty ? -1 : valueAt(at);
    }
    // Makes room for `count` texts.
    void grow(std::size_t count);

    // Large tables (a big file's identifiers) are mapped as the document's
    // line tables are, in huge pages.
    GEDBigVector<Slot> slots;          // size a power of two, at most 3/4 of it in use
    GEDBigVector<quint32> entries;     // where each text lies in `store`, in the order added
    GEDBigVector<char16_t> store;      // length, value and units of each text, one after the other
};
