// Header templates: the choice of template, every insertion point, variables
// and switched-off lines, the preamble and postamble, and the background
// image in each kind of chart.
#include <gtest/gtest.h>

#include "ChartRunSupport.h"
#include "HeaderTemplate.h"
#include "HeaderVariables.h"
#include "foundation/TextHelpers.h"

namespace {

class HeaderTemplateTest : public ChartFixture {
protected:
    // The text a template copy writes, for the current settings.
    QString expand(const QString& templateText) {
        useTemplate(templateText);
        apps.UpdateDictWithSrvs(*tree->GetAppDict(), tree->GetDisplay()->GetSVGFile(), reporter);
        const StringDict vars = HeaderVariables::BuildHeaderVars(*tree);
        return drawToText([&](ChartOutputWriter& out) {
            HeaderTemplate header(*tree, apps, out, reporter, path(QStringLiteral("data")), dir.path());
            header.WriteHeader(*tree->GetAppDict(), tree->GetDisplay()->GetSVGFile(), vars);
        });
    }
    QStringList codeLines(const QString& place, bool svg) const {
        const QString code = apps.HandlerCode(*tree->GetAppDict(), place, svg);
        return HeaderVariables::sSubstituteVars(code, HeaderVariables::BuildHeaderVars(*tree)).split(u'\n');
    }
    QStringList helpBlock() const {
        QStringList out = {"Mouse operations configured for the current interactive applications:",
                           "<p class='hp-indent'>"};
        for (const QString& click : apps.GetAllRequiredClicks(*tree->GetAppDict())) out.append(click + "<br>");
        out.append("</p>");
        return out;
    }
};

const QString kEveryMarker = QStringLiteral(
    "<top ??inst?" "?>\n"
    "??script-point??\n"
    "??style-point??\n"
    "??stock-image-point??\n"
    "??bg-image-point-1??\n"
    "??bg-image-point-2??\n"
    "??handler-point??\n"
    "??handler-point-tr??\n"
    "??handler-point-BL??\n"
    "??application-preamble??\n"
    "??help-point??\n"
    " ??help-point??\n"
    "??if-blog??blog only\n"
    "??ifn-blog??not blog\n"
    "//**// raw line kept\n"
    "end\n");

}  // namespace

TEST_F(HeaderTemplateTest, EveryInsertionPointInAnHtmlChart) {
    settings({{"Panels", "True"}, {"PanZoom", "True"}, {"ImagePart", "0.5"}, {"StockImageF", "$web:f.png"},
              {"StockImageM", "$nokey:m.png"}, {"BGImage", "$web:bg.png"}, {"BGImageWidth", "50%"},
              {"BGImageHeight", "0.25"}, {"BGImageOpacity", "0.5"}});
    const QString text = expand(kEveryMarker);
    double x = 0, y = 0, w = 0, h = 0;
    tree->GetDisplay()->GetImageSizePosn(x, y, w, h);

    QStringList expected = {
        "<top A>",
        "<script src='./SVGcode/support6.js'></script>",
        "<script src='./SVGcode/navigation6.js'></script>",
        "<script src='./SVGcode/programdata6.js'></script>",
        "<script src='extra/panels.js'></script>",
        "<script src='./SVGcode/svg-pan-zoom.js'></script>",
        "<link rel='stylesheet' type='text/css' href='./SVGcode/programdata6.css'>",
        "<link rel='stylesheet' type='text/css' href='extra/panels.css'>",
        "    <g id=\"GA-StockF\">",
        "        <image width=\"" + sFormatNum(w) + "\" height=\"" + sFormatNum(h) +
            "\" preserveAspectRatio=\"xMidYMin meet\" xlink:href=\"http://example.org/f.png\" "
            "style=\"pointer-events:none;\"/>",
        "    </g>",
        "",
        "div.tp-bgA { /* Separate div to avoid opacity affecting other stuff */",
        "    width: 100%;",
        "    height: 100%;",
        "    background-image: url(\"http://example.org/bg.png\");",
        "    background-size: 50.00% 25.00%;",
        "    background-repeat: repeat;",
        "    background-position: 0 0;",
        "    background-attachment: scroll;",
        "    opacity: 0.50;",
        "}",
        "",
        "<div class=\"tp-bgA\"></div>",
    };
    expected += codeLines("click", false);
    expected += codeLines("TR", false);
    expected += "    alert('BL button clicked for ' + type + inst + '-' + key);";
    expected += QStringList{"", "<div id=\"preA\">"} + helpBlock() + QStringList{"</div>"};
    expected += helpBlock();
    expected += QStringList{" ??help-point??", "not blog", "//**// raw line kept", "end", ""};
    EXPECT_EQ(text.split(u'\n'), expected);
    EXPECT_TRUE(text.contains("showPanel('A', key);")) << "variables are substituted in handler code";
    EXPECT_TRUE(reporter.logLines().contains("Utilising header file: " + path("Custom.tpl")));
}

