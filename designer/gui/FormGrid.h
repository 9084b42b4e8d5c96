#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "GridModel.h"
#include "foundation/OrderedDict.h"
#include "GridPainting.h"
#include "PictureCache.h"
#include "SpareItems.h"
#include "WindowPlacement.h"
#include "WindowUpdates.h"

class FamilyCircleItem;
class LinkLayers;
class PlaceKeyClass;
class QAction;
class QMenu;
class FormGridHost;
class GridView;
class QGraphicsLineItem;
class QGraphicsScene;
class SVGApplications;
class SVGLayout;
class SVGTree;
class ucGridBox;

// The Tree Designer window: the persons of a tree or viewpoint as boxes on a
// grid of cells, with each family's spouse line and circle and a line from
// the circle to each child. One QGraphicsScene holds an item per occupied
// cell, per family circle and per line (the lines within layer items, each
// for a part of the grid, which the scene's index holds in their place);
// empty cells are painted by the view.
// The model (GridModel) holds what is shown; this window keeps the scene in
// step with it.
//
// Scene coordinates are pixels; the model's window units are twips.
class FormGrid : public QMainWindow {
    Q_OBJECT

public:
    // Stacking order of the scene's items.
    static constexpr double kLineZ = 1, kCircleZ = 2, kBoxZ = 3, kBandZ = 4;

    explicit FormGrid(QWidget* owner = nullptr);
    ~FormGrid() override;

    // The dialogs the Options commands open, filled in by the program; one
    // left empty makes its command log that it is not available. Each
    // returns true when the user confirmed and the settings were written.
    struct OptionsDialogs {
        std::function<bool(SVGTree& tree, QWidget* owner)> editSettings;
        std::function<bool(StringDict& settings, QWidget* owner)> editAdvSettings;
        // The applications dialog on an enabled-applications set, for an SVG
        // chart or not.
        std::function<bool(const SVGApplications& apps, StringDict& appDict, bool bSVG, QWidget* owner)>
            editApplications;
    };
    static OptionsDialogs& optionsDialogs();

    // The windows the File, Edit and Tools menus open, filled in by the
    // program; one left empty makes its command log that it is not
    // available. The person search is the designer's own unless replaced.
    struct MenuDialogs {
        std::function<void(QWidget* owner)> openGedcomBrowser;
        std::function<bool(PlaceKeyClass& places, QWidget* owner)> editPlaceKeys;
        std::function<void(const std::shared_ptr<SVGTree>& tree, QWidget* owner)> manageViewpoints;
        std::function<QString(const SVGTree& tree, QString& sNewViewP, QWidget* owner)> findPerson;
    };
    static MenuDialogs& menuDialogs();

    // The designer of the program, owned by `owner` (the main window): made
    // when there is none, then opened on the tree and viewpoint. The
    // auto-layout directive of a tree lays it out once, when the designer
    // first opens on it.
    static FormGrid* OpenDesigner(QWidget* owner, const std::shared_ptr<SVGTree>& oTr, const QString& sView);

    // Opens the designer on a tree and viewpoint ("" for the whole tree), or
    // rebuilds the open window for them.
    void LoadDetails(const std::shared_ptr<SVGTree>& oTr, const QString& sView);

    // ---- The grid of boxes
    void BuildGrid(bool bRender);
    void RenderCell(int iCell, int iCol, int iRow, const QString& sPreferred, QString& sKeyList);
    // Shows a cell again from what the model holds.
    void renderCell(int iCell);
    void BoxesToFront();
    // After a person's position changed in the tree: its old and new cells
    // are shown again and the links of its families follow it.
    void refreshPerson(const QString& key);

    // ---- Family circles and lines
    void BuildFamilyRecords(bool bNoLog);
    void UnloadLinkControls();
    void DrawFamilyLinks(int iFamily);
    void DrawChildLinks(int iChild);
    void DrawChildRubberBand(int iChild, bool bChildEnd);
    void RedrawPersonLinks(const QString& key, int iCell, int iCol, int iRow);
    void RedrawLinks();
    // Puts a spouse or child line whose ends were moved into the layer that
    // holds it (every line is held by the layer of its part of the grid).
    void placeLine(QGraphicsLineItem* line);
    void TransposeRecords() { model_.TransposeRecords(); }

    // ---- Hit tests (scene coordinates)
    int iCellAtPoint(QPointF scenePos) const;
    int iCircleAtPoint(QPointF scenePos) const;

    // ---- Selection
    void ClearSelection();
    void MarkSelection();
    void ToggleSelect(const QString& key);
    void SelectPerson(const QString& key);
    QString sSortedSelection() const { return model_.sSortedSelection(); }

    // ---- Title, error reset, diagnostics
    void SetTitle();
    static QString titleFor(const SVGTree& tree, int cols, int rows);
    void ResetInteraction();
    void DiagDrawing();

    // ---- Frame: zoom, fitting, keys
    void ApplyZoom();
    // Ctrl and "+" or "-": one step of zoom within 1 to 30.
    void zoomIn();
    void zoomOut();
    // The window's size around the grid at the current zoom, placed on the
    // monitor that shows the main window (or inside screenArea when given):
    // the whole window, frame and title bar included, stays inside it.
    void FitWindowToGrid(bool bFirst);
    std::optional<MonitorBounds> screenArea;
    // The size of the grid's client area in pixels at the current zoom.
    QSize gridClientSize() const;

