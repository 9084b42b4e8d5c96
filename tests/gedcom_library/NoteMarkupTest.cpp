// The mark-up that notes from a GEDCOM file keep: what the notes editors
// write passes as it stands; scripts, styles, frames, forms, event handlers
// and links or pictures that point at no web or mail address are shown as
// text or left out, read as a browser reads them.
#include <gtest/gtest.h>

#include "GEDNoteMarkup.h"
#include "GEDNoteText.h"
#include "QStringPrinting.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

struct Case {
    const char* note;
    const char* kept;  // nullptr: the note as it stands
    bool unsafe;
};

void expectCases(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
        bool unsafe = false;
        EXPECT_EQ(safeNoteMarkup(q(c->note), unsafe), q(c->kept ? c->kept : c->note)) << c->note;
        EXPECT_EQ(unsafe, c->unsafe) << c->note;
    }
}

TEST(NoteMarkup, WhatTheNotesEditorsWriteKeepsItsMeaning) {
    // Kept tags are written anew: names in lower case, values in double
    // quotes, void elements without "/".
    const Case cases[] = {
        {"<b>b</b> <i>i</i> <u>u</u> <s>s</s> H<sub>2</sub>O x<sup>2</sup>", nullptr, false},
        {"<h1>Title</h1><h2>Part</h2><p align='left'>para</p><P>upper</P>",
         "<h1>Title</h1><h2>Part</h2><p align=\"left\">para</p><p>upper</p>", false},
        {"line<br/>\r\nline<BR>line<br>", "line<br>\r\nline<br>line<br>", false},
        {"<br/><img src='pictures/anne.jpg' alt='Anne &amp; Tom' width='300'/>",
         "<br><img src=\"pictures/anne.jpg\" alt=\"Anne &amp; Tom\" width=\"300\">", false},
        {"<img src=\"http://example.org/a.png\" alt=\"Tom's\" width=\"120\"/>",
         "<img src=\"http://example.org/a.png\" alt=\"Tom&apos;s\" width=\"120\">", false},
        {"<a href='https://example.org/x?a=1&amp;b=2' target='_blank'>site</a>",
         "<a href=\"https://example.org/x?a=1&amp;b=2\" target=\"_blank\">site</a>", false},
        {"<a href='HTTP://example.org'>x</a> <a href='mailto:ann@example.org'>mail</a>",
         "<a href=\"HTTP://example.org\">x</a> <a href=\"mailto:ann@example.org\">mail</a>", false},
        {"<a href='$docs:hans.html'>letters</a> <a href='../x.html#top'>up</a> <a href=#top>top</a>",
         "<a href=\"$docs:hans.html\">letters</a> <a href=\"../x.html#top\">up</a> <a href=\"#top\">top</a>", false},
        {"<A href =\"http://members.example.co.uk/News.html\"> Extracts </a>",
         "<a href=\"http://members.example.co.uk/News.html\"> Extracts </a>", false},
        {"<span data-start='1850-03-05' data-event='Born &amp; raised' data-evtype='Birth'>5 March 1850</span>",
         "<span data-start=\"1850-03-05\" data-event=\"Born &amp; raised\" data-evtype=\"Birth\">5 March 1850</span>",
         false},
        {"<div data-start='{ABT 1850}' data-event='x' data-evtype='' data-gtag='RESI' data-gpayl=\"a &apos;b&apos;\""
         " data-gtype=\"Home\">Lived <b>here</b></div>",
         "<div data-start=\"{ABT 1850}\" data-event=\"x\" data-evtype=\"\" data-gtag=\"RESI\""
         " data-gpayl=\"a &apos;b&apos;\" data-gtype=\"Home\">Lived <b>here</b></div>",
         false},
        {"Fish &amp; chips &lt;b&gt; &QUOT;quoted&QUOT; &nbsp;", nullptr, false},
        // A browser takes "/onerror=..." as part of the unquoted source here.
        {"<img/src=x/onerror=alert(1)>", "<img src=\"x/onerror=alert(1)\">", false},
        {"plain text", nullptr, false},
        {"", nullptr, false},
    };
    expectCases(std::begin(cases), std::end(cases));
}

