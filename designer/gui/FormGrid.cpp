#include "FormGrid.h"

#include <algorithm>
#include <vector>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QMenu>
#include <QMenuBar>
#include <QLayout>
#include <QPen>
#include <QScrollBar>
#include <QShortcut>

#include <cmath>

#include "DesignerMenuCommands.h"
#include "FamilyCircleItem.h"
#include "LinkLayers.h"
#include "LinkLineItem.h"
#include "FormGridHost.h"
#include "GridView.h"
#include "Hourglass.h"
#include "MainWindowLink.h"
#include "LogReporter.h"
#include "MessageBoxes.h"
#include "ProgressLog.h"
#include "RedrawSuspended.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "SVGLayout.h"
#include "foundation/AppError.h"
#include "tree_model/SVGTree.h"
#include "ucGridBox.h"

namespace {
QPen linkPen(int width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(QColor(0x28, 0xAB, 0x28), width, style);
    pen.setCosmetic(true);
    return pen;
}

// The depth of the scene's index, a tree that halves the scene across and
// down in turn. Left to itself the index takes the depth from the number of
// items alone (at least 5); on a grid of thousands of columns and a few rows
// that cuts each row into ever thinner strips, and every box stands in more
// of them as the tree grows. Here the halving stops at strips of about half
// a cell across the grid's shorter side. The items are the boxes of the occupied
// cells and about half as many circles.
int sceneIndexDepth(int cols, int rows, int occupied) {
    const auto log2Up = [](int n) { return int(std::ceil(std::log2(double(std::max(1, n))))); };
    const int automatic = std::max(5, log2Up(occupied + occupied / 2));
    const int shaped = 2 * (log2Up(std::min(cols, rows)) + 1);
    return std::max(5, std::min(automatic, shaped));
}

QLineF toPixels(const QLineF& twips) {
    return QLineF(FormGrid::px(twips.x1()), FormGrid::px(twips.y1()), FormGrid::px(twips.x2()), FormGrid::px(twips.y2()));
}
}  // namespace

FormGrid::FormGrid(QWidget* owner) : QMainWindow(owner) {
    setObjectName(QStringLiteral("FormGrid"));
    painting_.palette = palette();
    painting_.captionFont = GridPainting::fontForZoom(model_.geometry().zoom);
    scene_ = new QGraphicsScene(this);
    view_ = new GridView(model_, painting_, this);
    view_->setScene(scene_);
    setCentralWidget(view_);
    updates_.SetWnd(this);
    model_.setReporter(&MainWindowLink::reporter());
    model_.askVeryLargeGrid = [](const QString& question) {
        return MessageBoxes::current().show(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                                            QMessageBox::No) == QMessageBox::Yes;
    };
    linkLayers_ = std::make_unique<LinkLayers>(*scene_, kLineZ);
    // Element 0 of the line arrays: the rubber bands of the gestures.
    for (auto* lines : {&linFamily_, &linChild_}) {
        auto* band = new LinkLineItem;
        band->setPen(linkPen(1));
        band->setZValue(kBandZ);
        band->hide();
        scene_->addItem(band);
        lines->push_back(band);
    }
    picFamily_.push_back(nullptr);
    buildMenus();
    buildShortcuts();
    host_ = std::make_unique<FormGridHost>(*this);
}

FormGrid::~FormGrid() = default;

// ---- Opening

FormGrid::OptionsDialogs& FormGrid::optionsDialogs() {
    static OptionsDialogs dialogs;
    return dialogs;
}

FormGrid* FormGrid::OpenDesigner(QWidget* owner, const std::shared_ptr<SVGTree>& oTr, const QString& sView) {
    static QPointer<FormGrid> designer;
    if (!designer) {
        designer = new FormGrid(owner);
        designer->setAttribute(Qt::WA_DeleteOnClose);
        // A window of its own, owned by the main window.
        designer->setWindowFlag(Qt::Window);
    }
    designer->LoadDetails(oTr, sView);
    return designer;
}

