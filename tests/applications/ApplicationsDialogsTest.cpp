#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "GridCellDelegate.h"
#include "MainWindowLink.h"
#include "DefinitionFixtures.h"
#include "FormAppData.h"
#include "FormApplications.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"

// Widget tests of the applications dialog and the program-data editor: the
// windows are shown without exec (offscreen) and driven with keys and clicks.
namespace {

// A main window for the dialogs to be placed over, shown at a place on the
// screen where a dialog placed over it fits.
class MainWindowStandIn {
public:
    MainWindowStandIn() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        widget.setGeometry(screen.left() + 60, screen.top() + 40, 200, 150);
        widget.show();
        MainWindowLink::attach(&widget, nullptr);
    }
    ~MainWindowStandIn() { MainWindowLink::attach(nullptr, nullptr); }
    QPoint corner() const { return widget.frameGeometry().topLeft(); }

private:
    QWidget widget;
};

class ApplicationsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        loaded = loadFixture(QStringLiteral("defs"));
        dict = enabled(*loaded->apps, {"Panels", "Support"});
        model = std::make_unique<ApplicationsModel>(*loaded->apps);
        ASSERT_TRUE(model->load(dict, true, reporter));
        form = std::make_unique<FormApplications>(*model, dict, reporter);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Clicks the check box of the entry on its indicator.
    void tick(const QString& id) {
        QCheckBox* box = form->chkApps(indexOf(id));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    int indexOf(const QString& id) const {
        for (int i = 0; i < model->count(); ++i)
            if (model->choice(i).id == id) return i;
        return -1;
    }

    std::unique_ptr<LoadedDefinitions> loaded;
    StringDict dict;
    RecordingReporter reporter;
    std::unique_ptr<ApplicationsModel> model;
    std::unique_ptr<FormApplications> form;
};

TEST_F(ApplicationsDialog, BoxesShowTheEntriesAndTheHelpButtonsTheirClicks) {
    const int panels = indexOf("Panels");
    const int timeline = indexOf("Timeline");
    ASSERT_GE(panels, 0);
    QCheckBox* box = form->chkApps(panels);
    EXPECT_EQ(box->text(), "beta");
    EXPECT_EQ(box->toolTip(), "Information panels");
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(form->chkApps(timeline)->isChecked());
    // An SVG chart: the entry that works only in HTML pages is red.
    EXPECT_EQ(form->chkApps(timeline)->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_NE(box->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form->windowTitle(), "Selected Interactive Applications");

    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> install(boxes);
    QTest::mouseClick(form->cmdHelp(indexOf("Paging")), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, "Required click operations");
    EXPECT_EQ(boxes.shown[0].text, "Alt+Click on circle (Alt page)\r\nCtrl+Click on circle (Family page)");
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
}

TEST_F(ApplicationsDialog, OkWritesTheTickedBoxesAndKeepsEntriesWithoutABox) {
    tick("Panels");
    tick("Pictures");
    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form->saved());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dict.keys(), (QStringList{"Support", "Pictures"}));
}

TEST_F(ApplicationsDialog, ConflictsKeepTheDialogOpenAndTheDictionaryUnchanged) {
    // Panels and Pictures both claim Click on image.
    tick("Pictures");
    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Support"}));
    EXPECT_FALSE(reporter.texts(RecordingReporter::Entry::WarnDiscard).isEmpty());
}

