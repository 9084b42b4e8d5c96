#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "DesignerFixture.h"
#include "FormFindPerson.h"
#include "ScriptedMenuExec.h"

namespace {

struct FormFindPersonTest : ::testing::Test {
    DesignerTree t;
    ScriptedMenuExec menus;
    ScopedService<MenuExec> scoped{menus};
    FormFindPerson form;

    void SetUp() override {
        t.setting("Viewpoints", "True");
        for (const char* key : {"ann", "bob", "cy"}) t.person(key, "f", 1, 1);
        SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
        SVGViewpointPtr w = t.tree.AddViewpoint("W", "Roots", 12, 8);
        v->AddPerRef("ann", 1, 1, true);
        w->AddPerRef("bob", 1, 1, true);
        t.tree.SetViewpointKey("V");
        form.load(t.tree);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QPoint rowPoint(int row) {
        QTreeView* list = form.lbSelected();
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    int rows() { return form.lbSelected()->model()->rowCount(); }
};

TEST_F(FormFindPersonTest, TypingNarrowsTheListAndAClickPicksAPersonInTheViewpoint) {
    EXPECT_EQ(form.windowTitle(), "Find Person");
    EXPECT_EQ(rows(), 3);
    QTest::keyClicks(form.txtPartName(), "bo");
    ASSERT_EQ(rows(), 1);
    // bob is outside the viewpoint shown: a click does nothing.
    QTest::mouseClick(form.lbSelected()->viewport(), Qt::LeftButton, {}, rowPoint(0));
    EXPECT_TRUE(form.isVisible());

    form.txtPartName()->clear();
    QTest::mouseClick(form.chkByKey(), Qt::LeftButton);
    QTest::keyClicks(form.txtPartName(), "A");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(form.lbSelected()->model()->index(0, 0).data().toString(), "ann");
    QTest::mouseClick(form.lbSelected()->viewport(), Qt::LeftButton, {}, rowPoint(0));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.model().chosenKey(), "ann");
    EXPECT_EQ(form.model().newViewpoint(), "V");
}

TEST_F(FormFindPersonTest, TheRightClickMenuSwitchesViewAndTheCloseBoxReturnsNothing) {
    // Dismissing the menu keeps the dialog open; the close box then picks nothing.
    menus.dismiss();
    QTest::mouseClick(form.lbSelected()->viewport(), Qt::RightButton, {}, rowPoint(1));
    ASSERT_EQ(menus.shown.size(), 1);
    EXPECT_TRUE(form.isVisible());
    form.close();
    EXPECT_EQ(form.model().chosenKey(), "");
    EXPECT_EQ(form.model().newViewpoint(), "V");

    form.load(t.tree);
    form.show();
    menus.choose("Roots");
    QTest::mouseClick(form.lbSelected()->viewport(), Qt::RightButton, {}, rowPoint(1));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.model().chosenKey(), "bob");
    EXPECT_EQ(form.model().newViewpoint(), "W");
}

}  // namespace
