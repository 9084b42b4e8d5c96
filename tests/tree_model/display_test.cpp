#include <gtest/gtest.h>

#include <cmath>

#include "SVGDisplay.h"
#include "TreeFixture.h"

namespace {
using Settings = std::vector<std::pair<const char*, const char*>>;

StringDict settingsOf(const Settings& items) {
    StringDict d;
    for (const auto& [k, v] : items) d.set(k, v);
    return d;
}

// Every value the display answers, as text, so one table can name them.
QString field(const SVGDisplay& d, const QString& name) {
    auto num = [](double v) { return QString::number(v, 'g', 10); };
    auto b = [](bool v) { return v ? QString("True") : QString("False"); };
    const std::map<QString, std::function<QString()>> fields = {
        {"W", [&] { return num(d.GetBoxW()); }},
        {"H", [&] { return num(d.GetBoxH()); }},
        {"MW", [&] { return num(d.GetMarginW()); }},
        {"MH", [&] { return num(d.GetMarginH()); }},
        {"Small", [&] { return b(d.GetSmall()); }},
        {"Horiz", [&] { return b(d.GetHoriz()); }},
        {"Stepped", [&] { return b(d.GetStepped()); }},
        {"Title", [&] { return d.GetTitle(); }},
        {"Tooltips", [&] { return b(d.GetTooltips()); }},
        {"Blog", [&] { return b(d.GetBlog()); }},
        {"Inst", [&] { return d.GetInst(); }},
        {"SVGFile", [&] { return b(d.GetSVGFile()); }},
        {"ImagePart", [&] { return num(d.GetImagePart()); }},
        {"PanZoom", [&] { return b(d.GetPanZoom()); }},
        {"RootKey", [&] { return d.GetRootKey(); }},
        {"Fanned", [&] { return b(d.GetFanned()); }},
        {"ProgData", [&] { return b(d.GetProgData()); }},
        {"ButtonTR", [&] { return b(d.GetButton("TR")); }},
        {"ButtonTL", [&] { return b(d.GetButton("TL")); }},
        {"ButtonBR", [&] { return b(d.GetButton("BR")); }},
        {"ButtonBL", [&] { return b(d.GetButton("BL")); }},
        {"BW", [&] { return num(d.GetButtonW()); }},
        {"BH", [&] { return num(d.GetButtonH()); }},
        {"Rounded", [&] { return b(d.GetRounded()); }},
        {"IconTR", [&] { return d.GetIcon("TR"); }},
        {"IconTL", [&] { return d.GetIcon("TL"); }},
        {"IconBR", [&] { return d.GetIcon("BR"); }},
        {"IconBL", [&] { return d.GetIcon("BL"); }},
        {"TooltipTR", [&] { return d.GetButTip("TR", nullptr); }},
        {"TooltipTL", [&] { return d.GetButTip("TL", nullptr); }},
        {"TooltipBR", [&] { return d.GetButTip("BR", nullptr); }},
        {"TooltipBL", [&] { return d.GetButTip("BL", nullptr); }},
        {"NavData", [&] { return b(d.GetNavData()); }},
        {"NotesData", [&] { return b(d.GetNotesData()); }},
        {"Opaque", [&] { return b(d.GetOpaque()); }},
        {"Scaled", [&] { return b(d.GetScaled()); }},
        {"Viewpoints", [&] { return b(d.GetViewpoints()); }},
        {"StockImageF", [&] { return d.StockImageF(); }},
        {"StockImageM", [&] { return d.StockImageM(); }},
        {"StockImageU", [&] { return d.StockImageU(); }},
        {"StockImageX", [&] { return d.StockImageX(); }},
        {"BGImage", [&] { return d.BGImage(); }},
        {"BGImageWidth", [&] { return num(d.BGImageWidth()); }},
        {"BGImageHeight", [&] { return num(d.BGImageHeight()); }},
        {"BGImageOpacity", [&] { return num(d.BGImageOpacity()); }},
        {"Header", [&] { return d.Header(); }},
        {"Version", [&] { return d.GetSrcVersion(); }},
        {"Radius", [&] { return num(d.GetButtonRadius()); }},
        {"MaxChars", [&] { return QString::number(d.GetMaxChars()); }},
        {"MaxLines", [&] { return QString::number(d.GetMaxLines()); }},
    };
    return fields.at(name)();
}
}  // namespace

