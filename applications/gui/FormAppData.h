#pragma once

#include <QDialog>

#include "AppDataModel.h"
#include "EditGrid.h"

class GridCellDelegate;
class QPushButton;
class Reporter;
class SVGApplications;

// The modal table editor for the program data of one kind of a person or
// family: one column per item of the kind, one row per line. Cells are edited
// in a line edit over the current cell; Enter, Tab, the arrows up and down and
// Page Up/Down move on (wrapping), Escape undoes the edit of the cell, a
// right-click offers "Insert Row Above" and "Delete Row".
class FormAppData : public QDialog {
    Q_OBJECT
public:
    // Edits the lines of kind sID in sProgData; when the user saves, returns
    // true and sets sNewProgData to the other kinds' lines followed by the
    // edited ones. Returns false at once when the kind has no items.
    static bool EditAppData(const SVGApplications& apps, const QString& sID, const QString& sProgData,
                            QString& sNewProgData, QWidget* oParentForm = nullptr);

    // The window over a loaded model.
    FormAppData(AppDataModel& model, Reporter& reporter, QWidget* parent = nullptr);

    bool saved() const { return saved_; }
    // The text to store, once saved.
    QString resultText() const { return model_.resultText(); }

    EditGrid* fgData() const { return fgData_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }
    GridCellDelegate* delegate() const;

    void mnuAddOneRow_Click();
    void mnuDeleteOneRow_Click();
    void mnuAddRows_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void cmdExit_Click();
    void fillGrid();
    void readGrid();
    void BeginCellEdit();
    void SizeGridColumns();
    void ShowRowMenu();
    void setCurrent(int row, int column);

    AppDataModel& model_;
    Reporter& reporter_;
    EditGrid* fgData_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    bool saved_ = false;
    // Kept for the whole run: the dialog is placed once, at its first showing.
    inline static bool positioned_ = false;
};
