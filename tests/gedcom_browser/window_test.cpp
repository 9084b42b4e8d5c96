// The browser window, offscreen: opened from the main window's Load GEDCOM
// File command, loading through a scripted file dialog, filtering, exporting,
// reopening, and the lists' popup menus.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "BrowserTestSupport.h"
#include "FormKinreader.h"
#include "FormSVG.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "SelectFileClass.h"
#include "tree_model/SVGTree.h"

class BrowserWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> installDialogs{dialogs};
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    LoadedGEDCOMClass holder;
    std::unique_ptr<FormSVG> window = std::make_unique<FormSVG>();

    void TearDown() override {
        delete FormKinreader::openBrowser();
        window.reset();
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    template <class T>
    static T* control(QWidget* form, const char* name) {
        T* found = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    int mainLogCount(const QString& prefix) const {
        int n = 0;
        for (const QString& line : window->findChild<QTextEdit*>(QStringLiteral("txtData"))->toPlainText().split(u'\n'))
            if (line.startsWith(prefix)) ++n;
        return n;
    }
    // Opens the browser on the test's holder and loads a fixture through the open dialog.
    FormKinreader* openAndLoad(const QString& fixture) {
        FormKinreader::StartLoader(holder, window.get());
        FormKinreader* browser = FormKinreader::openBrowser();
        if (!browser) return nullptr;
        dialogs.choose(browserFixture(fixture));
        QTest::mouseClick(control<QPushButton>(browser, "cmdBrowse"), Qt::LeftButton);
        return browser;
    }
};

TEST_F(BrowserWindowTest, OpensFromTheMainWindowLoadsFiltersExportsAndReopens) {
    window->peers().openGedcomBrowser = &FormKinreader::openProgramBrowser;
    window->mnuLoadGEDCOM_Click();
    FormKinreader* browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->parentWidget(), window.get());
    QAction* exportCommand = control<QAction>(browser, "mnuExportToTxtFile");
    EXPECT_FALSE(exportCommand->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(browser, "chkImages")->isChecked());
    EXPECT_EQ(control<QLineEdit>(browser, "txtMinValidDate")->text(), QStringLiteral("1000"));

    // Load: Cancel changes nothing, then a file.
    dialogs.cancel();
    QTest::mouseClick(control<QPushButton>(browser, "cmdBrowse"), Qt::LeftButton);
    EXPECT_EQ(mainLogCount(QStringLiteral("Loading GEDCOM file: ")), 0);
    dialogs.choose(browserFixture("browser.ged"));
    QTest::mouseClick(control<QPushButton>(browser, "cmdBrowse"), Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 2);
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("GEDCOM Browser"));
    EXPECT_EQ(dialogs.requests[1].nameFilters,
              SelectFileClass::nameFilters(QStringLiteral("GEDCOM Files (*.ged)|*.ged|All Files (*.*)|*.*")));
    EXPECT_EQ(mainLogCount(QStringLiteral("Loaded 8 persons and 3 families from GEDCOM file")), 1);
    EXPECT_EQ(control<QLineEdit>(browser, "txtGEDFile")->text(), browserFixture("browser.ged"));
    EXPECT_TRUE(exportCommand->isEnabled());
    QListView* persons = control<QListView>(browser, "lbSelected");
    EXPECT_EQ(persons->model()->rowCount(), 8);

    // Filter as the user types.
    QTest::keyClicks(control<QLineEdit>(browser, "txtPartName"), QStringLiteral("jo sm"));
    ASSERT_EQ(persons->model()->rowCount(), 2);
    EXPECT_EQ(persons->model()->index(1, 0).data().toString(), QStringLiteral("Joan Mary Smithers"));

    // Export through the save dialog.
    dialogs.choose(dir.filePath(QStringLiteral("TreeOut.txt")));
    exportCommand->trigger();
    ASSERT_EQ(dialogs.requests.size(), 3);
    EXPECT_TRUE(dialogs.requests[2].save);
    EXPECT_EQ(dialogs.requests[2].fileName, QStringLiteral("Treebrowser.txt"));
    EXPECT_EQ(dialogs.requests[2].title, QStringLiteral("Select New Tree Definition File"));
    EXPECT_TRUE(dialogs.requests[2].confirmOverwrite);
    SVGTree tree;
    tree.LoadFile(std::make_shared<SVGDisplay>(), dir.filePath(QStringLiteral("TreeOut.txt")), false);
    EXPECT_EQ(tree.GetPersons().count(), 8);
    EXPECT_TRUE(boxes.shown.isEmpty());

    // A second opening only activates the open window.
    window->mnuLoadGEDCOM_Click();
    EXPECT_EQ(FormKinreader::openBrowser(), browser);

    // Closed and opened again: the same file and all its persons, no new load.
    control<QCheckBox>(browser, "chkImages")->setChecked(false);
    control<QAction>(browser, "mnuClose")->trigger();
    EXPECT_EQ(FormKinreader::openBrowser(), nullptr);
    settle();
    window->mnuLoadGEDCOM_Click();
    browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(control<QLineEdit>(browser, "txtGEDFile")->text(), browserFixture("browser.ged"));
    EXPECT_EQ(control<QLineEdit>(browser, "txtPartName")->text(), QString());
    EXPECT_EQ(control<QListView>(browser, "lbSelected")->model()->rowCount(), 8);
    EXPECT_FALSE(control<QCheckBox>(browser, "chkImages")->isChecked());
    EXPECT_TRUE(control<QAction>(browser, "mnuExportToTxtFile")->isEnabled());
    EXPECT_EQ(mainLogCount(QStringLiteral("Loading GEDCOM file: ")), 1);
}

