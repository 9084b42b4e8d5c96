#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "../foundation/WidgetDriving.h"
#include "EditorsTestSupport.h"
#include "FormBox.h"
#include "FormFamily.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "ServiceSlot.h"

namespace {

struct EditorWindows : ::testing::Test {
    QTemporaryDir folder;
    SVGTree tree;
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> scopedBoxes{boxes};

    void SetUp() override {
        QImage wide(400, 100, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        ASSERT_TRUE(wide.save(folder.filePath("wide.png")));
        tree.GetPlaceKeys().Define("Gallery", "https://example.org/pics/", folder.path() + "/");
        tree.GetPlaceKeys().Define("Web", "https://example.org/web/", "");
        tree.NewPerson("ann", "Ann Smith", "", 1, 1, "f", false, "$Gallery:wide.png", true);
        tree.NewPerson("bob", "Bob Smith", "", 2, 1, "m", false, "", true);
        tree.NewPerson("cat", "Cat Smith", "", 1, 2, "f", false, "", true);
        tree.NewFamily("f1", "ann", "bob")->AddChild(tree.GetPersons().value("cat"));
        tree.NewFamily("f2", "bob", "cat");
        tree.SetUnsaved(false);
    }
};

TEST_F(EditorWindows, LoadingShowsTheFittedPictureWithoutRunningThePictureHandlers) {
    FormBox form(tree, nullptr);
    form.loadEdit("ann");
    EXPECT_EQ(form.pictureHandlerRuns(), 0);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(form.comPlace()->currentText(), "Gallery");
    EXPECT_TRUE(form.chkLocal()->isChecked());
    EXPECT_EQ(form.txtFile()->text(), "wide.png");
    ASSERT_FALSE(form.imgPerson()->pixmap().isNull());
    EXPECT_EQ(form.imgPerson()->pixmap().size(), QSize(160, 40));
    EXPECT_TRUE(form.txtKey()->isReadOnly());

    form.loadCreate();
    EXPECT_EQ(form.pictureHandlerRuns(), 0);
    EXPECT_FALSE(form.txtKey()->isReadOnly());
    EXPECT_EQ(form.comSex()->currentText(), "Male");
    EXPECT_TRUE(form.imgPerson()->pixmap().isNull());
    // The key follows the caption until one is typed.
    form.txtCaption()->setText("Mary Ann Smith");
    EXPECT_EQ(form.txtKey()->text(), "MaryAnnSmith");
}

TEST_F(EditorWindows, BrowseOnlyWithALocalDirectory) {
    FormBox form(tree, nullptr);
    form.loadEdit("bob");
    EXPECT_FALSE(form.cmdBrowse()->isEnabled());
    auto choosePlace = [&](const char* place) {
        form.comPlace()->setCurrentText(place);
        Q_EMIT form.comPlace()->activated(form.comPlace()->currentIndex());
    };
    choosePlace("Gallery");
    EXPECT_TRUE(form.cmdBrowse()->isEnabled());
    EXPECT_EQ(form.pictureHandlerRuns(), 1);
    choosePlace("Web");
    EXPECT_FALSE(form.cmdBrowse()->isEnabled());
    choosePlace("Gallery");
    form.chkLocal()->click();
    EXPECT_FALSE(form.cmdBrowse()->isEnabled());
    form.chkLocal()->click();
    ASSERT_TRUE(form.cmdBrowse()->isEnabled());

    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> scoped(dialogs);
    dialogs.choose(folder.filePath("wide.png"));
    form.cmdBrowse()->click();
    EXPECT_EQ(dialogs.requests.last().directory, folder.path() + "/");
    EXPECT_EQ(form.txtFile()->text(), "wide.png");
    EXPECT_EQ(form.imgPerson()->pixmap().size(), QSize(160, 40));
    // A file without extension gets no trailing ".".
    dialogs.choose(folder.filePath("noext"));
    form.cmdBrowse()->click();
    EXPECT_EQ(form.txtFile()->text(), "noext");
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts().last().startsWith("Failed to load image file: "));
    EXPECT_TRUE(form.imgPerson()->pixmap().isNull());
    // Cancel changes nothing and says nothing.
    const qsizetype shown = boxes.shown.size();
    dialogs.cancel();
    form.cmdBrowse()->click();
    EXPECT_EQ(form.txtFile()->text(), "noext");
    EXPECT_EQ(boxes.shown.size(), shown);

