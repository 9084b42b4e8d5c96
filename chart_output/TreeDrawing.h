#pragma once

#include <QString>

#include "ChartDrawContext.h"
#include "TreeTypes.h"

// The members of the tree that prepare it for one chart file and draw the
// chart body (SVGTree::DrawTree, AddLocalSettings, UpdateTreeLinks,
// ClearRootKeys and MarkRootLine in the design).
class TreeDrawing {
public:
    explicit TreeDrawing(const ChartDrawContext& context);

    // Draws the families in view (lines, then circles), then the persons in
    // view, so that the boxes lie on top of the lines. The families on the
    // root person's line of ancestry are marked first.
    void DrawTree();
    // Gives persons and families the local settings that enabled applications
    // require for the program data they carry; settings added by an earlier
    // chart are removed first.
    void AddLocalSettings();
    // Regenerates every person's "TreeLinkV" program-data rows: one per other
    // viewpoint that holds the person. sRootName is the output base name; only
    // its part after the last backslash is used.
    void UpdateTreeLinks(const QString& sViewpoint, const QString& sRootName);

private:
    void ClearRootKeys();
    // Marks every family of oFams on the person's line of ancestry with the key
    // of its child on that line. Each ancestor is visited once, so a person
    // recorded as his or her own ancestor ends the walk instead of looping.
    void MarkRootLine(const QString& sKey, const FamilyDict& oFams);

    ChartDrawContext context_;
};
