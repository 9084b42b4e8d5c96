#include "DesignerCommands.h"

#include <exception>

#include <QSet>

#include "GridModel.h"
#include "foundation/AppError.h"
#include "foundation/StringSets.h"
#include "tree_model/SVGTree.h"

namespace {
const QString kSource = QStringLiteral("FormGrid");
// A person who is still a parent cannot be deleted.
constexpr int kStillLinked = 518;

SVGFamilyPtr familyOf(const SVGTree& tree, const QString& key) {
    const SVGFamilyPtr family = tree.GetFamilies().value(key);
    if (!family)
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The specified key name is not in use for any family: ") + key);
    return family;
}

SVGBoxPtr personOf(const SVGTree& tree, const QString& key) {
    const SVGBoxPtr person = tree.GetPersons().value(key);
    if (!person)
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("The specified key name is not in use for any person: ") + key);
    return person;
}

// Clears the scope's depth also when the body throws.
struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
};
}  // namespace

DesignerCommands::DesignerCommands(GridModel& model, DesignerHost& host) : model_(model), host_(host) {}

SVGTree& DesignerCommands::tree() const { return *model_.tree(); }

// ---- The command scope

void DesignerCommands::run(const std::function<void()>& body, bool bEvents) {
    if (depth_ > 0) {
        body();
        return;
    }
    QString error;
    bool failed = false;
    {
        Depth depth(depth_);
        if (bEvents) tree().ClearPendingEvents();
        try {
            body();
        } catch (const AppError& e) {
            failed = e.number != kCancelErrorNumber;
            error = e.description;
        } catch (const std::exception& e) {
            failed = true;
            error = QString::fromLocal8Bit(e.what());
        }
        flush();
        if (failed) {
            host_.reportError(error);
            ResetInteraction();
            flush();
        }
    }
    if (!bEvents) return;
    try {
        tree().RaisePendingEvents();
    } catch (const AppError& e) {
        host_.reportError(e.description);
    }
}

void DesignerCommands::flush() {
    if (redraw_.isEmpty()) return;
    const GridRedraw changes = std::move(redraw_);
    redraw_ = GridRedraw();
    host_.redraw(changes);
}

// ---- Cells

QString DesignerCommands::boxTag(int iCell) const {
    if (QString key; host_.shownPerson(iCell, key)) return key;
    const QStringList& keys = model_.occupancy().keysAt(iCell);
    if (keys.isEmpty()) return QString();
    const auto it = shown_.constFind(iCell);
    if (it != shown_.constEnd() && keys.contains(*it)) return *it;
    return keys.first();
}

bool DesignerCommands::isOccupied(int iCell) const { return model_.occupancy().isOccupied(iCell); }

bool DesignerCommands::isShared(int iCell) const { return model_.occupancy().keysAt(iCell).size() > 1; }

void DesignerCommands::renderCell(int iCell, const QString& sPreferred) {
    if (iCell <= 0) return;
    if (sPreferred.isEmpty())
        shown_.remove(iCell);
    else
        shown_.insert(iCell, sPreferred);
    redraw_.cell(iCell, sPreferred);
}

// ---- Selection and interaction state

void DesignerCommands::ClearSelection() {
    for (int cell : model_.ClearSelection()) redraw_.cell(cell, shown_.value(cell));
}

void DesignerCommands::ToggleSelect(const QString& key) {
    if (const int cell = model_.ToggleSelect(key)) redraw_.cell(cell, shown_.value(cell));
}

void DesignerCommands::SelectPerson(const QString& key) {
    if (const int cell = model_.SelectPerson(key)) redraw_.cell(cell, shown_.value(cell));
}

void DesignerCommands::ResetInteraction() {
    if (onReset) onReset();
    ClearSelection();
    model_.currentCell = -1;
    model_.currentFamily = -1;
    model_.records().scratchChild().iFamily = 0;
}

// ---- Moving persons

void DesignerCommands::MovePersonToCell(const QString& key, int iOldCell, int iOldCol, int iOldRow, int iNewCell,
                                        int iNewCol, int iNewRow, bool bRaiseDetails) {
    (void)iOldCol;
    (void)iOldRow;
    SVGTree& t = tree();
    t.SetUnsaved(true);
    int col = iNewCol, row = iNewRow;
    t.SetPerColRow(key, col, row);
    int family = 0;
    if (const int child = model_.iFindChild(key, family); child > 0) {
        model_.records().setChildCell(child, {iNewCell, iNewCol, iNewRow});
        redraw_.childLines.insert(child);
    }
    for (int f : model_.RedrawPersonLinks(key, iNewCell, iNewCol, iNewRow)) drawFamilyWithChildren(f);
    model_.refreshPerson(key);
    renderCell(iNewCell, key);
    if (iOldCell != iNewCell) renderCell(iOldCell);
    if (bRaiseDetails) t.RaisePersonDetails(key);
}

