#include "PlaceKeyRows.h"

#include "PlaceKeyClass.h"
#include "TreeText.h"
#include "foundation/AppError.h"
#include "foundation/GridCells.h"
#include "foundation/TextHelpers.h"

const QString PlaceKeyRows::kSource = QStringLiteral("FormURLs");

namespace {
const QString kTag = QStringLiteral("SVG-U");
constexpr QChar kRecordMark(12);
}  // namespace

void PlaceKeyRows::load(const PlaceKeyClass& places) {
    rows_.clear();
    const StringDict& dict = places.GetDict();
    for (const QString& key : dict.keys()) {
        QString location, directory;
        places.GetPlaces(key, location, directory);
        rows_.append(QStringList{key, location, directory});
    }
    if (rowCount() < kMinRows) addRows(kMinRows - rowCount());
}

void PlaceKeyRows::setCell(int row, int column, const QString& text) {
    if (row >= 0 && row < rowCount() && column >= 0 && column < kColumns) rows_[row][column] = text;
}

QString PlaceKeyRows::key(int row) const { return trimBlanks(cell(row, 0)); }

void PlaceKeyRows::addRows(int count) {
    for (int i = 0; i < count; ++i) rows_.append(blankRow());
}

void PlaceKeyRows::insertRowAbove(int row) { rows_.insert(qBound(0, row, rowCount()), blankRow()); }

void PlaceKeyRows::deleteRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    if (rowCount() == 1)
        rows_[0] = blankRow();
    else
        rows_.removeAt(row);
}

QString PlaceKeyRows::packRecord(int row) const {
    const QString k = key(row);
    if (k.isEmpty() || !bValidName(k)) return {};
    return kRecordMark + k + u'\n' + trimBlanks(cell(row, 1)) + u'\n' + trimBlanks(cell(row, 2));
}

QString PlaceKeyRows::packRow(int row) const { return kTag + u'\n' + packRecord(row); }

QString PlaceKeyRows::packAll() const {
    QString text = kTag + u'\n';
    for (int r = 0; r < rowCount(); ++r) text += packRecord(r);
    return text;
}

bool PlaceKeyRows::isPlaceKeyText(const QString& text) {
    const int lf = text.indexOf(u'\n');
    if (lf < 0) return false;
    const QString first = text.left(lf);
    return first == kTag || first == kTag + u'\r';
}

int PlaceKeyRows::paste(const QString& clipText) {
    if (!isPlaceKeyText(clipText)) return -1;
    QString text = clipText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    int current = -1;
    const QStringList pieces = text.split(kRecordMark);
    for (int p = 1; p < pieces.size(); ++p) {
        QStringList fields = pieces[p].split(u'\n');
        while (fields.size() < kColumns) fields.append(QString());
        int found = -1, firstBlank = -1;
        for (int r = 0; r < rowCount(); ++r) {
            const QString k = key(r);
            if (k == fields[0]) {
                found = r;
                break;
            }
            if (k.isEmpty() && firstBlank < 0) firstBlank = r;
        }
        if (found < 0) {
            if (firstBlank < 0) {
                rows_.append(blankRow());
                firstBlank = rowCount() - 1;
            }
            for (int c = 0; c < kColumns; ++c) rows_[firstBlank][c] = fields[c];
            found = firstBlank;
        }
        current = found;
    }
    return current;
}

void PlaceKeyRows::checkKeys() const {
    for (int r = 0; r < rowCount(); ++r) {
        const QString k = key(r);
        if (!k.isEmpty() && !bValidName(k))
            raiseError(kInvalidKeyOffset, kSource,
                       QStringLiteral("Key name can only contain alphanumerics, underscores, and hyphens (starting "
                                      "with an alphabetic)"));
    }
}

void PlaceKeyRows::save(PlaceKeyClass& places) const {
    checkKeys();
    places.RemoveAll();
    for (int r = 0; r < rowCount(); ++r) {
        const QString k = key(r);
        if (!k.isEmpty()) places.Define(k, trimBlanks(cell(r, 1)), trimBlanks(cell(r, 2)));
    }
}

QString PlaceKeyRows::expand(int row, bool local) const {
    PlaceKeyClass places;
    save(places);
    const QString k = key(row);
    if (k.isEmpty()) raiseError(kNoMappingOffset, kSource, QStringLiteral("No place key defined on this row"));
    if (!local && trimBlanks(cell(row, 1)).isEmpty())
        raiseError(kNoMappingOffset, kSource, QStringLiteral("No URL mapping defined on this row"));
    if (local && trimBlanks(cell(row, 2)).isEmpty())
        raiseError(kNoMappingOffset, kSource, QStringLiteral("No local mapping defined on this row"));
    return places.ExpandURLName(u'$' + k + u':', local);
}

QList<int> PlaceKeyRows::columnChars() const { return ::columnChars(rows_, kColumns, kMinColumnChars); }
