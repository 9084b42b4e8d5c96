#include "LayoutRules.h"

#include <algorithm>
#include <cmath>

#include <QMap>

#include <utility>

#include "SVGBox.h"
#include "SVGDisplay.h"
#include "SVGFamily.h"
#include "RecordingReporter.h"
#include "SVGLayout.h"
#include "foundation/AppError.h"

namespace {

constexpr int kMaxSide = 16383;

// The union of two sets kept in order: a, then each item of b it lacks.
void unite(QStringList& a, const QStringList& b) {
    QSet<QString> has(a.begin(), a.end());
    for (const QString& item : b)
        if (!has.contains(item)) {
            a.append(item);
            has.insert(item);
        }
}

// The whole number nearest to x; a half goes to the even number.
int nearest(double x) {
    const double down = std::floor(x);
    const double rest = x - down;
    if (rest < 0.5) return int(down);
    if (rest > 0.5) return int(down) + 1;
    return int(down) % 2 == 0 ? int(down) : int(down) + 1;
}

}  // namespace

// ---------------------------------------------------------------- sort years

int LayoutRules::personYear(const SVGBox& box) const {
    const int year = SVGLayout::iYearFromText(box.GetText());
    return year ? year : SVGLayout::iEventYear(box.GetNotes().join(u' '), true);
}

int LayoutRules::familyYear(const SVGFamily& fam) const {
    const QString notes = fam.GetNotes().join(u' ');
    int year = SVGLayout::iEventYear(notes, false);
    if (!year) year = SVGLayout::iYearFromText(notes);
    if (!year) year = SVGLayout::iYearFromText(fam.GetTooltips().join(u' '));
    if (!year && !fam.GetChildren().isEmpty()) {
        year = personYear(*fam.GetChildren().first());
        if (year) year -= 1;
    }
    return year;
}

void LayoutRules::exchangeSort(QVector<qint64>& keys, QVector<int>& ids) {
    for (int i = 0; i + 1 < keys.size(); ++i)
        for (int j = i + 1; j < keys.size(); ++j)
            if (keys[i] > keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(ids[i], ids[j]);
            }
}

// ---------------------------------------------------------------- spouse units

QStringList LayoutRules::famSetOf(int person) const {
    return persons_[person].box->GetFamKeys().keys();
}

void LayoutRules::buildUnit(int person) {
    // The person's family set, closed over the family sets of both parents
    // of each family the view holds (sweeps until one changes nothing).
    QStringList set = famSetOf(person);
    for (;;) {
        const QStringList start = set;
        for (const QString& key : start) {
            const int f = familyIndex_.value(key);
            if (f && families_[f].p1 && families_[f].p2) {
                unite(set, famSetOf(families_[f].p1));
                unite(set, famSetOf(families_[f].p2));
            } else {
                set.removeOne(key);
            }
        }
        if (set == start) break;
    }
    units_.append(Unit());
    const int u = int(units_.size()) - 1;
    const int n = int(set.size());
    if (n == 0) {
        units_[u].persons = {person};
        persons_[person].unit = u;
        return;
    }
    QVector<int> fams;
    for (const QString& key : set) fams.append(familyIndex_.value(key));
    if (n >= 2) fams = chainOrder(fams);
    for (int f : fams) {
        persons_[families_[f].p1].unit = u;
        persons_[families_[f].p2].unit = u;
    }
    units_[u].fams = fams;
    const Family& f1 = families_[fams[0]];
    int first = f1.p1;
    if (n >= 2) {
        const Family& f2 = families_[fams[1]];
        if (f1.p1 != f2.p1 && f1.p1 != f2.p2) first = f1.p2;
    }
    QVector<int> row{first};
    for (int i = 0; i < n; ++i) {
        const Family& f = families_[fams[i]];
        const int a = i == 0 ? first : families_[fams[i - 1]].p1;
        const int b = i == 0 ? 0 : families_[fams[i - 1]].p2;
        const int member = (f.p1 == a || f.p1 == b) ? f.p2 : f.p1;
        if (!row.contains(member)) row.append(member);  // a ring of marriages
    }
    units_[u].persons = row;
}

