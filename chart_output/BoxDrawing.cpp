#include "BoxDrawing.h"

#include <cmath>

#include "ChartClassLists.h"
#include "PlaceKeyClass.h"
#include "SVGBox.h"
#include "SVGTree.h"
#include "TreeText.h"
#include "foundation/AppError.h"
#include "foundation/Downloads.h"
#include "foundation/PathHelpers.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

namespace {

constexpr int kLineWidth = 256;
const QString kSource = QStringLiteral("SVGBox");
const char16_t kHyphen = 0x2010;
const char16_t kEnDash = 0x2013;
const char* const kCorners[4] = {"TR", "TL", "BR", "BL"};

// Rounded to three decimals, halves to even.
double round3(double v) { return std::nearbyint(v * 1000.0) / 1000.0; }

}  // namespace

BoxDrawing::BoxDrawing(const ChartDrawContext& context) : context_(context) {}

void BoxDrawing::DrawBox(const SVGBox& oBox) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const bool clickable = context_.clickable();
    const QString key = oBox.GetKey();
    context_.out.WriteOutput(QStringLiteral("<g id=\"P") + display.GetInst() + QLatin1Char('-') + key +
                                 QStringLiteral("\">"),
                             false, kLineWidth);
    const QString classes = GetPersonClassList(context_.tree, oBox, QStringLiteral("ClassPerson"), QString());
    display.DrawRect(context_.out, key, oBox.GetSex(), classes, oBox.GetTooltips(), oBox.GetXL(), oBox.GetYT(),
                     display.GetBoxW(), display.GetBoxH(), clickable);

    if (display.GetImagePart() <= 0) {
        DrawBoxText(oBox);
    } else if (oBox.GetImage().isEmpty()) {
        const QString sex = oBox.GetSex();
        QString stock;
        if (sex == u"f") stock = display.StockImageF();
        else if (sex == u"m") stock = display.StockImageM();
        else if (sex == u"u") stock = display.StockImageU();
        else if (sex == u"x") stock = display.StockImageX();
        if (stock.isEmpty()) DrawBoxText(oBox);
        else DrawBoxWithStockImage(oBox);
    } else {
        DrawBoxWithImage(oBox, context_.tree.GetPlaceKeys(), clickable);
    }

    if (display.GetButtons() || oBox.LocSettingExists(QStringLiteral("ButtonTR,ButtonTL,ButtonBR,ButtonBL")))
        DrawButtons(oBox, clickable);
    context_.out.WriteOutput(QStringLiteral("</g>"), false, kLineWidth);
}

QString BoxDrawing::sWrapText(const QString& sLine, int iMaxChars) {
    QString out;
    out.reserve(sLine.size() + 8);
    qsizetype candidate = -1;  // position in `out` of the space to break at
    int count = 0;             // characters since the last break
    const qsizetype last = sLine.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const QChar c = sLine[i];
        ++count;
        if (c == u' ') {
            // A space never breaks by itself; an inner one is where a break may go.
            if (i != 0 && i != last) candidate = out.size();
            out += c;
            continue;
        }
        if (count > iMaxChars) {
            if (candidate >= 0) {
                out[candidate] = u'\\';
                count = static_cast<int>(out.size() - candidate);  // the characters after the break, this one included
                candidate = -1;
            } else {
                out += QChar(kHyphen);
                out += u'\\';
                count = 1;
            }
        }
        out += c;
    }
    return out;
}

QString BoxDrawing::sEnDashes(const QString& sText) {
    QString s = sText;
    s.replace(QStringLiteral("-1"), QString(QChar(kEnDash)) + QLatin1Char('1'));
    s.replace(QStringLiteral("-?"), QString(QChar(kEnDash)) + QLatin1Char('?'));
    s.replace(QStringLiteral("-)"), QString(QChar(kEnDash)) + QLatin1Char(')'));
    return s;
}

QList<QString> BoxDrawing::prepareText(const QString& sText, int iMaxChars) {
    QList<QString> pieces = sText.split(u'\\');
    for (QString& piece : pieces)
        if (sTrimWhite(piece).size() > iMaxChars) piece = sWrapText(piece, iMaxChars);
    return sEnDashes(pieces.join(u'\\')).split(u'\\');
}

void BoxDrawing::CalcTextLayout(int iLines, double& fFirst, double& fSpacing) const {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const double fontSize = display.GetSmall() ? 10 : 13;
    const double s = display.GetBoxH() / (fontSize * (iLines + 2));
    if (s >= 1) {
        fSpacing = round3(s);
        fFirst = round3(fSpacing * 1.5);
    } else {
        fSpacing = 1;
        fFirst = 1;
    }
}