TEST_F(HeaderTemplateTest, SvgChartsUseHrefAndStylesheetInstructions) {
    settings({{"Panels", "True"}, {"SVGFile", "True"}, {"PanZoom", "True"}, {"Blog", "True"}});
    const QString text =
        expand("??script-point??\n??style-point??\n??if-blog??blog only\n??ifn-svg??html only\n??stock-image-point??\n");
    EXPECT_EQ(text.split(u'\n'), QStringList({
                                     "<script href='./SVGcode/support6.js'></script>",
                                     "<script href='./SVGcode/navigation6.js'></script>",
                                     "<script href='./SVGcode/programdata6.js'></script>",
                                     "<script href='extra/panels.js'></script>",
                                     "<?xml-stylesheet href='./SVGcode/programdata6.css'?>",
                                     "<?xml-stylesheet href='extra/panels.css'?>",
                                     "blog only",
                                     "",
                                 }))
        << "no pan-and-zoom script in an SVG chart, no stock images without an image part";
}

TEST_F(HeaderTemplateTest, WithoutApplicationsHandlersAndHelpSayNothingIsConfigured) {
    const QString text = expand("??handler-point??\n??handler-point-TR??\n??help-point??\n??application-preamble??\n");
    EXPECT_EQ(text.split(u'\n'),
              QStringList({"    alert('TR button clicked for ' + type + inst + '-' + key);",
                           "No mouse operations have been configured for the current interactive applications.<br>",
                           ""}));
}