void FormGrid::buildMenus() {
    buildMenuBar();
    mnuOptions_ = new QMenu(QStringLiteral("&Options"), menuBar());
    mnuOptions_->setObjectName(QStringLiteral("mnuOptions"));
    menuBar()->insertMenu(menu(QStringLiteral("mnuTools"))->menuAction(), mnuOptions_);
    addEntry(mnuOptions_, "mnuSelectApps", QStringLiteral("Interactive Applications..."), &FormGrid::mnuSelectApps_Click);
    mnuOptions_->addSeparator();
    addEntry(mnuOptions_, "mnuStep", QStringLiteral("Toggle &Step"), &FormGrid::mnuStep_Click);
    addEntry(mnuOptions_, "mnuOrient", QStringLiteral("Toggle &Orientation"), &FormGrid::mnuOrient_Click);
    addEntry(mnuOptions_, "mnuSettings", QStringLiteral("Edit Settings ..."), &FormGrid::mnuSettings_Click);
    addEntry(mnuOptions_, "mnuAdvSettings", QStringLiteral("Advanced Settings..."), &FormGrid::mnuAdvSettings_Click);
}

void FormGrid::buildShortcuts() {
    // Window-wide, whichever box, bar or view has the focus. Other modifier
    // keys held with Ctrl and the zoom keys, or with Esc, do not matter.
    auto add = [this](Qt::KeyboardModifiers mods, Qt::Key key, void (FormGrid::*slot)()) {
        auto* shortcut = new QShortcut(QKeySequence(QKeyCombination(mods, key)), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    for (const Qt::KeyboardModifiers others :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::AltModifier),
          Qt::ShiftModifier | Qt::AltModifier}) {
        const Qt::KeyboardModifiers ctrl = others | Qt::ControlModifier;
        add(ctrl, Qt::Key_Equal, &FormGrid::zoomIn);
        add(ctrl, Qt::Key_Plus, &FormGrid::zoomIn);
        add(ctrl | Qt::KeypadModifier, Qt::Key_Plus, &FormGrid::zoomIn);
        add(ctrl, Qt::Key_Minus, &FormGrid::zoomOut);
        add(ctrl | Qt::KeypadModifier, Qt::Key_Minus, &FormGrid::zoomOut);
        add(others, Qt::Key_Escape, &FormGrid::ClearSelection);
        add(ctrl, Qt::Key_Escape, &FormGrid::ClearSelection);
    }
}

void FormGrid::showTree(const std::shared_ptr<SVGTree>& oTr) {
    if (tree_ == oTr) return;
    // Only the tree shown speaks to the window.
    if (tree_) disconnect(tree_.get(), nullptr, this, nullptr);
    tree_ = oTr;
    if (!tree_) return;
    connect(tree_.get(), &SVGTree::ViewpointDeleted, this, &FormGrid::oTree_ViewpointDeleted);
    connect(tree_.get(), &SVGTree::ViewpointRenamed, this, &FormGrid::oTree_ViewpointRenamed);
    // The kept layout belongs to the persons and families it laid out: once
    // any come or go, in the tree or in the viewpoint shown, Revert and
    // Adjust no longer apply.
    connect(tree_.get(), &SVGTree::PFChange, this, [this] { keptLayout_.reset(); });
    connect(tree_.get(), &SVGTree::ViewpointPFChange, this, [this](const QString& sKey) {
        if (tree_ && sKey == tree_->GetViewpointKey()) keptLayout_.reset();
    });
}

void FormGrid::oTree_ViewpointDeleted(const QString& sKey) {
    if (tree_ && sKey == tree_->GetViewpointKey()) close();
}

void FormGrid::oTree_ViewpointRenamed(const QString&, const QString& sNewKey) {
    if (tree_ && sNewKey == tree_->GetViewpointKey()) SetTitle();
}

void FormGrid::reportCommandError() {
    reportHandlerError(&updates_);
    ResetInteraction();
}