QVector<int> LayoutRules::chainOrder(const QVector<int>& fams) {
    QMap<QString, int> pairs;
    QHash<int, QVector<int>> spouses;
    QVector<int> entered;
    auto pairKey = [](int a, int b) {
        return QString::number(qMin(a, b)) + u'+' + QString::number(qMax(a, b));
    };
    for (int f : fams) {
        const Family& fam = families_[f];
        const QString key = pairKey(fam.p1, fam.p2);
        if (pairs.contains(key))
            throw Fail{QStringLiteral("This key is already associated with an element of this collection")};
        pairs.insert(key, f);
        for (int p : {fam.p1, fam.p2})
            if (!entered.contains(p)) entered.append(p);
        spouses[fam.p1].append(fam.p2);
        spouses[fam.p2].append(fam.p1);
    }
    QHash<int, QVector<int>> lists;
    for (int p : entered) {
        QVector<int> single, married;
        QVector<qint64> years;
        for (int s : spouses[p]) {
            if (spouses[s].size() > 1) {
                married.append(s);
            } else {
                single.append(s);
                years.append(families_[pairs.value(pairKey(p, s))].year);
            }
        }
        exchangeSort(years, single);
        lists[p] = single + married;
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
        int last = 0;
        const QVector<int> list = lists[current];
        for (int s : list) {
            chain.append(pairs.value(pairKey(current, s)));
            lists[current].removeOne(s);
            lists[s].removeOne(current);
            last = s;
        }
        current = last;
    }
    for (int p : entered)
        if (!lists[p].isEmpty())
            throw Fail{QStringLiteral("Internal error: Unable to sort set of related spouses")};
    return chain;
}

// ---------------------------------------------------------------- trees

QStringList LayoutRules::descendantKeys(int family, QSet<int>& seen) const {
    if (seen.contains(family)) return {};
    seen.insert(family);
    QStringList keys{families_[family].key};
    for (int c : families_[family].childPersons)
        for (const QString& key : famSetOf(c))
            if (const int g = familyIndex_.value(key)) unite(keys, descendantKeys(g, seen));
    return keys;
}

void LayoutRules::numberTrees(const QVector<int>& roots) {
    QHash<QString, int> treeOf;
    for (int r : roots) {
        Unit& root = units_[r];
        if (root.count() < 2) {
            root.tree = ++nTrees_;
            continue;
        }
        QStringList collected;
        QSet<int> seen;
        for (int f : root.fams) unite(collected, descendantKeys(f, seen));
        int tree = 0;
        for (const QString& key : collected)
            if (!tree) tree = treeOf.value(key);
        if (!tree) tree = ++nTrees_;
        for (const QString& key : collected)
            if (!treeOf.contains(key)) treeOf.insert(key, tree);
        root.tree = tree;
    }
}

// ---------------------------------------------------------------- placement

bool LayoutRules::needsOwnRow(int u) const {
    int withParents = 0;
    bool several = false;
    for (int p : units_[u].persons) {
        const int pf = persons_[p].parentFam;
        if (!pf) continue;
        ++withParents;
        if (families_[pf].childCount >= 2) several = true;
    }
    return withParents >= 2 && several;
}

int LayoutRules::endColumn(int item) const {
    if (item < 0) return units_[-item].col + units_[-item].width - 1;
    if (item > 0) return families_[item].col + families_[item].span - 1;
    return 0;
}

int LayoutRules::nextOf(int item) const {
    return item < 0 ? units_[-item].next : families_[item].next;
}

int LayoutRules::lastOf(int row) const {
    int item = row < rowHead_.size() ? rowHead_[row] : 0;
    while (item && nextOf(item)) item = nextOf(item);
    return item;
}

int LayoutRules::rowEnd(int row) const {
    return endColumn(lastOf(row));
}

int LayoutRules::firstEmptyRow() const {
    for (int row = 1; row < rowHead_.size(); ++row)
        if (!rowHead_[row]) return row;
    return int(rowHead_.size());
}

