#pragma once

#include <QString>

#include "foundation/OrderedDict.h"

class SVGDisplay;
class SVGTree;

// The variables of a header template, written "??" + name + "??" in its lines
// and in the code the interactive applications contribute. One dictionary is
// built for each chart file, from the display settings, the far edges of the
// drawing and the current viewpoint. Some variables hold "" or "//**//": a
// substituted line that then starts with "//**//" is left out of the chart.
class HeaderVariables {
public:
    // The variables for the tree's current state and current viewpoint.
    static StringDict BuildHeaderVars(const SVGTree& oTree);
    // The line with every "??name??" whose name is a variable replaced by its
    // value; unknown names keep their markers. Values are not scanned again.
    static QString sSubstituteVars(const QString& sLine, const StringDict& oVars);
    // SVG path data of one corner button ("TR", "TL", "BR" or "BL") in the
    // button's own coordinates; with rounded buttons the named corner is cut
    // by an arc. Any other corner text gives an empty path.
    static QString sCornerClipPath(const SVGDisplay& oDispl, const QString& sCorner);
};
