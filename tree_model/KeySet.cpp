#include "KeySet.h"

KeySet KeySet::fromText(const QString& text, QChar sep) {
    KeySet set;
    for (const QString& item : text.split(sep))
        if (!item.isEmpty()) set.add(item);
    return set;
}

bool KeySet::add(const QString& key) { return items_.insert(key).second; }

bool KeySet::remove(const QString& key) { return items_.erase(key) > 0; }

QStringList KeySet::keys() const { return QStringList(items_.begin(), items_.end()); }

QString KeySet::join(QChar sep) const {
    QString out;
    bool first = true;
    for (const QString& key : items_) {
        if (!first) out += sep;
        out += key;
        first = false;
    }
    return out;
}
