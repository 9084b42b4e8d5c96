#include "FamilyDrawing.h"

#include <algorithm>
#include <utility>

#include "ChartClassLists.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "SVGViewpointClass.h"
#include "foundation/StringSets.h"

namespace {
const QString kComma = QStringLiteral(",");
const QString kSpace = QStringLiteral(" ");
}  // namespace

FamilyDrawing::FamilyDrawing(const ChartDrawContext& context) : context_(context) {}

void FamilyDrawing::DrawLineWithClasses(double fX1, double fY1, double fX2, double fY2, const QString& sFamClasses,
                                        const SVGBox* oBox, const QString& sBaseCl, bool bExt) {
    QString classes = sSetUnion(sFamClasses, sBaseCl, kSpace);
    if (oBox) {
        if (oBox->GetTentative()) classes = sSetUnion(classes, QStringLiteral("tentative"), kSpace);
        classes = sSetUnion(classes, GetPersonClassList(context_.tree, *oBox, QStringLiteral("ClassPersonLines"), {}),
                            kSpace);
    }
    context_.tree.GetDisplay()->DrawLine(context_.out, fX1, fY1, fX2, fY2, classes, bExt);
}

const SVGBox& FamilyDrawing::GetOuterSpouse(const SVGBox& oP, const SVGBox& oQ) const {
    const bool horiz = context_.tree.GetDisplay()->GetHoriz();
    const SVGBox* min = &oP;
    const SVGBox* max = &oP;
    const PersonDict& persons = context_.tree.GetPersons();
    const QString spouses = oP.GetSpouseSet();
    if (!spouses.isEmpty()) {
        for (const QString& key : spouses.split(u',')) {
            const SVGBoxPtr* spouse = persons.find(key);
            if (!spouse) continue;
            const SVGBox& s = **spouse;
            if (horiz) {
                if (s.GetXR() > max->GetXR()) max = &s;
                else if (s.GetXL() < min->GetXL()) min = &s;
            } else {
                if (s.GetYB() > max->GetYB()) max = &s;
                else if (s.GetYT() < min->GetYT()) min = &s;
            }
        }
    }
    if (horiz) {
        if (oQ.GetXL() < min->GetXL()) return *min;
        if (oQ.GetXR() > max->GetXR()) return *max;
    } else {
        if (oQ.GetYT() < min->GetYT()) return *min;
        if (oQ.GetYB() > max->GetYB()) return *max;
    }
    return oP;
}

QList<SVGBoxPtr> FamilyDrawing::childrenInView(const SVGFamily& oFam) const {
    QList<SVGBoxPtr> children = oFam.GetChildren();
    const SVGViewpointPtr viewpoint = context_.tree.GetViewpoint();
    if (viewpoint) children.removeIf([&](const SVGBoxPtr& c) { return !viewpoint->PersonExists(c->GetKey()); });
    return children;
}

void FamilyDrawing::circleCentre(const SVGBox& oL, const SVGBox& oR, double& fX, double& fY) const {
    if (context_.tree.GetDisplay()->GetHoriz()) {
        fX = (oL.GetXR() + oR.GetXL()) / 2;
        fY = (oL.GetYM() + oR.GetYM()) / 2;
    } else {
        fX = (oL.GetXC() + oR.GetXC()) / 2;
        fY = (oL.GetYB() + oR.GetYT()) / 2;
    }
}

