// The viewpoint manager window under the offscreen platform: the key box's
// buttons, the right button over the lists, and opening it from the main
// window. Message boxes and popup menus are scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "FormSVG.h"
#include "FormViewpoints.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "ViewpointFixture.h"

namespace {

using List = ViewpointManagerModel::List;

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ViewpointWindowTest : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    std::shared_ptr<SVGTree> tree = makeViewpointTree();

    FormViewpoints* open() {
        FormViewpoints::ManageViewpoints(tree, nullptr);
        FormViewpoints* window = FormViewpoints::openWindow();
        EXPECT_TRUE(window && window->isVisible());
        return window;
    }
    void TearDown() override {
        if (FormViewpoints* window = FormViewpoints::openWindow()) window->close();
        flushDeletes();
        EXPECT_EQ(FormViewpoints::openWindow(), nullptr);
    }
    static void choose(FormViewpoints* w, const QString& key) {
        const int index = w->comKeys()->findText(key);
        ASSERT_GE(index, 0);
        w->comKeys()->setCurrentIndex(index);
        w->comKeys_Click(index);
    }
    // The middle of a list row, in its viewport.
    static QPoint rowPoint(FormViewpoints* w, List which, int row) {
        QTreeView* view = w->listView(which);
        return view->visualRect(view->model()->index(row, 0)).center();
    }
    static void rightClick(FormViewpoints* w, List which, const QPoint& at,
                           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(w->listView(which)->viewport(), Qt::RightButton, modifiers, at);
    }
};

