#include "GEDControlClass.h"

QString GEDControlClass::sDateGED2SVG(const QString& sDateString) { return sDateString; }

QString GEDControlClass::sDateSVG2GED(const QString& sDateString) const { return sDateString; }
