#include <gtest/gtest.h>

#include "GestureFixture.h"
#include "foundation/AppError.h"

using State = GridGestures::State;
using Line = GridGestures::Line;

namespace {
QString createIn(SVGTree& tree, const QString& key, const QString& a, const QString& b) {
    tree.NewFamily(key, a, b);
    return key;
}
}  // namespace

// ---- Moving persons

TEST(GestureMove, PlainDragMovesOnePersonAndItsLinks) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.tree.SetUnsaved(false);
    t.press(t.inBox(1, 1));
    EXPECT_EQ(t.gestures.state(), State::MovePending);
    EXPECT_EQ(t.model.currentCell, t.cell(1, 1));
    t.moveTo(t.inBox(1, 1, 100, 0));
    EXPECT_EQ(t.gestures.state(), State::MovePending) << "within the drag distance";
    t.moveTo(t.inBox(1, 1, 200, 0));
    EXPECT_EQ(t.gestures.state(), State::MoveDrag) << "past the drag distance";
    t.moveTo(t.inBox(4, 3));
    EXPECT_EQ(t.gestures.moveSource(), t.cell(1, 1));
    t.releaseAt(t.inBox(4, 3));

    EXPECT_EQ(t.gestures.state(), State::Idle);
    EXPECT_EQ(t.at("p1"), (CellRef{t.cell(4, 3), 4, 3}));
    EXPECT_TRUE(t.tree.IsUnsaved());
    EXPECT_EQ(t.model.currentCell, -1);
    EXPECT_EQ(t.events, QStringList{"PersonDetails p1"});
    EXPECT_EQ(t.model.records().family(1).LCR1, (CellRef{t.cell(4, 3), 4, 3})) << "the family follows its parent";
    EXPECT_TRUE(t.host.cellsRedrawn().contains(t.cell(1, 1)));
    EXPECT_TRUE(t.host.cellsRedrawn().contains(t.cell(4, 3)));
    EXPECT_EQ(t.host.redraws.size(), 1) << "one redraw per command";
    EXPECT_TRUE(t.host.redraws[0].families.contains(1));
    EXPECT_TRUE(t.host.redraws[0].childLines.contains(1));
}

TEST(GestureMove, DropsThatChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(GestureTree&)> act;
    } cases[] = {
        {"click on a person", [](GestureTree& t) { t.click(t.inBox(1, 1)); }},
        {"drop on its own cell", [](GestureTree& t) { t.drag(t.inBox(1, 1), t.inBox(1, 1, 200, 200)); }},
        {"drag from an empty cell", [](GestureTree& t) { t.drag(t.inBox(6, 6), t.inBox(7, 7)); }},
        {"drop in a margin", [](GestureTree& t) { t.drag(t.inBox(1, 1), t.inBox(3, 3, 520, 0)); }},
        {"drop off the grid", [](GestureTree& t) { t.drag(t.inBox(1, 1), QPointF(-500, -500)); }},
    };
    for (const Case& c : cases) {
        GestureTree t;
        smallFamily(t);
        t.show();
        t.tree.SetUnsaved(false);
        c.act(t);
        EXPECT_EQ(t.at("p1"), (CellRef{t.cell(1, 1), 1, 1})) << c.name;
        EXPECT_FALSE(t.tree.IsUnsaved()) << c.name;
        EXPECT_TRUE(t.events.isEmpty()) << c.name;
        EXPECT_EQ(t.gestures.state(), State::Idle) << c.name;
        EXPECT_TRUE(t.host.warnings.isEmpty()) << c.name;
    }
}

TEST(GestureMove, DropOnAnOccupiedCellSharesItAndChildDragOntoItIsAmbiguous) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.drag(t.inBox(5, 1), t.inBox(1, 2));
    EXPECT_EQ(t.model.occupancy().keysAt(t.cell(1, 2)), (QStringList{"c1", "s"}));
    EXPECT_EQ(t.model.renderCell(t.cell(1, 2)).backColour, GridColour::kConflict);

    t.drag(t.onCircle("F1"), t.inBox(1, 2));
    EXPECT_EQ(t.host.warnings, QStringList{"Ambiguous child"});
    EXPECT_EQ(t.gestures.activeLine(), Line::None);
}