void DesignerCommands::drawFamilyWithChildren(int iFamily) {
    redraw_.families.insert(iFamily);
    for (int child : model_.records().childrenOfFamily(iFamily)) redraw_.childLines.insert(child);
}

void DesignerCommands::dropPerson(int iTarget) {
    const int source = model_.currentCell;
    if (source <= 0 || iTarget <= 0 || source == iTarget) return;
    const QString key = boxTag(source);
    if (key.isEmpty()) return;
    const GridGeometry& g = model_.geometry();
    int cS = 0, rS = 0, cT = 0, rT = 0;
    g.GetCellColRow(source, cS, rS);
    g.GetCellColRow(iTarget, cT, rT);
    if (!model_.selection().contains(key)) {
        MovePersonToCell(key, source, cS, rS, iTarget, cT, rT);
    } else {
        const int dc = cT - cS, dr = rT - rS;
        // In a stepped chart every other row (column) stands half a cell
        // further on: a move between rows (columns) of different parity
        // corrects the persons whose own parity would change their offset,
        // so that the group keeps its shape and the dragged person lands on
        // the target.
        const auto correction = [&](int col, int row) {
            if (!g.stepped) return 0;
            const int from = g.horiz ? rS : cS, to = g.horiz ? rT : cT;
            const int own = g.horiz ? row : col;
            if (from % 2 == 1 && to % 2 == 0) return own % 2 == 0 ? 1 : 0;
            if (from % 2 == 0 && to % 2 == 1) return own % 2 == 1 ? -1 : 0;
            return 0;
        };
        struct Move {
            QString key;
            CellRef from, to;
        };
        QList<Move> moves;
        const QStringList keys = model_.selection().keys();
        moves.reserve(keys.size());
        for (const QString& k : keys) {
            const CellRef from = model_.cellOfPerson(k);
            int col = from.C + dc, row = from.R + dr;
            if (g.horiz)
                col += correction(from.C, from.R);
            else
                row += correction(from.C, from.R);
            if (col < 1 || col > g.cols || row < 1 || row > g.rows) return;
            moves.append({k, from, g.cellRef(col, row)});
        }
        for (const Move& m : moves) MovePersonToCell(m.key, m.from.L, m.from.C, m.from.R, m.to.L, m.to.C, m.to.R, false);
        redraw_.selection = true;
        tree().RaisePersonDetails(key);
    }
    redraw_.refresh = true;
    model_.currentCell = -1;
}

// ---- Spouses

QString DesignerCommands::iFamilyOfCouple(int iCell1, int iCell2) const {
    const QString a = boxTag(iCell1), b = boxTag(iCell2);
    const SVGBoxPtr first = tree().GetPersons().value(a);
    if (!first) return QString();
    const FamilyDict& families = tree().GetFamilies();
    QString found;
    int foundAt = -1;
    for (const QString& key : first->GetFamKeys().keys()) {
        const SVGFamilyPtr family = families.value(key);
        if (!family || !family->GetFirstPar() || !family->GetSecPar()) continue;
        const QString p1 = family->GetFirstPar()->GetKey(), p2 = family->GetSecPar()->GetKey();
        if (!((p1 == a && p2 == b) || (p1 == b && p2 == a))) continue;
        const int at = families.indexOf(key);
        if (foundAt < 0 || at < foundAt) {
            found = key;
            foundAt = at;
        }
    }
    return found;
}

void DesignerCommands::linkSpouses(int iStart, int iTarget) {
    if (iTarget <= 0 || !isOccupied(iTarget)) return;
    if (iTarget == iStart) {
        host_.warn(QStringLiteral("The two spouses must be distinct from each other"));
        return;
    }
    if (isShared(iStart) || isShared(iTarget)) {
        host_.warn(QStringLiteral("Ambiguous spouse"));
        return;
    }
    const QString paired = iFamilyOfCouple(iStart, iTarget);
    if (!paired.isEmpty()) {
        host_.warn(QStringLiteral("These spouses are already paired in family ") + paired);
        return;
    }
    SVGTree& t = tree();
    const QString key = host_.CreateFamily(t, boxTag(iStart), boxTag(iTarget));
    if (key.isEmpty()) return;
    if (const SVGViewpointPtr view = t.GetViewpoint()) {
        const SVGFamilyPtr family = familyOf(t, key);
        if (view->AddFamRef(*family)) t.SetPendingViewpointPFChange(view->GetKey());
    }
    addFamilyRecords(key);
    t.SetUnsaved(true);
}

