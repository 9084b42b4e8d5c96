#include "FormEvent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "LogReporter.h"
#include "MainWindowLink.h"
#include "ProgressLog.h"
#include "WindowPlacement.h"

namespace {
bool positionedOnce = false;

void setItems(QComboBox* box, const QStringList& items) {
    QStringList current;
    for (int i = 0; i < box->count(); ++i) current.append(box->itemText(i));
    if (current != items) {
        box->clear();
        box->addItems(items);
    }
}
}  // namespace

bool FormEvent::EditEvent(QString& sDate, QString& sEvent, QString& sType, QString& sDivText, QWidget* oParent,
                          const SVGTree* oTr) {
    EventFormModel model(MainWindowLink::reporter(), DateContext::system());
    model.load(oTr);
    model.open(sDate, sEvent, sType, sDivText);
    FormEvent form(model, oParent);
    PositionForm(&form, positionedOnce);
    form.exec();
    if (!form.accepted()) return false;
    sDate = model.resultDate();
    sEvent = model.resultEvent();
    sType = model.resultType();
    sDivText = model.resultDivText();
    return true;
}

template <typename F>
void FormEvent::handle(F&& f) {
    if (busy_) return;
    busy_ = true;
    try {
        f();
    } catch (...) {
        reportHandlerError();
    }
    refresh();
    busy_ = false;
}

