#include <gtest/gtest.h>

#include <QMap>

#include "AppError.h"
#include "GedFixtures.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

struct Placed {
    const char* id;
    qint32 row, col;
};

struct Layout : ::testing::Test {
    GedLoad load;
    std::shared_ptr<GEDDocClass> doc;
    void open(const char* fixture) {
        doc = load.loadFixture(q(fixture));
        ASSERT_TRUE(doc);
    }
    GEDIndiClass person(const char* id) const { return GEDIndiClass(doc->GetXrefs().value(QString::fromLatin1(id))); }
    void expectPlaces(std::initializer_list<Placed> places) const {
        for (const Placed& p : places) {
            EXPECT_EQ(person(p.id).GetRow(), p.row) << p.id;
            EXPECT_EQ(person(p.id).GetCol(), p.col) << p.id;
        }
    }
    // Every individual on a distinct cell of the grid, inside the document's largest row and column.
    void expectDistinctCells() const {
        QMap<QPair<qint32, qint32>, QString> cells;
        for (const GEDIndiClass& p : doc->GetAllPersons()) {
            EXPECT_GE(p.GetRow(), 1) << p.GetXref().toStdString();
            EXPECT_GE(p.GetCol(), 1) << p.GetXref().toStdString();
            EXPECT_LE(p.GetRow(), doc->GetMaxRow());
            EXPECT_LE(p.GetCol(), doc->GetMaxCol());
            const auto cell = qMakePair(p.GetRow(), p.GetCol());
            EXPECT_FALSE(cells.contains(cell)) << p.GetXref().toStdString() << " shares a cell with " << cells.value(cell).toStdString();
            cells.insert(cell, p.GetXref());
        }
    }
};

TEST_F(Layout, CoupleAboveTheirChildrenFromTheBottomUp) {
    open("layout_couple.ged");
    doc->Layout();
    // The elder child is placed first, then its parents side by side, then the younger child.
    expectPlaces({{"I1", 1, 1}, {"I2", 1, 2}, {"I3", 2, 1}, {"I4", 2, 2}});
    EXPECT_EQ(doc->GetMaxRow(), 2);
    EXPECT_EQ(doc->GetMaxCol(), 2);
    // A second call changes nothing.
    person("I3").SetCol(5);
    doc->Layout();
    EXPECT_EQ(person("I3").GetCol(), 5);
}

TEST_F(Layout, SpouseWithParentsBringsTheRootPartnerDown) {
    open("layout_marriages.ged");
    doc->Layout();
    // Henry has no parents and marries Wilma, whose parents are in the file:
    // both stand on her row, their children one row below; his second wife
    // joins them, and the whole spouse group stands side by side.
    expectPlaces({{"G1", 1, 1}, {"G2", 1, 2}, {"V", 2, 1}, {"H", 2, 2}, {"W", 2, 3}, {"C1", 3, 1}, {"C2", 3, 2}});
    EXPECT_EQ(doc->GetMaxRow(), 3);
    EXPECT_EQ(doc->GetMaxCol(), 3);
}

TEST_F(Layout, TwoMarriagesFromTheTopDown) {
    open("layout_two_wives.ged");
    doc->Layout();
    // The bottom row is the fuller one: each wife follows the husband, and
    // each family's children follow in order.
    expectPlaces({{"P1", 1, 1}, {"P2", 1, 2}, {"K1", 2, 1}, {"K2", 2, 2}, {"P3", 1, 3}, {"K3", 2, 3}, {"K4", 2, 4}});
    EXPECT_EQ(doc->GetMaxCol(), 4);
    expectDistinctCells();
}

TEST_F(Layout, UnconnectedTreesShareTheRows) {
    open("layout_unconnected.ged");
    doc->Layout();
    expectPlaces({{"L", 1, 1},
                  {"A3", 2, 1}, {"A1", 1, 2}, {"A2", 1, 3},
                  {"B3", 2, 2}, {"B1", 1, 4}, {"B2", 1, 5}, {"B4", 2, 3}, {"B5", 2, 4}});
    EXPECT_EQ(doc->GetMaxRow(), 2);
    EXPECT_EQ(doc->GetMaxCol(), 5);
}

TEST_F(Layout, LineageLoopIsReportedOnce) {
    open("layout_loop.ged");
    try {
        doc->Layout();
        FAIL() << "no error for a person who is their own grandfather";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kErrorBase + 516);
        EXPECT_EQ(e.source, q("GEDDocClass"));
        EXPECT_EQ(e.description, q("Potential lineage loop near individual I1, Own Grandfather (1800-): Visited 2 times during "
                                   "layout algorithm"));
    }
    // The document does not try again.
    EXPECT_NO_THROW(doc->Layout());
}

