#include <gtest/gtest.h>

#include <functional>

#include "EditorsTestSupport.h"
#include "EventDateText.h"
#include "NotesDialogs.h"
#include "RecordingReporter.h"
#include "SVGEditHTML.h"

namespace {

// Dialogs that record what they were shown and answer from the test.
struct ScriptedDialogs : NotesDialogs {
    QStringList shown;  // "image|url|title|width" and the like
    bool answer = true;
    std::function<void(QString&, QString&, QString&)> image, link;
    std::function<void(QString&, QString&, QString&, QString&)> event;

    bool EditImage(QString& a, QString& b, QString& c) override {
        shown.append("image|" + a + "|" + b + "|" + c);
        if (answer && image) image(a, b, c);
        return answer;
    }
    bool EditLink(QString& a, QString& b, QString& c) override {
        shown.append("link|" + a + "|" + b + "|" + c);
        if (answer && link) link(a, b, c);
        return answer;
    }
    bool EditEvent(QString& a, QString& b, QString& c, QString& d) override {
        shown.append("event|" + a + "|" + b + "|" + c + "|" + d);
        readDateText(a, QDate(2024, 2, 10));  // an unreadable date raises as the dialog does
        if (answer && event) event(a, b, c, d);
        return answer;
    }
};

class NotesToolbar : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    SVGEditHTML engine{dialogs, reporter, testContext()};

    // A box whose selection is given by the marks "[" and "]" (or "|" for the caret).
    static NotesText box(QString marked) {
        NotesText b;
        if (const qsizetype bar = marked.indexOf(u'|'); bar >= 0) {
            b.selStart = int(bar);
            b.text = marked.remove(bar, 1);
            return b;
        }
        const qsizetype open = marked.indexOf(u'[');
        marked.remove(open, 1);
        const qsizetype close = marked.indexOf(u']');
        marked.remove(close, 1);
        b.text = marked;
        b.selStart = int(open);
        b.selLength = int(close - open);
        return b;
    }
    static QString marked(const NotesText& b) {
        QString s = b.text;
        if (b.selLength == 0) return s.insert(b.selStart, u'|');
        s.insert(b.selStart + b.selLength, u']');
        return s.insert(b.selStart, u'[');
    }
    QString press(const QString& text, const QString& key) {
        NotesText b = box(text);
        engine.bEditHTMLButton(b, key);
        return marked(b);
    }
};