TEST(NoteMarkup, WhatCouldRunOrBreakOutIsShownAsTextOrLeftOut) {
    const Case cases[] = {
        {"</span><script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;", true},
        {"<img src=x onerror=alert(1)><br>", "<img src=\"x\"><br>", true},
        {"<IMG SRC=\"x\" ONERROR=\"alert(1)\"/>", "<img src=\"x\">", true},
        {"<img src=\"x\"/onerror=alert(1)>", "<img src=\"x\">", true},
        {"<b onmouseover=alert(1)>b</b>", "<b>b</b>", true},
        {"<a href='http://x'onclick='alert(1)'>x</a>", "<a href=\"http://x\">x</a>", true},
        {"<p align='left' style='position:fixed;top:0'>p</p>", "<p align=\"left\">p</p>", true},
        {"<a href=\"javascript:alert(1)\" target='_blank'>x</a>", "<a target=\"_blank\">x</a>", true},
        {"<a href=\" JaVa&#x53;cript&colon;alert(1)\">x</a>", "<a>x</a>", true},
        {"<a href=\"&#106;&#97vascript:alert(1)\">x</a>", "<a>x</a>", true},
        {"<a href=\"jav&#09;ascript:alert(1)\">x</a>", "<a>x</a>", true},
        {"<a href=\"jav&Tab;ascript:alert(1)\">x</a>", "<a>x</a>", true},
        {"<a href=\"java&unknown;script:alert(1)\">x</a>", "<a>x</a>", true},
        {"<a href=\"vbscript:x\">x</a><a href=\"file:///etc/passwd\">y</a>", "<a>x</a><a>y</a>", true},
        {"<img src=\"data:image/svg+xml;base64,PHN2Zz4=\" alt='d'>", "<img alt=\"d\">", true},
        // A place-key reference whose key the chart's tree lacks loses its
        // "$" there: what follows must not make a script's address.
        {"<a href=\"$javascript:alert(1)\">x</a><a href='$JavaScript:x'>y</a>", "<a>x</a><a>y</a>", true},
        {"<a href=\"$java&#x09;script:alert(1)\">x</a><img src='$data:image/png,x'>", "<a>x</a><img>", true},
        {"<a href='$docs:hans.html'>x</a><a href='$GED_DIR1:a.jpg'>y</a>",
         "<a href=\"$docs:hans.html\">x</a><a href=\"$GED_DIR1:a.jpg\">y</a>", false},
        {"<style>body{display:none}</style>", "&lt;style&gt;body{display:none}&lt;/style&gt;", true},
        {"<iframe src=\"http://example.org\"></iframe>",
         "&lt;iframe src=&quot;http://example.org&quot;&gt;&lt;/iframe&gt;", true},
        {"<object data=x></object><embed src=x>", "&lt;object data=x&gt;&lt;/object&gt;&lt;embed src=x&gt;", true},
        {"<form action=x><input name=a></form>", "&lt;form action=x&gt;&lt;input name=a&gt;&lt;/form&gt;", true},
        {"<svg onload=alert(1)>", "&lt;svg onload=alert(1)&gt;", true},
        {"<scr<script>ipt>alert(1)</script>", "&lt;scr&lt;script&gt;ipt>alert(1)&lt;/script&gt;", true},
        {"<em>kept as text</em>", "&lt;em&gt;kept as text&lt;/em&gt;", true},
        // An attribute value keeps its references and cannot end early.
        {"<img alt='say \"hi\" <b>' src=a.png>", "<img alt=\"say &quot;hi&quot; &lt;b&gt;\" src=\"a.png\">", false},
        {"<img alt=a&quot;b src>", "<img alt=\"a&quot;b\" src=\"\">", false},
        {"<span data-event=x=y\tdata-evtype='a\tb'>", "<span data-event=\"x=y\" data-evtype=\"a&#9;b\"></span>", false},
    };
    expectCases(std::begin(cases), std::end(cases));
}

TEST(NoteMarkup, TextAndTagsThatAreNoMarkUp) {
    const Case cases[] = {
        // A "<" that begins no tag, or a tag the note ends inside, is text.
        {"1 < 2 and <3 <b>x</b>", "1 &lt; 2 and &lt;3 <b>x</b>", false},
        {"<b>x</b><img src=x onerror=alert(1)", "<b>x</b>&lt;img src=x onerror=alert(1)", false},
        {"<b>x</b><img src='x' alt='", "<b>x</b>&lt;img src=&apos;x&apos; alt=&apos;", false},
        {"<a title='<b>x</b> y", "&lt;a title=&apos;&lt;b&gt;x&lt;/b&gt; y", false},
        {"a</", "a&lt;/", false},
        // Comments show nothing: they are left out, to the end when unclosed.
        {"a<!--<script>alert(1)</script>-->b<!-->c<!--->d<!---->e", "abcde", false},
        {"a<!-- unclosed <script>alert(1)</script>", "a", false},
        // A tag over several lines is written on one (a note's line breaks
        // become tags), a browser's first of two attributes of one name kept.
        {"<a href='http://x'\ntarget='_blank'>x</a>", "<a href=\"http://x\" target=\"_blank\">x</a>", false},
        {"<img alt='a\nb' src=x>", "<img alt=\"a&#10;b\" src=\"x\">", false},
        {"<a href='http://ok' HREF='javascript:x'>x</a\n>", "<a href=\"http://ok\">x</a>", false},
    };
    expectCases(std::begin(cases), std::end(cases));
}

