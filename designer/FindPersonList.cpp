#include "FindPersonList.h"

#include "tree_model/SVGTree.h"

void FindPersonList::fill(const SVGTree& tree) {
    beginResetModel();
    const PersonDict& persons = tree.GetPersons();
    index_.build(persons);
    keys_.clear();
    outside_.clear();
    keys_.reserve(std::size_t(persons.count()));
    outside_.reserve(std::size_t(persons.count()));
    const SVGViewpointPtr view = tree.GetViewpoint();
    for (const auto& kv : persons) {
        keys_.push_back(kv.first);
        outside_.push_back(view && !view->PersonExists(kv.first) ? 1 : 0);
    }
    endResetModel();
}

void FindPersonList::clear() {
    beginResetModel();
    index_.clear();
    keys_.clear();
    outside_.clear();
    endResetModel();
}

int FindPersonList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QString FindPersonList::caption(int row) const {
    const QString& text = index_.text(row);
    return text.isEmpty() ? unnamedCaption() : text;
}

QVariant FindPersonList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
            return byKey_ ? key(row) : caption(row);
        case KeyRole:
            return key(row);
        case OutsideRole:
            return isOutside(row);
        case TagRole:
            return row;
        default:
            return {};
    }
}

QVariant FindPersonList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return QStringLiteral("Caption");
    return {};
}

void FindPersonList::setByKey(bool byKey) {
    if (byKey == byKey_) return;
    byKey_ = byKey;
    if (count() > 0) Q_EMIT dataChanged(this->index(0), this->index(count() - 1), {Qt::DisplayRole});
}
