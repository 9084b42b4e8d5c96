#include "DesignerMenuCommands.h"

#include "GridModel.h"
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