// The note is read as a browser reads the chart's file: there a control
// character is U+FFFD, also inside a tag, so a form feed (white space to a
// browser that meets it) separates nothing.
TEST(NoteMarkup, ControlCharactersAreReadAsTheChartWritesThem) {
    const Case cases[] = {
        {"<div\fdata-start=\"x\">in div</div><h1>Shown on the page</h1>",
         "&lt;div\xEF\xBF\xBD" "data-start=&quot;x&quot;&gt;in div<h1>Shown on the page</h1>", true},
        {"<b\f>x</b>y", "&lt;b\xEF\xBF\xBD&gt;xy", true},
        {"<div>a</div\f><p>b", "<div>a&lt;/div\xEF\xBF\xBD&gt;<p>b</p></div>", true},
        {"<a href=\"http://x\">a</a\f>b", "<a href=\"http://x\">a&lt;/a\xEF\xBF\xBD&gt;b</a>", true},
        {"<a\thref=\"http://x\"\vtarget=\"_top\">a</a>", "<a href=\"http://x\">a</a>", true},
        {"<img src=\"a\x01" "b.png\" alt=\"x\x1fy\">", "<img src=\"a\xEF\xBF\xBD" "b.png\" alt=\"x\xEF\xBF\xBDy\">",
         false},
        {"a\x02" "b <b>c</b>", "a\xEF\xBF\xBD" "b <b>c</b>", false},
    };
    expectCases(std::begin(cases), std::end(cases));
    // A NUL (which the chart writes as U+FFFD too) inside a tag name.
    bool unsafe = false;
    EXPECT_EQ(safeNoteMarkup(QString::fromUtf16(u"<b\0>x</b>", 9), unsafe), QString::fromUtf16(u"&lt;b\uFFFD&gt;x"));
    EXPECT_TRUE(unsafe);
}

// Comments and what a browser takes for comments show nothing; every word
// outside them stays.
TEST(NoteMarkup, CommentsEndWhereABrowserEndsThem) {
    const Case cases[] = {
        {"<i>A</i> <!-- c --!> B <b>C</b>", "<i>A</i>  B <b>C</b>", false},
        {"a<!--b--!-->c", "ac", false},
        {"a<!-- b -- > c --> d", "a d", false},
        {"a<!--!>b-->c", "ac", false},
        {"a<!--->b-->c", "ab-->c", false},
        {"a<?php echo 1 ?>b<?>c", "abc", false},
        {"a<!DOCTYPE html>b<!x>c<!->d<![CDATA[e]]>f", "abcdf", false},
        {"a</ x>b</>c</3 d>e", "abce", false},
        {"a<?x", "a", false},
    };
    expectCases(std::begin(cases), std::end(cases));
}

// After the start tag of a script, style, text area and the like a browser
// reads text up to the element's own end tag; so does the note, and shows
// it as text.
TEST(NoteMarkup, TheTextOfScriptsAndTextAreasIsReadAsABrowserReadsIt) {
    const Case cases[] = {
        {"<textarea><!--</textarea> w1 --></textarea>",
         "&lt;textarea&gt;&lt;!--&lt;/textarea&gt; w1 -->&lt;/textarea&gt;", true},
        {"<TITLE>a &amp; <b title=\"</title>\">b</b>",
         "&lt;TITLE&gt;a &amp; &lt;b title=\"&lt;/title&gt;\">b", true},
        {"<style>p{}<!--</style >x-->", "&lt;style&gt;p{}&lt;!--&lt;/style &gt;x-->", true},
        {"<xmp><b>&amp;</b></xmp>", "&lt;xmp&gt;&lt;b&gt;&amp;amp;&lt;/b&gt;&lt;/xmp&gt;", true},
        {"<noscript><!--</noscript>w--></noscript>",
         "&lt;noscript&gt;&lt;!--&lt;/noscript&gt;w-->&lt;/noscript&gt;", true},
        {"<script>if (a<b) s = \"</scr\" + \"ipt>\";</script>w",
         "&lt;script&gt;if (a&lt;b) s = &quot;&lt;/scr&quot; + &quot;ipt&gt;&quot;;&lt;/script&gt;w", true},
        // Inside "<!--" a "<script" makes the next end tag only undo it.
        {"<script><!--<script></script>x</script>y",
         "&lt;script&gt;&lt;!--&lt;script&gt;&lt;/script&gt;x&lt;/script&gt;y", true},
        {"<script><!--</script>y", "&lt;script&gt;&lt;!--&lt;/script&gt;y", true},
        {"<script><!--<script>--></script>y</script>z",
         "&lt;script&gt;&lt;!--&lt;script&gt;--&gt;&lt;/script&gt;y&lt;/script&gt;z", true},
        // Names fold in ASCII letters only.
        {"<script>x</\xC5\xBF" "cript><b>y</b></script>",
         "&lt;script&gt;x&lt;/\xC5\xBF" "cript&gt;&lt;b&gt;y&lt;/b&gt;&lt;/script&gt;", true},
        {"<plaintext></plaintext><b>x", "&lt;plaintext&gt;&lt;/plaintext&gt;&lt;b&gt;x", true},
    };
    expectCases(std::begin(cases), std::end(cases));
}

