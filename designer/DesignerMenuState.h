#pragma once

#include <QList>
#include <QString>

class SVGTree;

// One entry of the Switch Viewpoint submenu: the viewpoint key it carries
// ("" for the full tree) and its caption.
struct ViewpointMenuEntry {
    QString key;
    QString caption;
    bool operator==(const ViewpointMenuEntry&) const = default;
};

// What the designer's menus depend on when they open.
struct DesignerMenuInput {
    // The tree's viewpoints, key and name, in the tree's order.
    QList<ViewpointMenuEntry> viewpoints;
    // The tree uses viewpoints: it has some and its Viewpoints setting is on.
    bool usingViewpoints = false;
    // The Viewpoints setting of the display.
    bool viewpointsSetting = false;
    // A viewpoint is shown (not the full tree).
    bool viewpointShown = false;
    // Auto Layout has left a layout that Revert or Adjust can work on.
    bool keptLayout = false;

    static DesignerMenuInput of(const SVGTree& tree, bool keptLayout);
};

// The entries and states of the designer's menus as they open.
struct DesignerMenuState {
    // File > Switch Viewpoint: "(Full Tree)" first, then each viewpoint while
    // the tree uses them. The viewpoint shown is not marked.
    QList<ViewpointMenuEntry> switchViewpoint;
    bool duplicateTree = false;     // Edit > Duplicate Full Tree
    bool revertLayout = false;      // View > Revert Layout
    bool adjustLayout = false;      // View > Adjust Layout (a hidden entry)
    bool manageViewpoints = false;  // Tools > Manage Viewpoints
    bool operator==(const DesignerMenuState&) const = default;

    static QString fullTreeCaption() { return QStringLiteral("(Full Tree)"); }
};

DesignerMenuState designerMenuState(const DesignerMenuInput& in);
