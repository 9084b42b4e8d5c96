#include "FormHelpers.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeView>
#include <QWidget>

bool bFormLoaded(const QString& sName) { return oLoadedForm(sName) != nullptr; }

QWidget* oLoadedForm(const QString& sName) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        if (name.compare(sName, Qt::CaseInsensitive) == 0) return w;
    }
    return nullptr;
}

void AutoSizeColumns(QTreeView* listView) {
    const int columns = listView->header()->count();
    for (int i = 0; i < columns; ++i) listView->resizeColumnToContents(i);
}
