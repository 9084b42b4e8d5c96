#pragma once

#include <QDialog>

#include "EventFormModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SVGTree;

// The modal dialog for one dated event of a note: qualifier, start and end
// dates with the Julian and dual-year marks, type, description and the text
// the event element encloses. A thin window over EventFormModel.
class FormEvent : public QDialog {
    Q_OBJECT
public:
    // Shows the event given by the four texts; when the user accepts, sets
    // them to the edited ones and returns true. An unreadable sDate raises its
    // error before anything is shown.
    static bool EditEvent(QString& sDate, QString& sEvent, QString& sType, QString& sDivText, QWidget* oParent,
                          const SVGTree* oTr);

    FormEvent(EventFormModel& model, QWidget* parent = nullptr);

    bool accepted() const { return accepted_; }

    QComboBox* comKW(int i) const { return comKW_[i]; }
    QLineEdit* txtYear(int i) const { return txtYear_[i]; }
    QComboBox* comMonth(int i) const { return comMonth_[i]; }
    QComboBox* comDay(int i) const { return comDay_[i]; }
    QCheckBox* chkDualYears(int i) const { return chkDualYears_[i]; }
    QCheckBox* chkJulian() const { return chkJulian_; }
    QComboBox* comType() const { return comType_; }
    QLineEdit* txtDescr() const { return txtDescr_; }
    QPlainTextEdit* txtDivText() const { return txtDivText_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

    // Copies the model's state into the controls.
    void refresh();

private:
    void cmdOK_Click();
    // Runs a control handler once at a time: a warning box taking the focus
    // must not run the leaving handlers a second time.
    template <typename F>
    void handle(F&& f);

    EventFormModel& model_;
    bool accepted_ = false;
    bool busy_ = false;
    QComboBox* comKW_[2] = {};
    QLineEdit* txtYear_[2] = {};
    QComboBox* comMonth_[2] = {};
    QComboBox* comDay_[2] = {};
    QCheckBox* chkDualYears_[2] = {};
    QCheckBox* chkJulian_ = nullptr;
    QComboBox* comType_ = nullptr;
    QLineEdit* txtDescr_ = nullptr;
    QPlainTextEdit* txtDivText_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};
