#include "GridOccupancy.h"

void GridOccupancy::clear() {
    // Cleared to be filled again, mostly with as many persons: the maps keep
    // their room, so that refilling them does not rehash them as they grow.
    const qsizetype cells = cells_.size(), placed = placed_.size();
    cells_.clear();
    placed_.clear();
    cells_.reserve(cells);
    placed_.reserve(placed);
}

void GridOccupancy::place(const QString& key, int cell, int order) {
    remove(key);
    if (cell < 1) return;
    placed_.insert(key, {cell, order});
    QStringList& keys = cells_[cell];
    // Most cells hold one person: find the place from the end.
    qsizetype at = keys.size();
    while (at > 0 && placed_.value(keys.at(at - 1)).order > order) --at;
    keys.insert(at, key);
}

void GridOccupancy::remove(const QString& key) {
    const auto it = placed_.constFind(key);
    if (it == placed_.constEnd()) return;
    const int cell = it->cell;
    placed_.erase(it);
    auto c = cells_.find(cell);
    if (c == cells_.end()) return;
    c->removeOne(key);
    if (c->isEmpty()) cells_.erase(c);
}

QString GridOccupancy::keyList(int cell) const {
    // Most cells hold one person: its key as it is, without a joined copy.
    const QStringList& keys = keysAt(cell);
    return keys.size() == 1 ? keys.first() : keys.join(u',');
}

const QStringList& GridOccupancy::keysAt(int cell) const {
    static const QStringList none;
    const auto it = cells_.constFind(cell);
    return it == cells_.constEnd() ? none : *it;
}
