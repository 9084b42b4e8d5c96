#include "FamilyCircleItem.h"

#include <QPainter>

void FamilyCircleItem::setDiameter(double diameter) {
    if (diameter == diameter_) return;
    prepareGeometryChange();
    diameter_ = diameter;
}

void FamilyCircleItem::setPicture(const QString& name) {
    if (name == picture_) return;
    picture_ = name;
    update();
}

void FamilyCircleItem::setFramed(bool framed) {
    if (framed == framed_) return;
    framed_ = framed;
    update();
}

QRectF FamilyCircleItem::boundingRect() const { return QRectF(0, 0, diameter_, diameter_); }

void FamilyCircleItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const bool liaison = picture_.endsWith(QStringLiteral("-L"));
    const bool more = picture_.startsWith(QStringLiteral("CircleH"));
    // A ring in the line colour (a liaison's in amber), lighter inside, and a
    // dot in the middle when the family has more children than are shown.
    const QColor outer = liaison ? QColor(0xC0, 0x80, 0x10) : QColor(0x28, 0xAB, 0x28);
    const QColor inner = liaison ? QColor(0xFF, 0xEC, 0xC0) : QColor(0xD8, 0xF5, 0xD8);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    const QRectF all(0, 0, diameter_, diameter_);
    painter->setBrush(outer);
    painter->drawEllipse(all);
    const double ring = diameter_ * 0.2;
    painter->setBrush(inner);
    painter->drawEllipse(all.adjusted(ring, ring, -ring, -ring));
    if (more) {
        const double dot = diameter_ * 0.36;
        painter->setBrush(outer);
        painter->drawEllipse(all.adjusted(dot, dot, -dot, -dot));
    }
    if (framed_) {
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(all.adjusted(0, 0, -1, -1));
    }
}
