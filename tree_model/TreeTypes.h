#pragma once

#include <memory>


#include "PointerList.h"
#include "foundation/OrderedDict.h"

class SVGBox;
class SVGFamily;
class SVGViewpointClass;

// Persons, families and viewpoints are shared: the tree holds the lasting
// reference, callers may keep one while they work on an object.
using SVGBoxPtr = std::shared_ptr<SVGBox>;
using SVGFamilyPtr = std::shared_ptr<SVGFamily>;
using SVGViewpointPtr = std::shared_ptr<SVGViewpointClass>;

using PersonDict = OrderedDict<SVGBoxPtr>;
using FamilyDict = OrderedDict<SVGFamilyPtr>;
using ViewpointDict = OrderedDict<SVGViewpointPtr>;

// The viewpoints that hold a person or family: mostly none or one.
using ViewpointList = PointerList<const SVGViewpointClass*>;
