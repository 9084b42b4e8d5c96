#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "KeySet.h"
#include "PlaceKeyClass.h"
#include "SVGBox.h"
#include "SVGDisplay.h"
#include "SVGFamily.h"
#include "SVGViewpointClass.h"
#include "TreeTypes.h"

class Reporter;
class SVGApplications;

// One loaded family tree: its persons, families, header settings, place keys,
// viewpoints, enabled applications and display settings, the path of its tree
// definition file, the unsaved flag, the start-up directives and the change
// events that keep the Tree Designer and the viewpoint manager up to date.
//
// PFChange and ViewpointPFChange are deferred: changes set a pending flag and
// collect viewpoint keys, and RaisePendingEvents raises them once. The other
// events are raised at once.
class SVGTree : public QObject {
    Q_OBJECT

public:
    // A tree without a display of its own gets a default one.
    explicit SVGTree(std::shared_ptr<SVGDisplay> display = {}, QObject* parent = nullptr);
    ~SVGTree() override;

    // Where SetViewpointKey and the file members log their lines; none by default.
    void setReporter(Reporter* reporter) { reporter_ = reporter; }
    Reporter* reporter() const { return reporter_; }
    // The program's applications and services definitions: the reader asks
    // them which header settings name an application and builds the enabled
    // set from them. Without them no setting names an application and the
    // enabled set is empty.
    void setApplications(const SVGApplications* applications) { applications_ = applications; }

    // ---- Tree definition files
    // Reads a tree definition file into this new, empty tree, with `oDispl` as
    // its display; warnings go to the reporter and reading goes on, errors end
    // the load and reach the caller.
    void LoadFile(std::shared_ptr<SVGDisplay> oDispl, const QString& sFile, bool bVerify);
    // True after a load that failed or stopped at an unknown record: the tree
    // may hold less than its file, so it must not be saved over the file
    // without the user's consent.
    bool IsIncompletelyLoaded() const { return incomplete_; }
    // Writes the whole tree to its tree definition file. Texts the file cannot
    // carry in their place are refused before anything is written; a failed
    // write leaves the old file as it was. A tree that did not load in full is
    // never written over its file: that raises an error that says to use
    // Save As.
    void SaveToFile();
    // Asks for a new file through `chooseFile` (which shows the save dialog
    // with the texts below and raises the cancel error when the user cancels),
    // then saves there; false when cancelled. A tree that did not load in
    // full may be saved to any file but its own, and is then complete.
    bool SaveAs(const std::function<QString()>& chooseFile);
    static const char* const kSaveAsFilter;
    static const char* const kSaveAsDefaultExt;
    static const char* const kSaveAsTitle;
    // Writes the tree as a GEDCOM 5.5.1 file (GEDCOMExport); the tree, its
    // unsaved flag and its pending events stay as they are.
    void ExportToGEDCOM(const QString& sFile) const;

    // ---- Events and the unsaved flag
    void ClearPendingEvents();
    void RaisePendingEvents();
    void SetPendingViewpointPFChange(const QString& sVKey);
    void SetPendingPFChange() { pendingPF_ = true; }
    void RaisePersonDetails(const QString& sKey);
    void RaiseFamilyDetails(const QString& sKey);
    void RaiseViewpointPFChange(const QString& sKey);
    void SetUnsaved(bool bSetting = false) { unsaved_ = bSetting; }
    bool IsUnsaved() const { return unsaved_; }
    bool HasPendingPFChange() const { return pendingPF_; }
    QString GetPendingViewpoints() const { return pendingViewpoints_.join(); }

    // ---- Keys, directives, persons and families
    // A key no person, family, place key or viewpoint uses, made from sBase.
    QString MakeUniqueKey(QString sBase) const;
    void InitDirectives(bool bLaunchTDPar, bool bProcessSVGPar, bool bAutoLayoutPar, bool bTopTDPar,
                        bool bBottomTDPar, bool bDragIconPar);
    SVGBoxPtr NewPerson(const QString& sKey, const QString& sText, const QString& sShortText, int iCol, int iRow,
                        const QString& sSex, bool bTent, const QString& sImage, bool bFromFile);
    void RemPerson(const QString& sKey);
    // The first family, in family order, that has the person among its children.
    QString ChildFamily(const QString& sKey) const;
    // The same for the person the tree holds under the box's key; for a box
    // the tree holds, found without looking its key up.
    QString ChildFamily(const SVGBox& oBox) const;
    // Every family the tree holds that has the person among its children, in
    // family order (a file may give a person to more than one).
    QStringList ChildFamilies(const QString& sKey) const;
    void RemFamily(const QString& sKey);
    SVGFamilyPtr NewFamily(const QString& sKey, const QString& sPar1, const QString& sPar2);

