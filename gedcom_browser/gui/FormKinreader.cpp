#include "FormKinreader.h"

#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "FormHelpers.h"
#include "Hourglass.h"
#include "LoadedGEDCOMClass.h"
#include "MainWindowLink.h"
#include "MenuExec.h"
#include "MessageBoxes.h"
#include "ProgressLog.h"
#include "QtClipboardText.h"
#include "SelectFileClass.h"
#include "WindowPlacement.h"
#include "LogReporter.h"

// ---- Opening

std::function<void(PlaceKeyClass&, QWidget*)>& FormKinreader::placeKeyEditor() {
    static std::function<void(PlaceKeyClass&, QWidget*)> editor;
    return editor;
}

FormKinreader* FormKinreader::openBrowser() { return openForm.data(); }

void FormKinreader::StartLoader(LoadedGEDCOMClass& oDat, QWidget* oParentForm) {
    if (openForm) {
        openForm->show();
        openForm->raise();
        openForm->activateWindow();
        return;
    }
    std::unique_ptr<FormKinreader> form(new FormKinreader(oParentForm));
    form->oSession.open(oDat);
    form->txtMinValidDate->setText(form->oSession.minValidDateText());
    form->sync();
    openForm = form.get();
    form.release()->show();
}

void FormKinreader::openProgramBrowser(QWidget* owner) {
    static std::unique_ptr<LoadedGEDCOMClass> oLoadedGEDCOM;
    if (!oLoadedGEDCOM) oLoadedGEDCOM = std::make_unique<LoadedGEDCOMClass>();
    StartLoader(*oLoadedGEDCOM, owner);
}

FormKinreader::FormKinreader(QWidget* owner) : QMainWindow(owner, Qt::Window), oSession(*this) {
    setObjectName(QStringLiteral("FormKinreader"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("GEDCOM Browser"));
    buildControls();
    buildMenus();
    connect(&oSession, &GEDBrowserSession::changed, this, [this] { sync(); });
    resize(640, 480);
}

FormKinreader::~FormKinreader() {
    // However the window goes, its state goes back into the holder.
    oSession.close();
}

void FormKinreader::buildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto named = [](QWidget* w, const char* name, const QString& tip = QString()) {
        w->setObjectName(QLatin1String(name));
        if (!tip.isEmpty()) w->setToolTip(tip);
    };

    lbGEDFile = new QLabel(QStringLiteral("GEDCOM File:"), client);
    named(lbGEDFile, "lbGEDFile");
    txtGEDFile = new QLineEdit(client);
    txtGEDFile->setReadOnly(true);
    named(txtGEDFile, "txtGEDFile", QStringLiteral("Name of GEDCOM file being loaded"));
    cmdBrowse = new QPushButton(QStringLiteral("Browse..."), client);
    named(cmdBrowse, "cmdBrowse", QStringLiteral("Select and load a GEDCOM file"));
    lblPartialName = new QLabel(QStringLiteral("Partial name:"), client);
    named(lblPartialName, "lblPartialName");
    txtPartName = new QLineEdit(client);
    named(txtPartName, "txtPartName", QStringLiteral("Partial name to help find a specific person"));
    chkImages = new QCheckBox(QStringLiteral("Import image references"), client);
    named(chkImages, "chkImages", QStringLiteral("Import image-file references (see User Guide)"));
    lblMinValidDate = new QLabel(QStringLiteral("Minimum valid year"), client);
    named(lblMinValidDate, "lblMinValidDate");
    txtMinValidDate = new QLineEdit(client);
    txtMinValidDate->setMaxLength(4);
    txtMinValidDate->setMaximumWidth(60);
    named(txtMinValidDate, "txtMinValidDate", QStringLiteral("Minimum valid year to accept"));
    lblPersons = new QLabel(QStringLiteral("Matching persons"), client);
    named(lblPersons, "lblPersons");
    lbSelected = new QListView(client);
    lbSelected->setModel(&oSession.personList());
    lbSelected->setUniformItemSizes(true);
    lbSelected->setEditTriggers(QAbstractItemView::NoEditTriggers);
    named(lbSelected, "lbSelected", QStringLiteral("Persons matching the partial name, given above"));
    lblSpouses = new QLabel(QStringLiteral("Associated spouses"), client);
    named(lblSpouses, "lblSpouses");
    lbSpouses = new QListWidget(client);
    named(lbSpouses, "lbSpouses", QStringLiteral("Spouses associated with the selected person"));
    lbl_Children = new QLabel(QStringLiteral("Associated children"), client);
    named(lbl_Children, "lbl_Children");
    lbChildren = new QListWidget(client);
    named(lbChildren, "lbChildren", QStringLiteral("Children associated with the selected person and spouse"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(lbGEDFile);
    fileRow->addWidget(txtGEDFile, 1);
    fileRow->addWidget(cmdBrowse);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(lblPartialName);
    filterRow->addWidget(txtPartName, 1);
    filterRow->addWidget(chkImages);
    filterRow->addWidget(lblMinValidDate);
    filterRow->addWidget(txtMinValidDate);
    auto* lists = new QGridLayout;
    lists->addWidget(lblPersons, 0, 0);
    lists->addWidget(lbSelected, 1, 0, 3, 1);
    lists->addWidget(lblSpouses, 0, 1);
    lists->addWidget(lbSpouses, 1, 1);
    lists->addWidget(lbl_Children, 2, 1);
    lists->addWidget(lbChildren, 3, 1);
    auto* all = new QVBoxLayout(client);
    all->addLayout(fileRow);
    all->addLayout(filterRow);
    all->addLayout(lists, 1);

    connect(cmdBrowse, &QPushButton::clicked, this, &FormKinreader::cmdBrowse_Click);
    connect(txtPartName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!bSyncing) run([&] { oSession.setPartName(text); });
    });
    connect(chkImages, &QCheckBox::toggled, this, [this](bool on) { oSession.setLoadImages(on); });
    txtMinValidDate->installEventFilter(this);
    connect(lbSelected->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!bSyncing) run([&] { oSession.selectPersonRow(current.isValid() ? current.row() : -1); });
            });
    connect(lbSpouses, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!bSyncing) run([&] { oSession.selectSpouseRow(row); });
    });
    connect(lbChildren, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!bSyncing) run([&] { oSession.selectChildRow(row); });
    });
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(lbSelected), static_cast<QAbstractItemView*>(lbSpouses),
                                    static_cast<QAbstractItemView*>(lbChildren)})
        list->viewport()->installEventFilter(this);
}

