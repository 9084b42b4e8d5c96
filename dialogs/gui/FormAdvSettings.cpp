#include "FormAdvSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogFrame.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "ProgressLog.h"
#include "SelectFileClass.h"
#include "WindowPlacement.h"

namespace {
// Control name, caption and tooltip of each setting's control.
struct ControlText {
    const char* key;
    const char* name;
    const char* caption;
    const char* tooltip;
};
constexpr ControlText kControls[] = {
    {"ProgData", "chkProgData", "Generate Program Data", "Generate program data forinteractove applications and services"},
    {"NavData", "chkNavData", "Generate Navigation Data", "Generate data describing persons and families"},
    {"NotesData", "chkNotesData", "Generate Notes Data", "Generate biographical or historical notes data"},
    {"Inst", "txtInst", "Instance ID",
     "Optional digit or character to differentiate multiple tree instances on the same page"},
    {"Header", "txtHeader", "Header file", "Alternative Header*.* file to seed the output file"},
    {"W", "txtW", "Box width/height", "Box width in pixels"},
    {"H", "txtH", "", "Box height in pixels"},
    {"MW", "txtMW", "Margin width/height", "Horizontal box separation in pixels"},
    {"MH", "txtMH", "", "Vertical box separation in pixels"},
    {"BW", "txtBW", "Button width/height", "Button width in pixels"},
    {"BH", "txtBH", "", "Button height in pixels"},
};
struct CornerText {
    const char* suffix;
    const char* caption;
    const char* tooltip;
};
constexpr CornerText kCorners[] = {
    {"TL", "Top-Left Button", "Add selectable button to the top-left corner of every person-box"},
    {"TR", "Top-Right Button", "Add selectable button to the top-right corner of every person-box"},
    {"BL", "Bottom-Left Button", "Add selectable button to the bottom-left corner of every person-box"},
    {"BR", "Bottom-Right Button", "Add selectable button to the bottom-right corner of every person-box"},
};
constexpr ControlText kBackground[] = {
    {"BGImage", "txtBgImage", "File URL", ""},
    {"BGImageWidth", "txtBGWidth", "Width%", "Fill width (0%-100%)"},
    {"BGImageHeight", "txtBGHeight", "Height%", "Fill height (0%-100%)"},
    {"BGImageOpacity", "txtBGOpacity", "Opacity%", "Fill opacity (0%-100%)"},
};

QString text(const char* s) { return QString::fromUtf8(s); }
}  // namespace

bool FormAdvSettings::EditAdvSettings(StringDict& oDict, QWidget* owner, const QString& sHeaderFolder) {
    AdvSettingsModel model;
    model.load(oDict);
    FormAdvSettings form(model, oDict, MainWindowLink::reporter(), sHeaderFolder, owner);
    form.exec();
    return form.saved();
}

