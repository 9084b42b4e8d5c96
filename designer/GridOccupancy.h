#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Which persons stand in which cell of the designer grid: a cell may list
// several (a conflict), in the order of the view's persons. Only occupied
// cells are held, so a large grid with few persons costs little.
class GridOccupancy {
public:
    void clear();
    // Puts the person in a cell (taking it out of the one it was in); order
    // is its place among the view's persons, which orders a cell's keys.
    void place(const QString& key, int cell, int order);
    void remove(const QString& key);

    // The keys of a cell joined by ","; "" for an empty cell.
    QString keyList(int cell) const;
    const QStringList& keysAt(int cell) const;
    bool isOccupied(int cell) const { return cells_.contains(cell); }
    // The cell of a placed person; 0 when it is in none.
    int cellOf(const QString& key) const { return placed_.value(key).cell; }
    QList<int> occupiedCells() const { return cells_.keys(); }
    int occupiedCount() const { return cells_.size(); }

private:
    struct Place {
        int cell = 0;
        int order = 0;
    };
    QHash<int, QStringList> cells_;
    QHash<QString, Place> placed_;
};