    // ---- Commands
    void mnuClose_Click();
    void mnuSave_Click();
    void mnuStep_Click();
    void mnuOrient_Click();
    void mnuSettings_Click();
    void mnuAdvSettings_Click();
    // Interactive Applications: the applications dialog on the tree's
    // enabled set; the settings follow it when confirmed.
    void mnuSelectApps_Click();
    // Everything that changes the layout of the grid: read the grid size
    // again, re-title, rebuild boxes, records and lines.
    void rebuildWithNewGridSize();
    QMenu* optionsMenu() const { return mnuOptions_; }

    // ---- The menu bar (File, Edit, View, Tools)
    // The states of the entries as their menus open.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuView_Click();
    void mnuTools_Click();
    void mnuViewpointKey_Click(const QString& sKey);
    void mnuImportGEDCOM_Click();
    void mnuLocaliseImages_Click();
    void mnuSelectAll_Click();
    void mnuFindPerson_Click();
    void mnuDuplicateTree_Click();
    void mnuZoomLarge_Click() { setZoom(20); }
    void mnuZoomReset_Click() { setZoom(12); }
    void mnuZoomSmall_Click() { setZoom(8); }
    void mnuRefresh_Click();
    void mnuLayout_Click();
    void mnuRevert_Click();
    void mnuAdjustLayout_Click();
    void mnuShowAllChildLinks_Click() { showAllChildLinks(true); }
    void mnuHideAllChildLinks_Click() { showAllChildLinks(false); }
    void mnuURLManagement_Click();
    void mnuViewpointManagement_Click();
    // A menu entry by its name (mnuSelectAll, mnuViewpointKey, ...); the
    // Switch Viewpoint entries all carry the name mnuViewpointKey.
    QAction* menuEntry(const QString& name) const;
    QMenu* menu(const QString& name) const;
    // Brings a cell's box into view.
    void scrollCellIntoView(int iCell);

    // ---- What the window holds
    GridModel& model() { return model_; }
    const GridModel& model() const { return model_; }
    SVGTree* tree() const { return tree_.get(); }
    QGraphicsScene* scene() const { return scene_; }
    GridView* view() const { return view_; }
    WindowUpdates& windowUpdates() { return updates_; }
    ucGridBox* box(int iCell) const { return lblPosn_.value(iCell); }
    int boxCount() const { return lblPosn_.size(); }
    FamilyCircleItem* circle(int iFamily) const;
    QGraphicsLineItem* familyLine(int iFamily) const;
    QGraphicsLineItem* childLine(int iChild) const;
    const PictureCache& pictures() const { return pictures_; }
    // The mouse gestures and the commands of the popups, on this window.
    FormGridHost& host() { return *host_; }

    // Scene pixels of window units.
    static double px(double twips) { return twips / GridGeometry::kTwipsPerPixel; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void buildMenus();
    void buildShortcuts();
    void buildMenuBar();
    QAction* addEntry(QMenu* menu, const char* name, const QString& caption, void (FormGrid::*slot)());
    void setZoom(int zoom);
    void showAllChildLinks(bool show);
    void oTree_ViewpointDeleted(const QString& sKey);
    void oTree_ViewpointRenamed(const QString& sKey, const QString& sNewKey);
    void AutoLayout();
    // The settings commands: every box is made again with the new settings.
    void discardBoxes();
    // Boxes rendered again, records built again (transposed first when the
    // orientation changed) and every link drawn.
    void rebuildBoxesAndLinks(bool transpose);
    // The error tail of a command: report, then a clean interaction state.
    void reportCommandError();
    // What follows the report of an error: a clean interaction state, or nothing.
    enum class AfterError { Reset, ReportOnly };
    // Runs one command of the window. An error it raises resumes redrawing
    // and is reported (with the window's redraw suspender), then the
    // interaction is reset unless `after` says otherwise. False after an error.
    bool runCommand(const std::function<void()>& body, AfterError after = AfterError::Reset);
    void logUnavailable(const QString& what);
    void applyAppearance(ucGridBox* box, int iCell, const CellAppearance& look);
    // The box of a cell, a kept one when there is one.
    ucGridBox* loadBox(int iCell, int iCol, int iRow);
    // Every box kept for the next BuildGrid to show again.
    void spareAllBoxes();
    void placeBox(ucGridBox* box, int iCell);
    void removeBox(int iCell);
    void applyZoomToPainting();
    void updateSceneRect();
    // Takes the tree to show, listening to its events and no longer to
    // those of the tree shown before.
    void showTree(const std::shared_ptr<SVGTree>& oTr);
    // A spouse or child line (placed in a layer once drawn) and a family
    // circle: kept ones when there are any, else new.
    QGraphicsLineItem* newLinkLine();
    FamilyCircleItem* newCircle();

    std::shared_ptr<SVGTree> tree_;
    GridModel model_;
    GridPainting painting_;
    PictureCache pictures_;
    WindowUpdates updates_;
    QGraphicsScene* scene_ = nullptr;
    GridView* view_ = nullptr;
    std::unique_ptr<LinkLayers> linkLayers_;
    bool loaded_ = false;

    QHash<int, ucGridBox*> lblPosn_;
    std::vector<FamilyCircleItem*> picFamily_;
    std::vector<QGraphicsLineItem*> linFamily_;
    std::vector<QGraphicsLineItem*> linChild_;
    // Items a rebuild shows again; those left over at its end are deleted.
    SpareItems<ucGridBox> spareBoxes_;
    SpareItems<FamilyCircleItem> spareCircles_;
    SpareItems<QGraphicsLineItem> spareLines_;
    std::unique_ptr<SVGLayout> keptLayout_;
    QMenu* mnuOptions_ = nullptr;
    std::unique_ptr<FormGridHost> host_;
    QMenu* mnuSwitchViewpoint_ = nullptr;
};
