#include "FormBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Downloads.h"
#include "Hourglass.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "NotesPagesText.h"
#include "PathHelpers.h"
#include "PictureEntry.h"
#include "ProgressLog.h"
#include "SVGTree.h"
#include "SelectFileClass.h"

namespace {
QSize savedSize;
bool positioned = false;
constexpr int kFrameWidth = 160;
constexpr int kFrameHeight = 160;
}  // namespace

bool FormBox::EditBox(SVGTree& oTr, const QString& sKey, const SVGApplications* oApps, QWidget* oOwner) {
    FormBox form(oTr, oApps, oOwner);
    form.loadEdit(sKey);
    form.showModal(positioned);
    return form.bOK();
}

QString FormBox::CreateBox(SVGTree& oTr, const SVGApplications* oApps, QWidget* oOwner) {
    FormBox form(oTr, oApps, oOwner);
    form.loadCreate();
    form.showModal(positioned);
    return form.sNewKey();
}

FormBox::FormBox(SVGTree& tree, const SVGApplications* applications, QWidget* parent)
    : EditorDialog(NotesPages::Person, savedSize, tree, applications, parent), model_(tree) {
    setObjectName(QStringLiteral("FormBox"));
    setWindowTitle(QStringLiteral("Create or Edit a Person"));

    auto named = [](QWidget* w, const char* name, const char* tip) {
        w->setObjectName(QString::fromLatin1(name));
        if (tip) w->setToolTip(QString::fromLatin1(tip));
    };
    txtCaption_ = new QLineEdit;
    named(txtCaption_, "txtCaption", "Description to appear in grid box");
    txtShortCap_ = new QLineEdit;
    named(txtShortCap_, "txtShortCap", "Optional shortened alternative to main caption");
    txtKey_ = new QLineEdit;
    named(txtKey_, "txtKey", "Symbolic key for person (alphanumeric, underscores, and hyphens)");
    comSex_ = new QComboBox;
    named(comSex_, "comSex", "Sex: female, male, unknown/unspecified, or indeterminate/other");
    comSex_->addItems({QStringLiteral("Female"), QStringLiteral("Male"), QStringLiteral("Unknown"), QStringLiteral("Other")});
    chkTentative_ = new QCheckBox(QStringLiteral("Tentative parentage"));
    named(chkTentative_, "chkTentative", "Whether association with any parents is tentative");
    chkRootPerson_ = new QCheckBox(QStringLiteral("Set as Root Person"));
    named(chkRootPerson_, "chkRootPerson", "Root person whose direct ancestors are highlighted in browsers");
    cmdEditNames_ = new QPushButton(QStringLiteral("Names"));
    named(cmdEditNames_, "cmdEditNames", "Edit personal names, rather than captions");
    cmdEditNames_->setAutoDefault(false);
    txtEditNames_ = new QPlainTextEdit;
    named(txtEditNames_, "txtEditNames", "Alternative personal names, rather than captions");
    txtEditNames_->setVisible(false);
    txtEditNames_->setMaximumHeight(110);

    comPlace_ = new QComboBox;
    named(comPlace_, "comPlace", "Key of place to find the image file");
    chkLocal_ = new QCheckBox(QStringLiteral("Use local"));
    named(chkLocal_, "chkLocal", "Whether to use local copy of image, or remote (Internet) one");
    txtFile_ = new QLineEdit;
    named(txtFile_, "txtFile", "Name of image file");
    cmdBrowse_ = new QPushButton(QStringLiteral("Browse"));
    named(cmdBrowse_, "cmdBrowse", "Browse for files in selected local place");
    cmdBrowse_->setAutoDefault(false);
    imgPerson_ = new QLabel;
    named(imgPerson_, "imgPerson", nullptr);
    imgPerson_->setFixedSize(kFrameWidth, kFrameHeight);
    imgPerson_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* person = new QFormLayout;
    person->addRow(QStringLiteral("Caption"), txtCaption_);
    person->addRow(QStringLiteral("Shortened"), txtShortCap_);
    person->addRow(QStringLiteral("Key"), txtKey_);
    person->addRow(QStringLiteral("Sex"), comSex_);
    person->addRow(chkTentative_);
    person->addRow(chkRootPerson_);
    person->addRow(cmdEditNames_);
    person->addRow(txtEditNames_);
    auto* image = new QFormLayout;
    image->addRow(new QLabel(QStringLiteral("Image")));
    image->addRow(QStringLiteral("Place"), comPlace_);
    image->addRow(chkLocal_);
    image->addRow(QStringLiteral("File"), txtFile_);
    image->addRow(cmdBrowse_);
    image->addRow(imgPerson_);
    auto* row = new QHBoxLayout;
    row->addLayout(person, 3);
    row->addLayout(image, 2);
    fieldsLayout()->addLayout(row);

    connect(txtCaption_, &QLineEdit::textChanged, this, [this](const QString& caption) {
        // The key follows the caption until the user types one.
        if (!txtKey_->isReadOnly() && !bKeyTyped_) txtKey_->setText(PersonEditModel::KeyFromCaption(caption));
    });
    connect(txtKey_, &QLineEdit::textEdited, this, [this] { bKeyTyped_ = true; });
    connect(cmdEditNames_, &QPushButton::clicked, this, &FormBox::cmdEditNames_Click);
    connect(cmdBrowse_, &QPushButton::clicked, this, &FormBox::cmdBrowse_Click);
    connect(chkLocal_, &QCheckBox::clicked, this, [this] { pictureControlChanged(true); });
    connect(comPlace_, &QComboBox::activated, this, [this] { pictureControlChanged(true); });
    connect(txtFile_, &QLineEdit::editingFinished, this, [this] { pictureControlChanged(false); });
}

