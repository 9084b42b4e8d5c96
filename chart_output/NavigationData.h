#pragma once

#include "SVGDisplay.h"

class SVGTree;

// The navigation data of a chart: one script element describing the persons
// and families in view by position (keys, sexes, parents, spouses, children,
// personal names) with the chart's colours and sizes, registered in the
// page's nd_index under the chart's instance letter for the support scripts.
//
// A relative that lies outside the view has no position: a birth family out
// of view is written -1, a spousal family or child out of view is left out,
// and a parent out of view is written -1.
class NavigationData {
public:
    NavigationData(const SVGTree& oTree, SVGDisplay::ChartWriter& oOut);

    void GenerateNavData();

private:
    void write(const QString& sText);
    void add(const QString& sText);

    const SVGTree& tree_;
    SVGDisplay::ChartWriter& out_;
};
