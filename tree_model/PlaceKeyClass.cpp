#include "PlaceKeyClass.h"

#include <QSet>

#include "KeySet.h"
#include "SVGBox.h"
#include "TreeText.h"
#include "foundation/TextHelpers.h"
#include "foundation/AppError.h"

namespace {
const QString kSource = QStringLiteral("PlaceKeyClass");
constexpr int kExpansionPasses = 5;
constexpr int kSubscriptError = 9;
// More replacements than this in one text can only come from a place whose
// own text holds references again; the expansion stops there.
constexpr int kMaxHTMLReplacements = 100000;

// Splits a stored value at its first "|" into location and folder.
void splitPlaces(const QString& value, QString& location, QString& folder) {
    const int bar = value.indexOf(u'|');
    if (bar < 0) {
        location = value;
        folder.clear();
    } else {
        location = value.left(bar);
        folder = value.mid(bar + 1);
    }
}
}  // namespace

void PlaceKeyClass::Define(const QString& sKey, const QString& sURL, const QString& sLocal) {
    places_.set(sKey, sURL + u'|' + sLocal);
}

void PlaceKeyClass::GetPlaces(const QString& sKey, QString& sURL, QString& sLocal) const {
    const QString* value = places_.find(sKey);
    if (!value) {
        sURL.clear();
        sLocal.clear();
        return;
    }
    splitPlaces(*value, sURL, sLocal);
    sURL = trimBlanks(sURL);
    sLocal = trimBlanks(sLocal);
}

void PlaceKeyClass::UpdateKeySet2(const QString& sPlace, QString& sKeySet) const {
    if (!sPlace.startsWith(u'$')) return;
    const int colon = sPlace.indexOf(u':');
    if (colon < 0) return;
    const QString key = sPlace.mid(1, colon - 1);
    if (!bValidName(key)) return;
    KeySet set = KeySet::fromText(sKeySet);
    if (set.add(key)) sKeySet = sKeySet.isEmpty() ? key : sKeySet + u',' + key;
}

void PlaceKeyClass::UpdateKeySet(const SVGBox& oBox, QString& sKeySet) const { UpdateKeySet2(oBox.GetImage(), sKeySet); }

QString PlaceKeyClass::PackPlaces(const QString& sKeySet) const {
    QString out = QStringLiteral("SVG-U\n");
    for (const QString& key : sKeySet.split(u',')) {
        if (key.isEmpty() || !bValidName(key) || !Exists(key)) continue;
        QString location, folder;
        splitPlaces(places_.value(key), location, folder);
        out += QChar(12) + key + u'\n' + trimBlanks(location) + u'\n' + trimBlanks(folder);
    }
    return out;
}

void PlaceKeyClass::UnpackPlaces(const QString& sData) {
    const int lf = sData.indexOf(u'\n');
    if (lf < 0 || sData.left(lf) != u"SVG-U") return;
    const QStringList pieces = sData.split(QChar(12));
    for (int i = 1; i < pieces.size(); ++i) {
        const QStringList fields = pieces[i].split(u'\n');
        const QString& key = fields[0];
        if (!bValidName(key) || Exists(key)) continue;
        if (fields.size() < 3)
            throw AppError(kSubscriptError, kSource, QStringLiteral("Subscript out of range"));
        Define(key, fields[1], fields[2]);
    }
}

QString PlaceKeyClass::ExpandURLName(const QString& sName, bool bLocal, bool bBSOK) const {
    // One step of a reference: the key's place followed by the rest, or false
    // when the text is no expandable reference.
    auto step = [&](const QString& s, QString& key, QString& next) {
        const int colon = s.indexOf(u':', 2);
        if (colon < 0) return false;
        key = s.mid(1, colon - 1);
        const QString* value = places_.find(key);
        if (!value) return false;
        QString location, folder;
        splitPlaces(*value, location, folder);
        QString part = bLocal ? folder : location;
        if (!part.isEmpty() && part.startsWith(u'"') && part.endsWith(u'"')) part = part.mid(1, part.size() - 2);
        next = part + s.mid(colon + 1);
        return true;
    };

    // A chain of references that comes back to a key it passed through would
    // never end; it is refused before anything is expanded.
    {
        QSet<QString> seen;
        QString s = sName, key, next;
        while (s.startsWith(u'$') && step(s, key, next)) {
            if (seen.contains(key))
                raiseError(ErrorOffset::InvalidKey, kSource,
                           QStringLiteral("Place key ") + key +
                               QStringLiteral(" refers back to itself and cannot be expanded: ") + sName);
            seen.insert(key);
            s = next;
        }
    }

    QString s = sName;
    for (int pass = 0; pass < kExpansionPasses && s.startsWith(u'$'); ++pass) {
        QString key, next;
        if (!step(s, key, next)) {
            s.clear();
            break;
        }
        s = next;
    }
    if (bLocal || bBSOK) {
        const int query = s.indexOf(u'?');
        return query < 0 ? s : s.left(query);
    }
    return s.replace(u'\\', QStringLiteral("\\\\"));
}

QString PlaceKeyClass::ExpandAllHTMLURLs(const QString& sRec, bool bLocal) const {
    QString text = sRec;
    for (int round = 0; round < kMaxHTMLReplacements; ++round) {
        QChar quote = u'"';
        int at = text.indexOf(QStringLiteral("=\"$"));
        if (at < 0) {
            quote = u'\'';
            at = text.indexOf(QStringLiteral("='$"));
        }
        if (at < 0) break;
        const int dollar = at + 2;
        const int close = text.indexOf(quote, dollar + 1);
        if (close < 0) break;
        const QString reference = text.mid(dollar, close - dollar);
        const QString expanded = ExpandURLName(reference, bLocal, false);
        if (!expanded.isEmpty())
            // A quote or angle bracket of the place (which may come from a
            // shared GEDCOM file's picture paths) must not end the value or
            // begin mark-up.
            text.replace(dollar, close - dollar, escapeAttributeValue(expanded));
        else
            text.remove(dollar, 1);
    }
    return text;
}

QString PlaceKeyClass::ExpandAllDataURLs(const QString& sRec, bool bLocal) const {
    QStringList fields = sRec.split(u'|');
    bool replaced = false;
    for (QString& field : fields) {
        field = trimBlanks(field);
        if (field.startsWith(u'$') && field.contains(u':')) {
            const QString expanded = ExpandURLName(field, bLocal, false);
            if (!expanded.isEmpty()) {
                field = expanded;
                replaced = true;
            }
        }
    }
    return replaced ? fields.join(QStringLiteral(" | ")) : sRec;
}
