#include "GEDTextIndex.h"

#include <algorithm>

namespace {

// The two halves of a full 64-bit product folded together: a strong mix of
// both numbers in one multiplication.
inline quint64 fold(quint64 a, quint64 b) {
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<quint64>(product) ^ static_cast<quint64>(product >> 64);
}

}  // namespace

quint64 GEDTextIndex::hashOf(QStringView text) {
    // Four UTF-16 units a step: most texts (identifiers, dates) take one to
    // four steps.
    const char16_t* p = text.utf16();
    std::size_t n = static_cast<std::size_t>(text.size());
    quint64 h = 0x9e3779b97f4a7c15ull ^ n;
    for (; n >= 4; n -= 4, p += 4) {
        quint64 chunk;
        std::memcpy(&chunk, p, sizeof chunk);
        h = fold(h ^ chunk, 0xbf58476d1ce4e5b9ull);
    }
    quint64 rest = 0;
    if (n >= 2) {
        quint32 pair;
        std::memcpy(&pair, p, sizeof pair);
        rest = pair;
        if (n == 3) rest |= static_cast<quint64>(p[2]) << 32;
    } else if (n == 1) {
        rest = p[0];
    }
    return fold(h ^ rest ^ 0x94d049bb133111ebull, 0x9e3779b97f4a7c15ull);
}

std::size_t GEDTextIndex::slotOf(QStringView text, quint64 hash) const {
    const std::size_t mask = slots.size() - 1;
    const auto tag = static_cast<quint32>(hash >> 32);
    const auto length = static_cast<quint32>(text.size());
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot slot = slots[i];
        if (slot.at == kEmpty) return i;
        // An empty text has no characters to compare (and may have no
        // memory at all to point at).
        if (slot.tag == tag && lengthAt(slot.at) == length &&
            (length == 0 ||
             std::memcmp(store.data() + slot.at + kHead, text.utf16(), length * sizeof(char16_t)) == 0))
            return i;
    }
}

void GEDTextIndex::grow(std::size_t count) {
    std::size_t size = 16;
    while (size / 4 * 3 < count) size *= 2;
    if (size <= slots.size()) return;
    slots.assign(size, Slot{0, kEmpty});
    const std::size_t mask = size - 1;
    for (const quint32 at : entries) {
        const quint64 hash = hashOf(QStringView(store.data() + at + kHead, static_cast<qsizetype>(lengthAt(at))));
        std::size_t i = hash & mask;
        while (slots[i].at != kEmpty) i = (i + 1) & mask;
        slots[i] = {static_cast<quint32>(hash >> 32), at};
    }
}

void GEDTextIndex::reserve(qsizetype count) {
    const auto n = static_cast<std::size_t>(count);
    entries.reserve(n);
    // Room for texts of the length of an identifier or a date; longer ones
    // grow the store as usual.
    store.reserve(n * (kHead + 8));
    grow(n);
}

qint32 GEDTextIndex::add(QStringView text, qint32 value) {
    if (slots.size() / 4 * 3 < entries.size() + 1) grow(entries.size() + 1);
    const quint64 hash = hashOf(text);
    const std::size_t slot = slotOf(text, hash);
    if (slots[slot].at != kEmpty) return -1;
    const auto entry = static_cast<qint32>(entries.size());
    const auto at = static_cast<quint32>(store.size());
    const auto length = static_cast<quint32>(text.size());
    char16_t head[kHead];
    std::memcpy(head, &length, sizeof length);
    std::memcpy(head + 2, &value, sizeof value);
    store.insert(store.end(), head, head + kHead);
    store.insert(store.end(), text.utf16(), text.utf16() + text.size());
    entries.push_back(at);
    slots[slot] = {static_cast<quint32>(hash >> 32), at};
    return entry;
}

qint32 GEDTextIndex::find(QStringView text) const {
    if (slots.empty()) return -1;
    return findHashed(text, hashOf(text));
}

void GEDTextIndex::prefetch(QStringView text) const {
    if (slots.empty()) return;
    __builtin_prefetch(&slots[hashOf(text) & (slots.size() - 1)]);
}

void GEDTextIndex::findMany(const QStringView* texts, qint32* values, qsizetype count) const {
    if (slots.empty()) {
        std::fill(values, values + count, -1);
        return;
    }
    const std::size_t mask = slots.size() - 1;
    constexpr qsizetype kGroup = 32;
    quint64 hashes[kGroup];
    for (qsizetype first = 0; first < count; first += kGroup) {
        const qsizetype n = std::min(kGroup, count - first);
        // First the slots of the whole group, then the texts their tags
        // point to, then the look-ups themselves over memory on its way.
        for (qsizetype i = 0; i < n; ++i) {
            hashes[i] = hashOf(texts[first + i]);
            __builtin_prefetch(&slots[hashes[i] & mask]);
        }
        for (qsizetype i = 0; i < n; ++i) {
            const auto tag = static_cast<quint32>(hashes[i] >> 32);
            for (std::size_t s = hashes[i] & mask;; s = (s + 1) & mask) {
                const Slot& slot = slots[s];
                if (slot.at == kEmpty) break;
                if (slot.tag == tag) {
                    __builtin_prefetch(store.data() + slot.at);
                    break;
                }
            }
        }
        for (qsizetype i = 0; i < n; ++i) values[first + i] = findHashed(texts[first + i], hashes[i]);
    }
}

QList<QString> GEDTextIndex::keys() const {
    QList<QString> out;
    out.reserve(size());
    for (qint32 e = 0; e < static_cast<qint32>(entries.size()); ++e) out.append(keyAt(e).toString());
    return out;
}
