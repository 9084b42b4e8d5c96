#include <QTemporaryDir>

#include "ChartClassLists.h"
#include "ChartOutputWriter.h"
#include "ChartTestSupport.h"
#include "SVGBox.h"
#include "SVGFamily.h"

TEST(ChartOutputWriter, JoinModeWritesThePendingLineWhenTheNextTextWouldPassTheWidth) {
    const QString body = drawToText([](ChartOutputWriter& w) {
        w.WriteOutput(QString(250, u'a'), true, 256);
        w.WriteOutput(QString(10, u'b'), true, 256);
    });
    EXPECT_EQ(body, QString(250, u'a') + u'\n' + QString(10, u'b') + u'\n');

    // An empty pending line is written too when the text alone passes the width.
    const QString longText = drawToText([](ChartOutputWriter& w) { w.WriteOutput(QString(300, u'c'), true, 256); });
    EXPECT_EQ(longText, u'\n' + QString(300, u'c') + u'\n');
}

TEST(ChartOutputWriter, LineModeWritesThePendingLineInFrontOfTheText) {
    const QString body = drawToText([](ChartOutputWriter& w) {
        w.WriteOutput("<title>", true, 256);
        w.WriteOutput("tip", false, 256);
        w.WriteOutput("</title>", true, 256);
        w.WriteOutput("</use>", true, 256);
        w.WriteOutput("<line/>", false, 256);
        w.WriteOutput("<line/>", false, 256);
    });
    EXPECT_EQ(body, "<title>tip\n</title></use><line/>\n<line/>\n");
}

TEST(ChartOutputWriter, EncodesEverythingButPrintableAsciiAndTab) {
    QTemporaryDir dir;
    const QString path = dir.filePath("c.svg");
    ChartOutputWriter w;
    w.OpenOutput(path);
    w.WriteOutput(QStringLiteral("\u00e9\tx") + QChar(0) + QStringLiteral("\u2013\U0001F600"), false, 256);
    w.CloseOutput();
    EXPECT_EQ(fileBytes(path), QByteArray("\xEF\xBB\xBF&#x00E9;\tx&#xFFFD;&#x2013;&#x1F600;\r\n"));
}

TEST(ChartOutputWriter, WithoutAnOpenFileNothingIsWrittenAndClosingForgetsThePendingLine) {
    QTemporaryDir dir;
    ChartOutputWriter w;
    w.WriteOutput("lost", false, 256);
    w.CloseOutput();
    EXPECT_FALSE(w.isOpen());

    // A run that failed leaves its file open with a pending line: the next
    // open closes that file without the pending line.
    const QString first = dir.filePath("first.svg");
    const QString second = dir.filePath("second.svg");
    w.OpenOutput(first);
    w.WriteOutput("written", false, 256);
    w.WriteOutput("pending", true, 256);
    w.OpenOutput(second);
    w.WriteOutput("next", false, 256);
    w.CloseOutput();
    EXPECT_EQ(fileBytes(first), QByteArray("\xEF\xBB\xBFwritten\r\n"));
    EXPECT_EQ(fileBytes(second), QByteArray("\xEF\xBB\xBFnext\r\n"));
}

TEST(ChartOutputWriter, TheProgramWideCallsShareOneWriter) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.svg");
    OpenOutput(path);
    EXPECT_TRUE(chartOutput().isOpen());
    WriteOutput("a", true, 256);
    CloseOutput();
    EXPECT_FALSE(chartOutput().isOpen());
    EXPECT_EQ(fileBytes(path), QByteArray("\xEF\xBB\xBF" "a\r\n"));
}

TEST(ChartClassLists, HeaderThenLocalClassesWithKeyAndInstanceFilledIn) {
    SVGTree tree;
    applySettings(tree, {{"Inst", "A"}});
    auto person = tree.NewPerson("K1", "Kim", "", 1, 1, "f", false, "", true);
    tree.NewPerson("K2", "Lee", "", 2, 1, "m", false, "", true);
    auto family = tree.NewFamily("F1", "K1", "K2");

    struct Case {
        const char* header;  // nullptr: no header setting
        const char* local;   // nullptr: no local setting
        const char* base;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "", ""},
        {nullptr, nullptr, "x|y", "x y"},
        {"a|tp-?|p??", nullptr, "", "a tp-A pK1"},
        {"a|tp-?|p??", "a|b", "", "a tp-A pK1 b"},
        {nullptr, "b|??", "a", "a b K1"},
    };
    for (const Case& c : cases) {
        tree.GetSettings().remove("ClassPerson");
        person->GetLocSettings().remove("ClassPerson");
        if (c.header) tree.GetSettings().set("ClassPerson", c.header);
        if (c.local) person->GetLocSettings().set("ClassPerson", c.local);
        EXPECT_EQ(GetPersonClassList(tree, *person, "ClassPerson", c.base), c.expected)
            << (c.header ? c.header : "-") << " / " << (c.local ? c.local : "-");
    }

    tree.GetSettings().set("ClassFamilyLines", "fl-??");
    family->GetLocSettings().set("ClassFamilyLines", "own");
    EXPECT_EQ(GetFamilyClassList(tree, *family, "ClassFamilyLines", ""), "fl-F1 own");
    EXPECT_EQ(GetFamilyClassList(tree, *family, "ClassFamily", ""), "");
}
