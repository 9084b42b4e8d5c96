#pragma once

#include <QList>

class GridModel;

// Menu-bar commands of the Tree Designer that work on the grid model alone.

// Select All: every person of the view joins the selection, in the view's
// order; returns the cells whose boxes became marked.
QList<int> SelectAll(GridModel& model);

// Show All Child Links (show true) or Hide All Child Links: every family
// record in use takes the children-hidden flag; the tree is not changed.
void ShowAllChildLinks(GridModel& model, bool show);
