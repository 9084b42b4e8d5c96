#include "ucGridBox.h"

#include <QPainter>
#include <QTextOption>

#include "GridBoxLayout.h"
#include "GridPainting.h"
#include "PictureCache.h"

namespace {
Qt::PenStyle penStyle(int style) {
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}
}  // namespace

ucGridBox::ucGridBox(const GridPainting& painting, PictureCache& pictures) : painting_(painting), pictures_(pictures) {}

void ucGridBox::setSize(double width, double height) {
    if (width == width_ && height == height_) return;
    prepareGeometryChange();
    width_ = width;
    height_ = height;
}

void ucGridBox::SetBorderColour(quint32 lColour) {
    if (lColour == borderColour_) return;
    borderColour_ = lColour;
    update();
}

void ucGridBox::SetBorderWidth(int iWidth) {
    if (iWidth == borderWidth_) return;
    borderWidth_ = iWidth;
    update();
}

void ucGridBox::SetBorderStyle(int iStyle) {
    if (iStyle == borderStyle_) return;
    borderStyle_ = iStyle;
    update();
}

void ucGridBox::SetBackColour(quint32 lColour) {
    if (lColour == backColour_) return;
    backColour_ = lColour;
    update();
}

void ucGridBox::SetForeColour(quint32 lColour) {
    if (lColour == foreColour_) return;
    foreColour_ = lColour;
    update();
}

void ucGridBox::SetCaption(const QString& sCap) {
    if (sCap == caption_) return;
    caption_ = sCap;
    update();
}

void ucGridBox::SetImage(const QString& sImg) {
    if (sImg == image_) return;
    picture_ = QImage();
    aspect_ = 0;
    update();
    if (sImg.isEmpty()) {
        image_.clear();
        return;
    }
    try {
        picture_ = pictures_.picture(sImg);
    } catch (...) {
        image_.clear();
        throw;
    }
    image_ = sImg;
    aspect_ = picture_.width() > 0 ? double(picture_.height()) / picture_.width() : 0;
}

void ucGridBox::SetImagePart(double fPart) {
    if (float(fPart) == float(imagePart_)) return;
    imagePart_ = fPart;
    update();
}

void ucGridBox::KickStart(int) {
    started_ = true;
    update();
}

QRectF ucGridBox::boundingRect() const { return QRectF(0, 0, width_, height_); }

void ucGridBox::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const GridBoxParts parts =
        ArrangeBoxParts(width_, height_, borderWidth_, !caption_.isEmpty(), !image_.isEmpty(), imagePart_, aspect_);
    painter->fillRect(parts.inner, painting_.colour(backColour_));
    if (started_ && borderWidth_ > 0 && borderStyle_ != 5) {
        QPen pen(painting_.colour(borderColour_), borderWidth_, penStyle(borderStyle_));
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(parts.borderOutline);
    }
    if (parts.pictureShown && !picture_.isNull())
        painter->drawImage(parts.picture, picture_);
    if (parts.captionShown) {
        painter->setPen(painting_.colour(foreColour_));
        painter->setFont(painting_.captionFont);
        QTextOption option(Qt::AlignHCenter | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter->save();
        painter->setClipRect(parts.caption);
        QString text = caption_;
        text.replace(u'\\', u'\n');
        painter->drawText(parts.caption.adjusted(1, 0, -1, 0), text, option);
        painter->restore();
    }
}