std::function<void()> DesignerCommands::spouseGroupsChanging(const QStringList& persons) {
    const PersonDict& all = tree().GetPersons();
    QSet<QString> group;
    for (const QString& key : persons)
        if (const SVGBoxPtr p = all.value(key))
            for (const QString& k : p->GetRelatedSpouses().split(u',', Qt::SkipEmptyParts)) group.insert(k);
    for (const QString& k : group)
        if (const SVGBoxPtr p = all.value(k)) p->ResetRelatedSpouses();
    return [this, group] {
        LinkRecords& records = model_.records();
        const PersonDict& all = tree().GetPersons();
        QSet<int> seen;
        for (const QString& k : group) {
            for (int f : records.familiesOfParent(k)) {
                if (seen.contains(f)) continue;
                seen.insert(f);
                const SVGBoxPtr first = all.value(records.family(f).Key1);
                const bool related = first && iSetCount(first->GetRelatedSpouses(), QStringLiteral(",")) >= 3;
                if (related == records.family(f).bRelatedSpouses) continue;
                records.setRelatedSpouses(f, related);
                drawFamilyWithChildren(f);
            }
        }
    };
}

void DesignerCommands::addFamilyRecords(const QString& key) {
    const SVGFamilyPtr family = familyOf(tree(), key);
    QStringList parents;
    for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()})
        if (parent) parents << parent->GetKey();
    const auto recompute = spouseGroupsChanging(parents);
    const int i = model_.AddFamilyRecord(key, *family);
    if (i > 0) {
        bool missing = false;
        for (const SVGBoxPtr& child : family->GetChildren()) {
            if (child && model_.occupancy().cellOf(child->GetKey()) > 0)
                model_.AddChildRecord(i, *child);
            else
                missing = true;
        }
        if (missing) model_.records().setMoreChildren2(i, true);
        drawFamilyWithChildren(i);
    }
    recompute();
}

// ---- Children

bool DesignerCommands::isAncestor(const QString& ancestor, const QString& person) const {
    const SVGTree& t = tree();
    const FamilyDict& families = t.GetFamilies();
    QSet<QString> seen;
    QStringList todo{person};
    while (!todo.isEmpty()) {
        const QString key = todo.takeLast();
        for (const QString& fam : t.ChildFamilies(key)) {
            const SVGFamilyPtr family = families.value(fam);
            if (!family) continue;
            for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()}) {
                if (!parent) continue;
                const QString p = parent->GetKey();
                if (p == ancestor) return true;
                if (!seen.contains(p)) {
                    seen.insert(p);
                    todo.append(p);
                }
            }
        }
    }
    return false;
}

QString DesignerCommands::childRefusal(const QString& childKey, const QString& familyKey, bool bHasFamily) const {
    const SVGFamilyPtr family = familyOf(tree(), familyKey);
    QStringList parents;
    for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()})
        if (parent) parents << parent->GetKey();
    if (parents.contains(childKey)) return QStringLiteral("Child must be distinct from parents");
    const QString current = bHasFamily ? QString() : tree().ChildFamily(childKey);
    if (!current.isEmpty())
        return QStringLiteral("Child ") + childKey + QStringLiteral(" is already associated with family ") + current;
    for (const QString& parent : parents)
        if (isAncestor(childKey, parent))
            return QStringLiteral("Child ") + childKey + QStringLiteral(" is an ancestor of ") + parent +
                   QStringLiteral(", a parent of family ") + familyKey;
    return QString();
}

