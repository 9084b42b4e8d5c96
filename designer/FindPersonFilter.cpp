#include "FindPersonFilter.h"

#include "FindPersonList.h"

FindPersonFilter::FindPersonFilter(QObject* parent) : QSortFilterProxyModel(parent) { setDynamicSortFilter(false); }

void FindPersonFilter::setList(FindPersonList* list) {
    list_ = list;
    setSourceModel(list);
}

void FindPersonFilter::setPartialName(const QString& partial, bool byKey) {
    partial_ = partial;
    list_->setByKey(byKey);
    const int n = list_->count();
    if (byKey) {
        accepted_.assign(std::size_t(n), false);
        for (int i = 0; i < n; ++i)
            accepted_[std::size_t(i)] = list_->key(i).startsWith(partial, Qt::CaseInsensitive);
    } else {
        accepted_ = list_->names().matches(partial);
    }
    invalidateFilter();
}

int FindPersonFilter::tagOf(int row) const {
    const QModelIndex source = mapToSource(index(row, 0));
    return source.isValid() ? source.row() : -1;
}

bool FindPersonFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return std::size_t(sourceRow) < accepted_.size() && accepted_[std::size_t(sourceRow)];
}
