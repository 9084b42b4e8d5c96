#pragma once

#include <vector>

#include <QAbstractListModel>
#include <QString>

#include "dialogs/ViewpointNameIndex.h"

class SVGTree;

// Every person of a tree, in the order of the tree's persons, for the person
// search: row i is the i-th person (its tag). A row shows the person's
// display text ("(Unnamed Person)" when it has none) or, when searching by
// key, the person's key. Persons the current viewpoint does not hold are
// flagged (OutsideRole); the window shows them in red.
class FindPersonList : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole + 1;
    static constexpr int OutsideRole = Qt::UserRole + 2;
    static constexpr int TagRole = Qt::UserRole + 3;

    using QAbstractListModel::QAbstractListModel;

    // Takes the persons of the tree and the viewpoint shown.
    void fill(const SVGTree& tree);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Rows show keys instead of names.
    void setByKey(bool byKey);
    bool byKey() const { return byKey_; }

    int count() const { return index_.count(); }
    const QString& key(int row) const { return keys_[std::size_t(row)]; }
    bool isOutside(int row) const { return outside_[std::size_t(row)] != 0; }
    // The row's text in the name mode.
    QString caption(int row) const;
    const ViewpointNameIndex& names() const { return index_; }

    static QString unnamedCaption() { return QStringLiteral("(Unnamed Person)"); }

private:
    ViewpointNameIndex index_;
    std::vector<QString> keys_;
    std::vector<char> outside_;
    bool byKey_ = false;
};
