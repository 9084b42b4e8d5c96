#include "ApplicationsModel.h"

#include <QStringList>

#include "Reporter.h"
#include "SVGApplications.h"

const QString ApplicationsModel::kNoApplications = QStringLiteral("No applications or services defined");

bool ApplicationsModel::load(const StringDict& appDict, bool svgFile, Reporter& reporter) {
    choices_.clear();
    svgFile_ = svgFile;
    if (apps_.TotalApps() <= 0) {
        reporter.warn(kNoApplications);
        return false;
    }
    QStringList ids;
    QStringList names;
    QStringList descrs;
    QList<bool> validSvg;
    apps_.GetAppList(ids, names, descrs, validSvg);
    for (int i = 0; i < ids.size(); ++i)
        choices_.append({ids[i], names.value(i), descrs.value(i), validSvg.value(i), appDict.contains(ids[i])});
    return true;
}

QString ApplicationsModel::helpText(int index) const { return apps_.GetRequiredClicks(choices_[index].id); }

StringDict ApplicationsModel::tickedSet() const {
    StringDict set;
    for (const Choice& c : choices_)
        if (c.ticked) set.add(c.id, c.name);
    return set;
}

bool ApplicationsModel::accept(StringDict& appDict, Reporter& reporter) const {
    if (apps_.Validate(tickedSet(), svgFile_, reporter) > 0) return false;
    for (const Choice& c : choices_) {
        if (c.ticked && !appDict.contains(c.id))
            appDict.add(c.id, c.name);
        else if (!c.ticked && appDict.contains(c.id))
            appDict.remove(c.id);
    }
    return true;
}
