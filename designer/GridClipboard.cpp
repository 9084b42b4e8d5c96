#include "GridClipboard.h"

#include <algorithm>

#include "GridModel.h"
#include "foundation/AppError.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"
#include "tree_model/SVGTree.h"

namespace {
const QString kSource = QStringLiteral("FormGrid");
// A person the viewpoint still shows in a family cannot leave it.
constexpr int kStillLinked = 518;

QStringList splitKeys(const QString& list) { return list.isEmpty() ? QStringList() : list.split(u','); }
}  // namespace

void GridChanges::cell(int iCell, const QString& sPreferred) {
    if (iCell <= 0) return;
    if (!sPreferred.isEmpty() || !cells.contains(iCell)) cells.insert(iCell, sPreferred);
}

GridClipboard::GridClipboard(GridModel& model) : model_(model) {}

GridChanges GridClipboard::takeChanges() {
    GridChanges out = std::move(changes_);
    changes_ = GridChanges();
    return out;
}

SVGTree& GridClipboard::tree() const { return *model_.tree(); }

void GridClipboard::warn(const QString& text) const {
    if (Reporter* r = model_.reporter()) r->warn(text);
}

QString GridClipboard::unknownPersonsWarning(const QString& keys) {
    return QStringLiteral("These keys name no person of the tree and were not included: ") + keys;
}

QString GridClipboard::unknownFamiliesWarning(const QString& keys) {
    return QStringLiteral("These keys name no family of the tree and were not included: ") + keys;
}

// ---- Positions

void GridClipboard::step(Running& at) const {
    const GridGeometry& g = model_.geometry();
    if (g.horiz) {
        if (++at.col > g.cols) at.col = 1;
    } else {
        if (++at.row > g.rows) at.row = 1;
    }
}

GridClipboard::Running GridClipboard::childStart(int col, int row, int back) const {
    if (model_.geometry().horiz) return {std::max(1, col - back), row + 1};
    return {col + 1, std::max(1, row - back)};
}

void GridClipboard::placePerson(const QString& key, Running& at) {
    int col = at.col, row = at.row;
    tree().SetPerColRow(key, col, row);
    const auto [oldCell, newCell] = model_.refreshPerson(key);
    changes_.cell(oldCell);
    changes_.cell(newCell);
    step(at);
}

void GridClipboard::renderKeys(const QStringList& keys) {
    for (const QString& key : keys) changes_.cell(model_.occupancy().cellOf(key), key);
}

void GridClipboard::rebuildLinks() {
    model_.UnloadLinkControls();
    model_.BuildFamilyRecords(false);
    changes_.links = true;
}

void GridClipboard::clearSelection() {
    for (int cell : model_.ClearSelection()) changes_.cell(cell);
    changes_.selection = true;
}

QString GridClipboard::sharedParent(const QString& family1, const QString& family2) const {
    const SVGFamilyPtr a = tree().GetFamilies().value(family1), b = tree().GetFamilies().value(family2);
    if (!a || !b) return QString();
    for (const SVGBoxPtr& parent : {a->GetFirstPar(), a->GetSecPar()})
        if (parent && (parent == b->GetFirstPar() || parent == b->GetSecPar())) return parent->GetKey();
    return QString();
}

// ---- Paste

void GridClipboard::paste(const QString& sText, bool bNew) {
    clearSelection();
    PasteClipboard(sText, bNew);
    model_.currentCell = -1;
}

