// Persons, families and key lists packed as tagged clipboard text and read back.
#include "SVGTree.h"

#include "TreeText.h"
#include "foundation/Reporter.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {
const QChar kLF(10), kCR(13), kFF(12), kVT(11);
const QString kSource = QStringLiteral("SVGTree");

// Splits a text at its place-key block (a form feed, "SVG-U" and a line
// feed): `records` gets the text before it, `places` the block from "SVG-U" on.
bool splitPlaceBlock(const QString& data, QString& records, QString& places) {
    const int at = data.indexOf(kFF + QStringLiteral("SVG-U") + kLF);
    if (at < 0) return false;
    records = data.left(at);
    places = data.mid(at + 1);
    return true;
}

QString attachedLines(const QStringList& notes, const QStringList& tips, const QStringList& data) {
    QString out;
    for (const QString& l : notes) out += kCR + QStringLiteral("=") + l;
    for (const QString& l : tips) out += kCR + QStringLiteral("-") + l;
    for (const QString& l : data) out += kCR + QStringLiteral("#") + l;
    return out;
}

// Hands the attached lines of a block (from its first carriage return) to `add`.
template <typename Target>
void readAttached(const QString& block, Target& target) {
    const int cr = block.indexOf(kCR);
    if (cr < 0) return;
    const QStringList lines = block.mid(cr + 1).split(kCR);
    for (const QString& line : lines) {
        if (line.startsWith(u'=')) target.AddNotes(line.mid(1));
        else if (line.startsWith(u'-')) target.AddTooltips(line.mid(1));
        else if (line.startsWith(u'#')) target.AddProgData(line.mid(1));
    }
}

// The key field of a person block, or "" when the text is no person block.
QString personBlockKey(const QString& block) {
    const QStringList fields = block.split(kLF);
    return fields.size() >= 10 && fields[0] == u"SVG-P" ? fields[1] : QString();
}

// Pastes the records of a text with `paste`, then the place keys of its
// place-key block, if it has one; records come before their place keys.
template <typename Paste>
auto withPlaceBlock(const QString& data, PlaceKeyClass& placeKeys, Paste paste) {
    QString records, places;
    if (!splitPlaceBlock(data, records, places)) return paste(data);
    auto result = paste(records);
    placeKeys.UnpackPlaces(places);
    return result;
}

void addToSet(QString& set, const QString& key) { set = sSetUnion(set, key, QStringLiteral(",")); }
}  // namespace

QString SVGTree::sPackPerson(const SVGBox& oBox) const {
    QString out = QStringLiteral("SVG-P") + kLF + oBox.GetKey() + kLF + oBox.GetText() + kLF + oBox.GetShortText() +
                  kLF + oBox.GetPersonalNames() + kLF + QString::number(oBox.GetTreeCol()) + kLF +
                  QString::number(oBox.GetTreeRow()) + kLF + oBox.GetSex() + kLF + booleanText(oBox.GetTentative()) +
                  kLF + oBox.GetImage() + kLF;
    return out + attachedLines(oBox.GetNotes(), oBox.GetTooltips(), oBox.GetProgData());
}

QString SVGTree::Pack1Person(const SVGBox& oBox) const {
    QString keys;
    placeKeys_.UpdateKeySet(oBox, keys);
    QString out = sPackPerson(oBox);
    if (!keys.isEmpty()) out += kFF + placeKeys_.PackPlaces(keys);
    return out;
}

QString SVGTree::PackNPersons(const QString& sKeySet) const {
    QString out = QStringLiteral("SVG-NP") + kLF, keys;
    for (const QString& key : sKeySet.split(u',', Qt::SkipEmptyParts)) {
        const SVGBoxPtr person = persons_.value(key);
        if (!person) continue;
        out += kFF + sPackPerson(*person);
        placeKeys_.UpdateKeySet(*person, keys);
    }
    if (!keys.isEmpty()) out += kFF + placeKeys_.PackPlaces(keys);
    return out;
}

