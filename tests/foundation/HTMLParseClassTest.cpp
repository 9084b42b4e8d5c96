#include <gtest/gtest.h>

#include "AppError.h"
#include "HTMLParseClass.h"

namespace {

struct Parsed {
    bool ok = false;
    int entries = -1;
    QList<QString> div;
    QList<int> start, length;
    QList<StringDict> attributes;
};

Parsed parse(HTMLParseClass& parser, const QString& text) {
    Parsed p;
    p.ok = parser.bParseHTML(text, p.entries, p.div, p.start, p.length, p.attributes);
    return p;
}

QList<QString> names(const Parsed& p) { return p.div.mid(1, p.entries); }

}  // namespace

TEST(HTMLParseClass, ListsTagsWithPositionsAndAttributes) {
    HTMLParseClass parser;
    Parsed p = parse(parser, "<p class='x'>Hi</p>");
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.entries, 2);
    EXPECT_EQ(names(p), (QList<QString>{"p", "/p"}));
    EXPECT_EQ(p.start[1], 1);
    EXPECT_EQ(p.length[1], 13);
    EXPECT_EQ(p.attributes[1].value("class"), "x");
    EXPECT_EQ(p.start[2], 16);
    EXPECT_EQ(p.length[2], 4);
    EXPECT_EQ(parser.iFindEnd(1, p.div), 2);
    EXPECT_EQ(parser.iFindStart(2, p.div), 1);
    EXPECT_EQ(parser.iFindEnd(2, p.div), 0);    // an end tag
    EXPECT_EQ(parser.iFindStart(1, p.div), 0);  // a start tag

    p = parse(parser, "<span data-start=\"1850\" data-event='Birth &amp; baptism, \"x\" <b>\nnext'>");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.attributes[1].keys(), (QList<QString>{"data-start", "data-event"}));
    EXPECT_EQ(p.attributes[1].value("data-start"), "1850");
    EXPECT_EQ(p.attributes[1].value("data-event"), "Birth &amp; baptism, \"x\" <b>\nnext");

    p = parse(parser, "<A HREF='U'>x</A >");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(names(p), (QList<QString>{"a", "/a"}));
    EXPECT_EQ(p.attributes[1].value("href"), "U");
    EXPECT_EQ(p.length[2], 5);

    p = parse(parser, "no tags at all");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.entries, 0);

    p = parse(parser, "< >a<>b< br / ></ >x<3>");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(names(p), (QList<QString>{"br/", "/", "3"}));
    EXPECT_EQ(p.start[1], 8);
}

TEST(HTMLParseClass, VoidElementsAndPairing) {
    HTMLParseClass parser;
    Parsed p = parse(parser, "<br/><BR><img src='a.png'><div><div></div></div>");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(names(p), (QList<QString>{"br/", "br", "img", "div", "div", "/div", "/div"}));
    EXPECT_EQ(parser.iFindEnd(1, p.div), 1);
    EXPECT_EQ(parser.iFindEnd(2, p.div), 2);
    EXPECT_EQ(parser.iFindEnd(3, p.div), 3);
    EXPECT_EQ(parser.iFindEnd(4, p.div), 7);
    EXPECT_EQ(parser.iFindEnd(5, p.div), 6);
    EXPECT_EQ(parser.iFindStart(7, p.div), 4);
    EXPECT_EQ(parser.iFindStart(6, p.div), 5);

    p = parse(parser, "<span><span></span></span><p></p>");
    EXPECT_EQ(parser.iFindEndOf("span", "div", 1, p.div), 3);  // no nesting
    EXPECT_EQ(parser.iFindEndOf("a", "", 1, p.div), 0);
    EXPECT_EQ(parser.iFindEndOf("p", "", 6, p.div), 6);

    p = parse(parser, "<a href='x'>link</>");
    EXPECT_EQ(parser.iFindEndOf("a", "", 1, p.div), 2);  // a nameless end tag ends anything

    p = parse(parser, "<p><p></p>");
    EXPECT_EQ(parser.iFindEnd(1, p.div), 0);  // unbalanced: none
    EXPECT_EQ(parser.iFindEnd(99, p.div), 0);
    p = parse(parser, "<p></></p>");
    EXPECT_EQ(parser.iFindEnd(0, p.div), 0);  // index 0 is no entry
    EXPECT_EQ(parser.iFindStart(99, p.div), 0);
}

// Broken input never crashes: False, with the tags before the fault listed
// (and the faulty tag, with length 0, when its name was read).
TEST(HTMLParseClass, BrokenInputFailsClearly) {
    const struct {
        const char* text;
        QList<QString> listed;
        bool badTagListed = true;  // the last listed tag is the faulty one
    } cases[] = {
        {"<a href=x>", {"a"}},
        {"<input disabled>", {"input"}},
        {"<!-- c -->", {}},
        {"<!DOCTYPE html>", {}},
        {"<?xml?>", {}},
        {"<p><<b>", {"p"}, false},
        {"<p title='open>", {"p"}},
        {"<p a='1'\nb='2'>", {"p"}},
        {"<b></b/>", {"b", "/b"}},
        {"a < b", {"b"}},
        {"<p", {"p"}},
        {"<", {}},
        {"text <p class", {"p"}},
    };
    HTMLParseClass parser;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Parsed p = parse(parser, c.text);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(names(p), c.listed);
        if (c.badTagListed && !c.listed.isEmpty()) {
            EXPECT_EQ(p.length[p.entries], 0);
        }
    }
    Parsed p = parse(parser, "<i>x</i><a href=x>");
    EXPECT_EQ(p.length[1], 3);
    EXPECT_EQ(p.length[2], 4);

    try {
        parse(parser, "<p a='1' A='2'>");
        FAIL() << "no error for a repeated attribute";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 457);
    }
    // Long texts have no position limit.
    p = parse(parser, QString(40000, 'x') + "<b>");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.start[1], 40001);
}