void BoxDrawing::DrawBoxText(const SVGBox& oBox) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    if (oBox.GetText().isEmpty()) return;
    const int maxChars = display.GetMaxChars();
    QList<QString> lines = prepareText(oBox.GetText(), maxChars);
    double first = 1, spacing = 1;
    CalcTextLayout(static_cast<int>(lines.size()), first, spacing);
    const double fontSize = display.GetSmall() ? 10 : 13;
    if (fontSize * (first + (lines.size() - 1) * spacing) > display.GetBoxH() && !oBox.GetShortText().isEmpty()) {
        // Too tall for the box: the short caption takes its place.
        lines = prepareText(oBox.GetShortText(), maxChars);
        CalcTextLayout(static_cast<int>(lines.size()), first, spacing);
    }
    display.DrawText(context_.out, oBox.GetKey(), lines, oBox.GetXC(), oBox.GetYT(), first, spacing);
}

double BoxDrawing::pictureHeight() const {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    return round3(display.GetBoxH() * display.GetImagePart());
}

void BoxDrawing::drawShortTextBelowPicture(const SVGBox& oBox, double fPictureHeight) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    if (oBox.GetShortText().isEmpty() || display.GetBoxH() - fPictureHeight <= 0) return;
    display.DrawText(context_.out, oBox.GetKey(), prepareText(oBox.GetShortText(), display.GetMaxChars()),
                     oBox.GetXC(), oBox.GetYT() + fPictureHeight, 1, 1);
}

void BoxDrawing::DrawBoxWithImage(const SVGBox& oBox, const PlaceKeyClass& oPlaceKeys, bool bClickable) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    drawShortTextBelowPicture(oBox, pictureHeight());
    const QString location = oPlaceKeys.ExpandURLName(oBox.GetImage(), false, false);
    const double ratio = fImageAspect(oBox.GetImage(), oPlaceKeys);
    display.DrawImage(context_.out, oBox.GetKey(), location, oBox.GetTooltips(), oBox.GetXL(), oBox.GetYT(), ratio,
                      bClickable);
}

void BoxDrawing::DrawBoxWithStockImage(const SVGBox& oBox) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    drawShortTextBelowPicture(oBox, pictureHeight());
    display.DrawStockImage(context_.out, oBox.GetKey(), oBox.GetSex(), oBox.GetTooltips(), oBox.GetXL(),
                           oBox.GetYT());
}

double BoxDrawing::fImageAspect(const QString& sImage, const PlaceKeyClass& oPlaceKeys) const {
    Reporter* reporter = context_.tree.reporter();
    try {
        const QString local = oPlaceKeys.ExpandURLName(sImage, true, false);
        const QString remote = oPlaceKeys.ExpandURLName(sImage, false, true);
        QString file;
        if (!local.isEmpty() && bFileExists(local)) file = localPath(local);
        else if (!remote.isEmpty() && remote != local) file = DownloadFileCache(remote, reporter);
        else return 0;
        if (!context_.pictureSize)
            raiseError(526, QStringLiteral("LoadPictureEx"), QStringLiteral("Failed to load image file: ") + file);
        const QSize size = context_.pictureSize(file);
        if (size.width() <= 0 || size.height() <= 0) return 0;
        return static_cast<double>(size.height()) / size.width();
    } catch (const AppError& error) {
        // A picture that cannot be had is reported; the box is drawn without its proportions.
        if (reporter) reporter->warn(error.description);
        return 0;
    }
}

void BoxDrawing::DrawButtons(const SVGBox& oBox, bool bClickable) {
    const SVGDisplay& display = *context_.tree.GetDisplay();
    const StringDict& local = oBox.GetLocSettings();
    const double bw = display.GetButtonW(), bh = display.GetButtonH();
    for (const char* cornerName : kCorners) {
        const QString corner = QLatin1String(cornerName);
        bool on = display.GetButton(corner);
        if (const QString* own = local.find(QStringLiteral("Button") + corner)) on = toBoolean(*own, kSource);
        if (!on) continue;
        const bool right = corner.endsWith(u'R');
        const bool top = corner.startsWith(u'T');
        const double x = right ? oBox.GetXR() - bw - 0.75 : oBox.GetXL() + 0.75;
        const double y = top ? oBox.GetYT() + 0.75 : oBox.GetYB() - bh - 0.75;
        display.DrawButton(context_.out, oBox.GetKey(), oBox.GetSex(), x, y, corner, &local, bClickable);
    }
}
