#pragma once

#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

// What persons and families carry alike: notes, tooltip and program-data
// lines, and local settings (name to text value, in order of addition).
class AttachedTexts {
public:
    // Append one line; the tree file reader calls them for attached records.
    void AddNotes(const QString& sText) { notes_.append(sText); }
    void AddTooltips(const QString& sText) { tooltips_.append(sText); }
    void AddProgData(const QString& sText) { progData_.append(sText); }

    // Copies in and out; an empty list stands for none.
    QStringList GetNotes() const { return notes_; }
    void SetNotes(const QStringList& sN) { notes_ = sN; }
    QStringList GetTooltips() const { return tooltips_; }
    void SetTooltips(const QStringList& sT) { tooltips_ = sT; }
    QStringList GetProgData() const { return progData_; }
    void SetProgData(const QStringList& sD) { progData_ = sD; }

    StringDict& GetLocSettings() { return locSettings_; }
    const StringDict& GetLocSettings() const { return locSettings_; }
    // True when any name of the comma list is a local setting.
    bool LocSettingExists(const QString& sList) const {
        for (const QString& name : sList.split(u','))
            if (locSettings_.contains(name)) return true;
        return false;
    }

protected:
    StringDict locSettings_;

private:
    QStringList notes_;
    QStringList tooltips_;
    QStringList progData_;
};