    // Without place keys "Use local" is off and disabled.
    SVGTree bare;
    bare.NewPerson("p", "P", "", 1, 1, "f", false, "", true);
    FormBox plain(bare, nullptr);
    plain.loadEdit("p");
    EXPECT_FALSE(plain.chkLocal()->isChecked());
    EXPECT_FALSE(plain.chkLocal()->isEnabled());
    EXPECT_EQ(plain.comPlace()->count(), 0);
}

TEST_F(EditorWindows, PersonCancelWritesNothingAndAFailedOKStaysOpen) {
    whenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<FormBox*>(dialog);
        ASSERT_NE(form, nullptr);
        form->txtCaption()->setText("Changed");
        form->chkRootPerson()->setChecked(true);
        form->pages()->txtNotes(1)->setPlainText("changed");
        form->cmdQuit()->click();
    });
    EXPECT_FALSE(FormBox::EditBox(tree, "bob"));
    EXPECT_EQ(tree.GetPersons().value("bob")->GetText(), "Bob Smith");
    EXPECT_TRUE(tree.GetPersons().value("bob")->GetNotes().isEmpty());
    EXPECT_EQ(tree.GetRootPerson(), nullptr);
    EXPECT_FALSE(tree.IsUnsaved());

    whenModalOpens([this](QWidget* dialog) {
        auto* form = qobject_cast<FormBox*>(dialog);
        form->txtCaption()->setText("Eve");
        form->txtKey()->setText("2nd");
        form->cmdExit()->click();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(boxes.texts().last(),
                  "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic)");
        form->cmdQuit()->click();
    });
    EXPECT_EQ(FormBox::CreateBox(tree), "");
    EXPECT_EQ(tree.GetPersons().count(), 3);

    whenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<FormBox*>(dialog);
        form->txtCaption()->setText("Ann Smith");
        form->txtKey()->setText("ann");
        form->cmdEditNames()->click();
        EXPECT_EQ(form->txtEditNames()->toPlainText(), "Ann /Smith/");
        form->txtEditNames()->setPlainText("Ann|Smith\nAnn");
        form->cmdExit()->click();
    });
    EXPECT_EQ(FormBox::CreateBox(tree), "ann-1");
    EXPECT_EQ(tree.GetPersons().value("ann-1")->GetPersonalNames(), "AnnSmith|Ann");
}

TEST_F(EditorWindows, FamilyChildrenAndCancel) {
    FormFamily form(tree, nullptr);
    form.loadEdit("f2");
    EXPECT_EQ(form.comChildren()->count(), 0);
    EXPECT_FALSE(form.cmdEditChild()->isEnabled());
    form.loadEdit("f1");
    EXPECT_EQ(form.comChildren()->currentText(), "Cat Smith");
    EXPECT_TRUE(form.cmdEditChild()->isEnabled());
    EXPECT_TRUE(form.txtKey()->isReadOnly());
    EXPECT_TRUE(form.txtParent(1)->isReadOnly());
    form.loadCreate("ann", "cat");
    EXPECT_EQ(form.txtKey()->text(), "ann_cat");
    EXPECT_EQ(form.txtParCaption(2)->text(), "Cat Smith");
    EXPECT_FALSE(form.cmdEditChild()->isEnabled());

    // A child edited through the person editor is reported even after Cancel.
    whenModalOpens([](QWidget* dialog) {
        auto* family = qobject_cast<FormFamily*>(dialog);
        ASSERT_NE(family, nullptr);
        family->chkLiaison()->setChecked(true);
        whenModalOpens([family](QWidget* child) {
            auto* person = qobject_cast<FormBox*>(child);
            ASSERT_NE(person, nullptr);
            EXPECT_EQ(person->parentWidget(), family);
            person->txtCaption()->setText("Catherine Smith");
            person->cmdExit()->click();
        });
        family->cmdEditChild()->click();
        family->cmdQuit()->click();
    });
    QString childSet;
    EXPECT_FALSE(FormFamily::EditFamily(tree, "f1", childSet));
    EXPECT_EQ(childSet, "cat");
    EXPECT_EQ(tree.GetPersons().value("cat")->GetText(), "Catherine Smith");
    EXPECT_FALSE(tree.GetFamilies().value("f1")->GetLiaison());

    whenModalOpens([](QWidget* dialog) { qobject_cast<FormFamily*>(dialog)->cmdQuit()->click(); });
    EXPECT_EQ(FormFamily::CreateFamily(tree, "ann", "cat"), "");
    EXPECT_FALSE(tree.GetFamilies().contains("ann_cat"));
    whenModalOpens([](QWidget* dialog) { qobject_cast<FormFamily*>(dialog)->cmdExit()->click(); });
    EXPECT_EQ(FormFamily::CreateFamily(tree, "ann", "cat"), "ann_cat");
}

}  // namespace
