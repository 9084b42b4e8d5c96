#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "tree_model/PlaceKeyClass.h"

// Keeps what the GEDCOM browser loaded between its openings: the library's
// control, the document and its persons with their name words, the file's
// title and path, the browser's place keys and its image switch. The program
// makes one on the first opening of the browser and keeps it to the end.
class LoadedGEDCOMClass {
public:
    LoadedGEDCOMClass();

    void SetCntl(std::shared_ptr<GEDControlClass> oControl) { Cntl = std::move(oControl); }
    std::shared_ptr<GEDControlClass> GetCntl() const { return Cntl; }
    std::shared_ptr<GEDDocClass> GetDoc() const { return Doc; }
    void SetDoc(std::shared_ptr<GEDDocClass> oD) { Doc = std::move(oD); }
    QList<GEDIndiClass> GetPersons() const { return Persons; }
    void SetPersons(const QList<GEDIndiClass>& oPer) { Persons = oPer; }
    QList<QStringList> GetNameArrays() const { return NameArrays; }
    void SetNameArrays(const QList<QStringList>& vNames) { NameArrays = vNames; }
    QString GetTitle() const { return Title; }
    void SetTitle(const QString& sTit) { Title = sTit; }
    // The place keys; an empty set is made when there is none.
    std::shared_ptr<PlaceKeyClass> GetPlaceKeys();
    void SetPlaceKeys(std::shared_ptr<PlaceKeyClass> oKeys) { PlaceKeys = std::move(oKeys); }
    QString GetSVGVersion() const { return SVGVersion; }
    QString GetFilename() const { return Filename; }
    void SetFilename(const QString& sFile) { Filename = sFile; }
    bool GetLoadImages() const { return LoadImages; }
    void SetLoadImages(bool bLoad) { LoadImages = bLoad; }

private:
    std::shared_ptr<GEDControlClass> Cntl;
    std::shared_ptr<GEDDocClass> Doc;
    QList<GEDIndiClass> Persons;
    QList<QStringList> NameArrays;
    QString Title;
    std::shared_ptr<PlaceKeyClass> PlaceKeys;
    QString SVGVersion;
    QString Filename;
    bool LoadImages = true;
};