QString SVGTree::PackFamily(const SVGFamily& oFam, QString& sPlaceKeySet) const {
    QString out = QStringLiteral("SVG-F") + kLF + oFam.GetKey() + kLF + booleanText(oFam.GetMoreChildren()) + kLF +
                  booleanText(oFam.GetLiaison()) + kLF +
                  attachedLines(oFam.GetNotes(), oFam.GetTooltips(), oFam.GetProgData());
    QList<SVGBoxPtr> persons = {oFam.GetFirstPar(), oFam.GetSecPar()};
    persons += oFam.GetChildren();
    for (const SVGBoxPtr& p : persons) {
        out += kVT + sPackPerson(*p);
        placeKeys_.UpdateKeySet(*p, sPlaceKeySet);
    }
    return out;
}

QString SVGTree::Pack1Family(const SVGFamily& oFam) const {
    QString keys;
    QString out = PackFamily(oFam, keys);
    if (!keys.isEmpty()) out += kFF + placeKeys_.PackPlaces(keys);
    return out;
}

QString SVGTree::PackNFamilies(const QString& sKeySet) const {
    QString out = QStringLiteral("SVG-NF") + kLF, keys;
    for (const QString& key : sKeySet.split(u',', Qt::SkipEmptyParts)) {
        const SVGFamilyPtr family = families_.value(key);
        if (family) out += kFF + PackFamily(*family, keys);
    }
    if (!keys.isEmpty()) out += kFF + placeKeys_.PackPlaces(keys);
    return out;
}

QString SVGTree::PackKeys(const QString& sSign, const QString& sKeySet) const {
    QString out = sSign + kLF;
    if (!sKeySet.isEmpty())
        for (const QString& key : sKeySet.split(u',')) out += key + kLF;
    return out;
}

SVGBoxPtr SVGTree::UnpackPerson(const QString& sBlock, bool bNew, QString& sKey) {
    const QStringList fields = sBlock.split(kLF);
    if (fields.size() < 10 || fields[0] != u"SVG-P") {
        sKey.clear();
        return nullptr;
    }
    sKey = fields[1];
    if (families_.contains(sKey)) {
        warn(QStringLiteral("Person key ") + sKey + QStringLiteral(" is already used for a family"));
        return nullptr;
    }
    if (const SVGBoxPtr existing = persons_.value(sKey)) {
        if (!bNew) {
            logLine(QStringLiteral("Person ") + sKey + QStringLiteral(" already exists. No changes were made to it"));
            return current_ && !current_->PersonExists(sKey) ? existing : nullptr;
        }
        sKey = MakeUniqueKey(sKey);
    }
    const SVGBoxPtr person = NewPerson(sKey, fields[2], fields[3], toInteger16(fields[5], kSource),
                                       toInteger16(fields[6], kSource), fields[7], toBoolean(fields[8], kSource),
                                       fields[9], true);
    person->SetPersonalNames(fields[4]);
    readAttached(sBlock, *person);
    return person;
}

SVGBoxPtr SVGTree::Unpack1Person(const QString& sData, bool bNew, QString& sKey) {
    return withPlaceBlock(sData, placeKeys_, [&](const QString& text) { return UnpackPerson(text, bNew, sKey); });
}

QString SVGTree::unpackPersonsText(const QString& sData, bool bNew) {
    if (!sData.contains(kLF) || sFirstLine(sData) != u"SVG-NP") return QString();
    QStringList keys;
    const QStringList pieces = sData.split(kFF);
    for (int i = 1; i < pieces.size(); ++i) {
        QString key;
        if (UnpackPerson(pieces[i], bNew, key)) keys << key;
    }
    return keys.join(u',');
}

QString SVGTree::UnpackNPersons(const QString& sData, bool bNew) {
    return withPlaceBlock(sData, placeKeys_, [&](const QString& text) { return unpackPersonsText(text, bNew); });
}