void DesignerCommands::endChildLineDrag(int iChild, bool bChildEnd, QPointF at) {
    LinkRecords& records = model_.records();
    const int f = records.child(iChild).iFamily;
    if (f <= 0 || !records.family(f).inUse()) return;
    SVGTree& t = tree();
    const FamilyRecord family = records.family(f);
    const QString familyKey = family.Key;
    if (!bChildEnd) {
        // The family end: the child moves to the family whose circle it was dropped on.
        const int g = model_.iCircleAtPoint(at.x(), at.y());
        if (g == 0 || g == f) return;
        const QString childKey = records.child(iChild).Key;
        const QString newKey = records.family(g).Key;
        const SVGFamilyPtr oldFamily = familyOf(t, familyKey), newFamily = familyOf(t, newKey);
        const SVGBoxPtr child = personOf(t, childKey);
        // The child leaves its family for the new one: only the new family's
        // parents and lineage can refuse it.
        QString refusal;
        if (newFamily->ChildExists(childKey))
            refusal = QStringLiteral("Child ") + childKey + QStringLiteral(" is already associated with family ") + newKey;
        else
            refusal = childRefusal(childKey, newKey, true);
        if (!refusal.isEmpty()) {
            host_.warn(refusal);
            return;
        }
        oldFamily->RemChild(child);
        newFamily->AddChild(child);
        records.setChildFamily(iChild, g);
        redraw_.childLines.insert(iChild);
        t.SetUnsaved(true);
        t.RaiseFamilyDetails(familyKey);
        t.RaiseFamilyDetails(newKey);
        return;
    }
    // The child end: the person of the cell becomes the child.
    const int c = model_.iCellAtPoint(at.x(), at.y());
    if (c == 0 || !isOccupied(c)) return;
    if (isShared(c)) {
        host_.warn(QStringLiteral("Ambiguous child"));
        return;
    }
    if (c == family.LCR1.L || c == family.LCR2.L) {
        host_.warn(QStringLiteral("Child must be distinct from parents"));
        return;
    }
    if (iChild != 0 && c == records.child(iChild).LCR.L) return;
    const QString key = boxTag(c);
    int h = 0;
    model_.iFindChild(key, h);
    if (h != 0) {
        host_.warn(QStringLiteral("Child ") + key + QStringLiteral(" is already associated with family ") +
                   records.family(h).Key);
        return;
    }
    if (const QString refusal = childRefusal(key, familyKey, false); !refusal.isEmpty()) {
        host_.warn(refusal);
        return;
    }
    const SVGFamilyPtr oFam = familyOf(t, familyKey);
    const SVGBoxPtr person = personOf(t, key);
    if (iChild != 0) {
        oFam->RemChild(personOf(t, records.child(iChild).Key));
        oFam->AddChild(person);
        records.setChildPerson(iChild, key, model_.cellOfPerson(key), person->GetTentative());
        redraw_.childLines.insert(iChild);
    } else {
        oFam->AddChild(person);
        records.scratchChild().iFamily = 0;
        redraw_.childLines.insert(model_.AddChildRecord(f, *person));
    }
    t.SetUnsaved(true);
    t.RaiseFamilyDetails(familyKey);
}

// ---- Popup entries

void DesignerCommands::runPopupItem(const QString& name) {
    static const QHash<QString, void (DesignerCommands::*)()> kCommands = {
        {QStringLiteral("mnuCreatePerson"), &DesignerCommands::mnuCreatePerson_Click},
        {QStringLiteral("mnuEditPerson"), &DesignerCommands::mnuEditPerson_Click},
        {QStringLiteral("mnuDeletePerson"), &DesignerCommands::mnuDeletePerson_Click},
        {QStringLiteral("mnuCopyPerson"), &DesignerCommands::mnuCopyPerson_Click},
        {QStringLiteral("mnuUnlinkChild"), &DesignerCommands::mnuUnlinkChild_Click},
        {QStringLiteral("mnuEditFamily"), &DesignerCommands::mnuEditFamily_Click},
        {QStringLiteral("mnuDeleteFamily"), &DesignerCommands::mnuDeleteFamily_Click},
        {QStringLiteral("mnuCopyFamily"), &DesignerCommands::mnuCopyFamily_Click},
        {QStringLiteral("mnuShowHideChildLinks"), &DesignerCommands::mnuShowHideChildLinks_Click},
        {QStringLiteral("mnuToggleChildSelect"), &DesignerCommands::mnuToggleChildSelect_Click},
    };
    if (const auto it = kCommands.constFind(name); it != kCommands.constEnd()) {
        (this->*it.value())();
        return;
    }
    if (const auto other = otherCommands.constFind(name); other != otherCommands.constEnd() && *other)
        run(*other);
}

void DesignerCommands::mnuCreatePerson_Click() {
    run([this] {
        ClearSelection();
        SVGTree& t = tree();
        const QString key = host_.CreateBox(t);
        if (!key.isEmpty()) {
            int col = 0, row = 0;
            if (model_.geometry().GetCellColRow(model_.currentCell, col, row)) {
                t.SetPerColRow(key, col, row);
                model_.refreshPerson(key);
                renderCell(model_.currentCell, key);
            }
        }
        model_.currentCell = -1;
    });
}

