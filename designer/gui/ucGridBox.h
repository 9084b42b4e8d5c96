#pragma once

#include <QGraphicsItem>
#include <QImage>
#include <QString>

#include "CellAppearance.h"

class PictureCache;
struct GridPainting;

// One occupied cell of the Tree Designer grid: a border, a background and the
// person's picture over the caption ("\" in the caption is a line break),
// laid out by ArrangeBoxParts. Sizes are pixels. Each setter does nothing when
// the value is the one held; the border is drawn only once the box has been
// started (KickStart). The box's Tag holds the person key it shows.
class ucGridBox : public QGraphicsItem {
public:
    ucGridBox(const GridPainting& painting, PictureCache& pictures);

    void setSize(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }

    quint32 GetBorderColour() const { return borderColour_; }
    void SetBorderColour(quint32 lColour);
    int GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int iWidth);
    int GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int iStyle);
    quint32 GetBackColour() const { return backColour_; }
    void SetBackColour(quint32 lColour);
    quint32 GetForeColour() const { return foreColour_; }
    void SetForeColour(quint32 lColour);
    QString GetCaption() const { return caption_; }
    void SetCaption(const QString& sCap);
    QString GetImage() const { return image_; }
    // Loads the picture; a failure leaves the box without one and an empty
    // image path, and the error reaches the caller.
    void SetImage(const QString& sImg);
    double GetImagePart() const { return imagePart_; }
    void SetImagePart(double fPart);
    // Draws the border from now on.
    void KickStart(int index);
    bool started() const { return started_; }

    QString Tag;

    // Height divided by width of the picture; 0 without one.
    double aspect() const { return aspect_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const GridPainting& painting_;
    PictureCache& pictures_;
    double width_ = 0, height_ = 0;
    quint32 borderColour_ = 0;
    int borderWidth_ = 1;
    int borderStyle_ = 0;
    quint32 backColour_ = 0xFFFFFF;
    quint32 foreColour_ = 0;
    QString caption_;
    QString image_;
    double imagePart_ = 0.7;
    double aspect_ = 0;
    QImage picture_;
    bool started_ = false;
};
