// The place-key editor's rows: loading, the row commands, "SVG-U" copy and
// paste, saving into the table and the expansion of a row's key; the key
// moves and column widths of the editable tables.

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "PlaceKeyClass.h"
#include "PlaceKeyRows.h"
#include "foundation/AppError.h"
#include "foundation/GridCells.h"

namespace {

const QChar FF(12);

PlaceKeyRows rowsOf(std::initializer_list<QStringList> rows) {
    PlaceKeyRows out;
    out.load(PlaceKeyClass());
    int r = 0;
    for (const QStringList& row : rows) {
        for (int c = 0; c < 3; ++c) out.setCell(r, c, row.value(c));
        ++r;
    }
    return out;
}

TEST(PlaceKeyRows, LoadsEveryKeyThenBlankRowsUpToFifteen) {
    PlaceKeyClass places;
    places.Define(QStringLiteral("web"), QStringLiteral(" http://x.org/ "), QStringLiteral("/srv/x/"));
    places.Define(QStringLiteral("pics"), QString(), QStringLiteral("/p/"));
    PlaceKeyRows rows;
    rows.load(places);
    EXPECT_EQ(rows.rowCount(), 15);
    EXPECT_EQ(rows.rows()[0], (QStringList{"web", "http://x.org/", "/srv/x/"}));
    EXPECT_EQ(rows.rows()[1], (QStringList{"pics", "", "/p/"}));
    EXPECT_EQ(rows.rows()[2], (QStringList{"", "", ""}));

    PlaceKeyClass many;
    for (int i = 0; i < 20; ++i) many.Define(QStringLiteral("k%1").arg(i), QString(), QString());
    rows.load(many);
    EXPECT_EQ(rows.rowCount(), 20);
    EXPECT_EQ(rows.key(19), u"k19");
}

TEST(PlaceKeyRows, SaveKeepsKeyedRowsInOrderAndTheLowerOfTwoWins) {
    PlaceKeyRows rows = rowsOf({{" web ", " http://a/ ", " /a/ "},
                                {"", "http://dropped/", "/dropped/"},
                                {"pics", "", "/p/"},
                                {"web", "http://b/", "/b/"}});
    PlaceKeyClass places;
    places.Define(QStringLiteral("gone"), QString(), QString());
    rows.save(places);
    EXPECT_EQ(entriesOf(places.GetDict()), (QStringList{"web=http://b/|/b/", "pics=|/p/"}));
}

TEST(PlaceKeyRows, AnInvalidKeyLeavesTheTableWhole) {
    PlaceKeyRows rows = rowsOf({{"web", "http://a/", ""}, {"9bad", "", ""}});
    PlaceKeyClass places;
    places.Define(QStringLiteral("old"), QStringLiteral("http://old/"), QString());
    try {
        rows.save(places);
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, errorNumber(515));
        EXPECT_EQ(e.source, u"FormURLs");
        EXPECT_EQ(e.description,
                  u"Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)");
    }
    EXPECT_EQ(entriesOf(places.GetDict()), QStringList{"old=http://old/|"});
}

TEST(PlaceKeyRows, RowCommands) {
    PlaceKeyRows rows = rowsOf({{"a"}, {"b"}, {"c"}});
    rows.insertRowAbove(1);
    EXPECT_EQ(rows.rowCount(), 16);
    EXPECT_EQ(rows.key(0), u"a");
    EXPECT_EQ(rows.key(1), u"");
    EXPECT_EQ(rows.key(2), u"b");
    rows.deleteRow(0);
    EXPECT_EQ(rows.rowCount(), 15);
    EXPECT_EQ(rows.key(1), u"b");
    rows.addRows(5);
    EXPECT_EQ(rows.rowCount(), 20);

    // The last row left is emptied, not removed.
    PlaceKeyRows one;
    one.addRows(1);
    one.setCell(0, 0, QStringLiteral("only"));
    one.setCell(0, 2, QStringLiteral("/o/"));
    one.deleteRow(0);
    EXPECT_EQ(one.rowCount(), 1);
    EXPECT_EQ(one.rows()[0], (QStringList{"", "", ""}));
}

TEST(PlaceKeyRows, CopyPacksValidRowsTrimmed) {
    PlaceKeyRows rows = rowsOf({{" web ", " http://a/ ", " /a/ "}, {"", "x", "y"}, {"bad key", "z", ""}, {"pics", "", "/p/"}});
    EXPECT_EQ(rows.packRow(0), QStringLiteral("SVG-U\n") + FF + "web\nhttp://a/\n/a/");
    EXPECT_EQ(rows.packRow(1), u"SVG-U\n");
    EXPECT_EQ(rows.packRow(2), u"SVG-U\n");
    EXPECT_EQ(rows.packAll(), QStringLiteral("SVG-U\n") + FF + "web\nhttp://a/\n/a/" + FF + "pics\n\n/p/");
}

