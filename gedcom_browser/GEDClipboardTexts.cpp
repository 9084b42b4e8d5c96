#include "GEDClipboardTexts.h"

#include <QStringList>

#include "GEDDocClass.h"
#include "GEDKeyMap.h"
#include "PictureFolders.h"
#include "foundation/AppError.h"
#include "tree_model/PlaceKeyClass.h"
#include "tree_model/TreeText.h"

namespace {
const QChar kLF(10), kCR(13), kFF(12), kVT(11);
const QString kSource = QStringLiteral("FormKinreader");

// A text without the characters that separate the parts of a clipboard text.
QString clean(QString text) {
    text.remove(kCR);
    text.remove(kVT);
    text.remove(kFF);
    return text;
}

// CR + mark + piece for each line of a note text.
QString attached(const QString& text, QChar mark) {
    QString out;
    if (text.isEmpty()) return out;
    for (const QString& piece : clean(text).split(kLF)) out += QString(kCR) + mark + piece;
    return out;
}

[[noreturn]] void missingPartner(const GEDFamClass& oFam) {
    raiseError(ErrorOffset::InvalidKey, kSource,
               QStringLiteral("Family ") + oFam.GetXref() + QStringLiteral(" has no husband or wife"));
}
}  // namespace

QString GEDClipboardTexts::sPackGEDPerson(const GEDIndiClass& oPer) const {
    QString out = QStringLiteral("SVG-P") + kLF + keys_.key(oPer.GetXref()) + kLF + clean(oPer.GetCaption()) + kLF +
                  clean(oPer.GetShortCaption()) + kLF + clean(oPer.GetPersonalNames()) + kLF + u'1' + kLF + u'1' +
                  kLF + oPer.GetSex() + kLF + booleanText(oPer.GetTentative()) + kLF +
                  clean(sGetImageSpec(oPer, loadImages_)) + kLF;
    out += attached(oPer.GetFullNotes(), u'=');
    out += attached(oPer.GetBriefNotes(), u'-');
    return out;
}

QString GEDClipboardTexts::sPack1GEDPerson(const GEDIndiClass& oPer) const {
    QString keySet;
    placeKeys_.UpdateKeySet2(sGetImageSpec(oPer, loadImages_), keySet);
    QString out = sPackGEDPerson(oPer);
    if (!keySet.isEmpty()) out += kFF + placeKeys_.PackPlaces(keySet);
    return out;
}

QString GEDClipboardTexts::sPackGEDFamily(const GEDFamClass& oFam, QString& sKeySet, bool bSpousesOnly) const {
    const GEDIndiClass husb = oFam.GetHusb(), wife = oFam.GetWife();
    if (husb.isNull() || wife.isNull()) missingPartner(oFam);
    QString out = QStringLiteral("SVG-F") + kLF + keys_.key(oFam.GetXref()) + kLF +
                  booleanText(oFam.GetMoreChildren()) + kLF + booleanText(oFam.GetLiaison()) + kLF;
    out += attached(oFam.GetFullNotes(), u'=');
    out += attached(oFam.GetBriefNotes(), u'-');
    auto addPerson = [&](const GEDIndiClass& p) {
        placeKeys_.UpdateKeySet2(sGetImageSpec(p, loadImages_), sKeySet);
        out += kVT + sPackGEDPerson(p);
    };
    addPerson(husb);
    addPerson(wife);
    if (!bSpousesOnly)
        for (const GEDIndiClass& child : oFam.GetChildren()) addPerson(child);
    return out;
}

QString GEDClipboardTexts::sPack1GEDFamily(const GEDFamClass& oFam, bool bSpousesOnly) const {
    QString keySet;
    QString out = sPackGEDFamily(oFam, keySet, bSpousesOnly);
    if (!keySet.isEmpty()) out += kFF + placeKeys_.PackPlaces(keySet);
    return out;
}

QString GEDClipboardTexts::sPackGEDFamilyKeys(const GEDDocClass& oDoc, const QString& sIds, bool bSpousesOnly) const {
    QString keySet;
    QString out = QStringLiteral("SVG-NF") + kLF;
    const GEDXrefTable xrefs = oDoc.GetXrefs();
    for (const QString& id : sIds.split(u',')) {
        const GEDFamClass family(xrefs.value(id));
        if (family.isNull())
            raiseError(ErrorOffset::InvalidKey, kSource, QStringLiteral("No family has the identifier ") + id);
        out += kFF + sPackGEDFamily(family, keySet, bSpousesOnly);
    }
    if (!keySet.isEmpty()) out += kFF + placeKeys_.PackPlaces(keySet);
    return out;
}
