#pragma once

#include <vector>

#include <QSortFilterProxyModel>
#include <QString>

class FindPersonList;

// The persons of a FindPersonList that match a partial text, in the list's
// order. By name, each blank-separated partial word must begin a distinct
// word of the person's display text, in the same order, ignoring case; by
// key, the key must begin with the text, ignoring case. An empty text
// matches every person.
class FindPersonFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit FindPersonFilter(QObject* parent = nullptr);

    void setList(FindPersonList* list);
    FindPersonList* list() const { return list_; }

    // Filters the list again for the text in the mode given.
    void setPartialName(const QString& partial, bool byKey);
    const QString& partialName() const { return partial_; }

    // The list row (the person's tag) of a row shown.
    int tagOf(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    FindPersonList* list_ = nullptr;
    QString partial_;
    std::vector<bool> accepted_;
};