TEST_F(NotesToolbar, TogglesWrapAndUnwrapTheSelection) {
    struct Case {
        const char* before;
        const char* key;
        const char* after;
    } cases[] = {
        {"[word]", "Bold", "[<b>word</b>]"},
        {"[<b>word</b>]", "Bold", "[word]"},
        {"[<b>a</b> and <b>c</b>]", "Bold", "[a</b> and <b>c]"},
        {"x [text] y", "Italic", "x [<i>text</i>] y"},
        {"[t]", "Underline", "[<u>t</u>]"},
        {"[t]", "StrikeThrough", "[<s>t</s>]"},
        {"[t]", "Subscript", "[<sub>t</sub>]"},
        {"[<sup>t</sup>]", "Superscript", "[t]"},
        {"[t]", "H1", "[<h1>t</h1>]"},
        {"[<h2>t</h2>]", "H2", "[t]"},
        {"[text]", "Paragraph", "[<p align='left'>text</p>]"},
        {"[<p class='x'>text</p>]", "Paragraph", "[text]"},
        {"[<p align='left'>text</p>]", "Paragraph", "[text]"},
        // Tags of another kind are wrapped, not removed.
        {"[<i>t</i>]", "Bold", "[<b><i>t</i></b>]"},
        {"[<p</p>]", "Paragraph", "[<p align='left'><p</p></p>]"},
        {"[x]", "Nothing", "[x]"},
        {"[x]", "bold", "[x]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(press(QString::fromUtf8(c.before), QString::fromLatin1(c.key)), QString::fromUtf8(c.after))
            << c.before << " " << c.key;
}

TEST_F(NotesToolbar, AnEmptySelectionWidensToAnElement) {
    struct Case {
        const char* before;
        const char* key;
        const char* after;
    } cases[] = {
        {"no tags |here", "Italic", "[no tags here]"},
        {"a <b>bo|ld</b> c", "Bold", "a [<b>bold</b>] c"},
        {"a <b>bold</b> c <i>x|</i>", "Bold", "a <b>bold</b> c <i>[x]</i>"},
        {"a <i>it|al</i> c", "Italic", "a [<i>ital</i>] c"},
        // Inside a tag: the element, or the tag alone.
        {"x <b|>y</b> z", "Italic", "x [<b>y</b>] z"},
        {"x <b>y</|b> z", "Italic", "x [<b>y</b>] z"},
        {"x <b|r/> z", "Italic", "x [<br/>] z"},
        {"x <b|>y z", "Italic", "x [<b>]y z"},
        // Before the first tag, after the last.
        {"lead|ing <b>x</b> trail", "Bold", "[leading ]<b>x</b> trail"},
        {"lead <b>x</b> tra|il", "Bold", "lead <b>x</b>[ trail]"},
        // Between two tags of other kinds: the text between them.
        {"<i>a</i> mid|dle <u>b</u>", "Bold", "<i>a</i>[ middle ]<u>b</u>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(press(QString::fromUtf8(c.before), QString::fromLatin1(c.key)), QString::fromUtf8(c.after))
            << c.before;
    // Widen, then press again: the tags go.
    NotesText b = box("a <b>bo|ld</b> c");
    engine.bEditHTMLButton(b, "Bold");
    engine.bEditHTMLButton(b, "Bold");
    EXPECT_EQ(marked(b), "a [bold] c");
}

TEST_F(NotesToolbar, LinksAreInsertedSelectedAndEdited) {
    dialogs.link = [](QString& text, QString& url, QString& target) {
        url = "https://example.org/?a=1&b='2'";
        text = text.isEmpty() ? "new" : text;
    };
    EXPECT_EQ(press("see [site] now", "Link"),
              "see <a href=\"https://example.org/?a=1&b='2'\" target='_blank'>site</a>| now");
    EXPECT_EQ(dialogs.shown.last(), "link|site||_blank");

    // The caret in the link's text selects the link; again opens the dialog with its values.
    const QString link = "x <a href='u' target='_blank' class=\"it's\">site</a> y";
    NotesText b = box(QString(link).insert(link.indexOf("site") + 2, u'|'));
    dialogs.shown.clear();
    engine.bEditHTMLButton(b, "Link");
    EXPECT_EQ(marked(b), "x [<a href='u' target='_blank' class=\"it's\">site</a>] y");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    dialogs.link = [](QString& text, QString& url, QString& target) { url = "v"; };
    engine.bEditHTMLButton(b, "Link");
    EXPECT_EQ(dialogs.shown.last(), "link|site|u|_blank");
    EXPECT_EQ(marked(b), "x <a href='v' target='_blank' class=\"it's\">site</a>| y");

    // A new link before a later tag.
    EXPECT_EQ(press("[word] and <b>bold</b>", "Link"),
              "<a href='v' target='_blank'>word</a>| and <b>bold</b>");
    // In plain text with a tag inside the selection: nothing.
    EXPECT_EQ(press("[a <b>b</b> c]", "Link"), "[a <b>b</b> c]");
    // Inside another tag: refused.
    reporter.entries.clear();
    EXPECT_EQ(press("<b cl|ass='x'>b</b>", "Link"), "<b cl|ass='x'>b</b>");
    EXPECT_EQ(reporter.warnings(), QStringList{"Cannot insert a link part-way through another element"});
}

TEST_F(NotesToolbar, ImagesAreInsertedAndEdited) {
    dialogs.image = [](QString& url, QString& title, QString& width) { url = "$Gallery:me.jpg"; };
    EXPECT_EQ(press("Born here|", "Image"), "Born here<br/><img src='$Gallery:me.jpg' alt='' width='300'/>|");
    EXPECT_EQ(dialogs.shown.last(), "image|||300");
    EXPECT_EQ(press("Born here<br/>\n|", "Image"), "Born here<br/>\n<img src='$Gallery:me.jpg' alt='' width='300'/>|");
    EXPECT_EQ(press("|", "Image"), "<img src='$Gallery:me.jpg' alt='' width='300'/>|");
    EXPECT_EQ(press("<p>[Me and 'him']</p>", "Image"),
              "<p><br/><img src='$Gallery:me.jpg' alt=\"Me and 'him'\" width='300'/>|</p>");

    // The caret inside an image tag selects it; a selection of it edits it.
    EXPECT_EQ(press("a<br/><img sr|c='x' data-k='1'/>", "Image"), "a<br/>[<img src='x' data-k='1'/>]");
    dialogs.image = [](QString& url, QString& title, QString& width) { width = "120"; };
    EXPECT_EQ(press("a<br/>[<img src='x' data-k='1'/>]", "Image"), "a<br/><img src='x' alt='' width='120' data-k='1'/>|");
    EXPECT_EQ(dialogs.shown.last(), "image|x||");

    // Refusals.
    reporter.entries.clear();
    EXPECT_EQ(press("<b|>x</b>", "Image"), "<b|>x</b>");
    EXPECT_EQ(press("[<b>x</b>]", "Image"), "[<b>x</b>]");
    EXPECT_EQ(press("a [b <i]>x</i>", "Image"), "a [b <i]>x</i>");
    EXPECT_EQ(reporter.warnings(), QStringList(3, "Cannot insert image part-way through another element"));
}

TEST_F(NotesToolbar, EventsAreDerivedFromTheSelectionAndEdited) {
    dialogs.event = [](QString& date, QString& event, QString& type, QString& text) {
        event = "Born &amp; baptised";
        type = "Birth";
    };
    EXPECT_EQ(press("Ann was born on [ 5 March 1850 ] in Leeds", "Event"),
              "Ann was born on  <span data-start='1850-03-05' data-event='Born &amp; baptised' "
              "data-evtype='Birth'>5 March 1850</span> | in Leeds");
    EXPECT_EQ(dialogs.shown.last(), "event|1850-03-05|||5 March 1850");

    // Editing keeps the library's attributes and a changed text with a tag makes a div.
    dialogs.event = [](QString& date, QString& event, QString& type, QString& text) {
        date = "{ABT 1850}";
        text = "about <b>1850</b>";
    };
    EXPECT_EQ(press("x [<span data-start='1850' data-event='b' data-evtype='Birth' data-gtag='BIRT' "
                    "data-gpayl=\"it's\">1850</span>] y",
                    "Event"),
              "x <div data-start='{ABT 1850}' data-event='b' data-evtype='Birth' data-gtag='BIRT' "
              "data-gpayl=\"it's\">about <b>1850</b></div>| y");
    EXPECT_EQ(dialogs.shown.last(), "event|1850|b|Birth|1850");

    // The caret in an event's text selects the event element.
    EXPECT_EQ(press("<div data-start='1850'>a <b>b|</b></div>", "Event"), "[<div data-start='1850'>a <b>b</b></div>]");
    // An unreadable date raises and changes nothing.
    NotesText b = box("[<span data-start='{@#DJULIAN@ 1850}'>x</span>]");
    const NotesText before = b;
    const int undo = engine.undoCount();
    EXPECT_EQ(errorOf([&] { engine.bEditHTMLButton(b, "Event"); }).description,
              "Unrecognised date syntax: {@#DJULIAN@ 1850}");
    EXPECT_EQ(b, before);
    EXPECT_EQ(engine.undoCount(), undo);
    reporter.entries.clear();
    EXPECT_EQ(press("<b|>x</b>", "Event"), "<b|>x</b>");
    EXPECT_EQ(reporter.warnings(), QStringList{"Cannot insert event mark-up part-way through another element"});
}

TEST_F(NotesToolbar, UndoRestoresAndCancelledDialogsLeaveNoEntry) {
    NotesText b = box("[word]");
    engine.bEditHTMLButton(b, "Bold");
    EXPECT_TRUE(engine.undoEnabled());
    b.selStart = int(b.text.size());
    b.selLength = 0;
    engine.bEditHTMLButton(b, "Newline");
    EXPECT_EQ(b.text, "<b>word</b><br/>\n");
    EXPECT_EQ(engine.undoCount(), 2);

    dialogs.answer = false;
    for (const char* key : {"Image", "Link", "Event"}) {
        NotesText c = b;
        engine.bEditHTMLButton(c, key);
        EXPECT_EQ(c, b) << key;
    }
    EXPECT_EQ(engine.undoCount(), 2);

    // Widening a selection is an entry too.
    engine.bEditHTMLButton(b, "Bold");
    EXPECT_EQ(engine.undoCount(), 3);
    engine.bEditHTMLButton(b, "Undo");
    EXPECT_EQ(marked(b), "<b>word</b><br/>\n|");
    engine.bEditHTMLButton(b, "Undo");
    EXPECT_EQ(marked(b), "<b>word</b>|");
    engine.bEditHTMLButton(b, "Undo");
    EXPECT_EQ(marked(b), "[word]");
    EXPECT_FALSE(engine.undoEnabled());
    engine.bEditHTMLButton(b, "Undo");
    EXPECT_EQ(marked(b), "[word]");

    engine.bEditHTMLButton(b, "Bold");
    engine.ResetUndo();
    EXPECT_FALSE(engine.undoEnabled());
    EXPECT_TRUE(engine.bEditHTMLButton(b, "Preview"));
    EXPECT_EQ(marked(b), "[<b>word</b>]");
}

TEST_F(NotesToolbar, TheUndoStackDropsItsOldestEntryPastTheCap) {
    HTMLUndoStack stack;
    for (int i = 0; i < HTMLUndoStack::kCap + 5; ++i) stack.PushUndo({QString::number(i), 0, 0});
    EXPECT_EQ(stack.count(), HTMLUndoStack::kCap);
    NotesText last;
    while (stack.PopUndo(last)) {}
    EXPECT_EQ(last.text, "5");
}

TEST_F(NotesToolbar, MalformedHTMLWarnsAndTheButtonStillActs) {
    EXPECT_EQ(press("[x] <b", "Bold"), "[<b>x</b>] <b");
    EXPECT_EQ(reporter.warnings(), QStringList{"Warning, HTML is not syntactically valid"});
}

}  // namespace
