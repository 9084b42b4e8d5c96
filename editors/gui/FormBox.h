#pragma once

#include "EditorDialog.h"
#include "PersonEditModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SVGApplications;
class SVGTree;

// The person editor, "Create or Edit a Person": caption, short caption, key
// (create mode), sex, tentative parentage, root person, personal names,
// picture with its place and a fitted preview, and the notes pages. A thin
// window over PersonEditModel; nothing is written before OK.
class FormBox : public EditorDialog {
    Q_OBJECT
public:
    // Edits the person sKey; true when OK wrote it back.
    static bool EditBox(SVGTree& oTr, const QString& sKey, const SVGApplications* oApps = nullptr,
                        QWidget* oOwner = nullptr);
    // Creates a person; the new key, "" when none was created.
    static QString CreateBox(SVGTree& oTr, const SVGApplications* oApps = nullptr, QWidget* oOwner = nullptr);

    FormBox(SVGTree& tree, const SVGApplications* applications, QWidget* parent = nullptr);

    // Fill the window for one opening (the picture handlers stay quiet).
    void loadEdit(const QString& sKey);
    void loadCreate();

    QLineEdit* txtCaption() const { return txtCaption_; }
    QLineEdit* txtShortCap() const { return txtShortCap_; }
    QLineEdit* txtKey() const { return txtKey_; }
    QComboBox* comSex() const { return comSex_; }
    QCheckBox* chkTentative() const { return chkTentative_; }
    QCheckBox* chkRootPerson() const { return chkRootPerson_; }
    QPushButton* cmdEditNames() const { return cmdEditNames_; }
    QPlainTextEdit* txtEditNames() const { return txtEditNames_; }
    QComboBox* comPlace() const { return comPlace_; }
    QCheckBox* chkLocal() const { return chkLocal_; }
    QLineEdit* txtFile() const { return txtFile_; }
    QPushButton* cmdBrowse() const { return cmdBrowse_; }
    QLabel* imgPerson() const { return imgPerson_; }
    // How many times a picture control's handler has run.
    int pictureHandlerRuns() const { return pictureHandlerRuns_; }

    void cmdEditNames_Click();
    void cmdBrowse_Click();

protected:
    void cmdExit_Click() override;
    void showEvent(QShowEvent* event) override;

private:
    void FillPlaceKeys();
    void SetImageSpec(const QString& sSpec);
    QString sResolveImageFile();
    void ShowImage(const QString& sFile);
    void UpdateBrowseState();
    void pictureControlChanged(bool updateBrowse);
    void fieldsFromControls();

    PersonEditModel model_;
    bool bLoaded_ = false;
    bool bKeyTyped_ = false;
    int pictureHandlerRuns_ = 0;
    QString browseFolder_;

    QLineEdit* txtCaption_ = nullptr;
    QLineEdit* txtShortCap_ = nullptr;
    QLineEdit* txtKey_ = nullptr;
    QComboBox* comSex_ = nullptr;
    QCheckBox* chkTentative_ = nullptr;
    QCheckBox* chkRootPerson_ = nullptr;
    QPushButton* cmdEditNames_ = nullptr;
    QPlainTextEdit* txtEditNames_ = nullptr;
    QComboBox* comPlace_ = nullptr;
    QCheckBox* chkLocal_ = nullptr;
    QLineEdit* txtFile_ = nullptr;
    QPushButton* cmdBrowse_ = nullptr;
    QLabel* imgPerson_ = nullptr;
};