void FormKinreader::buildMenus() {
    auto action = [this](QMenu* menu, QAction*& a, const char* name, const QString& caption) {
        a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    action(mnuFile, mnuExportToTxtFile, "mnuExportToTxtFile", QStringLiteral("&Export to File..."));
    mnuExportToTxtFile->setEnabled(false);
    mnuFile->addSeparator();
    action(mnuFile, mnuClose, "mnuClose", QStringLiteral("&Close"));
    mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    action(mnuOptions, mnuURLManagement, "mnuURLManagement", QStringLiteral("Manage Places ..."));
    connect(mnuExportToTxtFile, &QAction::triggered, this, &FormKinreader::mnuExportToTxtFile_Click);
    connect(mnuClose, &QAction::triggered, this, &FormKinreader::mnuClose_Click);
    connect(mnuURLManagement, &QAction::triggered, this, &FormKinreader::mnuURLManagement_Click);

    // The lists' popup menus: the chosen entry is acted on where the menu
    // returns it (popupCommand), not through signals.
    auto popup = [this](QMenu*& menu, const char* name) {
        menu = new QMenu(this);
        menu->setObjectName(QLatin1String(name));
    };
    popup(mnuRClickPerson, "mnuRClickPerson");
    action(mnuRClickPerson, mnuCopyPer, "mnuCopyPer", QStringLiteral("Copy Person"));
    action(mnuRClickPerson, mnuCopyPerAllSp, "mnuCopyPerAllSp", QStringLiteral("Copy Person and All Spouses"));
    mnuRClickPerson->addSeparator();
    action(mnuRClickPerson, mnuShowPerson, "mnuShowPerson", QStringLiteral("Show Details"));
    action(mnuRClickPerson, mnuSelectPerFather, "mnuSelectPerFather", QStringLiteral("Select Father Name"));
    action(mnuRClickPerson, mnuSelectPerMother, "mnuSelectPerMother", QStringLiteral("Select Mother Name"));
    popup(mnuRClickSpouse, "mnuRClickSpouse");
    action(mnuRClickSpouse, mnuCopyPerSp, "mnuCopyPerSp", QStringLiteral("Copy Person and Spouse"));
    action(mnuRClickSpouse, mnuCopyPerSpChild, "mnuCopyPerSpChild", QStringLiteral("Copy Person, Spouse, and Children"));
    mnuRClickSpouse->addSeparator();
    action(mnuRClickSpouse, mnuShowSpouse, "mnuShowSpouse", QStringLiteral("Show Details"));
    action(mnuRClickSpouse, mnuSelectSp, "mnuSelectSp", QStringLiteral("Select Spouse Name"));
    action(mnuRClickSpouse, mnuSelectSpFather, "mnuSelectSpFather", QStringLiteral("Select Father Name"));
    action(mnuRClickSpouse, mnuSelectSpMother, "mnuSelectSpMother", QStringLiteral("Select Mother Name"));
    popup(mnuRClickChild, "mnuRClickChild");
    action(mnuRClickChild, mnuCopyChild, "mnuCopyChild", QStringLiteral("Copy Child"));
    mnuRClickChild->addSeparator();
    action(mnuRClickChild, mnuShowChild, "mnuShowChild", QStringLiteral("Show Details"));
    action(mnuRClickChild, mnuSelectChild, "mnuSelectChild", QStringLiteral("Select Child Name"));
}

// ---- Keeping the controls in step with the session

void FormKinreader::sync() {
    if (bSyncing) return;
    bSyncing = true;
    txtGEDFile->setText(oSession.filename());
    if (txtPartName->text() != oSession.partName()) txtPartName->setText(oSession.partName());
    chkImages->setChecked(oSession.loadImages());
    mnuExportToTxtFile->setEnabled(mnuExportToTxtFile->isEnabled() || oSession.exportEnabled());
    auto fill = [](QListWidget* list, const QStringList& rows, int current) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        if (shown != rows) {
            list->clear();
            list->addItems(rows);
        }
        if (list->currentRow() != current) list->setCurrentRow(current);
    };
    fill(lbSpouses, oSession.spouseRows(), oSession.selectedSpouseRow());
    fill(lbChildren, oSession.childRows(), oSession.selectedChildRow());
    const int personRow = oSession.selectedPersonRow();
    if (lbSelected->currentIndex().row() != personRow || (personRow < 0 && lbSelected->currentIndex().isValid()))
        lbSelected->setCurrentIndex(oSession.personList().index(personRow, 0));
    bSyncing = false;
}

