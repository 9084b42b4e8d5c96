#pragma once

#include <functional>

#include <QHash>
#include <QPointF>
#include <QString>

#include "DesignerHost.h"

class GridModel;
class SVGTree;

// The Tree Designer's editing commands on the grid: moving persons to other
// cells, linking spouses and children, and the commands of the person and
// family popups. They change the tree, keep the grid model (occupancy and
// link records) in step, and gather what must be shown again; the window
// shows it once per command (DesignerHost::redraw).
//
// Every command runs in one scope (run): the tree's pending change events are
// cleared at its start and raised at its end, also when it fails or the user
// cancels an editor; an error is reported by its description and ends in
// ResetInteraction.
class DesignerCommands {
public:
    DesignerCommands(GridModel& model, DesignerHost& host);

    GridModel& model() { return model_; }
    SVGTree& tree() const;
    DesignerHost& host() { return host_; }

    // Commands of other parts of the designer that the popups offer (paste,
    // include, exclude), by the name of their popup entry.
    QHash<QString, std::function<void()>> otherCommands;
    // Told by ResetInteraction to forget the gesture in progress.
    std::function<void()> onReset;

    // ---- The command scope
    // Runs body as one command. With bEvents, the tree's pending events are
    // cleared before and raised after. A scope inside another runs as part of it.
    void run(const std::function<void()>& body, bool bEvents = true);
    // What the running command changed so far.
    GridRedraw& changes() { return redraw_; }
    // Shows what was changed so far.
    void flush();

    // ---- Cells
    // The key of the person a cell's box shows: the one last brought to the
    // front while it stays there, else the first of the cell; "" when empty.
    QString boxTag(int iCell) const;
    bool isOccupied(int iCell) const;
    // True when several persons share the cell (its box shows the conflict colour).
    bool isShared(int iCell) const;
    // Renders a cell again, with the preferred person in front ("" for the first).
    void renderCell(int iCell, const QString& sPreferred = QString());
    // The window rebuilt its grid: every cell shows its first person.
    void forgetShownPersons() { shown_.clear(); }

    // ---- Selection and interaction state
    void ClearSelection();
    void ToggleSelect(const QString& key);
    void SelectPerson(const QString& key);
    // Forgets the gesture, clears the selection, the current cell and family.
    void ResetInteraction();

    // ---- Gestures' commands
    // A person (or the selection) dropped on cell iTarget; the source is the current cell.
    void dropPerson(int iTarget);
    void MovePersonToCell(const QString& key, int iOldCell, int iOldCol, int iOldRow, int iNewCell, int iNewCol,
                          int iNewRow, bool bRaiseDetails = true);
    // The spouse rubber band from iStart released on cell iTarget (0 for none).
    void linkSpouses(int iStart, int iTarget);
    // The end of child line iChild (0: the rubber band of a circle) released at a point.
    void endChildLineDrag(int iChild, bool bChildEnd, QPointF at);
    // The family of the tree whose parents are the persons of the two cells' boxes; "" when none.
    QString iFamilyOfCouple(int iCell1, int iCell2) const;

    // ---- Popup entries, by name
    void runPopupItem(const QString& name);
    void mnuCreatePerson_Click();
    void mnuEditPerson_Click();
    void mnuDeletePerson_Click();
    void mnuCopyPerson_Click();
    void mnuUnlinkChild_Click();
    void mnuEditFamily_Click();
    void mnuDeleteFamily_Click();
    void mnuCopyFamily_Click();
    void mnuShowHideChildLinks_Click();
    void mnuToggleChildSelect_Click();

    // Removes one person from the tree (and as a child from every family)
    // and empties its cell; raises "still associated" when it is a parent.
    bool bDeletePerson(const QString& key, int iCell);

private:
    // The warning of a child link the tree refuses: the person would be a
    // child of a second family (unless bHasFamily: it leaves the one it has),
    // a child of its own family, or its own ancestor. "" when it may.
    QString childRefusal(const QString& childKey, const QString& familyKey, bool bHasFamily) const;
    bool isAncestor(const QString& ancestor, const QString& person) const;
    // The spouse groups of the persons changed (a family of them came or
    // went): their cached groups are dropped, the returned call recomputes
    // the records of the families of everybody in them.
    std::function<void()> spouseGroupsChanging(const QStringList& persons);
    // The records and lines of a family just added to the tree.
    void addFamilyRecords(const QString& key);
    void drawFamilyWithChildren(int iFamily);

    GridModel& model_;
    DesignerHost& host_;
    GridRedraw redraw_;
    QHash<int, QString> shown_;
    int depth_ = 0;
};