void LayoutRules::placeUnit(int u, int col, int row) {
    Unit& unit = units_[u];
    unit.col = col;
    unit.row = row;
    for (int j = 0; j < unit.count(); ++j) {
        persons_[unit.persons[j]].newCol = col + j;
        persons_[unit.persons[j]].newRow = row ? row : families_[unit.parentFam].row;
    }
    unit.width = unit.count();
    unit.placed = true;
}

void LayoutRules::placeFamily(int f, int col, int row) {
    families_[f].col = col;
    families_[f].row = row;
    int x = col;
    for (int c : families_[f].children) {
        if (units_[c].row != 0) {
            x += 1;
        } else if (units_[c].parentFam == f) {
            placeUnit(c, x, 0);
            x += units_[c].width;
        }
    }
    families_[f].span = x - col;
}

void LayoutRules::append(int row, int item) {
    bool& inRow = item < 0 ? units_[-item].inRow : families_[item].inRow;
    if (inRow) return;
    if (row > kMaxSide) throw Fail{QStringLiteral("grid side")};
    inRow = true;
    while (rowHead_.size() <= row) rowHead_.append(0);
    const int last = lastOf(row);
    if (!last)
        rowHead_[row] = item;
    else
        (last < 0 ? units_[-last].next : families_[last].next) = item;
    const int col = endColumn(last) + 1;
    if (item < 0)
        placeUnit(-item, col, row);
    else
        placeFamily(item, col, row);
}

void LayoutRules::placeRoot(int u, int row, int tree) {
    append(row, -u);
    units_[u].tree = tree;
    if (units_[u].count() > 1)
        for (int f : units_[u].fams) placeFamilyTree(f, row + 1, tree);
}

void LayoutRules::placeFamilyTree(int f, int row, int tree) {
    families_[f].tree = tree;
    if (families_[f].laidOut || families_[f].children.isEmpty()) {
        families_[f].laidOut = true;
        return;
    }
    families_[f].laidOut = true;
    append(row, f);
    int extra = 0;
    for (int c : families_[f].children) {
        units_[c].tree = tree;
        if (units_[c].count() > 1 && units_[c].parentFam == f) {
            if (needsOwnRow(c)) {
                placeRoot(c, row + 1, tree);
                extra += units_[c].count() - 1;
            } else {
                for (int g : units_[c].fams)
                    if (g != units_[c].parentFam) placeFamilyTree(g, row + 1, tree);
            }
        }
    }
    if (extra >= 1) {
        families_[f].width -= extra;
        families_[f].span -= extra;
        placeFamily(f, families_[f].col, families_[f].row);
    }
}

void LayoutRules::widths(int u, int depth, QVector<int>& width, QSet<int>& seen) const {
    seen.insert(u);
    if (width.size() <= depth) width.resize(depth + 1);
    width[depth] += units_[u].count();
    for (int f : units_[u].fams) {
        if (f == units_[u].parentFam) continue;
        for (int c : families_[f].children)
            if (units_[c].parentFam == f && !seen.contains(c)) widths(c, depth + 1, width, seen);
    }
}

bool LayoutRules::fits(int u, int row) const {
    QVector<int> width;
    QSet<int> seen;
    widths(u, 0, width, seen);
    for (int d = 0; d < width.size(); ++d)
        if (width[d] && rowEnd(row + d) + width[d] > iCols_) return false;
    return true;
}

void LayoutRules::uncross() {
    for (Unit& unit : units_) {
        if (unit.count() < 2) continue;
        for (int pos = 0; pos + 1 < unit.count(); ++pos) {
            Person& left = persons_[unit.persons[pos]];
            Person& right = persons_[unit.persons[pos + 1]];
            if (!left.parentFam || !right.parentFam) continue;
            if (families_[left.parentFam].col < families_[right.parentFam].col) continue;
            if (unit.count() == 2) {
                std::swap(left.newCol, right.newCol);
                std::swap(left.newRow, right.newRow);
                std::swap(unit.persons[0], unit.persons[1]);
            } else {
                unit.crossed = true;
            }
        }
    }
}

// ---------------------------------------------------------------- adjustment

int& LayoutRules::shifts(int row) {
    return rowShifts_[row];
}