    // ---- Clipboard texts: persons, families and key lists as tagged text
    QString Pack1Person(const SVGBox& oBox) const;
    QString PackNPersons(const QString& sKeySet) const;
    // The family block alone; the place keys its persons' images name join sPlaceKeySet.
    QString PackFamily(const SVGFamily& oFam, QString& sPlaceKeySet) const;
    QString Pack1Family(const SVGFamily& oFam) const;
    QString PackNFamilies(const QString& sKeySet) const;
    QString PackKeys(const QString& sSign, const QString& sKeySet) const;
    // Pasting (bNew false: records whose keys exist stay as they are) or
    // pasting as new copies (bNew true: such records get fresh keys).
    SVGBoxPtr Unpack1Person(const QString& sData, bool bNew, QString& sKey);
    QString UnpackNPersons(const QString& sData, bool bNew);
    SVGFamilyPtr UnpackFamily(const QString& sData, bool bNew, QString& sKeySet);
    QString UnpackNFamilies(const QString& sData, bool bNew, QString& sPKeyTotal);
    QString UnpackKeys(const QString& sData, QString& sSign) const;

    // ---- Collections
    // The persons and families are read through these; they are added and
    // removed only by NewPerson, RemPerson, NewFamily and RemFamily, which
    // keep the tree's indexes (child families, spouses, viewpoints) with them.
    const PersonDict& GetPersons() const { return persons_; }
    const FamilyDict& GetFamilies() const { return families_; }
    StringDict& GetSettings() { return settings_; }
    const StringDict& GetSettings() const { return settings_; }
    SVGDisplay* GetDisplay() const { return display_.get(); }
    std::shared_ptr<SVGDisplay> GetDisplayShared() const { return display_; }
    void SetDisplay(std::shared_ptr<SVGDisplay> display);
    PlaceKeyClass& GetPlaceKeys() { return placeKeys_; }
    const PlaceKeyClass& GetPlaceKeys() const { return placeKeys_; }
    const ViewpointDict& GetViewpoints() const { return viewpoints_; }
    // The enabled applications (id to name); none until a load has built it.
    StringDict* GetAppDict() { return appDict_.get(); }
    void SetAppDict(const StringDict& dict) { appDict_ = std::make_unique<StringDict>(dict); }

    // ---- Viewpoints and what is in view
    // The persons (families) in view: all of them for the full tree, else a
    // new dictionary of the current viewpoint's, in the viewpoint's order.
    PersonDict GetViewPersons() const;
    FamilyDict GetViewFamilies() const;
    // The same without copying the whole tree's: the tree's own dictionary
    // for the full tree, else `view` filled with the viewpoint's. What they
    // return holds until persons (families) are added to or removed from
    // the tree.
    const PersonDict& GetViewPersons(PersonDict& view) const;
    const FamilyDict& GetViewFamilies(FamilyDict& view) const;
    QString GetPersonViewpoints(const SVGBox& oBox) const;
    QString GetFamilyViewpoints(const SVGFamily& oFam) const;
    bool IsPersonInViewpoint(const SVGBox& oBox) const;
    bool IsFamilyInViewpoint(const QString& sKey) const;
    SVGViewpointPtr AddViewpoint(const QString& sKey, const QString& sName, int iCols, int iRows);
    void DeleteViewpoint(const QString& sKey);
    void RenameViewpoint(const QString& sKey, const QString& sNewKey, const QString& sName);
    QString GetViewpointSet() const;
    bool UsingViewpoints() const;