SVGFamilyPtr SVGTree::unpackFamilyText(const QString& sData, bool bNew, QString& sKeySet) {
    sKeySet.clear();
    if (sFirstLine(sData) != u"SVG-F") return nullptr;
    const QStringList pieces = sData.split(kVT);
    const QStringList famFields = pieces[0].split(kLF);

    // A family of one person with itself cannot stand; it is refused before
    // anything of it is pasted.
    const QString key1 = personBlockKey(pieces.value(1)), key2 = personBlockKey(pieces.value(2));
    if (!key1.isEmpty() && key1 == key2) {
        warn(QStringLiteral("Family ") + famFields.value(1) + QStringLiteral(" has the same person ") + key1 +
             QStringLiteral(" as both parents. No changes made"));
        return nullptr;
    }

    SVGBoxPtr parents[2];
    for (int i = 0; i < 2; ++i) {
        QString key;
        parents[i] = UnpackPerson(pieces.value(i + 1), bNew, key);
        if (parents[i]) {
            addToSet(sKeySet, key);
        } else {
            if (key.isEmpty()) return nullptr;
            parents[i] = persons_.value(key);
            // A parent block that named a family gives no person: no family either.
            if (!parents[i]) return nullptr;
        }
    }

    if (famFields.size() < 4) return nullptr;
    QString key = famFields[1];
    if (persons_.contains(key)) {
        warn(QStringLiteral("Family key ") + key + QStringLiteral(" is already used for a person"));
        return nullptr;
    }
    SVGFamilyPtr family = families_.value(key);
    if (family && !bNew) {
        if (family->GetFirstPar()->GetKey() == parents[0]->GetKey() &&
            family->GetSecPar()->GetKey() == parents[1]->GetKey()) {
            logLine(QStringLiteral("Family ") + key + QStringLiteral(" already exists. Properties not changed"));
        } else {
            warn(QStringLiteral("Family ") + key + QStringLiteral(" already exists but with different spouses. No changes made"));
            return nullptr;
        }
    } else {
        if (family) key = MakeUniqueKey(key);
        family = NewFamily(key, parents[0]->GetKey(), parents[1]->GetKey());
        family->SetMoreChildren(toBoolean(famFields[2], kSource));
        family->SetLiaison(toBoolean(famFields[3], kSource));
        readAttached(pieces[0], *family);
    }

    for (int i = 3; i < pieces.size(); ++i) {
        QString childKey;
        SVGBoxPtr child = UnpackPerson(pieces[i], bNew, childKey);
        if (child) addToSet(sKeySet, childKey);
        else child = persons_.value(childKey);
        if (!child) continue;  // no person for this place: the child is left out
        const QString other = ChildFamily(childKey);
        if (other.isEmpty()) {
            family->AddChild(child);
        } else if (other != family->GetKey()) {
            warn(QStringLiteral("Child ") + childKey + QStringLiteral(" is already a child of family ") + other +
                 QStringLiteral(". Relationship not changed"));
        }
    }
    return family;
}

SVGFamilyPtr SVGTree::UnpackFamily(const QString& sData, bool bNew, QString& sKeySet) {
    return withPlaceBlock(sData, placeKeys_,
                          [&](const QString& text) { return unpackFamilyText(text, bNew, sKeySet); });
}

QString SVGTree::unpackFamiliesText(const QString& sData, bool bNew, QString& sPKeyTotal) {
    if (sFirstLine(sData) != u"SVG-NF") return QString();
    QStringList keys;
    const QStringList pieces = sData.split(kFF);
    for (int i = 1; i < pieces.size(); ++i) {
        QString set;
        const SVGFamilyPtr family = unpackFamilyText(pieces[i], bNew, set);
        sPKeyTotal = sSetUnion(sPKeyTotal, set, QStringLiteral(","));
        if (family) keys << family->GetKey();
    }
    return keys.join(u',');
}

QString SVGTree::UnpackNFamilies(const QString& sData, bool bNew, QString& sPKeyTotal) {
    sPKeyTotal.clear();
    return withPlaceBlock(sData, placeKeys_,
                          [&](const QString& text) { return unpackFamiliesText(text, bNew, sPKeyTotal); });
}

QString SVGTree::UnpackKeys(const QString& sData, QString& sSign) const {
    sSign.clear();
    if (!sData.contains(kLF)) return QString();
    const QString tag = sFirstLine(sData);
    if (tag != u"SVG-KF" && tag != u"SVG-KP" && tag != u"SVG-KF0") return QString();
    sSign = tag;
    QStringList keys;
    const QStringList lines = sData.split(kLF);
    for (int i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty()) keys << lines[i];
    return keys.join(u',');
}