FormEvent::FormEvent(EventFormModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("FormEvent"));
    setWindowTitle(QStringLiteral("Event Details"));

    auto* labDates = new QLabel(QStringLiteral("Event Dates"));
    labDates->setObjectName(QStringLiteral("labDates"));
    static const char* const kwTips[2] = {"Keyword modifier for first date", "Keyword modifier for second date"};
    static const char* const yearTips[2] = {"Event year, or starting year", "Ending year for event"};
    static const char* const monthTips[2] = {"Event month, or starting month, if known", "Ending month for event, if known"};
    static const char* const dayTips[2] = {"Day of the month (or starting day) for event, if known",
                                           "Ending day of the month for event, if known"};
    auto* dates = new QGridLayout;
    dates->addWidget(labDates, 0, 0, 1, 5);
    for (int i = 0; i < 2; ++i) {
        const QString index = QStringLiteral("(%1)").arg(i);
        comKW_[i] = new QComboBox;
        comKW_[i]->setObjectName(QStringLiteral("comKW") + index);
        comKW_[i]->setToolTip(QString::fromLatin1(kwTips[i]));
        txtYear_[i] = new QLineEdit;
        txtYear_[i]->setObjectName(QStringLiteral("txtYear") + index);
        txtYear_[i]->setToolTip(QString::fromLatin1(yearTips[i]));
        comMonth_[i] = new QComboBox;
        comMonth_[i]->setObjectName(QStringLiteral("comMonth") + index);
        comMonth_[i]->setToolTip(QString::fromLatin1(monthTips[i]));
        comMonth_[i]->addItems(model_.monthEntries());
        comDay_[i] = new QComboBox;
        comDay_[i]->setObjectName(QStringLiteral("comDay") + index);
        comDay_[i]->setToolTip(QString::fromLatin1(dayTips[i]));
        comDay_[i]->setEditable(true);
        comDay_[i]->setInsertPolicy(QComboBox::NoInsert);
        chkDualYears_[i] = new QCheckBox(QStringLiteral("Dual Years"));
        chkDualYears_[i]->setObjectName(QStringLiteral("chkDualYears") + index);
        chkDualYears_[i]->setToolTip(QStringLiteral("Whether a double year is indicated, e.g. 1699/00"));
        dates->addWidget(comKW_[i], i + 1, 0);
        dates->addWidget(txtYear_[i], i + 1, 1);
        dates->addWidget(comMonth_[i], i + 1, 2);
        dates->addWidget(comDay_[i], i + 1, 3);
        dates->addWidget(chkDualYears_[i], i + 1, 4);

        connect(txtYear_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) { model_.setYearText(i, text); });
        connect(txtYear_[i], &QLineEdit::editingFinished, this, [this, i] { handle([&] { model_.leaveYear(i); }); });
        connect(comMonth_[i], &QComboBox::currentIndexChanged, this,
                [this, i](int index) { handle([&] { model_.chooseMonth(i, index); }); });
        connect(comDay_[i], &QComboBox::activated, this,
                [this, i](int index) { handle([&] { model_.chooseDay(i, index); }); });
        connect(comDay_[i]->lineEdit(), &QLineEdit::editingFinished, this,
                [this, i] { handle([&] { model_.leaveDay(i, comDay_[i]->currentText()); }); });
        connect(chkDualYears_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { handle([&] { model_.setDual(i, on); }); });
    }
    comKW_[0]->addItems(EventFormModel::qualifierTexts());
    connect(comKW_[0], &QComboBox::currentIndexChanged, this,
            [this](int index) { handle([&] { model_.chooseQualifier(index); }); });
    connect(comKW_[1], &QComboBox::currentIndexChanged, this,
            [this](int index) { handle([&] { model_.chooseSecondKeyword(index); }); });

    chkJulian_ = new QCheckBox(QStringLiteral("Julian dates"));
    chkJulian_->setObjectName(QStringLiteral("chkJulian"));
    chkJulian_->setToolTip(QStringLiteral("Whether both dates are in Julian rather than Gregorian calendar"));
    connect(chkJulian_, &QCheckBox::toggled, this, [this](bool on) { handle([&] { model_.setJulian(on); }); });
    dates->addWidget(chkJulian_, 3, 4);

    auto* labType = new QLabel(QStringLiteral("Event Type"));
    labType->setObjectName(QStringLiteral("labType"));
    comType_ = new QComboBox;
    comType_->setObjectName(QStringLiteral("comType"));
    comType_->setToolTip(QStringLiteral("Event type, or category. Can add new ones"));
    comType_->setEditable(true);
    comType_->setInsertPolicy(QComboBox::NoInsert);
    connect(comType_->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { handle([&] { model_.leaveType(comType_->currentText()); }); });
    connect(comType_, &QComboBox::activated, this,
            [this](int) { handle([&] { model_.leaveType(comType_->currentText()); }); });

    auto* labDescr = new QLabel(QStringLiteral("Event Description"));
    labDescr->setObjectName(QStringLiteral("labDescr"));
    txtDescr_ = new QLineEdit;
    txtDescr_->setObjectName(QStringLiteral("txtDescr"));
    txtDescr_->setToolTip(QStringLiteral("Brief description of the event"));
    connect(txtDescr_, &QLineEdit::textChanged, this, [this](const QString& text) { model_.setDescription(text); });

    auto* lblEvDivText = new QLabel(QStringLiteral("Event Text"));
    lblEvDivText->setObjectName(QStringLiteral("lblEvDivText"));
    txtDivText_ = new QPlainTextEdit;
    txtDivText_->setObjectName(QStringLiteral("txtDivText"));
    txtDivText_->setTabChangesFocus(true);
    connect(txtDivText_, &QPlainTextEdit::textChanged, this,
            [this] { model_.setDivText(txtDivText_->toPlainText()); });

    cmdOK_ = new QPushButton(QStringLiteral("OK"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setToolTip(QStringLiteral("Accept changes"));
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setToolTip(QStringLiteral("Discard changes"));
    cmdOK_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);
    connect(cmdOK_, &QPushButton::clicked, this, &FormEvent::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(labType, 0, 0);
    fields->addWidget(comType_, 0, 1);
    fields->addWidget(labDescr, 1, 0);
    fields->addWidget(txtDescr_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addLayout(fields);
    layout->addWidget(lblEvDivText);
    layout->addWidget(txtDivText_, 1);
    layout->addLayout(buttons);

    busy_ = true;
    txtDescr_->setText(model_.description());
    txtDivText_->setPlainText(model_.divText());
    busy_ = false;
    refresh();
}

void FormEvent::refresh() {
    for (int i = 0; i < 2; ++i) {
        const EventFormModel::Side& side = model_.side(i);
        const QSignalBlocker b1(txtYear_[i]), b2(comMonth_[i]), b3(comDay_[i]), b4(chkDualYears_[i]);
        if (txtYear_[i]->text() != side.year) txtYear_[i]->setText(side.year);
        comMonth_[i]->setCurrentIndex(side.month);
        setItems(comDay_[i], model_.dayEntries(i));
        comDay_[i]->setCurrentIndex(side.day);
        comDay_[i]->setEditText(comDay_[i]->itemText(side.day));
        comDay_[i]->setEnabled(model_.dayEnabled(i) && (i == 0 || model_.endEnabled()));
        chkDualYears_[i]->setChecked(side.dual);
    }
    {
        const QSignalBlocker b1(comKW_[0]), b2(comKW_[1]), b3(chkJulian_), b4(comType_);
        comKW_[0]->setCurrentIndex(model_.qualifier());
        setItems(comKW_[1], model_.secondTexts());
        comKW_[1]->setCurrentIndex(model_.secondKeyword());
        chkJulian_->setChecked(model_.julian());
        setItems(comType_, model_.types());
        comType_->setCurrentIndex(model_.typeIndex());
        comType_->setEditText(model_.typeText());
    }
    const bool end = model_.endEnabled();
    for (QWidget* w : {static_cast<QWidget*>(comKW_[1]), static_cast<QWidget*>(txtYear_[1]),
                       static_cast<QWidget*>(comMonth_[1]), static_cast<QWidget*>(chkDualYears_[1])})
        w->setEnabled(end);
}

void FormEvent::cmdOK_Click() {
    if (busy_) return;
    busy_ = true;
    try {
        for (int i = 0; i < 2; ++i) model_.setYearText(i, txtYear_[i]->text());
        model_.setDescription(txtDescr_->text());
        model_.setDivText(txtDivText_->toPlainText());
        if (model_.accept(comDay_[0]->currentText(), comDay_[1]->currentText(), comType_->currentText())) {
            accepted_ = true;
            busy_ = false;
            accept();
            return;
        }
    } catch (...) {
        reportHandlerError();
    }
    refresh();
    busy_ = false;
}
