#pragma once

#include <QString>

class QTreeView;
class QWidget;

// True when a window of the program (shown or hidden) has the name sName,
// ignoring letter case; a window's name is its object name, or its class name
// when it has none.
bool bFormLoaded(const QString& sName);
// The window of the program that bFormLoaded finds by that name, or null.
QWidget* oLoadedForm(const QString& sName);

// Sizes every column of a list view to fit both its content and its header.
void AutoSizeColumns(QTreeView* listView);