bool FormGrid::runCommand(const std::function<void()>& body, AfterError after) {
    try {
        body();
        return true;
    } catch (...) {
        if (after == AfterError::Reset)
            reportCommandError();
        else
            reportHandlerError(&updates_);
        return false;
    }
}

void FormGrid::logUnavailable(const QString& what) {
    LogProgress(what + QStringLiteral(" is not available in this version of Kvora"));
}

void FormGrid::LoadDetails(const std::shared_ptr<SVGTree>& oTr, const QString& sView) {
    // A grid the designer cannot show is refused before anything changes:
    // the window is not opened, or keeps showing what it showed.
    GridModel::refuseTooLargeView(*oTr, sView);
    showTree(oTr);
    model_.takeTree(oTr.get());
    applyZoomToPainting();
    keptLayout_.reset();
    pictures_.clear();
    if (!loaded_) {
        tree_->SetViewpointKey(sView);
        model_.selection().clear();
        model_.readGridSize();
        Form_Load();
        loaded_ = true;
    } else {
        runCommand([&] {
            ClearSelection();
            tree_->SetViewpointKey(sView);
            RedrawSuspended suspended(updates_);
            spareAllBoxes();
            model_.readGridSize();
            UnloadLinkControls();
            BuildGrid(true);
            suspended.resume();
            FitWindowToGrid(false);
        });
    }
    SetTitle();
    AutoLayout();
    BuildFamilyRecords(true);
    RedrawLinks();
    show();
}

void FormGrid::Form_Load() {
    UnloadLinkControls();
    BuildGrid(true);
    model_.currentCell = -1;
    model_.currentFamily = -1;
    FitWindowToGrid(true);
}

void FormGrid::AutoLayout() {
    // The tree's auto-layout directive lays each loaded tree out once, when
    // the designer first opens on it: a later opening (another viewpoint, a
    // found person) keeps the positions the user has made since.
    static std::vector<std::weak_ptr<SVGTree>> laidOut;
    if (!tree_->GetAutoLayout()) return;
    laidOut.erase(std::remove_if(laidOut.begin(), laidOut.end(), [](const auto& t) { return t.expired(); }),
                  laidOut.end());
    for (const auto& t : laidOut)
        if (t.lock() == tree_) return;
    laidOut.push_back(tree_);
    mnuLayout_Click();
}

void FormGrid::rebuildWithNewGridSize() {
    model_.readGridSize();
    SetTitle();
    rebuildBoxesAndLinks(false);
}

// ---- Frame

void FormGrid::ApplyZoom() {
    // A zoom changes sizes and places only: the boxes keep what they show and
    // the link records stay as they are, so the items are moved and sized
    // again rather than made anew.
    runCommand([this] {
        applyZoomToPainting();
        const RedrawSuspended suspended(updates_);
        BuildGrid(false);
        RedrawLinks();
    });
}

void FormGrid::zoomIn() {
    if (model_.geometry().zoom >= 30) return;
    ++model_.geometry().zoom;
    ApplyZoom();
}

void FormGrid::zoomOut() {
    if (model_.geometry().zoom <= 1) return;
    --model_.geometry().zoom;
    ApplyZoom();
}

QSize FormGrid::gridClientSize() const {
    const QRectF grid = GridGeometry::toPixels(model_.geometry().gridRect());
    return QSize(int(std::ceil(grid.width())), int(std::ceil(grid.height())));
}

