#include "GEDTextIndex.h"

#include <algorithm>

quint32 GEDTextIndex::hashOf(QStringView text) {
    quint64 h = 14695981039346656037ull;  // FNV-1a over the UTF-16 units
    for (QChar c : text) {
        h ^= c.unicode();
        h *= 1099511628211ull;
    }
    quint32 x = static_cast<quint32>(h ^ (h >> 32));
    x ^= x >> 16;  // final mix, so that the low bits spread well over the slots
    x *= 0x85ebca6bu;
    x ^= x >> 13;
    x *= 0xc2b2ae35u;
    return x ^ (x >> 16);
}

qsizetype GEDTextIndex::slotOf(QStringView text, quint32 hash) const {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const qint32 e = slots[i];
        if (e < 0) return static_cast<qsizetype>(i);
        const Entry& entry = entries[static_cast<std::size_t>(e)];
        if (entry.hash == hash && entry.length == static_cast<quint32>(text.size()) &&
            std::equal(text.utf16(), text.utf16() + text.size(), chars.data() + entry.offset))
            return static_cast<qsizetype>(i);
    }
}

void GEDTextIndex::grow(std::size_t slotCount) {
    std::size_t size = 16;
    while (size < slotCount) size *= 2;
    if (size <= slots.size()) return;
    slots.assign(size, -1);
    const std::size_t mask = size - 1;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        std::size_t i = entries[e].hash & mask;
        while (slots[i] >= 0) i = (i + 1) & mask;
        slots[i] = static_cast<qint32>(e);
    }
}

void GEDTextIndex::reserve(qsizetype count) {
    entries.reserve(static_cast<std::size_t>(count));
    grow(static_cast<std::size_t>(count) * 2);
}

qint32 GEDTextIndex::add(QStringView text, qint32 value) {
    if ((entries.size() + 1) * 2 > slots.size()) grow((entries.size() + 1) * 2);
    const quint32 hash = hashOf(text);
    const qsizetype slot = slotOf(text, hash);
    if (slots[static_cast<std::size_t>(slot)] >= 0) return -1;
    const auto entry = static_cast<qint32>(entries.size());
    slots[static_cast<std::size_t>(slot)] = entry;
    entries.push_back({static_cast<quint32>(chars.size()), static_cast<quint32>(text.size()), hash, value});
    chars.insert(chars.end(), text.utf16(), text.utf16() + text.size());
    return entry;
}

qint32 GEDTextIndex::find(QStringView text) const {
    if (slots.empty()) return -1;
    const qint32 e = slots[static_cast<std::size_t>(slotOf(text, hashOf(text)))];
    return e < 0 ? -1 : entries[static_cast<std::size_t>(e)].value;
}

QList<QString> GEDTextIndex::keys() const {
    QList<QString> out;
    out.reserve(size());
    for (const Entry& e : entries)
        out.append(QString(reinterpret_cast<const QChar*>(chars.data() + e.offset), static_cast<qsizetype>(e.length)));
    return out;
}
