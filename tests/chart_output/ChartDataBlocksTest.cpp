// The data blocks of a chart: notes, program data, data signatures and
// navigation data, in SVG and HTML charts.
#include <gtest/gtest.h>

#include "ChartDataBlocks.h"
#include "ChartRunSupport.h"
#include "NavigationData.h"

namespace {

class DataBlocksTest : public ChartFixture {
protected:
    QString notes() {
        return drawToText([&](ChartOutputWriter& out) { ChartDataBlocks(*tree, apps, out).GenerateNotes(); });
    }
    QString progData() {
        return drawToText([&](ChartOutputWriter& out) { ChartDataBlocks(*tree, apps, out).GenerateProgData(); });
    }
    QString signatures() {
        return drawToText(
            [&](ChartOutputWriter& out) { ChartDataBlocks(*tree, apps, out).GenerateDataSignatures(); });
    }
    QString navData() {
        return drawToText([&](ChartOutputWriter& out) { NavigationData(*tree, out).GenerateNavData(); });
    }
};

}  // namespace

TEST_F(DataBlocksTest, NotesInHtmlAndSvgCharts) {
    settings({{"ClassPersonNotes", "n?|k??"}});
    EXPECT_EQ(notes(),
              "<div>\n"
              "<div class=\"tp-male nA kdad\" id=\"PA_dad\" style=\"display:none;\">\n"
              "<p>See <a href=\"http://example.org/dad.html\">his page</a>.</p>\n"
              "</div>\n"
              "<div class=\"tp-family\" id=\"FA_fam1\" style=\"display:none;\">\n"
              "<p>Married.</p>\n"
              "</div>\n"
              "</div>\n");

    settings({{"SVGFile", "True"}, {"ClassFamilyNotes", "odd\"&<"}});
    tree->GetPersons().value("other")->AddNotes("<p>x ]]> y</p>");
    const QString svg = notes();
    EXPECT_EQ(linesWith(svg, "id=\"PA_other\""),
              QStringList({"<div class=\"tp-other nA kother\" id=\"PA_other\" xmlns=\"http://www.w3.org/1999/xhtml\"><![CDATA["}));
    EXPECT_TRUE(svg.startsWith("<foreignObject>\n<div class=\"tp-male nA kdad\" id=\"PA_dad\""));
    EXPECT_EQ(xmlError(svg), "") << "a \"]]>\" in notes does not end the section early";
    EXPECT_TRUE(svg.contains("<p>x ]]]]><![CDATA[> y</p>"));
    EXPECT_TRUE(svg.contains("<div class=\"tp-family odd&quot;&amp;&lt;\" id=\"FA_fam1\""));
}

TEST_F(DataBlocksTest, NoNotesInViewLeavesOnlyTheHtmlContainer) {
    for (const auto& kv : tree->GetPersons()) kv.second->SetNotes({});
    for (const auto& kv : tree->GetFamilies()) kv.second->SetNotes({});
    EXPECT_EQ(notes(), "<div>\n</div>\n");
    settings({{"SVGFile", "True"}});
    EXPECT_EQ(notes(), "");
}

TEST_F(DataBlocksTest, ProgramDataExpandsPlaceKeysOnlyForKindsThatDeclareThem) {
    EXPECT_EQ(progData(),
              "<div id=\"PA.kid\" style=\"display:none;\">\n"
              "Link | http://example.org/kid.html | Kid's page\n"
              "Plain | $web:kept\n"
              "</div>\n"
              "<div id=\"FA.fam1\" style=\"display:none;\">\n"
              "Plain | 1\n"
              "</div>\n");
    settings({{"SVGFile", "True"}});
    const QString svg = progData();
    EXPECT_TRUE(svg.startsWith("<foreignObject>\n<div id=\"PA.kid\" xmlns=\"http://www.w3.org/1999/xhtml\"><![CDATA[\n"));
    EXPECT_EQ(xmlError(svg), "");
}