TEST_F(ApplicationsDialog, CancelAndTheCloseBoxLeaveEverythingUntouched) {
    tick("Pictures");
    QTest::mouseClick(form->cmdQuit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Support"}));

    form->show();
    tick("Panels");
    form->close();
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Support"}));
    EXPECT_TRUE(reporter.entries.isEmpty());
}

TEST_F(ApplicationsDialog, IsPlacedOverTheMainWindowOnlyAtItsFirstShowingOfTheRun) {
    // The fixture's dialog was the first of the run or came after it; the
    // next one is not placed again.
    MainWindowStandIn main;
    FormApplications again(*model, dict, reporter);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_NE(again.frameGeometry().topLeft(), main.corner());
}

TEST(ApplicationsDialogEntry, NoApplicationsDefinedReturnsFalseWithoutAWindow) {
    QTemporaryDir emptyFolder;
    auto none = loadDefinitions(emptyFolder.path());
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> install(boxes);
    StringDict dict;
    dict.add("Kept", "Kept");
    EXPECT_FALSE(FormApplications::EditApplications(*none->apps, dict, false));
    EXPECT_EQ(boxes.texts(), QStringList{"No applications or services defined"});
    EXPECT_EQ(dict.keys(), QStringList{"Kept"});
}

class ProgramDataEditor : public ::testing::Test {
protected:
    void open(const QString& progData) {
        ASSERT_TRUE(model.load("Y", {"First", "Second"}, "Things of Y", progData));
        form = std::make_unique<FormAppData>(model, reporter);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QTableWidget* grid() const { return form->fgData(); }
    QLineEdit* box() const { return form->delegate()->openEditor(); }
    void type(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_NE(box(), nullptr);
        QTest::keyClick(box(), key, mods);
    }
    std::pair<int, int> current() const { return {grid()->currentRow(), grid()->currentColumn()}; }

    AppDataModel model;
    RecordingReporter reporter;
    std::unique_ptr<FormAppData> form;
};

TEST_F(ProgramDataEditor, OpensOnTheFirstCellWithItsTitlesAndDescription) {
    open("X | 1 | 2\r\nY | a");
    EXPECT_EQ(form->windowTitle(), "Edit Application Data");
    EXPECT_EQ(grid()->rowCount(), 15);
    EXPECT_EQ(grid()->horizontalHeaderItem(1)->text(), "Second");
    EXPECT_EQ(grid()->toolTip(), "Things of Y");
    EXPECT_EQ(current(), std::make_pair(0, 0));
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text(), "a");
    EXPECT_FALSE(box()->hasSelectedText());
    EXPECT_EQ(box()->cursorPosition(), 1);
    EXPECT_TRUE(grid()->horizontalHeader()->stretchLastSection());

    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_TRUE(form->saved());
    EXPECT_EQ(form->resultText(), "X | 1 | 2\r\nY | a | ");
}

TEST_F(ProgramDataEditor, TypingAndKeysStoreTheTextAndMoveWithWrapping) {
    open("");
    QTest::keyClicks(box(), "one");
    type(Qt::Key_Tab);
    EXPECT_EQ(current(), std::make_pair(0, 1));
    QTest::keyClicks(box(), "two");
    type(Qt::Key_Return);
    EXPECT_EQ(current(), std::make_pair(1, 0));
    type(Qt::Key_Up);
    type(Qt::Key_Up);
    EXPECT_EQ(current(), std::make_pair(14, 0));
    type(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(current(), std::make_pair(13, 1));
    type(Qt::Key_Down);
    type(Qt::Key_Down);
    EXPECT_EQ(current(), std::make_pair(0, 1));
    type(Qt::Key_PageDown);
    EXPECT_EQ(current(), std::make_pair(14, 1));
    type(Qt::Key_Tab);
    EXPECT_EQ(current(), std::make_pair(0, 0));
    type(Qt::Key_PageUp);
    EXPECT_EQ(current(), std::make_pair(0, 0));
    EXPECT_EQ(grid()->item(0, 0)->text(), "one");
    EXPECT_EQ(grid()->item(0, 1)->text(), "two");
    EXPECT_TRUE(form->isVisible());

    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_EQ(form->resultText(), "Y | one | two");
}

TEST_F(ProgramDataEditor, EscapeUndoesTheCellsEditAndKeepsTheBoxOpen) {
    open("Y | a | b");
    QTest::keyClicks(box(), "xyz");
    EXPECT_EQ(box()->text(), "axyz");
    type(Qt::Key_Escape);
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text(), "a");
    EXPECT_EQ(grid()->item(0, 0)->text(), "a");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ProgramDataEditor, RowMenuInsertsAboveAndDeletes) {
    open("Y | a | 1\r\nY | b | 2");
    ScriptedMenuExec menus;
    ScopedService<MenuExec> install(menus);

    // Right-click on row 2 (the "b" row), Insert Row Above.
    menus.choose("Insert Row Above");
    const QRect cell = grid()->visualRect(grid()->model()->index(1, 0));
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cell.center());
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, cell.center(), grid()->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid()->viewport(), &menuEvent);
    ASSERT_EQ(menus.shown.size(), 1);
    EXPECT_EQ(grid()->rowCount(), 16);
    EXPECT_EQ(grid()->item(1, 0)->text(), "");
    EXPECT_EQ(grid()->item(2, 0)->text(), "b");
    EXPECT_EQ(current(), std::make_pair(2, 0));

    // Delete Row from the open box's own right-click.
    menus.choose("Delete Row");
    ASSERT_NE(box(), nullptr);
    Q_EMIT box()->customContextMenuRequested(QPoint(2, 2));
    EXPECT_EQ(grid()->rowCount(), 15);
    EXPECT_EQ(grid()->item(2, 0)->text(), "");
    EXPECT_TRUE(box() == nullptr || box()->isEnabled());

    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_EQ(form->resultText(), "Y | a | 1");
}

TEST_F(ProgramDataEditor, TheOnlyRowCannotBeDeleted) {
    open("");
    while (grid()->rowCount() > 1) {
        grid()->setCurrentCell(grid()->rowCount() - 1, 0);
        form->mnuDeleteOneRow_Click();
    }
    QTest::keyClicks(box(), "kept");
    form->mnuDeleteOneRow_Click();
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(grid()->item(0, 0)->text(), "kept");
    form->mnuAddRows_Click();
    EXPECT_EQ(grid()->rowCount(), 6);
}

TEST_F(ProgramDataEditor, ASeparatorInACellIsRefusedAndTheEditorStaysOpen) {
    open("X | 1");
    QTest::keyClicks(box(), "a|b");
    QTest::mouseClick(form->cmdExit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(reporter.texts(RecordingReporter::Entry::Warn),
              QStringList{"Row 1, column \"First\": a value cannot hold \"|\" or a line break"});
}

TEST_F(ProgramDataEditor, CancelSavesNothing) {
    open("Y | a");
    QTest::keyClicks(box(), "changed");
    QTest::mouseClick(form->cmdQuit(), Qt::LeftButton);
    EXPECT_FALSE(form->saved());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(ProgramDataEditor, IsPlacedOverTheMainWindowOnlyAtItsFirstShowingOfTheRun) {
    open("X | 1");
    MainWindowStandIn main;
    FormAppData again(model, reporter);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_NE(again.frameGeometry().topLeft(), main.corner());
}

TEST(ProgramDataEditorEntry, AKindWithoutItemsOpensNothing) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    QString result = "untouched";
    EXPECT_FALSE(FormAppData::EditAppData(*loaded->apps, "Nowhere", "Nowhere | 1", result));
    EXPECT_EQ(result, "untouched");
}

}  // namespace
