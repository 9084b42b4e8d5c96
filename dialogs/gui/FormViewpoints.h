#pragma once

#include <array>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "ViewpointManagerModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class SVGTree;

// The viewpoint manager: a modeless window with one instance, owned by the
// window that opened it. It lists the tree's viewpoint keys, shows the name
// and size of the chosen one, adds, deletes and renames viewpoints, and finds
// the persons that no viewpoint holds yet, with their spouses and children,
// through a partial-name search. The lists' context menus copy key lists for
// the Tree Designer's include commands, show a person's viewpoint membership
// and move the search to a relative. What it shows and does lives in its
// ViewpointManagerModel; the window copies controls to and from it.
class FormViewpoints : public QMainWindow {
    Q_OBJECT
public:
    using List = ViewpointManagerModel::List;

    // Menu entries of the context menus.
    enum MenuId {
        mnuCopyPer = 1,
        mnuCopyPerAllSp,
        mnuShowPerson,
        mnuSelectPerFather,
        mnuSelectPerMother,
        mnuCopyPerSp,
        mnuCopyPerSpChild,
        mnuShowSpouse,
        mnuSelectSp,
        mnuSelectSpFather,
        mnuSelectSpMother,
        mnuCopyChild,
        mnuShowChild,
        mnuSelectChild,
    };

    // Opens the window on the tree, owned by oParentForm, or brings the open
    // one back: rebound to another tree it refills every list and its key
    // box; on the same tree it refreshes the person list and keeps the key
    // box, the check boxes and the search text. A missing tree is an error
    // for the caller.
    static void ManageViewpoints(const std::shared_ptr<SVGTree>& oTr, QWidget* oParentForm);
    // The open window, or null.
    static FormViewpoints* openWindow() { return single_; }

    ~FormViewpoints() override;

    ViewpointManagerModel& model() { return model_; }
    QComboBox* comKeys() const { return comKeys_; }
    QLineEdit* txtName() const { return txtName_; }
    QLabel* lblDetails() const { return lblDetails_; }
    QLineEdit* txtPartName() const { return txtPartName_; }
    QCheckBox* chkExcudePDone() const { return chkExcudePDone_; }
    QCheckBox* chkExcudePFDone() const { return chkExcudePFDone_; }
    QTreeView* listView(List which) const { return lists_[which]; }

    // ---- Handlers
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdChange_Click();
    // A choice in the key box: the details of the chosen key, of "" for none.
    void comKeys_Click(int index);
    void mnuClose_Click();
    // A right button released over a list, at a point of its viewport.
    void listRightClick(List which, const QPoint& at);
    // Runs a context-menu entry of a list.
    void runMenuCommand(List which, int id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FormViewpoints(QWidget* owner);
    void buildControls();
    QTreeView* makeList(List which, const QString& tooltip);
    // Takes the tree: a new tree refills the key box and clears the details.
    void bindTree(const std::shared_ptr<SVGTree>& tree);
    void refillKeyBox();
    void showDetails(const QString& key);
    // The key box's chosen entry: the entry whose text stands in the box.
    int chosenKeyIndex() const;
    void syncSelections();
    void listRowChanged(List which, int row);
    void setSearchText(const std::optional<QString>& text);
    // Closes the window without handing the focus on.
    void closeSilently();

    inline static QPointer<FormViewpoints> single_;

    ViewpointManagerModel model_;
    QComboBox* comKeys_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdDel_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QPushButton* cmdChange_ = nullptr;
    QLabel* lblDetails_ = nullptr;
    QLineEdit* txtPartName_ = nullptr;
    QCheckBox* chkExcudePDone_ = nullptr;
    QCheckBox* chkExcudePFDone_ = nullptr;
    std::array<QTreeView*, 3> lists_{};
    // Kept for the whole run: the window is placed over the main window at
    // its first activation only, not again when it is opened anew.
    inline static bool positioned_ = false;
    bool syncing_ = false;
    bool silentClose_ = false;
};
