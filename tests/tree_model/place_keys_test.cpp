#include <gtest/gtest.h>

#include "PlaceKeyClass.h"
#include "SVGTree.h"
#include "TreeFixture.h"

namespace {
PlaceKeyClass samplePlaces() {
    PlaceKeyClass p;
    p.Define("img", "web/pics/", "C:\\Pics\\");
    p.Define("q", "\"http://x.org/a b/\"", "\"/home/u/a b/\"");
    p.Define("chain", "$img:sub/", "$img:sub\\");
    p.Define("bare", "only/", "");
    p.GetDict().set("nobar", "http://n/");
    return p;
}
}  // namespace

TEST(PlaceKeys, ExpandingOneReference) {
    const PlaceKeyClass p = samplePlaces();
    struct Case {
        QString name;
        bool local;
        bool bsok;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"$img:a\\b.jpg", false, false, "web/pics/a\\\\b.jpg"},
        {"$img:a\\b.jpg", true, false, "C:\\Pics\\a\\b.jpg"},
        {"$img:x.jpg?v=2", true, false, "C:\\Pics\\x.jpg"},
        {"$img:x.jpg?v=2", false, true, "web/pics/x.jpg"},
        {"$img:x.jpg?v=2", false, false, "web/pics/x.jpg?v=2"},
        {"$nokey:x.jpg", false, false, ""},
        {"$img", false, false, ""},
        {"plain.jpg", false, false, "plain.jpg"},
        {"dir\\plain.jpg", false, false, "dir\\\\plain.jpg"},
        {"$q:p.png", false, false, "http://x.org/a b/p.png"},
        {"$q:p.png", true, false, "/home/u/a b/p.png"},
        {"$chain:c.png", false, false, "web/pics/sub/c.png"},
        {"$chain:c.png", true, false, "C:\\Pics\\sub\\c.png"},
        {"$bare:c.png", true, false, "c.png"},
        {"$nobar:c.png", false, false, "http://n/c.png"},
        {"$nobar:c.png", true, false, "c.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(p.ExpandURLName(c.name, c.local, c.bsok), c.expected) << c.name << " local " << c.local;
}

TEST(PlaceKeys, LongChainsStopAfterFivePassesAndCyclesAreRefused) {
    PlaceKeyClass p;
    for (int i = 1; i <= 6; ++i) p.Define("k" + QString::number(i), "$k" + QString::number(i + 1) + ":", "");
    p.Define("k7", "end/", "");
    EXPECT_EQ(p.ExpandURLName("$k3:x", false, true), "end/x");
    EXPECT_EQ(p.ExpandURLName("$k1:x", false, true), "$k6:x");
    // A long chain in HTML is expanded to its end.
    EXPECT_EQ(p.ExpandAllHTMLURLs("<img src=\"$k1:x\">", false), "<img src=\"end/x\">");

    p.Define("self", "$self:", "");
    p.Define("a", "", "$b:");
    p.Define("b", "x/", "$c:");
    p.Define("c", "y/", "$a:");
    for (const auto& [name, local] : std::vector<std::pair<QString, bool>>{{"$self:p", false}, {"$c:p", true}}) {
        const AppError e = errorOf([&] { p.ExpandURLName(name, local); });
        EXPECT_EQ(e.number, kErrorBase + 515);
        EXPECT_TRUE(e.description.contains("refers back to itself")) << e.description;
        EXPECT_TRUE(e.description.endsWith(name)) << e.description;
    }
    EXPECT_EQ(p.ExpandURLName("$c:p", false), "y/p");
    EXPECT_THROW(p.ExpandAllHTMLURLs("<a href='$self:z'>", false), AppError);
}

TEST(PlaceKeys, ExpandingHTMLAndProgramData) {
    const PlaceKeyClass p = samplePlaces();
    EXPECT_EQ(p.ExpandAllHTMLURLs("<img src='$img:a.png'> <a href=\"$img:b.htm\">x</a>", false),
              "<img src='web/pics/a.png'> <a href=\"web/pics/b.htm\">x</a>");
    EXPECT_EQ(p.ExpandAllHTMLURLs("<img src=\"$nokey:a.png\">", true), "<img src=\"nokey:a.png\">");
    EXPECT_EQ(p.ExpandAllHTMLURLs("<img src=\"$img:a.png>", true), "<img src=\"$img:a.png>");
    EXPECT_EQ(p.ExpandAllHTMLURLs("<img src=\"$img:a\\b.png\">", true), "<img src=\"C:\\Pics\\a\\b.png\">");
    // A place that holds quotes or angle brackets (a picture folder read
    // from a shared GEDCOM file) stays inside its attribute value.
    PlaceKeyClass hostile;
    hostile.Define("GEDDIR1", "http://x.org/\"><img src=x onerror=y()>'/", "");
    EXPECT_EQ(hostile.ExpandAllHTMLURLs("<a href=\"$GEDDIR1:b.jpg\">x</a> <img src='$GEDDIR1:'> t=\"$GEDDIR1:c\"", false),
              "<a href=\"http://x.org/&quot;&gt;&lt;img src=x onerror=y()&gt;&apos;/b.jpg\">x</a> "
              "<img src='http://x.org/&quot;&gt;&lt;img src=x onerror=y()&gt;&apos;/'> "
              "t=\"http://x.org/&quot;&gt;&lt;img src=x onerror=y()&gt;&apos;/c\"");

    EXPECT_EQ(p.ExpandAllDataURLs("App |  $img:a.png | $nokey:b | 3", false), "App | web/pics/a.png | $nokey:b | 3");
    EXPECT_EQ(p.ExpandAllDataURLs("App |  $nokey:b |  3", false), "App |  $nokey:b |  3");
    EXPECT_EQ(p.ExpandAllDataURLs("App|$img:a.png", true), "App | C:\\Pics\\a.png");
}

TEST(PlaceKeys, TableKeySetsAndClipboardText) {
    PlaceKeyClass p;
    p.Define("a", " web/ ", " C:\\a\\ ");
    p.Define("b", "u", "l");
    p.Define("a", "web/", "C:\\a\\");
    EXPECT_EQ(p.GetDict().keys(), QStringList({"a", "b"}));
    QString url, local;
    p.GetPlaces("a", url, local);
    EXPECT_EQ(url, "web/");
    EXPECT_EQ(local, "C:\\a\\");
    p.GetDict().set("c", " only ");
    p.GetPlaces("c", url, local);
    EXPECT_EQ(url, "only");
    EXPECT_EQ(local, "");
    p.GetPlaces("zz", url, local);
    EXPECT_EQ(url + local, "");

    QString set = "b";
    for (const char* ref : {"$a:x.png", "$b:y", "$1x:z", "a:x", "$c", "$a:again"}) p.UpdateKeySet2(ref, set);
    EXPECT_EQ(set, "b,a");

    EXPECT_EQ(p.PackPlaces("a,,b,zz,1x"), "SVG-U\n\fa\nweb/\nC:\\a\\\fb\nu\nl");
    EXPECT_EQ(p.PackPlaces(""), "SVG-U\n");

    PlaceKeyClass q;
    q.Define("b", "mine", "keep");
    q.UnpackPlaces(p.PackPlaces("a,b"));
    EXPECT_EQ(q.GetDict().keys(), QStringList({"b", "a"}));
    EXPECT_EQ(q.GetDict().value("a"), "web/|C:\\a\\");
    EXPECT_EQ(q.GetDict().value("b"), "mine|keep");
    q.UnpackPlaces("SVG-P\n\fz\nu\nl");
    q.UnpackPlaces("SVG-U");
    EXPECT_FALSE(q.Exists("z"));
    q.UnpackPlaces("SVG-U\n\f1bad\nu\nl\fnew\nu\nl");
    EXPECT_TRUE(q.Exists("new"));
    EXPECT_FALSE(q.Exists("1bad"));
    EXPECT_THROW(q.UnpackPlaces("SVG-U\n\fok\nu\nl\fshort\nu"), AppError);
    EXPECT_TRUE(q.Exists("ok"));
    EXPECT_FALSE(q.Exists("short"));
    q.RemoveAll();
    EXPECT_TRUE(q.GetDict().isEmpty());
}
