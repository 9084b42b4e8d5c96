#pragma once

#include <QList>
#include <QStringList>
#include <QTableWidget>

#include "GridCells.h"

class GridCellDelegate;
class QLineEdit;

// An editable table of texts, edited cell by cell in a line edit over the
// current cell (GridCellDelegate). Enter, Tab, the arrows up and down and
// Page Up/Down store the text and move on, wrapping around the table; Escape
// puts the cell's text back in the box and keeps editing. A right-click on a
// cell (with no Shift, Ctrl or Alt) ends the edit, makes that cell current and
// asks for the row menu; so does a right-click in the open box.
class EditGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit EditGrid(QWidget* parent = nullptr);

    GridCellDelegate* delegate() const { return delegate_; }
    // The open box, or null.
    QLineEdit* openEditor() const;

    // Shows the texts, one list per row, as many rows as given.
    void setTexts(const QList<QStringList>& rows);
    QString text(int row, int column) const;
    // Sets one cell's text; the open box too when it edits that cell.
    void setCellText(int row, int column, const QString& text);

    // Makes a cell current and edits it.
    void setCurrent(int row, int column);
    // Opens the box on the current cell (once the table is shown), the caret
    // at the end of its text, and gives it the focus.
    void beginCellEdit();
    // Stores the open box's text in its cell and closes the box.
    void endCellEdit();
    // Moves the current cell as a key asks.
    void moveCurrent(GridMove move);

    // Shares the visible width among the columns by their weights; the last
    // column stretches over what the others leave.
    void fitColumns(const QList<int>& weights);

Q_SIGNALS:
    void rowMenuRequested();

private:
    GridCellDelegate* delegate_ = nullptr;
};
