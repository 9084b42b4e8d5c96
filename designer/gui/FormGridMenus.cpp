// The Tree Designer's menu bar: File, Edit, View and Tools (the Options menu
// is built with the window), the states of their entries as they open, and
// their commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "DesignerMenuCommands.h"
#include "DesignerMenuState.h"
#include "FormFindPerson.h"
#include "FormGrid.h"
#include "GridView.h"
#include "Hourglass.h"
#include "LocaliseImages.h"
#include "ProgressLog.h"
#include "RedrawSuspended.h"
#include "SVGLayout.h"
#include "foundation/TextHelpers.h"
#include "tree_model/SVGTree.h"
#include "ucGridBox.h"

FormGrid::MenuDialogs& FormGrid::menuDialogs() {
    static MenuDialogs dialogs{{}, {}, {}, &FormFindPerson::FindPerson};
    return dialogs;
}

QAction* FormGrid::addEntry(QMenu* menu, const char* name, const QString& caption, void (FormGrid::*slot)()) {
    QAction* action = menu->addAction(caption, this, slot);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* FormGrid::menu(const QString& name) const { return menuBar()->findChild<QMenu*>(name); }

QAction* FormGrid::menuEntry(const QString& name) const {
    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        for (QAction* action : m->actions())
            if (action->objectName() == name) return action;
    return nullptr;
}

void FormGrid::buildMenuBar() {
    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    QMenu* mnuFile = addMenu("mnuFile", QStringLiteral("&File"));
    mnuSwitchViewpoint_ = mnuFile->addMenu(QStringLiteral("Switch Viewpoint"));
    mnuSwitchViewpoint_->setObjectName(QStringLiteral("mnuSwitchViewpoint"));
    mnuSwitchViewpoint_->menuAction()->setObjectName(QStringLiteral("mnuSwitchViewpoint"));
    mnuFile->addSeparator();
    addEntry(mnuFile, "mnuImportGEDCOM", QStringLiteral("&Import GEDCOM..."), &FormGrid::mnuImportGEDCOM_Click);
    mnuFile->addSeparator();
    addEntry(mnuFile, "mnuLocaliseImages", QStringLiteral("Localise Images"), &FormGrid::mnuLocaliseImages_Click);
    mnuFile->addSeparator();
    addEntry(mnuFile, "mnuSave", QStringLiteral("&Save"), &FormGrid::mnuSave_Click);
    addEntry(mnuFile, "mnuClose", QStringLiteral("&Close"), &FormGrid::mnuClose_Click);
    connect(mnuFile, &QMenu::aboutToShow, this, &FormGrid::mnuFile_Click);
    mnuFile_Click();

    QMenu* mnuEdit = addMenu("mnuEdit", QStringLiteral("&Edit"));
    addEntry(mnuEdit, "mnuSelectAll", QStringLiteral("Select All"), &FormGrid::mnuSelectAll_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuEdit->addSeparator();
    addEntry(mnuEdit, "mnuFindPerson", QStringLiteral("Find Person"), &FormGrid::mnuFindPerson_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuEdit->addSeparator();
    addEntry(mnuEdit, "mnuDuplicateTree", QStringLiteral("Duplicate Full Tree"), &FormGrid::mnuDuplicateTree_Click);
    connect(mnuEdit, &QMenu::aboutToShow, this, &FormGrid::mnuEdit_Click);

    QMenu* mnuView = addMenu("mnuView", QStringLiteral("&View"));
    addEntry(mnuView, "mnuZoomLarge", QStringLiteral("Zoom Large"), &FormGrid::mnuZoomLarge_Click);
    addEntry(mnuView, "mnuZoomReset", QStringLiteral("Zoom Reset"), &FormGrid::mnuZoomReset_Click);
    addEntry(mnuView, "mnuZoomSmall", QStringLiteral("Zoom Small"), &FormGrid::mnuZoomSmall_Click);
    addEntry(mnuView, "mnuRefresh", QStringLiteral("Refresh"), &FormGrid::mnuRefresh_Click);
    mnuView->addSeparator();
    addEntry(mnuView, "mnuLayout", QStringLiteral("Auto Layout"), &FormGrid::mnuLayout_Click);
    addEntry(mnuView, "mnuRevert", QStringLiteral("Revert Layout"), &FormGrid::mnuRevert_Click)->setEnabled(false);
    QAction* adjust = addEntry(mnuView, "mnuAdjustLayout", QStringLiteral("Adjust Layout"), &FormGrid::mnuAdjustLayout_Click);
    adjust->setEnabled(false);
    adjust->setVisible(bAlwaysFalse());
    mnuView->addSeparator();
    addEntry(mnuView, "mnuShowAllChildLinks", QStringLiteral("Show All Child Links"), &FormGrid::mnuShowAllChildLinks_Click);
    addEntry(mnuView, "mnuHideAllChildLinks", QStringLiteral("Hide All Child Links"), &FormGrid::mnuHideAllChildLinks_Click);
    connect(mnuView, &QMenu::aboutToShow, this, &FormGrid::mnuView_Click);

    QMenu* mnuTools = addMenu("mnuTools", QStringLiteral("&Tools"));
    addEntry(mnuTools, "mnuURLManagement", QStringLiteral("Manage Places ..."), &FormGrid::mnuURLManagement_Click);
    addEntry(mnuTools, "mnuViewpointManagement", QStringLiteral("Manage Viewpoints ..."),
             &FormGrid::mnuViewpointManagement_Click);
    connect(mnuTools, &QMenu::aboutToShow, this, &FormGrid::mnuTools_Click);
}

// ---- Menu openings

void FormGrid::mnuFile_Click() {
    runCommand([this] {
        mnuSwitchViewpoint_->clear();
        const DesignerMenuState state =
            tree_ ? designerMenuState(DesignerMenuInput::of(*tree_, keptLayout_ != nullptr)) : designerMenuState({});
        for (const ViewpointMenuEntry& entry : state.switchViewpoint) {
            QAction* action = mnuSwitchViewpoint_->addAction(entry.caption);
            action->setObjectName(QStringLiteral("mnuViewpointKey"));
            action->setData(entry.key);
            const QString key = entry.key;
            connect(action, &QAction::triggered, this, [this, key] { mnuViewpointKey_Click(key); });
        }
    });
}

void FormGrid::mnuEdit_Click() {
    if (!tree_) return;
    menuEntry(QStringLiteral("mnuDuplicateTree"))
        ->setEnabled(designerMenuState(DesignerMenuInput::of(*tree_, keptLayout_ != nullptr)).duplicateTree);
}

void FormGrid::mnuView_Click() {
    if (!tree_) return;
    const DesignerMenuState state = designerMenuState(DesignerMenuInput::of(*tree_, keptLayout_ != nullptr));
    menuEntry(QStringLiteral("mnuRevert"))->setEnabled(state.revertLayout);
    menuEntry(QStringLiteral("mnuAdjustLayout"))->setEnabled(state.adjustLayout);
}

void FormGrid::mnuTools_Click() {
    if (!tree_) return;
    menuEntry(QStringLiteral("mnuViewpointManagement"))
        ->setEnabled(designerMenuState(DesignerMenuInput::of(*tree_, keptLayout_ != nullptr)).manageViewpoints);
}

// ---- File

void FormGrid::mnuViewpointKey_Click(const QString& sKey) {
    runCommand([this, &sKey] { LoadDetails(tree_, sKey); });
}

void FormGrid::mnuImportGEDCOM_Click() {
    runCommand([this] {
        if (!menuDialogs().openGedcomBrowser) {
            logUnavailable(QStringLiteral("Import GEDCOM"));
            return;
        }
        menuDialogs().openGedcomBrowser(this);
    }, AfterError::ReportOnly);
}

void FormGrid::mnuLocaliseImages_Click() {
    runCommand([this] {
        Hourglass hourglass;
        LocaliseImages(*tree_, *model_.reporter());
        mnuRefresh_Click();
    });
}

// ---- Edit

void FormGrid::mnuSelectAll_Click() {
    runCommand([this] {
        const RedrawSuspended suspended(updates_);
        for (int cell : SelectAll(model_)) renderCell(cell);
    });
}

void FormGrid::mnuFindPerson_Click() {
    runCommand([this] {
        if (tree_->GetPersons().isEmpty()) {
            ReportError(QStringLiteral("No persons to find"), &updates_);
            return;
        }
        QString view;
        const QString key = menuDialogs().findPerson(*tree_, view, this);
        if (key.isEmpty()) return;
        if (view != tree_->GetViewpointKey()) LoadDetails(tree_, view);
        SelectPerson(key);
        scrollCellIntoView(model_.cellOfPerson(key).L);
    }, AfterError::ReportOnly);
}

void FormGrid::scrollCellIntoView(int iCell) {
    if (ucGridBox* box = lblPosn_.value(iCell)) view_->ensureVisible(box->sceneBoundingRect(), 0, 0);
}

void FormGrid::mnuDuplicateTree_Click() {
    runCommand([this] {
        const SVGViewpointPtr view = tree_->GetViewpoint();
        if (!view) return;
        view->DuplicateTree(*tree_);
        LoadDetails(tree_, view->GetKey());
    }, AfterError::ReportOnly);
}

// ---- View

void FormGrid::setZoom(int zoom) {
    if (model_.geometry().zoom == zoom) return;
    model_.geometry().zoom = zoom;
    ApplyZoom();
}

void FormGrid::mnuRefresh_Click() {
    runCommand([this] {
        const RedrawSuspended suspended(updates_);
        BuildGrid(true);
        UnloadLinkControls();
        BuildFamilyRecords(false);
        RedrawLinks();
    });
}

void FormGrid::mnuLayout_Click() {
    const bool done = runCommand([this] {
        const RedrawSuspended suspended(updates_);
        ClearSelection();
        keptLayout_ = std::make_unique<SVGLayout>(model_.reporter());
        if (keptLayout_->Organise(*tree_)) {
            tree_->SetUnsaved(true);
            rebuildWithNewGridSize();
        } else {
            keptLayout_.reset();
        }
    });
    if (!done) keptLayout_.reset();
}

void FormGrid::mnuRevert_Click() {
    if (!keptLayout_) return;
    runCommand([this] {
        tree_->SetUnsaved(true);
        const RedrawSuspended suspended(updates_);
        ClearSelection();
        keptLayout_->Revert(*tree_);
        rebuildWithNewGridSize();
    }, AfterError::ReportOnly);
    // A layout is reverted once, whether or not its reversal went through.
    keptLayout_.reset();
}

void FormGrid::mnuAdjustLayout_Click() {
    if (!keptLayout_) return;
    runCommand([this] {
        const RedrawSuspended suspended(updates_);
        ClearSelection();
        if (keptLayout_->Adjust(*tree_)) {
            tree_->SetUnsaved(true);
            rebuildWithNewGridSize();
        }
    }, AfterError::ReportOnly);
}

void FormGrid::showAllChildLinks(bool show) {
    runCommand([this, show] {
        ShowAllChildLinks(model_, show);
        RedrawLinks();
    });
}

// ---- Tools

void FormGrid::mnuURLManagement_Click() {
    runCommand([this] {
        if (!menuDialogs().editPlaceKeys) {
            logUnavailable(QStringLiteral("Manage Places"));
            return;
        }
        if (!menuDialogs().editPlaceKeys(tree_->GetPlaceKeys(), this)) return;
        tree_->SetUnsaved(true);
        mnuRefresh_Click();
    });
}

void FormGrid::mnuViewpointManagement_Click() {
    try {
        if (!menuDialogs().manageViewpoints) {
            logUnavailable(QStringLiteral("Manage Viewpoints"));
            return;
        }
        menuDialogs().manageViewpoints(tree_, this);
    } catch (...) {
        reportHandlerError();
    }
}
