#include "SVGLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>
#include <utility>

#include <QSet>

#include "foundation/AppError.h"
#include "foundation/Reporter.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGDisplay.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

const char* const SVGLayout::kSource = "SVGLayout";

namespace {

// The error a dictionary raises when a key is added twice: two families of
// the view with the same two parents.
constexpr int kDuplicateKeyError = 457;

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isDash(QChar c) { return c == u'-' || c == QChar(0x2013); }

// The whole number nearest to x, halves going to the even number.
int nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

// Order of a list built by rotations and appends, as a tree of implicit
// positions (each node's place is the size of what stands left of it).
class RotatingList {
public:
    explicit RotatingList(int capacity) { nodes_.reserve(capacity); }
    int size() const { return sizeOf(root_); }
    void append(int id) {
        nodes_.push_back({id, 0, 0, 1, std::uint32_t(rng_())});
        root_ = merge(root_, int(nodes_.size()));
    }
    // The first k items go to the end, in their order.
    void rotate(int k) {
        if (k <= 0 || k >= size()) return;
        int left = 0, right = 0;
        split(root_, k, left, right);
        root_ = merge(right, left);
    }
    void appendTo(QVector<int>& out) const {
        QVector<int> stack;
        int n = root_;
        while (n || !stack.isEmpty()) {
            while (n) {
                stack.append(n);
                n = node(n).left;
            }
            n = stack.takeLast();
            out.append(node(n).id);
            n = node(n).right;
        }
    }

private:
    struct Node {
        int id, left, right, size;
        std::uint32_t priority;
    };
    Node& node(int n) { return nodes_[n - 1]; }
    const Node& node(int n) const { return nodes_[n - 1]; }
    int sizeOf(int n) const { return n ? node(n).size : 0; }
    void update(int n) { node(n).size = 1 + sizeOf(node(n).left) + sizeOf(node(n).right); }
    int merge(int a, int b) {
        if (!a || !b) return a ? a : b;
        if (node(a).priority > node(b).priority) {
            node(a).right = merge(node(a).right, b);
            update(a);
            return a;
        }
        node(b).left = merge(a, node(b).left);
        update(b);
        return b;
    }
    // The first k items to `left`, the rest to `right`.
    void split(int n, int k, int& left, int& right) {
        if (!n) {
            left = right = 0;
            return;
        }
        if (sizeOf(node(n).left) < k) {
            split(node(n).right, k - sizeOf(node(n).left) - 1, node(n).right, right);
            update(n);
            left = n;
        } else {
            split(node(n).left, k, left, node(n).left);
            update(n);
            right = n;
        }
    }

    std::vector<Node> nodes_;
    int root_ = 0;
    std::minstd_rand rng_{20261210};
};

// Count of marked positions below a position.
class PositionCounter {
public:
    explicit PositionCounter(int n) : tree_(n + 1, 0) {}
    void mark(int pos) {
        for (int i = pos + 1; i < int(tree_.size()); i += i & -i) ++tree_[i];
    }
    int below(int pos) const {
        int sum = 0;
        for (int i = pos; i > 0; i -= i & -i) sum += tree_[i];
        return sum;
    }

private:
    std::vector<int> tree_;
};

}  // namespace

// ---------------------------------------------------------------- sorting

void SVGLayout::ExchangeSort(QVector<qint64>& keys, QVector<int>& ids) {
    const int n = int(keys.size());
    for (int i = 0; i + 1 < n; ++i) {
        qint64 cur = keys[i];
        int curId = ids[i];
        for (int j = i + 1; j < n; ++j) {
            if (cur > keys[j]) {
                std::swap(cur, keys[j]);
                std::swap(curId, ids[j]);
            }
        }
        keys[i] = cur;
        ids[i] = curId;
    }
}

// The exchange sort's order: the plain sort for the few children of a
// family or spouses of a person, the fast one for a list long enough that
// the plain one's square would show.
void SVGLayout::sortByYear(QVector<qint64>& years, QVector<int>& ids) {
    if (years.size() <= 64)
        ExchangeSort(years, ids);
    else
        ExchangeSortFast(years, ids);
}

// Pass i of the exchange sort carries the item at i along the chain of
// items that are each smaller than the one before (the running minimum),
// each item of the chain moving to the next one's place and the last, the
// smallest, to place i. Seen from one key v, items with greater keys never
// change the order of the items with key v, so that order follows from the
// items with keys up to v alone. Among those, while an item with a smaller
// key stands first a pass only removes it; while items with key v stand
// first, a pass moves the first of them behind the others that stand
// together with it and takes out the smaller item that follows, joining them
// with the items with key v behind it. So with the items with key v in list
// order and the count of smaller items after each (up to the next item with
// key v), the order is: start with the first, and for each item rotate the
// list by that count and then append the next item.
void SVGLayout::ExchangeSortFast(QVector<qint64>& keys, QVector<int>& ids) {
    const int n = int(keys.size());
    if (n < 2) return;
    QVector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    const QVector<qint64>& key = keys;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key[a] != key[b] ? key[a] < key[b] : a < b; });
    PositionCounter smaller(n);
    QVector<int> result;
    result.reserve(n);
    int marked = 0;
    for (int g = 0; g < n;) {
        int end = g + 1;
        while (end < n && key[order[end]] == key[order[g]]) ++end;
        if (end - g == 1) {
            result.append(order[g]);
        } else {
            RotatingList list(end - g);
            for (int k = g; k < end; ++k) {
                list.append(order[k]);
                const int after = k + 1 < end ? smaller.below(order[k + 1]) : marked;
                list.rotate((after - smaller.below(order[k])) % list.size());
            }
            list.appendTo(result);
        }
        for (int k = g; k < end; ++k) smaller.mark(order[k]);
        marked += end - g;
        g = end;
    }
    QVector<qint64> sortedKeys(n);
    QVector<int> sortedIds(n);
    for (int i = 0; i < n; ++i) {
        sortedKeys[i] = keys[result[i]];
        sortedIds[i] = ids[result[i]];
    }
    keys = std::move(sortedKeys);
    ids = std::move(sortedIds);
}


