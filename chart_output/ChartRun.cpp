#include "ChartRun.h"

#include <exception>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ChartDataBlocks.h"
#include "ChartOutputWriter.h"
#include "HeaderTemplate.h"
#include "HeaderVariables.h"
#include "NavigationData.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "TreeDrawing.h"
#include "foundation/AppError.h"
#include "foundation/Reporter.h"
#include "foundation/SafeFileWriter.h"
#include "foundation/TextHelpers.h"

namespace {

constexpr int kLineWidth = 256;
const QString kSource = QStringLiteral("ChartRun");

// Gives the tree the run's reporter for the length of the run (the drawing
// and the viewpoint changes report through the tree), then the old one back.
class TreeReporterScope {
public:
    TreeReporterScope(SVGTree& tree, Reporter* reporter) : tree_(tree), old_(tree.reporter()) {
        tree.setReporter(reporter);
    }
    ~TreeReporterScope() { tree_.setReporter(old_); }
    TreeReporterScope(const TreeReporterScope&) = delete;
    TreeReporterScope& operator=(const TreeReporterScope&) = delete;

private:
    SVGTree& tree_;
    Reporter* old_;
};

// Puts the viewpoint that was current before the run back, quietly, when a
// chart fails part-way; a run that completes restores it itself.
class ViewpointOnFailure {
public:
    explicit ViewpointOnFailure(SVGTree& tree)
        : tree_(tree), key_(tree.GetViewpointKey()), uncaught_(std::uncaught_exceptions()) {}
    ~ViewpointOnFailure() {
        if (std::uncaught_exceptions() <= uncaught_) return;
        Reporter* reporter = tree_.reporter();
        tree_.setReporter(nullptr);
        try {
            tree_.SetViewpointKey(key_);
        } catch (...) {
            // The viewpoint existed when the run began; nothing to report while an error is on its way.
        }
        tree_.setReporter(reporter);
    }
    ViewpointOnFailure(const ViewpointOnFailure&) = delete;
    ViewpointOnFailure& operator=(const ViewpointOnFailure&) = delete;
    const QString& key() const { return key_; }

private:
    SVGTree& tree_;
    QString key_;
    int uncaught_;
};

// The drawing's element, whose id is the chart title, for the pan-and-zoom
// script: a selector for a title that is a plain name, else the element
// looked up by its id, since a title with blanks or punctuation would make
// an invalid selector and leave the chart without pan and zoom.
QString sPanZoomTarget(const QString& title) {
    if (bValidName(title)) return QStringLiteral("'#") + title + u'\'';
    return QStringLiteral("document.getElementById('") + ChartDataBlocks::sScriptString(title) + QStringLiteral("')");
}

}  // namespace

ChartRun::ChartRun(SVGTree& oTree, const SVGApplications& oApps, Reporter& oReporter, const QString& sDataFolder)
    : tree_(oTree), apps_(oApps), reporter_(oReporter), dataFolder_(sDataFolder) {}

QString ChartRun::sOutputBase(const QString& sTreeFile) {
    const qsizetype dot = sTreeFile.lastIndexOf(u'.');
    const qsizetype slash = std::max(sTreeFile.lastIndexOf(u'/'), sTreeFile.lastIndexOf(u'\\'));
    return dot > slash ? sTreeFile.left(dot) : sTreeFile;
}

