#include "HeaderVariables.h"

#include <QStringList>

#include "SVGDisplay.h"
#include "SVGTree.h"
#include "foundation/TextHelpers.h"

namespace {

QString F(double value) { return sFormatNum(value); }

const QString kOff = QStringLiteral("//**//");

QString onWhen(bool on) { return on ? QString() : kOff; }

// The size variables: how wide and high the drawing is drawn, its view box,
// the size of its container in an HTML page and the largest size it may take.
void addSizeVars(StringDict& vars, const SVGDisplay& d, double fRight, double fBottom) {
    const QString w = F(fRight), h = F(fBottom);
    const QString px = QStringLiteral("px");
    const QString viewBox = QStringLiteral("viewBox=\"0 0 ") + w + u' ' + h + u'"';
    const QString full = QStringLiteral("100%");
    const QString widthLess = QStringLiteral("calc(100% - 2px)");
    const QString heightLess = QStringLiteral("calc(100vh - 23px)");
    // Width and height limits of a scaled chart that is not in a blog page:
    // the longer side takes the whole window, the shorter one its share.
    auto scaledMax = [&](const QString& wideUnit, QString& widthMax, QString& heightMax) {
        if (fRight > fBottom) {
            widthMax = widthLess;
            heightMax = QStringLiteral("calc(") + F(fBottom * 100 / fRight) + wideUnit + QStringLiteral(" - 23px)");
        } else {
            widthMax = QStringLiteral("calc(") + F(fRight * 100 / fBottom) + QStringLiteral("% - 2px)");
            heightMax = heightLess;
        }
    };

    if (d.GetSVGFile()) {
        const bool scaled = d.GetScaled();
        vars.set(QStringLiteral("width"), scaled ? QStringLiteral("100vw") : w + px);
        vars.set(QStringLiteral("height"), scaled ? QStringLiteral("100vh") : h + px);
        vars.set(QStringLiteral("viewbox"), scaled ? viewBox : QString());
        vars.set(QStringLiteral("width-max"), w + px);
        vars.set(QStringLiteral("height-max"), h + px);
        return;
    }

    QString width = full, height = full, box, widthMax, heightMax;
    if (d.GetPanZoom()) {
        if (d.GetBlog()) {
            widthMax = full;
            heightMax = QStringLiteral("50vh");
        } else if (d.GetScaled()) {
            scaledMax(QStringLiteral("vh"), widthMax, heightMax);
        } else {
            widthMax = widthLess;
            heightMax = heightLess;
        }
    } else if (d.GetScaled()) {
        box = viewBox;
        if (d.GetBlog()) {
            widthMax = full;
            heightMax = QStringLiteral("50vh");
        } else {
            scaledMax(QStringLiteral("vw"), widthMax, heightMax);
        }
    } else {
        width = w + px;
        height = h + px;
        widthMax = widthLess;
        heightMax = heightLess;
    }
    vars.set(QStringLiteral("width"), width);
    vars.set(QStringLiteral("height"), height);
    vars.set(QStringLiteral("viewbox"), box);
    vars.set(QStringLiteral("width-div"), w + px);
    vars.set(QStringLiteral("height-div"), h + px);
    vars.set(QStringLiteral("width-max"), widthMax);
    vars.set(QStringLiteral("height-max"), heightMax);
}

}  // namespace

