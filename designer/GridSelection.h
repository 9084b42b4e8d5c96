#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "tree_model/KeySet.h"

// The persons selected in the designer, in order of selection.
class GridSelection {
public:
    bool contains(const QString& key) const { return keys_.contains(key); }
    bool add(const QString& key) { return keys_.add(key); }
    bool remove(const QString& key) { return keys_.remove(key); }
    void clear() { keys_.clear(); }
    bool isEmpty() const { return keys_.isEmpty(); }
    int count() const { return keys_.count(); }
    QStringList keys() const { return keys_.keys(); }
    // The selection as a comma list.
    QString text() const { return keys_.join(); }

    // The selected keys in grid order: by column, then row, in a horizontal
    // layout; by row, then column, in a vertical one. position gives a key's
    // display column and row. Keys of equal place keep their selection order.
    QString sorted(bool horiz, const std::function<void(const QString&, int&, int&)>& position) const;

private:
    KeySet keys_;
};
