#pragma once

#include <QGraphicsItem>
#include <QString>

// The circle of one family on its spouse line, painted in code after its
// picture name: "Circle", "CircleH" (more children than shown), "Circle-L"
// and "CircleH-L" (a liaison). A thin frame marks a family whose child lines
// are hidden. The item's position is its top-left corner; sizes are pixels.
class FamilyCircleItem : public QGraphicsItem {
public:
    FamilyCircleItem() = default;

    void setDiameter(double diameter);
    double diameter() const { return diameter_; }
    void setPicture(const QString& name);
    const QString& picture() const { return picture_; }
    // Border style 1: a thin frame; 0: none.
    void setFramed(bool framed);
    bool framed() const { return framed_; }

    QString Tag;  // the family key

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    double diameter_ = 20;
    QString picture_ = QStringLiteral("Circle");
    bool framed_ = false;
};