void FormGrid::FitWindowToGrid(bool bFirst) {
    if (!screenArea) EnumMonitors();
    const MonitorBounds& bounds = screenArea ? *screenArea : monitorBounds();
    // Around the grid: the view's frame, the menu bar, and the window's own
    // frame with its title bar, known before the window is first shown.
    if (layout()) layout()->activate();
    const QMargins decoration = windowFrameMargins(this);
    const int viewFrame = 2 * view_->frameWidth();
    QSize outer = gridClientSize() + (size() - view_->size()) + QSize(viewFrame, viewFrame) +
                  QSize(decoration.left() + decoration.right(), decoration.top() + decoration.bottom());
    // A side that does not fit gets its scroll bar, which takes room across
    // it; the window asks for that room too, so that the other side is not
    // cut short by the bar.
    const bool half = tree_ && (tree_->GetTopTD() || tree_->GetBottomTD());
    const double roomWidth = (bounds.right - bounds.left) / kTwipsPerPixel;
    const double roomHeight = (bounds.bottom - bounds.top) / kTwipsPerPixel / (half ? 2 : 1);
    bool barAcross = false, barDown = false;
    for (int pass = 0; pass < 2; ++pass) {
        if (!barDown && outer.height() > roomHeight) {
            barDown = true;
            outer.rwidth() += view_->verticalScrollBar()->sizeHint().width();
        }
        if (!barAcross && outer.width() > roomWidth) {
            barAcross = true;
            outer.rheight() += view_->horizontalScrollBar()->sizeHint().height();
        }
    }
    float width = float(pixelsToTwips(outer.width()));
    float height = float(pixelsToTwips(outer.height()));
    FitFormToBounds(this, width, height, tree_ && tree_->GetTopTD(), tree_ && tree_->GetBottomTD(), bFirst, bounds);
}

void FormGrid::applyZoomToPainting() {
    painting_.captionFont = GridPainting::fontForZoom(model_.geometry().zoom);
}

void FormGrid::updateSceneRect() {
    const QRectF grid = GridGeometry::toPixels(model_.geometry().gridRect());
    scene_->setSceneRect(grid);
    const GridGeometry& g = model_.geometry();
    scene_->setBspTreeDepth(sceneIndexDepth(g.cols, g.rows, model_.occupancy().occupiedCount()));
    linkLayers_->setCellSize(QSizeF(px(g.cellWidth()), px(g.cellHeight())));
}

// ---- The grid of boxes

void FormGrid::BuildGrid(bool bRender) {
    Hourglass hourglass;
    runCommand([this, bRender] {
        model_.prepareGrid();
        updateSceneRect();
        const RedrawSuspended suspended(updates_);
        const GridOccupancy& occupancy = model_.occupancy();
        if (bRender) {
            for (auto it = lblPosn_.begin(); it != lblPosn_.end();) {
                if (occupancy.isOccupied(it.key())) {
                    ++it;
                    continue;
                }
                spareBoxes_.put(it.value());
                it = lblPosn_.erase(it);
            }
            for (int cell : occupancy.occupiedCells()) {
                int col = 0, row = 0;
                model_.geometry().GetCellColRow(cell, col, row);
                QString keys = occupancy.keyList(cell);
                RenderCell(cell, col, row, QString(), keys);
            }
            spareBoxes_.clear();
        } else {
            for (auto it = lblPosn_.cbegin(); it != lblPosn_.cend(); ++it) placeBox(it.value(), it.key());
        }
        MarkSelection();
        view_->viewport()->update();
    }, AfterError::ReportOnly);
}

ucGridBox* FormGrid::loadBox(int iCell, int iCol, int iRow) {
    ucGridBox* box = spareBoxes_.take();
    if (!box) {
        box = new ucGridBox(painting_, pictures_);
        box->setZValue(kBoxZ);
        scene_->addItem(box);
    }
    box->SetCaption(QStringLiteral("(%1,%2)").arg(iCol).arg(iRow));
    box->KickStart(iCell);
    lblPosn_.insert(iCell, box);
    return box;
}

void FormGrid::spareAllBoxes() {
    for (ucGridBox* box : std::as_const(lblPosn_)) spareBoxes_.put(box);
    lblPosn_.clear();
}

void FormGrid::placeBox(ucGridBox* box, int iCell) {
    const GridGeometry& g = model_.geometry();
    int col = 0, row = 0;
    g.GetCellColRow(iCell, col, row);
    box->setSize(px(double(g.boxWidth())), px(double(g.boxHeight())));
    box->setPos(px(double(g.GetCellX(col, row))), px(double(g.GetCellY(col, row))));
}