QStringList ChartRun::ProcessTree(const QString& sTreeFile) {
    TreeReporterScope scope(tree_, &reporter_);
    QStringList written;
    copied_.clear();
    reporter_.logLine(QStringLiteral("Processing loaded tree definition file: ") + sTreeFile);
    treeFolder_ = QFileInfo(sTreeFile).absolutePath();

    SVGDisplay& display = *tree_.GetDisplay();
    const QString extension = display.GetSVGFile() ? QStringLiteral(".svg") : QStringLiteral(".html");
    const QString base = sOutputBase(sTreeFile);
    // The tree links name the other charts by file name alone, so that they
    // still work when the chart folder is published elsewhere.
    const QString baseName = base.mid(base.lastIndexOf(u'/') + 1);

    if (!tree_.GetAppDict()) tree_.SetAppDict(StringDict());
    StringDict& appDict = *tree_.GetAppDict();
    if (tree_.GetViewpoints().count() >= 2 && tree_.UsingViewpoints()) apps_.AddLinkedTrees(appDict);
    apps_.UpdateDictWithSrvs(appDict, display.GetSVGFile(), reporter_);
    apps_.UpdateSettings(appDict, tree_.GetSettings());
    display.Init(tree_.GetSettings());
    const bool svg = display.GetSVGFile();
    LogMouseOperations(appDict);
    // The scripts are in place before the first chart that needs them.
    copySupportScripts(QFileInfo(base).absolutePath(), appDict, svg);

    QString view;
    const ViewpointOnFailure current(tree_);
    const QString& remembered = current.key();
    if (tree_.UsingViewpoints()) {
        // Leave the current viewpoint quietly, so that every file logs the
        // viewpoint it is drawn for.
        tree_.setReporter(nullptr);
        tree_.SetViewpointKey(QString());
        tree_.setReporter(&reporter_);
        const QStringList keys = tree_.GetViewpoints().keys();
        for (const QString& key : keys) {
            tree_.SetViewpointKey(key);
            const QString file = base + u'_' + key + extension;
            ChartDrawContext context{tree_, chartOutput(), &apps_, pictureSize_};
            TreeDrawing drawing(context);
            drawing.UpdateTreeLinks(key, baseName);
            drawing.AddLocalSettings();
            GenerateOutputFile(file, appDict, svg);
            written.append(file);
        }
        tree_.SetViewpointKey(remembered);
        view = base + u'_' + (remembered.isEmpty() ? keys.first() : remembered) + extension;
    } else {
        // The whole tree, even when the designer had a viewpoint current.
        tree_.SetViewpointKey(QString());
        const QString file = base + extension;
        ChartDrawContext context{tree_, chartOutput(), &apps_, pictureSize_};
        TreeDrawing drawing(context);
        drawing.UpdateTreeLinks(QString(), baseName);
        drawing.AddLocalSettings();
        GenerateOutputFile(file, appDict, svg);
        written.append(file);
        if (!remembered.isEmpty()) {
            tree_.setReporter(nullptr);
            tree_.SetViewpointKey(remembered);
        }
        view = file;
    }
    outputFile_ = view;
    return written;
}

void ChartRun::GenerateOutputFile(const QString& sFile, const StringDict& oAppDict, bool bSVGFile) {
    const SVGDisplay& display = *tree_.GetDisplay();
    reporter_.logLine(QStringLiteral("Creating output file: ") + sFile);
    // A writer of this file alone: when an error ends the file early, the
    // writer is destroyed unfinished and its temporary file is discarded.
    ChartOutputWriter out;
    out.OpenOutput(sFile);
    auto line = [&out](const QString& text) { out.WriteOutput(text, false, kLineWidth); };

    const StringDict vars = HeaderVariables::BuildHeaderVars(tree_);
    HeaderTemplate header(tree_, apps_, out, reporter_, dataFolder_, treeFolder_);
    header.WriteHeader(oAppDict, bSVGFile, vars);

    TreeDrawing(ChartDrawContext{tree_, out, &apps_, pictureSize_}).DrawTree();

    ChartDataBlocks data(tree_, apps_, out);
    // Notes and program data stand inside an SVG chart, after the drawing of
    // an HTML page.
    auto notesAndProgData = [&] {
        if (display.GetNotesData()) {
            line(QString());
            data.GenerateNotes();
        }
        if (display.GetProgData()) {
            line(QString());
            data.GenerateProgData();
        }
    };
    if (bSVGFile) notesAndProgData();
    if (display.GetNavData()) {
        line(QString());
        NavigationData(tree_, out).GenerateNavData();
    }
    if (display.GetProgData()) {
        line(QString());
        data.GenerateDataSignatures();
    }
    if (bSVGFile) header.WritePostamble(oAppDict, true, vars);

    line(QString());
    if (!bSVGFile && display.GetPanZoom()) line(QStringLiteral("</g>"));
    line(QStringLiteral("</svg>"));

    if (!bSVGFile) {
        line(QStringLiteral("</div>"));
        if (display.GetPanZoom()) {
            const QString inst = display.GetInst();
            const QStringList script = {
                QString(),
                QStringLiteral("<script>"),
                QStringLiteral("<!-- Pan-Zoom Configuration -->"),
                QStringLiteral("var tp_panZoomTree") + inst + QStringLiteral(" = svgPanZoom(") +
                    sPanZoomTarget(display.GetTitle()) + QStringLiteral(",{"),
                QStringLiteral("    zoomTree: true,"),
                QStringLiteral("    panEnabled: true,"),
                QStringLiteral("    dblClickZoomEnabled: false,"),
                QStringLiteral("    controlIconsEnabled: true,"),
                QStringLiteral("    fit: ") + (display.GetScaled() ? QStringLiteral("true,") : QStringLiteral("false,")),
                QStringLiteral("    center: true,"),
                QStringLiteral("    minZoom: 0.5,"),
                QStringLiteral("    maxZoom: 10"),
                QStringLiteral("    });"),
                QStringLiteral("tp_panZoomTree") + inst + QStringLiteral(".zoomBy(0.98);"),
                QStringLiteral("</script>"),
            };
            for (const QString& l : script) line(l);
        }
        notesAndProgData();
        header.WritePostamble(oAppDict, false, vars);
        line(QStringLiteral("</body>"));
        line(QStringLiteral("</html>"));
    }

    out.CloseOutput();
    reporter_.logLine(QStringLiteral("Output file: ") + sFile + QStringLiteral(" completed"));
}