// ---------------------------------------------------------------- sort years

int SVGLayout::iYearFromText(const QString& sText) {
    const int n = int(sText.size());
    for (int i = 0; i + 3 < n; ++i) {
        if (!isAsciiDigit(sText[i]) || !isAsciiDigit(sText[i + 1]) || !isAsciiDigit(sText[i + 2]) ||
            !isAsciiDigit(sText[i + 3]))
            continue;
        const int value = (sText[i].unicode() - '0') * 1000 + (sText[i + 1].unicode() - '0') * 100 +
                          (sText[i + 2].unicode() - '0') * 10 + (sText[i + 3].unicode() - '0');
        if (value < 1000 || value > 2500) continue;
        if (i + 4 < n && isAsciiDigit(sText[i + 4])) continue;
        if (i > 0 && isDash(sText[i - 1])) continue;
        if (i > 1 && isDash(sText[i - 2]) && sText[i - 1] == u'c') continue;
        return value;
    }
    return 0;
}

int SVGLayout::iEventYear(const QString& sNotes, bool bPerson) {
    const QString start = QStringLiteral("data-start");
    const QString evtype = QStringLiteral("data-evtype");
    auto valueAt = [&](int pos) {
        auto skipBlanks = [&](int p) {
            while (p < sNotes.size() && (sNotes[p] == u' ' || sNotes[p] == u'\t')) ++p;
            return p;
        };
        pos = skipBlanks(pos) + 1;  // the "="
        return skipBlanks(pos) + 1; // the opening quote
    };
    int pos = 0;
    // Once no "<span" is left, only "<div" tags are looked for.
    bool spansLeft = true;
    while (pos < sNotes.size()) {
        int tag = spansLeft ? int(sNotes.indexOf(QStringLiteral("<span"), pos, Qt::CaseInsensitive)) : -1;
        int nameEnd = tag + 5;
        if (tag < 0) {
            spansLeft = false;
            tag = sNotes.indexOf(QStringLiteral("<div"), pos, Qt::CaseInsensitive);
            if (tag < 0) return 0;
            nameEnd = tag + 4;
        }
        const int close = sNotes.indexOf(u'>', nameEnd);
        if (close < 0) return 0;
        // The attributes count only inside the tag: look no further.
        const QStringView inside = QStringView(sNotes).mid(nameEnd, close - nameEnd);
        const int ds = int(inside.indexOf(start));
        const int et = int(inside.indexOf(evtype));
        if (ds < 0 || et < 0) {
            pos = close + 1;
            continue;
        }
        const int dateAt = valueAt(nameEnd + ds + int(start.size()));
        const QStringView type =
            QStringView(sNotes).mid(qMin<qsizetype>(valueAt(nameEnd + et + int(evtype.size())), sNotes.size()));
        const bool match = bPerson ? (type.startsWith(u"Birth", Qt::CaseInsensitive) ||
                                      type.startsWith(u"Baptism", Qt::CaseInsensitive))
                                   : type.startsWith(u"Marriage", Qt::CaseInsensitive);
        if (match) return dateAt < sNotes.size() ? iYearFromText(sNotes.mid(dateAt)) : 0;
        pos = close + 1;
    }
    return 0;
}

int SVGLayout::personSortYear(const SVGBox& box) const {
    const int year = iYearFromText(box.GetText());
    return year ? year : iEventYear(box.GetNotes().join(u' '), true);
}

int SVGLayout::familySortYear(const SVGFamily& fam, int firstChildYear) const {
    const QString notes = fam.GetNotes().join(u' ');
    int year = iEventYear(notes, false);
    if (!year) year = iYearFromText(notes);
    if (!year) year = iYearFromText(fam.GetTooltips().join(u' '));
    if (!year && firstChildYear) year = firstChildYear - 1;
    return year;
}

// ---------------------------------------------------------------- records

void SVGLayout::clear() {
    persons_ = QVector<PersonRec>(1);
    families_ = QVector<FamilyRec>(1);
    units_ = QVector<UnitRec>(1);
    personIndex_.clear();
    familyIndex_.clear();
    rowHead_ = rowTail_ = rowShifts_ = QVector<int>(1, 0);
    firstEmpty_ = 1;
    nTrees_ = 0;
    cellsCounted_ = false;
    refusedPushes_.clear();
    viewpoint_.reset();
    tree_ = nullptr;
}

QStringList SVGLayout::UnitOrder(const QString& sKey) const {
    QStringList out;
    const int p = tree_ ? personIndex_.value(tree_->GetPersons().value(sKey).get()) : 0;
    if (!p || !persons_[p].unit) return out;
    const UnitRec& u = units_[persons_[p].unit];
    for (int pos = 0; pos < u.count; ++pos) out.append(persons_[unitPerson(u, pos)].key);
    return out;
}

int SVGLayout::unitPerson(const UnitRec& u, int pos) const {
    if (pos <= 0) return u.first;
    return u.members[qMin(pos, int(u.members.size())) - 1];
}

// ---------------------------------------------------------------- spouse units