void FormGrid::removeBox(int iCell) {
    // Kept for the next cell to be shown: a person moved by a gesture leaves
    // one cell for another, and the scene adds and removes items in time
    // proportional to all it holds. BuildGrid deletes boxes still kept.
    spareBoxes_.put(lblPosn_.take(iCell));
}

void FormGrid::RenderCell(int iCell, int iCol, int iRow, const QString& sPreferred, QString& sKeyList) {
    const CellAppearance look = model_.RenderCell(iCell, iCol, iRow, sPreferred, sKeyList);
    if (!look.occupied) {
        removeBox(iCell);
        return;
    }
    ucGridBox* box = lblPosn_.value(iCell);
    if (!box) box = loadBox(iCell, iCol, iRow);
    placeBox(box, iCell);
    applyAppearance(box, iCell, look);
}

void FormGrid::renderCell(int iCell) {
    int col = 0, row = 0;
    if (!model_.geometry().GetCellColRow(iCell, col, row)) return;
    QString keys = QStringLiteral("?");
    RenderCell(iCell, col, row, QString(), keys);
}

void FormGrid::applyAppearance(ucGridBox* box, int iCell, const CellAppearance& look) {
    box->Tag = look.tag;
    box->SetImagePart(model_.display()->GetImagePart());
    box->SetCaption(look.caption);
    try {
        box->SetImage(look.image);
    } catch (const AppError& e) {
        LogProgress(e.description, LogColour::Red);
    }
    const bool marked = model_.isCellMarked(iCell);
    box->SetBorderColour(marked ? GridColour::kBlack : look.borderColour);
    box->SetBorderWidth(marked ? 3 : look.borderWidth);
    box->SetBackColour(look.backColour);
    box->SetForeColour(look.foreColour);
}

void FormGrid::BoxesToFront() {
    // Boxes stand above lines and circles by their stacking order; empty
    // cells are the view's background, behind everything.
}

void FormGrid::refreshPerson(const QString& key) {
    const auto [oldCell, newCell] = model_.refreshPerson(key);
    if (oldCell > 0) renderCell(oldCell);
    if (newCell > 0 && newCell != oldCell) renderCell(newCell);
    const CellRef cell = model_.cellOfPerson(key);
    if (cell.L > 0) RedrawPersonLinks(key, cell.L, cell.C, cell.R);
}

// ---- Family circles and lines

FamilyCircleItem* FormGrid::circle(int iFamily) const {
    return iFamily > 0 && size_t(iFamily) < picFamily_.size() ? picFamily_[size_t(iFamily)] : nullptr;
}

QGraphicsLineItem* FormGrid::familyLine(int iFamily) const {
    return iFamily >= 0 && size_t(iFamily) < linFamily_.size() ? linFamily_[size_t(iFamily)] : nullptr;
}

QGraphicsLineItem* FormGrid::childLine(int iChild) const {
    return iChild >= 0 && size_t(iChild) < linChild_.size() ? linChild_[size_t(iChild)] : nullptr;
}

void FormGrid::placeLine(QGraphicsLineItem* line) { linkLayers_->place(line); }

QGraphicsLineItem* FormGrid::newLinkLine() {
    if (QGraphicsLineItem* line = spareLines_.take()) return line;
    auto* line = new LinkLineItem;
    line->setZValue(kLineZ);
    return line;
}

FamilyCircleItem* FormGrid::newCircle() {
    if (FamilyCircleItem* item = spareCircles_.take()) return item;
    auto* item = new FamilyCircleItem;
    item->setZValue(kCircleZ);
    scene_->addItem(item);
    return item;
}

void FormGrid::UnloadLinkControls() {
    for (size_t i = 1; i < picFamily_.size(); ++i) spareCircles_.put(picFamily_[i]);
    for (size_t i = 1; i < linFamily_.size(); ++i) spareLines_.put(linFamily_[i]);
    for (size_t i = 1; i < linChild_.size(); ++i) spareLines_.put(linChild_[i]);
    picFamily_.resize(1);
    linFamily_.resize(1);
    linChild_.resize(1);
    model_.UnloadLinkControls();
}

