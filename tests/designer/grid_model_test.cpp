#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "DesignerFixture.h"
#include "foundation/AppError.h"

namespace {
int count(const QList<QString>& texts, const QString& prefix) {
    int n = 0;
    for (const QString& t : texts) n += t.startsWith(prefix);
    return n;
}
}  // namespace

TEST(GridCells, ColoursBySexConflictAndEmptyCells) {
    DesignerTree t;
    t.person("m1", "m", 1, 1);
    t.person("f1", "f", 2, 1);
    t.person("u1", "u", 3, 1);
    t.person("zz", "m", 4, 1);
    t.person("aa", "f", 4, 1);  // shares the cell: added later, listed second
    t.open();
    struct Case { int col; quint32 back; QString tag; } cases[] = {
        {1, GridColour::kMale, "m1"}, {2, GridColour::kFemale, "f1"}, {3, GridColour::kOtherSex, "u1"},
        {4, GridColour::kConflict, "zz"},
    };
    for (const Case& c : cases) {
        const CellAppearance look = t.look(c.col, 1);
        EXPECT_TRUE(look.occupied);
        EXPECT_EQ(look.backColour, c.back) << c.col;
        EXPECT_EQ(look.tag, c.tag) << c.col;
        EXPECT_EQ(look.borderColour, GridColour::kBlack);
        EXPECT_EQ(look.borderWidth, 1);
    }
    EXPECT_EQ(t.model.occupancy().keyList(t.cell(4, 1)), "zz,aa");

    const CellAppearance empty = t.look(5, 2);
    EXPECT_FALSE(empty.occupied);
    EXPECT_EQ(empty.caption, "(5,2)");
    EXPECT_EQ(empty.tag, "");
    EXPECT_EQ(empty.backColour, GridColour::kWindowBackground);
    EXPECT_EQ(empty.borderColour, GridColour::kActiveBorder);
    EXPECT_EQ(empty.foreColour, GridColour::kActiveBorder);

    // A preferred key is shown instead of the first.
    QString keys = "?";
    const CellAppearance preferred = t.model.RenderCell(t.cell(4, 1), 4, 1, "aa", keys);
    EXPECT_EQ(preferred.tag, "aa");
    EXPECT_EQ(keys, "zz,aa");
}

TEST(GridCells, RootPersonHasABlueBorder) {
    DesignerTree t;
    t.person("a", "m", 1, 1);
    t.person("b", "f", 2, 1);
    t.tree.SetRootPerson(t.tree.GetPersons().value("b"));
    t.open();
    EXPECT_EQ(t.look(2, 1).borderColour, GridColour::kRootBorder);
    EXPECT_EQ(t.look(2, 1).borderWidth, 4);
    EXPECT_EQ(t.look(1, 1).borderWidth, 1);
}

TEST(GridCells, FullOrShortTextByImagePartAndStockImages) {
    QTemporaryDir dir;
    const QString stockM = dir.filePath("male.png");
    QFile(stockM).open(QIODevice::WriteOnly);
    const QString missingF = dir.filePath("no-such-female.png");

    DesignerTree t;
    t.setting("ImagePart", "0.6");
    t.setting("StockImageM", stockM);
    t.setting("StockImageF", missingF);
    t.person("own", "u", 1, 1, dir.filePath("own.jpg"));
    t.person("man", "m", 2, 1);
    t.person("woman", "f", 3, 1);
    t.person("other", "x", 4, 1);
    t.open();

    EXPECT_EQ(t.reporter.warnings(), QList<QString>{"Stock female image does not exist: " + missingF});
    struct Case { int col; QString caption, image; } cases[] = {
        {1, "own", dir.filePath("own.jpg")},  // own picture: short text
        {2, "man", stockM},                   // stock picture of the sex
        {3, "woman Full Name", ""},           // missing stock picture: full text, no picture
        {4, "other Full Name", ""},           // no stock picture for the sex
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.look(c.col, 1).caption, c.caption) << c.col;
        EXPECT_EQ(t.look(c.col, 1).image, c.image) << c.col;
    }
    // Built again: the missing picture is not reported a second time.
    t.model.prepareGrid();
    EXPECT_EQ(t.reporter.warnings().size(), 1);

    t.setting("ImagePart", "0");
    t.model.takeTree(&t.tree);
    t.model.prepareGrid();
    EXPECT_EQ(t.look(1, 1).caption, "own Full Name");
    EXPECT_EQ(t.look(1, 1).image, "");
    EXPECT_EQ(t.look(2, 1).caption, "man Full Name");
}

