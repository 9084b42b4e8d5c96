#pragma once

#include <QDialog>

#include "NotesPages.h"

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class SVGApplications;
class SVGTree;

// What the person and family editors share: the notes pages below their own
// fields, the OK and Cancel buttons, the "&File" menu with "&Close and Save",
// the "&Edit" menu with "Application Data", and a window size kept between
// openings during the run.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    // The results of one opening: OK wrote the edited object back, or the
    // key of the object created ("" when none).
    bool bOK() const { return bOK_; }
    const QString& sNewKey() const { return sNewKey_; }

    NotesPages* pages() const { return pages_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

protected:
    // savedSize: the editor kind's remembered size (empty before the first close).
    EditorDialog(NotesPages::Kind kind, QSize& savedSize, SVGTree& tree, const SVGApplications* applications,
                 QWidget* parent);
    // The editor's own fields go in here, above the pages.
    QVBoxLayout* fieldsLayout() const { return fields_; }
    // Places the window once per run (positioned: the editor kind's flag)
    // and shows it modally.
    void showModal(bool& positioned);
    // The four pages' texts.
    void pageTexts(QString& notes, QString& tooltips, QString& progData, QString& locSettings) const;
    // Called by OK and "&Close and Save".
    virtual void cmdExit_Click() = 0;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

    SVGTree& tree_;
    const SVGApplications* applications_;
    bool bOK_ = false;
    QString sNewKey_;

private:
    QSize& savedSize_;
    NotesPages* pages_ = nullptr;
    QVBoxLayout* fields_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
};
