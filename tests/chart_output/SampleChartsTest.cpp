// The sample tree shipped with the program, loaded from its file and written
// in the four kinds of chart, compared with golden files made with copies of
// the shipped templates and definitions (tests/data/chart_run/). Set
// KV_UPDATE_GOLDEN=1 to write the golden files again after a deliberate change.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "ChartRun.h"
#include "ChartRunSupport.h"
#include "foundation/TextHelpers.h"

namespace {

const QString kData = QStringLiteral(KV_TEST_DATA_DIR "/chart_run");

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (f.isDir())
            copyFolder(f.absoluteFilePath(), to + "/" + f.fileName());
        else
            QFile::copy(f.absoluteFilePath(), to + "/" + f.fileName());
    }
}

// Runs with the current folder set to the tree's folder, as the program does,
// so that the pictures beside the tree are found.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : old_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(old_); }

private:
    QString old_;
};

// Loads the sample tree file into `tree` and applies extra settings.
void loadSample(SVGTree& tree, const QString& file, SVGApplications& apps, Reporter& reporter,
                const QList<std::pair<QString, QString>>& values) {
    tree.setReporter(&reporter);
    tree.setApplications(&apps);
    tree.LoadFile(std::make_shared<SVGDisplay>(), file, false);
    for (const auto& [name, value] : values) tree.GetSettings().set(name, value);
    tree.GetDisplay()->Init(tree.GetSettings());
    tree.SetAppDict(apps.Load(tree.GetSettings()));
}

QString xmlProblem(const QString& text) {
    QXmlStreamReader reader(text);
    while (!reader.atEnd()) reader.readNext();
    return reader.hasError() ? reader.errorString() + " at line " + QString::number(reader.lineNumber()) : QString();
}

class SampleChartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/samples"), dir.path());
        copyFolder(kData + "/templates", dir.filePath("data"));
        copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/SVGcode"), dir.filePath("data/SVGcode"));
        apps.Initialise(kData + "/sample-defs", reporter);
    }

    // Loads the sample afresh and writes its charts with the given settings.
    QStringList run(const QList<std::pair<QString, QString>>& values) {
        tree = std::make_unique<SVGTree>();
        loadSample(*tree, dir.filePath("TreeHarwood.txt"), apps, reporter, values);
        CurrentFolder here(dir.path());
        ChartRun chartRun(*tree, apps, reporter, dir.filePath("data"));
        chartRun.setPictureSize(pngSize);
        return chartRun.ProcessTree(tree->GetTreeFile());
    }

    void compareWithGolden(const QString& chart, const QString& goldenName) {
        const QString text = chartText(chart).replace(sGetVersion(), "VERSION");
        const QString golden = kData + "/golden/" + goldenName;
        if (qEnvironmentVariableIsSet("KV_UPDATE_GOLDEN")) writeFile(golden, text);
        EXPECT_EQ(text, chartText(golden)) << "differs from " << golden.toStdString();
    }

    QTemporaryDir dir;
    RecordingReporter reporter;
    SVGApplications apps;
    std::unique_ptr<SVGTree> tree;
};

const QList<std::pair<QString, QString>> kNoApps = {
    {"InfoPanels", "False"}, {"Timeline", "False"}, {"LinkedTrees", "False"}};

}  // namespace

TEST_F(SampleChartsTest, TheSampleLoadsWithoutWarnings) {
    run({});
    EXPECT_TRUE(reporter.warnings().isEmpty()) << reporter.warnings().join("\n").toStdString();
    EXPECT_EQ(tree->GetPersons().count(), 15);
    EXPECT_EQ(tree->GetFamilies().count(), 5);
    EXPECT_EQ(tree->GetViewpoints().count(), 2);
}

TEST_F(SampleChartsTest, SvgChartWithoutApplications) {
    QList<std::pair<QString, QString>> values = kNoApps;
    values += {{"SVGFile", "True"}, {"Viewpoints", "False"}};
    const QStringList files = run(values);
    ASSERT_EQ(files, QStringList({dir.filePath("TreeHarwood.svg")}));
    EXPECT_TRUE(reporter.logLines().contains("Utilising header file: " + dir.filePath("data/Header.svg")));
    EXPECT_EQ(xmlProblem(chartText(files[0])), "");
    compareWithGolden(files[0], "TreeHarwood.svg");
}

