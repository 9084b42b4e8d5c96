#pragma once

#include <functional>

#include <QString>

class QDialog;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QVBoxLayout;

// The frame the modal editing dialogs share: a "&File" menu whose "&Close and
// Save" does what OK does, the dialog's content in a vertical layout, and the
// OK and Cancel buttons (cmdExit, cmdQuit) at the bottom right. Neither button
// is a default button: Enter belongs to the dialog's fields. Cancel rejects
// the dialog.
struct DialogFrame {
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QVBoxLayout* layout = nullptr;   // the dialog's own layout, for its content
    QHBoxLayout* buttons = nullptr;  // OK and Cancel; added below the content by finish()
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdQuit = nullptr;

    // Builds the frame on dialog; onOk runs for OK and for "&Close and Save".
    DialogFrame(QDialog* dialog, const QString& okTooltip, const QString& cancelTooltip, std::function<void()> onOk);
    // Adds the buttons' row below the content added so far.
    void finish();
};
