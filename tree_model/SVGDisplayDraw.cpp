// The drawing members of SVGDisplay: each turns positions, classes and texts
// into the element text of a chart body and hands it to the chart writer.
#include "SVGDisplay.h"

#include <cmath>

#include <QStringBuilder>

#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

namespace {

// Width of a chart line: every element line is written in line mode with it,
// and the tooltip blocks join to the pending line with it.
constexpr int kLineWidth = 256;
const QString kXLinkNamespace = QStringLiteral("http://www.w3.org/1999/xlink");

// Rounded to three decimals, halves to even.
double round3(double v) { return std::nearbyint(v * 1000.0) / 1000.0; }

QString num(double v) { return sFormatNum(v); }

QString attr(const char* name, double v) {
    return QLatin1Char(' ') % QLatin1String(name) % QLatin1String("=\"") % num(v) % QLatin1Char('"');
}

QString personClick(const QString& function, const QString& inst, const QString& key) {
    return QStringLiteral(" onclick=\"") + function + QStringLiteral("(evt,'P','") + inst + QStringLiteral("','") +
           key + QStringLiteral("');\"");
}

// The tooltip block of an element: "<title>" begins the line of the first
// tooltip line, "</title>" and the closing tag begin the next line written.
// Without a block the closing tag is a line of its own. Returns the number of
// tooltip lines written.
int iWriteTitleLines(SVGDisplay::ChartWriter& out, bool tooltipsOn, const QList<QString>& tooltips,
                     const QString& closingTag) {
    if (!tooltipsOn || tooltips.isEmpty()) {
        out.WriteOutput(closingTag, false, kLineWidth);
        return 0;
    }
    out.WriteOutput(QStringLiteral("<title>"), true, kLineWidth);
    for (const QString& line : tooltips) out.WriteOutput(sReescapeXML(line), false, kLineWidth);
    out.WriteOutput(QStringLiteral("</title>"), true, kLineWidth);
    out.WriteOutput(closingTag, true, kLineWidth);
    return static_cast<int>(tooltips.size());
}

// Keeps the picture's proportions inside the area: limited by the height it is
// centred, limited by the width it stays at the top. A ratio of 0 changes nothing.
void GetImageFit(double& fX, double& fY, double& fW, double& fH, double fRatio) {
    if (fRatio == 0) return;
    if (fH / fW < fRatio) {
        const double width = fH / fRatio;
        fX = round3(fX + (fW - width) / 2);
        fW = round3(width);
    } else {
        fH = round3(fW * fRatio);
    }
}

}  // namespace

void SVGDisplay::DrawRect(ChartWriter& out, const QString& sKey, const QString& sSex, const QString& sClasses,
                          const QList<QString>& sTooltips, double fX, double fY, double, double,
                          bool bClickable) const {
    const QString classes = sSetUnion(sSex, sClasses, QStringLiteral(" "));
    QString line = QLatin1String("<use tabindex=\"0\" xlink:href=\"#G") % inst_ % QLatin1String("-Box\" class=\"") %
                   sEscapeXML(classes) % QLatin1Char('"') % attr("x", fX) % attr("y", fY);
    if (bClickable) line += personClick(QStringLiteral("clickHandler"), inst_, sKey);
    line += QLatin1Char('>');
    out.WriteOutput(line, false, kLineWidth);
    iWriteTitleLines(out, tooltips_, sTooltips, QStringLiteral("</use>"));
}

void SVGDisplay::DrawButton(ChartWriter& out, const QString& sKey, const QString& sSex, double fX, double fY,
                            const QString& sCorner, const StringDict* oSettings, bool bCodeOnClick) const {
    const QString tooltip = GetButTip(sCorner, oSettings);
    const QString title =
        tooltip.isEmpty() ? QString() : QStringLiteral("<title>") + sEscapeXML(tooltip) + QStringLiteral("</title>");
    const QString symbol = (GetIcon(sCorner).isEmpty() ? QStringLiteral("-Button") : QStringLiteral("-Icon")) + sCorner;
    QString line = QStringLiteral("<use class=\"") + sEscapeXML(sSex + QLatin1Char(' ') + sCorner.toLower()) +
                   QStringLiteral("\" xlink:href=\"#G") + inst_ + sEscapeXML(symbol) + QLatin1Char('"') +
                   attr("x", fX) + attr("y", fY);
    if (bCodeOnClick) line += personClick(QStringLiteral("clickHandler") + sCorner, inst_, sKey);
    line += QLatin1Char('>') + title + QStringLiteral("</use>");
    out.WriteOutput(line, false, kLineWidth);
}

void SVGDisplay::DrawCircle(ChartWriter& out, const QString& sKey, const QString& sClasses,
                            const QList<QString>& sTooltips, double fX, double fY, bool bMoreChildren, bool bLiaison,
                            bool bClickable) const {
    QString symbol = bMoreChildren ? QStringLiteral("-FamCH") : QStringLiteral("-FamC");
    if (bLiaison) symbol += QStringLiteral("-L");
    QString line = QStringLiteral("<use id=\"F") + inst_ + QLatin1Char('-') + sKey +
                   QStringLiteral("\" tabindex=\"0\" class=\"") + sEscapeXML(sClasses) +
                   QStringLiteral("\" xlink:href=\"#G") + inst_ + symbol + QLatin1Char('"') + attr("x", fX) +
                   attr("y", fY);
    if (bClickable)
        line += QStringLiteral(" onclick=\"clickHandler(evt,'F','") + inst_ + QStringLiteral("','") + sKey +
                QStringLiteral("');\"");
    line += QLatin1Char('>');
    out.WriteOutput(line, false, kLineWidth);
    iWriteTitleLines(out, tooltips_, sTooltips, QStringLiteral("</use>"));
}

