#pragma once

#include <QPoint>

#include "ServiceSlot.h"

class QAction;
class QMenu;

// Runs a popup menu modally. The program opens the real menu; tests install a
// ScriptedMenuExec that picks items without opening anything.
class MenuExec : public ServiceSlot<MenuExec> {
public:
    virtual ~MenuExec() = default;
    // Opens menu with its top-left corner at the screen position and returns
    // the chosen item, or null when the menu was dismissed.
    virtual QAction* exec(QMenu& menu, const QPoint& at) = 0;

    // The implementation that opens the QMenu.
    static MenuExec& standard();
};
