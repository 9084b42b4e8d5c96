#include "ViewpointListModel.h"

int ViewpointListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ViewpointListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || index.column() != 0) return {};
    const ViewpointListEntry& e = entry(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return e.caption;
        case StateRole:
            return e.state;
        case KeyRole:
            return e.key;
        default:
            return {};
    }
}

QVariant ViewpointListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return QStringLiteral("Caption");
    return {};
}

int ViewpointListModel::rowOfKey(const QString& key) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].key == key) return static_cast<int>(i);
    return -1;
}

void ViewpointListModel::setEntries(std::vector<ViewpointListEntry> entries) {
    if (entries.empty() && entries_.empty()) return;
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void ViewpointListModel::swapEntries(std::vector<ViewpointListEntry>& entries) {
    beginResetModel();
    entries_.swap(entries);
    endResetModel();
}