TEST_F(DataBlocksTest, ProgramDataRowsAreTextNotMarkUp) {
    // A row is read back by the chart's scripts as the text it holds: an HTML
    // page escapes it, an SVG chart keeps it whole in its CDATA section.
    tree->GetFamilies().value("fam1")->SetProgData({"Plain | <b>bold</b> & <script>x()</script>"});
    EXPECT_EQ(linesWith(progData(), "bold"),
              QStringList({"Plain | &lt;b&gt;bold&lt;/b&gt; &amp; &lt;script&gt;x()&lt;/script&gt;"}));
    settings({{"SVGFile", "True"}});
    EXPECT_TRUE(progData().contains("Plain | <b>bold</b> & <script>x()</script>"));
}

TEST_F(DataBlocksTest, DataSignaturesListEveryKindWithItsTags) {
    // Hidden kinds are listed too; an alias takes the signature of its kind.
    EXPECT_EQ(signatures(),
              "<script>\n"
              "if (typeof pd_dataSignatures !== 'undefined') { pd_dataSignatures[\"A\"] = {Link:'file|label', "
              "Plain:'a', Secret:'s', LinkToo:'file|label' }; }\n"
              "</script>\n");
    settings({{"SVGFile", "True"}});
    const QString svg = signatures();
    EXPECT_TRUE(svg.startsWith("<script>\n<![CDATA[\n"));
    EXPECT_TRUE(svg.endsWith("}; }\n]]>\n</script>\n"));

    SVGApplications none;
    const QString empty =
        drawToText([&](ChartOutputWriter& out) { ChartDataBlocks(*tree, none, out).GenerateDataSignatures(); });
    EXPECT_EQ(empty, "") << "no kind defined, no script";
}

TEST_F(DataBlocksTest, NavigationDataOfTheWholeTree) {
    // A family whose first parent is not a man lists its second parent first.
    tree->NewFamily("fam2", "mum", "lone");
    tree->GetPersons().value("kid")->SetPersonalNames(QString::fromUtf8("Kid 'K' \\ <b> \u00C5sa \U0001F333"));
    EXPECT_EQ(navData(),
              "<script>\n"
              "var ndA_colours = ['pink','lightblue','lightgray','lightgray','dimgray','green','white','gray','white','240'];\n"
              "var ndA_dims = [0.60,80.00,80.00,50.00,50.00,12.00,12.00,1.50,1.50,4.00];\n"
              "var ndA_persons = {'dad':0, 'mum':1, 'kid':2, 'other':3, 'lone':4};\n"
              "var ndA_families = {'fam1':0, 'fam2':1};\n"
              "var ndA_sex = [1, 0, 0, 3, 2];\n"
              "var ndA_parentFam = [-1, -1, 0, 0, -1];\n"
              "var ndA_spouseFam = [[0], [0,1], [], [], [1]];\n"
              "var ndA_famParents = [[0,1], [4,1]];\n"
              "var ndA_famChildren = [[2,3], []];\n"
              "var ndA_personalNames = ['Dad /Smith/', '', 'Kid \\'K\\' \\\\ \\x3Cb\\x3E \\u00C5sa \\uD83C\\uDF33', '', ''];\n"
              "if (typeof nd_index !== 'undefined') { nd_index[\"A\"] = {title:'Small', persons:ndA_persons, "
              "families:ndA_families, sex:ndA_sex, \n"
              "personalNames:ndA_personalNames, parentFam:ndA_parentFam, spouseFam:ndA_spouseFam, "
              "famParents:ndA_famParents, famChildren:ndA_famChildren, \n"
              "colours:ndA_colours, dims:ndA_dims }; }\n"
              "</script>\n");
}

