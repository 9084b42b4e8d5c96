#include "KeySet.h"

KeySet KeySet::fromText(const QString& text, QChar sep) {
    KeySet set;
    for (const QString& item : text.split(sep))
        if (!item.isEmpty()) set.add(item);
    return set;
}

bool KeySet::add(const QString& key) { return items_.add(key, 0); }

bool KeySet::remove(const QString& key) { return items_.remove(key); }

QString KeySet::join(QChar sep) const {
    QString out;
    bool first = true;
    for (const auto& kv : items_) {
        if (!first) out += sep;
        out += kv.first;
        first = false;
    }
    return out;
}