TEST_F(BrowserWindowTest, RightClickOpensTheRowsMenuOnlyOnARowWithoutModifiers) {
    FormKinreader* browser = openAndLoad(QStringLiteral("browser.ged"));
    ASSERT_NE(browser, nullptr);
    QListView* persons = control<QListView>(browser, "lbSelected");
    const QPoint onJohn = persons->visualRect(persons->model()->index(0, 0)).center();

    QTest::mouseClick(persons->viewport(), Qt::RightButton, Qt::ShiftModifier, onJohn);
    QTest::mouseClick(persons->viewport(), Qt::RightButton, {}, QPoint(5, persons->viewport()->height() - 2));
    EXPECT_TRUE(menus.shown.isEmpty());
    EXPECT_EQ(browser->session().selectedPersonRow(), -1);

    menus.choose(QStringLiteral("Copy Person"));
    QTest::mouseClick(persons->viewport(), Qt::RightButton, {}, onJohn);
    ASSERT_EQ(menus.shown.size(), 1);
    EXPECT_EQ(menus.shown[0].menu->objectName(), QStringLiteral("mnuRClickPerson"));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("SVG-P\nI1\nJohn Smith (1850-)\n")));
    // The click chose the person: its partners are listed.
    QListWidget* spouses = control<QListWidget>(browser, "lbSpouses");
    ASSERT_EQ(spouses->count(), 2);

    // The spouse menu of a placeholder partner cannot select its name or parents.
    menus.choose(QStringLiteral("Show Details"));
    QTest::mouseClick(spouses->viewport(), Qt::RightButton, {}, spouses->visualItemRect(spouses->item(1)).center());
    ASSERT_EQ(menus.shown.size(), 2);
    for (const char* name : {"mnuSelectSp", "mnuSelectSpFather", "mnuSelectSpMother"})
        EXPECT_FALSE(control<QAction>(browser, name)->isEnabled()) << name;
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("(Unknown Person) (?-)"));

    // Selecting the mother's name refills the person list through the filter box.
    menus.choose(QStringLiteral("Select Mother Name"));
    QTest::mouseClick(persons->viewport(), Qt::RightButton, {}, onJohn);
    EXPECT_EQ(control<QLineEdit>(browser, "txtPartName")->text(), QStringLiteral("Mary Jones"));
    EXPECT_EQ(persons->model()->rowCount(), 1);
    EXPECT_EQ(spouses->count(), 0);
}

TEST_F(BrowserWindowTest, AnInvalidMinimumYearIsReportedWhenTheBoxLosesTheFocus) {
    FormKinreader::StartLoader(holder, window.get());
    FormKinreader* browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    QLineEdit* year = control<QLineEdit>(browser, "txtMinValidDate");
    EXPECT_EQ(year->maxLength(), 4);
    auto leave = [year] {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(year, &out);
    };
    year->setText(QStringLiteral("2500"));
    leave();
    ASSERT_EQ(boxes.texts(), QStringList{"Invalid date value"});
    EXPECT_EQ(browser->session().control()->GetMinValidDate(), 1000);
    year->setText(QStringLiteral("1200"));
    leave();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(browser->session().control()->GetMinValidDate(), 1200);
}

TEST_F(BrowserWindowTest, ManagePlacesLogsThatTheEditorIsNotAvailableUntilTheProgramHasOne) {
    FormKinreader::StartLoader(holder, window.get());
    FormKinreader* browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    control<QAction>(browser, "mnuURLManagement")->trigger();
    EXPECT_EQ(mainLogCount(QStringLiteral("The place-key editor is not available in this version of Kvora")), 1);

    int edits = 0;
    FormKinreader::placeKeyEditor() = [&edits, browser](PlaceKeyClass& keys, QWidget* parent) {
        EXPECT_EQ(parent, browser);
        keys.Define(QStringLiteral("web"), QStringLiteral("http://x/"), QString());
        ++edits;
    };
    control<QAction>(browser, "mnuURLManagement")->trigger();
    FormKinreader::placeKeyEditor() = nullptr;
    EXPECT_EQ(edits, 1);
    EXPECT_TRUE(browser->session().placeKeys().Exists(QStringLiteral("web")));
}

TEST_F(BrowserWindowTest, IsPlacedOverItsOwnerOnlyAtTheFirstOpeningOfTheRun) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window->setGeometry(screen.left() + 10, screen.top() + 10, 400, 300);
    window->show();
    FormKinreader::StartLoader(holder, window.get());
    FormKinreader* browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    browser->close();
    settle();

    // The owner has moved; a browser opened again stays where it comes up.
    window->move(screen.left() + 60, screen.top() + 40);
    FormKinreader::StartLoader(holder, window.get());
    browser = FormKinreader::openBrowser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browser));
    EXPECT_NE(browser->frameGeometry().topLeft(), window->frameGeometry().topLeft());
}