void SVGLayout::buildUnit(int person) {
    // The person's families, closed over the family sets of both parents of
    // each: every family linked to the person through a chain of marriages.
    // Families are taken in the order a breadth-first sweep meets them.
    const int u = int(units_.size());
    QVector<int> fams;
    auto addFamSet = [&](int p) {
        // A person's family set adds nothing new the second time.
        if (personSwept_[p] == u) return;
        personSwept_[p] = u;
        for (int i = famOfStart_[p]; i < famOfStart_[p + 1]; ++i) {
            const int f = famOf_[i];
            if (families_[f].p1 && families_[f].p2 && famStamp_[f] != u) {
                famStamp_[f] = u;
                fams.append(f);
            }
        }
    };
    addFamSet(person);
    for (int i = 0; i < fams.size(); ++i) {
        addFamSet(families_[fams[i]].p1);
        addFamSet(families_[fams[i]].p2);
    }

    units_.append(UnitRec());
    UnitRec rec;
    if (fams.isEmpty()) {
        rec.first = person;
        rec.count = 1;
        persons_[person].unit = u;
        units_[u] = rec;
        return;
    }
    const QVector<int> chain = fams.size() >= 2 ? chainOrder(fams) : fams;
    for (int f : chain) {
        persons_[families_[f].p1].unit = u;
        persons_[families_[f].p2].unit = u;
        rec.fams.append(f);
        rec.years.append(families_[f].year);
    }
    rec.chainCount = int(chain.size());
    const FamilyRec& f1 = families_[chain[0]];
    if (chain.size() == 1) {
        rec.first = f1.p1;
    } else {
        const FamilyRec& f2 = families_[chain[1]];
        rec.first = (f1.p1 == f2.p1 || f1.p1 == f2.p2) ? f1.p1 : f1.p2;
    }
    personStamp_[rec.first] = u;
    for (int i = 0; i < chain.size(); ++i) {
        const FamilyRec& f = families_[chain[i]];
        const int a = i == 0 ? rec.first : families_[chain[i - 1]].p1;
        const int b = i == 0 ? 0 : families_[chain[i - 1]].p2;
        const int m = (f.p1 == a || f.p1 == b) ? f.p2 : f.p1;
        // A ring of marriages (A-B, B-C, C-A) reaches a person twice: it
        // stands in the row once.
        if (personStamp_[m] == u) continue;
        personStamp_[m] = u;
        rec.members.append(m);
    }
    rec.count = 1 + int(rec.members.size());
    units_[u] = rec;
}

QVector<int> SVGLayout::chainOrder(const QVector<int>& fams) {
    QHash<qint64, int> pairs;
    QHash<int, QVector<int>> spouses;
    QVector<int> entered;
    // The same key whichever of the two is the first parent.
    auto pairKey = [](int a, int b) { return (qint64(qMin(a, b)) << 32) | qint64(qMax(a, b)); };
    for (int f : fams) {
        const FamilyRec& rec = families_[f];
        const qint64 key = pairKey(rec.p1, rec.p2);
        if (pairs.contains(key))
            throw AppError(kDuplicateKeyError, QString::fromLatin1(kSource),
                           QStringLiteral("This key is already associated with an element of this collection"));
        pairs.insert(key, f);
        for (int p : {rec.p1, rec.p2})
            if (!spouses.contains(p)) {
                spouses.insert(p, {});
                entered.append(p);
            }
        spouses[rec.p1].append(rec.p2);
        spouses[rec.p2].append(rec.p1);
    }
    auto yearOf = [&](int a, int b) {
        const int f = pairs.value(pairKey(a, b));
        return f ? families_[f].year : 0;
    };
    // Spouses who married again go to the end, in list order; the others
    // first, by the year of the marriage.
    QHash<int, QVector<int>> ordered;
    for (int p : entered) {
        QVector<int> single, multi;
        QVector<qint64> years;
        for (int s : spouses[p]) {
            if (spouses[s].size() > 1) {
                multi.append(s);
            } else {
                single.append(s);
                years.append(yearOf(p, s));
            }
        }
        sortByYear(years, single);
        ordered.insert(p, single + multi);
    }
    int start = 0;
    for (int p : entered) {
        if (spouses[p].size() < 2) continue;
        int married = 0;
        for (int s : spouses[p])
            if (spouses[s].size() > 1) ++married;
        if (married == 1) {
            start = p;
            break;
        }
    }
    if (!start)
        for (int p : entered)
            if (spouses[p].size() > 1) {
                start = p;
                break;
            }
    QVector<int> chain;
    int current = start;
    while (current) {
        const QVector<int> list = ordered[current];
        int last = 0;
        for (int s : list) {
            chain.append(pairs.value(pairKey(current, s)));
            ordered[s].removeOne(current);
            last = s;
        }
        // Every spouse of the list has been taken off it.
        ordered[current].clear();
        current = last;
    }
    for (auto it = ordered.cbegin(); it != ordered.cend(); ++it)
        if (!it.value().isEmpty())
            throw AppError(errorNumber(kSortSpousesErrorOffset), QString::fromLatin1(kSource),
                           QStringLiteral("Internal error: Unable to sort set of related spouses"));
    return chain;
}

// ---------------------------------------------------------------- row placement

void SVGLayout::raiseSide(int value) {
    throw AppError(errorNumber(ErrorOffset::InvalidKey), QString::fromLatin1(kSource),
                   QStringLiteral("The layout needs a grid side of %1 cells; a grid can have at most %2 columns and %2 rows")
                       .arg(value)
                       .arg(kMaxGridSide));
}

