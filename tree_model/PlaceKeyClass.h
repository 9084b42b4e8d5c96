#pragma once

#include <QString>

#include "foundation/OrderedDict.h"

class SVGBox;

// The tree's place keys: each names an internet location and a local folder,
// stored as location + "|" + folder. A reference is written "$" key ":" rest.
class PlaceKeyClass {
public:
    StringDict& GetDict() { return places_; }
    const StringDict& GetDict() const { return places_; }
    void Define(const QString& sKey, const QString& sURL, const QString& sLocal);
    // The trimmed location and folder of a key; "" and "" for an unknown key.
    void GetPlaces(const QString& sKey, QString& sURL, QString& sLocal) const;
    bool Exists(const QString& sKey) const { return places_.contains(sKey); }
    void RemoveAll() { places_.clear(); }
    // Adds the key a reference uses to a comma set of keys.
    void UpdateKeySet2(const QString& sPlace, QString& sKeySet) const;
    void UpdateKeySet(const SVGBox& oBox, QString& sKeySet) const;
    // The place-key clipboard text ("SVG-U") of the listed keys, and its reverse.
    QString PackPlaces(const QString& sKeySet) const;
    void UnpackPlaces(const QString& sData);
    // Expands references in HTML attribute values, in the fields of a
    // program-data row, and one reference. A reference that leads back to its
    // own key raises an error rather than being expanded without end.
    QString ExpandAllHTMLURLs(const QString& sRec, bool bLocal) const;
    QString ExpandAllDataURLs(const QString& sRec, bool bLocal) const;
    QString ExpandURLName(const QString& sName, bool bLocal, bool bBSOK = false) const;

private:
    StringDict places_;
};
