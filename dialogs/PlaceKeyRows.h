#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class PlaceKeyClass;

// The rows of the place-key editor: each row is a place key, its internet
// location and its local directory, as typed. Texts are trimmed (of blanks)
// when they are read for saving, copying, pasting and expansion.
//
// Place keys travel through the clipboard as "SVG-U" texts: "SVG-U" + LF, then
// per key Chr(12) + key + LF + location + LF + directory.
class PlaceKeyRows {
public:
    static constexpr int kColumns = 3;
    // The fewest rows the editor shows.
    static constexpr int kMinRows = 15;
    // The fewest characters a column is sized for.
    static constexpr int kMinColumnChars = 15;
    // Error offsets: an invalid key, and a row that cannot be expanded.
    static constexpr int kInvalidKeyOffset = 515;
    static constexpr int kNoMappingOffset = 516;
    static const QString kSource;

    // One row per key of the table, in its order, then blank rows up to kMinRows.
    void load(const PlaceKeyClass& places);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const QList<QStringList>& rows() const { return rows_; }
    QString cell(int row, int column) const { return rows_.value(row).value(column); }
    void setCell(int row, int column, const QString& text);
    // The trimmed key of a row.
    QString key(int row) const;

    // Appends blank rows.
    void addRows(int count);
    // Inserts a blank row at row; that row and those below move down.
    void insertRowAbove(int row);
    // Removes the row; the last remaining row is emptied instead.
    void deleteRow(int row);

    // Whether a clipboard text is an "SVG-U" text (its first line is the tag).
    static bool isPlaceKeyText(const QString& text);

    // The "SVG-U" text of one row (nothing but the tag line when its key is
    // blank or invalid), and of every row with a valid key.
    QString packRow(int row) const;
    QString packAll() const;

    // Pastes an "SVG-U" text (LF or CR LF line ends). A key that a row
    // already holds keeps that row as it is; any other key fills the first
    // row with a blank key, or a new row at the end. Missing fields of a
    // record are empty. Returns the row of the last record (the one to make
    // current), or -1 when the text is no "SVG-U" text.
    int paste(const QString& text);

    // The first row whose key breaks the key rule, as the error it raises;
    // nothing when every key is valid.
    void checkKeys() const;
    // Replaces the table's keys with the rows that have a key, in row order
    // (of two rows with one key the lower wins). Every key is checked first:
    // an invalid one raises AppError (base + kInvalidKeyOffset) and leaves the
    // table whole.
    void save(PlaceKeyClass& places) const;
    // What the row's key expands to, in its internet form or its local form.
    // Raises AppError for an invalid key in any row, and (base +
    // kNoMappingOffset) for a row without a key or without the mapping asked for.
    QString expand(int row, bool local) const;

    // For each column, the length of its longest text, at least kMinColumnChars.
    QList<int> columnChars() const;

private:
    static QStringList blankRow() { return QStringList(kColumns); }
    QString packRecord(int row) const;

    QList<QStringList> rows_;
};