void GridClipboard::PasteClipboard(const QString& sText, bool bNew) {
    const QString tag = sFirstLine(sText);
    Running start;
    if (!model_.geometry().GetCellColRow(model_.currentCell, start.col, start.row)) return;
    const bool viewShown = tree().GetViewpoint() != nullptr;

    if (tag == u"SVG-P") {
        QString key;
        if (!tree().Unpack1Person(sText, bNew, key)) return;
        Running at = start;
        placePerson(key, at);
        renderKeys({key});
        if (viewShown) rebuildLinks();
    } else if (tag == u"SVG-NP") {
        const QStringList keys = splitKeys(tree().UnpackNPersons(sText, bNew));
        Running at = start;
        for (const QString& key : keys) placePerson(key, at);
        renderKeys(keys);
        if (viewShown) rebuildLinks();
    } else if (tag == u"SVG-F") {
        QString keySet;
        const SVGFamilyPtr family = tree().UnpackFamily(sText, bNew, keySet);
        if (!family) return;
        const QStringList keys = splitKeys(keySet);
        const int n = int(keys.size());
        Running parents = start;
        Running children = childStart(start.col, start.row, n / 2 - 1);
        const SVGBoxPtr p1 = family->GetFirstPar(), p2 = family->GetSecPar();
        for (const QString& key : keys) {
            const bool parent = (p1 && p1->GetKey() == key) || (p2 && p2->GetKey() == key);
            placePerson(key, parent ? parents : children);
        }
        renderKeys(keys);
        const SVGViewpointPtr view = tree().GetViewpoint();
        if (view && !view->FamilyExists(family->GetKey()) && view->AddFamRef(*family))
            tree().SetPendingViewpointPFChange(view->GetKey());
        rebuildLinks();
    } else if (tag == u"SVG-NF") {
        QString personSet;
        const QStringList familyKeys = splitKeys(tree().UnpackNFamilies(sText, bNew, personSet));
        QStringList persons = splitKeys(personSet);
        QStringList parents;
        QString shared;
        for (int i = 0; i < familyKeys.size(); ++i) {
            if (i == 1) shared = sharedParent(familyKeys[0], familyKeys[1]);
            const SVGFamilyPtr family = tree().GetFamilies().value(familyKeys[i]);
            for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()}) {
                if (!parent || !persons.contains(parent->GetKey())) continue;
                if (!parents.contains(parent->GetKey())) parents.append(parent->GetKey());
                persons.removeAll(parent->GetKey());
            }
        }
        const QStringList& children = persons;
        Running parentAt = start;
        Running childAt = childStart(start.col, start.row, int(children.size() - parents.size()) / 2);
        QStringList placed;
        if (!shared.isEmpty() && parents.contains(shared)) {
            placePerson(shared, parentAt);
            placed.append(shared);
        }
        for (const QString& key : parents) {
            if (key == shared) continue;
            placePerson(key, parentAt);
            placed.append(key);
        }
        for (const QString& key : children) {
            placePerson(key, childAt);
            placed.append(key);
        }
        renderKeys(placed);
        if (const SVGViewpointPtr view = tree().GetViewpoint()) {
            for (const QString& key : familyKeys) {
                const SVGFamilyPtr family = tree().GetFamilies().value(key);
                if (!view->FamilyExists(key) && view->AddFamRef(*family))
                    tree().SetPendingViewpointPFChange(view->GetKey());
            }
        }
        rebuildLinks();
    }
}

// ---- Include

void GridClipboard::include(const QString& sText) {
    const QString tag = sFirstLine(sText);
    clearSelection();
    bool changed = false;
    if (tag == u"SVG-KP")
        IncludePersonKeys(tag, sText, changed);
    else if (tag == u"SVG-KF0" || tag == u"SVG-KF")
        IncludeFamilyKeys(tag, sText, changed);
    if (changed) rebuildLinks();
    model_.currentCell = -1;
}

void GridClipboard::IncludePersonKeys(const QString& sTag, const QString& sText, bool& bChanged) {
    (void)sTag;
    const SVGViewpointPtr view = tree().GetViewpoint();
    Running at;
    if (!view || !model_.geometry().GetCellColRow(model_.currentCell, at.col, at.row)) return;
    QString sign;
    QStringList keys, unknown;
    for (const QString& key : splitKeys(tree().UnpackKeys(sText, sign)))
        (tree().GetPersons().contains(key) ? keys : unknown).append(key);
    if (!unknown.isEmpty()) warn(unknownPersonsWarning(unknown.join(u',')));
    const bool horiz = tree().GetDisplay()->GetHoriz();
    for (const QString& key : keys) {
        if (!view->AddPerRef(key, at.col, at.row, horiz)) continue;
        step(at);
        tree().SetPendingViewpointPFChange(view->GetKey());
        bChanged = true;
    }
    for (const QString& key : keys) {
        const auto [oldCell, newCell] = model_.refreshPerson(key);
        changes_.cell(oldCell);
        changes_.cell(newCell, key);
    }
}

