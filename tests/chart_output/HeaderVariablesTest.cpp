// Header variables: the size variables of each kind of chart, the other
// variables, substitution and the corner clip paths.
#include <gtest/gtest.h>

#include "ChartRunSupport.h"
#include "HeaderVariables.h"
#include "foundation/TextHelpers.h"

namespace {

// A tree of one box whose far edges are R = 2*MW + W and B = 2*MH + H.
std::unique_ptr<SVGTree> oneBoxTree(const QList<std::pair<QString, QString>>& values) {
    auto tree = std::make_unique<SVGTree>();
    tree->NewPerson(QStringLiteral("p"), QStringLiteral("P"), QString(), 1, 1, QStringLiteral("m"), false, QString(),
                    true);
    applySettings(*tree, values);
    return tree;
}

struct SizeCase {
    const char* name;
    QList<std::pair<QString, QString>> settings;
    // width, height, viewbox, width-div, height-div, width-max, height-max; a
    // null text means the variable is not defined.
    QStringList expected;
};

const QString kUndefined;

}  // namespace

TEST(HeaderVariablesTest, SizeVariablesOfEachKindOfChart) {
    // Edges 1200 by 600 (wide), 600 by 1200 (tall), 600 by 600 (square).
    const QList<std::pair<QString, QString>> wide = {{"W", "1100"}, {"H", "500"}, {"MW", "50"}, {"MH", "50"}};
    const QList<std::pair<QString, QString>> tall = {{"W", "500"}, {"H", "1100"}, {"MW", "50"}, {"MH", "50"}};
    const QList<std::pair<QString, QString>> square = {{"W", "500"}, {"H", "500"}, {"MW", "50"}, {"MH", "50"}};
    auto with = [](QList<std::pair<QString, QString>> base, const QList<std::pair<QString, QString>>& more) {
        base.append(more);
        return base;
    };
    const QString box1200 = QStringLiteral("viewBox=\"0 0 1200.00 600.00\"");
    const QList<SizeCase> cases = {
        {"svg scaled", with(wide, {{"SVGFile", "True"}, {"Scaled", "True"}}),
         {"100vw", "100vh", box1200, kUndefined, kUndefined, "1200.00px", "600.00px"}},
        {"svg", with(wide, {{"SVGFile", "True"}}),
         {"1200.00px", "600.00px", "", kUndefined, kUndefined, "1200.00px", "600.00px"}},
        {"html pan-zoom blog", with(wide, {{"PanZoom", "True"}, {"Blog", "True"}, {"Scaled", "True"}}),
         {"100%", "100%", "", "1200.00px", "600.00px", "100%", "50vh"}},
        {"html pan-zoom scaled wide", with(wide, {{"PanZoom", "True"}, {"Scaled", "True"}}),
         {"100%", "100%", "", "1200.00px", "600.00px", "calc(100% - 2px)", "calc(50.00vh - 23px)"}},
        {"html pan-zoom scaled tall", with(tall, {{"PanZoom", "True"}, {"Scaled", "True"}}),
         {"100%", "100%", "", "600.00px", "1200.00px", "calc(50.00% - 2px)", "calc(100vh - 23px)"}},
        {"html pan-zoom", with(wide, {{"PanZoom", "True"}}),
         {"100%", "100%", "", "1200.00px", "600.00px", "calc(100% - 2px)", "calc(100vh - 23px)"}},
        {"html scaled blog", with(wide, {{"Scaled", "True"}, {"Blog", "True"}}),
         {"100%", "100%", box1200, "1200.00px", "600.00px", "100%", "50vh"}},
        {"html scaled wide", with(wide, {{"Scaled", "True"}}),
         {"100%", "100%", box1200, "1200.00px", "600.00px", "calc(100% - 2px)", "calc(50.00vw - 23px)"}},
        {"html scaled tall", with(tall, {{"Scaled", "True"}}),
         {"100%", "100%", "viewBox=\"0 0 600.00 1200.00\"", "600.00px", "1200.00px", "calc(50.00% - 2px)",
          "calc(100vh - 23px)"}},
        {"html scaled square counts as tall", with(square, {{"Scaled", "True"}}),
         {"100%", "100%", "viewBox=\"0 0 600.00 600.00\"", "600.00px", "600.00px", "calc(100.00% - 2px)",
          "calc(100vh - 23px)"}},
        {"html", with(wide, {}),
         {"1200.00px", "600.00px", "", "1200.00px", "600.00px", "calc(100% - 2px)", "calc(100vh - 23px)"}},
    };
    const QStringList names = {"width", "height", "viewbox", "width-div", "height-div", "width-max", "height-max"};
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto tree = oneBoxTree(c.settings);
        const StringDict vars = HeaderVariables::BuildHeaderVars(*tree);
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            if (c.expected[i].isNull())
                EXPECT_FALSE(vars.contains(names[i]));
            else
                EXPECT_EQ(vars.value(names[i]), c.expected[i]);
        }
    }
}