void DesignerCommands::mnuEditPerson_Click() {
    run([this] {
        ClearSelection();
        SVGTree& t = tree();
        const SVGBoxPtr oldRoot = t.GetRootPerson();
        const int cell = model_.currentCell;
        const QString key = boxTag(cell);
        if (key.isEmpty()) return;
        if (host_.EditBox(t, key)) {
            const SVGBoxPtr newRoot = t.GetRootPerson();
            if (oldRoot && newRoot.get() != oldRoot.get()) {
                const QString oldKey = oldRoot->GetKey();
                renderCell(model_.cellOfPerson(oldKey).L, oldKey);
            }
            renderCell(cell, key);
            int family = 0;
            if (const int child = model_.iFindChild(key, family); child > 0) {
                model_.records().setChildTentative(child, personOf(t, key)->GetTentative());
                redraw_.childLines.insert(child);
            }
            t.RaisePersonDetails(key);
        }
        model_.currentCell = -1;
    });
}

void DesignerCommands::mnuDeletePerson_Click() {
    run([this] {
        const int n = model_.selection().count();
        if (n == 1 && model_.cellOfPerson(model_.selection().keys().first()).L != model_.currentCell) {
            host_.warn(QStringLiteral("Ambiguity between selected person and current person"));
            return;
        }
        if (n >= 1) {
            if (!host_.askYesNo(QStringLiteral("Are you sure you want to delete the selected persons?"))) return;
            const QStringList keys = model_.selection().keys();
            ClearSelection();
            for (const QString& key : keys) bDeletePerson(key, model_.cellOfPerson(key).L);
        } else {
            const QString key = boxTag(model_.currentCell);
            if (key.isEmpty()) return;
            if (!host_.askYesNo(QStringLiteral("Are you sure you want to delete person ") + key + QStringLiteral("?")))
                return;
            bDeletePerson(key, model_.currentCell);
        }
        model_.currentCell = -1;
    });
}

bool DesignerCommands::bDeletePerson(const QString& key, int iCell) {
    SVGTree& t = tree();
    const SVGBoxPtr person = personOf(t, key);
    const QString fams = person->GetFamSet();
    if (!fams.isEmpty()) {
        const QString w = iSetCount(fams, QStringLiteral(",")) > 1 ? QStringLiteral("families") : QStringLiteral("family");
        raiseError(kStillLinked, kSource,
                   QStringLiteral("Person ") + key + QStringLiteral(" is still associated with ") + w +
                       QStringLiteral(": ") + fams);
    }
    // Its child lines go, and it leaves every family of the tree that has it
    // as a child, shown or not: the saved file must not name a person that
    // is gone.
    LinkRecords& records = model_.records();
    for (int family = 0, child = model_.iFindChild(key, family); child > 0; child = model_.iFindChild(key, family)) {
        records.freeChild(child);
        redraw_.childLines.insert(child);
    }
    for (const QString& fam : t.ChildFamilies(key))
        if (const SVGFamilyPtr family = t.GetFamilies().value(fam)) family->RemChild(person);
    if (key == t.GetDisplay()->GetRootKey()) t.SetRootPerson(nullptr);
    t.RemPerson(key);
    model_.selection().remove(key);
    model_.refreshPerson(key);
    renderCell(iCell);
    return true;
}

void DesignerCommands::mnuCopyPerson_Click() {
    run([this] {
        const int n = model_.selection().count();
        if (n == 1 && model_.cellOfPerson(model_.selection().keys().first()).L != model_.currentCell) {
            host_.warn(QStringLiteral("Ambiguity between selected person and current person"));
            return;
        }
        SVGTree& t = tree();
        QString text;
        if (n == 0) {
            const QString key = boxTag(model_.currentCell);
            if (key.isEmpty()) return;
            text = t.Pack1Person(*personOf(t, key));
        } else {
            text = t.PackNPersons(model_.sSortedSelection());
            ClearSelection();
        }
        host_.setClipboardText(text);
        model_.currentCell = -1;
    });
}

void DesignerCommands::mnuUnlinkChild_Click() {
    run([this] {
        const QString key = boxTag(model_.currentCell);
        int f = 0;
        const int i = model_.iFindChild(key, f);
        if (f == 0) {
            host_.warn(QStringLiteral("Person ") + key + QStringLiteral(" is not associated with a family"));
            return;
        }
        SVGTree& t = tree();
        LinkRecords& records = model_.records();
        const QString familyKey = records.family(f).Key;
        familyOf(t, familyKey)->RemChild(personOf(t, records.child(i).Key));
        records.freeChild(i);
        redraw_.childLines.insert(i);
        t.SetUnsaved(true);
        t.RaiseFamilyDetails(familyKey);
    });
}