int SVGLayout::ensureRow(int row) {
    if (row > kMaxGridSide) raiseSide(row);
    if (row >= rowHead_.size()) {
        rowHead_.resize(row + 1);
        rowTail_.resize(row + 1);
        rowShifts_.resize(row + 1);
    }
    return row;
}

int SVGLayout::endColumn(int item) const {
    if (item < 0) return units_[-item].col + units_[-item].width - 1;
    if (item > 0) return families_[item].col + families_[item].span - 1;
    return 0;
}

int SVGLayout::rowEnd(int row) const {
    return row < rowTail_.size() ? endColumn(rowTail_[row]) : 0;
}

void SVGLayout::placeUnit(int u, int col, int row) {
    UnitRec& rec = units_[u];
    rec.col = col;
    rec.row = row;
    const int personRow = row ? row : families_[rec.parentFam].row;
    for (int pos = 0; pos < rec.count; ++pos) {
        PersonRec& p = persons_[unitPerson(rec, pos)];
        p.newCol = col + pos;
        p.newRow = personRow;
    }
    rec.width = rec.count;
    rec.placed = true;
}

void SVGLayout::placeFamily(int f, int col, int row) {
    FamilyRec& rec = families_[f];
    rec.col = col;
    rec.row = row;
    int x = col;
    for (int cu : rec.children) {
        const UnitRec& child = units_[cu];
        if (child.row != 0) {
            x += 1;
        } else if (child.parentFam == f) {
            placeUnit(cu, x, 0);
            x += units_[cu].width;
        }
    }
    families_[f].span = x - col;
}

void SVGLayout::appendItem(int row, int item) {
    bool& inRow = item < 0 ? units_[-item].inRow : families_[item].inRow;
    if (inRow) return;
    ensureRow(row);
    inRow = true;
    int col = 1;
    if (rowHead_[row] == 0) {
        rowHead_[row] = item;
    } else {
        const int tail = rowTail_[row];
        col = endColumn(tail) + 1;
        (tail < 0 ? units_[-tail].next : families_[tail].next) = item;
    }
    rowTail_[row] = item;
    if (item < 0)
        placeUnit(-item, col, row);
    else
        placeFamily(item, col, row);
    while (firstEmpty_ < rowHead_.size() && rowHead_[firstEmpty_] != 0) ++firstEmpty_;
}

int SVGLayout::firstEmptyRow() {
    while (firstEmpty_ < rowHead_.size() && rowHead_[firstEmpty_] != 0) ++firstEmpty_;
    return firstEmpty_;
}

void SVGLayout::placeRootTree(int root, int row, int tree) {
    // An explicit stack in place of recursion, so that no depth of descent
    // can exhaust the call stack; frames run in the order recursion would.
    struct Frame {
        bool isFamily;
        int idx;
        int row;
        int i = -1;  // next family (unit) or child (family)
        int j = -1;  // next family of the current child
        int extra = 0;
    };
    QVector<Frame> stack{{false, root, row}};
    while (!stack.isEmpty()) {
        Frame& fr = stack.last();
        if (!fr.isFamily) {
            UnitRec& u = units_[fr.idx];
            if (fr.i < 0) {
                appendItem(fr.row, -fr.idx);
                u.tree = tree;
                fr.i = 0;
            }
            if (u.count > 1 && fr.i < u.fams.size()) {
                const Frame next{true, u.fams[fr.i++], fr.row + 1};
                stack.append(next);
            } else {
                stack.removeLast();
            }
            continue;
        }
        const int f = fr.idx;
        if (fr.i < 0) {
            FamilyRec& fam = families_[f];
            // A family reached twice (a line that descends from itself) is laid out once.
            if (fam.visited || fam.children.isEmpty()) {
                fam.tree = tree;
                fam.visited = true;
                stack.removeLast();
                continue;
            }
            fam.visited = true;
            fam.tree = tree;
            appendItem(fr.row, f);
            fr.i = 0;
        }
        const FamilyRec& fam = families_[f];
        if (fr.i < fam.children.size()) {
            const int c = fam.children[fr.i];
            UnitRec& child = units_[c];
            if (fr.j < 0) {
                child.tree = tree;
                if (child.count > 1 && child.parentFam == f) {
                    if (needsOwnRow(c)) {
                        fr.extra += child.count - 1;
                        ++fr.i;
                        const Frame next{false, c, fr.row + 1};
                        stack.append(next);
                        continue;
                    }
                    fr.j = 0;
                } else {
                    ++fr.i;
                    continue;
                }
            }
            while (fr.j < child.fams.size() && child.fams[fr.j] == child.parentFam) ++fr.j;
            if (fr.j < child.fams.size()) {
                const Frame next{true, child.fams[fr.j++], fr.row + 1};
                stack.append(next);
            } else {
                fr.j = -1;
                ++fr.i;
            }
            continue;
        }
        if (fr.extra >= 1) {
            FamilyRec& rec = families_[f];
            rec.width -= fr.extra;
            rec.span -= fr.extra;
            placeFamily(f, rec.col, rec.row);
        }
        stack.removeLast();
    }
}

bool SVGLayout::needsOwnRow(int u) const {
    const UnitRec& rec = units_[u];
    int withParents = 0;
    bool large = false;
    for (int pos = 0; pos < rec.count; ++pos) {
        const int pf = persons_[unitPerson(rec, pos)].parentFam;
        if (!pf) continue;
        ++withParents;
        if (families_[pf].childCount >= 2) large = true;
    }
    return withParents >= 2 && large;
}

