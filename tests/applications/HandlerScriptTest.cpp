#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "DefinitionFixtures.h"

namespace {

// Runs the generated click handlers in node.js, as a chart's template wraps
// them, and reports which application code each click reached.
class HandlerScript : public ::testing::Test {
protected:
    void SetUp() override {
        node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (node.isEmpty()) GTEST_SKIP() << "node.js is not installed";
        loaded = loadFixture(QStringLiteral("defs"));
    }

    // The handler functions for the enabled ids, then `scenario`, which calls
    // them; returns what the script printed (one line per call made).
    QString run(std::initializer_list<const char*> ids, const QString& scenario) {
        const StringDict dict = enabled(*loaded->apps, ids);
        QString script = QStringLiteral(
            "var calls = [];\n"
            "function record(name) { return function(key) { calls.push(name + ':' + key); }; }\n"
            "var showPanel = record('panel'), showPicture = record('picture'), shiftPanel = record('shift'),\n"
            "    timeline = record('timeline'), familyTimeline = record('familyTimeline'),\n"
            "    timelineCorner = record('timelineCorner'), first = record('first'), second = record('second'),\n"
            "    third = record('third'), bottomLeft = record('bottomLeft'), pageFamily = record('pageFamily'),\n"
            "    pageAlt = record('pageAlt');\n"
            "function mouse(mods, nodeName) {\n"
            "  var ev = {ctrlKey: false, shiftKey: false, altKey: false, metaKey: false,\n"
            "            target: {nodeName: nodeName || 'use'}, prevented: false};\n"
            "  for (var k in mods) ev[k] = mods[k];\n"
            "  ev.preventDefault = function() { ev.prevented = true; };\n"
            "  return ev;\n"
            "}\n"
            "function click(handler, evt, type, key) {\n"
            "  calls = [];\n"
            "  try { handler(evt, type, 'A', key); } catch (e) { calls.push('threw ' + e.name); }\n"
            "  console.log((calls.join(',') || 'none') + (evt && evt.prevented ? ' prevented' : ''));\n"
            "}\n"
            "function clickHandler(evt, type, inst, key) {\n"
            "    var ev = (evt === undefined) ? null : evt;\n");
        script += loaded->apps->HandlerCode(dict, QStringLiteral("click"), false) + QStringLiteral("\n}\n");
        script += QStringLiteral("function clickHandlerTR(evt, type, inst, key) {\n"
                                 "    var ev = (evt === undefined) ? null : evt;\n");
        script += loaded->apps->HandlerCode(dict, QStringLiteral("TR"), false) + QStringLiteral("\n}\n");
        script += scenario;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("handler.js"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script.toUtf8());
        file.close();
        QProcess process;
        process.start(node, {path});
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), QString());
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString node;
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(HandlerScript, EachClickReachesItsOperationsAndStopsThere) {
    const QString out = run({"Panels", "Timeline", "Paging"},
                            QStringLiteral("click(clickHandler, mouse({}), 'P', 'p1');\n"
                                           "click(clickHandler, mouse({}, 'image'), 'P', 'p1');\n"
                                           "click(clickHandler, mouse({shiftKey: true}), 'P', 'p1');\n"
                                           "click(clickHandler, mouse({ctrlKey: true}), 'P', 'p1');\n"
                                           "click(clickHandler, mouse({}), 'F', 'f1');\n"
                                           "click(clickHandler, mouse({metaKey: true}), 'F', 'f1');\n"
                                           "click(clickHandler, mouse({altKey: true}), 'F', 'f1');\n"
                                           "click(clickHandlerTR, mouse({}), 'P', 'p1');\n"));
    EXPECT_EQ(out.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{"panel:p1,timeline:p1 prevented", "picture:p1 prevented", "shift:p1 prevented",
                           "none", "familyTimeline:f1 prevented", "pageFamily:f1 prevented", "pageAlt:f1 prevented",
                           "timelineCorner:p1 prevented"}));
}

TEST_F(HandlerScript, CallWithoutAnEventRunsThePlainClickWithoutFailing) {
    const QString out = run({"Panels", "Timeline"}, QStringLiteral("click(clickHandler, undefined, 'P', 'p2');\n"
                                                                   "click(clickHandler, undefined, 'F', 'f2');\n"));
    EXPECT_EQ(out.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{"panel:p2,timeline:p2", "familyTimeline:f2"}));
}

}  // namespace