TEST(PlaceKeyRows, PasteKeepsKnownKeysAndFillsBlankRows) {
    PlaceKeyRows rows = rowsOf({{"web", "http://mine/", "/mine/"}, {"", "stale", "stale"}, {"x"}});
    const QString text = QStringLiteral("SVG-U\n") + FF + "web\nhttp://theirs/\n/theirs/" + FF + "pics\nhttp://p/\n/p/";
    EXPECT_EQ(rows.paste(text), 1);
    EXPECT_EQ(rows.rows()[0], (QStringList{"web", "http://mine/", "/mine/"}));
    EXPECT_EQ(rows.rows()[1], (QStringList{"pics", "http://p/", "/p/"}));

    // A known key alone makes its row current.
    EXPECT_EQ(rows.paste(QStringLiteral("SVG-U\n") + FF + "x\n\n"), 2);

    // With no blank key left, a new row is appended.
    PlaceKeyRows full;
    full.addRows(1);
    full.setCell(0, 0, QStringLiteral("a"));
    EXPECT_EQ(full.paste(QStringLiteral("SVG-U\n") + FF + "b\nu\nd"), 1);
    EXPECT_EQ(full.rows()[1], (QStringList{"b", "u", "d"}));
}

TEST(PlaceKeyRows, PasteAcceptsOnlySvgUTextsAndMendsShortRecords) {
    struct Case {
        QString text;
        int current;
        QStringList firstRow;
    };
    const QStringList blank{"", "", ""};
    const Case cases[] = {
        {QStringLiteral("SVG-U"), -1, blank},
        {QStringLiteral("SVG-P\n") + FF + "a\nb\nc", -1, blank},
        {QStringLiteral(" SVG-U\n") + FF + "a\nb\nc", -1, blank},
        {QStringLiteral("SVG-U\n"), -1, blank},
        {QStringLiteral("SVG-U\n") + FF + "a", 0, {"a", "", ""}},
        {QStringLiteral("SVG-U\n") + FF + "a\nhttp://u/", 0, {"a", "http://u/", ""}},
        {QStringLiteral("SVG-U\r\n") + FF + "a\r\nhttp://u/\r\n/d/\r\n", 0, {"a", "http://u/", "/d/"}},
    };
    for (const Case& c : cases) {
        PlaceKeyRows rows;
        rows.load(PlaceKeyClass());
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(PlaceKeyRows::isPlaceKeyText(c.text), c.current >= 0 || c.text == u"SVG-U\n");
        EXPECT_EQ(rows.paste(c.text), c.current);
        EXPECT_EQ(rows.rows()[0], c.firstRow);
    }
}

TEST(PlaceKeyRows, ExpansionOfARowsKey) {
    PlaceKeyRows rows = rowsOf({{"web", "http://x.org/a\\b/", "/srv/x/"},
                                {"sub", "$web:sub/", ""},
                                {"", "http://u/", "/d/"},
                                {"nourl", "", "/d/"}});
    EXPECT_EQ(rows.expand(0, true), u"/srv/x/");
    EXPECT_EQ(rows.expand(1, false), u"http://x.org/a\\\\b/sub/");

    struct Case {
        int row;
        bool local;
        const char* message;
    };
    const Case cases[] = {
        {2, false, "No place key defined on this row"},
        {3, false, "No URL mapping defined on this row"},
        {1, true, "No local mapping defined on this row"},
    };
    for (const Case& c : cases) {
        try {
            rows.expand(c.row, c.local);
            ADD_FAILURE() << "no error for row " << c.row;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number, errorNumber(516));
            EXPECT_EQ(e.description, QString::fromUtf8(c.message));
        }
    }

    // An invalid key anywhere stops the expansion.
    rows.setCell(5, 0, QStringLiteral("-x"));
    try {
        rows.expand(0, true);
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, errorNumber(515));
    }
}

TEST(GridCells, NextCellWrapsAroundTheTable) {
    using M = GridMove;
    struct Case {
        GridCell from;
        GridMove move;
        GridCell to;
    };
    // 15 rows of 3 columns.
    const Case cases[] = {
        {{0, 0}, M::Next, {0, 1}},      {{4, 2}, M::Next, {5, 0}},       {{14, 2}, M::Next, {0, 0}},
        {{4, 1}, M::Previous, {4, 0}},  {{4, 0}, M::Previous, {3, 2}},   {{0, 0}, M::Previous, {14, 2}},
        {{4, 1}, M::Down, {5, 1}},      {{14, 1}, M::Down, {0, 1}},      {{0, 2}, M::Up, {14, 2}},
        {{7, 0}, M::Up, {6, 0}},        {{3, 1}, M::Last, {14, 1}},      {{9, 2}, M::First, {0, 2}},
    };
    for (const Case& c : cases) {
        const GridCell to = nextCell(c.from, c.move, 15, 3);
        EXPECT_EQ(to, c.to) << "from " << c.from.row << "," << c.from.column << " move " << int(c.move);
    }
    EXPECT_EQ(nextCell({0, 0}, M::Next, 0, 3), (GridCell{0, 0}));
}

TEST(GridCells, ColumnWidthsShareTheWidthByLongestText) {
    PlaceKeyRows rows = rowsOf({{"web", "http://a.very.long.example.org/trees/", "/d/"}});
    EXPECT_EQ(rows.columnChars(), (QList<int>{15, 37, 15}));
    // Short texts: equal shares, the last taking the remainder.
    EXPECT_EQ(columnWidths({15, 15, 15}, 601), (QList<int>{200, 200, 201}));
    EXPECT_EQ(columnWidths({15, 30, 15}, 600), (QList<int>{150, 300, 150}));
    EXPECT_EQ(columnWidths({15, 37, 15}, 670), (QList<int>{150, 370, 150}));
    EXPECT_EQ(columnWidths({}, 600), QList<int>());
}

}  // namespace
