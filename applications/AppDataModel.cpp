#include "AppDataModel.h"

#include <algorithm>

#include "SVGApplications.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool isBlank(const QString& text) { return trimBlanks(text).isEmpty(); }

}  // namespace

bool AppDataModel::load(const SVGApplications& apps, const QString& id, const QString& progData) {
    QStringList tags;
    QStringList names;
    const QString description = apps.GetDataItems(id, tags, names);
    // An item without a text is titled by its tag, so that every column has a title.
    for (int i = 0; i < names.size(); ++i)
        if (names[i].isEmpty()) names[i] = tags[i];
    return load(id, names, description, progData);
}

bool AppDataModel::load(const QString& id, const QStringList& titles, const QString& description,
                        const QString& progData) {
    id_.clear();
    description_.clear();
    titles_.clear();
    rows_.clear();
    others_.clear();
    if (titles.isEmpty()) return false;

    id_ = id;
    description_ = description;
    for (const QString& title : titles) titles_ << trimBlanks(title);

    const int columns = columnCount();
    for (const QString& line : progData.split(kLineBreak)) {
        if (line.isEmpty()) continue;
        const QStringList cells = line.split(u'|');
        if (trimBlanks(cells.first()) != id_) {
            others_ = sSetJoin(others_, line, kLineBreak);
            continue;
        }
        QStringList row;
        for (int c = 0; c < columns; ++c) row << (c + 1 < cells.size() ? trimBlanks(cells[c + 1]) : QString());
        rows_ << row;
    }
    if (rowCount() < kMinRows) addRows(kMinRows - rowCount());
    return true;
}

QString AppDataModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return QString();
    return rows_[row][column];
}

void AppDataModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    rows_[row][column] = text;
}

AppDataModel::Cell AppDataModel::moved(Cell from, Move move) const {
    return nextCell(from, move, rowCount(), columnCount());
}

void AppDataModel::insertRowAbove(int row) {
    row = std::clamp(row, 0, rowCount());
    rows_.insert(row, QStringList(QList<QString>(columnCount())));
}

bool AppDataModel::deleteRow(int row) {
    if (rowCount() <= 1 || row < 0 || row >= rowCount()) return false;
    rows_.removeAt(row);
    return true;
}

void AppDataModel::addRows(int count) {
    for (int i = 0; i < count; ++i) rows_ << QStringList(QList<QString>(columnCount()));
}

QString AppDataModel::cellProblem() const {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const QString& text = rows_[r][c];
            if (text.contains(u'|') || text.contains(u'\r') || text.contains(u'\n'))
                return QStringLiteral("Row %1, column \"%2\": a value cannot hold \"|\" or a line break")
                    .arg(r + 1)
                    .arg(titles_[c]);
        }
    }
    return QString();
}

QString AppDataModel::resultText() const {
    QString result = others_;
    for (const QStringList& row : rows_) {
        if (std::all_of(row.begin(), row.end(), isBlank)) continue;
        QString line = id_;
        for (const QString& value : row) line += QStringLiteral(" | ") + trimBlanks(value);
        result = sSetJoin(result, line, kLineBreak);
    }
    return result;
}

QList<int> AppDataModel::columnChars() const { return ::columnChars(rows_, columnCount(), kMinColumnChars); }