void FormBox::loadEdit(const QString& sKey) {
    bLoaded_ = false;
    model_.loadEdit(sKey);
    bOK_ = false;
    bKeyTyped_ = false;
    txtKey_->setReadOnly(true);
    const PersonEditModel::Fields& f = model_.fields();
    txtKey_->setText(f.key);
    txtCaption_->setText(f.caption);
    txtShortCap_->setText(f.shortCaption);
    pages()->load(&tree_, applications_, f.notes, f.tooltips, f.progData, f.locSettings);
    comSex_->setCurrentIndex(f.sex);
    chkTentative_->setChecked(f.tentative);
    chkRootPerson_->setChecked(f.rootPerson);
    txtEditNames_->clear();
    txtEditNames_->setVisible(false);
    FillPlaceKeys();
    SetImageSpec(model_.person() ? model_.person()->GetImage() : QString());
    ShowImage(sResolveImageFile());
    UpdateBrowseState();
    bLoaded_ = true;
}

void FormBox::loadCreate() {
    sNewKey_.clear();
    bLoaded_ = false;
    model_.loadCreate();
    bKeyTyped_ = false;
    txtKey_->setReadOnly(false);
    txtKey_->clear();
    txtCaption_->clear();
    txtShortCap_->clear();
    pages()->load(&tree_, applications_, QString(), QString(), QString(), QString());
    comSex_->setCurrentIndex(1);
    chkTentative_->setChecked(false);
    chkRootPerson_->setChecked(false);
    txtEditNames_->clear();
    txtEditNames_->setVisible(false);
    FillPlaceKeys();
    SetImageSpec(QString());
    ShowImage(sResolveImageFile());
    UpdateBrowseState();
    bLoaded_ = true;
}

void FormBox::showEvent(QShowEvent* event) {
    EditorDialog::showEvent(event);
    txtCaption_->setFocus();
}

void FormBox::FillPlaceKeys() {
    comPlace_->clear();
    const QStringList keys = model_.placeKeys();
    if (keys.isEmpty()) {
        chkLocal_->setChecked(false);
        chkLocal_->setEnabled(false);
        return;
    }
    comPlace_->addItem(QString());
    comPlace_->addItems(keys);
    comPlace_->setCurrentIndex(0);
    chkLocal_->setChecked(true);
    chkLocal_->setEnabled(true);
}

void FormBox::SetImageSpec(const QString& sSpec) {
    const QString warning = model_.SetImageSpec(sSpec);
    txtFile_->setText(model_.fields().file);
    if (!warning.isEmpty()) {
        ReportError(warning);
        return;
    }
    const int index = comPlace_->findText(model_.fields().place, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) comPlace_->setCurrentIndex(index);
}

