#include "GEDLayout.h"

#include <algorithm>

#include "AppError.h"
#include "GEDDocClass.h"
#include "GEDIndiClass.h"
#include "GEDStore.h"

namespace {

// The layout's errors: a lineage loop, and a grid too large for a tree file.
constexpr int kLayoutError = 516;
constexpr qint32 kGridLimit = 32767;
const QString kSource = QStringLiteral("GEDDocClass");

}  // namespace

void GEDDocClass::Layout() {
    if (store_->positionsComplete) return;
    // Set first: the layout runs at most once, even when it fails.
    store_->positionsComplete = true;
    GEDLayout(store_).run();
}

GEDLayout::GEDLayout(const std::shared_ptr<GEDStore>& store) : shared_(store), store_(*store) {}

void GEDLayout::run() {
    collect();
    if (personExt_.empty()) return;
    buildLineage();
    checkLoops();
    layoutRows();
    alignSpouses();
    layoutColumns();
    writeBack();
}

namespace {

// Packs lists given as (owner, item) pairs into start offsets and items,
// keeping the pairs' order within each owner.
void pack(std::size_t owners, const std::vector<std::pair<qint32, qint32>>& pairs, std::vector<qint32>& start,
          std::vector<qint32>& items) {
    start.assign(owners + 1, 0);
    for (const auto& pr : pairs) ++start[static_cast<std::size_t>(pr.first) + 1];
    for (std::size_t i = 0; i < owners; ++i) start[i + 1] += start[i];
    items.assign(pairs.size(), -1);
    std::vector<qint32> fill(start.begin(), start.end() - 1);
    for (const auto& pr : pairs) items[static_cast<std::size_t>(fill[static_cast<std::size_t>(pr.first)]++)] = pr.second;
}

}  // namespace

void GEDLayout::collect() {
    // People and families by position in document order, and the family
    // links as the store keeps them, by side-table row, turned into
    // positions; a row that is not a record's has none.
    if (!store_.links.current) store_.linkAll();
    const GEDStore::Links& links = store_.links;
    personExt_ = links.indiOrder;
    famExt_ = links.famOrder;
    personOfIndi_.assign(store_.indis.size(), -1);
    famOfExt_.assign(store_.fams.size(), -1);
    for (std::size_t p = 0; p < personExt_.size(); ++p) personOfIndi_[static_cast<std::size_t>(personExt_[p])] = static_cast<qint32>(p);
    for (std::size_t f = 0; f < famExt_.size(); ++f) famOfExt_[static_cast<std::size_t>(famExt_[f])] = static_cast<qint32>(f);

    const std::size_t people = personExt_.size();
    const std::size_t families = famExt_.size();
    famc_.assign(people, -1);
    row_.assign(people, 0);
    col_.assign(people, -1);
    visits_.assign(people, 0);
    husb_.assign(families, -1);
    wife_.assign(families, -1);

    std::vector<std::pair<qint32, qint32>> fams, children;
    fams.reserve(links.fams.size());
    children.reserve(links.children.size());
    for (std::size_t ext = 0; ext < store_.indis.size(); ++ext) {
        const qint32 p = personOfIndi_[ext];
        if (p < 0) continue;
        row_[static_cast<std::size_t>(p)] = store_.places[ext].row;
        const qint32 famc = links.famc[ext];
        if (famc >= 0) famc_[static_cast<std::size_t>(p)] = famOfExt_[static_cast<std::size_t>(famc)];
        for (qint32 i = links.famsBegin[ext]; i < links.famsEnd[ext]; ++i)
            fams.emplace_back(p, famOfExt_[static_cast<std::size_t>(links.fams[static_cast<std::size_t>(i)])]);
    }
    for (std::size_t ext = 0; ext < store_.fams.size(); ++ext) {
        const qint32 f = famOfExt_[ext];
        if (f < 0) continue;
        const auto fi = static_cast<std::size_t>(f);
        if (links.husb[ext] >= 0) husb_[fi] = personOfIndi_[static_cast<std::size_t>(links.husb[ext])];
        if (links.wife[ext] >= 0) wife_[fi] = personOfIndi_[static_cast<std::size_t>(links.wife[ext])];
        for (qint32 i = links.childBegin[ext]; i < links.childEnd[ext]; ++i)
            children.emplace_back(f, personOfIndi_[static_cast<std::size_t>(links.children[static_cast<std::size_t>(i)])]);
    }
    pack(people, fams, famsStart_, fams_);
    pack(families, children, childStart_, children_);

    maxRow_ = store_.maxRow;
    maxCol_ = store_.maxCol;
}

