#include "ChartDrawContext.h"

#include "SVGApplications.h"
#include "SVGTree.h"

bool ChartDrawContext::clickable() const {
    const StringDict* appDict = tree.GetAppDict();
    return apps && appDict && apps->iCountValidApps(*appDict, tree.GetDisplay()->GetSVGFile()) > 0;
}
