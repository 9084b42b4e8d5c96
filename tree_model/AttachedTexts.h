#pragma once

#include <memory>

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

    StringDict& GetLocSettings() {
        if (!locSettings_.dict) locSettings_.dict = std::make_unique<StringDict>();
        return *locSettings_.dict;
    }
    const StringDict& GetLocSettings() const {
        static const StringDict none;
        return locSettings_.dict ? *locSettings_.dict : none;
    }
    // True when any name of the comma list is a local setting.
    bool LocSettingExists(const QString& sList) const {
        if (!locSettings_.dict || locSettings_.dict->isEmpty()) return false;
        for (const QString& name : sList.split(u','))
            if (locSettings_.dict->contains(name)) return true;
        return false;
    }

private:
    // Most persons and families have no local settings, and an empty
    // dictionary still takes several hundred bytes: it is made when first
    // asked for to change. Copies are deep.
    struct LazySettings {
        std::unique_ptr<StringDict> dict;
        LazySettings() = default;
        LazySettings(const LazySettings& other)
            : dict(other.dict ? std::make_unique<StringDict>(*other.dict) : nullptr) {}
        LazySettings& operator=(const LazySettings& other) {
            if (this != &other) dict = other.dict ? std::make_unique<StringDict>(*other.dict) : nullptr;
            return *this;
        }
        LazySettings(LazySettings&&) noexcept = default;
        LazySettings& operator=(LazySettings&&) noexcept = default;
    };
    LazySettings locSettings_;
    QStringList notes_;
    QStringList tooltips_;
    QStringList progData_;
};