bool SVGLayout::fits(int root, int row) {
    // Width that the root's descendancy adds to each row from `row` down; a
    // unit shared by several families counts once, through the family that
    // claims it. The marks and tables are kept between calls: a view of many
    // small trees tests each of them.
    if (unitMark_.size() != std::size_t(units_.size())) {
        unitMark_.assign(units_.size(), 0);
        markWalk_ = 0;
    }
    const int walk = ++markWalk_;
    fitWidth_.clear();
    fitStack_.clear();
    unitMark_[root] = walk;
    fitStack_.emplace_back(root, 0);
    while (!fitStack_.empty()) {
        const auto [u, depth] = fitStack_.back();
        fitStack_.pop_back();
        const UnitRec& rec = units_[u];
        if (std::size_t(depth) >= fitWidth_.size()) fitWidth_.resize(depth + 1, 0);
        fitWidth_[depth] += rec.count;
        for (int f : rec.fams) {
            if (f == rec.parentFam) continue;
            for (int c : families_[f].children)
                if (units_[c].parentFam == f && unitMark_[c] != walk) {
                    unitMark_[c] = walk;
                    fitStack_.emplace_back(c, depth + 1);
                }
        }
    }
    for (std::size_t d = 0; d < fitWidth_.size(); ++d)
        if (fitWidth_[d] && qint64(rowEnd(row + int(d))) + fitWidth_[d] > iCols_) return false;
    return true;
}

void SVGLayout::numberTrees(const QVector<int>& roots) {
    // Family index to tree number, for this numbering only. A family the map
    // already holds has all its descendants in it too (they were collected
    // with it), so the walk stops there.
    QVector<int> famTree(families_.size(), 0);
    QVector<int> stamp(families_.size(), 0);
    int walk = 0;
    for (int r : roots) {
        UnitRec& u = units_[r];
        if (u.count < 2) {
            u.tree = ++nTrees_;
            continue;
        }
        ++walk;
        QVector<int> collected;
        int held = 0;
        QVector<int> stack;
        for (int k = int(u.fams.size()) - 1; k >= 0; --k) stack.append(u.fams[k]);
        while (!stack.isEmpty()) {
            const int f = stack.takeLast();
            if (stamp[f] == walk) continue;
            stamp[f] = walk;
            if (famTree[f]) {
                if (!held) held = famTree[f];
                continue;
            }
            collected.append(f);
            QVector<int> below;
            for (int c : families_[f].childPersons)
                for (int i = famOfStart_[c]; i < famOfStart_[c + 1]; ++i) below.append(famOf_[i]);
            for (int k = int(below.size()) - 1; k >= 0; --k) stack.append(below[k]);
        }
        const int tree = held ? held : ++nTrees_;
        for (int f : collected) famTree[f] = tree;
        u.tree = tree;
    }
}

void SVGLayout::uncross() {
    for (int u = 1; u < units_.size(); ++u) {
        UnitRec& rec = units_[u];
        if (rec.count < 2) continue;
        for (int pos = 0; pos + 1 < rec.count; ++pos) {
            PersonRec& left = persons_[unitPerson(rec, pos)];
            PersonRec& right = persons_[unitPerson(rec, pos + 1)];
            if (!left.parentFam || !right.parentFam) continue;
            if (families_[left.parentFam].col < families_[right.parentFam].col) continue;
            if (rec.count == 2) {
                std::swap(left.newCol, right.newCol);
                std::swap(left.newRow, right.newRow);
                std::swap(rec.first, rec.members[0]);
            } else {
                rec.crossed = true;
            }
            break;
        }
    }
}

// ---------------------------------------------------------------- adjustment

bool SVGLayout::pushUnitPersons(int u, int startPos, int& x, bool& ended, bool& moved) {
    UnitRec& rec = units_[u];
    for (int pos = startPos; pos < rec.count; ++pos) {
        PersonRec& p = persons_[unitPerson(rec, pos)];
        if (p.newCol >= x) {
            ended = true;
            return moved;
        }
        if (logging_) {
            moveLog_.emplace_back(unitPerson(rec, pos), p.newCol);
            if (pos == 0) unitLog_.emplace_back(u, rec.col);
        }
        p.newCol = x;
        if (pos == 0) rec.col = x;
        moved = true;
        ++x;
    }
    return moved;
}

// Starts one push (`nested`: started by another push): false when the row's
// shifts, a crossed unit or a push already under way refuse it; else moves
// the unit's persons and fills `fr` with the block and the row item to go on
// with.
bool SVGLayout::openPush(int item, int startPos, int row, int target, bool nested, PushFrame& fr) {
    ensureRow(row);
    if (rowShifts_[row] >= kRowShiftLimit) return false;
    // A crossed unit is never the one a pass shifts; pushed on by its left
    // neighbour it moves, or the two would share cells.
    if (item < 0 && units_[-item].crossed && !nested) return false;
    // A unit reached again while it is being pushed (a line that descends
    // from itself) is not pushed again.
    if (item < 0 && pushActive_.contains(item)) return false;
    fr = PushFrame();
    fr.item = item;
    fr.row = row;
    fr.x = target;
    int block = 0, from = 0;
    if (item < 0) {
        pushActive_.insert(item);
        const int u = -item;
        pushUnitPersons(u, startPos, fr.x, fr.ended, fr.moved);
        if (!fr.ended) {
            const UnitRec& rec = units_[u];
            if (rec.row != 0) {
                fr.next = rec.next;
            } else if (rec.parentFam) {
                block = rec.parentFam;
                from = int(families_[block].children.indexOf(u)) + 1;
            }
        }
    } else {
        block = item;
    }
    if (block) {
        fr.next = families_[block].next;
        // A block reached again while it is being pushed (a line that
        // descends from itself) ends the push instead of going round for ever.
        if (pushActive_.contains(block)) {
            fr.ended = true;
        } else {
            pushActive_.insert(block);
            fr.block = block;
            fr.index = from;
        }
    }
    return true;
}

