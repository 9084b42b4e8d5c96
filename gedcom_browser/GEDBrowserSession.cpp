#include "GEDBrowserSession.h"

#include <cmath>

#include <QFileInfo>
#include <QLocale>

#include "GEDBrowserHost.h"
#include "GEDClipboardTexts.h"
#include "GEDTreeExport.h"
#include "LoadedGEDCOMClass.h"
#include "PictureFolders.h"
#include "foundation/AppError.h"
#include "foundation/PathHelpers.h"
#include "foundation/PersonDetailsParagraph.h"
#include "foundation/WriteTextFile.h"
#include "tree_model/PlaceKeyClass.h"

namespace {
const QString kSource = QStringLiteral("FormKinreader");
constexpr int kMaxValidYear = 2499;
}  // namespace

GEDBrowserSession::GEDBrowserSession(GEDBrowserHost& host, QObject* parent)
    : QObject(parent), host(host), PlaceKeys(std::make_shared<PlaceKeyClass>()) {}

GEDBrowserSession::~GEDBrowserSession() { setControl(nullptr); }

void GEDBrowserSession::setControl(std::shared_ptr<GEDControlClass> control) {
    if (oCntl && oCntl->GetListener() == this) oCntl->SetListener(nullptr);
    oCntl = std::move(control);
    if (oCntl) oCntl->SetListener(this);
}

// ---- Opening and closing

void GEDBrowserSession::open(LoadedGEDCOMClass& oDat) {
    holder = &oDat;
    setControl(oDat.GetCntl());
    oDoc = oDat.GetDoc();
    Persons = oDat.GetPersons();
    NameArrays = oDat.GetNameArrays();
    sTitle = oDat.GetTitle();
    PlaceKeys = oDat.GetPlaceKeys();
    sVersion = oDat.GetSVGVersion();
    names.setNameArrays(NameArrays);
    if (oDoc) keys.build(Persons, oDoc->GetAllFamilies());
    if (names.rowCount() == 0) FillNameList();
    sFilename = oDat.GetFilename();
    bExportEnabled = !sFilename.isEmpty();
    bLoadImages = oDat.GetLoadImages();
    if (!oCntl) setControl(createGEDControl());
    Q_EMIT changed();
}

void GEDBrowserSession::close() {
    if (!holder) return;
    holder->SetCntl(oCntl);
    holder->SetDoc(oDoc);
    holder->SetPersons(Persons);
    holder->SetNameArrays(NameArrays);
    holder->SetTitle(sTitle);
    holder->SetPlaceKeys(PlaceKeys ? PlaceKeys : std::make_shared<PlaceKeyClass>());
    holder->SetFilename(sFilename);
    holder->SetLoadImages(bLoadImages);
    holder = nullptr;
    setControl(nullptr);
}

// ---- The file

void GEDBrowserSession::loadFile(const QString& sPath) {
    // A file title without "." is taken whole.
    const QString fileTitle = QFileInfo(sPath).fileName();
    const int dot = fileTitle.lastIndexOf(u'.');
    sTitle = dot < 0 ? fileTitle : fileTitle.left(dot);
    host.logLine(QStringLiteral("Loading GEDCOM file: ") + sPath);

    sPartName.clear();
    names.clear();
    clearLists();
    sFilename = sPath;
    Persons.clear();
    NameArrays.clear();
    names.setNameArrays(NameArrays);
    oDoc.reset();
    keys.clear();
    Q_EMIT changed();

    if (!oCntl) setControl(createGEDControl());
    oDoc = oCntl->LoadGEDCOM(sPath);
    if (!oDoc) return;

    bExportEnabled = true;
    Q_EMIT changed();
    if (oDoc->Kestrova()) host.logLine(QStringLiteral("GEDCOM file was originally created by Kvora"));
    host.logLine(QStringLiteral("Loaded ") + QString::number(oDoc->GetCountPersons()) + QStringLiteral(" persons and ") +
                 QString::number(oDoc->GetCountFamilies()) + QStringLiteral(" families from GEDCOM file"));
    Persons = oDoc->GetAllPersons();
    NameArrays = oDoc->GetAllNames(Persons);
    names.setNameArrays(NameArrays);
    MapImagesToPlaceKeys(Persons, *PlaceKeys);
    keys.build(Persons, oDoc->GetAllFamilies());
    if (!keys.changes().isEmpty()) host.warn(keys.warningText());
    FillNameList();
}

QString GEDBrowserSession::proposedExportName() const { return sExportFileName(sTitle); }

