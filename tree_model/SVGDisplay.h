#pragma once

#include <QString>

#include "foundation/OrderedDict.h"

// The chart-wide display settings of one tree, read from its header settings:
// box, margin and button sizes, flags, the instance letter, corner buttons,
// stock and background images, and the geometry and colour answers the chart
// and the Tree Designer ask for. The SVG drawing members live in a file of
// their own beside this one.
class SVGDisplay {
public:
    SVGDisplay();

    // Reads the header settings (setting name to text); starts from the
    // defaults every time, so a removed key returns to its default. A Boolean
    // or percent text that cannot be converted raises the type-mismatch error;
    // the fields read before it keep their new values.
    void Init(const StringDict& oDict);

    // Left and top edge of a display cell (columns and rows count from 1).
    double GetX(int iCol, int iRow) const;
    double GetY(int iCol, int iRow) const;
    double GetBoxW() const { return boxW_; }
    double GetBoxH() const { return boxH_; }
    double GetMarginW() const { return marginW_; }
    double GetMarginH() const { return marginH_; }
    QString GetTitle() const { return title_; }
    bool GetSmall() const { return small_; }
    int GetMaxChars() const;
    int GetMaxLines() const;
    bool GetHoriz() const { return horiz_; }
    void SetHoriz(bool bHor) { horiz_ = bHor; }
    bool GetStepped() const { return stepped_; }
    void SetStepped(bool bStep) { stepped_ = bStep; }
    bool GetTooltips() const { return tooltips_; }
    bool GetBlog() const { return blog_; }
    bool GetSVGFile() const { return svgFile_; }
    bool GetPanZoom() const { return panZoom_; }
    QString GetInst() const { return inst_; }
    double GetImagePart() const { return imagePart_; }
    QString GetRootKey() const { return rootKey_; }
    void SetRootKey(const QString& sKey) { rootKey_ = sKey; }
    bool GetFanned() const { return fanned_; }
    bool GetProgData() const { return progData_; }
    // Corner "TR", "TL", "BR" or "BL" (case-sensitive); false for any other text.
    bool GetButton(const QString& sCorner) const;
    bool GetButtons() const;
    double GetButtonW() const { return buttonW_; }
    double GetButtonH() const { return buttonH_; }
    double GetButtonRadius() const { return buttonRadius_; }
    bool GetRounded() const { return rounded_; }
    QString GetIcon(const QString& sCorner) const;
    // The person's local "Tooltip" + corner setting when present, else the
    // header tooltip of the corner; "" for an unknown corner.
    QString GetButTip(const QString& sCorner, const StringDict* oSettings) const;
    QString GetBoxCol(const QString& sSex) const;
    QString GetBoxBorderCol() const { return QStringLiteral("dimgray"); }
    QString GetCircleCol(const QString& sPart) const;
    bool GetNavData() const { return navData_; }
    bool GetNotesData() const { return notesData_; }
    bool GetOpaque() const { return opaque_; }
    bool GetScaled() const { return scaled_; }
    bool GetViewpoints() const { return viewpoints_; }
    QString GetOpacity() const;
    QString StockImageF() const { return stockF_; }
    QString StockImageM() const { return stockM_; }
    QString StockImageU() const { return stockU_; }
    QString StockImageX() const { return stockX_; }
    QString BGImage() const { return bgImage_; }
    double BGImageWidth() const { return bgWidth_; }
    double BGImageHeight() const { return bgHeight_; }
    double BGImageOpacity() const { return bgOpacity_; }
    QString Header() const { return header_; }
    QString GetSrcVersion() const { return srcVersion_; }

    // ==== Chart drawing members (SVGDisplayDraw.cpp) ==========================
    // Each writes one element of a chart body through the chart output writer.
    // Numbers are written "0.00#"; the instance letter is in every symbol
    // reference; texts are escaped for the place they go (element text and
    // attribute values); the writer encodes what is not plain ASCII.

    // The one call of the chart output writer the drawing members need: text in
    // line mode (bJoin false) or joined to the pending line (bJoin true).
    class ChartWriter {
    public:
        virtual ~ChartWriter() = default;
        virtual void WriteOutput(const QString& sText, bool bJoin, int iWidth) = 0;
    };

    // A person box: the box symbol, classes = sex then the class list.
    void DrawRect(ChartWriter& out, const QString& sKey, const QString& sSex, const QString& sClasses,
                  const QList<QString>& sTooltips, double fX, double fY, double fW, double fH,
                  bool bClickable) const;
    // One corner button ("TR", "TL", "BR", "BL") with its own tooltip.
    void DrawButton(ChartWriter& out, const QString& sKey, const QString& sSex, double fX, double fY,
                    const QString& sCorner, const StringDict* oSettings, bool bCodeOnClick) const;
    // A family circle (with more-children and liaison variants).
    void DrawCircle(ChartWriter& out, const QString& sKey, const QString& sClasses, const QList<QString>& sTooltips,
                    double fX, double fY, bool bMoreChildren, bool bLiaison, bool bClickable) const;
    // A line; bExt lengthens it by half a line width at both ends.
    void DrawLine(ChartWriter& out, double fX1, double fY1, double fX2, double fY2, const QString& sClasses,
                  bool bExt) const;
    // The thick root line through the points (x, y pairs in turn; two points or more).
    void DrawRootLine(ChartWriter& out, bool bTentative, const QList<double>& vCoords) const;
    // The lines of a box caption, dy growing line by line (in em).
    void DrawText(ChartWriter& out, const QString& sKey, const QList<QString>& sText, double fX, double fY,
                  double fDy1, double fDy) const;
    // The area a picture may take in a box whose top-left corner is (fX, fY).
    void GetImageSizePosn(double& fX, double& fY, double& fW, double& fH) const;
    // A person's picture (height-to-width ratio fRatio, 0 when unknown).
    void DrawImage(ChartWriter& out, const QString& sKey, const QString& sImage, const QList<QString>& sTooltips,
                   double fX, double fY, double fRatio, bool bClickable) const;
    // The stock picture of the person's sex.
    void DrawStockImage(ChartWriter& out, const QString& sKey, const QString& sSex, const QList<QString>& sTooltips,
                        double fX, double fY) const;
    // ==== End of chart drawing members ========================================

private:
    void InitDefaults();
    int cornerIndex(const QString& sCorner) const;

    double boxW_ = 80, boxH_ = 80, marginH_ = 50, marginW_ = 50;
    bool small_ = false, horiz_ = true, stepped_ = true, tooltips_ = false, blog_ = false;
    bool svgFile_ = false, panZoom_ = false;
    QString inst_;
    double imagePart_ = 0;
    QString rootKey_;
    bool fanned_ = false, progData_ = false;
    bool buttons_[4] = {false, false, false, false};  // TR, TL, BR, BL
    double buttonW_ = 12, buttonH_ = 12;
    bool rounded_ = true;
    QString icons_[4];
    QString tooltipTexts_[4];
    bool navData_ = false, notesData_ = false, opaque_ = false, scaled_ = false, viewpoints_ = true;
    QString title_;
    QString stockF_, stockM_, stockU_, stockX_;
    QString bgImage_;
    double bgWidth_ = 0, bgHeight_ = 0, bgOpacity_ = 1.0;
    QString header_;
    QString srcVersion_;
    double buttonRadius_ = 0;
};
