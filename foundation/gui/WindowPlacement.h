#pragma once

#include <QMargins>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>

class QWidget;

// Placement of dialogs and of the Tree Designer window inside the screen that
// shows the main window. All positions and sizes are in twips.

// The area windows must stay inside.
struct MonitorBounds {
    float left = 0;
    float right = 0;
    float top = 0;
    float bottom = 0;
};

// The bounds of a screen given in pixels: the work area (without panels) of
// the primary screen, the whole area of any other screen.
MonitorBounds monitorBoundsOf(const QRect& geometry, const QRect& availableGeometry, bool primary);

// Where a dialog of formSize goes: at the main window's top-left corner,
// moved left and up as far as it takes to end inside the right and bottom bounds.
QPointF dialogPlace(QPointF mainTopLeft, QSizeF formSize, const MonitorBounds& bounds);

// The rectangle of the Tree Designer window of the wanted size: no larger than
// the bounds; with top or bottom the upper or lower half of the bounds; else
// at its current place, centred on the axes where it would pass the bounds
// (on both axes when centre is set).
QRectF designerPlace(QPointF currentTopLeft, QSizeF wanted, bool top, bool bottom, bool centre,
                     const MonitorBounds& bounds);

// The frame in pixels of the Tree Designer window whose frame size was wanted
// (in twips) with the frame margins `guessed`, once they are known to be
// `margins`: placed as designerPlace() does, for a frame that holds the
// client area asked for.
QRect designerFrame(QPointF currentTopLeft, QSizeF wanted, const QMargins& guessed, const QMargins& margins, bool top,
                    bool bottom, bool centre, const MonitorBounds& bounds);

// The bounds last taken by EnumMonitors.
const MonitorBounds& monitorBounds();

// Takes the bounds of the screen that shows the main window (the primary
// screen when there is no main window).
void EnumMonitors();

// Places oForm once: when bPositioned is false, moves it to dialogPlace() of
// the main window's corner, raises it and sets bPositioned. A window keeps
// its flag for the whole run, so that it is placed at its first showing only.
void PositionForm(QWidget* oForm, bool& bPositioned);

// Places and sizes the Tree Designer window (designerPlace()) by its frame,
// title bar included, corrected once the window system tells the frame's
// size (FrameCorrector); sngWidth and sngHeight come back as the size given
// to it.
void FitFormToMonitor(QWidget* oForm, float& sngWidth, float& sngHeight, bool bTop, bool bBottom, bool bCentre);
// The same inside the given bounds.
void FitFormToBounds(QWidget* oForm, float& sngWidth, float& sngHeight, bool bTop, bool bBottom, bool bCentre,
                     const MonitorBounds& bounds);

// The frame (borders and title bar) of a top-level window around its client
// area, also before it is first shown: its own once the window system tells
// it, else that of the main window, which the same window manager decorates
// (none while neither is known).
QMargins windowFrameMargins(const QWidget* w);