void FormGrid::BuildFamilyRecords(bool bNoLog) {
    UnloadLinkControls();
    model_.BuildFamilyRecords(bNoLog);
    const LinkRecords& records = model_.records();
    picFamily_.resize(size_t(records.familyUpperBound()) + 1, nullptr);
    linFamily_.resize(size_t(records.familyUpperBound()) + 1, nullptr);
    linChild_.resize(size_t(records.childUpperBound()) + 1, nullptr);
    for (int i = 1; i <= records.familyUpperBound(); ++i) {
        const FamilyRecord& r = records.family(i);
        if (!r.inUse()) continue;
        FamilyCircleItem* circle = newCircle();
        circle->Tag = r.Key;
        circle->hide();
        picFamily_[size_t(i)] = circle;
    }
    // The lines are made as they are first drawn, in the layer that holds them.
    spareCircles_.clear();
}

void FormGrid::DrawFamilyLinks(int iFamily) {
    if (iFamily < 1) return;
    const FamilyRecord& r = model_.records().family(iFamily);
    // A record freed since the circles were built loses its circle and line;
    // one added since gets them.
    if (!r.inUse()) {
        if (FamilyCircleItem* item = circle(iFamily)) item->hide();
        if (QGraphicsLineItem* line = familyLine(iFamily)) line->hide();
        return;
    }
    if (picFamily_.size() <= size_t(iFamily)) {
        picFamily_.resize(size_t(iFamily) + 1, nullptr);
        linFamily_.resize(size_t(iFamily) + 1, nullptr);
    }
    if (!picFamily_[size_t(iFamily)]) picFamily_[size_t(iFamily)] = newCircle();
    if (!linFamily_[size_t(iFamily)]) linFamily_[size_t(iFamily)] = newLinkLine();
    picFamily_[size_t(iFamily)]->Tag = r.Key;
    if (QGraphicsLineItem* line = familyLine(iFamily)) {
        line->setLine(toPixels(model_.familyLine(iFamily)));
        line->setPen(linkPen(2));
        line->show();
        linkLayers_->place(line);
    }
    if (FamilyCircleItem* item = circle(iFamily)) {
        const QRectF rect = GridGeometry::toPixels(model_.circleRect(iFamily));
        item->setDiameter(rect.width());
        item->setPos(rect.topLeft());
        item->setPicture(r.circlePicture());
        item->setFramed(r.bChildrenHidden);
        item->show();
    }
    BoxesToFront();
}

void FormGrid::DrawChildLinks(int iChild) {
    const ChildRecord& r = model_.records().child(iChild);
    QGraphicsLineItem* line = iChild > 0 ? childLine(iChild) : nullptr;
    // A record freed since the lines were built loses its line; one added
    // since gets one.
    if (!r.inUse()) {
        if (line) line->hide();
        return;
    }
    if (!line && iChild > 0) {
        if (linChild_.size() <= size_t(iChild)) linChild_.resize(size_t(iChild) + 1, nullptr);
        line = newLinkLine();
        linChild_[size_t(iChild)] = line;
    }
    if (!line) return;
    line->setLine(toPixels(model_.childLine(iChild)));
    line->setPen(r.bTentative ? linkPen(1, Qt::DashLine) : linkPen(2));
    line->setVisible(!model_.records().family(r.iFamily).bChildrenHidden);
    linkLayers_->place(line);
    BoxesToFront();
}

void FormGrid::DrawChildRubberBand(int iChild, bool bChildEnd) {
    QGraphicsLineItem* band = linChild_[0];
    if (iChild == 0) {
        band->hide();
        return;
    }
    const ChildRecord& r = model_.records().child(iChild);
    QLineF line = band->line();
    if (bChildEnd) {
        const QLineF full = toPixels(model_.childLine(iChild));
        line.setP2(full.p2());
    } else if (r.iFamily > 0) {
        line.setP1(GridGeometry::toPixels(model_.circleCentre(r.iFamily)));
    }
    band->setLine(line);
}

