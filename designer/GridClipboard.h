#pragma once

#include <functional>
#include <optional>

#include <QHash>
#include <QString>
#include <QStringList>

class GridModel;
class SVGTree;

// What a clipboard command changed on the grid, for the window to show:
// cells to render again (with the person to show in front, "" for the first
// of the cell), every link (after the records were rebuilt), the selection
// marks, and the new clipboard text.
struct GridChanges {
    QHash<int, QString> cells;
    bool links = false;
    bool selection = false;
    std::optional<QString> clipboard;

    // A cell to render; a preferred person given later wins over none.
    void cell(int iCell, const QString& sPreferred = QString());
};

// The Tree Designer's clipboard commands on the grid model: pasting persons
// and families ("SVG-P", "SVG-NP", "SVG-F", "SVG-NF") at the current cell,
// including key lists ("SVG-KP", "SVG-KF", "SVG-KF0") in the viewpoint shown,
// and excluding persons and families from it with the key list that brings
// them back left on the clipboard.
//
// The members change the tree and keep the model's occupancy and link
// records in step; the caller runs each in its command scope (pending tree
// events cleared before and raised after, also on an error) and shows what
// changes() gathered, which stays valid when a member throws half-way.
class GridClipboard {
public:
    explicit GridClipboard(GridModel& model);

    // The person a cell's box shows; by default the first of the cell.
    std::function<QString(int)> boxTag;

    GridChanges& changes() { return changes_; }
    // Takes what was gathered so far and starts afresh.
    GridChanges takeChanges();

    // ---- The popup commands' bodies
    // Paste (bNew false) and Paste New (bNew true) of the clipboard's text at
    // the current cell; the selection is cleared and the current cell ends -1.
    void paste(const QString& sText, bool bNew);
    // Include of the clipboard's key list at the current cell.
    void include(const QString& sText);
    // Exclude Person(s): the selection, or the person of the current cell.
    void excludePersons();
    // Exclude Family: the family of the current circle.
    void excludeFamily();

    // ---- Steps
    void PasteClipboard(const QString& sText, bool bNew);
    void IncludePersonKeys(const QString& sTag, const QString& sText, bool& bChanged);
    void IncludeFamilyKeys(const QString& sTag, const QString& sText, bool& bChanged);
    // Takes the person out of the viewpoint shown, or refuses with an error
    // when the viewpoint still shows a family of the person.
    bool bExcludePerson(const QString& key, int iCell);

    static QString ambiguityWarning() { return QStringLiteral("Ambiguity between selected person and current person"); }
    static QString unknownPersonsWarning(const QString& keys);
    static QString unknownFamiliesWarning(const QString& keys);

private:
    // A column and row that step after each placement, wrapping to 1 past
    // the grid's last column (horizontal) or row (vertical).
    struct Running {
        int col = 0;
        int row = 0;
    };
    void step(Running& at) const;
    // The start of the children's positions below or beside the current cell.
    Running childStart(int col, int row, int back) const;
    // Puts a person at the running position (tree and occupancy) and steps it.
    void placePerson(const QString& key, Running& at);
    // Renders each key's cell again with that key in front.
    void renderKeys(const QStringList& keys);
    void rebuildLinks();
    void clearSelection();
    // The parent both families share, comparing both parents of each; "" when none.
    QString sharedParent(const QString& family1, const QString& family2) const;
    SVGTree& tree() const;
    void warn(const QString& text) const;

    GridModel& model_;
    GridChanges changes_;
};
