#pragma once

#include <functional>

#include <QSize>
#include <QString>

#include "SVGDisplay.h"

class SVGApplications;
class SVGTree;

// The pixel size of a picture file. Raises an AppError when the file cannot be
// loaded as a picture. The program gives the drawing its picture loader here,
// so that the drawing itself needs no image library.
using PictureSizeFn = std::function<QSize(const QString& sFile)>;

// What the drawing of one chart body works with: the tree (its display, place
// keys, settings and reporter), the chart writer the elements go to, the
// applications definitions that decide whether boxes and circles are
// clickable (none: nothing is), and the picture loader that sizes a person's
// own picture (none: such a picture counts as one that cannot be loaded).
struct ChartDrawContext {
    SVGTree& tree;
    SVGDisplay::ChartWriter& out;
    const SVGApplications* apps = nullptr;
    PictureSizeFn pictureSize;

    // True when at least one enabled application valid in this kind of chart
    // exists: boxes, pictures, buttons and circles then carry click handlers.
    bool clickable() const;
};