TEST_F(ViewpointWindowTest, DeleteAsksByNameThenEmptiesTheKeyBox) {
    FormViewpoints* w = open();
    ASSERT_EQ(w->comKeys()->count(), 2);
    EXPECT_EQ(w->lblDetails()->text(), "No viewpoint details");
    choose(w, QStringLiteral("south"));
    EXPECT_EQ(w->txtName()->text(), "South");
    EXPECT_EQ(w->lblDetails()->text(), "Viewpoint south has 3 persons and 1 families");

    boxes.answers.push_back(QMessageBox::No);
    w->cmdDel_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, "Are you sure you want to delete viewpoint 'South'?");
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Question);
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(boxes.shown[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(tree->GetViewpoints().contains(QStringLiteral("south")));
    EXPECT_EQ(w->comKeys()->currentText(), "south");

    boxes.answers.push_back(QMessageBox::Yes);
    w->cmdDel_Click();
    EXPECT_FALSE(tree->GetViewpoints().contains(QStringLiteral("south")));
    EXPECT_EQ(w->comKeys()->count(), 1);
    EXPECT_EQ(w->comKeys()->itemText(0), "north");
    EXPECT_EQ(w->comKeys()->currentText(), "");
    EXPECT_EQ(w->comKeys()->currentIndex(), -1);
    EXPECT_EQ(w->txtName()->text(), "");
    EXPECT_EQ(w->lblDetails()->text(), "No viewpoint details");

    // With no chosen entry only the box's text and the details are cleared.
    w->comKeys()->setEditText(QStringLiteral("north"));
    w->cmdDel_Click();
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(w->comKeys()->currentText(), "");
    EXPECT_EQ(w->comKeys()->count(), 1);
}

TEST_F(ViewpointWindowTest, DeleteThatClosesTheWindowEndsTheCommand) {
    // A Tree Designer that shows the viewpoint closes on the event, and the
    // manager it owns with it, before the delete returns.
    FormViewpoints* w = open();
    const QPointer<FormViewpoints> guard(w);
    QObject::connect(tree.get(), &SVGTree::ViewpointDeleted, w, [w] { w->close(); });
    choose(w, QStringLiteral("north"));
    boxes.answers.push_back(QMessageBox::Yes);
    w->cmdDel_Click();
    EXPECT_FALSE(tree->GetViewpoints().contains(QStringLiteral("north")));
    EXPECT_EQ(boxes.shown.size(), 1);
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(ViewpointWindowTest, AddAndRenameKeepTheKeyBoxInStep) {
    FormViewpoints* w = open();
    w->comKeys()->setEditText(QStringLiteral("east"));
    w->cmdAdd_Click();
    EXPECT_EQ(w->comKeys()->count(), 3);
    EXPECT_EQ(w->comKeys()->currentIndex(), 2);
    EXPECT_EQ(w->txtName()->text(), "east");
    EXPECT_EQ(w->lblDetails()->text(), "Viewpoint east has 0 persons and 0 families");

    w->comKeys()->setEditText(QStringLiteral("north"));
    w->cmdAdd_Click();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, "The specified viewpoint key name is already defined: north");
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(w->comKeys()->count(), 3);

    choose(w, QStringLiteral("north"));
    w->comKeys()->setEditText(QStringLiteral("nord"));
    w->txtName()->setText(QStringLiteral("Nord"));
    w->cmdChange_Click();
    QStringList keys;
    for (int i = 0; i < w->comKeys()->count(); ++i) keys << w->comKeys()->itemText(i);
    EXPECT_EQ(keys, (QStringList{"south", "east", "nord"}));
    EXPECT_EQ(w->comKeys()->currentText(), "nord");
    EXPECT_EQ(w->lblDetails()->text(), "Viewpoint nord has 3 persons and 1 families");
    EXPECT_EQ(tree->GetViewpoints().value(QStringLiteral("nord"))->GetName(), "Nord");
}

TEST_F(ViewpointWindowTest, AllocatedPersonsAreBlueOrRed) {
    FormViewpoints* w = open();
    const QAbstractItemModel* shown = w->listView(List::PersonList)->model();
    auto colour = [&](const char* key) {
        return shown->index(rowOf(w->model(), List::PersonList, key), 0).data(Qt::ForegroundRole);
    };
    EXPECT_EQ(colour("jo").value<QBrush>().color(), QColor(0, 0, 255));
    EXPECT_EQ(colour("ma").value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(colour("lo").isValid());
}

TEST_F(ViewpointWindowTest, RightButtonOpensTheMenuOnlyOverARow) {
    FormViewpoints* w = open();
    w->txtPartName()->setText(QStringLiteral("smith"));
    ASSERT_EQ(w->model().list(List::PersonList).count(), 4);
    QTreeView* persons = w->listView(List::PersonList);
    const QPoint empty(5, persons->viewport()->height() - 3);
    ASSERT_FALSE(persons->indexAt(empty).isValid());
    rightClick(w, List::PersonList, empty);
    rightClick(w, List::PersonList, rowPoint(w, List::PersonList, 2), Qt::ShiftModifier);
    EXPECT_TRUE(menus.shown.isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(w->model().selectedRow(List::PersonList), -1);

    // Over John Smith: the row is chosen as a click chooses it, and the
    // father's caption moves the search.
    menus.choose(QStringLiteral("Select Father Caption"));
    rightClick(w, List::PersonList, rowPoint(w, List::PersonList, 2));
    ASSERT_EQ(menus.shown.size(), 1);
    EXPECT_EQ(w->txtPartName()->text(), "George Senior Smith");
    EXPECT_EQ(captions(w->model().list(List::PersonList)), QStringList{"George Senior Smith"});
    EXPECT_EQ(w->model().list(List::SpouseList).count(), 0);
}

TEST_F(ViewpointWindowTest, RightClickedSpouseRefreshesTheChildrenBeforeACopy) {
    FormViewpoints* w = open();
    QTreeView* persons = w->listView(List::PersonList);
    QTest::mouseClick(persons->viewport(), Qt::LeftButton, {}, rowPoint(w, List::PersonList, 2));
    ASSERT_EQ(w->model().selectedRow(List::PersonList), 2);
    ASSERT_EQ(captions(w->model().list(List::SpouseList)), (QStringList{"Mary Jones", "Anne Brown"}));
    EXPECT_EQ(w->listView(List::SpouseList)->currentIndex().row(), -1);

    menus.choose(QStringLiteral("Copy Person, Spouse, and Children"));
    rightClick(w, List::SpouseList, rowPoint(w, List::SpouseList, 0));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "SVG-KF\nf2\n");
    EXPECT_EQ(captions(w->model().list(List::ChildList)), (QStringList{"Kid Smith", "(Unnamed Child)"}));
    EXPECT_EQ(w->listView(List::SpouseList)->currentIndex().row(), 0);

    menus.choose(QStringLiteral("Show Details"));
    rightClick(w, List::ChildList, rowPoint(w, List::ChildList, 0));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes.shown[0].text, "Kid Smith. Person not present in any viewpoints.");
}

TEST_F(ViewpointWindowTest, ArrowKeysChooseThePersonAsAClickDoes) {
    FormViewpoints* w = open();
    QTreeView* persons = w->listView(List::PersonList);
    QTest::mouseClick(persons->viewport(), Qt::LeftButton, {}, rowPoint(w, List::PersonList, 2));
    ASSERT_EQ(captions(w->model().list(List::SpouseList)), (QStringList{"Mary Jones", "Anne Brown"}));
    QTest::keyClick(persons, Qt::Key_Down);
    EXPECT_EQ(w->model().selectedRow(List::PersonList), 3);
    EXPECT_EQ(captions(w->model().list(List::SpouseList)), QStringList{"John Smith"});
    QTest::keyClick(w->listView(List::SpouseList), Qt::Key_Down);
    EXPECT_EQ(w->model().selectedRow(List::SpouseList), 0);
    EXPECT_EQ(captions(w->model().list(List::ChildList)), (QStringList{"Kid Smith", "(Unnamed Child)"}));
}

TEST_F(ViewpointWindowTest, TreeEventsKeepTheViewsInStepAndStopWhenClosed) {
    FormViewpoints* w = open();
    QTest::mouseClick(w->listView(List::PersonList)->viewport(), Qt::LeftButton, {},
                      rowPoint(w, List::PersonList, 2));
    tree->GetPersons().value(QStringLiteral("gf"))->SetText(QStringLiteral("George Elder Smith"));
    tree->RaisePersonDetails(QStringLiteral("gf"));
    EXPECT_EQ(w->model().list(List::PersonList).entry(0).caption, "George Elder Smith");
    EXPECT_EQ(w->listView(List::PersonList)->currentIndex().row(), 2);
    EXPECT_EQ(w->listView(List::SpouseList)->model()->rowCount(), 2);

    const QPointer<FormViewpoints> guard(w);
    w->mnuClose_Click();
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
    tree->SetPendingPFChange();
    tree->RaisePendingEvents();
}

TEST_F(ViewpointWindowTest, ReopeningKeepsTheFiltersAndAnotherTreeRefillsTheKeyBox) {
    FormViewpoints* w = open();
    choose(w, QStringLiteral("north"));
    w->txtPartName()->setText(QStringLiteral("har"));
    w->chkExcudePDone()->setChecked(true);
    EXPECT_EQ(open(), w);
    EXPECT_EQ(w->txtPartName()->text(), "har");
    EXPECT_TRUE(w->chkExcudePDone()->isChecked());
    EXPECT_EQ(w->comKeys()->currentText(), "north");
    EXPECT_EQ(w->model().list(List::PersonList).count(), 3);

    auto other = std::make_shared<SVGTree>();
    other->AddViewpoint(QStringLiteral("solo"), QStringLiteral("Solo"), 12, 8);
    FormViewpoints::ManageViewpoints(other, nullptr);
    EXPECT_EQ(FormViewpoints::openWindow(), w);
    EXPECT_EQ(w->comKeys()->count(), 1);
    EXPECT_EQ(w->comKeys()->itemText(0), "solo");
    EXPECT_EQ(w->comKeys()->currentText(), "");
    EXPECT_EQ(w->lblDetails()->text(), "No viewpoint details");
    EXPECT_EQ(w->model().list(List::PersonList).count(), 0);
}

TEST(ViewpointWindowFromMainWindow, ManageViewpointsOpensTheOneWindow) {
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TreeViews.txt"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(
            "H Title=Views,Viewpoints=True\nP ann=f(1,1):Ann Smith|Ann|\nP bob=m(2,1):Bob Smith|Bob|\n"
            "V v1=First|5,5\np ann(1,1)\nV v2=Second|5,5\n");
    }
    const QString folder = QDir::currentPath();
    {
        FormSVG main;
        main.peers().manageViewpoints = &FormViewpoints::ManageViewpoints;
        ASSERT_TRUE(main.LoadTreeFile(file));
        main.mnuViewpointManagement_Click();
        main.mnuViewpointManagement_Click();
        int windows = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<FormViewpoints*>(w)) ++windows;
        EXPECT_EQ(windows, 1);
        FormViewpoints* w = FormViewpoints::openWindow();
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->parentWidget(), &main);
        EXPECT_EQ(w->windowTitle(), "Viewpoint Management");
        EXPECT_EQ(w->comKeys()->count(), 2);
        EXPECT_EQ(w->model().list(List::PersonList).count(), 2);
        EXPECT_EQ(w->model().tree(), main.tree());
        EXPECT_TRUE(boxes.shown.isEmpty());
    }
    // The window goes with its owner.
    flushDeletes();
    EXPECT_EQ(FormViewpoints::openWindow(), nullptr);
    QDir::setCurrent(folder);
}

TEST_F(ViewpointWindowTest, IsPlacedOverTheMainWindowOnlyAtTheFirstOpeningOfTheRun) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    FormSVG main;
    main.setGeometry(screen.left() + 10, screen.top() + 10, 400, 300);
    main.show();
    FormViewpoints::ManageViewpoints(tree, &main);
    FormViewpoints::openWindow()->close();
    flushDeletes();

    // The main window has moved; a manager opened again stays where it comes up.
    main.move(screen.left() + 60, screen.top() + 40);
    FormViewpoints::ManageViewpoints(tree, &main);
    FormViewpoints* w = FormViewpoints::openWindow();
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QApplication::setActiveWindow(w);
    EXPECT_NE(w->frameGeometry().topLeft(), main.frameGeometry().topLeft());
    w->close();
    flushDeletes();
}

}  // namespace