// ---- Family commands

void DesignerCommands::mnuEditFamily_Click() {
    run([this] {
        ClearSelection();
        const int current = model_.currentFamily;
        if (current <= 0 || !model_.records().family(current).inUse()) return;
        SVGTree& t = tree();
        const QString key = model_.records().family(current).Key;
        QString childSet;
        const bool ok = host_.EditFamily(t, key, childSet);
        if (ok) {
            const SVGFamilyPtr family = familyOf(t, key);
            model_.records().setFamilyFlags(current, family->GetMoreChildren(), family->GetLiaison());
            redraw_.families.insert(current);
            t.RaiseFamilyDetails(key);
        }
        if (!childSet.isEmpty()) {
            for (const QString& child : childSet.split(u',', Qt::SkipEmptyParts)) {
                const SVGBoxPtr person = t.GetPersons().value(child);
                if (!person) continue;
                // A child outside the view shown has no box and no line.
                const int cell = model_.cellOfPerson(child).L;
                if (cell > 0 && model_.occupancy().keysAt(cell).contains(child)) renderCell(cell, child);
                int f = 0;
                if (const int record = model_.iFindChild(child, f); record > 0) {
                    model_.records().setChildTentative(record, person->GetTentative());
                    redraw_.childLines.insert(record);
                }
            }
        }
        model_.currentFamily = -1;
    });
}

void DesignerCommands::mnuDeleteFamily_Click() {
    run([this] {
        const int current = model_.currentFamily;
        if (current <= 0 || !model_.records().family(current).inUse()) return;
        if (!host_.askYesNo(QStringLiteral("Are you sure you want to delete this family relationship?"))) return;
        ClearSelection();
        SVGTree& t = tree();
        const QString key = model_.records().family(current).Key;
        const SVGFamilyPtr family = familyOf(t, key);
        // Checked before anything changes, so that the family goes with its
        // child links or stays as it was.
        for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()})
            if (parent && !parent->GetFamKeys().contains(key))
                raiseError(ErrorOffset::InvalidKey, QStringLiteral("SVGBox"),
                           QStringLiteral("Person ") + parent->GetKey() +
                               QStringLiteral(" is not associated with family ") + key);
        QStringList parents;
        for (const SVGBoxPtr& parent : {family->GetFirstPar(), family->GetSecPar()})
            if (parent) parents << parent->GetKey();
        const auto recompute = spouseGroupsChanging(parents);
        family->RemAllChildren();
        const SVGBoxPtr first = family->GetFirstPar(), second = family->GetSecPar();
        if (first) first->RemFamSet(key);
        if (second && second != first) second->RemFamSet(key);
        t.RemFamily(key);
        LinkRecords& records = model_.records();
        for (int child : records.childrenOfFamily(current)) {
            records.freeChild(child);
            redraw_.childLines.insert(child);
        }
        records.freeFamily(current);
        redraw_.families.insert(current);
        recompute();
        model_.currentFamily = -1;
    });
}

void DesignerCommands::mnuCopyFamily_Click() {
    run([this] {
        ClearSelection();
        const int current = model_.currentFamily;
        if (current <= 0 || !model_.records().family(current).inUse()) return;
        SVGTree& t = tree();
        const QString text = t.Pack1Family(*familyOf(t, model_.records().family(current).Key));
        host_.setClipboardText(text);
        model_.currentFamily = -1;
    });
}

void DesignerCommands::mnuShowHideChildLinks_Click() {
    run([this] {
        const int current = model_.currentFamily;
        if (current <= 0 || !model_.records().family(current).inUse()) return;
        const bool hidden = model_.records().family(current).bChildrenHidden;
        model_.records().setChildrenHidden(current, !hidden);
        drawFamilyWithChildren(current);
    });
}

void DesignerCommands::mnuToggleChildSelect_Click() {
    run([this] {
        const int current = model_.currentFamily;
        if (current <= 0 || !model_.records().family(current).inUse()) return;
        const SVGFamilyPtr family = familyOf(tree(), model_.records().family(current).Key);
        for (const SVGBoxPtr& child : family->GetChildren())
            if (child) ToggleSelect(child->GetKey());
        model_.currentFamily = -1;
    });
}