void ChartRun::LogMouseOperations(const StringDict& oAppDict) {
    reporter_.logLine(QStringLiteral("Logging mouse operations configured for selected interactive applications..."));
    const QStringList clicks = apps_.GetAllRequiredClicks(oAppDict);
    if (clicks.isEmpty()) {
        reporter_.logLine(QStringLiteral("\t(no mouse clicks configured)"));
        return;
    }
    for (const QString& click : clicks) reporter_.logLine(u'\t' + click);
}

void ChartRun::copySupportScripts(const QString& sChartFolder, const StringDict& oAppDict, bool bSVGFile) {
    bool needed = !bSVGFile && tree_.GetDisplay()->GetPanZoom();
    for (const char* library : {"support.js", "navigation.js", "programdata.js"})
        needed = needed || apps_.AnythingRequireLib(oAppDict, QLatin1String(library), bSVGFile);
    if (!needed) return;

    const QDir source(QDir(dataFolder_).filePath(QStringLiteral("SVGcode")));
    const QDir target(QDir(sChartFolder).filePath(QStringLiteral("SVGcode")));
    if (!source.exists() || QFileInfo(source.absolutePath()) == QFileInfo(target.absolutePath())) return;
    if (!target.exists() && !QDir().mkpath(target.absolutePath()))
        raiseError(ErrorOffset::TextFileIO, kSource,
                   QStringLiteral("I/O error: Unable to create folder ") + target.absolutePath());
    for (const QFileInfo& from : source.entryInfoList(QDir::Files, QDir::Name)) {
        const QFileInfo to(target.filePath(from.fileName()));
        if (to.exists() && to.lastModified() >= from.lastModified()) continue;
        // Replaced only by a whole copy, so that a failed copy never leaves
        // half a script in place of a whole one.
        QFile in(from.absoluteFilePath());
        QString failure;
        if (in.open(QIODevice::ReadOnly)) {
            const QByteArray script = in.readAll();
            failure = in.error() == QFileDevice::NoError ? sWriteWholeFile(to.absoluteFilePath(), script)
                                                         : in.errorString();
        } else {
            failure = in.errorString();
        }
        if (!failure.isEmpty())
            raiseError(ErrorOffset::TextFileIO, kSource,
                       QStringLiteral("I/O error: Unable to copy ") + from.absoluteFilePath() + QStringLiteral(" to ") +
                           to.absoluteFilePath() + QStringLiteral(": ") + failure);
        // The copy keeps its source's time, so an unchanged script is not copied again.
        QFile copy(to.absoluteFilePath());
        if (copy.open(QIODevice::ReadWrite)) copy.setFileTime(from.lastModified(), QFileDevice::FileModificationTime);
        copied_.append(to.absoluteFilePath());
    }
    if (!copied_.isEmpty()) reporter_.logLine(QStringLiteral("Support scripts copied to: ") + target.absolutePath());
}
