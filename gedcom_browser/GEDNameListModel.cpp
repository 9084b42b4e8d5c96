#include "GEDNameListModel.h"

void GEDNameListModel::setNameArrays(const QList<QStringList>& nameArrays) { names_ = nameArrays; }

void GEDNameListModel::setMatches(const QList<bool>& matches) {
    beginResetModel();
    rows_.clear();
    for (int i = 0; i < matches.size(); ++i)
        if (matches[i]) rows_.append(i);
    endResetModel();
}

void GEDNameListModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int GEDNameListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

QString GEDNameListModel::rowText(int row) const {
    const int i = personIndex(row);
    if (i < 0 || i >= names_.size()) return QString();
    const QStringList& words = names_[i];
    return words.isEmpty() ? QStringLiteral("(Unnamed Person)") : words.join(u' ');
}

QVariant GEDNameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return rowText(index.row());
    if (role == PersonIndexRole) return personIndex(index.row());
    return {};
}
