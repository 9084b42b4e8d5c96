#include "PopupMenuClass.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "MenuExec.h"

namespace {

// The window that owns a menu shown without one: the active window, else any
// window of the program.
QWidget* ownerWindow() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (!qobject_cast<QMenu*>(w)) return w;
    return nullptr;
}

}  // namespace

PopupMenuClass::PopupMenuClass() : menu(std::make_shared<QMenu>()) {}

PopupMenuClass::~PopupMenuClass() = default;

void PopupMenuClass::Add(int iMenuID, const QString& vMenuItem, bool bDefault, bool bChecked, int eItemState) {
    QAction* item = vMenuItem == QLatin1String("-") ? menu->addSeparator() : menu->addAction(vMenuItem);
    item->setData(iMenuID);
    if (bChecked && !item->isSeparator()) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    if (bDefault) menu->setDefaultAction(item);
    if (eItemState == 1 || eItemState == 2) item->setEnabled(false);
}

void PopupMenuClass::Add(int iMenuID, const PopupMenuClass& vMenuItem) {
    QAction* item = menu->addAction(vMenuItem.caption);
    item->setMenu(vMenuItem.menu.get());
    submenus.push_back(vMenuItem.menu);
}

void PopupMenuClass::Remove(int iMenuPosition) {
    const auto actions = menu->actions();
    if (iMenuPosition < 0 || iMenuPosition >= actions.size()) return;
    QAction* item = actions.at(iMenuPosition);
    menu->removeAction(item);
    if (item->parent() == menu.get()) delete item;
}

int PopupMenuClass::Show(QWidget* iFormHwnd, int x, int y, QWidget* iControlHwnd) {
    if (!iFormHwnd && !ownerWindow()) return -1;
    QPoint at;
    if (iControlHwnd) {
        at = iControlHwnd->mapToGlobal(QPoint(0, iControlHwnd->height()));
    } else {
        const QPoint cursor = QCursor::pos();
        at = QPoint(x == -1 ? cursor.x() : x, y == -1 ? cursor.y() : y);
    }
    QAction* chosen = MenuExec::current().exec(*menu, at);
    return chosen ? chosen->data().toInt() : 0;
}
