#pragma once

#include <memory>
#include <vector>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

#include "foundation/OrderedDict.h"

class Reporter;

// Knows the interactive applications and services that charts can carry.
//
// The definitions come from the files "ApplicationsServices*.xml" of the
// program's data folder, read once by Initialise and never changed afterwards.
// The root element of a file is `Applications`; its direct children
// `Application` (an application, or a service when srv is true), `Modify`
// (changes an Application defined elsewhere without editing its file) and
// `ProgramData` (a kind of program-data row of persons and families) are read.
//
// The members never see the tree itself: where they work on a tree they take
// its header-settings dictionary (`settings`, setting name to text value,
// Booleans as "True"/"False") and its enabled-applications dictionary
// (`appDict`, entry id to entry name, in insertion order) directly.
//
// Definition files are checked while they load: an id defined twice (the first
// definition wins), a value that is not a Boolean where one is asked (its
// default is used), two operations or service requirements with the same id in
// one entry (the first is kept), and program-data alias chains that return to
// themselves are reported as warnings naming the file and the entry. The
// members that make a chart therefore never fail on a definition.
class SVGApplications {
public:
    // The file-name pattern of the definition files.
    static const char* const kFilePattern;

    SVGApplications();
    ~SVGApplications();
    SVGApplications(const SVGApplications&) = delete;
    SVGApplications& operator=(const SVGApplications&) = delete;

    // Loads every definition file of `folder`, in name order, logging a line
    // before and a count line after each. A file that does not parse is reported
    // with the parser's line and message and skipped; the others still load.
    // Never raises.
    void Initialise(const QString& folder, Reporter& reporter);

    int fileCount() const { return static_cast<int>(files_.size()); }
    int TotalApps() const { return totalApps_; }
    int TotalSrvs() const { return totalSrvs_; }
    int TotalData() const { return totalData_; }

    // ---- Enabled set and settings -------------------------------------
    // A new enabled-applications dictionary: every defined entry (in definition
    // order) whose id is a setting with a true value. Raises AppError (base +
    // 515) when such a setting is not a Boolean text.
    StringDict Load(const StringDict& settings) const;
    // Every defined id present in the settings becomes "False", then every
    // enabled id becomes "True" (appended when absent).
    void SynchSettingsWithDict(const StringDict& appDict, StringDict& settings) const;
    // Adds (with its name) or removes one id.
    void SynchDictWithSetting(StringDict& appDict, const QString& id, bool selected) const;
    // Adds the services that the enabled entries require. An enabled id that no
    // file defines is reported once here and skipped by every chart member.
    void UpdateDictWithSrvs(StringDict& appDict, bool svgFile, Reporter& reporter) const;
    // Writes the corner-button settings and the required settings of the
    // enabled entries. Raises AppError (base + 515) when "SVGFile" is not a Boolean.
    void UpdateSettings(const StringDict& appDict, StringDict& settings) const;
    // Enables "LinkedTrees" when it is not yet enabled.
    void AddLinkedTrees(StringDict& appDict) const;
    // Program-data id to (local setting name to value) required by the enabled
    // entries; `setLocals` receives the comma list of every name involved.
    OrderedDict<StringDict> GetLocalSettings(const StringDict& appDict, QString& setLocals) const;
    // Number of enabled entries, only those valid in SVG when `svgFile`.
    int iCountValidApps(const StringDict& appDict, bool svgFile) const;
    bool bIsAppValidInSVG(const QString& id) const;
    QString GetAppName(const QString& id) const;
    QString GetAppDescr(const QString& id) const;

    // ---- Chart scripts, styles and handler code ------------------------
    bool AnythingRequireLib(const StringDict& appDict, const QString& lib, bool svgFile) const;
    QStringList ScriptFiles(const StringDict& appDict, bool svgFile) const;
    QStringList StyleFiles(const StringDict& appDict, bool svgFile) const;
    QString PreambleCode(const StringDict& appDict, bool svgFile) const;
    QString PostambleCode(const StringDict& appDict, bool svgFile) const;
    // Click-handler code for `place` "click" (boxes, images and circles) or one
    // corner button ("TR", "TL", "BR", "BL"): lines joined by LF, empty when
    // no operation applies.
    QString HandlerCode(const StringDict& appDict, const QString& place, bool svgFile) const;