void FormGrid::RedrawPersonLinks(const QString& key, int iCell, int iCol, int iRow) {
    for (int family : model_.RedrawPersonLinks(key, iCell, iCol, iRow)) {
        DrawFamilyLinks(family);
        for (int child : model_.records().childrenOfFamily(family)) DrawChildLinks(child);
    }
}

void FormGrid::RedrawLinks() {
    runCommand([this] {
        const RedrawSuspended suspended(updates_);
        const LinkRecords& records = model_.records();
        for (int i = 1; i <= records.familyUpperBound(); ++i)
            if (records.family(i).inUse()) DrawFamilyLinks(i);
        for (int i = 1; i <= records.childUpperBound(); ++i)
            if (records.child(i).inUse()) DrawChildLinks(i);
        // Lines kept since the records were built and not drawn again go.
        spareLines_.clear();
        BoxesToFront();
    }, AfterError::ReportOnly);
}

// ---- Hit tests

int FormGrid::iCellAtPoint(QPointF scenePos) const {
    return model_.iCellAtPoint(scenePos.x() * GridGeometry::kTwipsPerPixel, scenePos.y() * GridGeometry::kTwipsPerPixel);
}

int FormGrid::iCircleAtPoint(QPointF scenePos) const {
    return model_.iCircleAtPoint(scenePos.x() * GridGeometry::kTwipsPerPixel,
                                 scenePos.y() * GridGeometry::kTwipsPerPixel);
}

// ---- Selection

void FormGrid::ClearSelection() {
    for (int cell : model_.ClearSelection()) renderCell(cell);
}

void FormGrid::MarkSelection() {
    for (const QString& key : model_.selection().keys()) {
        if (ucGridBox* box = lblPosn_.value(model_.cellOfPerson(key).L)) {
            box->SetBorderWidth(3);
            box->SetBorderColour(GridColour::kBlack);
        }
    }
}

void FormGrid::ToggleSelect(const QString& key) {
    if (const int cell = model_.ToggleSelect(key)) renderCell(cell);
}

void FormGrid::SelectPerson(const QString& key) {
    if (const int cell = model_.SelectPerson(key)) renderCell(cell);
}

// ---- Title, reset, diagnostics

QString FormGrid::titleFor(const SVGTree& tree, int cols, int rows) {
    QString title = QStringLiteral("Tree Designer - ") + tree.GetDisplay()->GetTitle();
    if (tree.GetViewpoint()) title += QStringLiteral(", viewpoint ") + tree.GetViewpointName();
    return title + QStringLiteral(" (%1 x %2)").arg(cols).arg(rows);
}

void FormGrid::SetTitle() {
    if (tree_) setWindowTitle(titleFor(*tree_, model_.geometry().cols, model_.geometry().rows));
}

void FormGrid::ResetInteraction() {
    host_->gestures().ResetInteraction();
    // Outside a command nothing else shows what the reset changed.
    host_->commands().flush();
}

void FormGrid::DiagDrawing() {
    for (const QString& line : model_.DiagDrawing()) LogDiagnostic(line);
}

// ---- Commands

void FormGrid::mnuClose_Click() {
    runCommand([this] {
        if (QWidget* main = MainWindowLink::existingWindow()) main->activateWindow();
        close();
    }, AfterError::ReportOnly);
}

void FormGrid::mnuSave_Click() {
    runCommand([this] {
        if (tree_) tree_->SaveToFile();
    }, AfterError::ReportOnly);
}

void FormGrid::mnuStep_Click() {
    runCommand([this] {
        tree_->SetUnsaved(true);
        const RedrawSuspended suspended(updates_);
        tree_->SetStepped(!model_.display()->GetStepped());
        model_.takeDisplaySizes();
        BuildGrid(false);
        RedrawLinks();
    });
}

