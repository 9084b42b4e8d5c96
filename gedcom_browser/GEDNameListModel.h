#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QStringList>
#include <QVector>

// The browser's person list: the persons of a GEDCOM document whose names
// match the name filter, in the document's order. Each row shows the
// person's name words joined by blanks ("(Unnamed Person)" without any) and
// carries the person's index (PersonIndexRole). Rows are made only as the
// view asks for them, so a document of any size fills at once.
class GEDNameListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int PersonIndexRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    // The name words of every person (shared, not copied).
    void setNameArrays(const QList<QStringList>& nameArrays);
    // Shows the persons whose flag is set.
    void setMatches(const QList<bool>& matches);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The person index of a row, or -1.
    int personIndex(int row) const { return row >= 0 && row < rows_.size() ? rows_[row] : -1; }
    // The text of a row.
    QString rowText(int row) const;

private:
    QList<QStringList> names_;
    QVector<int> rows_;
};