void FamilyDrawing::DrawFamily(const SVGFamily& oFam, bool bMoreChildren, bool bLiaison) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const bool clickable = context_.clickable();
    const SVGBoxPtr first = oFam.GetFirstPar();
    const SVGBoxPtr second = oFam.GetSecPar();
    const bool firstAnchors = iSetCount(first->GetSpouseSet(), kComma) > iSetCount(second->GetSpouseSet(), kComma);
    const SVGBox& anchor = firstAnchors ? *first : *second;
    const SVGBox& other = firstAnchors ? *second : *first;
    const SVGBox* left = &GetOuterSpouse(anchor, other);
    const SVGBox* right = &other;
    const QString famClasses = GetFamilyClassList(context_.tree, oFam, QStringLiteral("ClassFamily"), {});
    const QString lineClasses = GetFamilyClassList(context_.tree, oFam, QStringLiteral("ClassFamilyLines"), {});
    const bool rootFamily = !oFam.GetRootKey().isEmpty();

    if (display.GetHoriz()) {
        if (right->GetXR() < left->GetXL()) std::swap(left, right);
        const QList<double> bridge = {left->GetXR(), left->GetYM(), right->GetXL(), right->GetYM()};
        DrawLineWithClasses(bridge[0], bridge[1], bridge[2], bridge[3], lineClasses, nullptr,
                            QStringLiteral("bridge"));
        if (rootFamily) display.DrawRootLine(context_.out, false, bridge);
    } else {
        if (right->GetYB() < left->GetYT()) std::swap(left, right);
        const QList<double> bridge = {left->GetXC(), left->GetYB(), right->GetXC(), right->GetYT()};
        DrawLineWithClasses(bridge[0], bridge[1], bridge[2], bridge[3], lineClasses, nullptr,
                            QStringLiteral("bridge"));
        if (rootFamily) display.DrawRootLine(context_.out, false, bridge);
    }
    if (display.GetFanned()) DrawFannedChildLines(oFam, *left, *right, lineClasses);
    else DrawChildLines(oFam, *left, *right, lineClasses);
    double x0 = 0, y0 = 0;
    circleCentre(*left, *right, x0, y0);
    display.DrawCircle(context_.out, oFam.GetKey(), famClasses, oFam.GetTooltips(), x0, y0, bMoreChildren, bLiaison,
                       clickable);

    // A second family of the same couple finds them already recorded.
    if (!bSetMember(first->GetSpouseSet(), second->GetKey(), kComma)) first->AddSpouseSet(second->GetKey());
    if (!bSetMember(second->GetSpouseSet(), first->GetKey(), kComma)) second->AddSpouseSet(first->GetKey());
}

