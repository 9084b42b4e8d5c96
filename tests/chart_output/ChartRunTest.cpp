// The chart run: progress lines, the order of blocks in each kind of chart,
// data blocks switched by their settings, one file per viewpoint, failures
// that leave no partial chart, and the support scripts beside the chart.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "ChartRun.h"
#include "ChartRunSupport.h"
#include "FailingDisks.h"

namespace {

class ChartRunTest : public ChartFixture {
protected:
    void SetUp() override {
        ChartFixture::SetUp();
        useTemplate("<!-- header ??inst?? -->\n");
    }
    QStringList process(ChartRun& run) { return run.ProcessTree(tree->GetTreeFile()); }
    QStringList process() {
        ChartRun run(*tree, apps, reporter, path("data"));
        return process(run);
    }
    // Positions of the markers in the text, -1 for a missing one.
    static QList<qsizetype> positions(const QString& text, const QStringList& markers) {
        QList<qsizetype> out;
        for (const QString& m : markers) out.append(text.indexOf(m));
        return out;
    }
    static void expectInOrder(const QString& text, const QStringList& markers) {
        const QList<qsizetype> at = positions(text, markers);
        for (int i = 0; i < markers.size(); ++i) {
            EXPECT_GE(at[i], 0) << "missing: " << markers[i];
            if (i > 0) {
                EXPECT_LT(at[i - 1], at[i]) << markers[i - 1] << " before " << markers[i];
            }
        }
    }
    void addViewpoints(const QStringList& keys) {
        for (const QString& key : keys) {
            auto view = tree->AddViewpoint(key, "View " + key, 3, 3);
            view->AddPerRefFromFile("dad", 1, 1);
            view->AddPerRefFromFile("kid", 2, 1);
        }
    }
};

}  // namespace

TEST_F(ChartRunTest, ProgressLinesOfAWholeTreeRun) {
    settings({{"Panels", "True"}});
    ChartRun run(*tree, apps, reporter, path("data"));
    const QStringList files = process(run);
    const QString chart = path("TreeSmall.html");
    EXPECT_EQ(files, QStringList({chart}));
    EXPECT_EQ(run.GetOutputFile(), chart);
    QStringList expected = {"Processing loaded tree definition file: " + path("TreeSmall.txt"),
                            "Logging mouse operations configured for selected interactive applications..."};
    for (const QString& click : apps.GetAllRequiredClicks(*tree->GetAppDict())) expected.append("\t" + click);
    expected += QStringList{"Creating output file: " + chart, "Utilising header file: " + path("Custom.tpl"),
                            "Output file: " + chart + " completed"};
    QStringList logged = reporter.logLines();
    logged.removeIf([](const QString& l) { return l.startsWith("Support scripts copied to: "); });
    EXPECT_EQ(logged, expected);
    EXPECT_GT(apps.GetAllRequiredClicks(*tree->GetAppDict()).size(), 0);
    EXPECT_TRUE(reporter.warnings().isEmpty());
}

TEST_F(ChartRunTest, RunWithoutApplicationsSaysNoClicksAreConfigured) {
    process();
    EXPECT_EQ(reporter.logLines().mid(1, 2),
              QStringList({"Logging mouse operations configured for selected interactive applications...",
                           "\t(no mouse clicks configured)"}));
}

TEST_F(ChartRunTest, OrderOfBlocksInAnSvgChart) {
    settings({{"Panels", "True"}, {"SVGFile", "True"}, {"NotesData", "True"}, {"ProgData", "True"},
              {"NavData", "True"}});
    process();
    const QString text = chartText(path("TreeSmall.svg"));
    expectInOrder(text, {"<!-- header A -->", "<use ", "id=\"PA_dad\"", "id=\"PA.kid\"", "var ndA_colours",
                         "pd_dataSignatures", "endPanels('A')", "</svg>"});
    EXPECT_TRUE(text.endsWith("endPanels('A');</script>\n\n</svg>\n"));
    EXPECT_FALSE(text.contains("</body>"));
}

