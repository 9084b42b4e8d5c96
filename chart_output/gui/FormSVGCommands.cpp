// The commands of the main window: its buttons and menus.
#include "FormSVG.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

#include "AppError.h"
#include "Hourglass.h"
#include "PopupMenuClass.h"
#include "ProgressLog.h"
#include "SelectFileClass.h"
#include "ShellHelpers.h"
#include "PathHelpers.h"
#include "ShellOpen.h"
#include "TreeEditorCommand.h"
#include "WriteTextFile.h"
#include "tree_model/SVGDisplay.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

namespace {

const QString kTreeFilter =
    QStringLiteral("Tree Files (Tree*.txt)|tree*.txt|All Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

constexpr int kNormalFocus = 1;
constexpr int kEditorFailedOffset = 513;

// The windows that work on the main window's tree and close before it is replaced.
const char* const kTreeWindows[] = {"FormGrid", "FormViewpoints"};

QWidget* programWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0 ||
            QString::fromLatin1(w->metaObject()->className()).compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

// A tree chosen in a dialog is loaded from its own folder, as at start-up, so
// that the relative picture and header paths it holds resolve against it.
void makeFolderCurrent(const QString& file) { QDir::setCurrent(QFileInfo(file).absolutePath()); }

}  // namespace

QString FormSVG::gedcomFileNameFor(const QString& title) {
    if (title.startsWith(QLatin1String("Tree"), Qt::CaseInsensitive)) return title + QStringLiteral(".ged");
    return QStringLiteral("Tree") + title + QStringLiteral(".ged");
}

bool FormSVG::confirmDiscard(const QString& question) const {
    if (!oTree || !oTree->IsUnsaved()) return true;
    return logReporter->askYesNo(question);
}

void FormSVG::closeTreeWindows() {
    for (const char* name : kTreeWindows)
        if (QWidget* w = programWindow(QLatin1String(name))) w->close();
}

void FormSVG::restoreDesigner() {
    QWidget* designer = programWindow(QStringLiteral("FormGrid"));
    if (designer && designer->isMinimized()) designer->showNormal();
}

QString FormSVG::chooseTreeFile(bool save) const {
    SelectFileClass dialog;
    dialog.InitialDir = QDir::currentPath();
    dialog.FileName.clear();
    dialog.CancelError = true;
    dialog.Filter = kTreeFilter;
    dialog.DefaultExt = QStringLiteral(".txt");
    if (save) {
        dialog.DialogTitle = QStringLiteral("Select New Tree Definition File");
        dialog.DialogFlags = FileDialogFlag::OverwritePrompt;
        dialog.ShowSave();
    } else {
        dialog.DialogTitle = QStringLiteral("Select Tree Definition File");
        dialog.ShowOpen();
    }
    return dialog.FileName;
}

// ---- Loading and starting trees

void FormSVG::cmdBrowse_Click() {
    try {
        const bool bWasUnsaved = oTree && oTree->IsUnsaved();
        if (!confirmDiscard(kLoadQuestion)) return;
        closeTreeWindows();
        const QString sFile = chooseTreeFile(false);
        // The tree counts as given up only once another file is chosen: a
        // cancelled dialog leaves it as unsaved as it was.
        if (bWasUnsaved) {
            oTree->SetUnsaved(false);
            oTree->ClearPendingEvents();
        }
        SetOutputFile(QString());
        makeFolderCurrent(sFile);
        LoadTreeFile(sFile);
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::mnuOpenTree_Click() { cmdBrowse_Click(); }

void FormSVG::mnuNewTree_Click() {
    try {
        const bool bWasUnsaved = oTree && oTree->IsUnsaved();
        if (!confirmDiscard(kNewQuestion)) return;
        const QString sFile = chooseTreeFile(true);
        if (bWasUnsaved) {
            oTree->SetUnsaved(false);
            oTree->ClearPendingEvents();
        }
        LogProgress(QStringLiteral("Creating new tree definition file: ") + sFile);
        WriteTextFile out;
        out.OpenFile(sFile, false);
        out.WriteLine(QStringLiteral("H "));
        out.CloseFile();
        SetOutputFile(QString());
        makeFolderCurrent(sFile);
        LoadTreeFile(sFile);
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::cmdEdit_Click() {
    try {
        if (oTree && oTree->IsUnsaved()) {
            if (!logReporter->askYesNo(kEditQuestion)) return;
            oTree->SetUnsaved(false);
            oTree->ClearPendingEvents();
        }
        if (txtTreeFile->text().isEmpty()) return;
        closeTreeWindows();
        const QString sEditor = treeEditorCommand();
        const QString sFile = txtTreeFile->text();
        LogProgress(QStringLiteral("Editing tree definition file: ") + sFile + QStringLiteral(" using ") + sEditor);
        double dTaskId = 0;
        const QString failure =
            sShellCommand(sEditor + QStringLiteral(" \"") + sFile + u'"', true, kNormalFocus, dTaskId);
        if (!failure.isEmpty()) raiseError(kEditorFailedOffset, QStringLiteral("sShellCommand"), failure);
        SetOutputFile(QString());
        // The file box can only be empty here when it was cleared while the
        // editor ran: there is then no file to load again.
        if (txtTreeFile->text().isEmpty()) return;
        LoadTreeFile(txtTreeFile->text());
    } catch (...) {
        reportHandlerError();
    }
}

// ---- Designing, charts

QString FormSVG::ChooseViewpoint() {
    PopupMenuClass menu;
    menu.Add(1, QStringLiteral("(Full Tree)"));
    QStringList keys;
    for (const auto& kv : oTree->GetViewpoints()) {
        keys << kv.first;
        menu.Add(int(keys.size()) + 1, kv.second->GetName());
    }
    const int chosen = menu.Show(this, -1, -1);
    if (chosen == 1) return QString();
    if (chosen >= 2 && chosen - 2 < keys.size()) return keys.at(chosen - 2);
    return QStringLiteral("-");
}

void FormSVG::cmdDesign_Click() {
    try {
        restoreDesigner();
        if (txtTreeFile->text().isEmpty() || !oTree) return;
        QString sViewpoint;
        if (oTree->UsingViewpoints()) {
            sViewpoint = ChooseViewpoint();
            if (sViewpoint == u"-") return;
        }
        if (windowPeers.openDesigner)
            windowPeers.openDesigner(oTree, sViewpoint);
        else
            logUnavailable(QStringLiteral("The Tree Designer"));
        SetOutputFile(QString());
    } catch (...) {
        reportHandlerError();
    }
}

bool FormSVG::namesLoadedTree(const QString& sFile) const {
    return oTree && sGetFullPath(sFile) == sGetFullPath(oTree->GetTreeFile());
}

void FormSVG::cmdProcess_Click() {
    try {
        const QString sFile = txtTreeFile->text();
        if (sFile.isEmpty()) return;
        // A file typed into the box is the one the user means: it is loaded
        // first, as Open Tree would, so that its own chart is written.
        if (!namesLoadedTree(sFile)) {
            const bool bWasUnsaved = oTree && oTree->IsUnsaved();
            if (!confirmDiscard(kLoadQuestion)) return;
            closeTreeWindows();
            if (bWasUnsaved) {
                oTree->SetUnsaved(false);
                oTree->ClearPendingEvents();
            }
            SetOutputFile(QString());
            const QString full = sGetFullPath(sFile);
            makeFolderCurrent(full);
            if (!LoadTreeFile(full)) return;
        }
        Hourglass wait;
        ProcessTree(txtTreeFile->text());
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::cmdView_Click() {
    try {
        if (txtTreeFile->text().isEmpty() || sOutputFile.isEmpty()) return;
        LogProgress(QStringLiteral("Viewing output file in browser: ") + sOutputFile);
        if (windowPeers.openChart)
            windowPeers.openChart(sOutputFile, *logReporter);
        else
            ShellOpen(sOutputFile, *logReporter);
    } catch (...) {
        reportHandlerError();
    }
}

// ---- Saving and leaving

void FormSVG::mnuSave_Click() {
    try {
        if (!oTree) return;
        // What did not load would be lost by writing over the file: the tree
        // may only go to another file.
        if (oTree->IsIncompletelyLoaded()) {
            if (logReporter->askYesNo(QStringLiteral("The tree definition file ") + oTree->GetTreeFile() +
                                      kIncompleteSaveQuestion))
                mnuSaveAs_Click();
            return;
        }
        oTree->SaveToFile();
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::mnuSaveAs_Click() {
    try {
        if (!oTree) return;
        const bool saved = oTree->SaveAs([] {
            SelectFileClass dialog;
            dialog.Filter = QLatin1String(SVGTree::kSaveAsFilter);
            dialog.DefaultExt = QLatin1String(SVGTree::kSaveAsDefaultExt);
            dialog.DialogTitle = QLatin1String(SVGTree::kSaveAsTitle);
            dialog.InitialDir = QDir::currentPath();
            dialog.DialogFlags = FileDialogFlag::OverwritePrompt;
            dialog.CancelError = true;
            dialog.ShowSave();
            return dialog.FileName;
        });
        if (saved) txtTreeFile->setText(oTree->GetTreeFile());
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::cmdExit_Click() {
    try {
        if (oTree && oTree->IsUnsaved()) {
            // A tree that did not load in full is never written over its
            // file unasked: the user decides, as with the close box.
            if (oTree->IsIncompletelyLoaded()) {
                if (!logReporter->askYesNo(kCloseQuestion)) return;
            } else {
                oTree->SaveToFile();
            }
        }
        bClosingByCommand = true;
        close();
        bClosingByCommand = false;
    } catch (...) {
        bClosingByCommand = false;
        reportHandlerError();
    }
}

void FormSVG::mnuExit_Click() { cmdExit_Click(); }

// ---- Other windows, export, the log

void FormSVG::mnuLoadGEDCOM_Click() {
    try {
        if (windowPeers.openGedcomBrowser)
            windowPeers.openGedcomBrowser(this);
        else
            logUnavailable(QStringLiteral("The GEDCOM browser"));
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::mnuExportToGEDCOM_Click() {
    try {
        if (!oTree) return;
        if (!windowPeers.exportToGedcom) return logUnavailable(QStringLiteral("Export to GEDCOM"));
        SelectFileClass dialog;
        dialog.InitialDir = QDir::currentPath();
        dialog.FileName = gedcomFileNameFor(oTree->GetDisplay()->GetTitle());
        dialog.CancelError = true;
        dialog.Filter = QStringLiteral("GEDCOM Files (*.ged)|*.ged|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".ged");
        dialog.DialogTitle = QStringLiteral("Select New GEDCOM File");
        dialog.DialogFlags = FileDialogFlag::OverwritePrompt;
        dialog.ShowSave();
        windowPeers.exportToGedcom(*oTree, dialog.FileName);
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::mnuSaveProgressMsgs_Click() {
    try {
        const int length = txtData->document()->characterCount() - 1;
        if (length <= 0) return;
        SelectFileClass dialog;
        dialog.InitialDir = QDir::currentPath();
        dialog.FileName.clear();
        dialog.CancelError = true;
        dialog.Filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".txt");
        dialog.DialogTitle = QStringLiteral("Select New Text File For Messages");
        dialog.DialogFlags = FileDialogFlag::OverwritePrompt | FileDialogFlag::NoChangeDir;
        dialog.ShowSave();

        WriteTextFile out;
        out.OpenFile(dialog.FileName, false);
        const QTextCursor selection = txtData->textCursor();
        int firstLine = 0;
        int lastLine = iLineFromChar(length - 1);
        if (selection.hasSelection()) {
            firstLine = iLineFromChar(selection.selectionStart());
            lastLine = iLineFromChar(selection.selectionEnd() - 1);
        }
        for (int line = firstLine; line <= lastLine; ++line) out.WriteLine(sLineText(line));
        out.CloseFile();
    } catch (...) {
        reportHandlerError();
    }
}

void FormSVG::mnuTools_Click() {
    mnuViewpointManagement->setEnabled(oTree && oTree->GetDisplay()->GetViewpoints());
}

void FormSVG::mnuViewpointManagement_Click() {
    try {
        if (!oTree) return;
        windowPeers.manageViewpoints(oTree, this);
    } catch (...) {
        reportHandlerError();
    }
}
