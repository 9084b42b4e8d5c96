#include "ScriptedMenuExec.h"

#include <stdexcept>

#include <QAction>
#include <QMenu>

namespace {

QAction* findItem(const QMenu& menu, const QString& text) {
    const auto actions = menu.actions();
    for (QAction* a : actions) {
        if (a->menu()) {
            if (QAction* inner = findItem(*a->menu(), text)) return inner;
        } else if (!a->isSeparator() && a->text() == text) {
            return a;
        }
    }
    return nullptr;
}

}  // namespace

QAction* ScriptedMenuExec::exec(QMenu& menu, const QPoint& at) {
    shown.append({&menu, at});
    if (choices.empty()) throw std::logic_error("unexpected popup menu");
    const std::optional<QString> choice = choices.front();
    choices.pop_front();
    if (!choice) return nullptr;
    QAction* item = findItem(menu, *choice);
    if (!item || !item->isEnabled()) throw std::logic_error("no item to choose: " + choice->toStdString());
    return item;
}
