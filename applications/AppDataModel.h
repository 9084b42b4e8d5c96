#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/GridCells.h"

class SVGApplications;

// The table behind the program-data editor: the rows of one kind of program
// data of a person or family, one column per item of the kind.
//
// Program-data text is lines separated by CR LF; each line is the kind's id
// followed, for each item, by " | " and the value. The table reads the lines of
// its own kind into rows and keeps every other line as it stands; its result is
// the other lines, in their order, followed by the edited rows.
class AppDataModel {
public:
    // Where a key sends the current cell, and a cell of the table.
    using Move = GridMove;
    using Cell = GridCell;

    // The fewest data rows the table shows.
    static constexpr int kMinRows = 15;
    // The fewest characters a column is sized for.
    static constexpr int kMinColumnChars = 15;

    // Builds the columns from the kind's items and reads progData. Returns
    // false, leaving the table empty, when the kind is not defined or has no
    // items with a tag.
    bool load(const SVGApplications& apps, const QString& id, const QString& progData);
    // The same with the columns given: titles (one per item) and description.
    bool load(const QString& id, const QStringList& titles, const QString& description, const QString& progData);

    const QString& id() const { return id_; }
    const QString& description() const { return description_; }
    const QStringList& titles() const { return titles_; }
    int columnCount() const { return static_cast<int>(titles_.size()); }
    int rowCount() const { return static_cast<int>(rows_.size()); }

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);

    // Where key move sends the current cell.
    Cell moved(Cell from, Move move) const;

    // Inserts an empty row at row; the rows from there on move down by one.
    void insertRowAbove(int row);
    // Removes the row; false (nothing changes) when it is the only row.
    bool deleteRow(int row);
    // Appends empty rows.
    void addRows(int count);

    // The first cell that cannot be stored (it holds "|" or a line break,
    // either of which would break the row into other cells or lines), as a
    // message naming its row and column; empty when every cell can be stored.
    QString cellProblem() const;

    // The other kinds' lines followed by one line for each row that holds a
    // value, joined with CR LF, without a line break at the end.
    QString resultText() const;

    // For each column, the length of its longest cell text, at least
    // kMinColumnChars.
    QList<int> columnChars() const;

private:
    QString id_;
    QString description_;
    QStringList titles_;
    QList<QStringList> rows_;
    QString others_;
};
