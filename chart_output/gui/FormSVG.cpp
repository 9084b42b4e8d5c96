#include "FormSVG.h"

#include <sys/utsname.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSysInfo>
#include <QTextBlock>
#include <QTextEdit>

#include "AppError.h"
#include "ChartRun.h"
#include "GEDControlClass.h"
#include "MainWindowLink.h"
#include "PathHelpers.h"
#include "PictureEntry.h"
#include "PlainLoadPicture.h"
#include "ProgramDataFolder.h"
#include "ProgressLog.h"
#include "ShellOpen.h"
#include "TextHelpers.h"
#include "Twips.h"
#include "applications/SVGApplications.h"
#include "tree_model/SVGDisplay.h"
#include "tree_model/SVGTree.h"

namespace {

// Design layout of the client area, in twips.
constexpr int kClientWidth = 12090;
constexpr int kClientHeight = 5625;
constexpr int kRightColumn = 10560;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
constexpr int kTreeFileLeft = 1200;
constexpr int kTreeFileWidth = 9135;
constexpr int kLogTop = 1200;
constexpr int kLogHeight = 3975;

// The distances the resizing keeps: from the right edge to the right-hand
// column, between the text boxes and that column, below the log.
constexpr int kRightColumnDistance = kClientWidth - kRightColumn;
constexpr int kGapBeforeColumn = kRightColumn - (kTreeFileLeft + kTreeFileWidth);
constexpr int kGapBelowLog = kClientHeight - (kLogTop + kLogHeight);

QRect twipRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

const QString kSource = QStringLiteral("FormSVG");
constexpr int kInvalidArgument = 5;

[[noreturn]] void invalidArgument() {
    throw AppError(kInvalidArgument, kSource, QStringLiteral("Invalid procedure call or argument"));
}

// An argument as it would be typed: quoted when it holds a blank.
QString typedArgument(const QString& argument) {
    return argument.contains(u' ') ? u'"' + argument + u'"' : argument;
}

}  // namespace

FormSVG::FormSVG(QWidget* parent)
    : QMainWindow(parent), oApplications(std::make_unique<SVGApplications>()), sDataFolder(programDataFolder()) {
    setObjectName(QStringLiteral("FormSVG"));
    setWindowTitle(QStringLiteral("Kvora"));
    buildControls();
    buildMenus();
    logReporter = std::make_unique<LogReporter>(txtData);
    windowPeers.processTree = [](const ChartRunRequest& request) {
        ChartRun run(request.tree, request.applications, request.reporter, request.dataFolder);
        run.setPictureSize(pictureFileSize);
        run.ProcessTree(request.treeFile);
        return run.GetOutputFile();
    };
    windowPeers.openChart = [](const QString& file, Reporter& reporter) { ShellOpen(file, reporter); };
    windowPeers.exportToGedcom = [](SVGTree& tree, const QString& file) { tree.ExportToGEDCOM(file); };
    MainWindowLink::attach(this, logReporter.get());
}

FormSVG::~FormSVG() {
    if (MainWindowLink::existingWindow() == this) MainWindowLink::attach(nullptr, nullptr);
}

