#pragma once

#include <QList>
#include <QString>

#include "foundation/OrderedDict.h"

class Reporter;
class SVGApplications;

// The choice behind the applications dialog: one entry per defined
// application, ticked when the tree's application dictionary (id to name)
// holds it. Accepting validates the ticked set and writes the changes into
// the dictionary; entries of the dictionary that the list does not show (such
// as services) are kept.
class ApplicationsModel {
public:
    struct Choice {
        QString id;
        QString name;
        QString descr;
        bool validSvg = false;
        bool ticked = false;
    };

    // The text reported when no application is defined.
    static const QString kNoApplications;

    explicit ApplicationsModel(const SVGApplications& apps) : apps_(apps) {}

    // Lists the applications sorted by name, ticked as appDict says. When none
    // is defined, reports kNoApplications and returns false.
    bool load(const StringDict& appDict, bool svgFile, Reporter& reporter);

    int count() const { return static_cast<int>(choices_.size()); }
    const Choice& choice(int index) const { return choices_[index]; }
    void setTicked(int index, bool ticked) { choices_[index].ticked = ticked; }
    // Marked (in red) when the chart is an SVG file and the entry works only in HTML pages.
    bool isMarked(int index) const { return svgFile_ && !choices_[index].validSvg; }
    // The entry's click operations, one per line, or "(none)".
    QString helpText(int index) const;

    // The ticked entries in list order, id to name.
    StringDict tickedSet() const;
    // Validates the ticked set (reporting each problem); when it is clean,
    // adds the newly ticked entries to appDict, removes the unticked ones and
    // returns true. On conflicts appDict is left as it is and false returned.
    bool accept(StringDict& appDict, Reporter& reporter) const;

private:
    const SVGApplications& apps_;
    QList<Choice> choices_;
    bool svgFile_ = false;
};
