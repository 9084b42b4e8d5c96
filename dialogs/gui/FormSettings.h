#pragma once

#include <array>

#include <QDialog>
#include <QList>

#include "TreeSettingsModel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class Reporter;
class SVGApplications;
class SVGTree;

// The tree settings dialog, captioned "Tree Settings": the tree's title, its
// chart switches, the picture share of a person box, the designer grid size
// and the four stock pictures. OK checks every field and writes them only
// when all pass.
class FormSettings : public QDialog {
    Q_OBJECT
public:
    // Edits the tree's settings (and the current viewpoint's grid size);
    // returns true when the user closed the dialog with a completed OK. The
    // applications "InfoPanels" and "Timeline" of the tree's enabled set
    // follow their switches.
    static bool EditSettings(SVGTree& oTr, const SVGApplications& apps, QWidget* owner = nullptr);

    FormSettings(TreeSettingsModel& model, SVGTree& tree, const SVGApplications& apps, Reporter& reporter,
                 QWidget* parent = nullptr);

    bool saved() const { return saved_; }

    QLineEdit* txtTitle() const { return txtTitle_; }
    QCheckBox* checkBox(const QString& key) const;
    QLineEdit* txtImagePart() const { return txtImagePart_; }
    QLineEdit* txtCols() const { return txtCols_; }
    QLineEdit* txtRows() const { return txtRows_; }
    QComboBox* comPlace(int sex) const { return comPlace_[sex]; }
    QLineEdit* txtImage(int sex) const { return txtImage_[sex]; }
    QPushButton* cmdBrowse(int sex) const { return cmdBrowse_[sex]; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdQuit() const { return cmdQuit_; }

    void cmdExit_Click();
    // Picks the stock picture of one sex (0 female, 1 male, 2 unknown, 3 other).
    void BrowseStockImage(int sex);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chkSVGFile_Click();
    void readControls();

    TreeSettingsModel& model_;
    SVGTree& tree_;
    const SVGApplications& apps_;
    Reporter& reporter_;
    QLineEdit* txtTitle_ = nullptr;
    QList<QCheckBox*> switches_;
    QLineEdit* txtImagePart_ = nullptr;
    QLineEdit* txtCols_ = nullptr;
    QLineEdit* txtRows_ = nullptr;
    std::array<QComboBox*, 4> comPlace_{};
    std::array<QLineEdit*, 4> txtImage_{};
    std::array<QPushButton*, 4> cmdBrowse_{};
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    bool saved_ = false;

    // Kept for the whole run: the dialog is placed once, and a Browse
    // without a place to start from opens where the last one did.
    inline static bool positioned_ = false;
    inline static QString browseFolder_;
};
