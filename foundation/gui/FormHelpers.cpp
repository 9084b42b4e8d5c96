#include "FormHelpers.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeView>
#include <QWidget>

bool bFormLoaded(const QString& sName) {
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows) {
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        if (name.compare(sName, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

void AutoSizeColumns(QTreeView* listView) {
    const int columns = listView->header()->count();
    for (int i = 0; i < columns; ++i) listView->resizeColumnToContents(i);
}