QString FormBox::sResolveImageFile() {
    Hourglass wait;
    const auto resolved = model_.sResolveImageFile(
        comPlace_->currentText(), txtFile_->text(), chkLocal_->isChecked(),
        [](const QString& url) { return DownloadFileCache(url, &MainWindowLink::reporter()); });
    if (!txtFile_->text().isEmpty() && comPlace_->currentText().isEmpty()) {
        const bool loaded = bLoaded_;
        bLoaded_ = false;
        chkLocal_->setChecked(resolved.local);
        bLoaded_ = loaded;
    }
    if (!resolved.toolTip.isEmpty()) imgPerson_->setToolTip(resolved.toolTip);
    if (!resolved.problem.isEmpty()) ReportError(resolved.problem);
    return resolved.file;
}

void FormBox::ShowImage(const QString& sFile) {
    imgPerson_->clear();
    if (sFile.isEmpty()) return;
    try {
        Hourglass wait;
        const PicturePtr picture = LoadPictureEx(sFile);
        const QImage image = picture ? picture->image() : QImage();
        if (image.isNull()) return;
        const QSizeF shown = fitPicture(image.size(), QSizeF(kFrameWidth, kFrameHeight));
        imgPerson_->setPixmap(QPixmap::fromImage(
            image.scaled(shown.toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    } catch (...) {
        imgPerson_->clear();
        reportHandlerError();
    }
}

void FormBox::UpdateBrowseState() {
    cmdBrowse_->setEnabled(false);
    browseFolder_.clear();
    if (chkLocal_->isChecked() && !comPlace_->currentText().isEmpty()) {
        browseFolder_ = model_.browseFolder(comPlace_->currentText());
        cmdBrowse_->setEnabled(!browseFolder_.isEmpty());
    }
}

void FormBox::pictureControlChanged(bool updateBrowse) {
    if (!bLoaded_) return;
    ++pictureHandlerRuns_;
    try {
        imgPerson_->clear();
        QApplication::processEvents();
        ShowImage(sResolveImageFile());
        if (updateBrowse) UpdateBrowseState();
    } catch (...) {
        reportHandlerError();
    }
}

void FormBox::cmdBrowse_Click() {
    try {
        SelectFileClass select;
        select.CancelError = true;
        select.FileName.clear();
        select.InitialDir = browseFolder_;
        select.Filter = QStringLiteral(
            "All Images (*.jpg, *.png, *.gif, *.tif, *.bmp)|*.jpg;*.png;*.gif;*.tif;*.bmp|All Files (*.*)|*.*");
        select.DefaultExt = QStringLiteral(".jpg");
        select.DialogTitle = QStringLiteral("Select Image File");
        select.ShowOpen();
        QString base, extension;
        sGetFullPath(select.FileName, base, extension);
        // The file is taken as lying directly in the place's folder.
        txtFile_->setText(extension.isEmpty() ? base : base + u'.' + extension);
        imgPerson_->clear();
        QApplication::processEvents();
        ShowImage(sResolveImageFile());
    } catch (...) {
        reportHandlerError();
    }
}

void FormBox::cmdEditNames_Click() {
    if (txtEditNames_->isVisible()) {
        txtEditNames_->setVisible(false);
        return;
    }
    if (!model_.fields().namesLoaded) {
        model_.fields().caption = txtCaption_->text();
        txtEditNames_->setPlainText(model_.namesText());
        model_.fields().namesLoaded = true;
    }
    txtEditNames_->setVisible(true);
}

void FormBox::fieldsFromControls() {
    PersonEditModel::Fields& f = model_.fields();
    f.key = txtKey_->text();
    f.caption = txtCaption_->text();
    f.shortCaption = txtShortCap_->text();
    f.sex = comSex_->currentIndex();
    f.tentative = chkTentative_->isChecked();
    f.rootPerson = chkRootPerson_->isChecked();
    f.place = comPlace_->currentText();
    f.file = txtFile_->text();
    pageTexts(f.notes, f.tooltips, f.progData, f.locSettings);
    f.names = txtEditNames_->toPlainText();
}

void FormBox::cmdExit_Click() {
    try {
        const bool create = model_.createMode();
        fieldsFromControls();
        const QString key = [&] {
            try {
                return model_.ok();
            } catch (...) {
                // The key box shows the key that was proposed.
                if (create) txtKey_->setText(model_.fields().key);
                throw;
            }
        }();
        if (create)
            sNewKey_ = key;
        else
            bOK_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}
