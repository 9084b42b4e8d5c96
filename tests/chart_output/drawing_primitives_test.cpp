#include "ChartTestSupport.h"
#include "SVGDisplay.h"

namespace {

SVGDisplay displayWith(const QList<std::pair<QString, QString>>& settings) {
    StringDict dict;
    for (const auto& s : settings) dict.set(s.first, s.second);
    SVGDisplay display;
    display.Init(dict);
    return display;
}

}  // namespace

TEST(DrawingPrimitives, PersonBoxWithClassesClickHandlerAndTooltipBlock) {
    const SVGDisplay plain = displayWith({{"Inst", "A"}});
    EXPECT_EQ(drawToText([&](ChartOutputWriter& w) {
                  plain.DrawRect(w, "K12", "f", "c1 f", {"ignored: tooltips are off"}, 50, 50, 80, 80, true);
              }),
              "<use tabindex=\"0\" xlink:href=\"#GA-Box\" class=\"f c1\" x=\"50.00\" y=\"50.00\" "
              "onclick=\"clickHandler(evt,'P','A','K12');\">\n</use>\n");

    const SVGDisplay tips = displayWith({{"Inst", "A"}, {"Tooltips", "True"}});
    EXPECT_EQ(drawToText([&](ChartOutputWriter& w) {
                  tips.DrawRect(w, "K12", "m", "", {"Born 1890 & died", "a &amp; b"}, 1.5, 12.3456, 80, 80, false);
                  tips.DrawLine(w, 0, 0, 1, 1, "", false);
              }),
              "<use tabindex=\"0\" xlink:href=\"#GA-Box\" class=\"m\" x=\"1.50\" y=\"12.346\">\n"
              "<title>Born 1890 &amp; died\n"
              "a &amp; b\n"
              "</title></use><line class=\"\" x1=\"0.00\" y1=\"0.00\" x2=\"1.00\" y2=\"1.00\"/>\n");
}

TEST(DrawingPrimitives, CornerButtonTakesItsOwnTooltipAndIconWhateverTheTooltipsSetting) {
    const SVGDisplay display =
        displayWith({{"Inst", "B"}, {"TooltipTR", "Open <notes>"}, {"IconBL", "pics/i.png"}});
    StringDict local;
    local.set("TooltipBR", "Mine");
    const QString body = drawToText([&](ChartOutputWriter& w) {
        display.DrawButton(w, "P1", "f", 10, 20, "TR", &local, true);
        display.DrawButton(w, "P1", "f", 10, 20, "BL", &local, false);
        display.DrawButton(w, "P1", "f", 10, 20, "BR", &local, false);
    });
    EXPECT_EQ(body,
              "<use class=\"f tr\" xlink:href=\"#GB-ButtonTR\" x=\"10.00\" y=\"20.00\" "
              "onclick=\"clickHandlerTR(evt,'P','B','P1');\"><title>Open &lt;notes&gt;</title></use>\n"
              "<use class=\"f bl\" xlink:href=\"#GB-IconBL\" x=\"10.00\" y=\"20.00\"></use>\n"
              "<use class=\"f br\" xlink:href=\"#GB-ButtonBR\" x=\"10.00\" y=\"20.00\"><title>Mine</title></use>\n");
}

TEST(DrawingPrimitives, FamilyCircleSymbolFollowsMoreChildrenAndLiaison) {
    const SVGDisplay display = displayWith({{"Inst", "C"}});
    struct Case {
        bool more, liaison;
        const char* symbol;
    };
    for (const Case& c : {Case{false, false, "#GC-FamC\""}, Case{false, true, "#GC-FamC-L\""},
                          Case{true, false, "#GC-FamCH\""}, Case{true, true, "#GC-FamCH-L\""}}) {
        const QString body = drawToText(
            [&](ChartOutputWriter& w) { display.DrawCircle(w, "F1", "fam", {}, 2, 3, c.more, c.liaison, true); });
        EXPECT_EQ(body, QStringLiteral("<use id=\"FC-F1\" tabindex=\"0\" class=\"fam\" xlink:href=\"") + c.symbol +
                            " x=\"2.00\" y=\"3.00\" onclick=\"clickHandler(evt,'F','C','F1');\">\n</use>\n");
    }
}

TEST(DrawingPrimitives, ExtendedLinesAndRootLineSegments) {
    const SVGDisplay display;
    EXPECT_EQ(drawToText([&](ChartOutputWriter& w) {
                  display.DrawLine(w, 10, 20, 10, 5, "rail", true);
                  display.DrawLine(w, 30, 7, 10, 7, "rail", true);
              }),
              "<line class=\"rail\" x1=\"10.00\" y1=\"20.75\" x2=\"10.00\" y2=\"4.25\"/>\n"
              "<line class=\"rail\" x1=\"30.75\" y1=\"7.00\" x2=\"9.25\" y2=\"7.00\"/>\n");

    // Every segment but the last runs 2 further; only the last is tentative.
    EXPECT_EQ(drawToText([&](ChartOutputWriter& w) { display.DrawRootLine(w, true, {0, 0, 0, 10, -20, 10}); }),
              "<line class=\"direct\" x1=\"0.00\" y1=\"0.00\" x2=\"0.00\" y2=\"12.00\"/>\n"
              "<line class=\"direct tentative\" x1=\"0.00\" y1=\"10.00\" x2=\"-20.00\" y2=\"10.00\"/>\n");
}

