#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolBar>

#include "../foundation/WidgetDriving.h"
#include "EditorsTestSupport.h"
#include "FormAppData.h"
#include "NotesPages.h"
#include "NotesPagesText.h"
#include "NotesPreview.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"

namespace {

std::unique_ptr<SVGApplications> programDataKinds() {
    auto apps = std::make_unique<SVGApplications>();
    RecordingReporter reporter;
    apps->Initialise(QStringLiteral(KV_TEST_DATA_DIR "/editors/programdata"), reporter);
    return apps;
}

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out.append(a->text());
    return out;
}

TEST(NotesPagesText, LocalSettingsPageToAndFromTheRecord) {
    SVGBox box;
    box.InitSettings("ButtonTR=True,ClassPerson=x");
    EXPECT_EQ(sGetLocSettingsText(box), "ButtonTR=True\nClassPerson=x");
    EXPECT_EQ(sLocSettingsRecord("ButtonTR=True\nClassPerson=x"), "ButtonTR=True,ClassPerson=x");
    EXPECT_EQ(sLocSettingsRecord("ButtonTR=True\r\nClassPerson=x\n\n"), "ButtonTR=True,ClassPerson=x");

    // The page replaces every setting; a trailing blank line is no error.
    SetLocSettingsText(box, "ClassPerson=y\n");
    EXPECT_EQ(sGetLocSettingsText(box), "ClassPerson=y");
    SetLocSettingsText(box, "");
    EXPECT_EQ(sGetLocSettingsText(box), "");

    // A refused page leaves the settings as they were.
    SVGFamily family;
    family.InitSettings("HideLinks=True");
    EXPECT_THROW(SetLocSettingsText(family, "HideLinks=True\nClassPerson=x"), AppError);
    EXPECT_EQ(sGetLocSettingsText(family), "HideLinks=True");

    EXPECT_EQ(pageLines(""), QStringList{});
    EXPECT_EQ(pageLines("a\r\nb\n"), (QStringList{"a", "b", ""}));
    EXPECT_EQ(sPageText({"a", "b"}), "a\nb");
}

TEST(NotesPagesText, ProgramDataMenu) {
    auto apps = programDataKinds();
    const QList<DataMenuItem> items = dataMenuItems(apps.get());
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].caption, "Edit Link to a viewpoint...");
    EXPECT_EQ(items[0].id, "Link");
    EXPECT_EQ(items[1].caption, "Edit Census entries...");
    const QList<DataMenuItem> none = dataMenuItems(nullptr);
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].caption, "(none defined)");
    EXPECT_EQ(none[0].id, "");
    for (int page = 1; page <= 4; ++page) {
        EXPECT_EQ(bDataMenuEnabled(apps.get(), page), page == 3);
        EXPECT_FALSE(bDataMenuEnabled(nullptr, page));
    }
}

TEST(NotesPagesWidget, TabsToggleTheHTMLBoxTheMenuAndHideThePreview) {
    auto apps = programDataKinds();
    SVGTree tree;
    NotesPages pages(NotesPages::Person);
    pages.load(&tree, apps.get(), "<b>notes</b>", "tip", "Link | v | n", "ButtonTR=True");
    pages.show();
    EXPECT_EQ(pages.tabStrip()->count(), 4);
    EXPECT_EQ(pages.tabStrip()->tabText(3), "Local Settings");
    EXPECT_EQ(pages.tabStrip()->tabToolTip(3), "Settings (name=value) for this specific person-box");
    EXPECT_EQ(pages.txtNotes(4)->toolTip(), pages.tabStrip()->tabToolTip(3));
    EXPECT_EQ(captions(pages.mnuEditAppData()), (QStringList{"Edit Link to a viewpoint...", "Edit Census entries..."}));
    EXPECT_FALSE(pages.mnuEditAppData()->isEnabled());
    EXPECT_TRUE(pages.chkHTML()->isVisible());
    EXPECT_FALSE(pages.tbrHTML()->isVisible());
    EXPECT_FALSE(pages.oBrowser()->isVisible());

    pages.chkHTML()->click();
    EXPECT_TRUE(pages.tbrHTML()->isVisible());
    pages.button("Preview")->trigger();
    EXPECT_TRUE(pages.previewOn());
    EXPECT_TRUE(pages.oBrowser()->isVisible());
    EXPECT_EQ(pages.oBrowser()->toPlainText(), "notes");
    // Unchecking the toolbar box leaves the preview on.
    pages.chkHTML()->click();
    EXPECT_FALSE(pages.tbrHTML()->isVisible());
    EXPECT_TRUE(pages.previewOn());

    for (int tab : {2, 1, 0, 3}) {
        pages.tabStrip()->setCurrentIndex(tab);
        EXPECT_FALSE(pages.previewOn());
        EXPECT_TRUE(pages.txtNotes(tab + 1)->isVisible());
        EXPECT_EQ(pages.chkHTML()->isVisible(), tab == 0);
        EXPECT_EQ(pages.mnuEditAppData()->isEnabled(), tab == 2) << tab;
    }

    // Without kinds: one disabled "(none defined)" item on every page.
    NotesPages family(NotesPages::Family);
    family.load(&tree, nullptr, "", "", "", "");
    EXPECT_EQ(captions(family.mnuEditAppData()), QStringList{"(none defined)"});
    for (int tab : {1, 2, 3, 0}) {
        family.tabStrip()->setCurrentIndex(tab);
        EXPECT_FALSE(family.mnuEditAppData()->isEnabled());
    }
    family.mnuEditAppData()->actions().first()->trigger();
    EXPECT_EQ(family.pageText(3), "");
    EXPECT_EQ(family.tabStrip()->tabToolTip(3), "Settings (name=value) for this specific family-circle");
}