qint32 GEDLayout::other(qint32 fam, qint32 p) const {
    return husb_[static_cast<std::size_t>(fam)] == p ? wife_[static_cast<std::size_t>(fam)] : husb_[static_cast<std::size_t>(fam)];
}

void GEDLayout::raiseLoop(qint32 p, qint32 count) const {
    const GEDIndiClass person(GEDObject(shared_, store_.indis[static_cast<std::size_t>(personExt_[static_cast<std::size_t>(p)])].node));
    raiseError(kLayoutError, kSource,
               QStringLiteral("Potential lineage loop near individual ") + person.GetXref() + QStringLiteral(", ") +
                   person.GetCaption() + QStringLiteral(": Visited ") + QString::number(count) +
                   QStringLiteral(" times during layout algorithm"));
}


void GEDLayout::buildLineage() {
    const std::size_t people = personExt_.size();
    const std::size_t families = famExt_.size();
    const auto names = [this](qint32 p, qint32 f) {
        const auto pi = static_cast<std::size_t>(p);
        return std::find(fams_.begin() + famsStart_[pi], fams_.begin() + famsStart_[pi + 1], f) != fams_.begin() + famsStart_[pi + 1];
    };
    // Each family's parents once: its partners, then whoever else names it
    // as a spousal family; with each, whether that person names the family.
    std::vector<std::pair<qint32, qint32>> famParents;
    std::vector<std::pair<qint32, qint32>> naming;
    famParents.reserve(families * 2);
    for (std::size_t f = 0; f < families; ++f) {
        const auto fi = static_cast<qint32>(f);
        if (husb_[f] >= 0) famParents.emplace_back(fi, husb_[f]);
        if (wife_[f] >= 0 && wife_[f] != husb_[f]) famParents.emplace_back(fi, wife_[f]);
    }
    for (std::size_t p = 0; p < people; ++p) {
        for (qint32 i = famsStart_[p]; i < famsStart_[p + 1]; ++i) {
            const qint32 f = fams_[static_cast<std::size_t>(i)];
            const auto pi = static_cast<qint32>(p);
            if (f < 0 || husb_[static_cast<std::size_t>(f)] == pi || wife_[static_cast<std::size_t>(f)] == pi) continue;
            // A family named twice by the same person counts once.
            if (std::find(fams_.begin() + famsStart_[p], fams_.begin() + i, f) != fams_.begin() + i) continue;
            famParents.emplace_back(f, pi);
        }
    }
    pack(families, famParents, famParentStart_, famParents_);
    famParentNames_.resize(famParents_.size());
    for (std::size_t f = 0; f < families; ++f)
        for (qint32 k = famParentStart_[f]; k < famParentStart_[f + 1]; ++k)
            famParentNames_[static_cast<std::size_t>(k)] = names(famParents_[static_cast<std::size_t>(k)], static_cast<qint32>(f));
    for (auto& pr : famParents) std::swap(pr.first, pr.second);
    pack(people, famParents, parentOfStart_, parentOf_);

    std::vector<std::pair<qint32, qint32>> childOf;
    childOf.reserve(children_.size());
    for (std::size_t f = 0; f < families; ++f)
        for (qint32 i = childStart_[f]; i < childStart_[f + 1]; ++i)
            if (children_[static_cast<std::size_t>(i)] >= 0) childOf.emplace_back(children_[static_cast<std::size_t>(i)], static_cast<qint32>(f));
    pack(people, childOf, childOfStart_, childOf_);
}

