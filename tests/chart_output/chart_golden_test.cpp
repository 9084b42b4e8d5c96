// Chart bodies of small trees compared with the expected text kept beside the
// tests in tests/data/chart_drawing/<case>.svg. After a deliberate change of
// the drawing, run the tests once with KV_UPDATE_GOLDEN=1 to write the files
// again, and read the differences before committing them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ChartTestSupport.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGViewpointClass.h"

namespace {

QString goldenPath(const QString& name) {
    return QStringLiteral(KV_TEST_DATA_DIR "/chart_drawing/") + name + QStringLiteral(".svg");
}

// Compares the body with its expected file, or writes the file when asked to.
void expectGolden(const QString& name, const QString& body) {
    const QString path = goldenPath(name);
    if (qEnvironmentVariable("KV_UPDATE_GOLDEN") == u"1") {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path;
        file.write(body.toUtf8());
        return;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path << " is missing (KV_UPDATE_GOLDEN=1 writes it)";
    EXPECT_EQ(body, QString::fromUtf8(file.readAll())) << name;
}

// Three children below a couple; the middle one tentative with classes of its own.
void threeChildren(Chart& c) {
    c.tree.GetSettings().set("ClassFamilyLines", "fl-??");
    c.person("mum", "Mary", 2, 1);
    c.person("dad", "John", 3, 1, "m");
    c.person("c1", "Ann", 1, 2);
    auto c2 = c.person("c2", "Ben", 3, 2, "m");
    c.person("c3", "Cy", 4, 2, "m");
    c2->SetTentative(true);
    c2->GetLocSettings().set("ClassPersonLines", "ben");
    c.family("F1", "mum", "dad", {"c1", "c2", "c3"});
}

struct GoldenCase {
    const char* name;
    std::function<void(Chart&)> build;
};

const GoldenCase kCases[] = {
    {"box_caption_wrap",
     [](Chart& c) {
         applySettings(c.tree, {{"Tooltips", "True"}, {"ClassPerson", "person|p-??"}});
         auto ann = c.person("ann", "Annabel Fitzgerald-Smythe\\1890-1950", 1, 1);
         ann->SetTooltips({"Born in Bath", "Died 1950"});
         auto bob = c.person("bob", "One\\Two\\Three\\Four\\Five\\Six\\Seven", 2, 1, "m");
         bob->SetShortText("Bob\\Short");
     }},
    {"box_picture",
     [](Chart& c) {
         applySettings(c.tree, {{"ImagePart", "0.6"}, {"Tooltips", "True"}});
         c.enableClicks();
         c.tree.GetPlaceKeys().Define("pics", "https://example.org/pics/", c.folder.path() + "/");
         QFile local(c.folder.filePath("ann.jpg"));
         local.open(QIODevice::WriteOnly);
         auto ann = c.person("ann", "Ann Smith", 1, 1);
         ann->SetImage("$pics:ann.jpg");
         ann->SetShortText("Ann");
         ann->SetTooltips({"Ann at 20"});
         c.pictures = [](const QString&) { return QSize(300, 400); };
     }},
    {"box_stock_picture",
     [](Chart& c) {
         applySettings(c.tree, {{"ImagePart", "0.5"}, {"StockImageF", "stock/f.png"}});
         c.person("ann", "Ann Smith", 1, 1)->SetShortText("Ann");
         c.person("bob", "Bob Smith", 2, 1, "m");  // no stock picture for m: the caption
     }},
    {"box_buttons",
     [](Chart& c) {
         applySettings(c.tree, {{"ButtonTR", "True"}, {"ButtonBR", "True"}, {"IconBR", "i.png"}, {"TooltipTR", "Notes"}});
         c.enableClicks();
         c.person("ann", "Ann", 1, 1);
         auto bob = c.person("bob", "Bob", 2, 1, "m");
         bob->GetLocSettings().set("ButtonTR", "False");
         bob->GetLocSettings().set("ButtonBL", "True");
         bob->GetLocSettings().set("TooltipBL", "Mine");
     }},
    {"family_liaison_more",
     [](Chart& c) {
         c.enableClicks();
         c.person("ann", "Ann", 1, 1);
         c.person("bob", "Bob", 2, 1, "m");
         c.person("cat", "Cat", 4, 1);
         c.person("dan", "Dan", 5, 1, "m");
         c.person("eve", "Eve", 3, 2);
         auto f1 = c.family("F1", "ann", "bob");
         f1->SetLiaison(true);
         f1->SetMoreChildren(true);
         f1->SetTooltips({"Met in 1920"});
         c.family("F2", "cat", "dan", {"eve"})->SetMoreChildren(true);
     }},
    {"child_lines_plain", [](Chart& c) { threeChildren(c); }},
    {"child_lines_fanned",
     [](Chart& c) {
         threeChildren(c);
         applySettings(c.tree, {{"Fanned", "True"}});
     }},
    {"root_line",
     [](Chart& c) {
         applySettings(c.tree, {{"RootKey", "kid"}});
         c.person("gma", "Grandma", 1, 1);
         c.person("gpa", "Grandpa", 2, 1, "m");
         c.person("mum", "Mum", 1, 2);
         c.person("dad", "Dad", 2, 2, "m");
         c.person("aunt", "Aunt", 3, 2);
         c.person("kid", "Kid", 2, 3, "m")->SetTentative(true);
         c.family("F1", "gma", "gpa", {"mum", "aunt"});
         c.family("F2", "mum", "dad", {"kid"});
     }},
    {"vertical",
     [](Chart& c) {
         applySettings(c.tree, {{"Horiz", "False"}, {"RootKey", "c2"}});
         c.person("mum", "Mary", 1, 1);
         c.person("dad", "John", 1, 2, "m");
         c.person("c1", "Ann", 2, 1);
         c.person("c2", "Ben", 2, 3, "m");
         c.family("F1", "mum", "dad", {"c1", "c2"});
     }},
    {"viewpoint_partial_family",
     [](Chart& c) {
         threeChildren(c);
         auto view = c.tree.AddViewpoint("v1", "Mary's line", 4, 2);
         for (const char* key : {"mum", "dad", "c3"}) {
             int col = 0, row = 0;
             c.tree.GetPerColRow(key, col, row);
             view->AddPerRef(key, col, row, true);
         }
         view->AddFamRef(*c.tree.GetFamilies().value("F1"));
         c.tree.SetViewpointKey("v1");
     }},
    {"escaping",
     [](Chart& c) {
         applySettings(c.tree, {{"Tooltips", "True"},
                                {"ImagePart", "0.5"},
                                {"ClassPerson", "a\"b|<c>"},
                                {"ButtonTR", "True"},
                                {"TooltipTR", "Say \"hi\" & <wave>"}});
         auto ann = c.person("ann", QStringLiteral("O'Brien & \"Sons\"\\<b>x</b> ]]> </script>\\Zo\u00eb \u0001"), 1, 1);
         ann->SetTooltips({QStringLiteral("Tip: a < b & c > d \"q\" 'a' ]]> </script> \u00e9\u0002"), "a &amp; b"});
         auto bob = c.person("bob", "Bob", 2, 1, "m");
         bob->SetImage("pics/bob.jpg?a=1&b=\"2\"<x>");
         bob->SetShortText(QStringLiteral("B & \u00e9"));
         c.family("F1", "ann", "bob")->SetTooltips({"Wed <1920> & \"happy\""});
         c.tree.GetSettings().set("ClassFamily", "fam'ly");
     }},
};

class ChartGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ChartGolden, BodyMatchesItsExpectedTextAndIsWellFormed) {
    Chart chart;
    GetParam().build(chart);
    const QString body = chart.draw();
    EXPECT_EQ(xmlError(body), "") << body;
    for (const QChar ch : body) ASSERT_TRUE(ch == u'\n' || ch == u'\t' || (ch >= u' ' && ch.unicode() < 128)) << body;
    expectGolden(GetParam().name, body);
    EXPECT_TRUE(chart.reporter.warnings().isEmpty()) << chart.reporter.warnings().join(u'\n');
}

INSTANTIATE_TEST_SUITE_P(SmallTrees, ChartGolden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
