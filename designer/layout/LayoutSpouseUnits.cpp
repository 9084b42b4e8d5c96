#include "LayoutSpouseUnits.h"

#include <utility>

#include <QHash>

#include "LayoutSort.h"
#include "SVGLayout.h"
#include "foundation/AppError.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"

namespace {

// The error a dictionary raises when a key is added twice: two families of
// the view with the same two parents.
constexpr int kDuplicateKeyError = 457;

// A person as a refusal names it: its caption on one line (a backslash
// breaks a caption's lines) and, in brackets, its key; the key alone when it
// has no caption.
QString personLabel(const LayoutPersonRec& person) {
    const QString caption = person.box ? person.box->GetText().replace(u'\\', u' ').simplified() : QString();
    return caption.isEmpty() ? person.key : caption + QStringLiteral(" (") + person.key + u')';
}

}  // namespace

LayoutSpouseUnits::LayoutSpouseUnits(LayoutRecords& records)
    : r_(records), personStamp_(records.persons.size(), 0), personSwept_(records.persons.size(), 0) {}

void LayoutSpouseUnits::buildUnit(int person) {
    // The person's families, closed over the family sets of both parents of
    // each: every family linked to the person through a chain of marriages.
    // Families are taken in the order a breadth-first sweep meets them.
    const int u = int(r_.units.size());
    QVector<int> fams;
    auto addFamSet = [&](int p) {
        // A person's family set adds nothing new the second time.
        if (personSwept_[p] == u) return;
        personSwept_[p] = u;
        for (int i = r_.famOfStart[p]; i < r_.famOfStart[p + 1]; ++i) {
            const int f = r_.famOf[i];
            if (r_.families[f].p1 && r_.families[f].p2 && r_.famStamp[f] != u) {
                r_.famStamp[f] = u;
                fams.append(f);
            }
        }
    };
    addFamSet(person);
    for (int i = 0; i < fams.size(); ++i) {
        addFamSet(r_.families[fams[i]].p1);
        addFamSet(r_.families[fams[i]].p2);
    }

    r_.units.append(LayoutUnitRec());
    LayoutUnitRec rec;
    if (fams.isEmpty()) {
        rec.first = person;
        rec.count = 1;
        r_.persons[person].unit = u;
        r_.units[u] = rec;
        return;
    }
    const QVector<int> chain = fams.size() >= 2 ? chainOrder(fams) : fams;
    for (int f : chain) {
        r_.persons[r_.families[f].p1].unit = u;
        r_.persons[r_.families[f].p2].unit = u;
        rec.fams.append(f);
        rec.years.append(r_.families[f].year);
    }
    rec.chainCount = int(chain.size());
    const LayoutFamilyRec& f1 = r_.families[chain[0]];
    if (chain.size() == 1) {
        rec.first = f1.p1;
    } else {
        const LayoutFamilyRec& f2 = r_.families[chain[1]];
        rec.first = (f1.p1 == f2.p1 || f1.p1 == f2.p2) ? f1.p1 : f1.p2;
    }
    personStamp_[rec.first] = u;
    for (int i = 0; i < chain.size(); ++i) {
        const LayoutFamilyRec& f = r_.families[chain[i]];
        const int a = i == 0 ? rec.first : r_.families[chain[i - 1]].p1;
        const int b = i == 0 ? 0 : r_.families[chain[i - 1]].p2;
        const int m = (f.p1 == a || f.p1 == b) ? f.p2 : f.p1;
        // A ring of marriages (A-B, B-C, C-A) reaches a person twice: it
        // stands in the row once.
        if (personStamp_[m] == u) continue;
        personStamp_[m] = u;
        rec.members.append(m);
    }
    rec.count = 1 + int(rec.members.size());
    r_.units[u] = rec;
}

QVector<int> LayoutSpouseUnits::chainOrder(const QVector<int>& fams) {
    QHash<qint64, int> pairs;
    QHash<int, QVector<int>> spouses;
    QVector<int> entered;
    // The same key whichever of the two is the first parent.
    auto pairKey = [](int a, int b) { return (qint64(qMin(a, b)) << 32) | qint64(qMax(a, b)); };
    for (int f : fams) {
        const LayoutFamilyRec& rec = r_.families[f];
        const qint64 key = pairKey(rec.p1, rec.p2);
        if (pairs.contains(key)) {
            // Two families of one couple would take the same place in the
            // marriage chain: the layout is refused, naming both families
            // and the couple, so the user knows what to merge or remove.
            const LayoutFamilyRec& first = r_.families[pairs.value(key)];
            throw AppError(kDuplicateKeyError, QString::fromLatin1(SVGLayout::kSource),
                           QStringLiteral("Families ") + first.fam->GetKey() + QStringLiteral(" and ") +
                               rec.fam->GetKey() + QStringLiteral(" have the same two parents, ") +
                               personLabel(r_.persons[first.p1]) + QStringLiteral(" and ") +
                               personLabel(r_.persons[first.p2]) +
                               QStringLiteral(": Auto Layout needs one family per couple"));
        }
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
        return f ? r_.families[f].year : 0;
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
        LayoutSort::sortByYear(years, single);
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
    // A marriage the walk did not reach: the links branch. The first person
    // (in the order they entered) left with such a marriage is named.
    for (int p : entered)
        if (!ordered[p].isEmpty())
            throw AppError(errorNumber(SVGLayout::kSortSpousesErrorOffset),
                           QString::fromLatin1(SVGLayout::kSource),
                           QStringLiteral("Internal error: Unable to sort set of related spouses of ") +
                               personLabel(r_.persons[p]) +
                               QStringLiteral(": Auto Layout cannot put the marriages linked to this person in one row"));
    return chain;
}

void LayoutSpouseUnits::numberTrees(const QVector<int>& roots) {
    // Family index to tree number, for this numbering only. A family the map
    // already holds has all its descendants in it too (they were collected
    // with it), so the walk stops there.
    QVector<int> famTree(r_.families.size(), 0);
    QVector<int> stamp(r_.families.size(), 0);
    int walk = 0;
    for (int r : roots) {
        LayoutUnitRec& u = r_.units[r];
        if (u.count < 2) {
            u.tree = ++r_.nTrees;
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
            for (int c : r_.families[f].childPersons)
                for (int i = r_.famOfStart[c]; i < r_.famOfStart[c + 1]; ++i) below.append(r_.famOf[i]);
            for (int k = int(below.size()) - 1; k >= 0; --k) stack.append(below[k]);
        }
        const int tree = held ? held : ++r_.nTrees;
        for (int f : collected) famTree[f] = tree;
        u.tree = tree;
    }
}

void LayoutSpouseUnits::uncross() {
    for (int u = 1; u < r_.units.size(); ++u) {
        LayoutUnitRec& rec = r_.units[u];
        if (rec.count < 2) continue;
        for (int pos = 0; pos + 1 < rec.count; ++pos) {
            LayoutPersonRec& left = r_.persons[r_.unitPerson(rec, pos)];
            LayoutPersonRec& right = r_.persons[r_.unitPerson(rec, pos + 1)];
            if (!left.parentFam || !right.parentFam) continue;
            if (r_.families[left.parentFam].col < r_.families[right.parentFam].col) continue;
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