void FormKinreader::run(const std::function<void()>& command) {
    try {
        command();
    } catch (...) {
        reportHandlerError();
    }
    sync();
}

// ---- Commands

void FormKinreader::cmdBrowse_Click() {
    run([this] {
        SelectFileClass dialog;
        dialog.InitialDir = QDir::currentPath();
        dialog.FileName.clear();
        dialog.DialogTitle = QStringLiteral("GEDCOM Browser");
        dialog.Filter = QStringLiteral("GEDCOM Files (*.ged)|*.ged|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".ged");
        dialog.CancelError = true;
        dialog.ShowOpen();
        Hourglass wait;
        oSession.loadFile(dialog.FileName);
    });
}

void FormKinreader::mnuExportToTxtFile_Click() {
    run([this] {
        SelectFileClass dialog;
        dialog.InitialDir = QDir::currentPath();
        dialog.FileName = oSession.proposedExportName();
        dialog.DialogFlags = FileDialogFlag::OverwritePrompt;
        dialog.Filter =
            QStringLiteral("Tree Files (Tree*.txt)|tree*.txt|All Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".txt");
        dialog.DialogTitle = QStringLiteral("Select New Tree Definition File");
        dialog.CancelError = true;
        dialog.ShowSave();
        Hourglass wait;
        oSession.ExportTreeFile(dialog.FileName);
    });
}

void FormKinreader::mnuURLManagement_Click() {
    run([this] { oSession.manageKeys(); });
}

void FormKinreader::mnuClose_Click() {
    bClosingByCommand = true;
    close();
}

void FormKinreader::handBackFocus() {
    QWidget* target = nullptr;
    if (bFormLoaded(QStringLiteral("FormGrid")))
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName().compare(QStringLiteral("FormGrid"), Qt::CaseInsensitive) == 0) target = w;
    if (!target) target = MainWindowLink::existingWindow();
    if (target) target->activateWindow();
}

void FormKinreader::closeEvent(QCloseEvent* event) {
    // The Close command and the close box give the focus back; the program
    // ending does not move it.
    if (bClosingByCommand || event->spontaneous()) handBackFocus();
    bClosingByCommand = false;
    QMainWindow::closeEvent(event);
    // The window is deleted later: its state goes back into the holder now,
    // so that an opening before the deletion starts a new window from it.
    if (event->isAccepted()) {
        oSession.close();
        if (openForm == this) openForm = nullptr;
    }
}

void FormKinreader::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PositionForm(this, bPositioned);
}

