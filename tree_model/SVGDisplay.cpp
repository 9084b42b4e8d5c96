#include "SVGDisplay.h"

#include <cmath>

#include "TreeText.h"
#include "foundation/AppError.h"
#include "foundation/TextHelpers.h"

namespace {
const QString kSource = QStringLiteral("SVGDisplay");
const char* const kCorners[4] = {"TR", "TL", "BR", "BL"};
}  // namespace

SVGDisplay::SVGDisplay() { InitDefaults(); }

void SVGDisplay::InitDefaults() {
    boxW_ = 80;
    boxH_ = 80;
    marginH_ = 50;
    marginW_ = 50;
    small_ = false;
    horiz_ = true;
    stepped_ = true;
    tooltips_ = false;
    blog_ = false;
    svgFile_ = false;
    panZoom_ = false;
    inst_.clear();
    imagePart_ = 0;
    rootKey_.clear();
    fanned_ = false;
    progData_ = false;
    for (int i = 0; i < 4; ++i) {
        buttons_[i] = false;
        icons_[i].clear();
        tooltipTexts_[i].clear();
    }
    buttonW_ = 12;
    buttonH_ = 12;
    rounded_ = true;
    navData_ = false;
    notesData_ = false;
    opaque_ = false;
    scaled_ = false;
    viewpoints_ = true;
    stockF_.clear();
    stockM_.clear();
    stockU_.clear();
    stockX_.clear();
    bgImage_.clear();
    bgWidth_ = 0;
    bgHeight_ = 0;
    bgOpacity_ = 1.0;
    header_.clear();
    srcVersion_.clear();
    buttonRadius_ = std::sqrt((buttonW_ / 2) * (buttonW_ / 2) + (buttonH_ / 2) * (buttonH_ / 2));
}

void SVGDisplay::Init(const StringDict& oDict) {
    InitDefaults();
    auto readNumber = [&](const char* key, double& field) {
        if (const QString* v = oDict.find(QLatin1String(key))) field = sngVal(*v);
    };
    auto readBool = [&](const char* key, bool& field) {
        if (const QString* v = oDict.find(QLatin1String(key)))
            field = readSetting(QLatin1String(key), *v, [](const QString& t) { return toBoolean(t, kSource); });
    };
    auto readText = [&](const char* key, QString& field) {
        if (const QString* v = oDict.find(QLatin1String(key))) field = *v;
    };
    // A fraction (number or percent), never above 1.
    auto readFraction = [&](const char* key, double& field) {
        if (const QString* v = oDict.find(QLatin1String(key)))
            field = readSetting(QLatin1String(key), *v, [](const QString& t) { return double(sngNumOrPct(t)); });
        if (field > 1) field = 1;
    };

    readNumber("W", boxW_);
    readNumber("H", boxH_);
    readNumber("MW", marginW_);
    readNumber("MH", marginH_);
    title_ = oDict.value(QStringLiteral("Title"));
    readBool("Horiz", horiz_);
    readBool("Stepped", stepped_);
    readBool("Tooltips", tooltips_);
    readBool("Blog", blog_);
    if (blog_) small_ = true;
    readBool("Small", small_);
    readBool("SVGFile", svgFile_);
    readBool("PanZoom", panZoom_);
    readText("Inst", inst_);
    // The instance identifier goes into every identifier and script string of
    // a chart, always after a letter: one ASCII letter or digit, or none. A
    // longer text gives its first character; any other character is refused.
    if (inst_.size() > 1) inst_ = inst_.left(1);
    if (!inst_.isEmpty()) {
        const QChar c = inst_.front();
        const bool letterOrDigit =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!letterOrDigit) {
            const QString refused = *oDict.find(QStringLiteral("Inst"));
            inst_.clear();
            raiseError(ErrorOffset::InvalidKey, kSource,
                       QStringLiteral("The instance identifier must start with an ASCII letter or digit: Inst=") +
                           refused);
        }
    }
    readFraction("ImagePart", imagePart_);
    readText("RootKey", rootKey_);
    readBool("Fanned", fanned_);
    readBool("ProgData", progData_);
    for (int i = 0; i < 4; ++i) readBool((QByteArray("Button") + kCorners[i]).constData(), buttons_[i]);
    readText("Version", srcVersion_);
    readNumber("BW", buttonW_);
    readNumber("BH", buttonH_);
    readBool("Rounded", rounded_);
    for (int i = 0; i < 4; ++i) readText((QByteArray("Icon") + kCorners[i]).constData(), icons_[i]);
    for (int i = 0; i < 4; ++i) readText((QByteArray("Tooltip") + kCorners[i]).constData(), tooltipTexts_[i]);
    readBool("NavData", navData_);
    readBool("NotesData", notesData_);
    readBool("Opaque", opaque_);
    readBool("Scaled", scaled_);
    readBool("Viewpoints", viewpoints_);
    readText("StockImageF", stockF_);
    readText("StockImageM", stockM_);
    readText("StockImageU", stockU_);
    readText("StockImageX", stockX_);
    readText("BGImage", bgImage_);
    readFraction("BGImageWidth", bgWidth_);
    readFraction("BGImageHeight", bgHeight_);
    readFraction("BGImageOpacity", bgOpacity_);
    readText("Header", header_);

    if (marginH_ < 0) marginH_ = 0;
    if (marginW_ < 0) marginW_ = 0;
    if (boxW_ <= 0) boxW_ = 80;
    if (boxH_ <= 0) boxH_ = 80;
    if (buttonW_ < 0) buttonW_ = 0;
    if (buttonH_ < 0) buttonH_ = 0;
    if (buttonW_ > boxW_ / 2) buttonW_ = boxW_ / 2;
    if (buttonH_ > boxH_ / 2) buttonH_ = boxH_ / 2;
    buttonRadius_ = std::sqrt((buttonH_ / 2) * (buttonH_ / 2) + (buttonW_ / 2) * (buttonW_ / 2));
}