void LayoutRules::movePersons(int u, int from, int& x, bool& moved, bool& ended) {
    Unit& unit = units_[u];
    if (unit.crossed) {  // a crossed unit never moves, and the walk ends at it
        ended = true;
        return;
    }
    for (int pos = from; pos < unit.count(); ++pos) {
        Person& p = persons_[unit.persons[pos]];
        if (p.newCol >= x) {
            ended = true;
            return;
        }
        p.newCol = x;
        if (pos == 0) unit.col = x;
        moved = true;
        ++x;
    }
}

bool LayoutRules::push(int item, int startPos, int row, int target) {
    if (shifts(row) >= SVGLayout::kRowShiftLimit) return false;
    if (item < 0 && units_[-item].crossed) return false;  // a crossed unit never moves
    if (item < 0 && pushing_.contains(item)) return false;
    bool moved = false, ended = false;
    int x = target;
    int block = 0, from = 0, next = 0;
    if (item < 0) {
        pushing_.insert(item);
        const int u = -item;
        movePersons(u, startPos, x, moved, ended);
        if (!ended) {
            if (units_[u].row != 0) {
                next = units_[u].next;
            } else {
                block = units_[u].parentFam;
                from = int(families_[block].children.indexOf(u)) + 1;
            }
        }
    } else {
        block = item;
    }
    if (block) {
        next = families_[block].next;
        if (pushing_.contains(block)) {
            ended = true;
        } else {
            pushing_.insert(block);
            const QVector<int>& children = families_[block].children;
            for (int i = from; i < children.size() && !ended; ++i) {
                const int c = children[i];
                if (units_[c].row != 0) {
                    if (push(-c, 0, units_[c].row, x)) moved = true;
                    x += 1;
                } else if (units_[c].parentFam == block) {
                    movePersons(c, 0, x, moved, ended);
                }
            }
            pushing_.remove(block);
        }
    }
    if (!ended && next) {
        const int nextRow = next < 0 ? units_[-next].row : families_[next].row;
        if (push(next, 0, nextRow, x)) moved = true;
    }
    if (moved && !ended) shifts(row) += 1;
    if (item < 0) pushing_.remove(item);
    return moved;
}

bool LayoutRules::guardedPush(int item, int startPos, int row, int target) {
    QVector<int> personCols(persons_.size()), unitCols(units_.size());
    for (int p = 0; p < persons_.size(); ++p) personCols[p] = std::as_const(persons_)[p].newCol;
    for (int u = 0; u < units_.size(); ++u) unitCols[u] = std::as_const(units_)[u].col;
    const QHash<int, int> shiftsBefore = rowShifts_;
    pushing_.clear();
    if (!push(item, startPos, row, target)) return false;
    // Persons per cell in the rows where persons moved.
    const QVector<Person>& now = persons_;
    QSet<int> rows;
    for (int p = 1; p < now.size(); ++p)
        if (now[p].newCol != personCols[p]) rows.insert(now[p].newRow);
    QHash<QPair<int, int>, int> held;
    for (int p = 1; p < now.size(); ++p)
        if (rows.contains(now[p].newRow)) ++held[qMakePair(now[p].newCol, now[p].newRow)];
    bool shared = false;
    for (int p = 1; p < now.size(); ++p)
        if (now[p].newCol != personCols[p] && held.value(qMakePair(now[p].newCol, now[p].newRow)) > 1)
            shared = true;
    if (!shared) return true;
    for (int p = 0; p < persons_.size(); ++p) persons_[p].newCol = personCols[p];
    for (int u = 0; u < units_.size(); ++u) units_[u].col = unitCols[u];
    rowShifts_ = shiftsBefore;
    return false;
}