TEST(GestureMove, SelectionMovesTogetherOrNotAtAll) {
    GestureTree t;
    smallFamily(t);
    t.show();
    for (auto [c, r] : {std::pair{1, 1}, {2, 1}, {5, 1}}) t.click(t.inBox(c, r), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(t.model.selection().text(), "p1,p2,s");

    t.drag(t.inBox(2, 1), t.inBox(2, 3));
    EXPECT_EQ(t.at("p1"), (CellRef{t.cell(1, 3), 1, 3}));
    EXPECT_EQ(t.at("p2"), (CellRef{t.cell(2, 3), 2, 3}));
    EXPECT_EQ(t.at("s"), (CellRef{t.cell(5, 3), 5, 3}));
    EXPECT_EQ(t.events, QStringList{"PersonDetails p2"}) << "once for the group";
    EXPECT_EQ(t.model.selection().text(), "p1,p2,s") << "the selection stays";

    // One of them would leave the grid: none moves, and nothing is said.
    t.events.clear();
    t.drag(t.inBox(1, 3), t.inBox(9, 3));
    EXPECT_EQ(t.at("p1").C, 1);
    EXPECT_EQ(t.at("s").C, 5);
    EXPECT_TRUE(t.events.isEmpty());
    EXPECT_TRUE(t.host.warnings.isEmpty());
}

TEST(GestureMove, SteppedGroupMovesKeepTheirShapeInBothOrientations) {
    // a and b selected; a dragged from `from` to `to`; where both end.
    struct Case {
        bool horiz;
        CellRef a, b;  // display column and row (L unused)
        std::pair<int, int> to, aEnd, bEnd;
    } cases[] = {
        // horizontal: even rows stand half a cell right
        {true, {0, 3, 1}, {0, 3, 2}, {5, 2}, {5, 2}, {6, 3}},  // odd row to even: even-row persons +1 column
        {true, {0, 3, 2}, {0, 3, 1}, {5, 3}, {5, 3}, {4, 2}},  // even row to odd: odd-row persons -1 column
        {true, {0, 3, 1}, {0, 3, 2}, {4, 3}, {4, 3}, {4, 4}},  // same parity: no correction
        // vertical: even columns stand half a cell lower
        {false, {0, 1, 3}, {0, 2, 3}, {2, 5}, {2, 5}, {3, 6}},
        {false, {0, 2, 3}, {0, 1, 3}, {3, 5}, {3, 5}, {2, 4}},
        {false, {0, 1, 3}, {0, 2, 3}, {3, 4}, {3, 4}, {4, 4}},
    };
    for (const Case& c : cases) {
        GestureTree t;
        t.setting("Stepped", "True");
        t.setting("Horiz", c.horiz ? "True" : "False");
        t.person("a", "m", 1, 1);
        t.person("b", "f", 1, 1);
        for (auto [key, cell] : {std::pair{"a", c.a}, {"b", c.b}}) {
            int col = cell.C, row = cell.R;
            t.tree.SetPerColRow(key, col, row);
        }
        t.show();
        t.click(t.inBox(c.a.C, c.a.R), Qt::LeftButton, Qt::ControlModifier);
        t.click(t.inBox(c.b.C, c.b.R), Qt::LeftButton, Qt::ControlModifier);
        ASSERT_EQ(t.model.selection().count(), 2);
        t.drag(t.inBox(c.a.C, c.a.R), t.inBox(c.to.first, c.to.second));
        EXPECT_EQ(std::pair(t.at("a").C, t.at("a").R), c.aEnd) << c.horiz << c.a.C << c.a.R;
        EXPECT_EQ(std::pair(t.at("b").C, t.at("b").R), c.bEnd) << c.horiz << c.b.C << c.b.R;
    }
}

// ---- Clicks

TEST(GestureClick, CtrlClickTogglesAndOtherClicksClear) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.click(t.inBox(1, 1), Qt::LeftButton, Qt::ControlModifier);
    t.click(t.inBox(5, 1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(t.model.selection().text(), "p1,s");
    t.click(t.inBox(1, 1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(t.model.selection().text(), "s");
    t.click(t.inBox(8, 8), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(t.model.selection().text(), "s") << "an empty cell is not selected";
    t.click(t.inBox(8, 8));
    EXPECT_TRUE(t.model.selection().isEmpty());

    // A plain click on a person, selected or not, clears the selection and moves nobody.
    for (const QPointF& on : {t.inBox(5, 1), t.inBox(2, 1)}) {
        t.click(t.inBox(5, 1), Qt::LeftButton, Qt::ControlModifier);
        ASSERT_EQ(t.model.selection().text(), "s");
        t.click(on);
        EXPECT_TRUE(t.model.selection().isEmpty());
        EXPECT_EQ(t.at("s"), (CellRef{t.cell(5, 1), 5, 1}));
        EXPECT_EQ(t.gestures.state(), State::Idle);
    }
}

// The child end of a line lies on the top edge of its child's box: a press
// just inside the box moves the person, a press just above it takes the line.
TEST(GestureMove, APressInsideABoxMovesThePersonUnderTheRedLine) {
    GestureTree t;
    smallFamily(t);
    t.show();
    const int line = t.childRecord("c1");
    const QPointF top = t.model.childLine(line).p2();
    const QPointF inside = top + QPointF(0, 30);

    t.hover(inside);
    ASSERT_EQ(t.gestures.state(), State::Hover) << "the line is red under the pointer";
    t.drag(inside, t.inBox(7, 4));
    EXPECT_EQ(t.at("c1"), (CellRef{t.cell(7, 4), 7, 4}));
    EXPECT_TRUE(t.tree.GetFamilies().value("F1")->ChildExists("c1"));
    EXPECT_EQ(t.gestures.activeLine(), Line::None);

    const QPointF newTop = t.model.childLine(line).p2();
    t.hover(newTop + QPointF(0, -30));
    t.press(newTop + QPointF(0, -30));
    t.moveTo(t.inBox(9, 6));
    EXPECT_EQ(t.gestures.state(), State::LineDrag) << "just above the box the line is taken";
    t.releaseAt(t.inBox(9, 6));
    EXPECT_EQ(t.at("c1"), (CellRef{t.cell(7, 4), 7, 4}));
}

// ---- Spouse links

TEST(GestureSpouse, ShiftDragCreatesAFamilyThroughTheEditor) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.host.createFamily = [](SVGTree& tree, const QString& a, const QString& b) { return createIn(tree, "F2", a, b); };
    t.press(t.inBox(5, 1, 200, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(t.gestures.state(), State::SpouseBand);
    const QRectF box = t.model.geometry().boxRect(5, 1);
    EXPECT_EQ(t.gestures.lineGeometry().p1(), QPointF(box.right(), box.center().y())) << "right half: right edge";
    t.moveTo(t.inBox(4, 3), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(t.gestures.lineGeometry().p2(), t.inBox(4, 3));
    t.releaseAt(t.inBox(1, 2), Qt::LeftButton, Qt::ShiftModifier);

    EXPECT_EQ(t.host.editorCalls, QStringList{"CreateFamily s c1"});
    EXPECT_EQ(t.gestures.state(), State::Idle);
    const int f2 = t.model.records().familyIndex("F2");
    ASSERT_NE(f2, 0);
    EXPECT_TRUE(t.host.familiesRedrawn().contains(f2));
    EXPECT_EQ(t.model.records().family(f2).LCR1.L, t.cell(1, 2));
    EXPECT_EQ(t.recordsByContent(), t.freshRecords());
    EXPECT_TRUE(t.tree.IsUnsaved());
    EXPECT_EQ(t.events, QStringList{"PFChange"});

    // The left half of a box starts the band at its left edge.
    t.press(t.inBox(5, 1, -200, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(t.gestures.lineGeometry().p1(), QPointF(box.left(), box.center().y()));
}

TEST(GestureSpouse, ANewFamilyUpdatesTheSpouseGroupsOfTheRecords) {
    // p2 marries s as well: p1, p2 and s form a group of three, which moves
    // the circles of the families among them as a fresh build places them.
    GestureTree t;
    smallFamily(t);
    t.person("q", "m", 8, 1);
    t.show();
    t.host.createFamily = [](SVGTree& tree, const QString& a, const QString& b) { return createIn(tree, "F2", a, b); };
    t.drag(t.inBox(2, 1), t.inBox(5, 1), Qt::ShiftModifier);
    const int f2 = t.model.records().familyIndex("F2");
    ASSERT_NE(f2, 0);
    EXPECT_TRUE(t.model.records().family(f2).bRelatedSpouses);
    EXPECT_EQ(t.recordsByContent(), t.freshRecords());
    t.host.createFamily = [](SVGTree& tree, const QString& a, const QString& b) { return createIn(tree, "F3", a, b); };
    t.drag(t.inBox(8, 1), t.inBox(5, 1), Qt::ShiftModifier);
    EXPECT_EQ(t.recordsByContent(), t.freshRecords());

    // Deleting F2 splits the group again.
    t.host.answers = {true};
    t.host.popupChoices = {"mnuDeleteFamily"};
    t.click(t.model.circleRect(f2).center(), Qt::RightButton);
    ASSERT_FALSE(t.tree.GetFamilies().contains("F2"));
    EXPECT_EQ(t.recordsByContent(), t.freshRecords());
}

TEST(GestureSpouse, InAViewpointTheNewFamilyJoinsIt) {
    GestureTree t;
    smallFamily(t);
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    v->AddPerRef("s", 5, 1, true);
    v->AddPerRef("c2", 2, 2, true);
    t.show("V");
    t.host.createFamily = [](SVGTree& tree, const QString& a, const QString& b) { return createIn(tree, "F2", a, b); };
    t.drag(t.inBox(5, 1), t.inBox(2, 2), Qt::ShiftModifier);
    EXPECT_TRUE(v->FamilyExists("F2"));
    EXPECT_EQ(t.events, (QStringList{"PFChange", "ViewpointPFChange V"}));
    EXPECT_NE(t.model.records().familyIndex("F2"), 0);
}

TEST(GestureSpouse, RefusalsAndEndsWithoutAFamily) {
    struct Case {
        const char* name;
        std::pair<int, int> from, to;
        QString warning;
    } cases[] = {
        {"onto itself", {5, 1}, {5, 1}, "The two spouses must be distinct from each other"},
        {"already paired", {2, 1}, {1, 1}, "These spouses are already paired in family F1"},
        {"paired outside the view", {5, 1}, {2, 2}, "These spouses are already paired in family F9"},
        {"onto an empty cell", {5, 1}, {7, 7}, ""},
        {"onto a shared cell", {5, 1}, {1, 2}, "Ambiguous spouse"},
        {"from a shared cell", {1, 2}, {5, 1}, "Ambiguous spouse"},
    };
    for (const Case& c : cases) {
        GestureTree t;
        smallFamily(t);
        t.DesignerTree::family("F9", "s", "c2");
        t.person("x", "m", 1, 2);  // shares c1's cell
        SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
        for (auto [k, col, row] : {std::tuple{"p1", 1, 1}, {"p2", 2, 1}, {"c1", 1, 2}, {"x", 1, 2}, {"s", 5, 1}, {"c2", 2, 2}})
            v->AddPerRef(k, col, row, true);
        v->AddFamRef(*t.tree.GetFamilies().value("F1"));
        t.show("V");
        t.tree.SetUnsaved(false);
        t.drag(t.inBox(c.from.first, c.from.second), t.inBox(c.to.first, c.to.second), Qt::ShiftModifier);
        EXPECT_EQ(t.host.warnings, c.warning.isEmpty() ? QStringList() : QStringList{c.warning}) << c.name;
        EXPECT_TRUE(t.host.editorCalls.isEmpty()) << c.name;
        EXPECT_FALSE(t.tree.IsUnsaved()) << c.name;
        EXPECT_EQ(t.gestures.state(), State::Idle) << c.name;
    }
}

TEST(GestureSpouse, CancelledEditorStillRaisesThePendingEvents) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.host.createFamily = [](SVGTree& tree, const QString&, const QString&) {
        tree.NewPerson("made", "Made", "Made", 9, 9, "m", false, QString(), false);
        return QString();
    };
    t.drag(t.inBox(5, 1), t.inBox(1, 2), Qt::ShiftModifier);
    EXPECT_EQ(t.events, QStringList{"PFChange"});
    EXPECT_EQ(t.model.records().familyCount(), 1);
}

TEST(GestureSpouse, AnEditorErrorIsReportedAndResetsTheInteraction) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.click(t.inBox(2, 2), Qt::LeftButton, Qt::ControlModifier);
    t.host.createFamily = [](SVGTree& tree, const QString&, const QString&) -> QString {
        tree.SetPendingPFChange();
        raiseError(ErrorOffset::InvalidKey, "FormFamily", "Broken family");
    };
    t.drag(t.inBox(5, 1), t.inBox(1, 2), Qt::ShiftModifier);
    EXPECT_EQ(t.host.errors, QStringList{"Broken family"});
    EXPECT_EQ(t.events, QStringList{"PFChange"});
    EXPECT_EQ(t.model.currentCell, -1);
    EXPECT_EQ(t.gestures.state(), State::Idle);
}

TEST(GestureSpouse, WrongKeysOrButtonsCancelSilently) {
    struct Case {
        const char* name;
        Qt::MouseButtons held;
        Qt::KeyboardModifiers mods;
    } cases[] = {
        {"Shift released early", Qt::LeftButton, Qt::NoModifier},
        {"Ctrl instead of Shift", Qt::LeftButton, Qt::ControlModifier},
        {"another button", Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier},
    };
    for (const Case& c : cases) {
        GestureTree t;
        smallFamily(t);
        t.show();
        t.press(t.inBox(5, 1), Qt::LeftButton, Qt::ShiftModifier);
        t.moveTo(t.inBox(1, 2), c.held, c.mods);
        EXPECT_EQ(t.gestures.state(), State::Idle) << c.name;
        EXPECT_FALSE(t.gestures.spouseDrag()) << c.name;
        t.releaseAt(t.inBox(1, 2), Qt::LeftButton, Qt::ShiftModifier);
        EXPECT_TRUE(t.host.editorCalls.isEmpty()) << c.name;
        EXPECT_TRUE(t.host.warnings.isEmpty()) << c.name;
    }
}

// ---- Children from a circle

TEST(GestureChild, CircleDragAddsAChild) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.press(t.onCircle("F1"));
    EXPECT_EQ(t.gestures.state(), State::CircleBand);
    EXPECT_EQ(t.model.records().child(0).iFamily, 1);
    EXPECT_EQ(t.gestures.lineGeometry().p1(), t.onCircle("F1"));
    t.moveTo(t.inBox(5, 1));
    EXPECT_EQ(t.gestures.lineGeometry().p2(), t.inBox(5, 1));
    t.releaseAt(t.inBox(5, 1));

    EXPECT_TRUE(t.tree.GetFamilies().value("F1")->ChildExists("s"));
    EXPECT_NE(t.childRecord("s"), 0);
    EXPECT_EQ(t.model.records().child(0).iFamily, 0);
    EXPECT_EQ(t.events, QStringList{"FamilyDetails F1"});
    EXPECT_TRUE(t.host.childLinesRedrawn().contains(t.childRecord("s")));
    EXPECT_EQ(t.gestures.state(), State::Idle);
}

TEST(GestureChild, RefusedChildren) {
    struct Case {
        const char* name;
        std::pair<int, int> to;
        QString warning;
    } cases[] = {
        {"a parent", {1, 1}, "Child must be distinct from parents"},
        {"a child of this family", {1, 2}, "Child c1 is already associated with family F1"},
        {"a child of a family outside the view", {5, 1}, "Child s is already associated with family G"},
        {"an ancestor of a parent", {7, 1}, "Child g1 is an ancestor of p1, a parent of family F1"},
        {"an empty cell", {8, 8}, ""},
        {"off the grid", {40, 40}, ""},
    };
    for (const Case& c : cases) {
        GestureTree t;
        smallFamily(t);
        t.person("g1", "m", 7, 1);
        t.person("g2", "f", 8, 1);
        t.person("h1", "m", 9, 1);
        t.person("h2", "f", 10, 1);
        t.DesignerTree::family("P", "g1", "g2", {"p1"});
        t.DesignerTree::family("G", "h1", "h2", {"s"});
        SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
        for (auto [k, col, row] :
             {std::tuple{"p1", 1, 1}, {"p2", 2, 1}, {"c1", 1, 2}, {"c2", 2, 2}, {"s", 5, 1}, {"g1", 7, 1}})
            v->AddPerRef(k, col, row, true);
        v->AddFamRef(*t.tree.GetFamilies().value("F1"));
        t.show("V");
        t.tree.SetUnsaved(false);
        const QPointF to = c.to.first > 12 ? QPointF(1e6, 1e6) : t.inBox(c.to.first, c.to.second);
        t.drag(t.onCircle("F1"), to);
        EXPECT_EQ(t.host.warnings, c.warning.isEmpty() ? QStringList() : QStringList{c.warning}) << c.name;
        EXPECT_EQ(t.tree.GetFamilies().value("F1")->ChildCount(), 2) << c.name;
        EXPECT_FALSE(t.tree.IsUnsaved()) << c.name;
        EXPECT_EQ(t.model.records().child(0).iFamily, 0) << c.name;
        EXPECT_EQ(t.gestures.activeLine(), Line::None) << c.name << ": the rubber band is gone";
    }
}

// ---- Child lines

TEST(GestureLine, HoverToleranceIsStrictlyUnderThreePixels) {
    GestureTree t;
    t.person("p1", "m", 1, 1);
    t.person("p2", "f", 2, 1);
    t.person("c1", "m", 1, 3);
    t.DesignerTree::family("F1", "p1", "p2", {"c1"});
    t.show();
    const QPointF centre = t.onCircle("F1");  // the line's family end; the child is below it
    t.hover(centre + QPointF(0, -45));
    EXPECT_EQ(t.gestures.state(), State::Idle) << "3 pixels: a miss";
    t.hover(centre + QPointF(0, -30));
    EXPECT_EQ(t.gestures.state(), State::Hover) << "2 pixels: a hit";
    EXPECT_EQ(t.gestures.activeIndex(), 1);
    EXPECT_FALSE(t.gestures.childEnd());
    const QLineF line = t.model.childLine(1);
    t.hover(line.pointAt(0.8));
    EXPECT_TRUE(t.gestures.childEnd()) << "nearer the child";
    t.hover(line.pointAt(0.8), Qt::ShiftModifier);
    EXPECT_EQ(t.gestures.activeLine(), Line::None) << "a modifier without a button cancels";
    t.hover(QPointF(9000, 9000));
    EXPECT_EQ(t.gestures.state(), State::Idle);
}

TEST(GestureLine, TheLowerRecordWinsAndHiddenLinesAreNotOffered) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.hover(t.onCircle("F1") + QPointF(0, -20));  // near the family end of both lines
    EXPECT_EQ(t.gestures.activeIndex(), 1);
    t.model.records().setChildrenHidden(1, true);
    t.hover(t.onCircle("F1") + QPointF(0, -20));
    EXPECT_EQ(t.gestures.activeLine(), Line::None);
}

TEST(GestureLine, DraggingTheFamilyEndMovesTheChildBetweenFamilies) {
    GestureTree t;
    smallFamily(t);
    t.person("q1", "m", 5, 3);
    t.person("q2", "f", 6, 3);
    t.DesignerTree::family("F2", "q1", "q2");
    t.show();
    const int line = t.childRecord("c1");
    const QPointF familyEnd = t.model.childLine(line).pointAt(0.25);

    // Onto its own circle, or onto no circle: nothing changes.
    for (QPointF to : {t.onCircle("F1"), t.inBox(9, 6)}) {
        t.hover(familyEnd);
        ASSERT_EQ(t.gestures.activeIndex(), line);
        t.press(familyEnd);
        t.moveTo(to);
        EXPECT_EQ(t.gestures.state(), State::LineDrag);
        EXPECT_EQ(t.gestures.lineGeometry().p1(), to);
        t.releaseAt(to);
        EXPECT_TRUE(t.tree.GetFamilies().value("F1")->ChildExists("c1"));
        EXPECT_TRUE(t.events.isEmpty());
    }

    t.hover(familyEnd);
    t.drag(familyEnd, t.onCircle("F2"));
    EXPECT_FALSE(t.tree.GetFamilies().value("F1")->ChildExists("c1"));
    EXPECT_TRUE(t.tree.GetFamilies().value("F2")->ChildExists("c1"));
    EXPECT_EQ(t.model.records().child(line).iFamily, t.model.records().familyIndex("F2"));
    EXPECT_EQ(t.events, (QStringList{"FamilyDetails F1", "FamilyDetails F2"})) << "the old family first";
    EXPECT_EQ(t.gestures.lineGeometry(), QLineF()) << "the line went back to its anchors";
}

TEST(GestureLine, DraggingTheChildEndReplacesTheChild) {
    GestureTree t;
    smallFamily(t);
    t.show();
    const int line = t.childRecord("c1");
    const QPointF childEnd = t.model.childLine(line).pointAt(0.9);
    t.hover(childEnd);
    ASSERT_TRUE(t.gestures.childEnd());
    t.drag(childEnd, t.inBox(5, 1));
    const SVGFamilyPtr f1 = t.tree.GetFamilies().value("F1");
    EXPECT_FALSE(f1->ChildExists("c1"));
    EXPECT_TRUE(f1->ChildExists("s"));
    EXPECT_EQ(t.model.records().child(line).Key, "s");
    EXPECT_EQ(t.model.records().child(line).LCR.L, t.cell(5, 1));
    EXPECT_EQ(t.childRecord("c1"), 0);
    EXPECT_EQ(t.events, QStringList{"FamilyDetails F1"});
}

TEST(GestureLine, AModifierOrAnotherButtonDuringALineDragCancelsIt) {
    GestureTree t;
    smallFamily(t);
    t.show();
    const QPointF childEnd = t.model.childLine(1).pointAt(0.9);
    t.hover(childEnd);
    t.press(childEnd);
    t.moveTo(t.inBox(5, 1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(t.gestures.activeLine(), Line::None);
    t.releaseAt(t.inBox(5, 1));
    EXPECT_TRUE(t.tree.GetFamilies().value("F1")->ChildExists("c1"));
    EXPECT_TRUE(t.host.warnings.isEmpty());
}

TEST(GestureLine, RightClickOnABoxWhileALineIsRedOpensNoPopupOnACircleAlways) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.click(t.inBox(5, 1), Qt::LeftButton, Qt::ControlModifier);
    const QPointF nearLine = t.onCircle("F1") + QPointF(0, -20);
    t.hover(nearLine);
    ASSERT_EQ(t.gestures.state(), State::Hover);
    t.click(t.inBox(5, 1), Qt::RightButton);
    EXPECT_TRUE(t.host.popups.isEmpty());
    EXPECT_EQ(t.gestures.activeLine(), Line::None);
    EXPECT_TRUE(t.model.selection().isEmpty()) << "the release cleared the selection";

    t.hover(nearLine);
    ASSERT_EQ(t.gestures.state(), State::Hover);
    t.click(t.onCircle("F1"), Qt::RightButton);
    ASSERT_EQ(t.host.popups.size(), 1);
    EXPECT_EQ(t.host.popups[0].first().caption, "Edit Family ...");
    EXPECT_EQ(t.model.currentFamily, 1);
    EXPECT_EQ(t.gestures.activeLine(), Line::None);

    t.click(t.inBox(5, 1), Qt::RightButton);
    EXPECT_EQ(t.host.popups.size(), 2) << "no line active: the person popup";
    EXPECT_EQ(t.model.currentCell, t.cell(5, 1));
}
