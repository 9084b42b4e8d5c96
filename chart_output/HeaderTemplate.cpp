#include "HeaderTemplate.h"

#include <QDir>
#include <QStringList>

#include "HeaderVariables.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "foundation/PathHelpers.h"
#include "foundation/ReadTextFile.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

namespace {

constexpr int kLineWidth = 256;

QString F(double value) { return sFormatNum(value); }
QString P(double fraction) { return sFormatPct(fraction); }

const QString kOff = QStringLiteral("//**//");

// "??handler-point-" + two characters + "??": the handler of one corner button.
bool isCornerHandlerMarker(const QString& line) {
    static const QString prefix = QStringLiteral("??handler-point-");
    return line.size() == prefix.size() + 4 && line.startsWith(prefix) && line.endsWith(QStringLiteral("??"));
}

QString lines(std::initializer_list<const char*> parts) {
    QStringList out;
    for (const char* p : parts) out.append(QString::fromLatin1(p));
    return out.join(u'\n');
}

}  // namespace

const char* const HeaderTemplate::kSupportBase = ".";

HeaderTemplate::HeaderTemplate(SVGTree& oTree, const SVGApplications& oApps, SVGDisplay::ChartWriter& oOut,
                               Reporter& oReporter, const QString& sDataFolder, const QString& sTreeFolder)
    : tree_(oTree), apps_(oApps), out_(oOut), reporter_(oReporter), dataFolder_(sDataFolder),
      treeFolder_(sTreeFolder) {}

void HeaderTemplate::write(const QString& sLine) { out_.WriteOutput(sLine, false, kLineWidth); }

QString HeaderTemplate::sTemplateFile(const StringDict& oAppDict, bool bSVGFile) const {
    const QString own = tree_.GetDisplay()->Header();
    if (!own.isEmpty()) {
        const QString path = localPath(own);
        if (QDir::isAbsolutePath(path) || treeFolder_.isEmpty()) return path;
        return QDir(treeFolder_).filePath(path);
    }
    QString name;
    if (bSVGFile)
        name = apps_.iCountValidApps(oAppDict, bSVGFile) != 0 ? QStringLiteral("Header_js.svg")
                                                              : QStringLiteral("Header.svg");
    else
        name = tree_.GetDisplay()->GetPanZoom() ? QStringLiteral("Header_pz.html") : QStringLiteral("Header.html");
    return QDir(dataFolder_).filePath(name);
}

void HeaderTemplate::WriteHeader(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars) {
    const QString file = sTemplateFile(oAppDict, bSVGFile);
    reporter_.logLine(QStringLiteral("Utilising header file: ") + file);
    CopyHeaderFile(file, oVars);
}

void HeaderTemplate::CopyHeaderFile(const QString& sFile, const StringDict& oVars) {
    const bool svg = tree_.GetDisplay()->GetSVGFile();
    static const StringDict noApps;
    const StringDict& appDict = tree_.GetAppDict() ? *tree_.GetAppDict() : noApps;
    QString backgroundImage;  // kept from the first background point for the second

    ReadTextFile reader;
    reader.OpenFile(sFile);
    while (!reader.EOD()) {
        const QString line = reader.ReadLine();
        if (!line.contains(QStringLiteral("??"))) {
            write(line);
        } else if (line == QLatin1String("??script-point??")) {
            writeScripts(appDict, svg);
        } else if (line == QLatin1String("??style-point??")) {
            writeStyles(appDict, svg);
        } else if (line == QLatin1String("??stock-image-point??")) {
            writeStockImages();
        } else if (line == QLatin1String("??bg-image-point-1??")) {
            backgroundImage = writeBackgroundPattern(svg);
        } else if (line == QLatin1String("??bg-image-point-2??")) {
            writeBackgroundRect(backgroundImage, svg);
        } else if (line == QLatin1String("??handler-point??")) {
            writeCode(apps_.HandlerCode(appDict, QStringLiteral("click"), svg), oVars);
        } else if (isCornerHandlerMarker(line)) {
            const QString corner = line.mid(16, 2).toUpper();
            const QString code = apps_.HandlerCode(appDict, corner, svg);
            if (code.isEmpty())
                write(QStringLiteral("    alert('") + corner + QStringLiteral(" button clicked for ' + type + inst + '-' + key);"));
            else
                writeCode(code, oVars);
        } else if (line == QLatin1String("??application-preamble??")) {
            WritePreamble(appDict, svg, oVars);
        } else if (line == QLatin1String("??help-point??")) {
            WriteMouseHelp(appDict);
        } else {
            const QString substituted = HeaderVariables::sSubstituteVars(line, oVars);
            if (!substituted.startsWith(kOff)) write(substituted);
        }
    }
    reader.CloseFile();
}

