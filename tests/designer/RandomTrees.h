#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>

#include "LayoutFixture.h"
#include "SVGFamily.h"

// A random tree. Layered: generations, marriages within a generation (each
// person at most two spouses, so chains never branch), children one
// generation down, at most one family each. Tangled: the same marriages, but
// children drawn from anywhere, so lines may descend from themselves and a
// person may be the child of several families.
inline void randomTree(LayoutTree& t, std::mt19937& rng, bool tangled) {
    const int generations = 1 + int(rng() % 5);
    QVector<QStringList> gen(generations);
    int n = 0;
    for (int g = 0; g < generations; ++g) {
        const int count = 1 + int(rng() % 7);
        for (int i = 0; i < count; ++i) {
            const QString key = QString("p%1").arg(++n);
            t.person(key, QString("P %1").arg(1800 + int(rng() % 40) + 30 * g), 1 + int(rng() % 9),
                     1 + int(rng() % 9));
            gen[g] << key;
        }
    }
    QHash<QString, int> spouses;
    QSet<QString> couples;
    QSet<QString> hasParents;
    int f = 0;
    for (int g = 0; g < generations; ++g) {
        const QStringList& people = gen[g];
        const int marriages = int(rng() % (people.size() + 1));
        for (int m = 0; m < marriages; ++m) {
            const QString a = people[int(rng() % people.size())];
            const QString b = people[int(rng() % people.size())];
            const QString pair = a < b ? a + b : b + a;
            if (a == b || couples.contains(pair) || spouses[a] >= 2 || spouses[b] >= 2) continue;
            couples.insert(pair);
            ++spouses[a];
            ++spouses[b];
            QStringList kids;
            if (tangled) {
                const int k = int(rng() % 4);
                for (int i = 0; i < k; ++i) {
                    const QString c = QString("p%1").arg(1 + int(rng() % n));
                    if (c != a && c != b && !kids.contains(c)) kids << c;
                }
            } else if (g + 1 < generations) {
                for (const QString& c : gen[g + 1])
                    if (!hasParents.contains(c) && rng() % 3 == 0) {
                        kids << c;
                        hasParents.insert(c);
                    }
            }
            t.family(QString("f%1").arg(++f), a, b, kids);
        }
    }
}

// Families of descent, the shape of a real family tree: founder couples,
// then generation after generation of children, who marry a child of another
// family of their generation (two lines meet; within one lineage, cousins),
// a person from outside without parents, or nobody. Some marry a second time,
// again a child of the generation or an outsider; nobody marries more than
// twice, so marriage chains never branch. Persons start in random cells of
// a grid `cols` wide, and a few stand alone.
inline void lineageTree(LayoutTree& t, std::mt19937& rng, int target, int cols) {
    int n = 0;
    QHash<QString, int> spouses;
    auto person = [&](int year) {
        const QString key = QString("p%1").arg(++n);
        t.person(key, QString("P %1").arg(year), 1 + int(rng() % cols), 1 + int(rng() % (target / cols + 3)));
        if (rng() % 25 == 0)
            t.person(QString("p%1").arg(++n), QString("Alone %1").arg(1800 + rng() % 90),
                     1 + int(rng() % cols), 1);
        return key;
    };
    int f = 0;
    QSet<QString> couplesMade;
    // A new family of a and b, or none when they may not marry (the same
    // person, a couple already, or one of them married twice).
    auto marry = [&](const QString& a, const QString& b) -> SVGFamilyPtr {
        const QString pair = a < b ? a + u'+' + b : b + u'+' + a;
        if (a == b || couplesMade.contains(pair) || spouses[a] >= 2 || spouses[b] >= 2) return nullptr;
        couplesMade.insert(pair);
        ++spouses[a];
        ++spouses[b];
        return t.family(QString("f%1").arg(++f), a, b);
    };
    struct Couple {
        SVGFamilyPtr fam;
        int year;
    };
    std::vector<Couple> couples;
    const int founders = 1 + int(rng() % 4);
    for (int i = 0; i < founders; ++i) {
        const int year = 1650 + int(rng() % 30);
        couples.push_back({marry(person(year), person(year + 1)), year + 22});
    }
    while (n < target && !couples.empty()) {
        std::vector<std::pair<QString, SVGFamilyPtr>> children;
        for (const Couple& c : couples) {
            const int count = int(rng() % 5);
            for (int k = 0; k < count && n < target; ++k) {
                const QString child = person(c.year + int(rng() % 6));
                c.fam->AddChild(t.tree.GetPersons().value(child));
                children.emplace_back(child, c.fam);
            }
        }
        std::shuffle(children.begin(), children.end(), rng);
        std::vector<Couple> next;
        const int year = couples.front().year + 22;
        auto partnerFor = [&](std::size_t i) -> QString {
            // A child of another family of this generation, still free to marry.
            for (std::size_t j = i + 1; j < children.size() && j < i + 6; ++j)
                if (children[j].second != children[i].second && spouses[children[j].first] < 2)
                    return children[j].first;
            return QString();
        };
        for (std::size_t i = 0; i < children.size(); ++i) {
            const QString& child = children[i].first;
            if (spouses[child] >= 2) continue;
            const int roll = int(rng() % 100);
            if (roll < 15) continue;
            QString spouse = roll < 50 ? partnerFor(i) : QString();
            if (spouse.isEmpty()) spouse = person(year);
            const SVGFamilyPtr fam = marry(child, spouse);
            if (!fam) continue;
            next.push_back({fam, year + int(rng() % 5)});
            if (rng() % 6 == 0) {
                // A second marriage of one of the two.
                QString other = partnerFor(i);
                if (other.isEmpty()) other = person(year + 4);
                if (const SVGFamilyPtr again = marry(rng() % 2 ? spouse : child, other))
                    next.push_back({again, year + 8});
            }
        }
        couples = std::move(next);
    }
}
