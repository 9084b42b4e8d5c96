#include "FormApplications.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

#include "DialogFrame.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "MessageBoxes.h"
#include "ProgressLog.h"
#include "SVGApplications.h"
#include "Twips.h"
#include "WindowPlacement.h"

bool FormApplications::EditApplications(const SVGApplications& apps, StringDict& oDict, bool bSVG, QWidget* owner) {
    Reporter& reporter = MainWindowLink::reporter();
    ApplicationsModel model(apps);
    if (!model.load(oDict, bSVG, reporter)) return false;
    FormApplications form(model, oDict, reporter, owner);
    form.exec();
    return form.saved();
}

FormApplications::FormApplications(ApplicationsModel& model, StringDict& oDict, Reporter& reporter, QWidget* parent)
    : QDialog(parent), model_(model), dict_(oDict), reporter_(reporter) {
    setObjectName(QStringLiteral("FormApplications"));
    setWindowTitle(QStringLiteral("Selected Interactive Applications"));

    auto* list = new QWidget;
    auto* grid = new QGridLayout(list);
    grid->setColumnStretch(1, 1);
    QWidget* previous = nullptr;
    for (int i = 0; i < model_.count(); ++i) {
        const ApplicationsModel::Choice& choice = model_.choice(i);
        auto* help = new QToolButton;
        help->setText(QStringLiteral("?"));
        help->setToolTip(QStringLiteral("Show required click operations"));
        help->setFixedSize(twipsToPixels(300), twipsToPixels(300));
        auto* box = new QCheckBox(choice.name);
        box->setToolTip(choice.descr);
        box->setProperty("appId", choice.id);
        box->setChecked(choice.ticked);
        if (model_.isMarked(i)) box->setStyleSheet(QStringLiteral("QCheckBox { color: #ff0000; }"));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { model_.setTicked(i, on); });
        connect(help, &QToolButton::clicked, this, [this, i] { cmdHelp_Click(i); });
        grid->addWidget(help, i, 0);
        grid->addWidget(box, i, 1);
        // Tab order: each entry's "?" button, then its check box.
        if (previous) setTabOrder(previous, help);
        setTabOrder(help, box);
        previous = box;
        chkApps_ << box;
        cmdHelp_ << help;
    }
    grid->setRowStretch(model_.count(), 1);

    auto* scroll = new QScrollArea;
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);

    DialogFrame frame(this, QStringLiteral("Save changes and close form"), QStringLiteral("Close form without saving"),
                      [this] { cmdExit_Click(); });
    cmdExit_ = frame.cmdExit;
    cmdQuit_ = frame.cmdQuit;
    frame.layout->addWidget(scroll, 1);
    frame.finish();
    resize(420, 360);
}

void FormApplications::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PositionForm(this, positioned_);
}

void FormApplications::cmdHelp_Click(int index) {
    MessageBoxes::current().showTitled(QStringLiteral("Required click operations"), QMessageBox::NoIcon,
                                       model_.helpText(index), QMessageBox::Ok);
}

void FormApplications::cmdExit_Click() {
    try {
        if (!model_.accept(dict_, reporter_)) return;
        saved_ = true;
        accept();
    } catch (...) {
        reportHandlerError();
    }
}