bool SVGLayout::push(int item, int startPos, int row, int target) {
    // Pushes started by pushes wait on an explicit stack, so that a long row
    // or a deep line cannot exhaust the call stack. A push goes on with the
    // units of its children's block (a unit with a row of its own gets a push
    // of its own), then with the next item of its row list; it counts a shift
    // of its row when it or a push it started moved anything.
    pushActive_.clear();
    QVector<PushFrame> stack(1);
    if (!openPush(item, startPos, row, target, false, stack[0])) return false;
    bool result = false;
    bool returning = false;
    while (!stack.isEmpty()) {
        PushFrame fr = stack.takeLast();
        if (returning) {
            returning = false;
            if (result) fr.moved = true;
            if (fr.waiting == PushFrame::BlockChild) {
                ++fr.x;
                ++fr.index;
            }
            fr.waiting = PushFrame::None;
        }
        PushFrame child;
        bool opened = false;
        if (fr.block) {
            const QVector<int>& children = families_[fr.block].children;
            while (fr.index < children.size() && !fr.ended) {
                const int c = children[fr.index];
                const UnitRec& unit = units_[c];
                if (unit.row != 0) {
                    if (openPush(-c, 0, unit.row, fr.x, true, child)) {
                        fr.waiting = PushFrame::BlockChild;
                        opened = true;
                        break;
                    }
                    ++fr.x;
                } else if (unit.parentFam == fr.block) {
                    pushUnitPersons(c, 0, fr.x, fr.ended, fr.moved);
                }
                ++fr.index;
            }
            if (!opened) {
                pushActive_.remove(fr.block);
                fr.block = 0;
            }
        }
        if (!opened && !fr.tailDone) {
            fr.tailDone = true;
            if (!fr.ended && fr.next) {
                const int nextRow = fr.next < 0 ? units_[-fr.next].row : families_[fr.next].row;
                if (openPush(fr.next, 0, nextRow, fr.x, true, child)) {
                    fr.waiting = PushFrame::Tail;
                    opened = true;
                }
            }
        }
        if (opened) {
            stack.append(fr);
            stack.append(child);
            continue;
        }
        if (fr.moved && !fr.ended) ++rowShifts_[fr.row];
        if (fr.item < 0) pushActive_.remove(fr.item);
        result = fr.moved;
        returning = true;
    }
    return result;
}

bool SVGLayout::guardedPush(int item, int startPos, int row, int target) {
    // A push moves whole rows through their lists; where a row's list does
    // not follow its columns (a marriage with a row of its own that stands in
    // the row of another family's children) it can carry one person onto
    // another's cell. Such a push is taken back: the layout stays as it was.
    // The persons a push moves are logged, so that the check and the undo
    // cost what the push moved, not the whole view.
    auto cellOf = [](int col, int row) { return (qint64(row) << 32) | quint32(col); };
    if (!cellsCounted_) {
        cellCount_.clear();
        for (int p = 1; p < persons_.size(); ++p) ++cellCount_[cellOf(persons_[p].newCol, persons_[p].newRow)];
        cellsCounted_ = true;
    }
    const QPair<qint64, qint64> asked{(qint64(item) << 32) | quint32(startPos), (qint64(row) << 32) | quint32(target)};
    if (refusedPushes_.contains(asked)) return false;
    const QVector<int> shifts = rowShifts_;
    moveLog_.clear();
    unitLog_.clear();
    logging_ = true;
    const bool moved = push(item, startPos, row, target);
    logging_ = false;
    if (!moved) return false;
    // The first column each moved person had, once per person.
    std::vector<std::pair<int, int>> firstCols;
    for (const auto& [p, col] : moveLog_) {
        if (movedStamp_.size() < std::size_t(persons_.size())) movedStamp_.assign(persons_.size(), 0);
        if (movedStamp_[p] == moveWalk_ + 1) continue;
        movedStamp_[p] = moveWalk_ + 1;
        firstCols.emplace_back(p, col);
    }
    ++moveWalk_;
    // The count of a cell after the push is its count before, less the moved
    // persons that left it, plus those that came to it. The counts change
    // only when the push stands, so a push taken back costs no update.
    std::vector<qint64>& left = leftCells_;
    std::vector<qint64>& came = cameCells_;
    left.clear();
    came.clear();
    for (const auto& [p, col] : firstCols) {
        left.push_back(cellOf(col, persons_[p].newRow));
        came.push_back(cellOf(persons_[p].newCol, persons_[p].newRow));
    }
    std::sort(left.begin(), left.end());
    std::sort(came.begin(), came.end());
    bool shared = false;
    for (auto at = came.begin(); at != came.end() && !shared;) {
        const auto end = std::upper_bound(at, came.end(), *at);
        const auto leavers = std::equal_range(left.begin(), left.end(), *at);
        shared = cellCount_.value(*at) - (leavers.second - leavers.first) + (end - at) > 1;
        at = end;
    }
    if (!shared) {
        for (const auto& [p, col] : firstCols) {
            --cellCount_[cellOf(col, persons_[p].newRow)];
            ++cellCount_[cellOf(persons_[p].newCol, persons_[p].newRow)];
        }
        return true;
    }
    refusedPushes_.insert(asked);
    for (const auto& [p, col] : firstCols) persons_[p].newCol = col;
    for (auto it = unitLog_.crbegin(); it != unitLog_.crend(); ++it) units_[it->first].col = it->second;
    rowShifts_ = shifts;
    return false;
}