TEST_F(DataBlocksTest, NavigationDataOfAViewpointAndOfAnEmptyView) {
    settings({{"SVGFile", "True"}, {"Opaque", "True"}});
    // A view of kid and her mother only: the family and the father lie outside.
    auto view = tree->AddViewpoint("v", "View", 3, 3);
    view->AddPerRefFromFile("mum", 1, 1);
    view->AddPerRefFromFile("kid", 2, 1);
    tree->SetViewpointKey("v");
    const QString text = navData();
    EXPECT_TRUE(text.startsWith("<script>\n<![CDATA[\n"));
    EXPECT_TRUE(text.contains("var ndA_colours = ['rgb(249,211,218)','rgb(200,226,234)','rgb(223,223,223)',"
                              "'rgb(223,223,223)','dimgray','green','white','gray','white','255'];"));
    EXPECT_TRUE(text.contains("var ndA_dims = [1.00,"));
    EXPECT_TRUE(text.contains("var ndA_persons = {'mum':0, 'kid':1};\nvar ndA_families = {};\n"));
    EXPECT_TRUE(text.contains("var ndA_parentFam = [-1, -1];\nvar ndA_spouseFam = [[], []];\n"
                              "var ndA_famParents = [];\nvar ndA_famChildren = [];\n"));
    EXPECT_TRUE(text.endsWith("]]>\n</script>\n"));

    auto empty = tree->AddViewpoint("e", "Empty", 3, 3);
    tree->SetViewpointKey("e");
    const QString none = navData();
    for (const char* line : {"var ndA_persons = {};", "var ndA_families = {};", "var ndA_sex = [];",
                             "var ndA_parentFam = [];", "var ndA_spouseFam = [];", "var ndA_famParents = [];",
                             "var ndA_famChildren = [];", "var ndA_personalNames = [];"})
        EXPECT_EQ(linesWith(none, line), QStringList({line}));
    EXPECT_TRUE(none.contains("nd_index[\"A\"] = {title:'Small',"));
}

TEST_F(DataBlocksTest, LongNavigationDataIsPackedIntoLinesOfAboutOneHundredFifty) {
    for (int i = 0; i < 60; ++i)
        tree->NewPerson(QStringLiteral("person%1").arg(i), "P", "", 4 + i, 1, "m", false, "", true);
    const QString text = navData();
    for (const QString& line : text.split(u'\n')) EXPECT_LE(line.size(), 150) << line;
    EXPECT_TRUE(text.contains(", 'person59':64};\n"));
}

TEST(NavigationDataTest, APairOfParentsIsNeverSplitAcrossLines) {
    // Couples of persons at positions pad + 2i and pad + 2i + 1: as pad grows
    // the pairs take different widths, so the lines break at every offset.
    for (int pad = 0; pad < 10; ++pad) {
        SVGTree tree;
        for (int i = 0; i < pad + 40; ++i)
            tree.NewPerson(QStringLiteral("q%1").arg(i), "Q", "", 1 + i, 1, i % 2 ? "f" : "m", false, "", true);
        for (int i = 0; i < 20; ++i)
            tree.NewFamily(QStringLiteral("f%1").arg(i), QStringLiteral("q%1").arg(pad + 2 * i),
                           QStringLiteral("q%1").arg(pad + 2 * i + 1));
        const QString text = drawToText([&](ChartOutputWriter& out) { NavigationData(tree, out).GenerateNavData(); });
        const QString pairs =
            text.section(QStringLiteral("var nd_famParents"), 1).section(QStringLiteral("var nd_famChildren"), 0, 0);
        for (const QString& line : pairs.split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(line.endsWith(u']') || line.endsWith(QStringLiteral(", ")) || line.endsWith(u';'))
                << "pad " << pad << ": " << line.toStdString();
    }
}

TEST(NavigationDataTest, PositionsPassSixteenBits) {
    SVGTree tree;
    const int count = 32770;
    for (int i = 0; i < count; ++i)
        tree.NewPerson(QStringLiteral("q%1").arg(i), "Q", "", 1 + i % 100, 1 + i / 100, i % 2 ? "f" : "m", false, "",
                       true);
    auto fam = tree.NewFamily("fam", "q32768", "q32769");
    fam->AddChild(tree.GetPersons().value("q32767"));
    const QString text = drawToText([&](ChartOutputWriter& out) { NavigationData(tree, out).GenerateNavData(); });
    EXPECT_TRUE(text.contains(", 'q32769':32769};\n"));
    EXPECT_EQ(linesWith(text, "var nd_famParents"), QStringList({"var nd_famParents = [[32768,32769]];"}));
    EXPECT_EQ(linesWith(text, "var nd_famChildren"), QStringList({"var nd_famChildren = [[32767]];"}));

}
