#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

const QString kClick = QStringLiteral("!ev.ctrlKey && !ev.shiftKey && !ev.altKey && !ev.metaKey");
const QString kClickOrNull = QStringLiteral("ev === null || (!ev.ctrlKey && !ev.shiftKey && !ev.altKey && !ev.metaKey)");
const QString kCtrl = QStringLiteral("(ev.ctrlKey || ev.metaKey) && !ev.shiftKey && !ev.altKey");
const QString kShift = QStringLiteral("!ev.ctrlKey && ev.shiftKey && !ev.altKey && !ev.metaKey");
const QString kAlt = QStringLiteral("!ev.ctrlKey && !ev.shiftKey && ev.altKey && !ev.metaKey");

QString pad(int n) { return QString(n, u' '); }

// The four lines of one handler block at an indent.
QStringList block(int indent, const QString& condition, const QStringList& codeLines) {
    QStringList lines{pad(indent) + "if (" + condition + ") {"};
    for (const QString& code : codeLines) lines << pad(indent + 4) + code;
    // The plain click test with its null form also admits a call without an
    // event, which must not touch the missing event.
    const QString end = condition == kClickOrNull ? QStringLiteral("if (ev !== null) ev.preventDefault(); return;")
                                                  : QStringLiteral("ev.preventDefault(); return;");
    lines << pad(indent + 4) + end << pad(indent) + "}";
    return lines;
}

const QStringList kImageHeader = {
    "        // For a person-box, the nodeName should be 'use', but on some systems, ev.target for a <use>",
    "        // points to an instance of SVGElementInstance, which does not have a nodeName property",
    "        if (ev !== null && ev.target.nodeName == 'image') {"};

class ChartCode : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("defs")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    QString handler(std::initializer_list<const char*> ids, const char* place, bool svg = false) const {
        return apps().HandlerCode(enabled(apps(), ids), QString::fromUtf8(place), svg);
    }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(ChartCode, NothingEnabledGivesEmptyTexts) {
    const StringDict none;
    for (const char* place : {"click", "TR", "TL", "BR", "BL"}) EXPECT_EQ(handler({}, place), QString()) << place;
    EXPECT_TRUE(apps().ScriptFiles(none, false).isEmpty());
    EXPECT_TRUE(apps().StyleFiles(none, false).isEmpty());
    EXPECT_EQ(apps().PreambleCode(none, false), QString());
    EXPECT_EQ(apps().PostambleCode(none, false), QString());
    EXPECT_FALSE(apps().AnythingRequireLib(none, QStringLiteral("support.js"), false));
}

TEST_F(ChartCode, PersonHandlerHasImageTestThenBoxBlocksInKeyOrder) {
    QStringList expected{"    if (type == 'P') {"};
    expected << kImageHeader << block(12, kClick, {"showPicture(key);"}) << "        }";
    expected << block(8, kClickOrNull, {"showPanel(key);"}) << block(8, kShift, {"shiftPanel(key);"});
    expected << "    }";
    EXPECT_EQ(handler({"Panels"}, "click"), expected.join(u'\n'));
}

TEST_F(ChartCode, TwoEntriesClaimingOneClickShareOneBlockInDefinitionOrder) {
    // Timeline is listed first in the dictionary; the walk follows the files.
    QStringList expected{"    if (type == 'P') {"};
    expected << kImageHeader << block(12, kClick, {"showPicture(key);"}) << "        }";
    expected << block(8, kClickOrNull, {"showPanel(key);", "timeline(key);"})
             << block(8, kShift, {"shiftPanel(key);"}) << "    }";
    expected << "    if (type == 'F') {" << block(8, kClickOrNull, {"familyTimeline(key);"}) << "    }";
    EXPECT_EQ(handler({"Timeline", "Panels"}, "click"), expected.join(u'\n'));
}

