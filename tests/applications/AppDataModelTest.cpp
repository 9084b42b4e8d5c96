#include <gtest/gtest.h>

#include "AppDataModel.h"
#include "DefinitionFixtures.h"

namespace {

using Move = AppDataModel::Move;
using Cell = AppDataModel::Cell;

const QStringList kTwoColumns{"First", "Second"};

// The values of the rows that hold something, each row's cells joined with ",".
QStringList filledRows(const AppDataModel& model) {
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        bool any = false;
        for (int c = 0; c < model.columnCount(); ++c) {
            cells << model.cell(r, c);
            any = any || !model.cell(r, c).isEmpty();
        }
        if (any) rows << cells.join(u',');
    }
    return rows;
}

TEST(AppDataTable, ColumnsComeFromTheKindsTaggedItemsSoValuesMatchTheSignature) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    AppDataModel model;
    // "Note" has items (" a ", " First "), ("", "Second") and ("c", no text):
    // the item without a tag is not in the signature, the one without a text is.
    ASSERT_TRUE(model.load(*loaded->apps, "Note", "Note | 1 | 2"));
    EXPECT_EQ(model.titles(), (QStringList{"First", "c"}));
    EXPECT_EQ(model.description(), "Spaced note");
    EXPECT_EQ(filledRows(model), QStringList{"1,2"});
    EXPECT_EQ(model.resultText(), "Note | 1 | 2");

    // Aliases take the other kind's items.
    ASSERT_TRUE(model.load(*loaded->apps, "LinkV", ""));
    EXPECT_EQ(model.titles(), (QStringList{"Viewpoint", "Name", "File"}));

    EXPECT_FALSE(model.load(*loaded->apps, "Nowhere", "Nowhere | 1"));
    EXPECT_EQ(model.columnCount(), 0);
}

struct RoundTrip {
    const char* name;
    QString input;
    QStringList rows;
    QString output;
};

class AppDataRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(AppDataRoundTrip, ReadsItsOwnLinesAndWritesTheOthersFirst) {
    const RoundTrip& t = GetParam();
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "descr", t.input));
    EXPECT_EQ(filledRows(model), t.rows);
    EXPECT_EQ(model.resultText(), t.output);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AppDataRoundTrip,
    ::testing::Values(
        RoundTrip{"OtherKindsFirstAndEmptyLastCellWritten", "X | 1 | 2\r\nY | a", {"a,"}, "X | 1 | 2\r\nY | a | "},
        RoundTrip{"OwnLinesMoveBehindTheOthers", "Y | a | b\r\nX | 1\r\nZ|q", {"a,b"}, "X | 1\r\nZ|q\r\nY | a | b"},
        RoundTrip{"EmptyLinesAndFinalBreakDropped", "X | 1\r\n\r\nY|a|b\r\n", {"a,b"}, "X | 1\r\nY | a | b"},
        RoundTrip{"BlankLineKeptAsAnotherKinds", "X | 1\r\n   \r\nY | a", {"a,"}, "X | 1\r\n   \r\nY | a | "},
        RoundTrip{"IdComparedExactly", "y | a\r\n Y | b ", {"b,"}, "y | a\r\nY | b | "},
        RoundTrip{"ExtraCellsDropped", "Y | a | b | c | d", {"a,b"}, "Y | a | b"},
        RoundTrip{"OtherLinesVerbatim", "  X|  1 |2  ", {}, "  X|  1 |2  "},
        RoundTrip{"AllBlankRowSkipped", "Y |   |  \r\nY | | z", {",z"}, "Y |  | z"},
        RoundTrip{"NothingGivesNothing", "", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppDataTable, AtLeastFifteenRowsAndMoreWhenTheDataHasThem) {
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", "Y | 1"));
    EXPECT_EQ(model.rowCount(), 15);
    QStringList lines;
    for (int i = 0; i < 20; ++i) lines << QStringLiteral("Y | %1 | x").arg(i);
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", lines.join("\r\n")));
    EXPECT_EQ(model.rowCount(), 20);
    EXPECT_EQ(model.resultText(), lines.join("\r\n"));
    model.addRows(5);
    EXPECT_EQ(model.rowCount(), 25);
}

TEST(AppDataTable, NavigationWraps) {
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", ""));
    const int last = model.rowCount() - 1;
    const struct {
        Cell from;
        Move move;
        Cell to;
    } cases[] = {
        {{0, 0}, Move::Next, {0, 1}},        {{0, 1}, Move::Next, {1, 0}},
        {{last, 1}, Move::Next, {0, 0}},     {{3, 1}, Move::Previous, {3, 0}},
        {{3, 0}, Move::Previous, {2, 1}},    {{0, 0}, Move::Previous, {last, 1}},
        {{4, 1}, Move::Down, {5, 1}},        {{last, 1}, Move::Down, {0, 1}},
        {{0, 1}, Move::Up, {last, 1}},       {{4, 0}, Move::Up, {3, 0}},
        {{4, 1}, Move::Last, {last, 1}},     {{4, 1}, Move::First, {0, 1}},
    };
    for (const auto& c : cases) {
        const Cell to = model.moved(c.from, c.move);
        EXPECT_EQ(to, c.to) << "from " << c.from.row << "," << c.from.column << " move " << int(c.move) << " gave "
                            << to.row << "," << to.column;
    }
}

TEST(AppDataTable, RowCommands) {
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", "Y | a | 1\r\nY | b | 2"));
    model.insertRowAbove(1);
    EXPECT_EQ(model.rowCount(), 16);
    EXPECT_EQ(model.cell(1, 0), "");
    EXPECT_EQ(model.cell(2, 0), "b");

    // Inserting above the last row keeps its content in the new last row.
    model.setCell(15, 0, "last");
    model.insertRowAbove(15);
    EXPECT_EQ(model.cell(16, 0), "last");
    EXPECT_EQ(model.cell(15, 0), "");

    EXPECT_TRUE(model.deleteRow(0));
    EXPECT_EQ(model.cell(0, 0), "");
    EXPECT_EQ(model.cell(1, 0), "b");
    EXPECT_EQ(model.rowCount(), 16);

    AppDataModel one;
    ASSERT_TRUE(one.load("Y", kTwoColumns, "", ""));
    while (one.rowCount() > 1) ASSERT_TRUE(one.deleteRow(one.rowCount() - 1));
    one.setCell(0, 0, "kept");
    EXPECT_FALSE(one.deleteRow(0));
    EXPECT_EQ(one.rowCount(), 1);
    EXPECT_EQ(one.cell(0, 0), "kept");
}

TEST(AppDataTable, ASeparatorOrLineBreakInACellIsNamedByRowAndColumn) {
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", "Y | a | b"));
    EXPECT_EQ(model.cellProblem(), "");
    const struct {
        const char* text;
        int row;
        int column;
        const char* message;
    } cases[] = {
        {"x|y", 2, 1, "Row 3, column \"Second\": a value cannot hold \"|\" or a line break"},
        {"x\ny", 0, 0, "Row 1, column \"First\": a value cannot hold \"|\" or a line break"},
        {"x\r", 4, 0, "Row 5, column \"First\": a value cannot hold \"|\" or a line break"},
    };
    for (const auto& c : cases) {
        AppDataModel m = model;
        m.setCell(c.row, c.column, c.text);
        EXPECT_EQ(m.cellProblem(), c.message) << c.text;
    }
}

TEST(AppDataTable, ColumnWidthsFollowTheLongestText) {
    AppDataModel model;
    ASSERT_TRUE(model.load("Y", kTwoColumns, "", "Y | short | " + QString(40, u'w')));
    EXPECT_EQ(model.columnChars(), (QList<int>{15, 40}));
}

}  // namespace