void GEDBrowserSession::ExportTreeFile(const QString& sPath) {
    const QString full = sGetFullPath(sPath);
    host.logLine(QStringLiteral("Exporting GEDCOM to tree definition file: ") + full);
    if (!oDoc) raiseError(ErrorOffset::WrongPlace, kSource, QStringLiteral("No GEDCOM file is loaded"));
    oDoc->Layout();
    GEDTreeExportContext context;
    context.title = sTitle;
    context.version = sVersion;
    context.placeKeys = PlaceKeys.get();
    context.keys = &keys;
    context.loadImages = bLoadImages;
    context.reporter = &host;
    WriteTextFile out;
    out.OpenFile(full, false);
    writeGEDTreeLines(*oDoc, context, [&out](const QString& line) { out.WriteLine(line); });
    out.CloseFile();
}

void GEDBrowserSession::manageKeys() {
    if (!PlaceKeys) PlaceKeys = std::make_shared<PlaceKeyClass>();
    host.editPlaceKeys(*PlaceKeys);
}

// ---- Fields

void GEDBrowserSession::setPartName(const QString& sText) {
    sPartName = sText;
    FillNameList();
    clearLists();
    Q_EMIT changed();
}

QString GEDBrowserSession::minValidDateText() const {
    return oCntl ? QString::number(oCntl->GetMinValidDate()) : QString();
}

bool GEDBrowserSession::setMinValidDateText(const QString& sText) {
    bool ok = false;
    const double value = QLocale::c().toDouble(sText.trimmed(), &ok);
    // Halves round to even (the default rounding mode).
    const double year = ok && std::isfinite(value) ? std::nearbyint(value) : -1;
    if (year < 0 || year > kMaxValidYear) {
        host.warn(QStringLiteral("Invalid date value"));
        return false;
    }
    if (oCntl) oCntl->SetMinValidDate(static_cast<short>(year));
    return true;
}

// ---- The lists

void GEDBrowserSession::clearLists() {
    spouses.clear();
    children.clear();
    iPersonRow = iSpouseRow = iChildRow = -1;
}

void GEDBrowserSession::FillNameList() {
    if (!oDoc || NameArrays.isEmpty()) return;
    names.setMatches(oDoc->GetNameMatches(sPartName, NameArrays));
    iPersonRow = -1;
}

void GEDBrowserSession::selectPersonRow(int row) {
    iPersonRow = row;
    spouses.clear();
    children.clear();
    iSpouseRow = iChildRow = -1;
    const GEDIndiClass person = selectedPerson();
    if (!person.isNull()) {
        const QList<GEDIndiClass> partners = person.GetSpouses(person.GetFamS());
        for (const GEDIndiClass& partner : partners) {
            if (partner.isNull()) spouses << QStringLiteral("(Unknown Person)");
            else if (const QString name = partner.GetName(); !name.isEmpty()) spouses << name;
            else spouses << QStringLiteral("(Unnamed Person)");
        }
    }
    Q_EMIT changed();
}

void GEDBrowserSession::selectSpouseRow(int row) {
    iSpouseRow = row;
    children.clear();
    iChildRow = -1;
    const GEDFamClass family = selectedFamily();
    if (!family.isNull()) {
        for (const GEDIndiClass& child : family.GetChildren()) {
            const QString name = child.GetName();
            children << (name.isEmpty() ? QStringLiteral("(Unnamed Child)") : name);
        }
    }
    Q_EMIT changed();
}

void GEDBrowserSession::selectChildRow(int row) {
    iChildRow = row;
    Q_EMIT changed();
}

// ---- The selection

GEDIndiClass GEDBrowserSession::selectedPerson() const {
    const int i = names.personIndex(iPersonRow);
    return i >= 0 && i < Persons.size() ? Persons[i] : GEDIndiClass();
}

GEDFamClass GEDBrowserSession::selectedFamily() const {
    const GEDIndiClass person = selectedPerson();
    if (person.isNull() || iSpouseRow < 0) return GEDFamClass();
    return person.GetFamS().value(iSpouseRow);
}

GEDIndiClass GEDBrowserSession::selectedSpouse() const {
    const GEDFamClass family = selectedFamily();
    if (family.isNull()) return GEDIndiClass();
    const GEDIndiClass husb = family.GetHusb();
    return husb == selectedPerson() ? family.GetWife() : husb;
}

GEDIndiClass GEDBrowserSession::selectedChild() const {
    const GEDFamClass family = selectedFamily();
    if (family.isNull() || iChildRow < 0) return GEDIndiClass();
    return family.GetChildren().value(iChildRow);
}

GEDIndiClass GEDBrowserSession::oGetParent(const GEDIndiClass& oPer, bool bFather) {
    if (oPer.isNull()) return GEDIndiClass();
    const GEDFamClass family = oPer.GetFamC();
    if (family.isNull()) return GEDIndiClass();
    return bFather ? family.GetHusb() : family.GetWife();
}

bool GEDBrowserSession::isPlaceholderRow(const QString& sRow) {
    return sRow.startsWith(u'(') && sRow.endsWith(u')');
}

// ---- Popup menu commands

void GEDBrowserSession::copy(const QString& sText) { host.setClipboardText(sText); }

