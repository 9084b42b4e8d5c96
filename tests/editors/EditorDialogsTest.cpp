#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "../foundation/WidgetDriving.h"
#include "EditorsTestSupport.h"
#include "FormEvent.h"
#include "FormImage.h"
#include "FormLink.h"
#include "RecordingReporter.h"
#include "ScriptedMessageBoxes.h"
#include "ServiceSlot.h"

namespace {

QLineEdit* boxNamed(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(QString::fromLatin1(name)); }

void clickButton(QWidget* dialog, const char* name) {
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

TEST(EventDialog, EndControlsOnlyForBetweenAndFrom) {
    RecordingReporter reporter;
    EventFormModel model(reporter, testContext());
    model.open("", "", "", "");
    FormEvent form(model);
    auto endEnabled = [&] {
        return form.comKW(1)->isEnabled() && form.txtYear(1)->isEnabled() && form.comMonth(1)->isEnabled() &&
               form.chkDualYears(1)->isEnabled() && form.comDay(1)->isEnabled();
    };
    auto endDisabled = [&] {
        return !form.comKW(1)->isEnabled() && !form.txtYear(1)->isEnabled() && !form.comMonth(1)->isEnabled() &&
               !form.chkDualYears(1)->isEnabled() && !form.comDay(1)->isEnabled();
    };
    EXPECT_TRUE(endDisabled());
    EXPECT_EQ(form.txtYear(0)->text(), "2024");
    EXPECT_EQ(form.comDay(0)->currentText(), "10");
    for (int i = 0; i < form.comKW(0)->count(); ++i) {
        form.comKW(0)->setCurrentIndex(i);
        const QString text = form.comKW(0)->itemText(i);
        const bool end = text == "BET (Between)" || text == "FROM";
        EXPECT_EQ(endEnabled(), end) << text.toStdString();
        EXPECT_EQ(endDisabled(), !end) << text.toStdString();
    }
    form.comKW(0)->setCurrentText("BET (Between)");
    EXPECT_EQ(form.comKW(1)->count(), 1);
    EXPECT_EQ(form.comKW(1)->currentText(), "AND");
    // Month "<n/a>" disables the day list.
    form.comMonth(0)->setCurrentIndex(0);
    EXPECT_FALSE(form.comDay(0)->isEnabled());
    EXPECT_EQ(form.comDay(0)->currentText(), "<n/a>");
    // Julian clears a dual year and the other way round.
    form.chkDualYears(1)->setChecked(true);
    form.chkJulian()->setChecked(true);
    EXPECT_FALSE(form.chkDualYears(1)->isChecked());
    form.chkDualYears(0)->setChecked(true);
    EXPECT_FALSE(form.chkJulian()->isChecked());
}

TEST(EventDialog, TypedValuesAreCheckedAtOK) {
    RecordingReporter reporter;
    EventFormModel model(reporter, testContext());
    model.open("{BET 1850 AND 1855}", "", "", "");
    FormEvent form(model);
    // Typed text reaches the model through textEdited; the box is never left.
    form.txtYear(1)->selectAll();
    QTest::keyClicks(form.txtYear(1), "1849");
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> scoped(boxes);
    form.cmdOK()->click();
    EXPECT_FALSE(form.accepted());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts().first(), "End date cannot be earlier than start date");
    EXPECT_EQ(form.txtYear(1)->text(), "1849");

    form.txtYear(1)->selectAll();
    QTest::keyClicks(form.txtYear(1), "1860");
    form.comType()->setEditText("Census");
    form.cmdOK()->click();
    EXPECT_TRUE(form.accepted());
    EXPECT_EQ(model.resultDate(), "{BET 1850 AND 1860}");
    EXPECT_EQ(model.resultType(), "Census");
}

TEST(EventDialog, CancelLeavesEveryTextAsItWas) {
    QString date = "{ABT 1850}", event = "Born &amp; raised", type = "Birth", divText = "born c1850";
    whenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<FormEvent*>(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->comKW(0)->currentText(), "ABT (About)");
        EXPECT_EQ(form->txtDescr()->text(), "Born & raised");
        EXPECT_EQ(form->txtDivText()->toPlainText(), "born c1850");
        form->txtYear(0)->setText("1900");
        form->txtDescr()->setText("changed");
        form->comType()->setEditText("Death");
        form->txtDivText()->setPlainText("changed");
        form->cmdCancel()->click();
    });
    EXPECT_FALSE(FormEvent::EditEvent(date, event, type, divText, nullptr, nullptr));
    EXPECT_EQ(date, "{ABT 1850}");
    EXPECT_EQ(event, "Born &amp; raised");
    EXPECT_EQ(type, "Birth");
    EXPECT_EQ(divText, "born c1850");

    whenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<FormEvent*>(dialog);
        ASSERT_NE(form, nullptr);
        form->txtDescr()->setText("Born <here>");
        form->cmdOK()->click();
    });
    EXPECT_TRUE(FormEvent::EditEvent(date, event, type, divText, nullptr, nullptr));
    EXPECT_EQ(date, "c1850");
    EXPECT_EQ(event, "Born &lt;here&gt;");
    EXPECT_EQ(type, "Birth");
}