TEST_F(ChartRunTest, OrderOfBlocksInHtmlCharts) {
    settings({{"Panels", "True"}, {"NotesData", "True"}, {"ProgData", "True"}, {"NavData", "True"}});
    process();
    QString text = chartText(path("TreeSmall.html"));
    expectInOrder(text, {"<!-- header A -->", "<use ", "var ndA_colours", "pd_dataSignatures", "</svg>\n</div>",
                         "id=\"PA_dad\"", "id=\"PA.kid\"", "endPanels('A')", "</body>\n</html>\n"});
    EXPECT_FALSE(text.contains("</g>\n</svg>"));
    EXPECT_FALSE(text.contains("svgPanZoom"));

    // With pan and zoom the drawing's group closes first and the script
    // follows the drawing; it fits the chart to the window when Scaled.
    for (const bool scaled : {false, true}) {
        settings({{"PanZoom", "True"}, {"Scaled", scaled ? "True" : "False"}, {"Title", "Small"}});
        process();
        text = chartText(path("TreeSmall.html"));
        const QString script = QStringList({"", "</g>", "</svg>", "</div>", "", "<script>",
                                            "<!-- Pan-Zoom Configuration -->",
                                            "var tp_panZoomTreeA = svgPanZoom('#Small',{", "    zoomTree: true,",
                                            "    panEnabled: true,", "    dblClickZoomEnabled: false,",
                                            "    controlIconsEnabled: true,",
                                            scaled ? "    fit: true," : "    fit: false,", "    center: true,",
                                            "    minZoom: 0.5,", "    maxZoom: 10", "    });",
                                            "tp_panZoomTreeA.zoomBy(0.98);", "</script>", "", "<div>"})
                                   .join('\n');
        EXPECT_TRUE(text.contains(script)) << text.toStdString();
        expectInOrder(text, {"pd_dataSignatures", "</g>\n</svg>", "svgPanZoom", "id=\"PA_dad\"", "endPanels"});
    }
}

TEST_F(ChartRunTest, PanZoomFindsADrawingWhoseTitleIsNoPlainName) {
    settings({{"PanZoom", "True"}, {"Title", "The Smiths' tree"}});
    process();
    EXPECT_TRUE(chartText(path("TreeSmall.html"))
                    .contains("var tp_panZoomTreeA = svgPanZoom(document.getElementById('The Smiths\\' tree'),{"));
}

TEST_F(ChartRunTest, EachDataBlockFollowsItsSetting) {
    const QStringList markers = {"id=\"PA_dad\"", "id=\"PA.kid\"", "var ndA_colours", "pd_dataSignatures"};
    for (const bool svg : {false, true}) {
        for (int mask = 0; mask < 8; ++mask) {
            const bool notes = mask & 1, prog = mask & 2, nav = mask & 4;
            SCOPED_TRACE(QStringLiteral("svg %1 notes %2 prog %3 nav %4").arg(svg).arg(notes).arg(prog).arg(nav).toStdString());
            auto b = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
            settings({{"SVGFile", b(svg)}, {"NotesData", b(notes)}, {"ProgData", b(prog)}, {"NavData", b(nav)}});
            process();
            const QString text = chartText(path(svg ? "TreeSmall.svg" : "TreeSmall.html"));
            const QList<bool> expected = {notes, prog, nav, prog};
            const QList<qsizetype> at = positions(text, markers);
            for (int i = 0; i < markers.size(); ++i) EXPECT_EQ(at[i] >= 0, expected[i]) << markers[i];
            // The HTML notes container is written exactly when notes are.
            if (!svg) {
                EXPECT_EQ(text.contains("</div>\n\n<div>\n"), notes);
            }
        }
    }
}

TEST_F(ChartRunTest, OneFilePerViewpointWithTheViewpointLogged) {
    addViewpoints({"A", "B", "C"});
    tree->SetViewpointKey("B");
    ChartRun run(*tree, apps, reporter, path("data"));
    const QStringList files = process(run);
    EXPECT_EQ(files, QStringList({path("TreeSmall_A.html"), path("TreeSmall_B.html"), path("TreeSmall_C.html")}));
    for (const QString& file : files) EXPECT_TRUE(QFileInfo::exists(file)) << file;
    EXPECT_EQ(run.GetOutputFile(), path("TreeSmall_B.html"));
    EXPECT_EQ(tree->GetViewpointKey(), "B");

    QStringList usedAndCreated;
    for (const QString& line : reporter.logLines())
        if (line.startsWith("Using ") || line.startsWith("Creating output file: ")) usedAndCreated.append(line);
    EXPECT_EQ(usedAndCreated,
              QStringList({"Using viewpoint View A", "Creating output file: " + path("TreeSmall_A.html"),
                           "Using viewpoint View B", "Creating output file: " + path("TreeSmall_B.html"),
                           "Using viewpoint View C", "Creating output file: " + path("TreeSmall_C.html"),
                           "Using viewpoint View B"}));
    // Two or more viewpoints enable the linked trees.
    EXPECT_TRUE(tree->GetAppDict()->contains("LinkedTrees"));
    EXPECT_TRUE(reporter.warnings().isEmpty());
    // Each chart shows its viewpoint only.
    const QString a = chartText(path("TreeSmall_A.html"));
    EXPECT_FALSE(a.contains("mum"));
}