void GEDLayout::checkLoops() {
    // Kahn's order over people and families: a family follows all of its
    // parents, a person all of the families that list it as a child.
    const std::size_t people = personExt_.size();
    const std::size_t families = famExt_.size();
    std::vector<qint32> personWait(people), famWait(families);
    for (std::size_t p = 0; p < people; ++p) personWait[p] = childOfStart_[p + 1] - childOfStart_[p];
    for (std::size_t f = 0; f < families; ++f) famWait[f] = famParentStart_[f + 1] - famParentStart_[f];
    topoOrder_.clear();
    topoOrder_.reserve(people);
    for (std::size_t p = 0; p < people; ++p)
        if (personWait[p] == 0) topoOrder_.push_back(static_cast<qint32>(p));
    for (std::size_t next = 0; next < topoOrder_.size(); ++next) {
        const auto p = static_cast<std::size_t>(topoOrder_[next]);
        for (qint32 i = parentOfStart_[p]; i < parentOfStart_[p + 1]; ++i) {
            const auto f = static_cast<std::size_t>(parentOf_[static_cast<std::size_t>(i)]);
            if (--famWait[f] != 0) continue;
            for (qint32 k = childStart_[f]; k < childStart_[f + 1]; ++k) {
                const qint32 c = children_[static_cast<std::size_t>(k)];
                if (c >= 0 && --personWait[static_cast<std::size_t>(c)] == 0) topoOrder_.push_back(c);
            }
        }
    }
    if (topoOrder_.size() == people) return;

    // Someone is left waiting for an ancestor: climb through waiting
    // families and parents until a person comes round again; that person is
    // their own ancestor.
    qint32 p = 0;
    while (personWait[static_cast<std::size_t>(p)] == 0) ++p;
    std::vector<qint32> reachedCount(people, 0);
    for (;;) {
        if (++reachedCount[static_cast<std::size_t>(p)] > 1) raiseLoop(p, reachedCount[static_cast<std::size_t>(p)]);
        qint32 parent = -1;
        const auto c = static_cast<std::size_t>(p);
        for (qint32 i = childOfStart_[c]; i < childOfStart_[c + 1] && parent < 0; ++i) {
            const auto f = static_cast<std::size_t>(childOf_[static_cast<std::size_t>(i)]);
            if (famWait[f] == 0) continue;
            for (qint32 k = famParentStart_[f]; k < famParentStart_[f + 1]; ++k) {
                const qint32 q = famParents_[static_cast<std::size_t>(k)];
                if (personWait[static_cast<std::size_t>(q)] > 0) {
                    parent = q;
                    break;
                }
            }
        }
        p = parent;
    }
}

