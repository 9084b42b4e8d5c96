// Widget tests of the place-key editor: the window is shown without exec
// (offscreen) and driven with keys, the row menu and a scripted clipboard.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ClipboardText.h"
#include "DialogTestSupport.h"
#include "FormURLs.h"
#include "GridCellDelegate.h"
#include "PlaceKeyClass.h"
#include "RecordingReporter.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "ServiceSlot.h"

namespace {

class MemoryClipboard : public ClipboardText {
public:
    QString stored;
    QString text() const override { return stored; }
    void setText(const QString& text) override { stored = text; }
};

class PlaceKeyEditor : public ::testing::Test {
protected:
    void open() {
        rows.load(places);
        form = std::make_unique<FormURLs>(rows, places, clipboard);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QTableWidget* grid() const { return form->fgPlaces(); }
    QLineEdit* box() const { return form->delegate()->openEditor(); }
    void type(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_NE(box(), nullptr);
        QTest::keyClick(box(), key, mods);
    }
    std::pair<int, int> current() const { return {grid()->currentRow(), grid()->currentColumn()}; }
    QString cell(int r, int c) const { return grid()->item(r, c)->text(); }
    // Picks an item of the row menu opened from the open box.
    void rowMenu(const QString& item) {
        menus.choose(item);
        ASSERT_NE(box(), nullptr);
        Q_EMIT box()->customContextMenuRequested(QPoint(2, 2));
    }

    PlaceKeyClass places;
    PlaceKeyRows rows;
    MemoryClipboard clipboard;
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    std::unique_ptr<FormURLs> form;
};

TEST_F(PlaceKeyEditor, EmptyTableShowsFifteenBlankRowsEditingTheFirstCell) {
    open();
    EXPECT_EQ(form->windowTitle(), u"Place Management");
    EXPECT_EQ(grid()->rowCount(), 15);
    EXPECT_EQ(grid()->columnCount(), 3);
    EXPECT_EQ(grid()->horizontalHeaderItem(2)->text(), u"Local Directory");
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(cell(r, c), u"");
    EXPECT_EQ(current(), std::make_pair(0, 0));
    ASSERT_NE(box(), nullptr);
    EXPECT_TRUE(box()->hasFocus());
}

TEST_F(PlaceKeyEditor, TypingThenTabCommitsAndMovesWrappingAtTheEnd) {
    open();
    QTest::keyClicks(box(), "web");
    type(Qt::Key_Tab);
    EXPECT_EQ(cell(0, 0), u"web");
    EXPECT_EQ(current(), std::make_pair(0, 1));
    QTest::keyClicks(box(), "http://x.org/");
    type(Qt::Key_Return);
    EXPECT_EQ(current(), std::make_pair(0, 2));
    type(Qt::Key_PageDown);
    EXPECT_EQ(current(), std::make_pair(14, 2));
    type(Qt::Key_Tab);
    EXPECT_EQ(current(), std::make_pair(0, 0));
    type(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(current(), std::make_pair(14, 2));

    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form->saved());
    EXPECT_EQ(entriesOf(places.GetDict()), QStringList{"web=http://x.org/|"});
}

TEST_F(PlaceKeyEditor, EscapeRestoresTheCellAndKeepsEditing) {
    places.Define(QStringLiteral("web"), QStringLiteral("http://x/"), QString());
    open();
    QTest::keyClicks(box(), "site");
    EXPECT_EQ(box()->text(), u"website");
    type(Qt::Key_Escape);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text(), u"web");
    EXPECT_TRUE(form->isVisible());
    QTest::keyClicks(box(), "2");
    type(Qt::Key_Down);
    EXPECT_EQ(cell(0, 0), u"web2");
}

TEST_F(PlaceKeyEditor, InvalidKeyKeepsTheDialogOpenAndTheTableWhole) {
    places.Define(QStringLiteral("old"), QStringLiteral("http://old/"), QString());
    open();
    type(Qt::Key_Down);
    QTest::keyClicks(box(), "2nd");
    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(entriesOf(places.GetDict()), QStringList{"old=http://old/|"});
    QTest::mouseClick(form->cmdQuit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(entriesOf(places.GetDict()), QStringList{"old=http://old/|"});
}

TEST_F(PlaceKeyEditor, RowMenuCopiesPastesAndShowsExpansions) {
    places.Define(QStringLiteral("web"), QStringLiteral("http://x/"), QStringLiteral("/srv/x/"));
    open();
    rowMenu(QStringLiteral("Copy Place Definition"));
    EXPECT_EQ(clipboard.stored, QStringLiteral("SVG-U\n") + QChar(12) + "web\nhttp://x/\n/srv/x/");

    // Paste is offered only for an "SVG-U" text.
    clipboard.stored = QStringLiteral("SVG-P\nx");
    menus.choose(QStringLiteral("Paste Place Definitions"));
    EXPECT_THROW(Q_EMIT box()->customContextMenuRequested(QPoint(2, 2)), std::logic_error);
    menus.choices.clear();

    clipboard.stored = QStringLiteral("SVG-U\r\n") + QChar(12) + "pics\r\nhttp://p/\r\n/p/";
    rowMenu(QStringLiteral("Paste Place Definitions"));
    EXPECT_EQ(cell(1, 0), u"pics");
    EXPECT_EQ(cell(1, 2), u"/p/");
    EXPECT_EQ(current().first, 1);

    rowMenu(QStringLiteral("Show Local Expansion"));
    rowMenu(QStringLiteral("Show URL Expansion"));
    EXPECT_EQ(boxes.texts(), (QStringList{"pics = /p/", "pics = http://p/"}));
}

TEST_F(PlaceKeyEditor, AddLocalDirectoryFillsTheEditedCellWithTheChosenFolder) {
    open();
    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> install(dialogs);
    type(Qt::Key_Tab);
    // Only in the Local Directory column.
    menus.choose(QStringLiteral("Add Local Directory"));
    EXPECT_THROW(Q_EMIT box()->customContextMenuRequested(QPoint(2, 2)), std::logic_error);
    menus.choices.clear();

    type(Qt::Key_Tab);
    dialogs.choose(QStringLiteral("/home/ann/pictures/Use 'Save' to select opened directory"));
    rowMenu(QStringLiteral("Add Local Directory"));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].title, u"Select a Directory");
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text(), u"/home/ann/pictures/");

    dialogs.cancel();
    rowMenu(QStringLiteral("Add Local Directory"));
    EXPECT_EQ(box()->text(), u"/home/ann/pictures/");
    type(Qt::Key_Tab);
    EXPECT_EQ(cell(0, 2), u"/home/ann/pictures/");
}

TEST_F(PlaceKeyEditor, DeletingTheLastRowClearsIt) {
    open();
    QTest::keyClicks(box(), "keep");
    type(Qt::Key_Down);
    for (int i = 0; i < 14; ++i) rowMenu(QStringLiteral("Delete Row"));
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), u"keep");
    rowMenu(QStringLiteral("Delete Row"));
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), u"");
}

}  // namespace