void FormSVG::buildControls() {
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // Names a control, gives it its tooltip and puts it in its place.
    auto place = [](QWidget* control, const char* name, const QString& tip, const QRect& where) {
        control->setObjectName(QLatin1String(name));
        control->setToolTip(tip);
        control->setGeometry(where);
    };
    auto button = [this, &place](QPushButton*& control, const char* name, const QString& caption, const QString& tip,
                                 int top) {
        control = new QPushButton(caption, client);
        place(control, name, tip, twipRect(kRightColumn, top, kButtonWidth, kButtonHeight));
    };

    lbTree = new QLabel(QStringLiteral("Tree File:"), client);
    place(lbTree, "lbTree", QString(), twipRect(240, 240, 855, 255));
    txtTreeFile = new QLineEdit(client);
    place(txtTreeFile, "txtTreeFile", QStringLiteral("Name of tree definition file"),
          twipRect(kTreeFileLeft, 240, kTreeFileWidth, 375));
    button(cmdBrowse, "cmdBrowse", QStringLiteral("Browse..."), QStringLiteral("Select and load tree definition file"),
           240);
    chkVerify = new QCheckBox(QStringLiteral("Verify"), client);
    place(chkVerify, "chkVerify", QStringLiteral("Display each record as loaded from file"),
          twipRect(kRightColumn, 720, 1215, 255));
    lblProgress = new QLabel(QStringLiteral("Progress"), client);
    place(lblProgress, "lblProgress", QString(), twipRect(240, 1320, 855, 255));
    txtData = new QTextEdit(client);
    place(txtData, "txtData", QStringLiteral("Progress messages"),
          twipRect(kTreeFileLeft, kLogTop, kTreeFileWidth, kLogHeight));
    txtData->setReadOnly(true);

    button(cmdDesign, "cmdDesign", QStringLiteral("Design"), QStringLiteral("Launch the graphical Tree Designer"), 1320);
    button(cmdEdit, "cmdEdit", QStringLiteral("Edit"), QStringLiteral("Edit current tree definition file"), 1920);
    button(cmdProcess, "cmdProcess", QStringLiteral("Process"),
           QStringLiteral("Process selected tree definition file to generate HTML/SVG"), 2520);
    button(cmdView, "cmdView", QStringLiteral("View"), QStringLiteral("View the generated HTML/SVG"), 3120);
    button(cmdExit, "cmdExit", QStringLiteral("Exit"), QStringLiteral("Save any changes and close Kvora"), 4680);
    for (QPushButton* b : {cmdDesign, cmdEdit, cmdProcess, cmdView}) b->setEnabled(false);

    connect(cmdBrowse, &QPushButton::clicked, this, &FormSVG::cmdBrowse_Click);
    connect(cmdDesign, &QPushButton::clicked, this, &FormSVG::cmdDesign_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &FormSVG::cmdEdit_Click);
    connect(cmdProcess, &QPushButton::clicked, this, &FormSVG::cmdProcess_Click);
    connect(cmdView, &QPushButton::clicked, this, &FormSVG::cmdView_Click);
    connect(cmdExit, &QPushButton::clicked, this, &FormSVG::cmdExit_Click);
    // The chart View opens belongs to the loaded tree: a box naming another
    // file has none until Process has written it.
    connect(txtTreeFile, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!namesLoadedTree(text)) SetOutputFile(QString());
    });

    client->setMinimumSize(1, 1);
    client->installEventFilter(this);
}

void FormSVG::buildMenus() {
    auto entry = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption,
                        void (FormSVG::*handler)()) {
        action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    auto bar = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    entry(mnuFile, mnuNewTree, "mnuNewTree", QStringLiteral("&New Tree ..."), &FormSVG::mnuNewTree_Click);
    entry(mnuFile, mnuOpenTree, "mnuOpenTree", QStringLiteral("&Open Tree ..."), &FormSVG::mnuOpenTree_Click);
    bar(mnuFile, "mnuBar1");
    entry(mnuFile, mnuLoadGEDCOM, "mnuLoadGEDCOM", QStringLiteral("&Load GEDCOM File..."),
          &FormSVG::mnuLoadGEDCOM_Click);
    entry(mnuFile, mnuExportToGEDCOM, "mnuExportToGEDCOM", QStringLiteral("&Export As GEDCOM file..."),
          &FormSVG::mnuExportToGEDCOM_Click);
    bar(mnuFile, "mnuBar2");
    entry(mnuFile, mnuSaveProgressMsgs, "mnuSaveProgressMsgs", QStringLiteral("Save Progress Messages..."),
          &FormSVG::mnuSaveProgressMsgs_Click);
    bar(mnuFile, "mnuBar3");
    entry(mnuFile, mnuSave, "mnuSave", QStringLiteral("&Save"), &FormSVG::mnuSave_Click);
    entry(mnuFile, mnuSaveAs, "mnuSaveAs", QStringLiteral("Save As..."), &FormSVG::mnuSaveAs_Click);
    entry(mnuFile, mnuExit, "mnuExit", QStringLiteral("E&xit"), &FormSVG::mnuExit_Click);
    for (QAction* a : {mnuExportToGEDCOM, mnuSave, mnuSaveAs}) a->setEnabled(false);

    mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    entry(mnuTools, mnuViewpointManagement, "mnuViewpointManagement", QStringLiteral("Manage Viewpoints ..."),
          &FormSVG::mnuViewpointManagement_Click);
    mnuViewpointManagement->setEnabled(false);
    connect(mnuTools, &QMenu::aboutToShow, this, &FormSVG::mnuTools_Click);

    // The client area opens at its design size.
    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight) + menuBar()->sizeHint().height());
}

bool FormSVG::directive(char letter) const {
    switch (letter) {
    case 'D': return bLaunchTD;
    case 'P': return bProcessSVG;
    case 'L': return bAutoLayout;
    case 'T': return bTopTD;
    case 'B': return bBottomTD;
    case 'I': return bDragIcon;
    default: return false;
    }
}