FormAdvSettings::FormAdvSettings(AdvSettingsModel& model, StringDict& settings, Reporter& reporter,
                                 const QString& headerFolder, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings), reporter_(reporter), headerFolder_(headerFolder) {
    setObjectName(QStringLiteral("FormAdvSettings"));
    setWindowTitle(QStringLiteral("Advanced Tree Settings"));

    // The controls are made in tab order.
    auto* main = new QGridLayout;
    int row = 0;
    for (const ControlText& c : kControls) {
        const QString key = text(c.key);
        QWidget* control = nullptr;
        if (text(c.name).startsWith(u"chk")) {
            auto* box = new QCheckBox(text(c.caption));
            checkBoxes_.insert(key, box);
            control = box;
            main->addWidget(box, row++, 0, 1, 3);
        } else {
            auto* edit = new QLineEdit;
            textBoxes_.insert(key, edit);
            control = edit;
            const bool second = text(c.caption).isEmpty();
            if (!second) main->addWidget(new QLabel(text(c.caption)), row, 0);
            main->addWidget(edit, second ? row++ : row, second ? 2 : 1);
            if (key == u"Inst") ++row;
        }
        control->setObjectName(text(c.name));
        control->setToolTip(text(c.tooltip));
        if (key == u"Header") {
            cmdHdrBrowse_ = new QPushButton(QStringLiteral("Browse..."));
            cmdHdrBrowse_->setObjectName(QStringLiteral("cmdHdrBrowse"));
            cmdHdrBrowse_->setToolTip(QStringLiteral("Browse for header include file"));
            cmdHdrBrowse_->setAutoDefault(false);
            connect(cmdHdrBrowse_, &QPushButton::clicked, this, &FormAdvSettings::cmdHdrBrowse_Click);
            main->addWidget(cmdHdrBrowse_, row++, 2);
        }
    }

    auto* corners = new QGridLayout;
    corners->addWidget(new QLabel(QStringLiteral("Tooltip")), 0, 1);
    corners->addWidget(new QLabel(QStringLiteral("Icon URL")), 0, 2);
    int cornerRow = 1;
    for (const CornerText& c : kCorners) {
        const QString suffix = text(c.suffix);
        auto* box = new QCheckBox(text(c.caption));
        box->setObjectName(QStringLiteral("chkButton") + suffix);
        box->setToolTip(text(c.tooltip));
        checkBoxes_.insert(QStringLiteral("Button") + suffix, box);
        auto* tooltip = new QLineEdit;
        tooltip->setObjectName(QStringLiteral("txtTooltip") + suffix);
        tooltip->setToolTip(QStringLiteral("Optional button tooltip (\"hover text\")"));
        textBoxes_.insert(QStringLiteral("Tooltip") + suffix, tooltip);
        auto* icon = new QLineEdit;
        icon->setObjectName(QStringLiteral("txtIcon") + suffix);
        icon->setToolTip(QStringLiteral("Optional icon to display on button"));
        textBoxes_.insert(QStringLiteral("Icon") + suffix, icon);
        corners->addWidget(box, cornerRow, 0);
        corners->addWidget(tooltip, cornerRow, 1);
        corners->addWidget(icon, cornerRow, 2);
        ++cornerRow;
    }

    auto* background = new QGroupBox(QStringLiteral("Background image for browser view"));
    auto* backgroundGrid = new QGridLayout(background);
    int column = 0;
    for (const ControlText& b : kBackground) {
        auto* edit = new QLineEdit;
        edit->setObjectName(text(b.name));
        edit->setToolTip(text(b.tooltip));
        textBoxes_.insert(text(b.key), edit);
        const bool file = column == 0;
        backgroundGrid->addWidget(new QLabel(text(b.caption)), file ? 0 : 1, file ? 0 : column * 2 - 2);
        backgroundGrid->addWidget(edit, file ? 0 : 1, file ? 1 : column * 2 - 1, 1, file ? 5 : 1);
        ++column;
    }

    DialogFrame frame(this, QStringLiteral("Save changes and close form"), QStringLiteral("Close form without saving"),
                      [this] { cmdExit_Click(); });
    cmdExit_ = frame.cmdExit;
    cmdQuit_ = frame.cmdQuit;
    QVBoxLayout* layout = frame.layout;
    layout->addLayout(main);
    layout->addLayout(corners);
    layout->addWidget(background);
    frame.finish();

    // Tab order as listed: the first controls, the corners, the background, the buttons.
    QWidget* previous = nullptr;
    auto chain = [&](QWidget* w) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    };
    for (const ControlText& c : kControls) {
        const QString key = text(c.key);
        chain(checkBoxes_.contains(key) ? static_cast<QWidget*>(checkBoxes_.value(key)) : textBoxes_.value(key));
        if (key == u"Header") chain(cmdHdrBrowse_);
    }
    for (const CornerText& c : kCorners) {
        const QString suffix = text(c.suffix);
        chain(checkBoxes_.value(QStringLiteral("Button") + suffix));
        chain(textBoxes_.value(QStringLiteral("Tooltip") + suffix));
        chain(textBoxes_.value(QStringLiteral("Icon") + suffix));
    }
    for (const ControlText& b : kBackground) chain(textBoxes_.value(text(b.key)));
    chain(cmdExit_);
    chain(cmdQuit_);

    // Fill the controls from the model.
    for (const AdvSettingsModel::Field& f : AdvSettingsModel::fields()) {
        if (QCheckBox* box = checkBox(f.key)) box->setChecked(model_.isOn(f.key));
        if (QLineEdit* edit = textBox(f.key)) edit->setText(model_.value(f.key));
    }
}

void FormAdvSettings::cmdExit_Click() {
    try {
        for (const AdvSettingsModel::Field& f : AdvSettingsModel::fields()) {
            if (QCheckBox* box = checkBox(f.key)) model_.setOn(f.key, box->isChecked());
            if (QLineEdit* edit = textBox(f.key)) model_.setValue(f.key, edit->text());
        }
        if (!model_.accept(settings_, reporter_)) return;
        saved_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}

void FormAdvSettings::cmdHdrBrowse_Click() {
    try {
        SelectFileClass dialog;
        dialog.InitialDir = headerFolder_;
        dialog.DialogFlags = FileDialogFlag::NoChangeDir;
        dialog.Filter = QStringLiteral("Header Files (Header*.*)|header*.*|All Text Files (*.*)|*.txt|All Files (*.*)|*.*");
        dialog.DefaultExt = QStringLiteral(".html");
        dialog.DialogTitle = QStringLiteral("Select Header File");
        dialog.CancelError = true;
        dialog.ShowOpen();
        textBox(QStringLiteral("Header"))->setText(dialog.FileName);
    } catch (...) {
        reportHandlerError();
    }
}

void FormAdvSettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
}
