#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QWidget>

#include "FrameCorrector.h"
#include "FramePlacement.h"
#include "MainWindowLink.h"
#include "Twips.h"

namespace {

MonitorBounds& storedBounds() {
    static MonitorBounds bounds;
    return bounds;
}

QRectF frameTwips(const QWidget* w) {
    const QRect r = w->frameGeometry();
    return {pixelsToTwips(r.x()), pixelsToTwips(r.y()), pixelsToTwips(r.width()), pixelsToTwips(r.height())};
}

// Moves a top-level window so that its frame's corner is at the place given in twips.
void moveFrameTo(QWidget* w, QPointF twips) { w->move(twipsToPixels(twips.x()), twipsToPixels(twips.y())); }

}  // namespace

QMargins windowFrameMargins(const QWidget* w) {
    if (!w->isWindow()) return {};
    // The platform window, made now if need be, knows its frame as soon as
    // the window system tells it.
    w->winId();
    QMargins frame = w->windowHandle() ? w->windowHandle()->frameMargins() : QMargins();
    if (FramePlacement::known(frame)) return frame;
    const QWidget* main = MainWindowLink::window();
    if (main && main != w && main->isVisible() && main->windowHandle()) frame = main->windowHandle()->frameMargins();
    return FramePlacement::known(frame) ? frame : QMargins();
}

MonitorBounds monitorBoundsOf(const QRect& geometry, const QRect& availableGeometry, bool primary) {
    const QRect r = primary ? availableGeometry : geometry;
    return {float(pixelsToTwips(r.left())), float(pixelsToTwips(r.left() + r.width())),
            float(pixelsToTwips(r.top())), float(pixelsToTwips(r.top() + r.height()))};
}

QPointF dialogPlace(QPointF mainTopLeft, QSizeF formSize, const MonitorBounds& bounds) {
    QPointF place = mainTopLeft;
    if (place.x() + formSize.width() > bounds.right) place.setX(bounds.right - formSize.width());
    if (place.y() + formSize.height() > bounds.bottom) place.setY(bounds.bottom - formSize.height());
    return place;
}

QRectF designerPlace(QPointF currentTopLeft, QSizeF wanted, bool top, bool bottom, bool centre,
                     const MonitorBounds& bounds) {
    const double w = bounds.right - bounds.left;
    const double h = bounds.bottom - bounds.top;
    const double width = qMin(wanted.width(), w);
    const double height = qMin(wanted.height(), h);
    if (top) return {bounds.left, bounds.top, width, h / 2};
    if (bottom) return {bounds.left, bounds.top + h / 2, width, h / 2};
    QPointF place = currentTopLeft;
    if (place.x() + width > bounds.right || centre) place.setX(bounds.left + (w - width) / 2);
    if (place.y() + height > bounds.bottom || centre) place.setY(bounds.top + (h - height) / 2);
    return {place, QSizeF(width, height)};
}

QRect designerFrame(QPointF currentTopLeft, QSizeF wanted, const QMargins& guessed, const QMargins& margins, bool top,
                    bool bottom, bool centre, const MonitorBounds& bounds) {
    // The client keeps the size asked for: the frame grows or shrinks by
    // what the margins differ from the guess.
    const QSizeF frameChange(pixelsToTwips(margins.left() + margins.right() - guessed.left() - guessed.right()),
                             pixelsToTwips(margins.top() + margins.bottom() - guessed.top() - guessed.bottom()));
    const QRectF place = designerPlace(currentTopLeft, wanted + frameChange, top, bottom, centre, bounds);
    return {twipsToPixels(place.x()), twipsToPixels(place.y()), twipsToPixels(place.width()),
            twipsToPixels(place.height())};
}

const MonitorBounds& monitorBounds() { return storedBounds(); }

void EnumMonitors() {
    const QWidget* main = MainWindowLink::window();
    QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    storedBounds() = monitorBoundsOf(screen->geometry(), screen->availableGeometry(),
                                     screen == QGuiApplication::primaryScreen());
}

void PositionForm(QWidget* oForm, bool& bPositioned) {
    if (bPositioned) return;
    EnumMonitors();
    const QWidget* main = MainWindowLink::window();
    const QPointF corner = main ? frameTwips(main).topLeft() : QPointF(monitorBounds().left, monitorBounds().top);
    moveFrameTo(oForm, dialogPlace(corner, frameTwips(oForm).size(), monitorBounds()));
    oForm->raise();
    bPositioned = true;
}

void FitFormToMonitor(QWidget* oForm, float& sngWidth, float& sngHeight, bool bTop, bool bBottom, bool bCentre) {
    EnumMonitors();
    FitFormToBounds(oForm, sngWidth, sngHeight, bTop, bBottom, bCentre, monitorBounds());
}

void FitFormToBounds(QWidget* oForm, float& sngWidth, float& sngHeight, bool bTop, bool bBottom, bool bCentre,
                     const MonitorBounds& bounds) {
    const QPointF current = frameTwips(oForm).topLeft();
    const QSizeF wanted(sngWidth, sngHeight);
    const QRectF place = designerPlace(current, wanted, bTop, bBottom, bCentre, bounds);
    sngWidth = float(place.width());
    sngHeight = float(place.height());
    const QMargins guessed = windowFrameMargins(oForm);
    FrameCorrector::place(oForm, guessed, [=](const QMargins& margins) {
        return designerFrame(current, wanted, guessed, margins, bTop, bBottom, bCentre, bounds);
    });
}