TEST_F(ChartRunTest, WithoutACurrentViewpointViewOpensTheFirstViewpointsChart) {
    addViewpoints({"first", "second"});
    ChartRun run(*tree, apps, reporter, path("data"));
    process(run);
    EXPECT_EQ(run.GetOutputFile(), path("TreeSmall_first.html"));
    EXPECT_EQ(tree->GetViewpointKey(), "");
}

TEST_F(ChartRunTest, ASingleViewpointMakesOneFileWithoutLinkedTrees) {
    addViewpoints({"only"});
    EXPECT_EQ(process(), QStringList({path("TreeSmall_only.html")}));
    EXPECT_FALSE(tree->GetAppDict()->contains("LinkedTrees"));
}

TEST_F(ChartRunTest, WithViewpointsSwitchedOffTheWholeTreeIsDrawn) {
    addViewpoints({"A"});
    tree->SetViewpointKey("A");
    settings({{"Viewpoints", "False"}, {"NavData", "True"}});
    ChartRun run(*tree, apps, reporter, path("data"));
    EXPECT_EQ(process(run), QStringList({path("TreeSmall.html")}));
    const QString text = chartText(path("TreeSmall.html"));
    EXPECT_TRUE(text.contains("var ndA_persons = {'dad':0, 'mum':1, 'kid':2, 'other':3, 'lone':4};"));
    EXPECT_EQ(tree->GetViewpointKey(), "A") << "the designer's viewpoint is current again afterwards";
}

TEST_F(ChartRunTest, FileNamesComeFromTheTreeFileName) {
    const QList<std::pair<QString, QString>> cases = {
        {"/a/TreeX.txt", "/a/TreeX"},
        {"/a/TreeX", "/a/TreeX"},
        {"/a.b/TreeX", "/a.b/TreeX"},
        {"/a/Tree.X.txt", "/a/Tree.X"},
        {"C:\\a.b\\TreeX", "C:\\a.b\\TreeX"},
    };
    for (const auto& [file, base] : cases) EXPECT_EQ(ChartRun::sOutputBase(file), base) << file;
}

TEST_F(ChartRunTest, AFailedChartLeavesNoPartialFile) {
    // A chart from an earlier run stays as it was; the failing chart is not
    // written at all, nor are the viewpoints after it.
    addViewpoints({"A", "B", "C"});
    process();
    const QByteArray oldB = fileBytes(path("TreeSmall_B.html"));
    QFile::remove(path("TreeSmall_C.html"));
    ASSERT_FALSE(oldB.isEmpty());

    // A person in view B only has a picture whose size is asked for; the
    // loader fails with an error that is not a picture error.
    auto view = tree->GetViewpoints().value("B");
    auto extra = tree->NewPerson("extra", "Extra", "E", 3, 3, "m", false, "", true);
    view->AddPerRefFromFile("extra", 3, 3);
    ChartRun run(*tree, apps, reporter, path("data"));
    run.setPictureSize([](const QString&) -> QSize { throw std::runtime_error("loader broke"); });
    extra->SetImage(path("Custom.tpl"));  // any existing file
    settings({{"ImagePart", "0.5"}});
    reporter.entries.clear();
    tree->SetViewpointKey("C");
    EXPECT_THROW(process(run), std::runtime_error);
    EXPECT_EQ(tree->GetViewpointKey(), "C") << "the viewpoint current before the run is current again";
    EXPECT_EQ(fileBytes(path("TreeSmall_B.html")), oldB);
    EXPECT_FALSE(QFileInfo::exists(path("TreeSmall_C.html")));
    QDir folder(dir.path());
    EXPECT_TRUE(folder.entryList({"*.html?*", "*~*", "*.tmp"}, QDir::Files | QDir::Hidden).isEmpty())
        << folder.entryList(QDir::Files | QDir::Hidden).join(", ").toStdString();
    EXPECT_FALSE(reporter.logLines().contains("Output file: " + path("TreeSmall_B.html") + " completed"));
}

