#pragma once

#include <QString>

#include "DesignerHost.h"

class SVGTree;

// The Tree Designer's two popup menus with their captions and the entries
// enabled for the box or circle that was right-clicked.
class DesignerPopups {
public:
    // What the person popup depends on.
    struct PersonContext {
        bool occupied = false;      // the clicked box shows a person
        int selected = 0;           // number of selected persons
        bool viewpoint = false;     // a viewpoint is shown, not the whole tree
        bool childRecord = false;   // the clicked person hangs from a family circle
        QString clipboard;          // the clipboard's text
    };

    // The person popup (`mnuRClickLabel`). The clipboard's first line decides
    // the paste and include entries; a key list is read with the tree.
    static PopupMenuModel personPopup(const PersonContext& context, const SVGTree& tree);
    // The family popup (`mnuRClickCircle`).
    static PopupMenuModel familyPopup(bool viewpoint);

    // The entry of a menu by name; null when it has none.
    static const PopupItem* item(const PopupMenuModel& menu, const QString& name);
};
