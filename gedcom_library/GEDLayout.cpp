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
    if (personOrder_.empty()) return;
    buildLineage();
    checkLoops();
    layoutRows();
    alignSpouses();
    layoutColumns();
    writeBack();
}

namespace {

// The tables are far larger than the caches and most loops read them at
// indexes that scatter: such reads are started this many iterations ahead,
// so that many are under way at once rather than one after another.
constexpr std::size_t kAhead = 16;

std::size_t ix(qint32 i) { return static_cast<std::size_t>(i); }

void prefetch(const void* p) { __builtin_prefetch(p); }

// Packs lists given as (owner, item) pairs into start offsets and items,
// keeping the pairs' order within each owner.
void pack(std::size_t owners, const std::vector<std::pair<qint32, qint32>>& pairs, std::vector<qint32>& start,
          std::vector<qint32>& items) {
    const std::size_t n = pairs.size();
    start.assign(owners + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kAhead < n) prefetch(&start[ix(pairs[i + kAhead].first) + 1]);
        ++start[ix(pairs[i].first) + 1];
    }
    for (std::size_t i = 0; i < owners; ++i) start[i + 1] += start[i];
    items.resize(n);
    std::vector<qint32> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        if (i + 2 * kAhead < n) prefetch(&fill[ix(pairs[i + 2 * kAhead].first)]);
        if (i + kAhead < n) prefetch(&items[ix(fill[ix(pairs[i + kAhead].first)])]);
        items[ix(fill[ix(pairs[i].first)]++)] = pairs[i].second;
    }
}

}  // namespace

void GEDLayout::collect() {
    if (!store_.links.current) store_.linkAll();
    const GEDStore::Links& links = store_.links;
    people_ = store_.indis.size();
    families_ = store_.fams.size();
    personOrder_ = links.indiOrder;
    famOrder_ = links.famOrder;
    allRecords_ = personOrder_.size() == people_ && famOrder_.size() == families_ && links.famc.size() == people_ &&
                  links.husb.size() == families_;
    if (allRecords_) {
        famc_ = links.famc.data();
        famsBegin_ = links.famsBegin.data();
        famsEnd_ = links.famsEnd.data();
        fams_ = links.fams.data();
        husb_ = links.husb.data();
        wife_ = links.wife.data();
        childBegin_ = links.childBegin.data();
        childEnd_ = links.childEnd.data();
        children_ = links.children.data();
    } else {
        keepLiveLinks();
    }
    row_.resize(people_);
    for (std::size_t p = 0; p < people_; ++p) row_[p] = store_.places[p].row;
    col_.assign(people_, -1);
    maxRow_ = store_.maxRow;
    maxCol_ = store_.maxCol;
}

bool GEDLayout::isPerson(qint32 row) const {
    return row >= 0 && ix(row) < people_ && (allRecords_ || (isRecord_[ix(row)] & 1));
}

namespace {

// Copies the lists of the given owners (their ranges of `items`), each item
// as `keep` gives it back; other owners get empty lists.
template <class Keep>
void copyLists(std::span<const qint32> owners, const std::vector<qint32>& begin, const std::vector<qint32>& end,
               const std::vector<qint32>& items, const Keep& keep, std::vector<qint32>& ownBegin,
               std::vector<qint32>& ownEnd, std::vector<qint32>& ownItems) {
    ownBegin.assign(ownBegin.size(), 0);
    ownEnd.assign(ownEnd.size(), 0);
    ownItems.clear();
    for (qint32 o : owners) {
        const auto oi = ix(o);
        ownBegin[oi] = static_cast<qint32>(ownItems.size());
        for (qint32 i = begin[oi]; i < end[oi]; ++i) ownItems.push_back(keep(items[ix(i)]));
        ownEnd[oi] = static_cast<qint32>(ownItems.size());
    }
}

}  // namespace