void GEDLayout::layoutRows() {
    // Each person's row is settled once every ancestor's is: the children
    // of a family stand one row below the lower of its two partners, once
    // one partner has been reached from a person without a birth family and
    // the other has a row. Rows read from the file stay for people no such
    // chain reaches.
    const std::size_t people = personExt_.size();
    reached_.assign(people, 0);
    // The row a family gives its children: every parent's row is settled
    // before the first child is looked at, so it is worked out once.
    std::vector<qint32> famRow(famExt_.size(), -1);
    const auto childRow = [&](qint32 f) {
        const auto fi = static_cast<std::size_t>(f);
        if (famRow[fi] >= 0) return famRow[fi];
        qint32 row = 0;
        for (qint32 k = famParentStart_[fi]; k < famParentStart_[fi + 1]; ++k) {
            const qint32 p = famParents_[static_cast<std::size_t>(k)];
            // Only a reached partner who names the family as a spousal family leads to its children.
            if (!reached_[static_cast<std::size_t>(p)] || !famParentNames_[static_cast<std::size_t>(k)]) continue;
            const qint32 s = other(f, p);
            if (s < 0 || row_[static_cast<std::size_t>(s)] <= 0) continue;
            row = std::max(row, std::max(row_[static_cast<std::size_t>(p)], row_[static_cast<std::size_t>(s)]) + 1);
        }
        famRow[fi] = row;
        return row;
    };
    for (qint32 c : topoOrder_) {
        const auto ci = static_cast<std::size_t>(c);
        qint32 row = 0;
        for (qint32 i = childOfStart_[ci]; i < childOfStart_[ci + 1]; ++i)
            row = std::max(row, childRow(childOf_[static_cast<std::size_t>(i)]));
        if (row == 0 && famc_[ci] < 0) row = 1;
        if (row > 0) {
            reached_[ci] = 1;
            row_[ci] = row;
        }
    }
    // Partners of a family with children that a reached partner leads to are parents.
    for (std::size_t p = 0; p < people; ++p) {
        if (!reached_[p]) continue;
        for (qint32 j = famsStart_[p]; j < famsStart_[p + 1]; ++j) {
            const qint32 f = fams_[static_cast<std::size_t>(j)];
            if (f < 0 || childStart_[static_cast<std::size_t>(f)] == childStart_[static_cast<std::size_t>(f) + 1]) continue;
            col_[p] = 0;
            const qint32 s = other(f, static_cast<qint32>(p));
            if (s >= 0) col_[static_cast<std::size_t>(s)] = 0;
        }
    }
    // Whoever is still without a row stands below the parents it has.
    for (qint32 c : topoOrder_) {
        const auto ci = static_cast<std::size_t>(c);
        if (row_[ci] >= 1) continue;
        qint32 above = 0;
        const auto consider = [&](qint32 f) {
            if (f < 0) return;
            for (qint32 q : {husb_[static_cast<std::size_t>(f)], wife_[static_cast<std::size_t>(f)]})
                if (q >= 0) above = std::max(above, row_[static_cast<std::size_t>(q)]);
        };
        consider(famc_[ci]);
        for (qint32 i = childOfStart_[ci]; i < childOfStart_[ci + 1]; ++i) consider(childOf_[static_cast<std::size_t>(i)]);
        row_[ci] = above + 1;
    }
    for (qint32 r : row_) maxRow_ = std::max(maxRow_, r);
}

void GEDLayout::alignSpouses() {
    for (std::size_t f = 0; f < famExt_.size(); ++f) {
        const qint32 h = husb_[f];
        const qint32 w = wife_[f];
        if (h < 0 || w < 0) continue;
        qint32& hr = row_[static_cast<std::size_t>(h)];
        qint32& wr = row_[static_cast<std::size_t>(w)];
        if (hr > wr) wr = hr;
        else hr = wr;
    }
}

void GEDLayout::visit(qint32 p) {
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    ++slot.visits;
    if (slot.col > 0) return;
    const qint32 c = ++nextCol_[static_cast<std::size_t>(slot.row)];
    slot.col = c;
    maxCol_ = std::max(maxCol_, c);
}

const std::vector<qint32>& GEDLayout::groupOf(qint32 p) {
    const auto pi = static_cast<std::size_t>(p);
    if (groupId_[pi] < 0) {
        // The spouse group as the person's record gives it; everyone in it
        // who holds the very same list shares the resolved copy.
        const qint32 node = store_.indis[static_cast<std::size_t>(personExt_[pi])].node;
        const QString list = store_.relatedSpouses(node);
        std::vector<qint32> members;
        for (const QString& id : list.split(u',', Qt::SkipEmptyParts)) {
            const qint32 rec = store_.lookup(id);
            if (rec < 0 || store_.node(rec).kind != GEDKind::Indi) continue;
            members.push_back(personOfIndi_[static_cast<std::size_t>(store_.node(rec).ext)]);
        }
        const auto gid = static_cast<qint32>(groups_.size());
        groupId_[pi] = gid;
        for (qint32 q : members) {
            const auto qi = static_cast<std::size_t>(q);
            if (q >= 0 && groupId_[qi] < 0 &&
                store_.indis[static_cast<std::size_t>(personExt_[qi])].relatedSpouses == list)
                groupId_[qi] = gid;
        }
        groups_.push_back(std::move(members));
    }
    return groups_[static_cast<std::size_t>(groupId_[pi])];
}

