#pragma once

#include <QList>
#include <QString>

#include "DesignerMenuState.h"
#include "FindPersonFilter.h"
#include "FindPersonList.h"

class SVGTree;

// The person search behind the designer's Find Person: the persons of the
// whole tree narrowed by a partial name or key, the person picked, and the
// view in which the designer is to show that person. The dialog window
// (FormFindPerson) copies its controls to this model and back.
class FindPersonModel {
public:
    FindPersonModel();

    // Takes the tree and lists its persons for an empty partial text by
    // name: nothing is picked, and the view to switch to is the one shown.
    void open(const SVGTree& tree);
    // Forgets the tree and empties the lists (the dialog has closed).
    void close();

    FindPersonList& list() { return list_; }
    FindPersonFilter& filter() { return filter_; }

    // The partial text or the mode changed: the list is filtered again.
    void setPartialName(const QString& partial);
    void setByKey(bool byKey);
    const QString& partialName() const { return filter_.partialName(); }
    bool byKey() const { return list_.byKey(); }

    // A left click on a shown row: a person inside the viewpoint is picked
    // and true returned (the dialog closes); a person outside it (red) cannot
    // be picked this way.
    bool clickRow(int row);
    // A right click on a shown row: the person is picked, and the menu to
    // offer is "(Full Tree)" then each viewpoint that holds the person (its
    // key and name), in the tree's order. A row of -1 offers nothing.
    QList<ViewpointMenuEntry> viewpointMenu(int row);
    // The entry of that menu chosen (1 for "(Full Tree)"): the view to switch to.
    void chooseViewpoint(int id);
    // The close box: nothing is picked.
    void closeBox() { chosen_.clear(); }

    QString chosenKey() const { return chosen_; }
    QString newViewpoint() const { return newView_; }

private:
    const SVGTree* tree_ = nullptr;
    FindPersonList list_;
    FindPersonFilter filter_;
    QString chosen_;
    QString newView_;
    QStringList menuKeys_;
};
