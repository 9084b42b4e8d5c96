#include "DesignerMenuCommands.h"

#include "GridModel.h"
#include "applications/SVGApplications.h"
#include "tree_model/SVGDisplay.h"
#include "tree_model/SVGTree.h"

QList<int> SelectAll(GridModel& model) {
    QList<int> cells;
    PersonDict scratch;
    const PersonDict& persons = model.tree()->GetViewPersons(scratch);
    for (const auto& kv : persons)
        if (const int cell = model.SelectPerson(kv.first)) cells.append(cell);
    return cells;
}

void ShowAllChildLinks(GridModel& model, bool show) {
    LinkRecords& records = model.records();
    for (int i = 1; i <= records.familyUpperBound(); ++i)
        if (records.family(i).inUse()) records.setChildrenHidden(i, !show);
}

bool EditInteractiveApplications(SVGTree& tree, const SVGApplications& apps,
                                 const std::function<bool(StringDict& appDict, bool bSVG)>& edit) {
    StringDict made;
    StringDict* appDict = tree.GetAppDict();
    if (!appDict) {
        // A tree whose load did not finish has no set yet: its settings say
        // what is enabled. The tree takes the set only when it is confirmed.
        made = apps.Load(tree.GetSettings());
        appDict = &made;
    }
    if (!edit(*appDict, tree.GetDisplay()->GetSVGFile())) return false;
    if (appDict == &made) {
        tree.SetAppDict(made);
        appDict = tree.GetAppDict();
    }
    tree.SetUnsaved(true);
    apps.SynchSettingsWithDict(*appDict, tree.GetSettings());
    return true;
}
