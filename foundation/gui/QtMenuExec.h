#pragma once

#include "MenuExec.h"

// Opens popup menus with QMenu::exec.
class QtMenuExec : public MenuExec {
public:
    QAction* exec(QMenu& menu, const QPoint& at) override;
};
