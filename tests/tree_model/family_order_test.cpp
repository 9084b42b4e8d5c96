#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "SVGTree.h"

// The families of a saved tree come in the order an exchanging selection sort
// of their keys (row * 1000 + distance between the partners) leaves them, on
// trees large enough for every pattern of equal and smaller keys to occur.
TEST(TreeFileFamilyOrder, MatchesTheExchangingSelectionSortOnManyArrangements) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 12; ++round) {
        const int families = 20 + round * 15;
        const int rows = 1 + round % 4;
        const int distances = 1 + round % 3;
        QTemporaryDir dir;
        SVGTree tree;
        std::vector<std::pair<int, QString>> expected;
        for (int i = 0; i < families; ++i) {
            const int row = 1 + static_cast<int>(random() % rows);
            const int distance = static_cast<int>(random() % distances);
            const QString p = QStringLiteral("p%1").arg(i), q = QStringLiteral("q%1").arg(i);
            tree.NewPerson(p, p, "", 1, row, "m", false, "", true);
            tree.NewPerson(q, q, "", 1 + distance, row, "f", false, "", true);
            tree.NewFamily(QStringLiteral("f%1").arg(i), p, q);
            expected.push_back({row * 1000 + distance, QStringLiteral("f%1").arg(i)});
        }
        for (size_t i = 0; i + 1 < expected.size(); ++i)
            for (size_t j = i + 1; j < expected.size(); ++j)
                if (expected[j].first < expected[i].first) std::swap(expected[i], expected[j]);

        const QString file = dir.filePath("Tree.txt");
        tree.SetTreeFile(file);
        tree.SaveToFile();
        QFile in(file);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QStringList written;
        for (const QString& line : QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n")))
            if (line.startsWith(u"F ")) written << line.mid(2, line.indexOf(u'=') - 2);
        QStringList want;
        for (const auto& e : expected) want << e.second;
        EXPECT_EQ(written, want) << "round " << round;
    }
}