TEST_F(ChartRunTest, AMissingTemplateEndsTheRunWithTheFileError) {
    settings({{"Header", path("gone.tpl")}});
    ChartRun run(*tree, apps, reporter, path("data"));
    const AppError error = errorOf([&] { process(run); });
    EXPECT_EQ(error.number, errorNumber(ErrorOffset::TextFileIO));
    EXPECT_FALSE(QFileInfo::exists(path("TreeSmall.html")));
    EXPECT_EQ(run.GetOutputFile(), "");
}

TEST_F(ChartRunTest, SupportScriptsAreCopiedBesideChartsThatNeedThem) {
    const QString data = path("data");
    writeFile(data + "/SVGcode/support6.js", "// support\n");
    writeFile(data + "/SVGcode/svg-pan-zoom.js", "// pan and zoom\n");
    const QString copy = path("SVGcode/support6.js");

    // No application and no pan and zoom: nothing is copied.
    process();
    EXPECT_FALSE(QFileInfo::exists(copy));

    settings({{"PanZoom", "True"}});
    ChartRun run(*tree, apps, reporter, data);
    process(run);
    EXPECT_EQ(run.copiedSupportFiles(), QStringList({copy, path("SVGcode/svg-pan-zoom.js")}));
    EXPECT_EQ(fileBytes(copy), "// support\n");

    // A copy as new as its source stays; an older one is replaced.
    process(run);
    EXPECT_TRUE(run.copiedSupportFiles().isEmpty());
    writeFile(copy, "// old\n");
    QFile old(copy);
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    old.close();
    process(run);
    EXPECT_EQ(run.copiedSupportFiles(), QStringList({copy}));
    EXPECT_EQ(fileBytes(copy), "// support\n");

    // An SVG chart whose applications need a support library gets them too.
    QDir(path("SVGcode")).removeRecursively();
    settings({{"PanZoom", "False"}, {"SVGFile", "True"}, {"Panels", "True"}});
    process(run);
    EXPECT_TRUE(QFileInfo::exists(copy));
}

// A full disk ends the run with the system's reason: a chart, or a support
// script, that cannot be written whole leaves the old one as it was, and the
// chart is not reported completed.
TEST_F(ChartRunTest, AFullDiskLeavesTheOldChartAndScriptsAndSaysWhy) {
    SmallFileSystem disk;
    if (!disk.unavailable().isEmpty()) GTEST_SKIP() << "No small full disk: " << disk.unavailable().toStdString();
    const QString data = path("data");
    writeFile(data + "/SVGcode/support6.js", QString(20000, u's'));
    tree->SetTreeFile(disk.path("TreeSmall.txt"));
    const QString chart = disk.path("TreeSmall.html");
    const QString script = disk.path("SVGcode/support6.js");
    writeFile(chart, "old chart");
    writeFile(script, "// old");
    QFile old(script);
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    old.close();
    disk.leaveFree(0);

    for (const bool panZoom : {false, true}) {
        SCOPED_TRACE(panZoom ? "support script" : "chart");
        settings({{"PanZoom", panZoom ? "True" : "False"}});
        reporter.entries.clear();
        ChartRun run(*tree, apps, reporter, data);
        const AppError error = errorOf([&] { process(run); });
        EXPECT_EQ(error.number, errorNumber(ErrorOffset::TextFileIO));
        EXPECT_EQ(error.description, panZoom ? "I/O error: Unable to copy " + data + "/SVGcode/support6.js to " +
                                                   script + ": No space left on device"
                                             : "I/O error: Unable to write file " + chart + ": No space left on device");
        EXPECT_EQ(fileBytes(chart), "old chart");
        EXPECT_EQ(fileBytes(script), "// old");
        EXPECT_FALSE(reporter.logLines().contains("Output file: " + chart + " completed"));
    }
}
