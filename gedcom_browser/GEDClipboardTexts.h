#pragma once

#include <QString>

class GEDDocClass;
class GEDFamClass;
class GEDIndiClass;
class GEDKeyMap;
class PlaceKeyClass;

// GEDCOM persons and families as the tree's clipboard texts: "SVG-P" person
// blocks, "SVG-F" family blocks, "SVG-NF" for several families, each followed
// by the "SVG-U" definitions of the place keys their pictures use. Every
// person says column 1 and row 1. Records are named by their tree keys
// (GEDKeyMap); carriage returns, vertical tabs and form feeds, which separate
// the parts of these texts, are dropped from the texts of the records.
class GEDClipboardTexts {
public:
    GEDClipboardTexts(const GEDKeyMap& keys, const PlaceKeyClass& placeKeys, bool bLoadImages)
        : keys_(keys), placeKeys_(placeKeys), loadImages_(bLoadImages) {}

    QString sPackGEDPerson(const GEDIndiClass& oPer) const;
    QString sPack1GEDPerson(const GEDIndiClass& oPer) const;
    // The family block; the place keys of its persons' pictures join sKeySet.
    // A family the library gives no husband or wife for raises an error.
    QString sPackGEDFamily(const GEDFamClass& oFam, QString& sKeySet, bool bSpousesOnly) const;
    QString sPack1GEDFamily(const GEDFamClass& oFam, bool bSpousesOnly) const;
    // The families of a comma list of identifiers, looked up in the document.
    QString sPackGEDFamilyKeys(const GEDDocClass& oDoc, const QString& sIds, bool bSpousesOnly) const;

private:
    const GEDKeyMap& keys_;
    const PlaceKeyClass& placeKeys_;
    bool loadImages_;
};
