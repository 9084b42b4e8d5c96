#pragma once

#include <functional>

#include <QList>

#include "foundation/OrderedDict.h"

class GridModel;
class SVGApplications;
class SVGTree;

// Menu-bar commands of the Tree Designer that work on the grid model alone.

// Select All: every person of the view joins the selection, in the view's
// order; returns the cells whose boxes became marked.
QList<int> SelectAll(GridModel& model);

// Show All Child Links (show true) or Hide All Child Links: every family
// record in use takes the children-hidden flag; the tree is not changed.
void ShowAllChildLinks(GridModel& model, bool show);

// Interactive Applications: `edit` (the applications dialog) is given the
// tree's enabled-applications set, made from the tree's settings when the
// tree has none, and whether the chart is an SVG file. When it confirms, the
// tree keeps the set, the settings of the applications follow it ("True" or
// "False") and the tree is marked unsaved; otherwise nothing changes.
// Returns what edit returned.
bool EditInteractiveApplications(SVGTree& tree, const SVGApplications& apps,
                                 const std::function<bool(StringDict& appDict, bool bSVG)>& edit);
