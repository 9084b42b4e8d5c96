#include "QtMenuExec.h"

#include <QMenu>

MenuExec& MenuExec::standard() {
    static QtMenuExec runner;
    return runner;
}

QAction* QtMenuExec::exec(QMenu& menu, const QPoint& at) { return menu.exec(at); }
