#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include "FormGridFixture.h"
#include "GridView.h"
#include "ucGridBox.h"

namespace {

// Persons on a large full grid and in two viewpoints.
class FormGridMenusTest : public FormGridTest {
protected:
    FormGrid::MenuDialogs saved = FormGrid::menuDialogs();

    void SetUp() override {
        FormGridTest::SetUp();
        setting("Viewpoints", "True");
        int cols = 50, rows = 40;
        tree->SetGridColRow(cols, rows, true);
        person("a", "m", 1, 1);
        person("b", "f", 2, 1);
        person("far", "m", 48, 38);
        family("F", "a", "b");
        SVGViewpointPtr v = tree->AddViewpoint("v1", "North", 10, 10);
        v->AddPerRef("a", 2, 2, true);
        SVGViewpointPtr w = tree->AddViewpoint("v2", "South", 50, 40);
        w->AddPerRef("far", 45, 35, true);
        form->LoadDetails(tree, "v1");
        form->resize(500, 400);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        FormGrid::menuDialogs() = saved;
        FormGridTest::TearDown();
    }
    QStringList captions(QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions()) out << a->text();
        return out;
    }
    QMenu* switchMenu() { return form->menuEntry("mnuSwitchViewpoint")->menu(); }
};

TEST_F(FormGridMenusTest, TheMenuBarInItsOrderAndSwitchingViewpointThroughIt) {
    QStringList bar;
    for (QAction* a : form->menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&View", "&Options", "&Tools"}));
    EXPECT_FALSE(form->menuEntry("mnuAdjustLayout")->isVisible());
    EXPECT_EQ(form->menuEntry("mnuSelectAll")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));

    form->mnuFile_Click();
    EXPECT_EQ(captions(switchMenu()), (QStringList{"(Full Tree)", "North", "South"}));
    switchMenu()->actions().at(2)->trigger();
    EXPECT_EQ(tree->GetViewpointKey(), "v2");
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint South (50 x 40)");
    ASSERT_TRUE(form->box(cell(45, 35)));
    EXPECT_EQ(form->box(cell(45, 35))->Tag, "far");

    form->mnuEdit_Click();
    EXPECT_TRUE(form->menuEntry("mnuDuplicateTree")->isEnabled());
    form->mnuFile_Click();
    switchMenu()->actions().at(0)->trigger();
    EXPECT_EQ(tree->GetViewpointKey(), "");
    form->mnuEdit_Click();
    EXPECT_FALSE(form->menuEntry("mnuDuplicateTree")->isEnabled());
    form->mnuView_Click();
    EXPECT_FALSE(form->menuEntry("mnuRevert")->isEnabled());
    form->mnuTools_Click();
    EXPECT_TRUE(form->menuEntry("mnuViewpointManagement")->isEnabled());
}

TEST_F(FormGridMenusTest, FindPersonSwitchesViewSelectsAndScrollsToThePerson) {
    QString asked;
    FormGrid::menuDialogs().findPerson = [&](const SVGTree& t, QString& view, QWidget*) {
        asked = t.GetViewpointKey();
        view = "";
        return QStringLiteral("far");
    };
    form->mnuFindPerson_Click();
    EXPECT_EQ(asked, "v1");
    EXPECT_EQ(tree->GetViewpointKey(), "");
    EXPECT_EQ(form->model().selection().text(), "far");
    ucGridBox* box = form->box(cell(48, 38));
    ASSERT_TRUE(box);
    const QRect shown = form->view()->mapFromScene(box->sceneBoundingRect()).boundingRect();
    // Scrolled just far enough: the box ends at the viewport's edge (within rounding).
    EXPECT_TRUE(form->view()->viewport()->rect().adjusted(-1, -1, 1, 1).contains(shown))
        << shown.x() << "," << shown.y() << " in " << form->view()->viewport()->width() << "x"
        << form->view()->viewport()->height();
    EXPECT_GT(form->view()->horizontalScrollBar()->value(), 0);

    // Cancelled: nothing changes.
    FormGrid::menuDialogs().findPerson = [](const SVGTree&, QString&, QWidget*) { return QString(); };
    form->mnuFindPerson_Click();
    EXPECT_EQ(form->model().selection().text(), "far");

    form->ClearSelection();
    form->mnuSelectAll_Click();
    EXPECT_EQ(form->model().selection().count(), 3);
}

TEST_F(FormGridMenusTest, ZoomEntriesAndChildLinksOfAllFamilies) {
    form->mnuFile_Click();
    switchMenu()->actions().at(0)->trigger();
    form->mnuZoomLarge_Click();
    EXPECT_EQ(form->model().geometry().zoom, 20);
    form->mnuZoomSmall_Click();
    EXPECT_EQ(form->model().geometry().zoom, 8);
    form->mnuZoomReset_Click();
    EXPECT_EQ(form->model().geometry().zoom, 12);

    const int f = form->model().records().familyIndex("F");
    ASSERT_GT(f, 0);
    form->mnuHideAllChildLinks_Click();
    EXPECT_TRUE(form->model().records().family(f).bChildrenHidden);
    form->mnuShowAllChildLinks_Click();
    EXPECT_FALSE(form->model().records().family(f).bChildrenHidden);
}

TEST_F(FormGridMenusTest, FindPersonOnAnEmptyTreeWarns) {
    auto empty = std::make_shared<SVGTree>();
    form->LoadDetails(empty, "");
    bool asked = false;
    FormGrid::menuDialogs().findPerson = [&](const SVGTree&, QString&, QWidget*) { return asked = true, QString(); };
    form->mnuFindPerson_Click();
    EXPECT_FALSE(asked);
    EXPECT_EQ(boxes.texts(), QList<QString>{"No persons to find"});
    EXPECT_TRUE(logLines().contains("No persons to find"));
}

}  // namespace