TEST_F(Layout, PositionsFromThisSystemsExportAreKept) {
    open("layout_exported.ged");
    EXPECT_TRUE(doc->Kestrova());
    doc->Layout();
    expectPlaces({{"P1", 3, 7}, {"P2", 3, 2}, {"P3", 5, 9}, {"P4", 1, 1}});
    EXPECT_EQ(doc->GetMaxRow(), 5);
    EXPECT_EQ(doc->GetMaxCol(), 9);
}

TEST_F(Layout, ExportWithAMissingPartnerIsLaidOutAgain) {
    // A family without a wife gets a placeholder, who has no position: the
    // whole document is laid out, and the largest row and column read from
    // the file are never lowered.
    open("layout_exported_partner.ged");
    doc->Layout();
    expectPlaces({{"P1", 1, 1}, {"P2", 1, 2}, {"P3", 2, 1}});
    EXPECT_EQ(person("P4").GetRow(), 1);
    EXPECT_GE(person("P4").GetCol(), 3);
    expectDistinctCells();
    EXPECT_EQ(doc->GetMaxRow(), 5);
    EXPECT_EQ(doc->GetMaxCol(), 9);
}

TEST_F(Layout, PeopleNoWalkReachesStillGetACell) {
    // U names the family as its birth family but the family does not list
    // it; Z is the child of a couple whose second partner has no row of its
    // own (that partner, Q, is listed as a child nowhere yet names a birth
    // family that does not list it either).
    doc = load.loadText("0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n"
                        "0 @H@ INDI\n1 SEX M\n1 BIRT\n2 DATE 1800\n1 FAMS @F1@\n"
                        "0 @W@ INDI\n1 SEX F\n1 BIRT\n2 DATE 1801\n1 FAMS @F1@\n"
                        "0 @C@ INDI\n1 BIRT\n2 DATE 1830\n1 FAMC @F1@\n1 FAMS @F2@\n"
                        "0 @U@ INDI\n1 BIRT\n2 DATE 1832\n1 FAMC @F1@\n"
                        "0 @Q@ INDI\n1 BIRT\n2 DATE 1833\n1 FAMC @F1@\n1 FAMS @F2@\n"
                        "0 @Z@ INDI\n1 BIRT\n2 DATE 1860\n1 FAMC @F2@\n"
                        "0 @F1@ FAM\n1 HUSB @H@\n1 WIFE @W@\n1 CHIL @C@\n"
                        "0 @F2@ FAM\n1 HUSB @C@\n1 WIFE @Q@\n1 CHIL @Z@\n0 TRLR\n");
    ASSERT_TRUE(doc);
    doc->Layout();
    // Without a walk to them, U and Q stand one row below the parents they
    // name, and Z below its parents.
    EXPECT_EQ(person("U").GetRow(), 2);
    EXPECT_EQ(person("Q").GetRow(), 2);
    EXPECT_EQ(person("C").GetRow(), 2);
    EXPECT_EQ(person("Z").GetRow(), 3);
    expectDistinctCells();
}

TEST_F(Layout, LinksChangedAfterLoadingAreFollowed) {
    // The family's first CHIL line is pointed at S after loading, and a
    // placeholder person is made: the layout goes by the lines as they are now.
    doc = load.loadText("0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n"
                        "0 @H@ INDI\n1 SEX M\n1 FAMS @F1@\n"
                        "0 @W@ INDI\n1 SEX F\n1 FAMS @F1@\n"
                        "0 @C@ INDI\n1 FAMC @F1@\n"
                        "0 @S@ INDI\n"
                        "0 @F1@ FAM\n1 HUSB @H@\n1 WIFE @W@\n1 CHIL @C@\n0 TRLR\n");
    ASSERT_TRUE(doc);
    GEDOtherClass chil;
    for (const GEDObject& line : GEDFamClass(doc->GetXrefs().value(q("F1"))).GetData())
        if (GEDOtherClass(line).GetPayL() == q("@C@")) chil = GEDOtherClass(line);
    ASSERT_FALSE(chil.isNull());
    chil.SetPayL(q("@S@"));
    const GEDIndiClass made = doc->CreatePerson(q("f"));
    doc->Layout();
    EXPECT_EQ(person("S").GetRow(), 2);
    EXPECT_EQ(person("C").GetRow(), 2);
    EXPECT_EQ(made.GetRow(), 1);
    expectDistinctCells();
}

