#include <QApplication>
#include <QGraphicsLineItem>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "FamilyCircleItem.h"
#include "FormGridFixture.h"
#include "FormGridHost.h"
#include "GridView.h"
#include "ScriptedMenuExec.h"
#include "ucGridBox.h"

namespace {
// Parents p1 (1,1) and p2 (2,1) of F1 with child c1 (1,2); s (5,1) alone.
class FormGridGestureTest : public FormGridTest {
protected:
    QTemporaryDir dir;
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};

    void open() {
        person("p1", "m", 1, 1);
        person("p2", "f", 2, 1);
        person("c1", "m", 1, 2);
        person("s", "f", 5, 1);
        family("F1", "p1", "p2", {"c1"});
        tree->SetTreeFile(dir.filePath("Tree.txt"));
        form->LoadDetails(tree, QString());
        form->resize(1200, 900);
    }
    QWidget* viewport() const { return form->view()->viewport(); }
    // The viewport point of a scene point in pixels.
    QPoint at(QPointF scene) const { return form->view()->mapFromScene(scene); }
    QPoint inBox(int col, int row) const { return at(form->box(cell(col, row))->sceneBoundingRect().center()); }
    QPoint inEmptyCell(int col, int row) const {
        return at(GridGeometry::toPixels(form->model().geometry().boxRect(col, row)).center());
    }
    QPoint onCircle(int family) const { return at(form->circle(family)->sceneBoundingRect().center()); }
    // A move with the buttons held and the modifier keys down.
    void moveTo(QPoint p, Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), viewport()->mapToGlobal(QPointF(p)), Qt::NoButton, held, mods);
        QApplication::sendEvent(viewport(), &move);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(viewport(), Qt::LeftButton, mods, from);
        moveTo((from + to) / 2, Qt::LeftButton, mods);
        moveTo(to, Qt::LeftButton, mods);
        QTest::mouseRelease(viewport(), Qt::LeftButton, mods, to);
    }
    // The tree as saved and read back.
    std::unique_ptr<SVGTree> saved() {
        form->mnuSave_Click();
        auto back = std::make_unique<SVGTree>();
        back->LoadFile(std::make_shared<SVGDisplay>(), tree->GetTreeFile(), false);
        return back;
    }
    static std::pair<int, int> place(const SVGTree& t, const QString& key) {
        int c = 0, r = 0;
        t.GetPerColRow(key, c, r);
        return {c, r};
    }
};
}  // namespace

TEST_F(FormGridGestureTest, DraggingAPersonMovesItInTheSavedFile) {
    open();
    drag(inBox(5, 1), inEmptyCell(7, 4));
    EXPECT_EQ(form->box(cell(5, 1)), nullptr);
    ASSERT_TRUE(form->box(cell(7, 4)));
    EXPECT_EQ(form->box(cell(7, 4))->Tag, "s");
    EXPECT_EQ(place(*saved(), "s"), std::pair(7, 4));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor) << "the drag cursor is gone";
}

TEST_F(FormGridGestureTest, ShiftDragLinksSpousesThroughTheFamilyEditor) {
    open();
    QStringList asked;
    form->host().createFamily = [&](SVGTree& t, const QString& a, const QString& b) {
        asked << a + "+" + b;
        t.NewFamily("F2", a, b);
        return QStringLiteral("F2");
    };
    drag(inBox(5, 1), inBox(1, 2), Qt::ShiftModifier);
    EXPECT_EQ(asked, QStringList{"s+c1"});
    EXPECT_FALSE(form->familyLine(0)->isVisible()) << "the rubber band is hidden";
    const int record = form->model().records().familyIndex("F2");
    ASSERT_NE(record, 0);
    ASSERT_TRUE(form->circle(record));
    EXPECT_TRUE(form->circle(record)->isVisible());
    const SVGFamilyPtr f2 = saved()->GetFamilies().value("F2");
    ASSERT_TRUE(f2);
    EXPECT_EQ(f2->GetFirstPar()->GetKey(), "s");
}

TEST_F(FormGridGestureTest, CircleDragAddsAChildWithItsLine) {
    open();
    QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, onCircle(1));
    moveTo(inBox(5, 1), Qt::LeftButton);
    EXPECT_TRUE(form->childLine(0)->isVisible()) << "the rubber band follows the pointer";
    QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, inBox(5, 1));
    EXPECT_FALSE(form->childLine(0)->isVisible());
    int family = 0;
    const int record = form->model().iFindChild("s", family);
    ASSERT_NE(record, 0);
    ASSERT_TRUE(form->childLine(record));
    EXPECT_TRUE(form->childLine(record)->isVisible());
    EXPECT_TRUE(saved()->GetFamilies().value("F1")->ChildExists("s"));
}

TEST_F(FormGridGestureTest, HoveredChildLineTurnsRedAndBack) {
    open();
    const QLineF line = form->childLine(1)->line();
    moveTo(at(line.pointAt(0.5)), Qt::NoButton);
    EXPECT_EQ(form->childLine(1)->pen().color(), QColor(255, 0, 0));
    moveTo(inEmptyCell(9, 7), Qt::NoButton);
    EXPECT_EQ(form->childLine(1)->pen().color(), QColor(0x28, 0xAB, 0x28));
}

TEST_F(FormGridGestureTest, ADraggedChildLineIsPaintedWhereverItsEndGoes) {
    int cols = 60, rows = 8;
    tree->SetGridColRow(cols, rows, true);
    open();
    const QLineF line = form->childLine(1)->line();
    moveTo(at(line.pointAt(0.9)), Qt::NoButton);
    QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, at(line.pointAt(0.9)));
    const QPoint far = inEmptyCell(40, 6);
    moveTo(far, Qt::LeftButton);
    const QLineF dragged = form->childLine(1)->line();
    ASSERT_NE(dragged, line) << "one end follows the pointer";
    EXPECT_TRUE(showsColourNear(dragged.pointAt(0.9), QColor(255, 0, 0))) << "the line is painted far from where it was";
    QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier, far);
}

TEST_F(FormGridGestureTest, PopupDeletesAPersonAfterTheQuestion) {
    open();
    menus.choose("Delete Person");
    boxes.answers.push_back(QMessageBox::Yes);
    QTest::mouseClick(viewport(), Qt::RightButton, Qt::NoModifier, inBox(5, 1));
    ASSERT_EQ(menus.shown.size(), 1);
    EXPECT_EQ(boxes.texts(), QStringList{"Are you sure you want to delete person s?"});
    EXPECT_EQ(form->box(cell(5, 1)), nullptr);
    EXPECT_FALSE(saved()->GetPersons().contains("s"));
}

TEST_F(FormGridGestureTest, CopyThenPasteNewThroughThePopups) {
    open();
    menus.choose("Copy Person");
    QTest::mouseClick(viewport(), Qt::RightButton, Qt::NoModifier, inBox(5, 1));
    menus.choose("Paste New Person");
    QTest::mouseClick(viewport(), Qt::RightButton, Qt::NoModifier, inEmptyCell(8, 6));
    ASSERT_EQ(menus.shown.size(), 2);
    ASSERT_TRUE(form->box(cell(8, 6)));
    const QString copy = form->box(cell(8, 6))->Tag;
    EXPECT_NE(copy, "s");
    const auto back = saved();
    EXPECT_TRUE(back->GetPersons().contains(copy));
    EXPECT_EQ(place(*back, copy), std::pair(8, 6));
}
