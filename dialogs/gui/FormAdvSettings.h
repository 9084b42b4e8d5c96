#pragma once

#include <QDialog>
#include <QHash>

#include "AdvSettingsModel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class Reporter;

// The advanced settings dialog, captioned "Advanced Tree Settings": data blocks,
// instance identifier, sizes, corner buttons, background picture and header
// template of a chart, edited in the tree's header settings. OK checks every
// field and writes them only when all pass.
class FormAdvSettings : public QDialog {
    Q_OBJECT
public:
    // Edits the header settings; returns true when the user closed the
    // dialog with a completed OK. The header file choice opens in
    // sHeaderFolder (the folder of the program's templates; the current
    // folder when empty).
    static bool EditAdvSettings(StringDict& oDict, QWidget* owner = nullptr, const QString& sHeaderFolder = {});

    FormAdvSettings(AdvSettingsModel& model, StringDict& settings, Reporter& reporter, const QString& headerFolder,
                    QWidget* parent = nullptr);

    bool saved() const { return saved_; }

    // The control of a setting: a check box for a switch, else a text box.
    QCheckBox* checkBox(const QString& key) const { return checkBoxes_.value(key); }
    QLineEdit* textBox(const QString& key) const { return textBoxes_.value(key); }
    QPushButton* cmdHdrBrowse() const { return cmdHdrBrowse_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

    void cmdExit_Click();
    void cmdHdrBrowse_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AdvSettingsModel& model_;
    StringDict& settings_;
    Reporter& reporter_;
    QString headerFolder_;
    QHash<QString, QCheckBox*> checkBoxes_;
    QHash<QString, QLineEdit*> textBoxes_;
    QPushButton* cmdHdrBrowse_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    bool saved_ = false;

    inline static bool positioned_ = false;
};