TEST(EventDialog, AnUnreadableDateRaisesBeforeTheDialogShows) {
    QString date = "{BET 1850}", event, type, divText;
    bool shown = false;
    whenModalOpens([&](QWidget* dialog) {
        shown = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    const AppError e = errorOf([&] { FormEvent::EditEvent(date, event, type, divText, nullptr, nullptr); });
    EXPECT_EQ(e.description, "Illegal date syntax: {BET 1850}");
    // Let the watch for a dialog run out while shown is still alive.
    for (int i = 0; i < 60; ++i) QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(date, "{BET 1850}");
}

TEST(ImageAndLinkDialogs, ReturnWhatWasTypedOrNothing) {
    QString url = "$Gallery:me.jpg", title = "Me", width = "300";
    whenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Image Details");
        EXPECT_EQ(boxNamed(dialog, "txtURL")->text(), "$Gallery:me.jpg");
        EXPECT_EQ(boxNamed(dialog, "txtTitle")->text(), "Me");
        boxNamed(dialog, "txtURL")->setText("  x.png ");
        boxNamed(dialog, "txtWidth")->setText("wide");
        clickButton(dialog, "cmdOK");
    });
    EXPECT_TRUE(FormImage::EditImage(url, title, width, nullptr));
    EXPECT_EQ(url, "  x.png ");
    EXPECT_EQ(title, "Me");
    EXPECT_EQ(width, "wide");

    whenModalOpens([](QWidget* dialog) {
        boxNamed(dialog, "txtWidth")->clear();
        clickButton(dialog, "cmdCancel");
    });
    EXPECT_FALSE(FormImage::EditImage(url, title, width, nullptr));
    EXPECT_EQ(width, "wide");

    // Links: a first call accepted, a second cancelled does not hand out the first's texts.
    QString text = "site", href, target = "_blank";
    whenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Link Details");
        boxNamed(dialog, "txtSelText")->setText("my site");
        boxNamed(dialog, "txtURL")->setText("https://example.org/");
        boxNamed(dialog, "txtTarget")->clear();
        clickButton(dialog, "cmdOK");
    });
    EXPECT_TRUE(FormLink::EditLink(text, href, target, nullptr));
    EXPECT_EQ(text, "my site");
    EXPECT_EQ(href, "https://example.org/");
    EXPECT_EQ(target, "");

    QString text2 = "other", href2 = "u", target2 = "_top";
    whenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(boxNamed(dialog, "txtSelText")->text(), "other");
        EXPECT_EQ(boxNamed(dialog, "txtURL")->text(), "u");
        boxNamed(dialog, "txtURL")->setText("changed");
        dialog->close();
    });
    EXPECT_FALSE(FormLink::EditLink(text2, href2, target2, nullptr));
    EXPECT_EQ(text2, "other");
    EXPECT_EQ(href2, "u");
    EXPECT_EQ(target2, "_top");
}

}  // namespace