TEST(DisplaySettings, EveryHeaderSettingDefaultsAndReads) {
    struct Row {
        const char* key;
        const char* defaultText;  // value with no settings
        const char* given;        // a value set in the settings
        const char* read;         // what the display holds then
    };
    const std::vector<Row> rows = {
        {"W", "80", "100", "100"},           {"H", "80", "60.5", "60.5"},
        {"MW", "50", "20", "20"},            {"MH", "50", " 7px", "7"},
        {"Small", "False", "True", "True"},  {"Horiz", "True", "False", "False"},
        {"Stepped", "True", "0", "False"},   {"Title", "", "My tree", "My tree"},
        {"Tooltips", "False", "true", "True"}, {"Blog", "False", "-1", "True"},
        {"Inst", "", "ab", "a"},             {"SVGFile", "False", "True", "True"},
        {"ImagePart", "0", "25%", "0.25"},   {"PanZoom", "False", "True", "True"},
        {"RootKey", "", "ann", "ann"},       {"Fanned", "False", "True", "True"},
        {"ProgData", "False", "True", "True"}, {"ButtonTR", "False", "True", "True"},
        {"ButtonTL", "False", "True", "True"}, {"ButtonBR", "False", "True", "True"},
        {"ButtonBL", "False", "True", "True"}, {"BW", "12", "10", "10"},
        {"BH", "12", "8", "8"},              {"Rounded", "True", "False", "False"},
        {"IconTR", "", "$i:tr.png", "$i:tr.png"}, {"IconTL", "", "tl.png", "tl.png"},
        {"IconBR", "", "br.png", "br.png"},  {"IconBL", "", "bl.png", "bl.png"},
        {"TooltipTR", "", " Info ", " Info "}, {"TooltipTL", "", "b", "b"},
        {"TooltipBR", "", "c", "c"},         {"TooltipBL", "", "d", "d"},
        {"NavData", "False", "True", "True"}, {"NotesData", "False", "True", "True"},
        {"Opaque", "False", "True", "True"}, {"Scaled", "False", "True", "True"},
        {"Viewpoints", "True", "False", "False"}, {"StockImageF", "", "f.png", "f.png"},
        {"StockImageM", "", "m.png", "m.png"}, {"StockImageU", "", "u.png", "u.png"},
        {"StockImageX", "", "x.png", "x.png"}, {"BGImage", "", "bg.jpg", "bg.jpg"},
        {"BGImageWidth", "0", "0.5", "0.5"}, {"BGImageHeight", "0", "40%", "0.4000000059604645"},
        {"BGImageOpacity", "1", "0.3", "0.3000000119"}, {"Header", "", "h.txt", "h.txt"},
        {"Version", "", "1.2.3", "1.2.3"},
    };
    SVGDisplay fresh;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(field(fresh, row.key), row.defaultText);
        SVGDisplay d;
        d.Init(settingsOf({{row.key, row.given}}));
        if (QString(row.read).contains("0000"))
            EXPECT_NEAR(field(d, row.key).toDouble(), QString(row.read).toDouble(), 1e-9);
        else
            EXPECT_EQ(field(d, row.key), row.read);
        // Init starts from the defaults again.
        d.Init(StringDict());
        EXPECT_EQ(field(d, row.key), row.defaultText);
    }
    EXPECT_NEAR(fresh.GetButtonRadius(), 8.485, 0.001);
}

TEST(DisplaySettings, LimitsAndDerivedValues) {
    struct Row {
        Settings settings;
        const char* field;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {{{"Blog", "True"}}, "Small", "True"},
        {{{"Blog", "True"}, {"Small", "False"}}, "Small", "False"},
        {{{"Small", "False"}, {"Blog", "True"}}, "Small", "False"},
        {{{"Inst", ""}}, "Inst", ""},
        {{{"W", "0"}}, "W", "80"},
        {{{"W", "-5"}}, "W", "80"},
        {{{"H", "abc"}}, "H", "80"},
        {{{"H", ""}}, "H", "80"},
        {{{"MW", "-1"}}, "MW", "0"},
        {{{"MH", ""}}, "MH", "0"},
        {{{"BW", "100"}}, "BW", "40"},
        {{{"BW", "100"}, {"W", "200"}}, "BW", "100"},
        {{{"BH", "-3"}}, "BH", "0"},
        {{{"BH", "50"}, {"H", "60"}}, "BH", "30"},
        {{{"ImagePart", "150%"}}, "ImagePart", "1"},
        {{{"ImagePart", "2"}}, "ImagePart", "1"},
        {{{"ImagePart", "-0.5"}}, "ImagePart", "-0.5"},
        {{{"ImagePart", "0.3"}}, "ImagePart", "0.3000000119"},
        {{{"BGImageOpacity", "120%"}}, "BGImageOpacity", "1"},
        {{{"BGImageWidth", "3"}}, "BGImageWidth", "1"},
        {{}, "MaxChars", "12"},
        {{}, "MaxLines", "6"},
        {{{"Small", "True"}}, "MaxChars", "15"},
        {{{"Small", "True"}}, "MaxLines", "8"},
        {{{"Small", "True"}, {"W", "100"}}, "MaxChars", "18"},
        {{{"BW", "6"}, {"BH", "8"}}, "Radius", "5"},
        {{{"BW", "100"}, {"BH", "100"}}, "Radius", "28.28427125"},
    };
    for (const Row& row : rows) {
        SVGDisplay d;
        d.Init(settingsOf(row.settings));
        const QString got = field(d, row.field), expected = row.expected;
        if (expected.size() > 8)
            EXPECT_NEAR(got.toDouble(), expected.toDouble(), 1e-7) << row.field;
        else
            EXPECT_EQ(got, expected) << row.field << " from " << settingsOf(row.settings).keys().join(",");
    }
}

