#pragma once

#include <functional>
#include <utility>

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "CellAppearance.h"
#include "GridGeometry.h"
#include "GridOccupancy.h"
#include "GridSelection.h"
#include "LinkRecords.h"

class Reporter;
class SVGBox;
class SVGDisplay;
class SVGFamily;
class SVGTree;

// What the Tree Designer shows of a tree or viewpoint, without any widget:
// the grid's geometry, which persons stand in which cell and how each cell
// looks, the family and child link records with the geometry of their
// circles and lines, and the selection. The window (FormGrid) builds its
// scene from it and asks it again after each change.
//
// Positions are in window units (twips, 15 to a pixel), unscrolled.
class GridModel {
public:
    explicit GridModel(Reporter* reporter = nullptr) : reporter_(reporter) {}

    void setReporter(Reporter* reporter) { reporter_ = reporter; }
    Reporter* reporter() const { return reporter_; }
    // The very-large-grid question (Yes and No, No the default); true for
    // Yes. Without one the reporter's Yes/No question is asked.
    std::function<bool(const QString&)> askVeryLargeGrid;

    static QString veryLargeGridQuestion(int cols, int rows);

    // ---- The tree shown
    // Takes the tree, its display's sizes and orientation and the stock
    // images, and sets the zoom factor back to 12. The viewpoint is the
    // tree's current one.
    void takeTree(SVGTree* oTr);
    SVGTree* tree() const { return tree_; }
    SVGDisplay* display() const;
    // Takes the display's box and margin sizes and its orientation flags again.
    void takeDisplaySizes();
    // The four stock-image paths (female, male, unknown, other), expanded as local paths.
    void takeStockImages();
    const QString& stockImage(int i) const { return stock_[i]; }
    // Reads the view's grid size into the geometry (no size rule).
    void readGridSize();

    GridGeometry& geometry() { return geometry_; }
    const GridGeometry& geometry() const { return geometry_; }

    // ---- Building the grid
    // The very-large-grid rule: a grid of 2001 cells or more, or with a side
    // of 101 or more, is asked about once per grid size; on No, each side is
    // held to 100 and the cells to about 2000. Only the designer's copy of
    // the size changes. A side above 16383 is refused with an error.
    void applyGridSizeRule();
    // The refusal of a grid with a side above GridGeometry::kMaxSide.
    static void refuseTooLargeGrid(int cols, int rows);
    // The same for the view sView ("" for the whole tree) of a tree, before
    // the designer shows it. A view the tree does not have is left to the
    // switch to it.
    static void refuseTooLargeView(const SVGTree& tree, const QString& sView);
    // Reports the stock images that are not files and forgets them until the
    // next takeStockImages.
    void checkStockImages();
    // Places every person of the view in its cell, logging those outside the grid.
    void buildOccupancy();
    // The three steps above, as a grid is built.
    void prepareGrid();

    const GridOccupancy& occupancy() const { return occupancy_; }
    // How a cell looks. A key list of "?" is replaced by the keys of the
    // persons in the cell (given back); preferred, when not "", is the key shown.
    CellAppearance RenderCell(int iCell, int iCol, int iRow, const QString& sPreferred, QString& sKeyList) const;
    CellAppearance renderCell(int iCell) const;
    // True when a selected person stands in the cell (its box is marked).
    bool isCellMarked(int iCell) const;

    // ---- Persons and cells
    // The person's display column and row in the view and its cell (0 when
    // it has none in the grid).
    void iCellOfPerson(const QString& key, int& iCol, int& iRow, int& iCell) const;
    CellRef cellOfPerson(const QString& key) const;
    // The same for a person of the tree at hand, without a lookup by key.
    CellRef cellOf(const SVGBox& person) const;
    // Reads one person's position again and moves it in the occupancy;
    // returns the cells it left and joined (0 for none).
    std::pair<int, int> refreshPerson(const QString& key);

    // ---- Family and child link records
    LinkRecords& records() { return records_; }
    const LinkRecords& records() const { return records_; }
    // Builds the records from the view's families (after freeing any held);
    // false when a person stands outside the grid, which leaves no records.
    // Unless bNoLog, those persons are reported as a grid build does.
    bool BuildFamilyRecords(bool bNoLog);
    // Adds the record of one family (0 when one of its parents has no cell).
    int AddFamilyRecord(const QString& key, SVGFamily& oFam);
    int AddChildRecord(int iFamily, const SVGBox& oChild);
    void UnloadLinkControls() { records_.clear(); }
    // After a person moved to a cell: the records of the families in which
    // it is a parent take the new cell; returns those family records.
    QList<int> RedrawPersonLinks(const QString& key, int iCell, int iCol, int iRow);
    // After the grid's columns and rows were exchanged.
    void TransposeRecords() { records_.transpose(geometry_); }
    int iFindChild(const QString& key, int& iFamily) const { return records_.iFindChild(key, iFamily); }

    // Geometry of the links of a record in use.
    QLineF familyLine(int iFamily) const;
    QPointF circleCentre(int iFamily) const;
    QRectF circleRect(int iFamily) const;
    QLineF childLine(int iChild) const;
    // The first family circle (lowest record index) that holds the point; 0 for none.
    int iCircleAtPoint(double X, double Y) const;
    // The first visible child line that passes within `tolerance` of the point; 0 for none.
    int iChildLineAtPoint(double X, double Y, double tolerance) const;
    int iCellAtPoint(double X, double Y) const { return geometry_.iCellAtPoint(X, Y); }

    // ---- Selection
    GridSelection& selection() { return selection_; }
    const GridSelection& selection() const { return selection_; }
    // Empties the selection; returns the cells whose boxes were marked.
    QList<int> ClearSelection();
    // Adds or removes a person standing in an occupied cell; returns that
    // cell, 0 when nothing changed.
    int ToggleSelect(const QString& key);
    // Adds a person standing in an occupied cell; the cell, 0 when nothing changed.
    int SelectPerson(const QString& key);
    QString sSortedSelection() const;

    // ---- Diagnostics: every record in use, one line each.
    QStringList DiagDrawing() const;

    // The cell of the last cell popup and the family record of the last
    // circle popup; -1 for none.
    int currentCell = -1;
    int currentFamily = -1;

private:
    void reportOutsidePerson(bool& first, const QString& key, int col, int row) const;
    CellRef cellOf(int col, int row) const { return geometry_.cellRef(col, row); }
    int viewOrder(const QString& key) const;

    Reporter* reporter_ = nullptr;
    SVGTree* tree_ = nullptr;
    GridGeometry geometry_;
    QString stock_[4];
    GridOccupancy occupancy_;
    LinkRecords records_;
    GridSelection selection_;
    // The grid size last asked about and the answer.
    int askedCols_ = -1, askedRows_ = -1;
    bool askedAnswer_ = false;
};