void GEDLayout::keepLiveLinks() {
    // Copies of the link tables between records only; a row that is no
    // record's has no links, and a link to one reads as none.
    const GEDStore::Links& links = store_.links;
    isRecord_.assign(std::max(people_, families_), 0);
    for (qint32 p : personOrder_) isRecord_[ix(p)] |= 1;
    for (qint32 f : famOrder_) isRecord_[ix(f)] |= 2;
    const auto family = [&](qint32 f) { return f >= 0 && ix(f) < families_ && (isRecord_[ix(f)] & 2) ? f : -1; };
    const auto person = [&](qint32 p) { return isPerson(p) ? p : -1; };
    ownFamc_.assign(people_, -1);
    for (qint32 p : personOrder_) ownFamc_[ix(p)] = family(links.famc[ix(p)]);
    ownFamsBegin_.resize(people_);
    ownFamsEnd_.resize(people_);
    copyLists(personOrder_, links.famsBegin, links.famsEnd, links.fams, family, ownFamsBegin_, ownFamsEnd_, ownFams_);
    ownHusb_.assign(families_, -1);
    ownWife_.assign(families_, -1);
    for (qint32 f : famOrder_) {
        ownHusb_[ix(f)] = person(links.husb[ix(f)]);
        ownWife_[ix(f)] = person(links.wife[ix(f)]);
    }
    ownChildBegin_.resize(families_);
    ownChildEnd_.resize(families_);
    copyLists(famOrder_, links.childBegin, links.childEnd, links.children, person, ownChildBegin_, ownChildEnd_, ownChildren_);
    famc_ = ownFamc_.data();
    famsBegin_ = ownFamsBegin_.data();
    famsEnd_ = ownFamsEnd_.data();
    fams_ = ownFams_.data();
    husb_ = ownHusb_.data();
    wife_ = ownWife_.data();
    childBegin_ = ownChildBegin_.data();
    childEnd_ = ownChildEnd_.data();
    children_ = ownChildren_.data();
}

qint32 GEDLayout::other(qint32 fam, qint32 p) const {
    return husb_[ix(fam)] == p ? wife_[ix(fam)] : husb_[ix(fam)];
}

void GEDLayout::raiseLoop(qint32 p, qint32 count) const {
    const GEDIndiClass person(GEDObject(shared_, store_.indis[ix(p)].node));
    raiseError(kLayoutError, kSource,
               QStringLiteral("Potential lineage loop near individual ") + person.GetXref() + QStringLiteral(", ") +
                   person.GetCaption() + QStringLiteral(": Visited ") + QString::number(count) +
                   QStringLiteral(" times during layout algorithm"));
}