void HeaderTemplate::writeCode(const QString& sCode, const StringDict& oVars) {
    if (sCode.isEmpty()) return;
    const QStringList pieces = HeaderVariables::sSubstituteVars(sCode, oVars).split(u'\n');
    for (const QString& piece : pieces) write(piece);
}

void HeaderTemplate::writeScripts(const StringDict& oAppDict, bool bSVGFile) {
    const QString attr = bSVGFile ? QStringLiteral("href") : QStringLiteral("src");
    const QString base = QLatin1String(kSupportBase);
    auto script = [&](const QString& location) {
        write(QStringLiteral("<script ") + attr + QStringLiteral("='") + location + QStringLiteral("'></script>"));
    };
    const std::pair<const char*, const char*> libraries[] = {
        {"support.js", "support6.js"}, {"navigation.js", "navigation6.js"}, {"programdata.js", "programdata6.js"}};
    for (const auto& [library, file] : libraries)
        if (apps_.AnythingRequireLib(oAppDict, QLatin1String(library), bSVGFile))
            script(base + QStringLiteral("/SVGcode/") + QLatin1String(file));
    for (const QString& entry : apps_.ScriptFiles(oAppDict, bSVGFile)) script(entry);
    if (!bSVGFile && tree_.GetDisplay()->GetPanZoom()) script(base + QStringLiteral("/SVGcode/svg-pan-zoom.js"));
}

void HeaderTemplate::writeStyles(const StringDict& oAppDict, bool bSVGFile) {
    auto style = [&](const QString& location) {
        if (bSVGFile)
            write(QStringLiteral("<?xml-stylesheet href='") + location + QStringLiteral("'?>"));
        else
            write(QStringLiteral("<link rel='stylesheet' type='text/css' href='") + location + QStringLiteral("'>"));
    };
    if (apps_.AnythingRequireLib(oAppDict, QStringLiteral("programdata.js"), bSVGFile))
        style(QLatin1String(kSupportBase) + QStringLiteral("/SVGcode/programdata6.css"));
    for (const QString& entry : apps_.StyleFiles(oAppDict, bSVGFile)) style(entry);
}

void HeaderTemplate::writeStockImages() {
    const SVGDisplay& d = *tree_.GetDisplay();
    if (d.GetImagePart() <= 0) return;
    double x = 0, y = 0, w = 0, h = 0;
    d.GetImageSizePosn(x, y, w, h);
    const QString inst = d.GetInst();
    const std::pair<const char*, QString> stock[] = {
        {"F", d.StockImageF()}, {"M", d.StockImageM()}, {"U", d.StockImageU()}, {"X", d.StockImageX()}};
    for (const auto& [sex, image] : stock) {
        // The location goes into an attribute: a "&" of a query stays well-formed.
        const QString location = sReescapeXML(tree_.GetPlaceKeys().ExpandURLName(image, false, false));
        if (location.isEmpty()) continue;
        write(QStringLiteral("    <g id=\"G") + inst + QStringLiteral("-Stock") + QLatin1String(sex) +
              QStringLiteral("\">"));
        write(QStringLiteral("        <image width=\"") + F(w) + QStringLiteral("\" height=\"") + F(h) +
              QStringLiteral("\" preserveAspectRatio=\"xMidYMin meet\" xlink:href=\"") + location +
              QStringLiteral("\" style=\"pointer-events:none;\"/>"));
        write(QStringLiteral("    </g>"));
        write(QString());
    }
}

