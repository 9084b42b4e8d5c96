#pragma once

#include <memory>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "LogReporter.h"
#include "MainWindowPeers.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;
class SVGApplications;
class SVGDisplay;
class SVGTree;

// The main window and start object of the program: it writes the banner,
// loads the applications, reads the command line and loads the tree it
// names, and offers the commands on the current tree (load, new, edit,
// design, process, view, save, export, leave). It holds the current tree and
// its display settings; its progress log and message boxes are the program's
// reporter.
class FormSVG : public QMainWindow {
    Q_OBJECT

public:
    explicit FormSVG(QWidget* parent = nullptr);
    ~FormSVG() override;

    // ---- Start-up
    // Writes the banner and the system line, loads the applications from the
    // data folder, reads the program's arguments (without the program name)
    // and loads the tree they name, then acts on the switches D and P.
    // Raises an error when the GEDCOM library cannot be used.
    void Form_Load(const QStringList& arguments);
    // Reads the program's arguments: the tree file ("" for none) and the
    // directives D, P, L, T, B and I; also sets or clears bPlainLoadPicture.
    // A bad argument is reported as a command-line syntax error and ends the
    // reading; what was read before stays.
    QString ParseCommandLine(const QStringList& arguments, bool& bLaunchTDPar, bool& bProcessSVGPar,
                             bool& bAutoLayoutPar, bool& bTopTDPar, bool& bBottomTDPar, bool& bDragIconPar);
    // Loads a tree file into a new tree and display; true when it loaded.
    // A failure is reported here.
    bool LoadTreeFile(const QString& sFile);

    // ---- The chart
    // The chart View opens; View is enabled exactly while there is one.
    void SetOutputFile(const QString& sFile);
    QString GetOutputFile() const { return sOutputFile; }
    // Writes the charts of the tree in memory; errors rise to the caller.
    void ProcessTree(const QString& sTreeFile);

    // ---- Commands
    void cmdBrowse_Click();
    void mnuOpenTree_Click();
    void mnuNewTree_Click();
    void cmdEdit_Click();
    void cmdDesign_Click();
    void cmdProcess_Click();
    void cmdView_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void mnuLoadGEDCOM_Click();
    void mnuExportToGEDCOM_Click();
    void mnuSaveProgressMsgs_Click();
    void mnuTools_Click();
    void mnuViewpointManagement_Click();

    // ---- What the window holds
    SVGTree* tree() const { return oTree.get(); }
    std::shared_ptr<SVGTree> treeShared() const { return oTree; }
    LogReporter& reporter() { return *logReporter; }
    SVGApplications& applications() { return *oApplications; }
    MainWindowPeers& peers() { return windowPeers; }
    // Where the applications definitions and chart templates are read from.
    QString dataFolder() const { return sDataFolder; }
    void setDataFolder(const QString& folder) { sDataFolder = folder; }
    bool directive(char letter) const;

    // The unsaved-changes questions.
    static inline const QString kLoadQuestion = QStringLiteral(
        "You may have left unsaved changes in this tree. Are you sure you want to load a new tree definition file?");
    static inline const QString kEditQuestion = QStringLiteral(
        "You may have left unsaved changes in this tree. Are you sure you want to edit the original tree definition "
        "file now?");
    static inline const QString kNewQuestion = QStringLiteral(
        "You may have left unsaved changes in this tree. Are you sure you want to start a new tree definition file?");
    static inline const QString kCloseQuestion = QStringLiteral(
        "You may have left unsaved changes in this tree. Are you sure you want to discard them and leave Kvora?");

    // Follows the name of a tree file that did not load in full when Save is chosen.
    static inline const QString kIncompleteSaveQuestion = QStringLiteral(
        " was not loaded in full, so saving would replace it with only what was loaded. Do you want to save the "
        "tree to another file?");

    // The proposed name of a GEDCOM export of a tree with this title.
    static QString gedcomFileNameFor(const QString& title);

    // ---- Lines of the progress log (0-based lines and character positions)
    int iLineCount() const;
    int iLineFromChar(int iChar) const;
    int iLineIndex(int iLine) const;
    int iLineLength(int iChar) const;
    void GetLineExtent(int iChar, int& iStart, int& iEnd) const;
    QString sLineAtChar(int iChar) const;
    QString sLineText(int iLine) const;

Q_SIGNALS:
    // The window has closed; the program ends.
    void windowClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void logBanner();
    void logSystem();
    void Form_Resize();
    bool Form_QueryUnload();
    // The viewpoint to design: a key, "" for the full tree, "-" for none chosen.
    QString ChooseViewpoint();
    // Asks the unsaved-changes question when a tree is loaded and unsaved;
    // true when the command may go on.
    bool confirmDiscard(const QString& question) const;
    void closeTreeWindows();
    void restoreDesigner();
    // A file from the open or save dialog; the cancel error rises.
    QString chooseTreeFile(bool save) const;
    void logUnavailable(const QString& what);
    // True when the file is the one the current tree was loaded from.
    bool namesLoadedTree(const QString& sFile) const;

    // Controls, named as the commands name them.
    QWidget* client = nullptr;
    QLabel* lbTree = nullptr;
    QLineEdit* txtTreeFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkVerify = nullptr;
    QLabel* lblProgress = nullptr;
    QTextEdit* txtData = nullptr;
    QPushButton* cmdDesign = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdProcess = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdExit = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuNewTree = nullptr;
    QAction* mnuOpenTree = nullptr;
    QAction* mnuLoadGEDCOM = nullptr;
    QAction* mnuExportToGEDCOM = nullptr;
    QAction* mnuSaveProgressMsgs = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuViewpointManagement = nullptr;

    std::unique_ptr<LogReporter> logReporter;
    std::unique_ptr<SVGApplications> oApplications;
    MainWindowPeers windowPeers;
    QString sDataFolder;

    std::shared_ptr<SVGTree> oTree;
    std::shared_ptr<SVGDisplay> oDisplay;
    QString sOutputFile;
    bool bLaunchTD = false;
    bool bProcessSVG = false;
    bool bAutoLayout = false;
    bool bTopTD = false;
    bool bBottomTD = false;
    bool bDragIcon = false;
    // Set while the Exit command closes the window: the close asks nothing.
    bool bClosingByCommand = false;
};