    // ---- Validation and click reports ----------------------------------
    // Reports entries not valid in an SVG chart and clicks claimed twice;
    // returns the number of conflicts (Cancel on a conflict ends the check).
    int Validate(const StringDict& appDict, bool svgFile, Reporter& reporter) const;
    // The applications (never services), sorted by name ignoring case.
    void GetAppList(QStringList& ids, QStringList& names, QStringList& descrs, QList<bool>& validSvg) const;
    // One line per operation of the entry, CR LF separated; "(none)" when none.
    QString GetRequiredClicks(const QString& id) const;
    // One row per operation of the enabled entries: click text, TAB, description.
    QStringList GetAllRequiredClicks(const StringDict& appDict) const;

    // ---- Program-data kinds ---------------------------------------------
    // Every kind, in definition order, from index 0: id, description (empty
    // for hidden kinds) and signature (item tags joined with "|").
    void GetDataList(QStringList& ids, QStringList& descrs, QStringList& sigs) const;
    // Description of the kind `id` (following aliases); its trimmed item tags
    // and item names joined with "|". An unknown kind, or an alias chain that
    // returns to itself, gives empty texts.
    QString GetDataSig(const QString& id, QString& itemTags, QString& itemNames) const;
    // The items of the kind `id` (following aliases) that carry a tag, in
    // order: their trimmed tags (the signature's list) and, beside each, the
    // trimmed item text, empty where the item has none. Unlike GetDataSig's
    // names the two lists always match up, so a value written for column i
    // lands on tag i of the signature. Returns the description.
    QString GetDataItems(const QString& id, QStringList& tags, QStringList& names) const;
    // Whether the kind named by a program-data row expands place keys.
    bool UsesPlaceKeys(const QString& line) const;

private:
    struct Entry {
        pugi::xml_node app;
        QString id;
    };

    void loadFile(const QString& folder, const QString& name, Reporter& reporter);
    void checkApplication(pugi::xml_node app, const QString& file, Reporter& reporter) const;
    void checkModify(pugi::xml_node mod, const QString& file, Reporter& reporter) const;
    void checkProgramData(pugi::xml_node data, const QString& file, Reporter& reporter) const;
    void checkAliasCycles(Reporter& reporter) const;

    const Entry* findEntry(const QString& id) const;
    pugi::xml_node findApp(const QString& id) const;
    pugi::xml_node findModify(const QString& id) const;
    pugi::xml_node findData(const QString& id) const;
    // An entry's attribute, the Modify's attribute taking precedence.
    QString attrOverride(pugi::xml_node app, pugi::xml_node mod, const char* name, const QString& fallback) const;
    bool boolOverride(pugi::xml_node app, pugi::xml_node mod, const char* name) const;
    bool isService(pugi::xml_node app, pugi::xml_node mod) const;
    bool validInSvg(pugi::xml_node app, pugi::xml_node mod) const;
    // Whether an enabled id takes part in a chart: defined, and valid in SVG
    // when the chart is plain SVG.
    bool takesPart(const QString& id, bool svgFile, pugi::xml_node& app, pugi::xml_node& mod) const;
    // The entry's operations: its Op children, then the Modify's replacing the
    // same id in place or appended.
    QList<pugi::xml_node> getOps(pugi::xml_node app, pugi::xml_node mod) const;
    QStringList includeFiles(const StringDict& appDict, bool svgFile, const char* element) const;
    QString ambleCode(const StringDict& appDict, bool svgFile, const char* element) const;
    QString opDescription(pugi::xml_node op, pugi::xml_node app, pugi::xml_node mod) const;
    // The kind an id stands for once its alias-of chain is followed; a null
    // node for an unknown kind or a chain that returns to itself. `known`
    // keeps the answer for every id walked, so that many kinds on one long
    // chain walk it once.
    pugi::xml_node resolveData(const QString& id, QHash<QString, pugi::xml_node>& known) const;
    QString dataSig(pugi::xml_node data, QString& itemTags, QString& itemNames) const;

    std::vector<std::unique_ptr<pugi::xml_document>> files_;
    // Applications accepted from all files in load order (first definition of
    // each id only).
    QList<Entry> entries_;
    QHash<QString, int> entryIndex_;
    QHash<QString, pugi::xml_node> modifies_;
    QList<pugi::xml_node> data_;
    QStringList dataFiles_;  // the file of each program-data kind, for reports
    QHash<QString, pugi::xml_node> dataIndex_;
    // Each program-data id to the kind its alias-of chain ends at (null for a
    // chain that returns to itself or names an unknown kind), worked out once
    // after loading.
    QHash<QString, pugi::xml_node> dataResolved_;
    int totalApps_ = 0;
    int totalSrvs_ = 0;
    int totalData_ = 0;
};