TEST_F(HeaderTemplateTest, BackgroundImageInSvgCharts) {
    // Second point before the first: nothing at the second point.
    settings({{"SVGFile", "True"}, {"BGImage", "$web:bg.png"}, {"BGImageOpacity", "0.7"}});
    EXPECT_EQ(expand("??bg-image-point-2??\nx\n"), "x\n");

    struct Case {
        const char* name;
        QList<std::pair<QString, QString>> settings;
        QStringList pattern;  // the pattern's first two lines
    };
    const QList<Case> cases = {
        {"scaled, full", {{"Scaled", "True"}, {"BGImageWidth", "1"}, {"BGImageHeight", "1"}},
         {"    <pattern id=\"GA-BG\" width=\"100%\" height=\"100%\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" "
          "preserveAspectRatio=\"none\"/>"}},
        {"scaled, width", {{"Scaled", "True"}, {"BGImageWidth", "1"}, {"BGImageHeight", "0"}},
         {"    <pattern id=\"GA-BG\" width=\"100%\" height=\"100%\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" width=\"100%\" "
          "preserveAspectRatio=\"xMidYMid meet\"/>"}},
        {"scaled, height", {{"Scaled", "True"}, {"BGImageWidth", "0"}, {"BGImageHeight", "1"}},
         {"    <pattern id=\"GA-BG\" width=\"100%\" height=\"100%\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" height=\"100%\" "
          "preserveAspectRatio=\"xMidYMid meet\"/>"}},
        {"scaled, sized", {{"Scaled", "True"}, {"BGImageWidth", "0.5"}, {"BGImageHeight", "1"}},
         {"    <pattern id=\"GA-BG\" width=\"50.00%\" height=\"100.00%\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" width=\"50.00%\" "
          "height=\"100.00%\"/>"}},
        {"not scaled, part of the window", {{"Scaled", "False"}, {"BGImageWidth", "0.5"}, {"BGImageHeight", "1"}},
         {"    <pattern id=\"GA-BG\" width=\"50.00vw\" height=\"100.00vh\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" width=\"50.00vw\" "
          "height=\"100.00vh\"/>"}},
        {"not scaled, whole window", {{"Scaled", "False"}, {"BGImageWidth", "1"}, {"BGImageHeight", "0"}},
         {"    <pattern id=\"GA-BG\" width=\"100vw\" height=\"100vh\">",
          "        <image xlink:href=\"http://example.org/bg.png\" x=\"0\" y=\"0\" width=\"100vw\" height=\"100vh\" "
          "preserveAspectRatio=\"none\"/>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings(c.settings);
        const QStringList lines = expand("??bg-image-point-1??\n??bg-image-point-2??\n").split(u'\n');
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines.mid(0, 2), c.pattern);
        EXPECT_EQ(lines[2], "    </pattern>");
        const bool scaled = c.settings.first().second == "True";
        // Unscaled charts carry the script that turns viewport units into
        // percentages of the drawing (far edges 440 by 310 here).
        EXPECT_EQ(lines.contains("    tp_vp2pcElem(tp_elem,'width',440.00,310.00);"), !scaled);
        EXPECT_EQ(lines.mid(lines.size() - 3),
                  QStringList({"<rect width=\"100%\" height=\"100%\" fill=\"url(#GA-BG)\" fill-opacity=\"0.70\"/>",
                               "", ""}));
        // The whole header is well-formed inside an SVG element.
        EXPECT_EQ(xmlError("<defs>" + lines.mid(0, lines.size() - 3).join('\n') + "</defs>"), "");
    }

    // Locations are attribute values: a query's "&" is escaped.
    settings({{"Scaled", "True"}, {"BGImage", "$web:bg.png?a=1&b=2"}, {"ImagePart", "0.5"},
              {"StockImageM", "$web:m.png?c=3&d=4"}});
    const QString both = expand("??stock-image-point??\n??bg-image-point-1??\n");
    EXPECT_TRUE(both.contains("xlink:href=\"http://example.org/m.png?c=3&amp;d=4\""));
    EXPECT_TRUE(both.contains("xlink:href=\"http://example.org/bg.png?a=1&amp;b=2\""));
    EXPECT_EQ(xmlError("<defs>" + both + "</defs>"), "");
}

TEST_F(HeaderTemplateTest, BackgroundSizesInHtmlCharts) {
    const QList<std::tuple<QString, QString, QStringList>> cases = {
        {"0", "0", {"    background-size: 100% 100%;", "    background-repeat: no-repeat;"}},
        {"1", "0", {"    background-size: 100.00% auto;", "    background-repeat: no-repeat;"}},
        {"0", "1", {"    background-size: auto 100.00%;", "    background-repeat: no-repeat;"}},
    };
    for (const auto& [w, h, sizeLines] : cases) {
        settings({{"BGImage", "$web:bg.png"}, {"BGImageWidth", w}, {"BGImageHeight", h}});
        const QStringList lines = expand("??bg-image-point-1??\n").split(u'\n');
        ASSERT_GE(lines.size(), 7);
        EXPECT_EQ(lines[1], "    width: 440.00px;") << "neither scaled nor pan and zoom: the drawing's size";
        EXPECT_EQ(lines.mid(4, 2), sizeLines);
        EXPECT_EQ(lines[6], "    background-position: center center;");
    }
    // The location stays inside its string and inside the style element.
    settings({{"BGImage", "$web:bg.png?q=\"x\");}</style><b>"}});
    EXPECT_EQ(expand("??bg-image-point-1??\n").split(u'\n').value(3),
              "    background-image: url(\"http://example.org/bg.png?q=%22x%22);}%3C/style%3E%3Cb%3E\");");
}

TEST_F(HeaderTemplateTest, ShippedTemplateChoice) {
    HeaderTemplate header(*tree, apps, chartOutput(), reporter, "/data", dir.path());
    StringDict none;
    StringDict panels;
    panels.set("Panels", "Panels");
    StringDict htmlOnly;
    htmlOnly.set("HtmlOnly", "HTML only");
    EXPECT_EQ(header.sTemplateFile(none, true), "/data/Header.svg");
    EXPECT_EQ(header.sTemplateFile(panels, true), "/data/Header_js.svg");
    EXPECT_EQ(header.sTemplateFile(htmlOnly, true), "/data/Header.svg") << "counts only applications valid in SVG";
    EXPECT_EQ(header.sTemplateFile(panels, false), "/data/Header.html");
    settings({{"PanZoom", "True"}});
    EXPECT_EQ(header.sTemplateFile(none, false), "/data/Header_pz.html");
    // A Header setting wins; a relative one is found beside the tree file.
    settings({{"Header", "tpl\\Mine.svg"}});
    EXPECT_EQ(header.sTemplateFile(panels, true), dir.path() + "/tpl/Mine.svg");
}

TEST_F(HeaderTemplateTest, MissingTemplateRaisesTheTextFileError) {
    settings({{"Header", path("absent.svg")}});
    const StringDict vars = HeaderVariables::BuildHeaderVars(*tree);
    HeaderTemplate header(*tree, apps, chartOutput(), reporter, dir.path(), dir.path());
    const AppError error = errorOf([&] { header.WriteHeader(*tree->GetAppDict(), false, vars); });
    EXPECT_EQ(error.number, errorNumber(ErrorOffset::TextFileIO));
}

TEST_F(HeaderTemplateTest, PostambleIsWrittenLikeThePreamble) {
    settings({{"Panels", "True"}});
    const StringDict vars = HeaderVariables::BuildHeaderVars(*tree);
    const QString text = drawToText([&](ChartOutputWriter& out) {
        HeaderTemplate header(*tree, apps, out, reporter, dir.path(), dir.path());
        header.WritePostamble(*tree->GetAppDict(), false, vars);
    });
    EXPECT_EQ(text, "\n<script>endPanels('A');</script>\n");
}