TEST(GridSize, VeryLargeGridThresholdsAndReduction) {
    struct Case { int cols, rows; bool asked; bool yes; int cols2, rows2; } cases[] = {
        {101, 1, true, true, 101, 1},   {100, 20, false, false, 100, 20}, {50, 41, true, true, 50, 41},
        {150, 40, true, false, 70, 28}, {101, 1, true, false, 100, 1},    {1, 2001, true, false, 1, 100},
        {60, 60, true, false, 44, 44},
    };
    for (const Case& c : cases) {
        DesignerTree t(c.cols, c.rows);
        t.reporter.answers.push_back(c.yes);
        t.open();
        EXPECT_EQ(t.reporter.texts(RecordingReporter::Entry::Ask).size(), c.asked ? 1 : 0) << c.cols << "x" << c.rows;
        if (c.asked) {
            EXPECT_EQ(t.reporter.texts(RecordingReporter::Entry::Ask).first(),
                      QString("Are you sure you want to enter with this very large grid requirement (%1,%2)?")
                          .arg(c.cols)
                          .arg(c.rows));
        }
        EXPECT_EQ(t.model.geometry().cols, c.cols2) << c.cols << "x" << c.rows;
        EXPECT_EQ(t.model.geometry().rows, c.rows2) << c.cols << "x" << c.rows;
        int treeCols = 0, treeRows = 0;
        t.tree.GetGridColRow(treeCols, treeRows);
        EXPECT_EQ(std::pair(treeCols, treeRows), std::pair(c.cols, c.rows)) << "the tree keeps its size";
    }
}

TEST(GridSize, AskedOncePerGridSizeAndRefusedBeyondTheLargestSide) {
    DesignerTree t(150, 40);
    t.reporter.answers = {false};
    t.open();
    t.model.readGridSize();
    t.model.prepareGrid();  // a rebuild at the same size: the answer stands
    EXPECT_EQ(t.reporter.texts(RecordingReporter::Entry::Ask).size(), 1);
    EXPECT_EQ(t.model.geometry().cols, 70);
    t.setGrid(150, 41);
    t.model.readGridSize();
    t.model.prepareGrid();
    EXPECT_EQ(t.reporter.texts(RecordingReporter::Entry::Ask).size(), 2);

    DesignerTree huge(16384, 2);
    huge.reporter.defaultYes = true;
    huge.model.takeTree(&huge.tree);
    huge.model.readGridSize();
    try {
        huge.model.prepareGrid();
        ADD_FAILURE() << "a grid side above 16383 is refused";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description.contains("16383")) << e.description.toStdString();
    }
}

TEST(GridCells, PersonsOutsideTheGridAreLoggedAndShowNoLinks) {
    DesignerTree t(4, 3);
    t.person("in", "m", 1, 1);
    t.person("far", "f", 9, 2);
    t.person("none", "f", 0, 0);  // no position yet: no cell, never another's
    t.person("kid", "m", 1, 2);
    t.family("F1", "in", "far", {"kid"});
    t.open();
    EXPECT_EQ(count(t.reporter.warnings(), "Logging the coordinates of persons who are now outside"), 1);
    EXPECT_EQ(t.reporter.logLines(),
              (QList<QString>{"The coordinates of person far (Col 9, Row 2) are outside the bounds of the grid",
                              "The coordinates of person none (Col 0, Row 0) are outside the bounds of the grid"}));
    EXPECT_EQ(t.model.occupancy().occupiedCount(), 2);
    EXPECT_FALSE(t.model.BuildFamilyRecords(true));
    EXPECT_EQ(t.model.records().familyCount(), 0);
    EXPECT_EQ(t.model.records().childCount(), 0);
}