void GEDBrowserSession::copyPerson() {
    const GEDIndiClass person = selectedPerson();
    if (person.isNull()) return;
    copy(GEDClipboardTexts(keys, *PlaceKeys, bLoadImages).sPack1GEDPerson(person));
}

void GEDBrowserSession::copyPersonAndAllSpouses() {
    const GEDIndiClass person = selectedPerson();
    if (person.isNull()) return;
    const QList<GEDFamClass> families = person.GetFamS();
    if (families.isEmpty()) return copyPerson();
    QStringList ids;
    for (const GEDFamClass& f : families) ids << f.GetXref();
    copy(GEDClipboardTexts(keys, *PlaceKeys, bLoadImages).sPackGEDFamilyKeys(*oDoc, ids.join(u','), true));
}

void GEDBrowserSession::copyPersonAndSpouse() {
    const GEDIndiClass person = selectedPerson();
    if (person.isNull()) return;
    if (person.GetFamS().isEmpty()) return copyPerson();
    const GEDFamClass family = selectedFamily();
    if (family.isNull()) return;
    copy(GEDClipboardTexts(keys, *PlaceKeys, bLoadImages).sPack1GEDFamily(family, true));
}

void GEDBrowserSession::copyPersonSpouseAndChildren() {
    const GEDFamClass family = selectedFamily();
    if (family.isNull()) return;
    copy(GEDClipboardTexts(keys, *PlaceKeys, bLoadImages).sPack1GEDFamily(family, false));
}

void GEDBrowserSession::copyChild() {
    const GEDIndiClass child = selectedChild();
    if (child.isNull()) return;
    copy(GEDClipboardTexts(keys, *PlaceKeys, bLoadImages).sPack1GEDPerson(child));
}

QString GEDBrowserSession::sGetKnownAs(const GEDIndiClass& oPer) {
    QString names = oPer.GetPersonalNames();
    if (names.isEmpty()) return QString();
    names.replace(u'|', QStringLiteral(", "));
    names.remove(u'/');
    return QStringLiteral("Known as: ") + names;
}

void GEDBrowserSession::ShowDetails(const QString& s1, const QString& s2, const QString& s3, const QString& s4) {
    const QString text = sPersonDetailsParagraph(s1, s2, s3, s4);
    if (text.isEmpty()) return;
    host.logLine(text);
    host.showInformation(text);
}

void GEDBrowserSession::showPersonDetails() {
    const GEDIndiClass person = selectedPerson();
    if (!person.isNull()) ShowDetails(person.GetCaption(), sGetKnownAs(person), person.GetBriefNotes(), QString());
}

void GEDBrowserSession::showSpouseDetails() {
    const GEDFamClass family = selectedFamily();
    if (family.isNull()) return;
    const GEDIndiClass spouse = selectedSpouse();
    if (spouse.isNull())
        raiseError(ErrorOffset::InvalidKey, kSource,
                   QStringLiteral("Family ") + family.GetXref() + QStringLiteral(" has no partner to show"));
    ShowDetails(spouse.GetCaption(), sGetKnownAs(spouse), spouse.GetBriefNotes(), family.GetBriefNotes());
}

void GEDBrowserSession::showChildDetails() {
    const GEDIndiClass child = selectedChild();
    if (!child.isNull()) ShowDetails(child.GetCaption(), sGetKnownAs(child), child.GetBriefNotes(), QString());
}

void GEDBrowserSession::putNameInFilter(const QString& sName) { setPartName(sName); }

void GEDBrowserSession::selectPersonFatherName() {
    if (const GEDIndiClass p = oGetParent(selectedPerson(), true); !p.isNull()) putNameInFilter(p.GetName());
}

void GEDBrowserSession::selectPersonMotherName() {
    if (const GEDIndiClass p = oGetParent(selectedPerson(), false); !p.isNull()) putNameInFilter(p.GetName());
}

void GEDBrowserSession::selectSpouseFatherName() {
    if (const GEDIndiClass p = oGetParent(selectedSpouse(), true); !p.isNull()) putNameInFilter(p.GetName());
}

void GEDBrowserSession::selectSpouseMotherName() {
    if (const GEDIndiClass p = oGetParent(selectedSpouse(), false); !p.isNull()) putNameInFilter(p.GetName());
}

void GEDBrowserSession::selectSpouseName() {
    const QString row = spouses.value(iSpouseRow);
    if (!row.isEmpty() && !isPlaceholderRow(row)) putNameInFilter(row);
}

void GEDBrowserSession::selectChildName() {
    const QString row = children.value(iChildRow);
    if (!row.isEmpty() && !isPlaceholderRow(row)) putNameInFilter(row);
}

// ---- The library's messages

void GEDBrowserSession::ReportMessage(const QString& sText, bool bWarning) {
    if (!bWarning) {
        host.logLine(sText);
        return;
    }
    if (host.warnDiscard(sText) && oCntl) oCntl->Quit();
}