double SVGDisplay::GetX(int iCol, int iRow) const {
    double x = (iCol - 1) * boxW_ + iCol * marginW_;
    if (stepped_ && horiz_ && iRow % 2 == 0) x += (boxW_ + marginW_) / 2;
    return x;
}

double SVGDisplay::GetY(int iCol, int iRow) const {
    double y = (iRow - 1) * boxH_ + iRow * marginH_;
    if (stepped_ && !horiz_ && iCol % 2 == 0) y += (boxH_ + marginH_) / 2;
    return y;
}

int SVGDisplay::GetMaxChars() const { return static_cast<int>(std::floor(boxW_ * (small_ ? 15 : 12) / 80)); }

int SVGDisplay::GetMaxLines() const { return static_cast<int>(std::floor(boxH_ * (small_ ? 8 : 6) / 80)); }

int SVGDisplay::cornerIndex(const QString& sCorner) const {
    for (int i = 0; i < 4; ++i)
        if (sCorner == QLatin1String(kCorners[i])) return i;
    return -1;
}

bool SVGDisplay::GetButton(const QString& sCorner) const {
    const int i = cornerIndex(sCorner);
    return i >= 0 && buttons_[i];
}

bool SVGDisplay::GetButtons() const { return buttons_[0] || buttons_[1] || buttons_[2] || buttons_[3]; }

QString SVGDisplay::GetIcon(const QString& sCorner) const {
    const int i = cornerIndex(sCorner);
    return i >= 0 ? icons_[i] : QString();
}

QString SVGDisplay::GetButTip(const QString& sCorner, const StringDict* oSettings) const {
    const int i = cornerIndex(sCorner);
    if (i < 0) return QString();
    if (oSettings) {
        if (const QString* local = oSettings->find(QStringLiteral("Tooltip") + sCorner)) return *local;
    }
    return tooltipTexts_[i];
}

QString SVGDisplay::GetBoxCol(const QString& sSex) const {
    int row;
    if (sSex == u"f") row = 0;
    else if (sSex == u"m") row = 1;
    else if (sSex == u"u" || sSex == u"x") row = 2;
    else return QString();
    static const char* const colours[3][3] = {
        {"rgb(249,211,218)", "rgb(245,182,193)", "pink"},
        {"rgb(200,226,234)", "rgb(163,207,220)", "lightblue"},
        {"rgb(223,223,223)", "rgb(202,202,202)", "lightgray"},
    };
    const int column = opaque_ ? 0 : (svgFile_ ? 1 : 2);
    return QLatin1String(colours[row][column]);
}

QString SVGDisplay::GetCircleCol(const QString& sPart) const {
    if (sPart == u"C") return QStringLiteral("green");
    if (sPart == u"C2" || sPart == u"CL2") return QStringLiteral("white");
    if (sPart == u"CL") return QStringLiteral("gray");
    return QString();
}

QString SVGDisplay::GetOpacity() const { return opaque_ ? QStringLiteral("1.0") : QStringLiteral("0.6"); }