void FamilyDrawing::DrawChildLines(const SVGFamily& oFam, const SVGBox& oL, const SVGBox& oR,
                                   const QString& sLineClasses) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const QString none;
    const QString more = QStringLiteral("more");
    const QString rootKey = oFam.GetRootKey();
    const bool moreChildren = oFam.GetMoreChildren();
    const double boxW = display.GetBoxW(), boxH = display.GetBoxH();
    double x0 = 0, y0 = 0;
    circleCentre(oL, oR, x0, y0);
    const QList<SVGBoxPtr> children = childrenInView(oFam);
    auto line = [&](double x1, double y1, double x2, double y2, const SVGBox* child, const QString& base,
                    bool ext = false) { DrawLineWithClasses(x1, y1, x2, y2, sLineClasses, child, base, ext); };
    auto rootLine = [&](const SVGBox& child, const QList<double>& points) {
        if (child.GetKey() == rootKey) display.DrawRootLine(context_.out, child.GetTentative(), points);
    };

    if (children.isEmpty()) {
        if (!moreChildren) return;
        if (display.GetHoriz()) line(x0, y0, x0, y0 + boxH / 2, nullptr, more);
        else line(x0, y0, x0 + boxW / 2, y0, nullptr, more);
        return;
    }
    const SVGBox& c1 = *children.first();

    if (!display.GetHoriz()) {
        // Generations in columns: a vertical rail beside the children.
        // The rail stands in the margin between the circle and the first
        // child, on whichever side of the circle that child is.
        const bool right = c1.GetXL() > x0;
        const double ref = right ? c1.GetXL() : c1.GetXR();
        const double railX = right ? ref - display.GetMarginW() / 2 : ref + display.GetMarginW() / 2;
        if (children.size() == 1) {
            const double ym = c1.GetYM();
            if (ym == y0) {
                line(x0, y0, ref, y0, &c1, none);
                rootLine(c1, {x0, y0, ref, y0});
                if (moreChildren) line(railX, y0, railX, y0 + boxH / 2, nullptr, more);
            } else {
                line(x0, y0, railX, y0, nullptr, QStringLiteral("descender"));
                line(railX, y0, railX, ym, nullptr, QStringLiteral("rail"), true);
                line(railX, ym, ref, ym, &c1, none);
                rootLine(c1, {x0, y0, railX, y0, railX, ym, ref, ym});
                if (moreChildren) {
                    const double from = y0 > ym ? y0 : ym;
                    line(railX, from, railX, from + boxH / 2, nullptr, more);
                }
            }
            return;
        }
        line(x0, y0, railX, y0, nullptr, QStringLiteral("descender"));
        double yMin = y0, yMax = y0;
        for (const SVGBoxPtr& c : children) {
            yMin = std::min(yMin, c->GetYM());
            yMax = std::max(yMax, c->GetYM());
        }
        line(railX, yMin, railX, yMax, nullptr, QStringLiteral("rail"), true);
        if (moreChildren) line(railX, yMax, railX, yMax + boxH / 2, nullptr, more);
        for (const SVGBoxPtr& c : children) {
            const double end = c->GetXL() > railX ? c->GetXL() : c->GetXR();
            const double ym = c->GetYM();
            line(railX, ym, end, ym, c.get(), none);
            rootLine(*c, {x0, y0, railX, y0, railX, ym, end, ym});
        }
        return;
    }

    // Generations in rows: a horizontal rail above (or below) the children.
    const bool below = c1.GetYT() > y0;
    const double ref = below ? c1.GetYT() : c1.GetYB();
    const double railY = below ? ref - display.GetMarginH() / 2 : ref + display.GetMarginH() / 2;
    if (children.size() == 1) {
        const double xc = c1.GetXC();
        if (xc == x0) {
            line(x0, y0, x0, ref, &c1, none);
            rootLine(c1, {x0, y0, x0, ref});
            if (moreChildren) line(x0, railY, x0 + boxW / 2, railY, nullptr, more);
        } else {
            line(x0, y0, x0, railY, nullptr, QStringLiteral("descender"));
            line(x0, railY, xc, railY, nullptr, QStringLiteral("rail"), true);
            line(xc, railY, xc, ref, &c1, none);
            rootLine(c1, {x0, y0, x0, railY, xc, railY, xc, ref});
            if (moreChildren) {
                const double from = x0 > xc ? x0 : xc;
                line(from, railY, from + boxW / 2, railY, nullptr, more);
            }
        }
        return;
    }
    line(x0, y0, x0, railY, nullptr, QStringLiteral("descender"));
    double xMin = x0, xMax = x0;
    for (const SVGBoxPtr& c : children) {
        xMin = std::min(xMin, c->GetXC());
        xMax = std::max(xMax, c->GetXC());
    }
    line(xMin, railY, xMax, railY, nullptr, QStringLiteral("rail"), true);
    if (moreChildren) line(xMax, railY, xMax + boxW / 2, railY, nullptr, more);
    for (const SVGBoxPtr& c : children) {
        const double end = c->GetYT() > railY ? c->GetYT() : c->GetYB();
        const double xc = c->GetXC();
        line(xc, railY, xc, end, c.get(), none);
        rootLine(*c, {x0, y0, x0, railY, xc, railY, xc, end});
    }
}

void FamilyDrawing::DrawFannedChildLines(const SVGFamily& oFam, const SVGBox& oL, const SVGBox& oR,
                                         const QString& sLineClasses) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const QString rootKey = oFam.GetRootKey();
    double x0 = 0, y0 = 0;
    circleCentre(oL, oR, x0, y0);
    for (const SVGBoxPtr& c : childrenInView(oFam)) {
        const double x = display.GetHoriz() ? c->GetXC() : c->GetXL();
        const double y = display.GetHoriz() ? c->GetYT() : c->GetYM();
        DrawLineWithClasses(x0, y0, x, y, sLineClasses, c.get(), QString());
        if (c->GetKey() == rootKey) display.DrawRootLine(context_.out, c->GetTentative(), {x0, y0, x, y});
    }
}
