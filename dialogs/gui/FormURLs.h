#pragma once

#include <QDialog>

#include "PlaceKeyRows.h"
#include "EditGrid.h"

class ClipboardText;
class GridCellDelegate;
class PlaceKeyClass;
class QPushButton;

// The place-key editor, captioned "Place Management": a three-column table
// ("Place Key", "Internet Location", "Local Directory") edited cell by cell,
// with a row menu to insert and delete rows, copy and paste "SVG-U" texts,
// pick a local directory and show what a key expands to. The table handed in
// changes only by OK.
class FormURLs : public QDialog {
    Q_OBJECT
public:
    // Edits oPlaces; returns true when the user closed the dialog with OK.
    static bool EditPlaceKeys(PlaceKeyClass& oPlaces, QWidget* oParentForm = nullptr);

    FormURLs(PlaceKeyRows& rows, PlaceKeyClass& places, ClipboardText& clipboard, QWidget* parent = nullptr);

    bool saved() const { return saved_; }

    EditGrid* fgPlaces() const { return fgPlaces_; }
    GridCellDelegate* delegate() const;
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

    void cmdExit_Click();
    void mnuAddRows_Click();
    void mnuAddOneRow_Click();
    void mnuDeleteOneRow_Click();
    void mnuCopyPlaceKey_Click();
    void mnuCopyPlaceKeys_Click();
    void mnuPastePlaceKeys_Click();
    void mnuAddDirectory_Click();
    void mnuShowURL_Click();
    void mnuShowLocal_Click();
    // The row menu over the current cell.
    void ShowRowMenu();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillGrid();
    void readGrid();
    void BeginCellEdit();
    void EndCellEdit();
    void setCurrent(int row, int column);
    void FitColumns();
    void SetEditDirectory(int iRow, int iCol, const QString& sText);
    QString sBrowseDirectory();
    void showExpansion(bool bLocal);

    PlaceKeyRows& rows_;
    PlaceKeyClass& places_;
    ClipboardText& clipboard_;
    EditGrid* fgPlaces_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    bool saved_ = false;

    inline static bool positioned_ = false;
};