TEST(DrawingPrimitives, CaptionLinesGrowTheirOffsetAndEscapeTheirText) {
    const SVGDisplay display;  // 80 wide: at most 12 characters a line
    EXPECT_EQ(drawToText([&](ChartOutputWriter& w) {
                  display.DrawText(w, "K", {" Tom & \"Jo\" ", "O'Brien <b>", "ThirteenChars"}, 90, 50, 1, 1.2);
              }),
              "<text x=\"90.00\" y=\"50.00\" dy=\"1.00em\">Tom &amp; &quot;Jo&quot;</text>\n"
              "<text x=\"90.00\" y=\"50.00\" dy=\"2.20em\">O&apos;Brien &lt;b&gt;</text>\n"
              "<text x=\"90.00\" y=\"50.00\" dy=\"3.40em\" textLength=\"78.50\">ThirteenChars</text>\n");
}

TEST(DrawingPrimitives, PictureAreaRoundedAndSquareCorners) {
    struct Case {
        const char* rounded;
        double x, y, w, h;
    };
    for (const Case& c : {Case{"True", 51.757, 51.757, 76.485, 38.243}, Case{"False", 50.75, 50.75, 78.5, 38.5}}) {
        const SVGDisplay display = displayWith({{"ImagePart", "0.5"}, {"Rounded", c.rounded}});
        double x = 50, y = 50, w = 0, h = 0;
        display.GetImageSizePosn(x, y, w, h);
        EXPECT_DOUBLE_EQ(x, c.x) << c.rounded;
        EXPECT_DOUBLE_EQ(y, c.y) << c.rounded;
        EXPECT_DOUBLE_EQ(w, c.w) << c.rounded;
        EXPECT_DOUBLE_EQ(h, c.h) << c.rounded;
    }
}

TEST(DrawingPrimitives, PicturesKeepTheirProportionsInsideTheArea) {
    const SVGDisplay display = displayWith({{"ImagePart", "0.5"}, {"Rounded", "False"}, {"Inst", "A"}});
    const QString body = drawToText([&](ChartOutputWriter& w) {
        display.DrawImage(w, "K", "", {}, 50, 50, 1, false);  // no location: nothing
        display.DrawImage(w, "K", "pics/a.jpg?x=1&y=\"2\"", {}, 50, 50, 1.0, false);
        display.DrawImage(w, "K", "b.jpg", {}, 50, 50, 0.25, true);
        display.DrawImage(w, "K", "c.jpg", {}, 50, 50, 0, true);
        display.DrawStockImage(w, "K", "f", {"t"}, 50, 50);
    });
    EXPECT_EQ(body,
              // Taller than the area: as high as the area, centred.
              "<image x=\"70.75\" y=\"50.75\" width=\"38.50\" height=\"38.50\" "
              "xlink:href=\"pics/a.jpg?x=1&amp;y=&quot;2&quot;\" preserveAspectRatio=\"xMidYMin meet\" "
              "onclick=\"window.open(this.getAttributeNS('http://www.w3.org/1999/xlink','href'),'_blank');\">\n"
              "</image>\n"
              // Wider: as wide as the area, at the top.
              "<image x=\"50.75\" y=\"50.75\" width=\"78.50\" height=\"19.625\" xlink:href=\"b.jpg\" "
              "preserveAspectRatio=\"xMidYMin meet\" onclick=\"clickHandler(evt,'P','A','K');\">\n</image>\n"
              // Unknown proportions: the whole area.
              "<image x=\"50.75\" y=\"50.75\" width=\"78.50\" height=\"38.50\" xlink:href=\"c.jpg\" "
              "preserveAspectRatio=\"xMidYMin meet\" onclick=\"clickHandler(evt,'P','A','K');\">\n</image>\n"
              "<use xlink:href=\"#GA-StockF\" x=\"50.75\" y=\"50.75\">\n</use>\n");
}

TEST(DrawingPrimitives, InstanceIdentifierIsOneAsciiLetterOrDigitOrNone) {
    // A longer text keeps its first character.
    const std::pair<const char*, const char*> kept[] = {{"ab", "a"}, {"7", "7"}, {"7x", "7"}, {"Z", "Z"}, {"", ""}};
    for (const auto& [text, inst] : kept) EXPECT_EQ(displayWith({{"Inst", text}}).GetInst(), inst) << text;
    for (const char* refused : {"'", "\"x", "\u00e9", "-", "_a"}) {
        StringDict dict;
        dict.set("Inst", QString::fromUtf8(refused));
        SVGDisplay display;
        const AppError e = errorOf([&] { display.Init(dict); });
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::InvalidKey)) << refused;
        EXPECT_EQ(display.GetInst(), "") << refused;
    }
}
