#include <QTest>

#include "FormGridFixture.h"
#include "GridView.h"
#include "QtClipboardText.h"
#include "ScriptedMenuExec.h"
#include "ucGridBox.h"

namespace {

class FormGridPasteTest : public FormGridTest {
protected:
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};

    QWidget* viewport() const { return form->view()->viewport(); }
    QPoint inCell(int col, int row) const {
        return form->view()->mapFromScene(GridGeometry::toPixels(form->model().geometry().boxRect(col, row)).center());
    }
};

TEST_F(FormGridPasteTest, ThePersonPopupPastesTheDesktopClipboardIntoTheCell) {
    person("s", "f", 5, 1);
    form->LoadDetails(tree, QString());
    form->resize(1200, 900);
    QtClipboardText().setText(tree->Pack1Person(*tree->GetPersons().value("s")));

    menus.choose("Paste New Person");
    QTest::mouseClick(viewport(), Qt::RightButton, Qt::NoModifier, inCell(8, 3));
    ASSERT_EQ(menus.shown.size(), 1);
    ucGridBox* box = form->box(cell(8, 3));
    ASSERT_TRUE(box);
    EXPECT_NE(box->Tag, "s");
    EXPECT_TRUE(tree->GetPersons().contains(box->Tag));
    EXPECT_EQ(form->model().currentCell, -1);
}

}  // namespace