void GEDLayout::buildLineage() {
    // Who names each family as a spousal family: each partner that does
    // (bit 1 the husband, bit 2 the wife), and everyone else who does, once
    // per family, in document order.
    std::vector<char> partnerNames(families_, 0);
    std::vector<std::pair<qint32, qint32>> namers;
    // Read on the way, beside each spousal family link: the other partner
    // and the family's children, which later passes over the people take
    // from here in order.
    spouses_.resize(allRecords_ ? store_.links.fams.size() : ownFams_.size());
    for (std::size_t p = 0; p < people_; ++p) {
        if (p + kAhead < people_) {
            const std::size_t ahead = p + kAhead;
            for (qint32 i = famsBegin_[ahead]; i < famsEnd_[ahead]; ++i) {
                const qint32 f = fams_[ix(i)];
                if (f < 0) continue;
                prefetch(&husb_[ix(f)]);
                prefetch(&wife_[ix(f)]);
                prefetch(&childBegin_[ix(f)]);
                prefetch(&childEnd_[ix(f)]);
                prefetch(&partnerNames[ix(f)]);
            }
        }
        const auto pi = static_cast<qint32>(p);
        for (qint32 i = famsBegin_[p]; i < famsEnd_[p]; ++i) {
            const qint32 f = fams_[ix(i)];
            if (f < 0) {
                spouses_[ix(i)] = {-1, 0, 0};
                continue;
            }
            const auto fi = ix(f);
            spouses_[ix(i)] = {husb_[fi] == pi ? wife_[fi] : husb_[fi], childBegin_[fi], childEnd_[fi]};
            if (husb_[fi] == pi || wife_[fi] == pi) {
                partnerNames[fi] |= static_cast<char>((husb_[fi] == pi ? 1 : 0) | (wife_[fi] == pi ? 2 : 0));
                continue;
            }
            // A family named twice by the same person counts once.
            if (std::find(fams_ + famsBegin_[p], fams_ + i, f) != fams_ + i) continue;
            namers.emplace_back(f, pi);
        }
    }
    if (!namers.empty()) {
        std::vector<qint32> place(people_, 0);
        for (std::size_t k = 0; k < personOrder_.size(); ++k) place[ix(personOrder_[k])] = static_cast<qint32>(k);
        std::stable_sort(namers.begin(), namers.end(),
                         [&](const auto& a, const auto& b) { return place[ix(a.second)] < place[ix(b.second)]; });
    }

    // Each family's parents once: its partners, then the others who name it.
    famParentStart_.assign(families_ + 1, 0);
    for (std::size_t f = 0; f < families_; ++f)
        famParentStart_[f + 1] = (husb_[f] >= 0 ? 1 : 0) + (wife_[f] >= 0 && wife_[f] != husb_[f] ? 1 : 0);
    for (const auto& n : namers) ++famParentStart_[ix(n.first) + 1];
    for (std::size_t f = 0; f < families_; ++f) famParentStart_[f + 1] += famParentStart_[f];
    famParents_.resize(ix(famParentStart_[families_]));
    famParentNames_.resize(famParents_.size());
    for (std::size_t f = 0; f < families_; ++f) {
        auto k = ix(famParentStart_[f]);
        if (husb_[f] >= 0) {
            famParents_[k] = husb_[f];
            famParentNames_[k++] = (partnerNames[f] & 1) != 0;
        }
        if (wife_[f] >= 0 && wife_[f] != husb_[f]) {
            famParents_[k] = wife_[f];
            famParentNames_[k++] = (partnerNames[f] & 2) != 0;
        }
    }
    if (!namers.empty()) {
        std::vector<qint32> fill(families_);
        for (std::size_t f = 0; f < families_; ++f)
            fill[f] = famParentStart_[f] + (husb_[f] >= 0 ? 1 : 0) + (wife_[f] >= 0 && wife_[f] != husb_[f] ? 1 : 0);
        for (const auto& n : namers) {
            const auto k = ix(fill[ix(n.first)]++);
            famParents_[k] = n.second;
            famParentNames_[k] = 1;
        }
    }

    // The families each person is a parent of: those it is a partner of in
    // document order, then those it names otherwise.
    std::vector<std::pair<qint32, qint32>> parentOf;
    parentOf.reserve(famParents_.size());
    for (std::size_t j = 0; j < famOrder_.size(); ++j) {
        if (j + kAhead < famOrder_.size()) {
            const auto ahead = ix(famOrder_[j + kAhead]);
            prefetch(&husb_[ahead]);
            prefetch(&wife_[ahead]);
        }
        const qint32 f = famOrder_[j];
        const auto fi = ix(f);
        if (husb_[fi] >= 0) parentOf.emplace_back(husb_[fi], f);
        if (wife_[fi] >= 0 && wife_[fi] != husb_[fi]) parentOf.emplace_back(wife_[fi], f);
    }
    for (const auto& n : namers) parentOf.emplace_back(n.second, n.first);
    pack(people_, parentOf, parentOfStart_, parentOf_);
}

void GEDLayout::buildChildOf() {
    // The families that list each person as a child, in document order;
    // only the rare people the main passes cannot place need them.
    if (childOfBuilt_) return;
    childOfBuilt_ = true;
    std::vector<std::pair<qint32, qint32>> childOf;
    for (qint32 f : famOrder_)
        for (qint32 i = childBegin_[ix(f)]; i < childEnd_[ix(f)]; ++i)
            if (children_[ix(i)] >= 0) childOf.emplace_back(children_[ix(i)], f);
    pack(people_, childOf, childOfStart_, childOf_);
}