void GridClipboard::IncludeFamilyKeys(const QString& sTag, const QString& sText, bool& bChanged) {
    const SVGViewpointPtr view = tree().GetViewpoint();
    Running start;
    if (!view || !model_.geometry().GetCellColRow(model_.currentCell, start.col, start.row)) return;
    QString sign;
    QList<SVGFamilyPtr> families;
    QStringList unknown;
    for (const QString& key : splitKeys(tree().UnpackKeys(sText, sign))) {
        if (const SVGFamilyPtr family = tree().GetFamilies().value(key))
            families.append(family);
        else
            unknown.append(key);
    }
    if (!unknown.isEmpty()) warn(unknownFamiliesWarning(unknown.join(u',')));

    QString shared;
    int childCount = 0;
    for (int i = 0; i < families.size(); ++i) {
        if (i == 1) shared = sharedParent(families[0]->GetKey(), families[1]->GetKey());
        childCount += int(families[i]->GetChildren().size());
    }
    Running parentAt = start;
    Running childAt = childStart(start.col, start.row, (childCount - 2 * int(families.size())) / 2);
    const bool horiz = tree().GetDisplay()->GetHoriz();
    const bool withChildren = sTag == u"SVG-KF";
    QStringList added;
    auto addPerson = [&](const SVGBoxPtr& person, Running& at) {
        if (!person || !view->AddPerRef(person->GetKey(), at.col, at.row, horiz)) return;
        step(at);
        added.append(person->GetKey());
        tree().SetPendingViewpointPFChange(view->GetKey());
        bChanged = true;
    };
    if (!shared.isEmpty()) addPerson(tree().GetPersons().value(shared), parentAt);
    for (const SVGFamilyPtr& family : families) {
        addPerson(family->GetFirstPar(), parentAt);
        addPerson(family->GetSecPar(), parentAt);
        if (withChildren)
            for (const SVGBoxPtr& child : family->GetChildren()) addPerson(child, childAt);
        if (view->AddFamRef(*family)) {
            tree().SetPendingViewpointPFChange(view->GetKey());
            bChanged = true;
        }
    }
    for (const QString& key : added) {
        const auto [oldCell, newCell] = model_.refreshPerson(key);
        changes_.cell(oldCell);
        changes_.cell(newCell, key);
    }
}

// ---- Exclude

void GridClipboard::excludePersons() {
    GridSelection& selection = model_.selection();
    if (selection.count() == 1 && model_.cellOfPerson(selection.keys().front()).L != model_.currentCell) {
        warn(ambiguityWarning());
        return;
    }
    changes_.clipboard = QString();
    QStringList order, excluded;
    // Only the persons really taken out go on the clipboard, in grid order,
    // also when a refusal ends the command half-way.
    struct Publish {
        GridClipboard& self;
        QStringList& order;
        QStringList& excluded;
        ~Publish() {
            QStringList keys;
            for (const QString& key : order)
                if (excluded.contains(key)) keys.append(key);
            self.changes_.clipboard = keys.isEmpty() ? QString() : self.tree().PackKeys(QStringLiteral("SVG-KP"), keys.join(u','));
        }
    } publish{*this, order, excluded};
    if (!selection.isEmpty()) {
        order = splitKeys(model_.sSortedSelection());
        const QStringList keys = selection.keys();
        clearSelection();
        try {
            for (const QString& key : keys)
                if (bExcludePerson(key, model_.cellOfPerson(key).L)) excluded.append(key);
        } catch (...) {
            // A refusal ends the command; the links still show what left.
            if (!excluded.isEmpty()) rebuildLinks();
            throw;
        }
    } else {
        const QString key = boxTag ? boxTag(model_.currentCell) : model_.occupancy().keysAt(model_.currentCell).value(0);
        order = {key};
        if (!key.isEmpty() && bExcludePerson(key, model_.currentCell)) excluded.append(key);
    }
    rebuildLinks();
    model_.currentCell = -1;
}

bool GridClipboard::bExcludePerson(const QString& key, int iCell) {
    const SVGViewpointPtr view = tree().GetViewpoint();
    const SVGBoxPtr person = tree().GetPersons().value(key);
    if (!view || !person) return false;
    const QString shown = view->FamiliesShown(*person);
    if (!shown.isEmpty()) {
        const QString word = shown.contains(u',') ? QStringLiteral("families") : QStringLiteral("family");
        raiseError(kStillLinked, kSource,
                   QStringLiteral("Person ") + key + QStringLiteral(" is still associated with ") + word +
                       QStringLiteral(" in this viewpoint: ") + shown);
    }
    int iFamily = 0;
    if (const int child = model_.iFindChild(key, iFamily); child > 0) model_.records().freeChild(child);
    const bool removed = view->RemPerRef(key);
    if (removed) tree().SetPendingViewpointPFChange(view->GetKey());
    model_.refreshPerson(key);
    changes_.cell(iCell);
    return removed;
}

void GridClipboard::excludeFamily() {
    const SVGViewpointPtr view = tree().GetViewpoint();
    const int iFamily = model_.currentFamily;
    if (!view || iFamily < 1 || iFamily > model_.records().familyUpperBound()) return;
    clearSelection();
    const QString key = model_.records().family(iFamily).Key;
    changes_.clipboard = tree().PackKeys(QStringLiteral("SVG-KF0"), key);
    if (view->RemFamRef(key)) tree().SetPendingViewpointPFChange(view->GetKey());
    rebuildLinks();
    model_.currentFamily = -1;
}