TEST(DisplaySettings, ConversionErrorsKeepWhatWasRead) {
    SVGDisplay d;
    const StringDict bad = settingsOf({{"W", "90"}, {"Horiz", ""}, {"Fanned", "True"}});
    AppError e = errorOf([&] { d.Init(bad); });
    EXPECT_EQ(e.number, 13);
    EXPECT_EQ(d.GetBoxW(), 90);
    EXPECT_FALSE(d.GetFanned());
    e = errorOf([&] { d.Init(settingsOf({{"ImagePart", "x%"}})); });
    EXPECT_EQ(e.number, 13);
    e = errorOf([&] { d.Init(settingsOf({{"Opaque", "yes"}})); });
    EXPECT_EQ(e.number, 13);
}

TEST(DisplaySettings, CellsColoursAndCorners) {
    SVGDisplay d;
    EXPECT_EQ(d.GetX(1, 1), 50);
    EXPECT_EQ(d.GetX(1, 2), 115);
    EXPECT_EQ(d.GetX(3, 1), 50 + 2 * 130);
    EXPECT_EQ(d.GetY(2, 2), 80 + 100);
    d.SetHoriz(false);
    EXPECT_EQ(d.GetX(1, 2), 50);
    EXPECT_EQ(d.GetY(2, 1), 50 + 65);
    d.SetStepped(false);
    EXPECT_EQ(d.GetY(2, 1), 50);

    const std::vector<std::array<const char*, 4>> colours = {
        // sex, opaque, svg file, neither
        {"f", "rgb(249,211,218)", "rgb(245,182,193)", "pink"},
        {"m", "rgb(200,226,234)", "rgb(163,207,220)", "lightblue"},
        {"u", "rgb(223,223,223)", "rgb(202,202,202)", "lightgray"},
        {"x", "rgb(223,223,223)", "rgb(202,202,202)", "lightgray"},
        {"?", "", "", ""},
    };
    SVGDisplay opaque, svg, plain;
    opaque.Init(settingsOf({{"Opaque", "True"}, {"SVGFile", "True"}}));
    svg.Init(settingsOf({{"SVGFile", "True"}}));
    for (const auto& c : colours) {
        EXPECT_EQ(opaque.GetBoxCol(c[0]), c[1]);
        EXPECT_EQ(svg.GetBoxCol(c[0]), c[2]);
        EXPECT_EQ(plain.GetBoxCol(c[0]), c[3]);
    }
    EXPECT_EQ(opaque.GetOpacity(), "1.0");
    EXPECT_EQ(plain.GetOpacity(), "0.6");
    EXPECT_EQ(plain.GetBoxBorderCol(), "dimgray");
    EXPECT_EQ(plain.GetCircleCol("C"), "green");
    EXPECT_EQ(plain.GetCircleCol("C2"), "white");
    EXPECT_EQ(plain.GetCircleCol("CL"), "gray");
    EXPECT_EQ(plain.GetCircleCol("CL2"), "white");
    EXPECT_EQ(plain.GetCircleCol("X"), "");

    SVGDisplay corners;
    corners.Init(settingsOf({{"ButtonTR", "True"}, {"TooltipTR", "Header tip"}, {"TooltipBL", "Other"}}));
    EXPECT_TRUE(corners.GetButton("TR"));
    EXPECT_FALSE(corners.GetButton("tr"));
    EXPECT_TRUE(corners.GetButtons());
    EXPECT_FALSE(plain.GetButtons());
    StringDict local;
    local.set("TooltipTR", "Local tip");
    EXPECT_EQ(corners.GetButTip("TR", &local), "Local tip");
    EXPECT_EQ(corners.GetButTip("BL", &local), "Other");
    EXPECT_EQ(corners.GetButTip("XX", &local), "");
    EXPECT_EQ(corners.GetIcon("XX"), "");
}