// ---- Start-up

void FormSVG::logBanner() {
    const std::shared_ptr<GEDControlClass> oCntl = createGEDControl();
    if (!oCntl) throw AppError(kErrorBase + 513, kSource, QStringLiteral("The GEDCOM library libkinread.so cannot be used"));
    LogProgress(QStringLiteral("Kestrova (Kvora), ") + sGetVersion() + QStringLiteral(" (libkinread.so ") +
                oCntl->GetVersion() + QStringLiteral("), by the Kestrova developers"));
}

void FormSVG::logSystem() {
    utsname names{};
    if (uname(&names) != 0) {
        LogProgress(QStringLiteral("Assumed running under Linux. uname failed"), LogColour::Red);
        return;
    }
    LogProgress(QStringLiteral("Running under Linux ") + QSysInfo::kernelVersion() + QStringLiteral(" (build ") +
                QString::fromLocal8Bit(names.version) + QStringLiteral(") ") + QSysInfo::prettyProductName());
}

void FormSVG::Form_Load(const QStringList& arguments) {
    SetOutputFile(QString());
    logBanner();
    logSystem();
    oApplications->Initialise(sDataFolder, *logReporter);

    if (arguments.isEmpty()) return;
    const QString sTreeFile =
        ParseCommandLine(arguments, bLaunchTD, bProcessSVG, bAutoLayout, bTopTD, bBottomTD, bDragIcon);
    if (sTreeFile.isEmpty()) return;

    // The tree's folder becomes current, so that the relative picture and
    // header paths of the tree resolve against it. The tree is then loaded by
    // its full path, which a relative folder would no longer lead to.
    QString sLoad = sTreeFile;
    const qsizetype slash = sTreeFile.lastIndexOf(u'/');
    if (slash >= 0) {
        const QString folder = sTreeFile.left(slash + 1);
        sLoad = sGetFullPath(sTreeFile);
        if (!QDir::setCurrent(folder))
            LogProgress(QStringLiteral("Unable to make the tree's folder current: ") + folder, LogColour::Red);
    }
    if (!LoadTreeFile(sLoad)) return;
    if (bLaunchTD) cmdDesign_Click();
    if (bProcessSVG) cmdProcess_Click();
}

QString FormSVG::ParseCommandLine(const QStringList& arguments, bool& bLaunchTDPar, bool& bProcessSVGPar,
                                  bool& bAutoLayoutPar, bool& bTopTDPar, bool& bBottomTDPar, bool& bDragIconPar) {
    bLaunchTDPar = bProcessSVGPar = bAutoLayoutPar = bTopTDPar = bBottomTDPar = bDragIconPar = false;
    bPlainLoadPicture = false;

    QString file;
    bool haveFile = false;
    // Reports the whole line and ends the reading with what was read.
    auto syntaxError = [&arguments, &file] {
        QStringList typed;
        for (const QString& a : arguments) typed << typedArgument(a);
        ReportError(QStringLiteral("Command-line syntax error: ") + typed.join(u' ').trimmed());
        return file;
    };

    for (const QString& argument : arguments) {
        if (argument.trimmed().isEmpty()) continue;
        const QChar first = argument.front();
        // A switch is "/" or "-" and one character; a longer "-" argument is a
        // switch followed by stray characters. A longer "/" argument is a path.
        const bool isSwitch = (first == u'/' && argument.size() <= 2) || first == u'-';
        if (!isSwitch) {
            if (haveFile) return syntaxError();
            file = argument;
            haveFile = true;
            continue;
        }
        if (argument.size() < 2) return syntaxError();
        switch (argument.at(1).toUpper().unicode()) {
        case u'D': bLaunchTDPar = true; break;
        case u'P': bProcessSVGPar = true; break;
        case u'L': bAutoLayoutPar = true; break;
        case u'T': bTopTDPar = true; break;
        case u'B': bBottomTDPar = true; break;
        case u'I': bDragIconPar = true; break;
        case u'0': bPlainLoadPicture = true; break;
        default: return syntaxError();
        }
        if (argument.size() > 2) return syntaxError();
    }
    return file;
}