QString HeaderTemplate::writeBackgroundPattern(bool bSVGFile) {
    const SVGDisplay& d = *tree_.GetDisplay();
    const QString image = tree_.GetPlaceKeys().ExpandURLName(d.BGImage(), false, false);
    if (image.isEmpty()) return image;
    const double w = d.BGImageWidth(), h = d.BGImageHeight();
    enum { Full, Width, Height, Sized } fit = Sized;
    if ((w == 0 && h == 0) || (w == 1 && h == 1))
        fit = Full;
    else if (w == 1 && h == 0)
        fit = Width;
    else if (w == 0 && h == 1)
        fit = Height;
    const QString inst = d.GetInst();
    double fRight = 0, fBottom = 0;
    tree_.GetFarEdges(fRight, fBottom);

    if (!bSVGFile) {
        write(QStringLiteral("div.tp-bg") + inst +
              QStringLiteral(" { /* Separate div to avoid opacity affecting other stuff */"));
        if (!d.GetScaled() && !d.GetPanZoom()) {
            write(QStringLiteral("    width: ") + F(fRight) + QStringLiteral("px;"));
            write(QStringLiteral("    height: ") + F(fBottom) + QStringLiteral("px;"));
        } else {
            write(QStringLiteral("    width: 100%;"));
            write(QStringLiteral("    height: 100%;"));
        }
        // A quote would end the style's string and a "<" could end the style
        // element: both are percent-encoded, as a location may hold them.
        QString cssImage = image;
        cssImage.replace(u'"', QStringLiteral("%22")).replace(u'<', QStringLiteral("%3C")).replace(u'>', QStringLiteral("%3E"));
        write(QStringLiteral("    background-image: url(\"") + cssImage + QStringLiteral("\");"));
        if (fit == Sized) {
            write(QStringLiteral("    background-size: ") + P(w) + u' ' + P(h) + u';');
            write(QStringLiteral("    background-repeat: repeat;"));
            write(QStringLiteral("    background-position: 0 0;"));
        } else {
            if (fit == Full)
                write(QStringLiteral("    background-size: 100% 100%;"));
            else if (fit == Width)
                write(QStringLiteral("    background-size: ") + P(w) + QStringLiteral(" auto;"));
            else
                write(QStringLiteral("    background-size: auto ") + P(h) + u';');
            write(QStringLiteral("    background-repeat: no-repeat;"));
            write(QStringLiteral("    background-position: center center;"));
        }
        write(QStringLiteral("    background-attachment: scroll;"));
        write(QStringLiteral("    opacity: ") + F(d.BGImageOpacity()) + u';');
        write(QStringLiteral("}"));
        write(QString());
        return image;
    }

    const QString pattern = QStringLiteral("    <pattern id=\"G") + inst + QStringLiteral("-BG\" width=\"");
    const QString imageStart = QStringLiteral("        <image xlink:href=\"") + sReescapeXML(image);
    if (d.GetScaled()) {
        if (fit == Sized)
            write(pattern + P(w) + QStringLiteral("\" height=\"") + P(h) + QStringLiteral("\">"));
        else
            write(pattern + QStringLiteral("100%\" height=\"100%\">"));
        switch (fit) {
        case Full:
            write(imageStart + QStringLiteral("\" x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" preserveAspectRatio=\"none\"/>"));
            break;
        case Width:
            write(imageStart + QStringLiteral("\" x=\"0\" y=\"0\" width=\"100%\" preserveAspectRatio=\"xMidYMid meet\"/>"));
            break;
        case Height:
            write(imageStart + QStringLiteral("\" x=\"0\" y=\"0\" height=\"100%\" preserveAspectRatio=\"xMidYMid meet\"/>"));
            break;
        case Sized:
            write(imageStart + QStringLiteral("\" x=\"0\" y=\"0\" width=\"") + P(w) + QStringLiteral("\" height=\"") +
                  P(h) + QStringLiteral("\"/>"));
            break;
        }
        write(QStringLiteral("    </pattern>"));
        write(QString());
        return image;
    }

    const bool partial = (w > 0 && w < 1) || (h > 0 && h < 1);
    if (partial) {
        const QString vw = F(w * 100) + QStringLiteral("vw"), vh = F(h * 100) + QStringLiteral("vh");
        write(pattern + vw + QStringLiteral("\" height=\"") + vh + QStringLiteral("\">"));
        write(imageStart + QStringLiteral("\" x=\"0\" y=\"0\" width=\"") + vw + QStringLiteral("\" height=\"") + vh +
              QStringLiteral("\"/>"));
    } else {
        write(pattern + QStringLiteral("100vw\" height=\"100vh\">"));
        write(imageStart +
              QStringLiteral("\" x=\"0\" y=\"0\" width=\"100vw\" height=\"100vh\" preserveAspectRatio=\"none\"/>"));
    }
    write(QStringLiteral("    </pattern>"));
    // Percentages are taken of the whole drawing, and viewport units are not
    // honoured inside SVG: the script turns the pattern's vw and vh into
    // percentages of the drawing.
    const QString fix = lines({
        "    <script>",
        "    // We have to fix a problem here with scrolled SVG content. % units are calculated as a proportion of the full SVG",
        "    // area (not the visible area), and yet SVG does not honour viewport units (vh/vw/etc). We therefore convert vw/vh to % using JS.",
        "    function tp_vp2pc (attr,w,h) {",
        "        if (attr.indexOf('vw') >= 0) {",
        "            return (parseFloat(attr)*window.innerWidth/w).toFixed(3) + '%';",
        "        } else if (attr.indexOf('vh') >= 0) {",
        "            return (parseFloat(attr)*window.innerHeight/h).toFixed(3) + '%';",
        "        } else {",
        "            return attr;",
        "        }",
        "    }",
        "    function tp_vp2pcElem(elem,name,w,h) {",
        "        if (elem.hasAttribute(name)) elem.setAttribute(name, tp_vp2pc(elem.getAttribute(name),w,h));",
        "    }",
    });
    for (const QString& l : fix.split(u'\n')) write(l);
    const QString edges = u',' + F(fRight) + u',' + F(fBottom) + QStringLiteral(");");
    write(QStringLiteral("    var tp_elem=document.getElementById('G") + inst + QStringLiteral("-BG');"));
    write(QStringLiteral("    tp_vp2pcElem(tp_elem,'width'") + edges);
    write(QStringLiteral("    tp_vp2pcElem(tp_elem,'height'") + edges);
    write(QStringLiteral("    tp_elem=tp_elem.getElementsByTagName ('image')[0];"));
    write(QStringLiteral("    tp_vp2pcElem(tp_elem,'width'") + edges);
    write(QStringLiteral("    tp_vp2pcElem(tp_elem,'height'") + edges);
    write(QStringLiteral("    </script>"));
    write(QString());
    return image;
}

