#include "FormSettings.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogFrame.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "PathHelpers.h"
#include "PlaceKeyClass.h"
#include "ProgressLog.h"
#include "SVGTree.h"
#include "SelectFileClass.h"
#include "WindowPlacement.h"

namespace {
// Caption and tooltip of each switch, in the order of TreeSettingsModel::switches().
struct SwitchText {
    const char* caption;
    const char* tooltip;
};
constexpr SwitchText kSwitchTexts[] = {
    {"Horizontal", "Horizontal orientation rather than vertical"},
    {"Small Font", "Use smaller font in person boxes"},
    {"Stepped Grid", "Whether successive grid rows are offset from each other"},
    {"Target for Blog", "Change several parameters for best use in a blog"},
    {"Rounded Corners", "Put rounded corners on person-boxes and any embedded buttons"},
    {"Generate SVG File", "Generate SVG file rather than HTML file"},
    {"Include Pan-Zoom", "Include Pan-Zoom support to better pan and zoom SVG images in your browser"},
    {"Fanned Lines", "Use angled child lines rather than horizontal and vertical"},
    {"Opaque boxes", "Make family tree boxes opaque rather than translucent"},
    {"Scaled", "Whether tree is to be scaled or scrolled"},
    {"Viewpoints", "Whether viewpoints are enabled or not"},
    {"Use Information Panels", "Generate pop-up information panels"},
    {"Use Tooltips", "Generate browser tooltips (for when hovering)"},
    {"Timeline", "Generate timeline reports"},
};
constexpr char kSexLetters[] = {'F', 'M', 'U', 'X'};
constexpr const char* kSexCaptions[] = {"Female", "Male", "Unknown", "Other"};
constexpr const char* kSexTooltips[] = {"Name of image file for female sex", "Name of image file for male sex",
                                        "Name of image file for unknown/unspecified sex",
                                        "Name of image file for other/indeterminate sex"};

QLineEdit* textBox(const QString& name, const QString& tooltip) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setToolTip(tooltip);
    return box;
}
}  // namespace

bool FormSettings::EditSettings(SVGTree& oTr, const SVGApplications& apps, QWidget* owner) {
    Reporter& reporter = MainWindowLink::reporter();
    TreeSettingsModel model;
    model.load(oTr, reporter);
    FormSettings form(model, oTr, apps, reporter, owner);
    form.exec();
    return form.saved();
}

FormSettings::FormSettings(TreeSettingsModel& model, SVGTree& tree, const SVGApplications& apps, Reporter& reporter,
                           QWidget* parent)
    : QDialog(parent), model_(model), tree_(tree), apps_(apps), reporter_(reporter) {
    setObjectName(QStringLiteral("FormSettings"));
    setWindowTitle(QStringLiteral("Tree Settings"));

    txtTitle_ = textBox(QStringLiteral("txtTitle"), QStringLiteral("Title word. Used in HTML and SVG code"));
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Tree Title")), 0, 0);
    top->addWidget(txtTitle_, 0, 1);

    auto* switchGrid = new QGridLayout;
    const QList<TreeSettingsModel::Switch>& keys = TreeSettingsModel::switches();
    for (int i = 0; i < keys.size(); ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kSwitchTexts[i].caption));
        box->setObjectName(QStringLiteral("chk") + keys[i].key);
        box->setToolTip(QString::fromUtf8(kSwitchTexts[i].tooltip));
        switchGrid->addWidget(box, i / 2, i % 2);
        switches_.append(box);
    }
    connect(checkBox(QStringLiteral("SVGFile")), &QCheckBox::toggled, this, &FormSettings::chkSVGFile_Click);
    auto* events = new QGroupBox(QStringLiteral("Event Handling"));
    events->setLayout(switchGrid);

    txtImagePart_ = textBox(QStringLiteral("txtImagePart"),
                            QStringLiteral("Proportion of person box to use for image, or 0 to suppress images"));
    txtCols_ = textBox(QStringLiteral("txtCols"), QStringLiteral("Number of columns to show in Tree Designer"));
    txtRows_ = textBox(QStringLiteral("txtRows"), QStringLiteral("Number of rows to show in Tree Designer"));
    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel(QStringLiteral("Image Proportion")), 0, 0);
    sizes->addWidget(txtImagePart_, 0, 1);
    auto* designer = new QGroupBox(QStringLiteral("Tree Designer"));
    auto* designerGrid = new QGridLayout(designer);
    designerGrid->addWidget(new QLabel(QStringLiteral("Columns")), 0, 0);
    designerGrid->addWidget(txtCols_, 0, 1);
    designerGrid->addWidget(new QLabel(QStringLiteral("Rows")), 1, 0);
    designerGrid->addWidget(txtRows_, 1, 1);
    sizes->addWidget(designer, 1, 0, 1, 2);

    auto* stock = new QGroupBox(QStringLiteral("Stock images for person boxes"));
    auto* stockGrid = new QGridLayout(stock);
    for (int s = 0; s < 4; ++s) {
        const QString letter = QChar::fromLatin1(kSexLetters[s]);
        comPlace_[s] = new QComboBox;
        comPlace_[s]->setObjectName(QStringLiteral("comPlace") + letter);
        comPlace_[s]->setToolTip(QStringLiteral("Key of place to find the image file"));
        txtImage_[s] = textBox(QStringLiteral("txtImage") + letter, QString::fromUtf8(kSexTooltips[s]));
        cmdBrowse_[s] = new QPushButton(QStringLiteral("Browse"));
        cmdBrowse_[s]->setObjectName(QStringLiteral("cmdBrowse") + letter);
        cmdBrowse_[s]->setToolTip(QStringLiteral("Browse for files in selected local place"));
        cmdBrowse_[s]->setAutoDefault(false);
        connect(cmdBrowse_[s], &QPushButton::clicked, this, [this, s] { BrowseStockImage(s); });
        stockGrid->addWidget(new QLabel(QStringLiteral("Place")), s, 0);
        stockGrid->addWidget(comPlace_[s], s, 1);
        stockGrid->addWidget(new QLabel(QString::fromUtf8(kSexCaptions[s])), s, 2);
        stockGrid->addWidget(txtImage_[s], s, 3);
        stockGrid->addWidget(cmdBrowse_[s], s, 4);
    }
    stockGrid->setColumnStretch(3, 1);

    DialogFrame frame(this, QStringLiteral("Save changes and close form"), QStringLiteral("Close form without saving"),
                      [this] { cmdExit_Click(); });
    cmdExit_ = frame.cmdExit;
    cmdQuit_ = frame.cmdQuit;
    QVBoxLayout* layout = frame.layout;
    layout->addLayout(top);
    layout->addWidget(events);
    layout->addLayout(sizes);
    layout->addWidget(stock);
    frame.finish();

    // Fill the controls from the model.
    txtTitle_->setText(model_.title);
    for (int i = 0; i < switches_.size(); ++i) switches_[i]->setChecked(model_.switchOn.value(i));
    txtImagePart_->setText(model_.imagePart);
    txtCols_->setText(model_.cols);
    txtRows_->setText(model_.rows);
    chkSVGFile_Click();
    for (int s = 0; s < 4; ++s) {
        comPlace_[s]->addItems(model_.placeChoices);
        // The place key's entry, else the blank one (none when there are no keys).
        const int entry = static_cast<int>(model_.placeChoices.indexOf(model_.stock[s].placeKey));
        comPlace_[s]->setCurrentIndex(model_.placeChoices.isEmpty() ? -1 : std::max(0, entry));
        txtImage_[s]->setText(model_.stock[s].path);
    }
}