TEST_F(ChartCode, ImageOnlyAndCircleOnlyHandlers) {
    QStringList image{"    if (type == 'P') {"};
    // A code of one line break counts: its block holds two empty code lines.
    image << kImageHeader << block(12, kClick, {"picture(key);"}) << block(12, kCtrl, {"", ""}) << "        }"
          << "    }";
    EXPECT_EQ(handler({"Pictures"}, "click"), image.join(u'\n'));

    QStringList circle{"    if (type == 'F') {"};
    circle << block(8, kCtrl, {"pageFamily(key);"}) << block(8, kAlt, {"pageAlt(key);"}) << "    }";
    EXPECT_EQ(handler({"Paging"}, "click"), circle.join(u'\n'));
}

TEST_F(ChartCode, CornerHandlerIndentsEveryCodeLine) {
    EXPECT_EQ(handler({"Corner"}, "TR"),
              block(4, kClick, {"first(key);", "second(key);", "third(key);"}).join(u'\n'));
    // "click" is no key and "tr" no corner; the emptied BR operation is gone.
    EXPECT_EQ(handler({"Corner"}, "BL"), block(4, kCtrl, {"bottomLeft();"}).join(u'\n'));
    EXPECT_EQ(handler({"Corner"}, "BR"), QString());
    EXPECT_EQ(handler({"Corner"}, "click"), QString());
    // The corner operations of two entries share the corner's slot, in the
    // order of the definitions.
    EXPECT_EQ(handler({"Corner", "Timeline"}, "TR"),
              block(4, kClick, {"timelineCorner(key);", "first(key);", "second(key);", "third(key);"}).join(u'\n'));
}

TEST_F(ChartCode, SvgChartLeavesOutEntriesNotValidThere) {
    const StringDict dict = enabled(apps(), {"Timeline"});
    EXPECT_EQ(apps().HandlerCode(dict, QStringLiteral("click"), true), QString());
    EXPECT_EQ(apps().HandlerCode(dict, QStringLiteral("TR"), true), QString());
    EXPECT_TRUE(apps().ScriptFiles(dict, true).isEmpty());
    EXPECT_TRUE(apps().StyleFiles(dict, true).isEmpty());
    EXPECT_EQ(apps().PreambleCode(dict, true), QString());
    EXPECT_EQ(apps().PostambleCode(dict, true), QString());
    EXPECT_FALSE(apps().AnythingRequireLib(dict, QStringLiteral("support.js"), true));
    EXPECT_NE(apps().HandlerCode(dict, QStringLiteral("click"), false), QString());
}

TEST_F(ChartCode, ScriptsStylesAndAmblesOfAnHtmlChart) {
    const StringDict dict = enabled(apps(), {"Panels", "Timeline"});
    EXPECT_EQ(apps().ScriptFiles(dict, false), (QStringList{"panels.js", "timeline.js", "extra.js"}));
    EXPECT_EQ(apps().StyleFiles(dict, false), QStringList{"common.css"});
    EXPECT_EQ(apps().PreambleCode(dict, false), QStringLiteral("initPanels();\ninitTimeline();"));
    EXPECT_EQ(apps().PostambleCode(dict, false), QStringLiteral("endTimeline2();"));
    // In an SVG chart only Panels takes part.
    EXPECT_EQ(apps().ScriptFiles(dict, true), QStringList{"panels.js"});
    EXPECT_EQ(apps().PreambleCode(dict, true), QStringLiteral("initPanels();"));
}

TEST_F(ChartCode, RequiredLibrariesFollowTheModify) {
    struct Case {
        std::initializer_list<const char*> ids;
        const char* lib;
        bool required;
    };
    const Case cases[] = {
        {{"Panels"}, "support.js", true},
        {{"Panels"}, "navigation.js", false},      // its text is False
        {{"Timeline"}, "programdata.js", false},   // the Modify's False decides
        {{"Paging"}, "programdata.js", true},      // only the Modify asks for it
        {{"Timeline", "Paging"}, "programdata.js", true},
        {{"Corner"}, "support.js", false},
        {{"Nowhere", "Panels"}, "support.js", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(*c.ids.begin()) + " " + c.lib);
        EXPECT_EQ(apps().AnythingRequireLib(enabled(apps(), c.ids), QString::fromUtf8(c.lib), false), c.required);
    }
}

}  // namespace
