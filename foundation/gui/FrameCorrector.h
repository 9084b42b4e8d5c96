#pragma once

#include <QBasicTimer>
#include <QMargins>
#include <QObject>

#include "FramePlacement.h"

class QWidget;

// Places a top-level window by its frame, title bar included, with the
// frame's margins guessed (windowFrameMargins()). The window then watches its
// platform window's changes and places the window again by its frame as
// FramePlacement decides: once the window system tells the frame's margins
// (under X only after the window manager has decorated the shown window), and
// again while they still change. A move or resize by the user once framed
// ends the watch. The window system may tell the margins without any change
// of the window following, so from the window's showing they are also looked
// at every few milliseconds, for a few seconds at most.
class FrameCorrector : public QObject {
    Q_OBJECT
public:
    // Places `window` so that its frame is frameFor(guessed), and again at
    // frameFor(margins) once its own margins are known.
    static void place(QWidget* window, const QMargins& guessed, const FramePlacement::FrameFor& frameFor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit FrameCorrector(QWidget* window);
    // Places the window again when its margins are known and differ.
    void correct();

    QWidget* window_;
    FramePlacement placement_;
    QBasicTimer look_;
    int looks_ = 0;
};
