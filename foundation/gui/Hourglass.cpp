#include "Hourglass.h"

#include <QCursor>
#include <QGuiApplication>

Hourglass::Hourglass() {
    if (!qGuiApp) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    active = true;
}

Hourglass::~Hourglass() {
    if (active && qGuiApp) QGuiApplication::restoreOverrideCursor();
}
