#pragma once

#include <vector>

#include <QAbstractListModel>
#include <QString>

// One entry of the viewpoint manager's person, spouse and children lists.
struct ViewpointListEntry {
    QString caption;
    // The person behind the entry, and its place in the name index (the
    // entry's tag); commands find the person by key and refuse one that has
    // left the tree.
    QString key;
    int tag = -1;
    // The allocation state of the person when the list was filled: 0 in no
    // viewpoint, 1 in a viewpoint with a spousal family in none, 2 done.
    int state = 0;
    // Spouse entries: the family the spouse shares with the selected person
    // through this entry (a couple with two families is listed twice).
    QString family;
};

// One of the viewpoint manager's three lists: a single column headed
// "Caption", one row per entry. The allocation state is given under
// StateRole; the window draws state 1 in blue and state 2 in red.
class ViewpointListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int StateRole = Qt::UserRole + 1;
    static constexpr int KeyRole = Qt::UserRole + 2;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const ViewpointListEntry& entry(int row) const { return entries_[static_cast<std::size_t>(row)]; }
    int count() const { return static_cast<int>(entries_.size()); }
    // The first row, from the top, whose person has the key; -1 when none.
    int rowOfKey(const QString& key) const;

    void setEntries(std::vector<ViewpointListEntry> entries);
    // Takes the entries and hands back the ones shown before, so that the
    // caller can refill their memory next time.
    void swapEntries(std::vector<ViewpointListEntry>& entries);
    void clear() { setEntries({}); }

private:
    std::vector<ViewpointListEntry> entries_;
};
