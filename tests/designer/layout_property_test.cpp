#include <gtest/gtest.h>

#include <random>

#include <QHash>
#include <QSet>

#include "LayoutFixture.h"
#include "RandomTrees.h"
#include "SVGLayout.h"

namespace {

// What a layout must leave alone: every person's texts and family set, and
// every family's parents and children.
QStringList treeData(const SVGTree& tree) {
    QStringList out;
    for (const auto& [key, p] : tree.GetPersons())
        out << key + u'|' + p->GetText() + u'|' + p->GetFamSet() + u'|' + p->GetNotes().join(u'/');
    for (const auto& [key, f] : tree.GetFamilies()) {
        QStringList kids;
        for (const auto& c : f->GetChildren()) kids << c->GetKey();
        out << key + u'|' + f->GetFirstPar()->GetKey() + u'|' + f->GetSecPar()->GetKey() + u'|' + kids.join(u',');
    }
    return out;
}

// Whether the person's marriage chain holds another person with parents.
bool marriesAcrossLines(const SVGTree& tree, const SVGBoxPtr& person) {
    QSet<QString> seen{person->GetKey()};
    QList<SVGBoxPtr> queue{person};
    int withParents = 0;
    while (!queue.isEmpty()) {
        const SVGBoxPtr p = queue.takeFirst();
        if (!tree.ChildFamily(p->GetKey()).isEmpty()) ++withParents;
        for (const QString& fk : p->GetFamKeys().keys()) {
            const SVGFamilyPtr f = tree.GetFamilies().value(fk);
            for (const SVGBoxPtr& s : {f->GetFirstPar(), f->GetSecPar()})
                if (!seen.contains(s->GetKey())) {
                    seen.insert(s->GetKey());
                    queue.append(s);
                }
        }
    }
    return withParents > 1;
}

void checkLayout(LayoutTree& t, bool layered) {
    const auto grid = t.grid();
    QSet<QPair<int, int>> cells;
    for (const auto& [key, p] : t.tree.GetPersons()) {
        const auto cell = t.cell(key);
        EXPECT_GE(cell.first, 1) << key.toStdString();
        EXPECT_GE(cell.second, 1) << key.toStdString();
        EXPECT_LE(cell.first, grid.first) << key.toStdString();
        EXPECT_LE(cell.second, grid.second) << key.toStdString();
        EXPECT_FALSE(cells.contains(cell)) << "two persons in one cell: " << key.toStdString();
        cells.insert(cell);
    }
    for (const auto& [key, f] : t.tree.GetFamilies()) {
        const int parentsRow = f->GetFirstPar()->GetTreeRow();
        EXPECT_EQ(parentsRow, f->GetSecPar()->GetTreeRow()) << "spouses apart in " << key.toStdString();
        if (layered) {
            for (const auto& c : f->GetChildren()) {
                // A marriage between two lines stands one row below the
                // family that places it, which need not be the lower one.
                if (marriesAcrossLines(t.tree, c)) continue;
                EXPECT_GT(c->GetTreeRow(), parentsRow) << key.toStdString();
            }
        }
    }
}

}  // namespace

TEST(LayoutProperty, RandomTrees) {
    std::mt19937 rng(20261210);
    for (int round = 0; round < 2000; ++round) {
        const bool tangled = round % 2 == 1;
        LayoutTree t(4 + int(rng() % 12), 3 + int(rng() % 6));
        randomTree(t, rng, tangled);
        const QStringList before = treeData(t.tree);
        const auto grid0 = t.grid();
        QHash<QString, QPair<int, int>> start;
        for (const QString& k : t.tree.GetPersons().keys()) start.insert(k, t.cell(k));
        SVGLayout layout;
        ASSERT_TRUE(layout.Organise(t.tree)) << round;
        SCOPED_TRACE(round);
        checkLayout(t, !tangled);
        EXPECT_EQ(treeData(t.tree), before);
        if (HasFailure()) {
            // The failing tree, to rebuild it as a fixture.
            std::cerr << "grid " << grid0.first << "," << grid0.second << "\n";
            for (const auto& [key, p] : t.tree.GetPersons())
                std::cerr << key.toStdString() << " " << p->GetText().toStdString() << " from " << start[key].first << ","
                          << start[key].second << " at " << t.col(key) << ","
                          << t.row(key) << "\n";
            for (const auto& [key, f] : t.tree.GetFamilies()) {
                std::cerr << key.toStdString() << ": " << f->GetFirstPar()->GetKey().toStdString() << "+"
                          << f->GetSecPar()->GetKey().toStdString() << " ->";
                for (const auto& c : f->GetChildren()) std::cerr << " " << c->GetKey().toStdString();
                std::cerr << "\n";
            }
            return;
        }
    }
}
