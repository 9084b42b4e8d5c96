#include <gtest/gtest.h>

#include "GEDNoteText.h"
#include "QStringPrinting.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(NoteText, PlainTextIsEscapedAndHtmlKept) {
    const std::pair<const char*, const char*> cases[] = {
        {"Fish &amp; chips", "Fish &amp; chips"},
        {"Fish & chips", "Fish &amp; chips"},
        // Mark-up is kept, written anew.
        {"line<BR>next", "line<br>next"},
        {"<B>bold</B> text", "<b>bold</b> text"},
        {"a <b> b", "a &lt;b&gt; b"},
        {"1 < 2 \"quoted\" 'single'", "1 &lt; 2 &quot;quoted&quot; &apos;single&apos;"},
        {"&QUOT;already&QUOT;", "&QUOT;already&QUOT;"},
        {"", ""},
    };
    for (const auto& [text, html] : cases)
        EXPECT_EQ(sNoteTextToHTML(q(text)), q(html)) << text;
    EXPECT_TRUE(bHasHTMLEndTag(q("x</SPAN>")));
    EXPECT_TRUE(bHasHTMLEndTag(q("x<br/>")));
    EXPECT_FALSE(bHasHTMLEndTag(q("<p>open only")));
    EXPECT_TRUE(bHasHTMLEntity(q("a &Gt; b")));
    EXPECT_FALSE(bHasHTMLEntity(q("&nbsp;")));
}

TEST(NoteText, StrippingMarkUp) {
    const std::pair<const char*, const char*> cases[] = {
        {"<b>Born</b> 1850 &amp; baptised", "Born 1850 & baptised"},
        {"<p class=\"x\">one</p><p>two</p>", "onetwo"},
        {"no tags", "no tags"},
        {"&lt;b&gt; stays text", "<b> stays text"},
        {"a < b", "a < b"},
        {"<i>x</i> and <unclosed", "x and <unclosed"},
        {"", ""},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(sStripHTML(q(html)), q(text)) << html;
}

TEST(NoteText, ImageRedirectLinksBecomeMediaLinks) {
    const QString redirect = q("http://trees.genealogy.example/rd?f=image&guid=");
    EXPECT_EQ(sCorrectImageURL(redirect + q("abc-123&tid=99&pid=4")),
              q("https://media.genealogy.example/v2/image/namespaces/1093/media/abc-123.jpg?client=Trees&imageQuality=hq"));
    const QString unchanged[] = {redirect + q("abc-123"), q("HTTP://trees.genealogy.example/rd?f=image&guid=a&tid=1"),
                                 q("C:/pictures/anne.jpg"), q("")};
    for (const QString& url : unchanged)
        EXPECT_EQ(sCorrectImageURL(url), url);
}

TEST(NoteText, CaptionsStartingWithALetter) {
    const std::pair<const char*, bool> cases[] = {
        {"Al", false}, {"Ann", true}, {"1st", false}, {"zed", true}, {"", false}, {"Éva", false}, {"_ab", false},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(bStartsWithLetter(q(text)), expected) << text;
}

}  // namespace