// A chart sets each note inside an element of its page: nothing the note
// keeps may close it or stay open past the note's end, and what is kept
// reads to a browser as the note did.
TEST(NoteMarkup, MarkUpIsBalancedWithinTheNote) {
    const Case cases[] = {
        {"<b>Eve</b></div></div><h1>Shown on the chart page</h1><div>",
         "<b>Eve</b><h1>Shown on the chart page</h1><div></div>", false},
        // End tags that close nothing the note opened are left out.
        {"a</span>b</p>c</a>d</h1>e</sub>f", "abcdef", false},
        {"</DIV></Span><b>x</B></b></div >", "<b>x</b>", false},
        // Crossed elements: an end tag first closes what was opened inside.
        {"<b><i>x</b></i>", "<b><i>x</i></b>", false},
        {"<B><I>x</B>y</I>", "<b><i>x</i></b>y", false},
        {"<div>a<span>b</div>c</span>", "<div>a<span>b</span></div>c", false},
        {"<b>a<div>b</b>c</div>", "<b>a<div>b</div></b>c", false},
        // Past a block an inline end tag reaches nothing, as in a browser.
        {"<span>a<div>b</span>c</div>d</span>", "<span>a<div>bc</div>d</span>", false},
        // What the note leaves open is closed at its end, "<b/>" included.
        {"<div><p align='left'><a href='http://x'>link<span>s",
         "<div><p align=\"left\"><a href=\"http://x\">link<span>s</span></a></p></div>", false},
        {"H<SUB>2<sup>3", "H<sub>2<sup>3</sup></sub>", false},
        {"<b/>bold", "<b>bold</b>", false},
        // What a browser closes by itself is closed where it would be.
        {"<p>a<div>b</div>c</p>", "<p>a</p><div>b</div>c", false},
        {"<p>a<b>b<P>c</p>", "<p>a<b>b</b></p><p>c</p>", false},
        {"<h1>a<h2>b</h1>c", "<h1>a</h1><h2>b</h2>c", false},
        {"<h2><div><h1><h2>x</h2></h1></div></h2>t", "<h2><div><h1></h1><h2>x</h2></div></h2>t", false},
        {"<a href='#x'>a<a href='#y'>b</a>c</a>", "<a href=\"#x\">a</a><a href=\"#y\">b</a>c", false},
        // Void elements open nothing; "</br>" is a line break to a browser.
        {"<br><img src='a.png'></br></img><BR/><b>x</b>", "<br><img src=\"a.png\"><br><br><b>x</b>", false},
        {"<img src='a.png'/><div>x</div>", "<img src=\"a.png\"><div>x</div>", false},
        // A refused element shown as text opens nothing either.
        {"<em><b>x</em></b></div>", "&lt;em&gt;<b>x&lt;/em&gt;</b>", true},
    };
    expectCases(std::begin(cases), std::end(cases));
}

TEST(NoteMarkup, NotesTakenForHtmlKeepOnlyWhatANoteNeeds) {
    bool unsafe = false;
    EXPECT_EQ(sNoteTextToHTML(q("Fish &amp; chips<script>x()</script>"), &unsafe),
              q("Fish &amp; chips&lt;script&gt;x()&lt;/script&gt;"));
    EXPECT_TRUE(unsafe);
    // Plain text is escaped as before, and says nothing.
    unsafe = false;
    EXPECT_EQ(sNoteTextToHTML(q("<script>x()</script>"), &unsafe), q("&lt;script&gt;x()&lt;/script&gt;"));
    EXPECT_FALSE(unsafe);
    EXPECT_EQ(sNoteTextToHTML(q("<b>x</b><img src=x onerror=y()>")), q("<b>x</b><img src=\"x\">"));
}

}  // namespace