    // ---- Positions and grid sizes, in display orientation unless bNotOrient
    void GetPerColRow(const QString& sKey, int& iCol, int& iRow) const;
    // The same for a person of the tree at hand: the whole tree's position is
    // the person's own, found without looking the key up.
    void GetPerColRow(const SVGBox& person, int& iCol, int& iRow) const;
    void SetPerColRow(const QString& sKey, int& iCol, int& iRow);
    void GetFullGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient = false) const;
    void GetGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient = false) const;
    void SetGridColRow(int& iShowCols, int& iShowRows, bool bNotOrient = false);

    // ---- Orientation, extent, root person
    void SetHoriz(bool bHoriz);
    void SetStepped(bool bStep);
    void GetFarEdges(double& fRight, double& fBottom) const;
    SVGBoxPtr GetRootPerson() const;
    void SetRootPerson(const SVGBoxPtr& oBox);

    // ---- File and current viewpoint
    void SetTreeFile(const QString& sFile) { treeFile_ = sFile; }
    QString GetTreeFile() const { return treeFile_; }
    SVGViewpointPtr GetViewpoint() const { return current_; }
    QString GetViewpointKey() const;
    QString GetViewpointName() const;
    void SetViewpointKey(const QString& sViewpoint);

    bool GetLaunchTD() const { return launchTD_; }
    bool GetProcessSVG() const { return processSVG_; }
    bool GetAutoLayout() const { return autoLayout_; }
    bool GetTopTD() const { return topTD_; }
    bool GetBottomTD() const { return bottomTD_; }
    bool GetDragIcon() const { return dragIcon_; }

Q_SIGNALS:
    void ViewpointDeleted(const QString& sKey);
    void ViewpointRenamed(const QString& sKey, const QString& sNewKey);
    void ViewpointPFChange(const QString& sKey);
    void PFChange();
    void PersonDetails(const QString& sKey);
    void FamilyDetails(const QString& sKey);

private:
    friend class SVGViewpointClass;
    // Told by the viewpoints this tree holds as persons and families join and
    // leave them: each person and family keeps the list of viewpoints that
    // hold it, so that asking for them needs no look-up in every viewpoint.
    void viewpointPersonJoined(const SVGViewpointClass& oView, const QString& sKey);
    void viewpointPersonLeft(const SVGViewpointClass& oView, const QString& sKey);
    void viewpointFamilyJoined(const SVGViewpointClass& oView, const QString& sKey);
    void viewpointFamilyLeft(const SVGViewpointClass& oView, const QString& sKey);
    // A viewpoint the tree no longer holds: its persons and families drop it.
    void releaseViewpoint(SVGViewpointClass& oView);
    // The keys of the listed viewpoints, joined by ",", in the tree's order.
    QString viewpointKeys(const ViewpointList& oHeld) const;
    void setSetting(const QString& name, const QString& value);
    void logLine(const QString& text) const;
    void warn(const QString& text) const;
    void checkSavable() const;
    [[noreturn]] void refuseIncompleteSave() const;
    QString sPackPerson(const SVGBox& oBox) const;
    SVGBoxPtr UnpackPerson(const QString& sBlock, bool bNew, QString& sKey);
    SVGFamilyPtr unpackFamilyText(const QString& sData, bool bNew, QString& sKeySet);
    QString unpackPersonsText(const QString& sData, bool bNew);
    QString unpackFamiliesText(const QString& sData, bool bNew, QString& sPKeyTotal);
    QString childFamilyOf(const SVGBox& oBox) const;
    // The first person, in the tree's order, of every lineage loop: a group
    // of persons each of whom is an ancestor of every other through the
    // families' children (a person who is a child of their own family is a
    // loop alone). In the order of those persons.
    std::vector<const SVGBox*> lineageLoops() const;
    // The keys of the viewpoints for which `holds` is true, joined by ",".
    QString viewpointsHolding(const std::function<bool(const SVGViewpointClass&)>& holds) const;

    std::shared_ptr<SVGDisplay> display_;
    PersonDict persons_;
    FamilyDict families_;
    StringDict settings_;
    PlaceKeyClass placeKeys_;
    std::unique_ptr<StringDict> appDict_;
    ViewpointDict viewpoints_;
    SVGViewpointPtr current_;
    bool unsaved_ = false;
    QString treeFile_;
    bool launchTD_ = false, processSVG_ = false, autoLayout_ = false, topTD_ = false, bottomTD_ = false,
         dragIcon_ = false;
    KeySet pendingViewpoints_;
    bool pendingPF_ = false;
    Reporter* reporter_ = nullptr;
    const SVGApplications* applications_ = nullptr;
    bool incomplete_ = false;
    quint64 familiesAdded_ = 0;  // the order stamp of the last family added
};