void GEDLayout::checkLoops() {
    // Kahn's order over people and families: a family follows all of its
    // parents, a person all of the families that list it as a child.
    //
    // Rows are settled on the way, each once every ancestor's is: the
    // children of a family stand one row below the lower of its two
    // partners, once one partner has been reached from a person without a
    // birth family and the other has a row. A family's row for its children
    // is worked out when its last parent is settled, and a person's when the
    // last family that lists it is. Rows read from the file stay for people
    // no such chain reaches.
    struct Waiting {
        qint32 families;  // families listing the person that are still to come
        qint32 row;       // the lowest row those that came give it
    };
    std::vector<Waiting> personWait(people_);
    std::vector<qint32> famWait(families_);
    for (std::size_t f = 0; f < families_; ++f) {
        if (f + kAhead < families_ && childBegin_[f + kAhead] < childEnd_[f + kAhead]) {
            const qint32 c = children_[ix(childBegin_[f + kAhead])];
            if (c >= 0) prefetch(&personWait[ix(c)]);
        }
        for (qint32 i = childBegin_[f]; i < childEnd_[f]; ++i)
            if (children_[ix(i)] >= 0) ++personWait[ix(children_[ix(i)])].families;
    }
    for (std::size_t f = 0; f < families_; ++f) famWait[f] = famParentStart_[f + 1] - famParentStart_[f];
    reached_.assign(people_, 0);
    const auto childRow = [&](std::size_t f) {
        qint32 row = 0;
        for (qint32 k = famParentStart_[f]; k < famParentStart_[f + 1]; ++k) {
            const qint32 p = famParents_[ix(k)];
            // Only a reached partner who names the family as a spousal family leads to its children.
            if (!reached_[ix(p)] || !famParentNames_[ix(k)]) continue;
            const qint32 s = other(static_cast<qint32>(f), p);
            if (s < 0 || row_[ix(s)] <= 0) continue;
            row = std::max(row, std::max(row_[ix(p)], row_[ix(s)]) + 1);
        }
        return row;
    };
    const auto settle = [&](qint32 c, qint32 row) {
        const auto ci = ix(c);
        if (row == 0 && famc_[ci] < 0) row = 1;
        if (row > 0) {
            reached_[ci] = 1;
            row_[ci] = row;
        }
        topoOrder_.push_back(c);
    };
    topoOrder_.clear();
    topoOrder_.reserve(personOrder_.size());
    for (std::size_t k = 0; k < personOrder_.size(); ++k) {
        if (k + kAhead < personOrder_.size()) {
            const auto ahead = ix(personOrder_[k + kAhead]);
            prefetch(&personWait[ahead]);
            prefetch(&famc_[ahead]);
        }
        if (personWait[ix(personOrder_[k])].families == 0) settle(personOrder_[k], 0);
    }
    for (std::size_t next = 0; next < topoOrder_.size(); ++next) {
        if (next + 2 * kAhead < topoOrder_.size()) prefetch(&parentOfStart_[ix(topoOrder_[next + 2 * kAhead])]);
        if (next + kAhead < topoOrder_.size()) {
            const auto ahead = ix(topoOrder_[next + kAhead]);
            for (qint32 i = parentOfStart_[ahead]; i < parentOfStart_[ahead + 1]; ++i) {
                const auto f = ix(parentOf_[ix(i)]);
                prefetch(&famWait[f]);
                prefetch(&childBegin_[f]);
                prefetch(&famParentStart_[f]);
            }
        }
        const auto p = ix(topoOrder_[next]);
        for (qint32 i = parentOfStart_[p]; i < parentOfStart_[p + 1]; ++i) {
            const auto f = ix(parentOf_[ix(i)]);
            if (--famWait[f] != 0 || childBegin_[f] == childEnd_[f]) continue;
            const qint32 row = childRow(f);
            for (qint32 k = childBegin_[f]; k < childEnd_[f]; ++k) {
                const qint32 c = children_[ix(k)];
                if (c < 0) continue;
                Waiting& w = personWait[ix(c)];
                w.row = std::max(w.row, row);
                if (--w.families == 0) settle(c, w.row);
            }
        }
    }
    if (topoOrder_.size() == personOrder_.size()) return;

    // Someone is left waiting for an ancestor: climb through waiting
    // families and parents until a person comes round again; that person is
    // their own ancestor.
    std::size_t first = 0;
    while (personWait[ix(personOrder_[first])].families == 0) ++first;
    qint32 p = personOrder_[first];
    buildChildOf();
    std::vector<qint32> reachedCount(people_, 0);
    for (;;) {
        if (++reachedCount[ix(p)] > 1) raiseLoop(p, reachedCount[ix(p)]);
        qint32 parent = -1;
        const auto c = ix(p);
        for (qint32 i = childOfStart_[c]; i < childOfStart_[c + 1] && parent < 0; ++i) {
            const auto f = ix(childOf_[ix(i)]);
            if (famWait[f] == 0) continue;
            for (qint32 k = famParentStart_[f]; k < famParentStart_[f + 1]; ++k) {
                const qint32 q = famParents_[ix(k)];
                if (personWait[ix(q)].families > 0) {
                    parent = q;
                    break;
                }
            }
        }
        p = parent;
    }
}

