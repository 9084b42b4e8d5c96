#pragma once

#include <QList>
#include <QString>

#include "ChartDrawContext.h"

class PlaceKeyClass;
class SVGBox;

// The drawing of one person box (SVGBox::DrawBox and its private members in
// the design): a group holding the box, the caption or the picture with the
// short caption, and the corner buttons.
class BoxDrawing {
public:
    explicit BoxDrawing(const ChartDrawContext& context);

    // Writes the person's group.
    void DrawBox(const SVGBox& oBox);

    // The caption lines of a text whose lines are separated by backslashes:
    // lines longer than iMaxChars are wrapped, date ranges get en dashes.
    static QList<QString> prepareText(const QString& sText, int iMaxChars);
    // One line with backslashes inserted where it breaks: at the last space
    // before the limit, else after iMaxChars characters with a hyphen (U+2010).
    static QString sWrapText(const QString& sLine, int iMaxChars);
    // "-1", "-?" and "-)" written with an en dash.
    static QString sEnDashes(const QString& sText);
    // Line spacing and first-line offset (em) of iLines lines in the box.
    void CalcTextLayout(int iLines, double& fFirst, double& fSpacing) const;
    // The picture's height divided by its width; 0 when it cannot be found or
    // loaded (a failure is reported and the drawing goes on).
    double fImageAspect(const QString& sImage, const PlaceKeyClass& oPlaceKeys) const;

private:
    void DrawBoxText(const SVGBox& oBox);
    void DrawBoxWithImage(const SVGBox& oBox, const PlaceKeyClass& oPlaceKeys, bool bClickable);
    void DrawBoxWithStockImage(const SVGBox& oBox);
    void drawShortTextBelowPicture(const SVGBox& oBox, double fPictureHeight);
    double pictureHeight() const;
    void DrawButtons(const SVGBox& oBox, bool bClickable);

    ChartDrawContext context_;
};