// GEDCOM text of a chain of generations: each generation a couple whose
// children are the next couple (so every person descends from the first
// couple through 2^n paths), and three children at the bottom.
QByteArray collapsedPedigree(int generations) {
    QByteArray text = "0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n";
    for (int g = 1; g <= generations; ++g) {
        for (const char* who : {"A", "B"}) {
            text += QStringLiteral("0 @%1%2@ INDI\n1 NAME %1 /Gen%2/\n1 SEX %3\n1 BIRT\n2 DATE %4\n")
                        .arg(QLatin1String(who)).arg(g).arg(QLatin1String(*who == 'A' ? "M" : "F")).arg(1000 + 20 * g)
                        .toUtf8();
            if (g > 1) text += QStringLiteral("1 FAMC @F%1@\n").arg(g - 1).toUtf8();
            if (g < generations) text += QStringLiteral("1 FAMS @F%1@\n").arg(g).toUtf8();
        }
    }
    for (int c = 1; c <= 3; ++c)
        text += QStringLiteral("0 @C%1@ INDI\n1 NAME C%1 /Last/\n1 FAMC @F%2@\n").arg(c).arg(generations - 1).toUtf8();
    for (int g = 1; g < generations; ++g) {
        text += QStringLiteral("0 @F%1@ FAM\n1 HUSB @A%1@\n1 WIFE @B%1@\n").arg(g).toUtf8();
        if (g + 1 < generations) text += QStringLiteral("1 CHIL @A%1@\n1 CHIL @B%1@\n").arg(g + 1).toUtf8();
        else for (int c = 1; c <= 3; ++c) text += QStringLiteral("1 CHIL @C%1@\n").arg(c).toUtf8();
    }
    return text + "0 TRLR\n";
}

TEST_F(Layout, ManyPathsOfDescentAreNoLoop) {
    // 2^20 paths lead from the first couple to the last children.
    doc = load.loadBytes(collapsedPedigree(21));
    ASSERT_TRUE(doc);
    ASSERT_NO_THROW(doc->Layout());
    for (int g = 1; g < 21; ++g) {
        EXPECT_EQ(person(QStringLiteral("A%1").arg(g).toLatin1().constData()).GetRow(), g);
        EXPECT_EQ(person(QStringLiteral("A%1").arg(g).toLatin1().constData()).GetCol(), 1);
        EXPECT_EQ(person(QStringLiteral("B%1").arg(g).toLatin1().constData()).GetCol(), 2);
    }
    expectPlaces({{"C1", 21, 1}, {"C2", 21, 2}, {"C3", 21, 3}});
    expectDistinctCells();
}

// A line of `generations` fathers and sons (each wife a placeholder), or one
// couple with `children` children.
QByteArray line(int generations) {
    QByteArray text = "0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n";
    for (int g = 1; g <= generations; ++g) {
        text += QStringLiteral("0 @I%1@ INDI\n1 SEX M\n").arg(g).toUtf8();
        if (g > 1) text += QStringLiteral("1 FAMC @F%1@\n").arg(g - 1).toUtf8();
        if (g < generations) text += QStringLiteral("1 FAMS @F%1@\n").arg(g).toUtf8();
    }
    for (int g = 1; g < generations; ++g) text += QStringLiteral("0 @F%1@ FAM\n1 HUSB @I%1@\n1 CHIL @I%2@\n").arg(g).arg(g + 1).toUtf8();
    return text + "0 TRLR\n";
}

QByteArray broad(int children) {
    QByteArray text = "0 HEAD\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n0 @H@ INDI\n1 FAMS @F@\n0 @W@ INDI\n1 FAMS @F@\n0 @F@ FAM\n1 HUSB @H@\n1 WIFE @W@\n";
    for (int c = 1; c <= children; ++c) text += QStringLiteral("1 CHIL @C%1@\n").arg(c).toUtf8();
    for (int c = 1; c <= children; ++c) text += QStringLiteral("0 @C%1@ INDI\n1 FAMC @F@\n").arg(c).toUtf8();
    return text + "0 TRLR\n";
}

TEST_F(Layout, DeepLinesAndTheLimitsOfTheGrid) {
    doc = load.loadBytes(line(30000));
    ASSERT_TRUE(doc);
    ASSERT_NO_THROW(doc->Layout());
    EXPECT_EQ(person("I30000").GetRow(), 30000);
    EXPECT_EQ(doc->GetMaxRow(), 30000);
    EXPECT_EQ(person("I1").GetCol(), 1);

    struct Case {
        QByteArray text;
        const char* message;
    };
    const Case cases[] = {
        {line(40000), "The tree has 40000 generations; a tree file holds at most 32767 rows"},
        {broad(40000), "The tree has 40000 people in one generation; a tree file holds at most 32767 columns"},
    };
    for (const Case& c : cases) {
        doc = load.loadBytes(c.text);
        ASSERT_TRUE(doc);
        try {
            doc->Layout();
            ADD_FAILURE() << c.message;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, kErrorBase + 516);
            EXPECT_EQ(e.description, q(c.message));
        }
    }
}

}  // namespace