TEST(HeaderVariablesTest, OtherVariablesFollowTheDisplayAndTheViewpoint) {
    auto tree = oneBoxTree({{"Title", "Smith"}, {"Inst", "Q"}, {"H", "80"}, {"BW", "20"}, {"BH", "10"},
                            {"Small", "True"}, {"Blog", "True"}, {"SVGFile", "True"}, {"Opaque", "True"},
                            {"IconTR", "$pics:tr.png"}, {"RootKey", "p"}});
    tree->GetPlaceKeys().Define(QStringLiteral("pics"), QStringLiteral("http://example.org/i\\"), QStringLiteral("/x/"));
    StringDict vars = HeaderVariables::BuildHeaderVars(*tree);
    const QList<std::pair<const char*, QString>> expected = {
        {"font", "10px"},         {"if-blog", ""},           {"ifn-blog", "//**//"},  {"if-svg", ""},
        {"ifn-svg", "//**//"},    {"if-scaled", "//**//"},   {"ifn-scaled", ""},      {"title", "Smith"},
        {"inst", "Q"},            {"line-wid", "1.50"},      {"line-wid-root", "4.00"}, {"line-wid-sh", "1.50"},
        {"version", sGetVersion()}, {"r1", "8.00"},          {"r2", "6.00"},          {"r3", "4.00"},
        {"w", "80.00"},           {"h", "80.00"},            {"bw", "20.00"},         {"bh", "10.00"},
        {"rx", "10.00"},          {"ry", "5.00"},            {"image-tr", "http://example.org/i\\\\tr.png"},
        {"image-bl", ""},         {"box-opacity", "1.0"},    {"box-col-f", "rgb(249,211,218)"},
        {"box-col-x", "rgb(223,223,223)"}, {"box-col-border", "dimgray"}, {"circle-col-c", "green"},
        {"circle-col-cl2", "white"}, {"root-key", "p"},       {"viewpoint", ""},       {"viewpoint-set", ""},
        {"description", "SVG Family Tree Smith"},
        {"clip-tr", "M0,0 L0,10.00 L20.00,10.00 L20.00,5.00 A10.00,5.00 0 0,0 10.00,0 L0,0 Z"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(vars.value(QLatin1String(name)), value) << name;

    // Square buttons have no radius; a viewpoint gives its key, the set of
    // all viewpoints and its name as the description.
    applySettings(*tree, {{"Rounded", "False"}});
    tree->AddViewpoint(QStringLiteral("v1"), QStringLiteral("First view"), 3, 3);
    tree->AddViewpoint(QStringLiteral("v2"), QStringLiteral("Second view"), 3, 3);
    tree->SetViewpointKey(QStringLiteral("v2"));
    vars = HeaderVariables::BuildHeaderVars(*tree);
    EXPECT_EQ(vars.value("rx"), "0.00");
    EXPECT_EQ(vars.value("ry"), "0.00");
    EXPECT_EQ(vars.value("viewpoint"), "v2");
    EXPECT_EQ(vars.value("viewpoint-set"), "v1,v2");
    EXPECT_EQ(vars.value("description"), "Second view");

    // Titles and viewpoint names are escaped for the attributes and texts
    // they go into.
    tree->RenameViewpoint(QStringLiteral("v2"), QStringLiteral("v2"), QStringLiteral("Bob's <view>"));
    applySettings(*tree, {{"Title", "Smith & Sons"}, {"IconBL", "$pics:icon?a=1&b=2"}});
    vars = HeaderVariables::BuildHeaderVars(*tree);
    EXPECT_EQ(vars.value("title"), "Smith &amp; Sons");
    EXPECT_EQ(vars.value("image-bl"), "http://example.org/i\\\\icon?a=1&amp;b=2");
    EXPECT_EQ(vars.value("description"), "Bob&apos;s &lt;view&gt;");

    // With viewpoints switched off the current one is not named.
    applySettings(*tree, {{"Viewpoints", "False"}});
    vars = HeaderVariables::BuildHeaderVars(*tree);
    EXPECT_EQ(vars.value("viewpoint"), "");
    EXPECT_EQ(vars.value("description"), "SVG Family Tree Smith &amp; Sons");
}

TEST(HeaderVariablesTest, SubstitutionReplacesKnownNamesOnly) {
    StringDict vars;
    vars.set(QStringLiteral("inst"), QStringLiteral("A"));
    vars.set(QStringLiteral("title"), QStringLiteral("??inst??"));
    vars.set(QStringLiteral("if-blog"), QStringLiteral("//**//"));
    const QList<std::pair<QString, QString>> cases = {
        {"no markers at all", "no markers at all"},
        {"??nothing?? then ??inst??", "??nothing?? then A"},
        {"x??inst??y??inst??", "xAyA"},
        {"values are not scanned again: ??title??", "values are not scanned again: ??inst??"},
        {"?? inst ?? keeps its blanks", "?? inst ?? keeps its blanks"},
        {"??if-blog??    body {}", "//**//    body {}"},
        {"an unpaired marker: ??inst", "an unpaired marker: A"},
        {"??INST?? is case-sensitive", "??INST?? is case-sensitive"},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(HeaderVariables::sSubstituteVars(line, vars), expected);
}

TEST(HeaderVariablesTest, CornerClipPaths) {
    SVGDisplay display;
    StringDict s;
    s.set(QStringLiteral("BW"), QStringLiteral("20"));
    s.set(QStringLiteral("BH"), QStringLiteral("10"));
    display.Init(s);
    const QList<std::pair<QString, QString>> rounded = {
        {"TR", "M0,0 L0,10.00 L20.00,10.00 L20.00,5.00 A10.00,5.00 0 0,0 10.00,0 L0,0 Z"},
        {"TL", "M10.00,0 A10.00,5.00 0 0,0 0,5.00 L0,10.00 L20.00,10.00 L20.00,0 L0,0 Z"},
        {"BR", "M0,0 L0,10.00 L10.00,10.00 A10.00,5.00 0 0,0 20.00,5.00 L20.00,0 L0,0 Z"},
        {"BL", "M0,0 L0,5.00 A10.00,5.00 0 0,0 10.00,10.00 L20.00,10.00 L20.00,0 L0,0 Z"},
        {"tr", ""},
    };
    for (const auto& [corner, path] : rounded) EXPECT_EQ(HeaderVariables::sCornerClipPath(display, corner), path);

    s.set(QStringLiteral("Rounded"), QStringLiteral("False"));
    display.Init(s);
    for (const char* corner : {"TR", "TL", "BR", "BL"})
        EXPECT_EQ(HeaderVariables::sCornerClipPath(display, QLatin1String(corner)),
                  "M0,0 L0,10.00 L20.00,10.00 L20.00,0 L0,0 Z");
}