void GEDLayout::layoutRows() {
    const std::size_t settled = topoOrder_.size();
    // Partners of a family with children that a reached partner leads to are parents.
    for (std::size_t p = 0; p < people_; ++p) {
        if (!reached_[p]) continue;
        for (qint32 j = famsBegin_[p]; j < famsEnd_[p]; ++j) {
            const Spouse& spouse = spouses_[ix(j)];
            if (spouse.childBegin == spouse.childEnd) continue;
            col_[p] = 0;
            if (spouse.other >= 0) col_[ix(spouse.other)] = 0;
        }
    }
    // Whoever is still without a row stands below the parents it has.
    for (std::size_t t = 0; t < settled; ++t) {
        if (t + kAhead < settled) prefetch(&row_[ix(topoOrder_[t + kAhead])]);
        const auto ci = ix(topoOrder_[t]);
        if (row_[ci] >= 1) continue;
        buildChildOf();
        qint32 above = 0;
        const auto consider = [&](qint32 f) {
            if (f < 0) return;
            for (qint32 q : {husb_[ix(f)], wife_[ix(f)]})
                if (q >= 0) above = std::max(above, row_[ix(q)]);
        };
        consider(famc_[ci]);
        for (qint32 i = childOfStart_[ci]; i < childOfStart_[ci + 1]; ++i) consider(childOf_[ix(i)]);
        row_[ci] = above + 1;
    }
    if (allRecords_) {
        for (qint32 r : row_) maxRow_ = std::max(maxRow_, r);
    } else {
        for (qint32 p : personOrder_) maxRow_ = std::max(maxRow_, row_[ix(p)]);
    }
}