void SVGDisplay::DrawLine(ChartWriter& out, double fX1, double fY1, double fX2, double fY2, const QString& sClasses,
                          bool bExt) const {
    if (bExt) {
        // Half the line width at both ends, along the line's direction.
        double& a = fX1 == fX2 ? fY1 : fX1;
        double& b = fX1 == fX2 ? fY2 : fX2;
        if (a < b) {
            a -= 0.75;
            b += 0.75;
        } else {
            a += 0.75;
            b -= 0.75;
        }
    }
    const QString line = QLatin1String("<line class=\"") % sEscapeXML(sClasses) % QLatin1Char('"') % attr("x1", fX1) %
                         attr("y1", fY1) % attr("x2", fX2) % attr("y2", fY2) % QLatin1String("/>");
    out.WriteOutput(line, false, kLineWidth);
}

void SVGDisplay::DrawRootLine(ChartWriter& out, bool bTentative, const QList<double>& vCoords) const {
    const int points = static_cast<int>(vCoords.size() / 2);
    for (int k = 0; k + 1 < points; ++k) {
        // The points are read with single precision.
        const double x1 = static_cast<float>(vCoords[2 * k]), y1 = static_cast<float>(vCoords[2 * k + 1]);
        double x2 = static_cast<float>(vCoords[2 * k + 2]), y2 = static_cast<float>(vCoords[2 * k + 3]);
        const bool last = k + 2 == points;
        if (!last) {
            // Half the root line's width further, so that the segments join closed.
            if (x2 != x1) x2 += x2 < x1 ? -2 : 2;
            else y2 += y2 < y1 ? -2 : 2;
        }
        QString classes = QStringLiteral("direct");
        if (last && bTentative) classes += QStringLiteral(" tentative");
        DrawLine(out, x1, y1, x2, y2, classes, false);
    }
}

void SVGDisplay::DrawText(ChartWriter& out, const QString&, const QList<QString>& sText, double fX, double fY,
                          double fDy1, double fDy) const {
    const int maxChars = GetMaxChars();
    double dy = 0;
    for (int i = 0; i < sText.size(); ++i) {
        const QString& line = sText[i];
        dy += i == 0 ? fDy1 : fDy;
        const QString textLength = line.size() > maxChars ? attr("textLength", boxW_ - 1.5) : QString();
        const QString element = QLatin1String("<text") % attr("x", fX) % attr("y", fY) % QLatin1String(" dy=\"") %
                                num(dy) % QLatin1String("em\"") % textLength % QLatin1Char('>') %
                                sEscapeXML(sTrimWhite(line)) % QLatin1String("</text>");
        out.WriteOutput(element, false, kLineWidth);
    }
}

void SVGDisplay::GetImageSizePosn(double& fX, double& fY, double& fW, double& fH) const {
    fW = boxW_;
    fH = imagePart_ * boxH_;
    if (rounded_) {
        // Keep the picture clear of the rounded corners.
        const double a = buttonW_ / 2 - (buttonW_ / 2) * (buttonW_ / 2) / buttonRadius_;
        const double b = buttonH_ / 2 - (buttonH_ / 2) * (buttonH_ / 2) / buttonRadius_;
        fX += a;
        fY += b;
        fW -= 2 * a;
        fH -= b;
    } else {
        fX += 0.75;
        fY += 0.75;
        fW -= 1.5;
        fH -= 1.5;
    }
    fX = round3(fX);
    fY = round3(fY);
    fW = round3(fW);
    fH = round3(fH);
}

void SVGDisplay::DrawImage(ChartWriter& out, const QString& sKey, const QString& sImage,
                           const QList<QString>& sTooltips, double fX, double fY, double fRatio,
                           bool bClickable) const {
    if (sImage.isEmpty()) return;
    const QString click =
        bClickable ? personClick(QStringLiteral("clickHandler"), inst_, sKey)
                   : QStringLiteral(" onclick=\"window.open(this.getAttributeNS('") + kXLinkNamespace +
                         QStringLiteral("','href'),'_blank');\"");
    double w = 0, h = 0;
    GetImageSizePosn(fX, fY, w, h);
    GetImageFit(fX, fY, w, h, fRatio);
    out.WriteOutput(QStringLiteral("<image") + attr("x", fX) + attr("y", fY) + attr("width", w) +
                        attr("height", h) + QStringLiteral(" xlink:href=\"") + sReescapeXML(sImage) +
                        QStringLiteral("\" preserveAspectRatio=\"xMidYMin meet\"") + click + QLatin1Char('>'),
                    false, kLineWidth);
    iWriteTitleLines(out, tooltips_, sTooltips, QStringLiteral("</image>"));
}

void SVGDisplay::DrawStockImage(ChartWriter& out, const QString&, const QString& sSex,
                                const QList<QString>& sTooltips, double fX, double fY) const {
    double w = 0, h = 0;
    GetImageSizePosn(fX, fY, w, h);
    out.WriteOutput(QStringLiteral("<use xlink:href=\"#G") + inst_ + QStringLiteral("-Stock") +
                        sEscapeXML(sSex.toUpper()) + QLatin1Char('"') + attr("x", fX) + attr("y", fY) +
                        QLatin1Char('>'),
                    false, kLineWidth);
    iWriteTitleLines(out, tooltips_, sTooltips, QStringLiteral("</use>"));
}
