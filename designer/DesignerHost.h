#pragma once

#include <QHash>
#include <QList>
#include <QPointF>
#include <QSet>
#include <QString>

class SVGTree;

// What one designer command or gesture changed on the grid, gathered while it
// runs and shown once at its end: cells to render again (with the person to
// show in front, "" for the first of the cell), family circles and spouse
// lines, child lines, or every link (after the records were rebuilt).
struct GridRedraw {
    QHash<int, QString> cells;
    QSet<int> families;
    QSet<int> childLines;
    bool links = false;      // every link record and line is built anew
    bool selection = false;  // the selection marks changed
    bool refresh = false;    // repaint the whole window

    void cell(int iCell, const QString& sPreferred = QString()) {
        if (iCell > 0) cells.insert(iCell, sPreferred);
    }
    bool isEmpty() const {
        return cells.isEmpty() && families.isEmpty() && childLines.isEmpty() && !links && !selection && !refresh;
    }
};

// One entry of a designer popup menu: its name, caption and state; a
// separator has neither name nor caption.
struct PopupItem {
    QString name;
    QString caption;
    bool enabled = true;
    bool separator = false;
    bool operator==(const PopupItem&) const = default;
};
using PopupMenuModel = QList<PopupItem>;

// Everything the Tree Designer's gestures and commands ask of the world
// around the grid: message boxes, popup menus, the person and family
// editors, the clipboard, and the window that shows the grid. The window
// implements it with real widgets; tests script it.
class DesignerHost {
public:
    virtual ~DesignerHost() = default;

    // A refused gesture or command: a red log line and an exclamation box
    // (the window's painting is resumed first).
    virtual void warn(const QString& text) = 0;
    // An error that ended a command, reported by its description.
    virtual void reportError(const QString& description) = 0;
    // A question with Yes and No, No the default; true for Yes.
    virtual bool askYesNo(const QString& question) = 0;

    virtual QString clipboardText() = 0;
    // Clears the clipboard and puts the text on it.
    virtual void setClipboardText(const QString& text) = 0;

    // Opens a popup menu at a grid point (window units) and returns the name
    // of the chosen entry, "" when it was dismissed.
    virtual QString popup(const PopupMenuModel& menu, QPointF at) = 0;

    // The person editor: the key of the new person ("" when cancelled), or
    // true when an edit was applied.
    virtual QString CreateBox(SVGTree& oTr) = 0;
    virtual bool EditBox(SVGTree& oTr, const QString& sKey) = 0;
    // The family editor: the key of the new family of the two persons (""
    // when cancelled), or true when an edit was applied; sChildSet gives back
    // the children edited through it, as a comma list.
    virtual QString CreateFamily(SVGTree& oTr, const QString& sPar1, const QString& sPar2) = 0;
    virtual bool EditFamily(SVGTree& oTr, const QString& sKey, QString& sChildSet) = 0;

    // The person a cell's box shows, when the window knows it better than the
    // grid model (it keeps the person last brought to the front); false when
    // the model's answer stands.
    virtual bool shownPerson(int iCell, QString& key) {
        (void)iCell;
        (void)key;
        return false;
    }

    // Shows what a command or gesture changed.
    virtual void redraw(const GridRedraw& changes) { (void)changes; }
    // The gesture's lines, ghost or hover changed.
    virtual void gestureChanged() {}
};