StringDict HeaderVariables::BuildHeaderVars(const SVGTree& oTree) {
    const SVGDisplay& d = *oTree.GetDisplay();
    double fRight = 0, fBottom = 0;
    oTree.GetFarEdges(fRight, fBottom);

    StringDict vars;
    addSizeVars(vars, d, fRight, fBottom);

    // The title and the viewpoint's name go into attribute values and element
    // text of the template: escaped, so that a title such as "Smith & Sons"
    // still makes a well-formed chart.
    const QString title = sReescapeXML(d.GetTitle());
    vars.set(QStringLiteral("font"), d.GetSmall() ? QStringLiteral("10px") : QStringLiteral("13px"));
    vars.set(QStringLiteral("if-blog"), onWhen(d.GetBlog()));
    vars.set(QStringLiteral("ifn-blog"), onWhen(!d.GetBlog()));
    vars.set(QStringLiteral("if-svg"), onWhen(d.GetSVGFile()));
    vars.set(QStringLiteral("ifn-svg"), onWhen(!d.GetSVGFile()));
    vars.set(QStringLiteral("if-scaled"), onWhen(d.GetScaled()));
    vars.set(QStringLiteral("ifn-scaled"), onWhen(!d.GetScaled()));
    vars.set(QStringLiteral("title"), title);
    vars.set(QStringLiteral("inst"), d.GetInst());
    vars.set(QStringLiteral("line-wid"), F(1.5));
    vars.set(QStringLiteral("line-wid-root"), F(4));
    vars.set(QStringLiteral("line-wid-sh"), F(1.5));
    vars.set(QStringLiteral("version"), sGetVersion());
    vars.set(QStringLiteral("r1"), F(d.GetBoxH() / 10));
    vars.set(QStringLiteral("r2"), F(d.GetBoxH() * 3 / 40));
    vars.set(QStringLiteral("r3"), F(d.GetBoxH() / 20));
    vars.set(QStringLiteral("w"), F(d.GetBoxW()));
    vars.set(QStringLiteral("h"), F(d.GetBoxH()));
    vars.set(QStringLiteral("bw"), F(d.GetButtonW()));
    vars.set(QStringLiteral("bh"), F(d.GetButtonH()));
    vars.set(QStringLiteral("rx"), F(d.GetRounded() ? d.GetButtonW() / 2 : 0));
    vars.set(QStringLiteral("ry"), F(d.GetRounded() ? d.GetButtonH() / 2 : 0));

    const QStringList corners = {QStringLiteral("TR"), QStringLiteral("TL"), QStringLiteral("BR"),
                                 QStringLiteral("BL")};
    // The icons' locations go into attribute values of the template.
    for (const QString& corner : corners)
        vars.set(QStringLiteral("image-") + corner.toLower(),
                 sReescapeXML(oTree.GetPlaceKeys().ExpandURLName(d.GetIcon(corner), false, false)));
    for (const QString& corner : corners)
        vars.set(QStringLiteral("clip-") + corner.toLower(), sCornerClipPath(d, corner));

    vars.set(QStringLiteral("box-opacity"), d.GetOpacity());
    for (const char* sex : {"f", "m", "u", "x"})
        vars.set(QStringLiteral("box-col-") + QLatin1String(sex), d.GetBoxCol(QLatin1String(sex)));
    vars.set(QStringLiteral("box-col-border"), d.GetBoxBorderCol());
    for (const char* part : {"C", "C2", "CL", "CL2"})
        vars.set(QStringLiteral("circle-col-") + QString::fromLatin1(part).toLower(),
                 d.GetCircleCol(QLatin1String(part)));
    vars.set(QStringLiteral("root-key"), d.GetRootKey());

    const bool viewpoints = oTree.UsingViewpoints();
    vars.set(QStringLiteral("viewpoint"), viewpoints ? oTree.GetViewpointKey() : QString());
    vars.set(QStringLiteral("viewpoint-set"), viewpoints ? oTree.GetViewpointSet() : QString());
    vars.set(QStringLiteral("description"),
             viewpoints ? sReescapeXML(oTree.GetViewpointName()) : QStringLiteral("SVG Family Tree ") + title);
    return vars;
}

QString HeaderVariables::sSubstituteVars(const QString& sLine, const StringDict& oVars) {
    const QStringList pieces = sLine.split(QStringLiteral("??"));
    if (pieces.size() == 1) return sLine;
    QString out;
    out.reserve(sLine.size() + 64);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i % 2 == 0) {
            out += pieces[i];
        } else if (const QString* value = oVars.find(pieces[i])) {
            out += *value;
        } else {
            out += QStringLiteral("??") + pieces[i] + QStringLiteral("??");
        }
    }
    return out;
}

QString HeaderVariables::sCornerClipPath(const SVGDisplay& oDispl, const QString& sCorner) {
    const QString bw = F(oDispl.GetButtonW()), bh = F(oDispl.GetButtonH());
    const QString bw2 = F(oDispl.GetButtonW() / 2), bh2 = F(oDispl.GetButtonH() / 2);
    const QString arc = QStringLiteral(" A") + bw2 + u',' + bh2 + QStringLiteral(" 0 0,0 ");
    if (!oDispl.GetRounded())
        return QStringLiteral("M0,0 L0,") + bh + QStringLiteral(" L") + bw + u',' + bh + QStringLiteral(" L") + bw +
               QStringLiteral(",0 L0,0 Z");
    if (sCorner == QLatin1String("TR"))
        return QStringLiteral("M0,0 L0,") + bh + QStringLiteral(" L") + bw + u',' + bh + QStringLiteral(" L") + bw +
               u',' + bh2 + arc + bw2 + QStringLiteral(",0 L0,0 Z");
    if (sCorner == QLatin1String("TL"))
        return QStringLiteral("M") + bw2 + QStringLiteral(",0") + arc + QStringLiteral("0,") + bh2 +
               QStringLiteral(" L0,") + bh + QStringLiteral(" L") + bw + u',' + bh + QStringLiteral(" L") + bw +
               QStringLiteral(",0 L0,0 Z");
    if (sCorner == QLatin1String("BR"))
        return QStringLiteral("M0,0 L0,") + bh + QStringLiteral(" L") + bw2 + u',' + bh + arc + bw + u',' + bh2 +
               QStringLiteral(" L") + bw + QStringLiteral(",0 L0,0 Z");
    if (sCorner == QLatin1String("BL"))
        return QStringLiteral("M0,0 L0,") + bh2 + arc + bw2 + u',' + bh + QStringLiteral(" L") + bw + u',' + bh +
               QStringLiteral(" L") + bw + QStringLiteral(",0 L0,0 Z");
    return QString();
}