bool SVGLayout::pass() {
    for (int u = 1; u < units_.size(); ++u) {
        const UnitRec& rec = units_[u];
        if (rec.count < 2) continue;
        for (int k = 1; k <= rec.chainCount; ++k) {
            const int f = rec.fams[k - 1];
            const FamilyRec& fam = families_[f];
            if (fam.childPersons.isEmpty() || f == rec.parentFam) continue;
            const int leftPos = qMin(k - 1, rec.count - 1);
            const int rightPos = qMin(k, rec.count - 1);
            const double P = (persons_[unitPerson(rec, leftPos)].newCol + persons_[unitPerson(rec, rightPos)].newCol) / 2.0;
            const int parentsRow = rec.row ? rec.row : persons_[rec.first].newRow;
            const double offP = (stepped_ && parentsRow % 2 == 0) ? 0.5 : 0.0;

            int childRow = 0;
            for (int c : fam.childPersons)
                if (!childRow || persons_[c].newRow < childRow) childRow = persons_[c].newRow;
            int minCol = 0, maxCol = 0, leftmost = 0;
            bool first = true;
            for (int c : fam.childPersons) {
                if (persons_[c].newRow != childRow) continue;
                const int col = persons_[c].newCol;
                if (first || col < minCol) {
                    minCol = col;
                    leftmost = c;
                }
                if (first || col > maxCol) maxCol = col;
                first = false;
            }
            const double offC = (stepped_ && childRow % 2 == 0) ? 0.5 : 0.0;
            const int C = nearest((minCol + maxCol) / 2.0);
            bool moved = false;
            if (P < C) {
                if (guardedPush(-u, rightPos, parentsRow, nearest(C + offC - offP))) moved = true;
                const int T = minCol == C ? minCol - 1 : minCol;
                if (guardedPush(-u, leftPos, parentsRow, nearest(T + offC - offP))) moved = true;
            } else if (P > minCol) {
                const int cu = persons_[leftmost].unit;
                const UnitRec& child = units_[cu];
                int pos = 0;
                for (int j = 0; j < child.count; ++j)
                    if (unitPerson(child, j) == leftmost) {
                        pos = j;
                        break;
                    }
                int withParents = 0;
                for (int j = 0; j < child.count; ++j)
                    if (persons_[unitPerson(child, j)].parentFam) ++withParents;
                if (withParents == 1 && pos == 1)
                    moved = guardedPush(-cu, 0, childRow, nearest(P - (maxCol - minCol) - 1 + offP - offC));
                else
                    moved = guardedPush(-cu, pos, childRow, nearest(P - (maxCol - minCol) + offP - offC));
            }
            if (moved) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- entry points

void SVGLayout::growGrid() {
    int cols = iCols_, rows = iRows_;
    for (int p = 1; p < persons_.size(); ++p) {
        cols = qMax(cols, persons_[p].newCol);
        rows = qMax(rows, persons_[p].newRow);
    }
    // Refused before the working size changes: Revert then keeps the grid.
    if (cols > kMaxGridSide) raiseSide(cols);
    if (rows > kMaxGridSide) raiseSide(rows);
    iCols_ = cols;
    iRows_ = rows;
}

// Writes new (bNew) or previous positions of the persons that the kept view
// still holds, then the working grid size. Organise writes into the view it
// has just read (bViewAsRead), which holds every person.
void SVGLayout::writePositions(bool bNew, bool bViewAsRead) {
    if (!tree_) return;
    const bool viewpointHeld = viewpoint_ && tree_->GetViewpoints().value(viewpoint_->GetKey()) == viewpoint_;
    for (int p = 1; p < persons_.size(); ++p) {
        const PersonRec& rec = persons_[p];
        if (!bViewAsRead && tree_->GetPersons().value(rec.key) != rec.box) continue;
        const int col = bNew ? rec.newCol : rec.prevCol;
        const int row = bNew ? rec.newRow : rec.prevRow;
        if (viewpoint_) {
            if (!bViewAsRead && (!viewpointHeld || !viewpoint_->PersonExists(rec.key))) continue;
            viewpoint_->SetPerColRow(rec.key, col, row, true);
        } else {
            rec.box->SetNewPosn(col, row, true);
        }
    }
    int cols = iCols_, rows = iRows_;
    tree_->SetGridColRow(cols, rows, true);
}

bool SVGLayout::Organise(SVGTree& oTr) {
    PersonDict personView;
    FamilyDict familyView;
    const PersonDict& persons = oTr.GetViewPersons(personView);
    if (persons.isEmpty()) return false;
    const FamilyDict& families = oTr.GetViewFamilies(familyView);

    clear();
    tree_ = &oTr;
    oTr.GetGridColRow(iCols_, iRows_, true);
    viewpoint_ = oTr.GetViewpoint();
    stepped_ = oTr.GetDisplay() && oTr.GetDisplay()->GetStepped();
    persons_.reserve(persons.count() + 1);
    for (const auto& [key, box] : persons) {
        PersonRec rec;
        rec.box = box;
        rec.key = key;
        personIndex_.insert(box.get(), int(persons_.size()));
        persons_.append(rec);
    }
    families_.reserve(families.count() + 1);
    for (const auto& [key, fam] : families) {
        FamilyRec rec;
        rec.fam = fam;
        rec.p1 = personIndex_.value(fam->GetFirstPar().get());
        rec.p2 = personIndex_.value(fam->GetSecPar().get());
        familyIndex_.insert(key, int(families_.size()));
        families_.append(rec);
    }
    for (int p = 1; p < persons_.size(); ++p) {
        PersonRec& rec = persons_[p];
        rec.year = personSortYear(*rec.box);
        if (viewpoint_)
            viewpoint_->GetPerColRow(rec.key, rec.prevCol, rec.prevRow, true);
        else {
            rec.prevCol = rec.box->GetTreeCol();
            rec.prevRow = rec.box->GetTreeRow();
        }
    }
    for (int f = 1; f < families_.size(); ++f) {
        const SVGFamily& fam = *families_[f].fam;
        const QList<SVGBoxPtr> children = fam.GetChildren();
        families_[f].year = familySortYear(fam, children.isEmpty() ? 0 : personSortYear(*children.first()));
    }

    // Each person's families of the view, in the order of the person's own
    // family set, looked up once.
    famOfStart_.assign(persons_.size() + 1, 0);
    famOf_.clear();
    for (int p = 1; p < persons_.size(); ++p) {
        famOfStart_[p] = int(famOf_.size());
        const KeySet& keys = persons_[p].box->GetFamKeys();
        for (int i = 0; i < keys.count(); ++i) {
            const int f = familyIndex_.value(keys.at(i));
            if (f) famOf_.push_back(f);
        }
    }
    famOfStart_[persons_.size()] = int(famOf_.size());
    famStamp_.assign(families_.size(), 0);
    personStamp_.assign(persons_.size(), 0);
    personSwept_.assign(persons_.size(), 0);

    try {
        for (int p = 1; p < persons_.size(); ++p)
            if (!persons_[p].unit) buildUnit(p);

        // The family that last listed each unit among its children.
        std::vector<int> listedBy(units_.size(), 0);
        for (int f = 1; f < families_.size(); ++f) {
            FamilyRec& fam = families_[f];
            // A family whose parents the view does not both show has no place
            // to hang its children from; they stand as persons of their own.
            if (!fam.p1 || !fam.p2) continue;
            QVector<int> children;
            for (const SVGBoxPtr& child : fam.fam->GetChildren()) {
                const int c = personIndex_.value(child.get());
                if (c) children.append(c);
            }
            if (children.isEmpty()) continue;
            fam.childCount = int(children.size());
            fam.childPersons = children;
            QVector<qint64> years;
            for (int c : children) {
                persons_[c].parentFam = f;
                years.append(persons_[c].year);
            }
            sortByYear(years, children);
            for (int c : children) {
                const int cu = persons_[c].unit;
                if (listedBy[cu] == f) continue;  // two children of one unit
                listedBy[cu] = f;
                fam.children.append(cu);
                if (!units_[cu].parentFam) {
                    units_[cu].parentFam = f;
                    fam.width += units_[cu].count;
                } else {
                    fam.width += 1;
                }
            }
        }

        QVector<int> roots;
        for (int u = 1; u < units_.size(); ++u) {
            const UnitRec& rec = units_[u];
            bool root = true;
            for (int pos = 0; pos < rec.count && root; ++pos) {
                const int pf = persons_[unitPerson(rec, pos)].parentFam;
                // The unit's own families carry its mark (buildUnit).
                if (pf && famStamp_[pf] != u) root = false;
            }
            if (root) roots.append(u);
        }
        // Roots by the column the display shows them at, then by tree number
        // and column: the second sort starts from the order of the first.
        QVector<qint64> column(units_.size(), 0);
        QVector<qint64> keys;
        keys.reserve(roots.size());
        // The column the display shows: a vertical display swaps the tree's
        // column and row (what SVGTree::GetPerColRow gives, read before).
        const bool vertical = oTr.GetDisplay() && !oTr.GetDisplay()->GetHoriz();
        for (int u : roots) {
            const PersonRec& first = persons_[units_[u].first];
            const int col = vertical ? first.prevRow : first.prevCol;
            column[u] = col;
            keys.append(col);
        }
        ExchangeSortFast(keys, roots);
        numberTrees(roots);
        for (int i = 0; i < roots.size(); ++i)
            keys[i] = (qint64(units_[roots[i]].tree) << 32) + (column[roots[i]] + 0x80000000LL);
        ExchangeSortFast(keys, roots);

        int row = 1;
        int previousTree = 0;
        for (int u : roots) {
            const int tree = units_[u].tree;
            if (tree != previousTree && !fits(u, row)) row = firstEmptyRow();
            placeRootTree(u, row, tree);
            previousTree = tree;
        }
        // Units that no root reaches (a line that descends from itself) are
        // laid out as trees of their own below the rest.
        for (int u = 1; u < units_.size(); ++u)
            if (!units_[u].placed) placeRootTree(u, firstEmptyRow(), ++nTrees_);

        uncross();

        refusedPushes_.clear();
        for (int counter = 0;; ++counter) {
            const bool moved = pass();
            if (counter >= kPassLimit) {
                if (reporter_)
                    reporter_->warn(QStringLiteral("Auto-Layout operation applied more than ") +
                                    QString::number(kPassLimit) + QStringLiteral(" column adjustments"));
                break;
            }
            if (!moved) break;
        }

        growGrid();
        writePositions(true, true);
    } catch (...) {
        Revert(oTr);
        throw;
    }
    return true;
}

void SVGLayout::Revert(SVGTree& oTr) {
    Q_UNUSED(oTr);
    writePositions(false, false);
}

bool SVGLayout::Adjust(SVGTree& oTr) {
    Q_UNUSED(oTr);
    if (!tree_) return false;
    refusedPushes_.clear();
    const bool moved = pass();
    growGrid();
    writePositions(true, false);
    return moved;
}