TEST(NotesPagesWidget, ProgramDataEditorWritesThePageAndMarksTheTree) {
    auto apps = programDataKinds();
    SVGTree tree;
    NotesPages pages(NotesPages::Person);
    pages.load(&tree, apps.get(), "", "", "Link | v | n", "");
    pages.show();
    pages.tabStrip()->setCurrentIndex(2);
    whenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<FormAppData*>(dialog);
        ASSERT_NE(form, nullptr);
        form->fgData()->item(0, 0)->setText("1851");
        form->fgData()->item(0, 1)->setText("Leeds");
        form->cmdExit()->click();
    });
    pages.mnuEditAppData()->actions().at(1)->trigger();
    EXPECT_EQ(pages.pageText(3), "Link | v | n\nCensus | 1851 | Leeds");
    EXPECT_TRUE(tree.IsUnsaved());

    // Cancelled: the page and the tree's mark stay.
    tree.SetUnsaved(false);
    whenModalOpens([](QWidget* dialog) { qobject_cast<FormAppData*>(dialog)->cmdQuit()->click(); });
    pages.mnuEditAppData()->actions().at(0)->trigger();
    EXPECT_EQ(pages.pageText(3), "Link | v | n\nCensus | 1851 | Leeds");
    EXPECT_FALSE(tree.IsUnsaved());
}

TEST(NotesPagesWidget, ToolbarActsOnTheNotesSelectionAndThePreviewIsASnapshot) {
    SVGTree tree;
    tree.GetPlaceKeys();
    NotesPages pages(NotesPages::Person);
    pages.load(&tree, nullptr, "one\ntwo word", "", "", "");
    pages.show();
    pages.chkHTML()->click();
    EXPECT_FALSE(pages.button("Undo")->isEnabled());

    QTextCursor cursor(pages.txtNotes(1)->document());
    cursor.setPosition(8);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    pages.txtNotes(1)->setTextCursor(cursor);
    pages.button("Bold")->trigger();
    EXPECT_EQ(pages.pageText(1), "one\ntwo <b>word</b>");
    EXPECT_EQ(pages.txtNotes(1)->textCursor().selectionStart(), 8);
    EXPECT_EQ(pages.txtNotes(1)->textCursor().selectionEnd(), 19);
    EXPECT_TRUE(pages.button("Undo")->isEnabled());

    pages.button("Preview")->trigger();
    EXPECT_EQ(pages.oBrowser()->toPlainText(), "one two word");
    pages.txtNotes(1)->setPlainText("edited");
    EXPECT_EQ(pages.oBrowser()->toPlainText(), "one two word");
    pages.button("Preview")->trigger();
    pages.button("Preview")->trigger();
    EXPECT_EQ(pages.oBrowser()->toPlainText(), "edited");

    pages.button("Preview")->trigger();
    pages.button("Undo")->trigger();
    EXPECT_EQ(pages.pageText(1), "one\ntwo word");
    EXPECT_FALSE(pages.button("Undo")->isEnabled());

    // A new opening empties the undo stack.
    pages.button("Bold")->trigger();
    EXPECT_TRUE(pages.button("Undo")->isEnabled());
    pages.load(&tree, nullptr, "again", "", "", "");
    EXPECT_FALSE(pages.button("Undo")->isEnabled());
    EXPECT_FALSE(pages.tbrHTML()->isVisible());
}

}  // namespace
