#pragma once

#include <array>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>
#include <QStringList>

#include "ViewpointListModel.h"
#include "ViewpointNameIndex.h"
#include "tree_model/TreeTypes.h"

class Reporter;
class SVGTree;

// What the viewpoint manager window shows and does, without widgets: the
// tree it manages, the name index, the three person lists with their
// selections and filters, the current viewpoint, and the commands of the key
// box and of the lists' context menus. It keeps the tree's change events and
// refreshes its lists on every one of them but ViewpointRenamed.
//
// Entries carry their person's key: a command on an entry whose person has
// left the tree ends in an error instead of acting on another person.
class ViewpointManagerModel : public QObject {
    Q_OBJECT
public:
    enum List { PersonList = 0, SpouseList = 1, ChildList = 2 };

    // The enabled states of a context menu's select entries.
    struct MenuState {
        bool selectFather = false;
        bool selectMother = false;
        // "Select Spouse Caption" / "Select Child Caption".
        bool selectCaption = false;
    };

    // The contents of the name box and the details line for a viewpoint.
    struct Details {
        QString name;
        QString text;
    };

    static const QString kNoDetails;
    static const QString kUnnamedPerson;
    static const QString kUnnamedChild;
    static const QString kKeyRuleMessage;
    static const QString kAlreadyDefinedMessage;

    explicit ViewpointManagerModel(QObject* parent = nullptr);
    ~ViewpointManagerModel() override;

    // Where the errors of the tree's event handlers are reported (a red log
    // line and a box); without one they are dropped.
    void setReporter(Reporter* reporter) { reporter_ = reporter; }

    // Takes the tree (or drops it, with null), keeps its events, rebuilds the
    // name index and refills the person list; the spouse and children lists
    // are emptied. Returns true when the tree is another one than before.
    bool bind(std::shared_ptr<SVGTree> tree);
    SVGTree* tree() const { return tree_.get(); }
    // The tree's viewpoint keys, in its order.
    QStringList viewpointKeys() const;

    // ---- The lists
    ViewpointListModel& list(List which) { return *lists_[which]; }
    const ViewpointListModel& list(List which) const { return *lists_[which]; }
    // The selected row of a list, -1 for none.
    int selectedRow(List which) const { return selected_[which]; }
    const ViewpointNameIndex& nameIndex() const { return names_; }

    QString partialName() const { return partialName_; }
    bool hidePersonDone() const { return hidePersonDone_; }
    bool hidePersonFamiliesDone() const { return hidePersonFamiliesDone_; }
    // A change of the search text refills the person list and empties the
    // other two; nobody is selected.
    void setPartialName(const QString& text);
    // The check boxes: each change refreshes the lists.
    void setHidePersonDone(bool hide);
    void setHidePersonFamiliesDone(bool hide);

    // The allocation state of a person: 0 in no viewpoint, 1 in a viewpoint
    // but with a spousal family in none, 2 in a viewpoint with every spousal
    // family in one (also with no spousal family).
    int iPersonDoneState(const SVGBox& oBox) const;

    void BuildNameIndex();
    // Refills the person list from the name index, the search text and the
    // check boxes; nothing is selected.
    void FillPersonList();
    // Refills the person list and selects the person selected before, when
    // it is still listed, which refills its spouses; the children list is
    // emptied.
    void RefreshLists();

    // The selection steps. A row outside the list does nothing.
    // Person: lists the person's spouses, one entry per spousal family, and
    // empties the children list.
    void selectPerson(int row);
    // Spouse: lists the children of the family of that spouse entry.
    void selectSpouse(int row);
    void selectChild(int row);

    // ---- The current viewpoint and the key box's commands
    QString currentKey() const { return currentKey_; }
    // Makes the key current and gives its name and details ("" for none).
    Details ShowViewpointDetails(const QString& sKey);
    // Adds a viewpoint of 12 columns and 8 rows after checking the key; the
    // name defaults to the key. Returns the name given to it.
    QString AddViewpoint(const QString& sKey, const QString& sName);
    // The question asked before the current viewpoint is deleted.
    QString DeleteQuestion() const;
    // Deletes the current viewpoint; the tree's event refreshes the lists,
    // and may close windows that show it before this returns.
    void DeleteViewpoint();
    // Renames the current viewpoint to sNewKey with sName, checking a changed
    // key as adding does. Does nothing (false) unless both keys are given;
    // true when the key changed.
    bool RenameViewpoint(const QString& sNewKey, const QString& sName);

    // ---- The context menus
    MenuState menuState(List which) const;
    // The father (bFather) or mother of a person, from the first family that
    // lists the person among its children: the father is the first parent
    // when that one is male, else the second; the mother is the other one.
    SVGBoxPtr oGetParent(const SVGBox* oBox, bool bFather) const;
    // The person's viewpoints by name and, when it is in one, the viewpoints
    // of each of its spousal families, one line each.
    QString sGetMembershipText(const SVGBox& oBox) const;
    // The names of the viewpoints of a comma key list, quoted, joined by ", ".
    QString sViewpointNames(const QString& sKeys) const;
    // The paragraph of "Show Details" on a list ("" when there is nothing to show).
    QString detailsText(List which) const;
    // The caption a select entry puts into the search box, or none when it
    // has nothing to put there. Father and mother: of the person (person
    // list) or of the spouse (spouse list).
    std::optional<QString> parentCaption(List which, bool bFather) const;
    // "Select Spouse Caption" / "Select Child Caption".
    std::optional<QString> entryCaption(List which) const;
    // The clipboard texts of the copy entries.
    QString copyPerson() const;
    QString copyPersonAndAllSpouses() const;
    QString copyPersonAndSpouse() const;
    QString copyPersonSpouseAndChildren() const;
    QString copyChild() const;

    static bool isPlaceholderCaption(const QString& caption);

    // ---- The tree's events
    void oTree_ViewpointDeleted(const QString& sKey);
    void oTree_ViewpointRenamed(const QString& sKey, const QString& sNewKey);
    void oTree_ViewpointPFChange(const QString& sKey);
    void oTree_PFChange();
    void oTree_PersonDetails(const QString& sKey);
    void oTree_FamilyDetails(const QString& sKey);

Q_SIGNALS:
    // The lists or their selections changed; the window mirrors them.
    void selectionsChanged();

private:
    SVGTree& heldTree() const;
    bool admitted(int state) const;
    ViewpointListEntry entryFor(const SVGBox& oBox, const QString& caption) const;
    // The person of a list's selected entry; an error when nothing is
    // selected or the person has left the tree.
    SVGBoxPtr selectedBox(List which) const;
    const ViewpointListEntry& selectedEntry(List which) const;
    // The family the selected spouse shares with the selected person.
    SVGFamilyPtr sharedFamily() const;
    SVGFamilyPtr familyOf(const QString& sKey) const;
    void clearDependents();
    // Runs a tree event's refresh, reporting its errors.
    template <class F>
    void handleEvent(F&& refresh);

    std::shared_ptr<SVGTree> tree_;
    ViewpointNameIndex names_;
    std::array<ViewpointListModel*, 3> lists_{};
    std::array<int, 3> selected_{-1, -1, -1};
    // The person list's entries before its last refill, kept for their memory.
    std::vector<ViewpointListEntry> spare_;
    QString partialName_;
    bool hidePersonDone_ = false;
    bool hidePersonFamiliesDone_ = false;
    QString currentKey_;
    Reporter* reporter_ = nullptr;
};
