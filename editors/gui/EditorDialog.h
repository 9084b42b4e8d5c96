#pragma once

#include <QDialog>

#include "NotesPages.h"

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

// What the person and family editors share: the notes pages below their own
// fields, the OK and Cancel buttons, the "&File" menu with "&Close and Save",
// the "&Edit" menu with "Application Data", and a window size kept between
// openings during the run.
class EditorDialog : public QDialog {
    Q_OBJECT
public:
    NotesPages* pages() const { return pages_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

protected:
    // savedSize: the editor kind's remembered size (empty before the first close).
    EditorDialog(NotesPages::Kind kind, QSize& savedSize, QWidget* parent);
    // The editor's own fields go in here, above the pages.
    QVBoxLayout* fieldsLayout() const { return fields_; }
    // Called by OK and "&Close and Save".
    virtual void cmdExit_Click() = 0;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    QSize& savedSize_;
    NotesPages* pages_ = nullptr;
    QVBoxLayout* fields_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
};