void GEDLayout::alignSpouses() {
    // In document order: a person in several families may be moved more than once.
    const std::size_t count = famOrder_.size();
    for (std::size_t j = 0; j < count; ++j) {
        if (j + 2 * kAhead < count) {
            prefetch(&husb_[ix(famOrder_[j + 2 * kAhead])]);
            prefetch(&wife_[ix(famOrder_[j + 2 * kAhead])]);
        }
        if (j + kAhead < count) {
            const auto ahead = ix(famOrder_[j + kAhead]);
            if (husb_[ahead] >= 0) prefetch(&row_[ix(husb_[ahead])]);
            if (wife_[ahead] >= 0) prefetch(&row_[ix(wife_[ahead])]);
        }
        const auto f = ix(famOrder_[j]);
        const qint32 h = husb_[f];
        const qint32 w = wife_[f];
        if (h < 0 || w < 0) continue;
        qint32& hr = row_[ix(h)];
        qint32& wr = row_[ix(w)];
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
        const qint32 node = store_.indis[pi].node;
        const QString list = store_.relatedSpouses(node);
        std::vector<qint32> members;
        for (const QString& id : list.split(u',', Qt::SkipEmptyParts)) {
            const qint32 rec = store_.lookup(id);
            if (rec < 0 || store_.node(rec).kind != GEDKind::Indi) continue;
            members.push_back(isPerson(store_.node(rec).ext) ? store_.node(rec).ext : -1);
        }
        const auto gid = static_cast<qint32>(groups_.size());
        groupId_[pi] = gid;
        for (qint32 q : members) {
            const auto qi = static_cast<std::size_t>(q);
            if (q >= 0 && groupId_[qi] < 0 &&
                store_.indis[qi].relatedSpouses == list)
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
    steps_.clear();
    steps_.reserve(store_.links.fams.size() + 2 * store_.links.children.size());
    stepStart_.resize(people_ + 1);
    for (std::size_t p = 0; p < people_; ++p) {
        if (p + kAhead < people_) {
            const std::size_t ahead = p + kAhead;
            for (qint32 j = famsBegin_[ahead]; j < famsEnd_[ahead]; ++j) {
                const Spouse& spouse = spouses_[ix(j)];
                if (spouse.childBegin < spouse.childEnd) prefetch(&children_[ix(spouse.childBegin)]);
            }
        }
        stepStart_[p] = static_cast<qint32>(steps_.size());
        for (qint32 j = famsBegin_[p]; j < famsEnd_[p]; ++j) {
            const Spouse& spouse = spouses_[ix(j)];
            if (spouse.other >= 0) steps_.push_back(-2 - spouse.other);
            for (qint32 k = spouse.childBegin; k < spouse.childEnd; ++k)
                if (children_[ix(k)] >= 0) steps_.push_back(children_[ix(k)]);
        }
    }
    stepStart_[people_] = static_cast<qint32>(steps_.size());
}

void GEDLayout::layoutDescendants(qint32 start) {
    // The person, then for each spousal family the partner and the walk of
    // each child. A person whose walk has been made once is passed over: a
    // second walk could place nobody new. The walk only notes whom it
    // visits, in order; placeVisited() hands out their columns afterwards,
    // so that the walk itself reads no more than its steps.
    const auto enter = [this](qint32 p) {
        char& state = walkState_[ix(p)];
        if (state == Slot::Walked) return;
        if (state == Slot::Walking) {
            placeVisited();
            raiseLoop(p, slots_[ix(p)].visits + 1);
        }
        state = Slot::Walking;
        visited_.push_back(p);
        const qint32 begin = stepStart_[ix(p)];
        const qint32 end = stepStart_[ix(p) + 1];
        walkStack_.push_back({p, begin, end});
        // Where the children's own steps lie is read before the walk gets
        // to them, all at once rather than one by one.
        for (qint32 k = begin; k < end; ++k) {
            const qint32 q = steps_[ix(k)];
            if (q < 0) continue;
            prefetch(&stepStart_[ix(q)]);
            prefetch(&walkState_[ix(q)]);
        }
    };
    walkStack_.clear();
    enter(start);
    while (!walkStack_.empty()) {
        Frame& top = walkStack_.back();
        if (top.step >= top.stepsEnd) {
            walkState_[ix(top.person)] = Slot::Walked;
            walkStack_.pop_back();
            continue;
        }
        const qint32 step = steps_[ix(top.step++)];
        if (step <= -2) {
            visited_.push_back(-2 - step);
            continue;
        }
        if (top.step < top.stepsEnd) {
            // Likewise the next child's steps, while this child's walk runs.
            const qint32 next = steps_[ix(top.step)];
            // (A person without steps may start at the table's end.)
            if (next >= 0) prefetch(steps_.data() + stepStart_[ix(next)]);
        }
        enter(step);
    }
}

void GEDLayout::placeVisited() {
    // The visits in the walks' order: each person's first visit gives it
    // the next column of its row.
    const std::size_t count = visited_.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (k + kAhead < count) prefetch(&slots_[ix(visited_[k + kAhead])]);
        visit(visited_[k]);
    }
    visited_.clear();
}

void GEDLayout::layoutColumns() {
    // What the walks read and write of each person, packed together: the
    // walks jump about the tree, and one read then brings all of it.
    slots_.resize(people_);
    for (std::size_t p = 0; p < people_; ++p) slots_[p] = {row_[p], col_[p], 0, Slot::NotWalked};

    std::vector<qint32> perRow(static_cast<std::size_t>(maxRow_) + 1, 0);
    if (allRecords_) {
        for (qint32 r : row_) ++perRow[ix(r)];
    } else {
        for (qint32 p : personOrder_) ++perRow[ix(row_[ix(p)])];
    }
    nextCol_.assign(static_cast<std::size_t>(maxRow_) + 1, 0);
    groupId_.assign(people_, -1);
    // The walks start from people in document order.
    const std::size_t count = personOrder_.size();
    if (perRow[1] >= perRow[static_cast<std::size_t>(maxRow_)]) {
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kAhead < count) prefetch(&slots_[ix(personOrder_[k + kAhead])]);
            if (slots_[ix(personOrder_[k])].col == -1) layoutAncestors(personOrder_[k]);
        }
    } else {
        buildSteps();
        walkState_.assign(people_, Slot::NotWalked);
        visited_.clear();
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kAhead < count) prefetch(&famc_[ix(personOrder_[k + kAhead])]);
            if (famc_[ix(personOrder_[k])] < 0) layoutDescendants(personOrder_[k]);
        }
        placeVisited();
    }
    // Anyone neither walk reached takes the next column of its row.
    for (std::size_t k = 0; k < count; ++k) {
        if (k + kAhead < count) prefetch(&slots_[ix(personOrder_[k + kAhead])]);
        if (slots_[ix(personOrder_[k])].col < 1) visit(personOrder_[k]);
    }
}

void GEDLayout::writeBack() {
    for (std::size_t p = 0; p < people_; ++p) {
        if (!allRecords_ && !isPerson(static_cast<qint32>(p))) continue;
        GEDStore::Place& place = store_.places[p];
        place.row = row_[p];
        place.col = slots_[p].col;
        place.visits = slots_[p].visits;
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