bool FormSVG::LoadTreeFile(const QString& sFile) {
    oDisplay = std::make_shared<SVGDisplay>();
    oTree = std::make_shared<SVGTree>(oDisplay);
    oTree->setReporter(logReporter.get());
    oTree->setApplications(oApplications.get());
    oTree->InitDirectives(bLaunchTD, bProcessSVG, bAutoLayout, bTopTD, bBottomTD, bDragIcon);
    try {
        const QString full = sGetFullPath(sFile);
        LogProgress(QStringLiteral("Loading tree definition file: ") + full);
        txtTreeFile->setText(full);
        oTree->LoadFile(oDisplay, sFile, chkVerify->isChecked());
        if (!oDisplay->GetSrcVersion().isEmpty())
            LogProgress(QStringLiteral("Tree definition file generated by ") + oDisplay->GetSrcVersion());
        for (QPushButton* b : {cmdProcess, cmdDesign, cmdEdit}) b->setEnabled(true);
        for (QAction* a : {mnuExportToGEDCOM, mnuSave, mnuSaveAs}) a->setEnabled(true);
        return true;
    } catch (...) {
        reportHandlerError();
        return false;
    }
}

// ---- The chart

void FormSVG::SetOutputFile(const QString& sFile) {
    sOutputFile = sFile;
    cmdView->setEnabled(!sFile.isEmpty());
}

void FormSVG::ProcessTree(const QString& sTreeFile) {
    if (!oTree) return;
    if (!windowPeers.processTree) return logUnavailable(QStringLiteral("Writing charts"));
    const QString viewFile =
        windowPeers.processTree(ChartRunRequest{*oTree, sTreeFile, *oApplications, *logReporter, sDataFolder});
    SetOutputFile(viewFile);
}

void FormSVG::logUnavailable(const QString& what) {
    LogProgress(what + QStringLiteral(" is not available in this version of Kvora"));
}

// ---- Size and closing

bool FormSVG::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client && event->type() == QEvent::Resize) Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void FormSVG::Form_Resize() {
    if (isMinimized()) return;
    const int right = client->width();
    const int bottom = client->height();
    const int columnLeft = right - twipsToPixels(kRightColumnDistance);
    for (QPushButton* b : {cmdBrowse, cmdProcess, cmdEdit, cmdDesign, cmdView, cmdExit}) b->move(columnLeft, b->y());
    chkVerify->move(columnLeft, chkVerify->y());

    // A window too small for the text boxes leaves them as far as they got.
    const int gap = twipsToPixels(kGapBeforeColumn);
    const int fileWidth = cmdBrowse->x() - txtTreeFile->x() - gap;
    if (fileWidth <= 0) return;
    txtTreeFile->resize(fileWidth, txtTreeFile->height());
    const int logWidth = cmdBrowse->x() - txtData->x() - gap;
    if (logWidth <= 0) return;
    txtData->resize(logWidth, txtData->height());
    const int logHeight = bottom - txtData->y() - twipsToPixels(kGapBelowLog);
    if (logHeight <= 0) return;
    txtData->resize(txtData->width(), logHeight);
}

void FormSVG::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT windowClosed();
}

bool FormSVG::Form_QueryUnload() {
    // Only a close the user asks for with the window's close box asks; the
    // Exit command and the end of the session do not.
    if (bClosingByCommand || qApp->isSavingSession()) return true;
    if (!oTree || !oTree->IsUnsaved()) return true;
    return logReporter->askYesNo(kCloseQuestion);
}

// ---- Lines of the progress log

int FormSVG::iLineCount() const { return txtData->document()->blockCount(); }

int FormSVG::iLineFromChar(int iChar) const {
    if (iChar < 0) return -1;
    const QTextBlock block = txtData->document()->findBlock(iChar);
    return block.isValid() ? block.blockNumber() : txtData->document()->blockCount() - 1;
}

int FormSVG::iLineIndex(int iLine) const {
    if (iLine < 0) return -1;
    const QTextBlock block = txtData->document()->findBlockByNumber(iLine);
    return block.isValid() ? block.position() : -1;
}

int FormSVG::iLineLength(int iChar) const {
    if (iChar < 0) invalidArgument();
    return int(sLineAtChar(iChar).size());
}

void FormSVG::GetLineExtent(int iChar, int& iStart, int& iEnd) const {
    if (iChar < -1) invalidArgument();
    if (iChar == -1) iChar = txtData->textCursor().position();
    iStart = iLineIndex(iLineFromChar(iChar));
    iEnd = iStart + iLineLength(iChar);
}

QString FormSVG::sLineAtChar(int iChar) const {
    if (iChar < 0) invalidArgument();
    return sLineText(iLineFromChar(iChar));
}

QString FormSVG::sLineText(int iLine) const { return txtData->document()->findBlockByNumber(iLine).text(); }