void GEDLayout::layoutAncestors(qint32 start) {
    // A spouse group side by side, then the parents of each member in
    // turn, father's side before mother's.
    // A person whose walk is under way is not entered again (a spouse group
    // that does not hold its own member could otherwise lead round).
    struct Frame {
        qint32 person;
        qint32 group;
        std::size_t index;
        int stage;
    };
    std::vector<Frame> stack;
    const auto enter = [&](qint32 p) {
        Slot& slot = slots_[static_cast<std::size_t>(p)];
        if (slot.col >= 1 || slot.state == Slot::Walking) return;
        slot.state = Slot::Walking;
        groupOf(p);
        stack.push_back({p, groupId_[static_cast<std::size_t>(p)], 0, 0});
    };
    enter(start);
    while (!stack.empty()) {
        Frame& top = stack.back();
        const std::vector<qint32>& members = groups_[static_cast<std::size_t>(top.group)];
        if (top.index >= members.size()) {
            slots_[static_cast<std::size_t>(top.person)].state = Slot::NotWalked;
            stack.pop_back();
            continue;
        }
        const qint32 q = members[top.index];
        const qint32 fam = q >= 0 ? famc_[static_cast<std::size_t>(q)] : -1;
        const int stage = top.stage;
        if (stage == 0) {
            if (q >= 0) visit(q);
            top.stage = fam >= 0 ? 1 : 3;
            continue;
        }
        if (stage == 3) {
            ++top.index;
            top.stage = 0;
            continue;
        }
        top.stage = stage + 1;
        const qint32 parent = stage == 1 ? husb_[static_cast<std::size_t>(fam)] : wife_[static_cast<std::size_t>(fam)];
        // Entering may grow the stack and the group table: nothing of the
        // top frame is used after it.
        if (parent >= 0 && std::find(members.begin(), members.end(), parent) == members.end()) enter(parent);
    }
}

void GEDLayout::buildSteps() {
    // For each spousal family in turn: its other partner, then its children.
    const std::size_t people = personExt_.size();
    steps_.clear();
    steps_.reserve(fams_.size() + 2 * children_.size());
    for (std::size_t p = 0; p < people; ++p) {
        slots_[p].stepsBegin = static_cast<qint32>(steps_.size());
        for (qint32 j = famsStart_[p]; j < famsStart_[p + 1]; ++j) {
            const qint32 f = fams_[static_cast<std::size_t>(j)];
            if (f < 0) continue;
            const auto fi = static_cast<std::size_t>(f);
            const qint32 s = husb_[fi] == static_cast<qint32>(p) ? wife_[fi] : husb_[fi];
            if (s >= 0) steps_.push_back(-2 - s);
            for (qint32 k = childStart_[fi]; k < childStart_[fi + 1]; ++k)
                if (children_[static_cast<std::size_t>(k)] >= 0) steps_.push_back(children_[static_cast<std::size_t>(k)]);
        }
        slots_[p].stepsEnd = static_cast<qint32>(steps_.size());
    }
}