TEST_F(SampleChartsTest, SvgChartWithApplications) {
    const QStringList files = run({{"SVGFile", "True"}, {"Viewpoints", "False"}});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(reporter.logLines().contains("Utilising header file: " + dir.filePath("data/Header_js.svg")));
    EXPECT_EQ(xmlProblem(chartText(files[0])), "");
    compareWithGolden(files[0], "TreeHarwood_js.svg");
}

TEST_F(SampleChartsTest, HtmlCharts) {
    for (const bool panZoom : {false, true}) {
        const QStringList files = run({{"PanZoom", panZoom ? "True" : "False"}, {"Viewpoints", "False"}});
        ASSERT_EQ(files, QStringList({dir.filePath("TreeHarwood.html")}));
        const QString name = panZoom ? "Header_pz.html" : "Header.html";
        EXPECT_TRUE(reporter.logLines().contains("Utilising header file: " + dir.filePath("data/" + name)));
        // The page's drawing is well-formed XML.
        const QString text = chartText(files[0]);
        const qsizetype from = text.indexOf("<svg "), to = text.indexOf("</svg>");
        ASSERT_GE(from, 0);
        ASSERT_GT(to, from);
        EXPECT_EQ(xmlProblem(text.mid(from, to + 6 - from)), "");
        EXPECT_TRUE(text.startsWith("<!DOCTYPE html>"));
        EXPECT_TRUE(text.endsWith("</body>\n</html>\n"));
        compareWithGolden(files[0], panZoom ? "TreeHarwood_pz.html" : "TreeHarwood.html");
    }
}

TEST_F(SampleChartsTest, ViewpointChartsLinkToEachOther) {
    const QStringList files = run({});
    EXPECT_EQ(files, QStringList({dir.filePath("TreeHarwood_harwood.html"), dir.filePath("TreeHarwood_quinn.html")}));
    // John is in both views: each chart links to the other by file name.
    const QString harwood = chartText(files[0]);
    EXPECT_TRUE(harwood.contains("TreeLinkV | quinn | The Quinn family | TreeHarwood_quinn | PH-john | Self"));
    EXPECT_FALSE(harwood.contains(dir.path()));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("SVGcode/support6.js")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("SVGcode/svg-pan-zoom.js")));
}

// The templates and definitions the program ships (share/) make charts whose
// drawing is well-formed, in every kind of chart.
TEST(ShippedTemplatesTest, MakeWellFormedCharts) {
    QTemporaryDir dir;
    copyFolder(QStringLiteral(KV_SOURCE_DIR "/share/samples"), dir.path());
    const QString share = QStringLiteral(KV_SOURCE_DIR "/share");
    RecordingReporter reporter;
    SVGApplications apps;
    apps.Initialise(share, reporter);
    struct Kind {
        const char* name;
        QList<std::pair<QString, QString>> settings;
    };
    const QList<Kind> kinds = {
        // Two viewpoints would enable the linked trees: the whole tree here.
        {"Header.svg",
         {{"SVGFile", "True"}, {"InfoPanels", "False"}, {"Timeline", "False"}, {"LinkedTrees", "False"},
          {"Viewpoints", "False"}}},
        {"Header_js.svg", {{"SVGFile", "True"}}},
        {"Header.html", {{"PanZoom", "False"}}},
        {"Header_pz.html", {{"PanZoom", "True"}}},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        SVGTree tree;
        // A title with characters that XML and scripts treat specially.
        loadSample(tree, dir.filePath("TreeHarwood.txt"), apps, reporter,
                   kind.settings + QList<std::pair<QString, QString>>{{"Title", "Smith & Sons' <tree>"}});
        CurrentFolder here(dir.path());
        ChartRun run(tree, apps, reporter, share);
        run.setPictureSize(pngSize);
        reporter.entries.clear();
        const QStringList files = run.ProcessTree(tree.GetTreeFile());
        ASSERT_EQ(files.size(), tree.UsingViewpoints() ? 2 : 1) << "one chart per viewpoint";
        EXPECT_TRUE(reporter.logLines().contains("Utilising header file: " + share + "/" + kind.name));
        for (const QString& file : files) {
            QString text = chartText(file);
            if (file.endsWith(".html")) {
                const qsizetype from = text.indexOf("<svg "), to = text.indexOf("</svg>");
                ASSERT_GE(from, 0);
                text = text.mid(from, to + 6 - from);
            }
            EXPECT_EQ(xmlProblem(text), "") << file.toStdString();
            EXPECT_FALSE(text.contains("??")) << "every variable and marker is filled";
        }
    }
}