void HeaderTemplate::writeBackgroundRect(const QString& sImage, bool bSVGFile) {
    if (sImage.isEmpty()) return;
    const SVGDisplay& d = *tree_.GetDisplay();
    if (bSVGFile) {
        write(QStringLiteral("<rect width=\"100%\" height=\"100%\" fill=\"url(#G") + d.GetInst() +
              QStringLiteral("-BG)\" fill-opacity=\"") + F(d.BGImageOpacity()) + QStringLiteral("\"/>"));
        write(QString());
    } else {
        write(QStringLiteral("<div class=\"tp-bg") + d.GetInst() + QStringLiteral("\"></div>"));
    }
}

void HeaderTemplate::WritePreamble(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars) {
    writeAmble(apps_.PreambleCode(oAppDict, bSVGFile), oAppDict, oVars);
}

void HeaderTemplate::WritePostamble(const StringDict& oAppDict, bool bSVGFile, const StringDict& oVars) {
    writeAmble(apps_.PostambleCode(oAppDict, bSVGFile), oAppDict, oVars);
}

void HeaderTemplate::writeAmble(const QString& sCode, const StringDict& oAppDict, const StringDict& oVars) {
    if (sCode.isEmpty()) return;
    write(QString());
    const QStringList pieces = HeaderVariables::sSubstituteVars(sCode, oVars).split(u'\n');
    for (const QString& piece : pieces) {
        if (piece == QLatin1String("??help-point??"))
            WriteMouseHelp(oAppDict);
        else if (!piece.startsWith(kOff))
            write(sTrimWhite(piece));
    }
}

void HeaderTemplate::WriteMouseHelp(const StringDict& oAppDict) {
    const QStringList clicks = apps_.GetAllRequiredClicks(oAppDict);
    if (clicks.isEmpty()) {
        write(QStringLiteral("No mouse operations have been configured for the current interactive applications.<br>"));
        return;
    }
    write(QStringLiteral("Mouse operations configured for the current interactive applications:"));
    write(QStringLiteral("<p class='hp-indent'>"));
    for (const QString& click : clicks) write(click + QStringLiteral("<br>"));
    write(QStringLiteral("</p>"));
}