QCheckBox* FormSettings::checkBox(const QString& key) const {
    const int i = TreeSettingsModel::switchIndex(key);
    return i < 0 ? nullptr : switches_[i];
}

void FormSettings::chkSVGFile_Click() {
    // Pan and zoom, information panels and the timeline exist only in HTML
    // charts; their states are kept while they are disabled.
    const bool html = !checkBox(QStringLiteral("SVGFile"))->isChecked();
    for (const TreeSettingsModel::Switch& s : TreeSettingsModel::switches())
        if (TreeSettingsModel::isHtmlOnly(s.key)) checkBox(s.key)->setEnabled(html);
}

void FormSettings::readControls() {
    model_.title = txtTitle_->text();
    for (int i = 0; i < switches_.size(); ++i) model_.switchOn[i] = switches_[i]->isChecked();
    model_.imagePart = txtImagePart_->text();
    model_.cols = txtCols_->text();
    model_.rows = txtRows_->text();
    for (int s = 0; s < 4; ++s) model_.stock[s] = {comPlace_[s]->currentText(), txtImage_[s]->text()};
}

void FormSettings::cmdExit_Click() {
    try {
        readControls();
        if (!model_.accept(tree_, apps_, reporter_)) return;
        saved_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}

void FormSettings::BrowseStockImage(int sex) {
    try {
        SelectFileClass dialog;
        dialog.CancelError = true;
        const QString key = comPlace_[sex]->currentText();
        if (!key.isEmpty()) {
            const QString folder = tree_.GetPlaceKeys().ExpandURLName(u'$' + key + u':', true);
            if (!folder.isEmpty()) browseFolder_ = folder;
        }
        dialog.InitialDir = browseFolder_;
        dialog.DialogFlags = FileDialogFlag::NoChangeDir;
        dialog.Filter = QStringLiteral(
            "All Images (*.jpg, *.png, *.gif, *.tif, *.bmp)|*.jpg;*.png;*.gif;*.tif;*.bmp|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".jpg");
        dialog.DialogTitle = QStringLiteral("Select Image File");
        dialog.ShowOpen();
        // Only the name: the file is taken to lie in the chosen place's folder.
        QString baseName, extension;
        sGetFullPath(dialog.FileName, baseName, extension);
        txtImage_[sex]->setText(baseName + u'.' + extension);
    } catch (...) {
        reportHandlerError();
    }
}

void FormSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
}
