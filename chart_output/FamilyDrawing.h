#pragma once

#include <QList>
#include <QString>

#include "ChartDrawContext.h"
#include "TreeTypes.h"

class SVGBox;
class SVGFamily;

// The drawing of one family (SVGFamily::DrawFamily and its members in the
// design): the bridge between the parents, the lines to the children (plain
// with descender and rail, or fanned), the root line where the family lies on
// the root person's line of ancestry, and the family circle on top.
//
// Only the children in view are drawn: with a current viewpoint, the children
// it holds. A couple already drawn together (a second family of the same two
// persons) is drawn again; the drawn-spouse sets keep one entry per spouse.
// The rail along which children hang stands half a margin from the first
// child's edge that faces the family circle, in the margin on the circle's side.
class FamilyDrawing {
public:
    explicit FamilyDrawing(const ChartDrawContext& context);

    // Draws the family and records both parents as drawn spouses of each other.
    void DrawFamily(const SVGFamily& oFam, bool bMoreChildren, bool bLiaison);
    // One line whose classes are the family's line classes, the base class, and
    // for a line to a child "tentative" when it is and its person-line classes.
    void DrawLineWithClasses(double fX1, double fY1, double fX2, double fY2, const QString& sFamClasses,
                             const SVGBox* oBox, const QString& sBaseCl, bool bExt = false);

private:
    const SVGBox& GetOuterSpouse(const SVGBox& oP, const SVGBox& oQ) const;
    QList<SVGBoxPtr> childrenInView(const SVGFamily& oFam) const;
    void circleCentre(const SVGBox& oL, const SVGBox& oR, double& fX, double& fY) const;
    void DrawChildLines(const SVGFamily& oFam, const SVGBox& oL, const SVGBox& oR, const QString& sLineClasses);
    void DrawFannedChildLines(const SVGFamily& oFam, const SVGBox& oL, const SVGBox& oR,
                              const QString& sLineClasses);

    ChartDrawContext context_;
};
