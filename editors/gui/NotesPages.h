#pragma once

#include <memory>

#include <QHash>
#include <QWidget>

#include "NotesText.h"

class EditorNotesDialogs;
class NotesPreview;
class QAction;
class QCheckBox;
class QMenu;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QToolBar;
class SVGApplications;
class SVGEditHTML;
class SVGTree;

// The lower half of the person and family editors: four pages (notes as raw
// HTML, tooltips, program data, local settings) under a tab strip, the HTML
// toolbar of the notes page, a preview of the notes, and the "Application
// Data" menu that the editor puts under its Edit menu.
class NotesPages : public QWidget {
    Q_OBJECT
public:
    enum Kind { Person, Family };

    NotesPages(Kind kind, QWidget* parent = nullptr);
    ~NotesPages() override;

    // Fills the pages for one opening of the editor: the tree (for event
    // types, place keys and the unsaved mark), the applications (for the
    // program-data kinds), and the four texts. Starts on the notes page with
    // the toolbar and the preview hidden and the undo stack empty.
    void load(SVGTree* tree, const SVGApplications* applications, const QString& notes, const QString& tooltips,
              const QString& progData, const QString& locSettings);

    // The text of page i (1 to 4), lines joined by "\n".
    QString pageText(int i) const;

    QTabBar* tabStrip() const { return tabStrip_; }
    QPlainTextEdit* txtNotes(int i) const { return pages_[i - 1]; }
    QCheckBox* chkHTML() const { return chkHTML_; }
    QToolBar* tbrHTML() const { return tbrHTML_; }
    QAction* button(const QString& key) const { return buttons_.value(key); }
    NotesPreview* oBrowser() const { return oBrowser_; }
    QMenu* mnuEditAppData() const { return mnuEditAppData_; }
    bool previewOn() const;

    void tabStrip_Click(int index);
    void chkHTML_Click();
    void tbrHTML_ButtonClick(const QString& key);
    void mnuEditDataFmt_Click(const QString& id);

private:
    NotesText notesState() const;
    void setNotesState(const NotesText& state);
    void togglePreview();

    SVGTree* tree_ = nullptr;
    const SVGApplications* applications_ = nullptr;
    QTabBar* tabStrip_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QPlainTextEdit* pages_[4] = {};
    QCheckBox* chkHTML_ = nullptr;
    QToolBar* tbrHTML_ = nullptr;
    QHash<QString, QAction*> buttons_;
    NotesPreview* oBrowser_ = nullptr;
    QMenu* mnuEditAppData_ = nullptr;
    std::unique_ptr<EditorNotesDialogs> dialogs_;
    std::unique_ptr<SVGEditHTML> engine_;
};
