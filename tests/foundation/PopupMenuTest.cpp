#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "PopupMenuClass.h"
#include "ScriptedMenuExec.h"
#include "WidgetDriving.h"

namespace {

QStringList itemTexts(const QMenu& menu) {
    QStringList out;
    const auto actions = menu.actions();
    for (const QAction* a : actions) out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}  // namespace

class PopupMenu : public ::testing::Test {
protected:
    QWidget window;  // the program's window that owns the menus
    ScriptedMenuExec exec;
    ScopedService<MenuExec> installExec{exec};
};

TEST_F(PopupMenu, ItemsSeparatorsAndStatesAreBuiltInOrder) {
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("Insert Row Above"), true);
    menu.Add(2, QStringLiteral("Delete Row"));
    menu.Add(0, QStringLiteral("-"));
    menu.Add(0, QStringLiteral("-"));
    menu.Add(3, QStringLiteral("Checked and grayed"), false, true, 2);
    menu.Add(4, QStringLiteral("Disabled"), false, false, 1);

    const QMenu& m = *menu.Hwnd();
    EXPECT_EQ(itemTexts(m), (QStringList{"Insert Row Above", "Delete Row", "-", "-", "Checked and grayed", "Disabled"}));
    const auto items = m.actions();
    EXPECT_EQ(m.defaultAction(), items[0]);
    EXPECT_TRUE(items[1]->isEnabled());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_TRUE(items[4]->isChecked());
    EXPECT_FALSE(items[4]->isEnabled());
    EXPECT_FALSE(items[5]->isEnabled());

    menu.Remove(0);
    menu.Remove(1);
    EXPECT_EQ(itemTexts(m), (QStringList{"Delete Row", "-", "Checked and grayed", "Disabled"}));
}

TEST_F(PopupMenu, ShowReturnsTheChosenIdentifierOrZeroWhenDismissed) {
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("Insert Row Above"));
    menu.Add(2, QStringLiteral("Delete Row"));
    exec.choose(QStringLiteral("Delete Row"));
    exec.dismiss();
    exec.choose(QStringLiteral("Insert Row Above"));
    EXPECT_EQ(menu.Show(&window, -1, -1, nullptr), 2);
    EXPECT_EQ(menu.Show(&window, -1, -1, nullptr), 0);
    EXPECT_EQ(menu.Show(), 1);  // the program's window owns it
}

TEST_F(PopupMenu, SubmenusKeepTheirCaptionAsAddedAndOutliveTheirObject) {
    PopupMenuClass menu;
    menu.Add(0, QStringLiteral("(Full Tree)"));
    {
        PopupMenuClass viewpoints;
        viewpoints.SetCaption(QStringLiteral("Viewpoints"));
        viewpoints.Add(7, QStringLiteral("Smiths"));
        menu.Add(0, viewpoints);
        viewpoints.SetCaption(QStringLiteral("Renamed"));
        viewpoints.Add(8, QStringLiteral("Joneses"));  // the same menu: shows in the submenu
    }
    EXPECT_EQ(itemTexts(*menu.Hwnd()), (QStringList{"(Full Tree)", "Viewpoints"}));
    exec.choose(QStringLiteral("Joneses"));
    EXPECT_EQ(menu.Show(&window), 8);
}

TEST_F(PopupMenu, TheMenuOpensAtTheGivenCoordinatesOrUnderTheControl) {
    window.setGeometry(100, 100, 300, 200);
    QPushButton button(&window);
    button.setGeometry(20, 30, 80, 25);
    window.show();
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("One"));
    for (int i = 0; i < 4; ++i) exec.dismiss();
    QCursor::setPos(37, 41);

    menu.Show(&window, -1, 200, nullptr);
    menu.Show(&window, 150, -1, nullptr);
    menu.Show(&window, 5, 6, nullptr);
    menu.Show(&window, 5, 6, &button);

    const QPoint cursor = QCursor::pos();
    EXPECT_EQ(cursor, QPoint(37, 41));
    ASSERT_EQ(exec.shown.size(), 4);
    EXPECT_EQ(exec.shown[0].at, QPoint(cursor.x(), 200));
    EXPECT_EQ(exec.shown[1].at, QPoint(150, cursor.y()));
    EXPECT_EQ(exec.shown[2].at, QPoint(5, 6));
    EXPECT_EQ(exec.shown[3].at, button.mapToGlobal(QPoint(0, 25)));
}

TEST(PopupMenuWithoutWindow, ShowReturnsMinusOneWhenTheProgramHasNoWindow) {
    ScriptedMenuExec exec;
    ScopedService<MenuExec> installExec{exec};
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("One"));
    for (QWidget* w : QApplication::topLevelWidgets()) ASSERT_TRUE(qobject_cast<QMenu*>(w)) << "a window is left open";
    EXPECT_EQ(menu.Show(), -1);
    EXPECT_TRUE(exec.shown.isEmpty());
}

// The real menu, driven by keys.
TEST(PopupMenuOnScreen, KeysChooseAnItemAndEscapeDismisses) {
    QWidget window;
    window.show();
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("Grayed"), false, false, 2);
    menu.Add(2, QStringLiteral("Second"));
    menu.Add(3, QStringLiteral("Third"));

    whenPopupOpens([](QWidget* popup) {
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    EXPECT_EQ(menu.Show(&window, 10, 10), 2);

    whenPopupOpens([](QWidget* popup) { QTest::keyClick(popup, Qt::Key_Escape); });
    EXPECT_EQ(menu.Show(&window, 10, 10), 0);
}