void GEDLayout::layoutDescendants(qint32 start) {
    // The person, then for each spousal family the partner and the walk of
    // each child. A person whose walk has been made once is passed over: a
    // second walk could place nobody new.
    const auto enter = [this](qint32 p) {
        Slot& slot = slots_[static_cast<std::size_t>(p)];
        if (slot.state == Slot::Walked) return;
        if (slot.state == Slot::Walking) raiseLoop(p, slot.visits + 1);
        slot.state = Slot::Walking;
        visit(p);
        walkStack_.push_back({p, slot.stepsBegin, slot.stepsEnd});
        // The records of those the steps lead to lie anywhere in memory:
        // their reads are started together now rather than one by one.
        for (qint32 k = slot.stepsBegin; k < slot.stepsEnd; ++k) {
            const qint32 q = steps_[static_cast<std::size_t>(k)];
            __builtin_prefetch(&slots_[static_cast<std::size_t>(q >= 0 ? q : -2 - q)]);
        }
    };
    walkStack_.clear();
    enter(start);
    while (!walkStack_.empty()) {
        Frame& top = walkStack_.back();
        if (top.step >= top.stepsEnd) {
            slots_[static_cast<std::size_t>(top.person)].state = Slot::Walked;
            walkStack_.pop_back();
            continue;
        }
        const qint32 step = steps_[static_cast<std::size_t>(top.step++)];
        if (step <= -2) {
            visit(-2 - step);
            continue;
        }
        if (top.step < top.stepsEnd) {
            // Likewise the next child's steps, while this child's walk runs.
            const qint32 next = steps_[static_cast<std::size_t>(top.step)];
            if (next >= 0) __builtin_prefetch(&steps_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(next)].stepsBegin)]);
        }
        enter(step);
    }
}

void GEDLayout::layoutColumns() {
    // What the walks read and write of each person, packed together: the
    // walks jump about the tree, and one read then brings all of it.
    const std::size_t people = personExt_.size();
    slots_.resize(people);
    for (std::size_t p = 0; p < people; ++p) slots_[p] = {row_[p], col_[p], visits_[p], 0, 0, Slot::NotWalked};

    std::vector<qint32> perRow(static_cast<std::size_t>(maxRow_) + 1, 0);
    for (qint32 r : row_) ++perRow[static_cast<std::size_t>(r)];
    nextCol_.assign(static_cast<std::size_t>(maxRow_) + 1, 0);
    groupId_.assign(people, -1);
    if (perRow[1] >= perRow[static_cast<std::size_t>(maxRow_)]) {
        for (std::size_t p = 0; p < people; ++p)
            if (slots_[p].col == -1) layoutAncestors(static_cast<qint32>(p));
    } else {
        buildSteps();
        for (std::size_t p = 0; p < people; ++p)
            if (famc_[p] < 0) layoutDescendants(static_cast<qint32>(p));
    }
    // Anyone neither walk reached takes the next column of its row.
    for (std::size_t p = 0; p < people; ++p)
        if (slots_[p].col < 1) visit(static_cast<qint32>(p));
    for (std::size_t p = 0; p < people; ++p) {
        col_[p] = slots_[p].col;
        visits_[p] = slots_[p].visits;
    }
}

void GEDLayout::writeBack() {
    for (std::size_t ext = 0; ext < store_.indis.size(); ++ext) {
        const qint32 pi = personOfIndi_[ext];
        if (pi < 0) continue;
        const auto p = static_cast<std::size_t>(pi);
        GEDStore::Place& place = store_.places[ext];
        place.row = row_[p];
        place.col = col_[p];
        place.visits = visits_[p];
    }
    if (maxRow_ > kGridLimit)
        raiseError(kLayoutError, kSource,
                   QStringLiteral("The tree has %1 generations; a tree file holds at most %2 rows").arg(maxRow_).arg(kGridLimit));
    if (maxCol_ > kGridLimit)
        raiseError(kLayoutError, kSource,
                   QStringLiteral("The tree has %1 people in one generation; a tree file holds at most %2 columns")
                       .arg(maxCol_)
                       .arg(kGridLimit));
    store_.maxRow = static_cast<short>(maxRow_);
    store_.maxCol = static_cast<short>(maxCol_);
}
