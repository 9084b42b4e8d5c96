#pragma once

#include <algorithm>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include <QString>

#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"

// Generated trees for the layout's benchmarks and tests.
//
// Families of descent: each starts with a few founder couples; every
// generation the children pair off with a cousin of the same family (the
// lines meet again: pedigree collapse) or with a spouse from outside who has
// no parents in the tree; one married person in ten marries a second time;
// a family has up to four children, born in the years after the marriage.
// One person in twenty belongs to no family at all. Nobody marries more than
// twice, so every marriage chain can stand in one row.
//
// Persons start in reading order on a grid `cols` wide, which is the tree's
// grid; the same size, seed and width give the same tree.
class DescentTrees {
public:
    DescentTrees(int target, unsigned seed, int cols) : target_(target), cols_(cols), rng_(seed) {
        tree_ = std::make_unique<SVGTree>();
    }

    // The tree: families of descent, or only persons without any family.
    std::unique_ptr<SVGTree> build(bool unrelatedOnly = false) {
        if (unrelatedOnly) {
            while (count_ < target_) person(1800 + int(rng_() % 100));
        } else {
            while (count_ < target_) lineage();
        }
        int cols = cols_, rows = count_ / cols_ + 1;
        tree_->SetGridColRow(cols, rows, true);
        tree_->ClearPendingEvents();
        return std::move(tree_);
    }
    int families() const { return families_; }

private:
    // A new person; every twentieth one created stands alone.
    QString person(int year) {
        if (count_ % 20 == 19) {
            ++count_;
            newBox(1800 + int(rng_() % 100));
        }
        ++count_;
        return newBox(year);
    }
    QString newBox(int year) {
        const int i = int(tree_->GetPersons().count());
        const QString key = QStringLiteral("p") + QString::number(i);
        tree_->NewPerson(key, QStringLiteral("Person ") + QString::number(i) + u' ' + QString::number(year), QString(),
                         1 + i % cols_, 1 + i / cols_, i % 2 ? QStringLiteral("m") : QStringLiteral("f"), false,
                         QString(), true);
        return key;
    }
    SVGFamilyPtr family(const QString& a, const QString& b) {
        const QString key = QStringLiteral("f") + QString::number(++families_);
        return tree_->NewFamily(key, a, b);
    }
    int yearOf(const QString& key) const {
        const QString text = tree_->GetPersons().value(key)->GetText();
        return text.right(4).toInt();
    }

    void lineage() {
        struct Couple {
            SVGFamilyPtr fam;
            int year;
        };
        std::vector<Couple> couples;
        const int founders = 2 + int(rng_() % 3);
        for (int i = 0; i < founders; ++i) {
            const int year = 1650 + int(rng_() % 30);
            const QString a = person(year), b = person(year + 2);
            couples.push_back({family(a, b), year + 22});
        }
        const int generations = 4 + int(rng_() % 4);
        for (int g = 0; g < generations && count_ < target_ && !couples.empty(); ++g) {
            // Children of this generation's couples, with their parents' family.
            std::vector<std::pair<QString, SVGFamilyPtr>> children;
            for (const Couple& c : couples) {
                const int n = int(rng_() % 5);
                for (int k = 0; k < n && count_ < target_; ++k) {
                    const QString child = person(c.year + 1 + 2 * k);
                    c.fam->AddChild(tree_->GetPersons().value(child));
                    children.emplace_back(child, c.fam);
                }
            }
            std::shuffle(children.begin(), children.end(), rng_);
            std::vector<Couple> next;
            for (std::size_t i = 0; i < children.size() && count_ < target_; ++i) {
                const QString& child = children[i].first;
                const int roll = int(rng_() % 100);
                if (roll < 15) continue;  // stays single
                QString spouse;
                // A cousin from another family of the same line.
                if (roll < 40 && i + 1 < children.size() && children[i + 1].second != children[i].second) {
                    spouse = children[++i].first;
                } else {
                    spouse = person(yearOf(child));
                }
                const int year = yearOf(child) + 22;
                next.push_back({family(child, spouse), year});
                if (rng_() % 10 == 0) next.push_back({family(spouse, person(year - 20)), year + 8});
            }
            couples = std::move(next);
        }
    }

    int target_;
    int cols_;
    int count_ = 0;
    int families_ = 0;
    std::mt19937 rng_;
    std::unique_ptr<SVGTree> tree_;
};