void FormGrid::mnuOrient_Click() {
    runCommand([this] {
        tree_->SetUnsaved(true);
        RedrawSuspended suspended(updates_);
        ClearSelection();
        const GridGeometry before = model_.geometry();
        tree_->SetHoriz(!model_.display()->GetHoriz());
        model_.takeDisplaySizes();
        model_.readGridSize();
        SetTitle();
        TransposeRecords();
        // Every box keeps its person and moves to the transposed cell; the
        // records were transposed with it, so the link items stay too.
        QHash<int, ucGridBox*> transposed;
        transposed.reserve(lblPosn_.size());
        for (auto it = lblPosn_.cbegin(); it != lblPosn_.cend(); ++it) {
            int col = 0, row = 0;
            before.GetCellColRow(it.key(), col, row);
            transposed.insert(model_.geometry().iCellIndex(row, col), it.value());
        }
        lblPosn_.swap(transposed);
        BuildGrid(false);
        if (lblPosn_.contains(0) || lblPosn_.size() != model_.occupancy().occupiedCount()) {
            // The grid did not turn as a whole: show every cell again.
            if (ucGridBox* lost = lblPosn_.take(0)) delete lost;
            BuildGrid(true);
            BuildFamilyRecords(true);
        }
        RedrawLinks();
        suspended.resume();
        FitWindowToGrid(false);
    });
}

void FormGrid::discardBoxes() {
    ClearSelection();
    spareAllBoxes();
}

void FormGrid::rebuildBoxesAndLinks(bool transpose) {
    UnloadLinkControls();
    if (transpose) TransposeRecords();
    BuildGrid(true);
    BuildFamilyRecords(false);
    RedrawLinks();
}

void FormGrid::mnuSettings_Click() {
    runCommand([this] {
        if (!optionsDialogs().editSettings) {
            logUnavailable(QStringLiteral("Edit Settings"));
            return;
        }
        if (!optionsDialogs().editSettings(*tree_, this)) return;
        const bool wasHoriz = model_.display()->GetHoriz();
        tree_->SetUnsaved(true);
        model_.display()->Init(tree_->GetSettings());
        model_.takeStockImages();
        RedrawSuspended suspended(updates_);
        discardBoxes();
        if (!model_.display()->GetViewpoints() && tree_->GetViewpoint()) {
            // Back to the full tree: a layout of the viewpoint is not its to revert.
            keptLayout_.reset();
            tree_->SetViewpointKey(QString());
        }
        tree_->SetHoriz(model_.display()->GetHoriz());
        model_.takeDisplaySizes();
        model_.readGridSize();
        SetTitle();
        rebuildBoxesAndLinks(model_.display()->GetHoriz() != wasHoriz);
        suspended.resume();
        FitWindowToGrid(false);
    });
}

void FormGrid::mnuAdvSettings_Click() {
    runCommand([this] {
        if (!optionsDialogs().editAdvSettings) {
            logUnavailable(QStringLiteral("Advanced Settings"));
            return;
        }
        if (!optionsDialogs().editAdvSettings(tree_->GetSettings(), this)) return;
        tree_->SetUnsaved(true);
        model_.display()->Init(tree_->GetSettings());
        SetTitle();
        model_.takeDisplaySizes();
        const RedrawSuspended suspended(updates_);
        discardBoxes();
        rebuildBoxesAndLinks(false);
    });
}

void FormGrid::mnuSelectApps_Click() {
    runCommand([this] {
        const SVGApplications* apps = host_->applications();
        if (!optionsDialogs().editApplications || !apps) {
            logUnavailable(QStringLiteral("Interactive Applications"));
            return;
        }
        EditInteractiveApplications(*tree_, *apps, [this, apps](StringDict& appDict, bool bSVG) {
            return optionsDialogs().editApplications(*apps, appDict, bSVG, this);
        });
    });
}

void FormGrid::closeEvent(QCloseEvent* event) {
    if (QWidget* main = MainWindowLink::existingWindow()) main->activateWindow();
    QMainWindow::closeEvent(event);
}
