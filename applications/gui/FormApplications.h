#pragma once

#include <QDialog>
#include <QList>

#include "ApplicationsModel.h"

class QCheckBox;
class QPushButton;
class QToolButton;
class Reporter;
class SVGApplications;

// The modal dialog in which the user chooses the interactive applications a
// chart carries: one check box per application with a "?" button for its
// click operations, the boxes in a scroll area. OK validates the ticked set
// and writes it into the tree's dictionary; Cancel and the close box leave it
// untouched.
class FormApplications : public QDialog {
    Q_OBJECT
public:
    // Opens the dialog over oDict (application id to name) for a chart that
    // is an SVG file when bSVG; returns true when the user saved, oDict then
    // holding the changes. With no application defined it reports so and
    // returns false without opening.
    static bool EditApplications(const SVGApplications& apps, StringDict& oDict, bool bSVG, QWidget* owner = nullptr);

    // The window over a loaded model; OK writes into oDict.
    FormApplications(ApplicationsModel& model, StringDict& oDict, Reporter& reporter, QWidget* parent = nullptr);

    bool saved() const { return saved_; }
    QCheckBox* chkApps(int index) const { return chkApps_.value(index); }
    QToolButton* cmdHelp(int index) const { return cmdHelp_.value(index); }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdExit_Click();
    void cmdHelp_Click(int index);

    ApplicationsModel& model_;
    StringDict& dict_;
    Reporter& reporter_;
    QList<QCheckBox*> chkApps_;
    QList<QToolButton*> cmdHelp_;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    bool saved_ = false;
    // Kept for the whole run: the dialog is placed once, at its first showing.
    inline static bool positioned_ = false;
};
