#pragma once

#include <memory>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GEDKeyMap.h"
#include "GEDNameListModel.h"

class GEDBrowserHost;
class LoadedGEDCOMClass;
class PlaceKeyClass;

// What the GEDCOM browser window shows and does, without the window: the
// loaded document and its persons, the file path and title, the name filter
// and the person list it fills, the spouse and child lists of the selected
// person and family, the image switch, the minimum valid year, and the
// commands of the window and its popup menus. It receives the library's
// messages while it is open. Errors of the commands rise to the caller (the
// window's handlers report them).
class GEDBrowserSession : public QObject, public GEDControlListener {
    Q_OBJECT

public:
    explicit GEDBrowserSession(GEDBrowserHost& host, QObject* parent = nullptr);
    ~GEDBrowserSession() override;

    // ---- Opening and closing
    // Takes the holder's state (making a control when it has none) and fills
    // the person list when it is empty.
    void open(LoadedGEDCOMClass& oDat);
    // Writes the state back into the holder it was opened with.
    void close();

    // ---- The file
    // Loads a GEDCOM file (the path the open dialog gave): title, log lines,
    // emptied lists, the library's load, the persons, their picture folders
    // as place keys and the person list. A load abandoned on a warning leaves
    // no document and empty lists.
    void loadFile(const QString& sPath);
    // Writes the loaded document as a new tree definition file; a failed
    // export leaves no file behind (an older file stays whole).
    void ExportTreeFile(const QString& sPath);
    // The file name the export proposes.
    QString proposedExportName() const;
    // Lets the user edit the place keys.
    void manageKeys();

    // ---- Fields of the window
    QString filename() const { return sFilename; }
    QString title() const { return sTitle; }
    bool exportEnabled() const { return bExportEnabled; }
    bool loadImages() const { return bLoadImages; }
    void setLoadImages(bool bLoad) { bLoadImages = bLoad; }
    QString partName() const { return sPartName; }
    // The name filter changed: refills the person list and empties the
    // spouse and child lists.
    void setPartName(const QString& sText);
    QString minValidDateText() const;
    // Checks a typed minimum valid year: a number that rounds (halves to
    // even) into 0 to 2499 is given to the library and true returned; else
    // "Invalid date value" is reported and the year stays as it was.
    bool setMinValidDateText(const QString& sText);

    // ---- The lists
    GEDNameListModel& personList() { return names; }
    const QStringList& spouseRows() const { return spouses; }
    const QStringList& childRows() const { return children; }
    int selectedPersonRow() const { return iPersonRow; }
    int selectedSpouseRow() const { return iSpouseRow; }
    int selectedChildRow() const { return iChildRow; }
    // A row chosen in a list; -1 for none. Choosing a person fills the
    // spouse list, choosing a spouse the child list.
    void selectPersonRow(int row);
    void selectSpouseRow(int row);
    void selectChildRow(int row);
    // Fills the person list from the name filter (nothing without a document).
    void FillNameList();

    // ---- The selection (null handles when there is none)
    GEDIndiClass selectedPerson() const;
    GEDFamClass selectedFamily() const;
    GEDIndiClass selectedSpouse() const;
    GEDIndiClass selectedChild() const;
    // The father or mother of a person (of its birth family), or none.
    static GEDIndiClass oGetParent(const GEDIndiClass& oPer, bool bFather);
    // A row such as "(Unknown Person)": begins with "(" and ends with ")".
    static bool isPlaceholderRow(const QString& sRow);
    // "Known as: " and the person's personal names, with ", " between names
    // and no "/" around surnames; "" when it has none.
    static QString sGetKnownAs(const GEDIndiClass& oPer);

    // ---- Popup menu commands
    void copyPerson();
    void copyPersonAndAllSpouses();
    void copyPersonAndSpouse();
    void copyPersonSpouseAndChildren();
    void copyChild();
    void showPersonDetails();
    void showSpouseDetails();
    void showChildDetails();
    // The four texts made into one paragraph, logged and shown; nothing when
    // they are all empty.
    void ShowDetails(const QString& s1, const QString& s2, const QString& s3, const QString& s4);
    void selectPersonFatherName();
    void selectPersonMotherName();
    void selectSpouseName();
    void selectSpouseFatherName();
    void selectSpouseMotherName();
    void selectChildName();
    // Whether the menu entries that need them are enabled.
    bool personHasParent(bool bFather) const { return !oGetParent(selectedPerson(), bFather).isNull(); }
    bool spouseHasParent(bool bFather) const { return !oGetParent(selectedSpouse(), bFather).isNull(); }
    bool spouseRowNamed() const { return !isPlaceholderRow(spouses.value(iSpouseRow)); }
    bool childRowNamed() const { return !isPlaceholderRow(children.value(iChildRow)); }

    // ---- What the session holds
    std::shared_ptr<GEDControlClass> control() const { return oCntl; }
    std::shared_ptr<GEDDocClass> document() const { return oDoc; }
    const QList<GEDIndiClass>& persons() const { return Persons; }
    PlaceKeyClass& placeKeys() const { return *PlaceKeys; }
    const GEDKeyMap& keyMap() const { return keys; }

    // The library's messages: a warning is shown with OK and Cancel, Cancel
    // abandons the load under way; other messages are logged.
    void ReportMessage(const QString& sText, bool bWarning) override;

Q_SIGNALS:
    // Something the window shows other than the person list changed.
    void changed();

private:
    void setControl(std::shared_ptr<GEDControlClass> control);
    void clearLists();
    void putNameInFilter(const QString& sName);
    void copy(const QString& sText);

    GEDBrowserHost& host;
    LoadedGEDCOMClass* holder = nullptr;
    std::shared_ptr<GEDControlClass> oCntl;
    std::shared_ptr<GEDDocClass> oDoc;
    QList<GEDIndiClass> Persons;
    QList<QStringList> NameArrays;
    QString sTitle;
    std::shared_ptr<PlaceKeyClass> PlaceKeys;
    QString sVersion;
    QString sFilename;
    bool bLoadImages = true;
    bool bExportEnabled = false;
    QString sPartName;
    GEDKeyMap keys;
    GEDNameListModel names;
    QStringList spouses, children;
    int iPersonRow = -1, iSpouseRow = -1, iChildRow = -1;
};
