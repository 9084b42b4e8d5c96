// The main window's Design command and start-up switches open the Tree Designer.
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "FormGrid.h"
#include "FormSVG.h"
#include "ProgramRun.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "SVGTree.h"
#include "ucGridBox.h"

namespace {

QString writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return path;
}

TEST(DesignCommand, OpensTheDesignerOnTheLoadedTreeAndOnTheChosenViewpoint) {
    QTemporaryDir dir;
    const QString start = QDir::currentPath();
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    {
        FormSVG window;
        window.setDataFolder(QStringLiteral(KV_SOURCE_DIR "/share"));
        window.peers().openDesigner = [&window](const std::shared_ptr<SVGTree>& tree, const QString& key) {
            FormGrid::OpenDesigner(&window, tree, key);
        };
        const QString tree = writeFile(dir.filePath("TreeViews.txt"),
                                       "H Title=Views,Viewpoints=True,DesCols=6,DesRows=4\nP ann=f(1,1):Ann|A|\n"
                                       "P bob=m(2,1):Bob|B|\n\nV first=First view|3,2\n\np ann(2,2)\n\n"
                                       "V second=Second view|2,1\n");
        ASSERT_TRUE(window.LoadTreeFile(tree));

        menus.choose("(Full Tree)");
        window.cmdDesign_Click();
        FormGrid* designer = window.findChild<FormGrid*>();
        ASSERT_TRUE(designer);
        EXPECT_TRUE(designer->isVisible());
        EXPECT_EQ(designer->tree(), window.tree());
        EXPECT_EQ(designer->windowTitle(), "Tree Designer - Views (6 x 4)");
        EXPECT_EQ(designer->boxCount(), 2);

        menus.choose("First view");
        window.cmdDesign_Click();
        EXPECT_EQ(window.findChildren<FormGrid*>().size(), 1) << "one designer, opened again";
        EXPECT_EQ(designer->windowTitle(), "Tree Designer - Views, viewpoint First view (3 x 2)");
        ASSERT_EQ(designer->boxCount(), 1);
        EXPECT_EQ(designer->box(designer->model().geometry().iCellIndex(2, 2))->Tag, "ann");
        EXPECT_TRUE(boxes.shown.isEmpty());
    }
    QDir::setCurrent(start);
}

// The chart files a run of the program wrote into a folder.
QStringList chartsIn(const QString& folder) {
    return QDir(folder).entryList({"*.html", "*.svg"}, QDir::Files);
}

// Starts the built program on a tree with switches and waits for its chart.
QByteArray runProgram(const QString& folder, const QStringList& switches) {
    const QString tree = writeFile(QDir(folder).filePath("TreeStart.txt"),
                                   "H Title=Start,DesCols=12,DesRows=8\n"
                                   "P dad=m(9,1):Dad|D|\nP mum=f(3,4):Mum|M|\nP kid=m(7,7):Kid|K|\n\n"
                                   "F fam=dad+mum:kid\n");
    const bool running = runProgramUntil(QStringLiteral(KV_BUILD_DIR "/bin/kvora"), QStringList{tree} + switches,
                                         folder, [&folder] { return !chartsIn(folder).isEmpty(); });
    EXPECT_TRUE(running) << "the program ended after start-up";
    const QStringList charts = chartsIn(folder);
    if (charts.isEmpty()) {
        ADD_FAILURE() << "no chart was written";
        return {};
    }
    QFile chart(QDir(folder).filePath(charts.first()));
    chart.open(QIODevice::ReadOnly);
    return chart.readAll();
}

TEST(DesignCommand, StartUpSwitchesDesignLayOutThenProcess) {
    QTemporaryDir plain, laidOut;
    const QByteArray asStored = runProgram(plain.path(), {"/P"});
    const QByteArray afterLayout = runProgram(laidOut.path(), {"/D", "/L", "/P"});
    ASSERT_FALSE(asStored.isEmpty());
    ASSERT_FALSE(afterLayout.isEmpty());
    // The designer opened and laid the tree out before the chart was written:
    // the chart shows the new places, not the stored ones.
    EXPECT_NE(asStored, afterLayout);
    EXPECT_TRUE(afterLayout.contains("<svg"));
}

}  // namespace