bool LayoutRules::pass() {
    for (int u = 1; u < units_.size(); ++u) {
        const Unit unit = units_[u];
        if (unit.count() < 2) continue;
        for (int k = 1; k <= unit.fams.size(); ++k) {
            const int f = unit.fams[k - 1];
            const Family& fam = families_[f];
            if (fam.childCount == 0 || f == unit.parentFam) continue;
            const int leftPos = qMin(k - 1, unit.count() - 1);
            const int rightPos = qMin(k, unit.count() - 1);
            const double P =
                (persons_[unit.persons[leftPos]].newCol + persons_[unit.persons[rightPos]].newCol) / 2.0;
            const int parentsRow = unit.row ? unit.row : persons_[unit.persons[0]].newRow;
            const double offP = stepped_ && parentsRow % 2 == 0 ? 0.5 : 0.0;

            int childRow = 0;
            for (int c : fam.childPersons)
                if (!childRow || persons_[c].newRow < childRow) childRow = persons_[c].newRow;
            int minCol = 0, maxCol = 0, leftmost = 0;
            for (int c : fam.childPersons) {
                if (persons_[c].newRow != childRow) continue;
                if (!leftmost || persons_[c].newCol < minCol) {
                    if (!leftmost) maxCol = persons_[c].newCol;
                    minCol = persons_[c].newCol;
                    leftmost = c;
                }
                maxCol = qMax(maxCol, persons_[c].newCol);
            }
            const double offC = stepped_ && childRow % 2 == 0 ? 0.5 : 0.0;
            const int C = nearest((minCol + maxCol) / 2.0);
            bool moved = false;
            if (P < C) {
                if (guardedPush(-u, rightPos, parentsRow, nearest(C + offC - offP))) moved = true;
                const int T = minCol == C ? minCol - 1 : minCol;
                if (guardedPush(-u, leftPos, parentsRow, nearest(T + offC - offP))) moved = true;
            } else if (P > minCol) {
                const int cu = persons_[leftmost].unit;
                const int pos = int(units_[cu].persons.indexOf(leftmost));
                int withParents = 0;
                for (int p : units_[cu].persons)
                    if (persons_[p].parentFam) ++withParents;
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

void LayoutRules::finish() {
    int c = iCols_, r = iRows_;
    for (int p = 1; p < persons_.size(); ++p) {
        c = qMax(c, persons_[p].newCol);
        r = qMax(r, persons_[p].newRow);
    }
    if (c > kMaxSide || r > kMaxSide) throw Fail{QStringLiteral("grid side")};
    iCols_ = c;
    iRows_ = r;
    cols = c;
    rows = r;
    cells.clear();
    for (int p = 1; p < persons_.size(); ++p)
        cells.insert(persons_[p].key, {persons_[p].newCol, persons_[p].newRow});
}

bool LayoutRules::organise() {
    PersonDict personView;
    FamilyDict familyView;
    const PersonDict& persons = tree_.GetViewPersons(personView);
    if (persons.isEmpty()) return false;
    const FamilyDict& families = tree_.GetViewFamilies(familyView);
    tree_.GetGridColRow(iCols_, iRows_, true);
    stepped_ = tree_.GetDisplay() && tree_.GetDisplay()->GetStepped();
    for (const auto& [key, box] : persons) {
        personIndex_.insert(key, int(persons_.size()));
        persons_.append({box, key});
    }
    for (const auto& [key, fam] : families) {
        Family rec;
        rec.fam = fam;
        rec.key = key;
        rec.p1 = fam->GetFirstPar() ? personIndex_.value(fam->GetFirstPar()->GetKey()) : 0;
        rec.p2 = fam->GetSecPar() ? personIndex_.value(fam->GetSecPar()->GetKey()) : 0;
        rec.year = familyYear(*fam);
        familyIndex_.insert(key, int(families_.size()));
        families_.append(rec);
    }
    for (int p = 1; p < persons_.size(); ++p) persons_[p].year = personYear(*persons_[p].box);
    try {
        for (int p = 1; p < persons_.size(); ++p)
            if (!persons_[p].unit) buildUnit(p);

        for (int f = 1; f < families_.size(); ++f) {
            Family& fam = families_[f];
            if (!fam.p1 || !fam.p2) continue;
            QVector<int> children;
            for (const SVGBoxPtr& child : fam.fam->GetChildren())
                if (personIndex_.contains(child->GetKey()))
                    children.append(personIndex_.value(child->GetKey()));
            if (children.isEmpty()) continue;
            fam.childCount = int(children.size());
            fam.childPersons = children;
            QVector<qint64> years;
            for (int c : children) {
                persons_[c].parentFam = f;
                years.append(persons_[c].year);
            }
            exchangeSort(years, children);
            for (int c : children) {
                const int cu = persons_[c].unit;
                if (fam.children.contains(cu)) continue;
                fam.children.append(cu);
                if (!units_[cu].parentFam) {
                    units_[cu].parentFam = f;
                    fam.width += units_[cu].count();
                } else {
                    fam.width += 1;
                }
            }
        }

        QVector<int> roots;
        QVector<qint64> keys;
        for (int u = 1; u < units_.size(); ++u) {
            bool root = true;
            for (int p : units_[u].persons)
                if (persons_[p].parentFam && !units_[u].fams.contains(persons_[p].parentFam)) root = false;
            if (!root) continue;
            int col = 0, row = 0;
            tree_.GetPerColRow(persons_[units_[u].persons[0]].key, col, row);
            roots.append(u);
            keys.append(col);
        }
        exchangeSort(keys, roots);
        QVector<qint64> columns = keys;
        QHash<int, qint64> columnOf;
        for (int i = 0; i < roots.size(); ++i) columnOf.insert(roots[i], columns[i]);
        numberTrees(roots);
        for (int i = 0; i < roots.size(); ++i)
            keys[i] = qint64(units_[roots[i]].tree) * (qint64(1) << 32) + columnOf[roots[i]];
        exchangeSort(keys, roots);

        int row = 1, previousTree = 0;
        for (int u : roots) {
            if (units_[u].tree != previousTree && !fits(u, row)) row = firstEmptyRow();
            placeRoot(u, row, units_[u].tree);
            previousTree = units_[u].tree;
        }
        for (int u = 1; u < units_.size(); ++u)
            if (!units_[u].placed) placeRoot(u, firstEmptyRow(), ++nTrees_);

        uncross();

        for (int counter = 0;; ++counter) {
            const bool moved = pass();
            if (counter >= SVGLayout::kPassLimit) {
                warned = true;
                break;
            }
            if (!moved) break;
        }
        finish();
    } catch (const Fail& fail) {
        error = fail.text;
        cells.clear();
    }
    return true;
}

bool LayoutRules::adjust() {
    const bool moved = pass();
    try {
        finish();
    } catch (const Fail& fail) {
        error = fail.text;
        cells.clear();
    }
    return moved;
}

std::string LayoutRules::differenceFromLayout(SVGTree& tree) {
    LayoutRules rules(tree);
    const bool viewShown = rules.organise();
    RecordingReporter reporter;
    SVGLayout layout(&reporter);
    QString refused;
    bool laidOut = false;
    try {
        laidOut = layout.Organise(tree);
    } catch (const AppError& error) {
        refused = error.description;
        laidOut = true;
    }
    if (laidOut != viewShown) return "an empty view is answered differently";
    if (!laidOut) return "";
    if (!rules.error.isEmpty() || !refused.isEmpty()) {
        if (rules.error.isEmpty() != refused.isEmpty())
            return "refused by one only: rules '" + rules.error.toStdString() + "', layout '" +
                   refused.toStdString() + "'";
        return "";
    }
    const bool warned = !reporter.texts(RecordingReporter::Entry::Warn).isEmpty();
    if (warned != rules.warned) return "pass-limit warning differs";
    for (int round = 0; round < 3; ++round) {
        const std::string when = round == 0 ? "after Organise" : "after Adjust " + std::to_string(round);
        int differ = 0;
        std::string first;
        for (const auto& [key, box] : tree.GetPersons()) {
            const QPair<int, int> want = rules.cells.value(key);
            if (box->GetTreeCol() == want.first && box->GetTreeRow() == want.second) continue;
            if (!differ++)
                first = key.toStdString() + " at " + std::to_string(box->GetTreeCol()) + "," +
                        std::to_string(box->GetTreeRow()) + " instead of " + std::to_string(want.first) +
                        "," + std::to_string(want.second);
        }
        if (differ) return when + ": " + std::to_string(differ) + " persons differ, first " + first;
        int cols = 0, rows = 0;
        tree.GetGridColRow(cols, rows, true);
        if (cols != rules.cols || rows != rules.rows) return when + ": grid differs";
        if (round < 2 && layout.Adjust(tree) != rules.adjust()) return "Adjust's answer differs";
    }
    return "";
}
