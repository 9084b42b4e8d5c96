#pragma once

#include <functional>

#include <QMainWindow>
#include <QPointer>

#include "GEDBrowserHost.h"
#include "GEDBrowserSession.h"

class LoadedGEDCOMClass;
class PlaceKeyClass;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPushButton;

// The GEDCOM browser: a modeless window, one at a time, over a browsing
// session (GEDBrowserSession). It loads a GEDCOM file, lists the persons
// whose names match the partial name, shows the selected person's partners
// and the selected partnership's children, copies persons and families to
// the clipboard from the lists' popup menus and exports the file as a new
// tree definition file. Its state lives in a LoadedGEDCOMClass between
// openings.
class FormKinreader : public QMainWindow, private GEDBrowserHost {
    Q_OBJECT

public:
    // Opens the browser on the holder, owned by oParentForm; when it is open
    // already it is only activated. Errors rise to the caller.
    static void StartLoader(LoadedGEDCOMClass& oDat, QWidget* oParentForm);
    // StartLoader with the program's own holder, made on first use: the
    // GEDCOM commands of the main window and the Tree Designer.
    static void openProgramBrowser(QWidget* owner);
    // The open browser, or null.
    static FormKinreader* openBrowser();
    // The place-key editor "Manage Places ..." opens (a modal dialog that
    // writes into the keys); while the program has none the command logs that
    // it is not available.
    static std::function<void(PlaceKeyClass&, QWidget*)>& placeKeyEditor();

    ~FormKinreader() override;

    GEDBrowserSession& session() { return oSession; }

    // ---- Commands
    void cmdBrowse_Click();
    void mnuExportToTxtFile_Click();
    void mnuClose_Click();
    void mnuURLManagement_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FormKinreader(QWidget* owner);
    void buildControls();
    void buildMenus();
    // Copies the session's fields and small lists into the controls.
    void sync();
    // Runs a command of the session; an error is reported, the controls follow.
    void run(const std::function<void()>& command);
    void handBackFocus();
    void txtMinValidDate_Validate();
    void openPopup(QWidget* list, const QPoint& pos);
    bool isListViewport(QObject* watched) const;

    // GEDBrowserHost
    void logLine(const QString& text, LogColour colour) override;
    void warn(const QString& text) override;
    bool warnDiscard(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void showInformation(const QString& text) override;
    void setClipboardText(const QString& text) override;
    void editPlaceKeys(PlaceKeyClass& keys) override;

    GEDBrowserSession oSession;
    // Set when a browser window was first placed over its owner: later
    // openings in the run are not placed again.
    inline static bool bPositioned = false;
    bool bSyncing = false;
    bool bValidating = false;
    bool bClosingByCommand = false;

    QLabel* lbGEDFile = nullptr;
    QLineEdit* txtGEDFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* lblPartialName = nullptr;
    QLineEdit* txtPartName = nullptr;
    QCheckBox* chkImages = nullptr;
    QLabel* lblMinValidDate = nullptr;
    QLineEdit* txtMinValidDate = nullptr;
    QLabel* lblPersons = nullptr;
    QListView* lbSelected = nullptr;
    QLabel* lblSpouses = nullptr;
    QListWidget* lbSpouses = nullptr;
    QLabel* lbl_Children = nullptr;
    QListWidget* lbChildren = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuExportToTxtFile = nullptr;
    QAction* mnuClose = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuURLManagement = nullptr;

    QMenu* mnuRClickPerson = nullptr;
    QAction* mnuCopyPer = nullptr;
    QAction* mnuCopyPerAllSp = nullptr;
    QAction* mnuShowPerson = nullptr;
    QAction* mnuSelectPerFather = nullptr;
    QAction* mnuSelectPerMother = nullptr;
    QMenu* mnuRClickSpouse = nullptr;
    QAction* mnuCopyPerSp = nullptr;
    QAction* mnuCopyPerSpChild = nullptr;
    QAction* mnuShowSpouse = nullptr;
    QAction* mnuSelectSp = nullptr;
    QAction* mnuSelectSpFather = nullptr;
    QAction* mnuSelectSpMother = nullptr;
    QMenu* mnuRClickChild = nullptr;
    QAction* mnuCopyChild = nullptr;
    QAction* mnuShowChild = nullptr;
    QAction* mnuSelectChild = nullptr;

    inline static QPointer<FormKinreader> openForm;
};