void FormKinreader::txtMinValidDate_Validate() {
    if (bValidating) return;
    bValidating = true;
    const bool ok = oSession.setMinValidDateText(txtMinValidDate->text());
    bValidating = false;
    if (!ok) QTimer::singleShot(0, txtMinValidDate, [box = txtMinValidDate] { box->setFocus(); });
}

bool FormKinreader::isListViewport(QObject* watched) const {
    return watched == lbSelected->viewport() || watched == lbSpouses->viewport() || watched == lbChildren->viewport();
}

bool FormKinreader::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtMinValidDate && event->type() == QEvent::FocusOut) {
        txtMinValidDate_Validate();
    } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        // The right button chooses a row only where it opens the row's menu
        // (on release, below); pressing it selects nothing.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && isListViewport(watched)) return true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool plainRight = mouse->button() == Qt::RightButton &&
                                !(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
        for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(lbSelected),
                                        static_cast<QAbstractItemView*>(lbSpouses),
                                        static_cast<QAbstractItemView*>(lbChildren)})
            if (watched == list->viewport() && plainRight) {
                openPopup(list, mouse->position().toPoint());
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormKinreader::openPopup(QWidget* list, const QPoint& pos) {
    auto* view = static_cast<QAbstractItemView*>(list);
    const QModelIndex row = view->indexAt(pos);
    if (!row.isValid()) return;
    view->setCurrentIndex(row);  // runs the list's click behaviour
    QMenu* menu = nullptr;
    if (list == lbSelected) {
        menu = mnuRClickPerson;
        mnuSelectPerFather->setEnabled(oSession.personHasParent(true));
        mnuSelectPerMother->setEnabled(oSession.personHasParent(false));
    } else if (list == lbSpouses) {
        menu = mnuRClickSpouse;
        mnuSelectSp->setEnabled(oSession.spouseRowNamed());
        mnuSelectSpFather->setEnabled(oSession.spouseHasParent(true));
        mnuSelectSpMother->setEnabled(oSession.spouseHasParent(false));
    } else {
        menu = mnuRClickChild;
        mnuSelectChild->setEnabled(oSession.childRowNamed());
    }
    QAction* chosen = MenuExec::current().exec(*menu, view->viewport()->mapToGlobal(pos));
    if (!chosen) return;
    const std::pair<QAction*, void (GEDBrowserSession::*)()> commands[] = {
        {mnuCopyPer, &GEDBrowserSession::copyPerson},
        {mnuCopyPerAllSp, &GEDBrowserSession::copyPersonAndAllSpouses},
        {mnuShowPerson, &GEDBrowserSession::showPersonDetails},
        {mnuSelectPerFather, &GEDBrowserSession::selectPersonFatherName},
        {mnuSelectPerMother, &GEDBrowserSession::selectPersonMotherName},
        {mnuCopyPerSp, &GEDBrowserSession::copyPersonAndSpouse},
        {mnuCopyPerSpChild, &GEDBrowserSession::copyPersonSpouseAndChildren},
        {mnuShowSpouse, &GEDBrowserSession::showSpouseDetails},
        {mnuSelectSp, &GEDBrowserSession::selectSpouseName},
        {mnuSelectSpFather, &GEDBrowserSession::selectSpouseFatherName},
        {mnuSelectSpMother, &GEDBrowserSession::selectSpouseMotherName},
        {mnuCopyChild, &GEDBrowserSession::copyChild},
        {mnuShowChild, &GEDBrowserSession::showChildDetails},
        {mnuSelectChild, &GEDBrowserSession::selectChildName},
    };
    for (const auto& [action, command] : commands)
        if (chosen == action) run([this, command = command] { (oSession.*command)(); });
}

// ---- What the session asks of the program

void FormKinreader::logLine(const QString& text, LogColour colour) { LogProgress(text, colour); }
void FormKinreader::warn(const QString& text) { ReportError(text); }
bool FormKinreader::warnDiscard(const QString& text) { return bReportErrorDiscard(text); }
bool FormKinreader::askYesNo(const QString& text) { return MainWindowLink::reporter().askYesNo(text); }

void FormKinreader::showInformation(const QString& text) {
    MessageBoxes::current().show(QMessageBox::Information, text, QMessageBox::Ok);
}

void FormKinreader::setClipboardText(const QString& text) { QtClipboardText().setText(text); }

void FormKinreader::editPlaceKeys(PlaceKeyClass& keys) {
    if (placeKeyEditor()) placeKeyEditor()(keys, this);
    else LogProgress(QStringLiteral("The place-key editor is not available in this version of Kvora"));
}
