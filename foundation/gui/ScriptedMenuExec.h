#pragma once

#include <deque>
#include <optional>

#include <QList>
#include <QString>

#include "MenuExec.h"

// Popup menus for tests: records where each menu would open and picks the
// item with the scripted text (searching submenus too), or dismisses the
// menu. Picking an item a user could not pick (missing, separator, disabled)
// or a menu the script does not expect throws std::logic_error.
class ScriptedMenuExec : public MenuExec {
public:
    struct Shown {
        QMenu* menu;
        QPoint at;
    };

    QList<Shown> shown;
    std::deque<std::optional<QString>> choices;

    void choose(const QString& itemText) { choices.emplace_back(itemText); }
    void dismiss() { choices.emplace_back(std::nullopt); }

    QAction* exec(QMenu& menu, const QPoint& at) override;
};
