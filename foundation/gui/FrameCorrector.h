#pragma once

#include <QMargins>
#include <QObject>

#include "FramePlacement.h"

class QWidget;

// Places a top-level window by its frame, title bar included, with the
// frame's margins guessed (windowFrameMargins()). The window then watches its
// platform window's changes and, once the window system tells the frame's
// margins (under X only after the window manager has decorated the shown
// window) and they are not those guessed, places the window once more by
// them. A move or resize by the user or the window manager before that ends
// the watch.
class FrameCorrector : public QObject {
    Q_OBJECT
public:
    // Places `window` so that its frame is frameFor(guessed), and again at
    // frameFor(margins) once its own margins are known.
    static void place(QWidget* window, const QMargins& guessed, const FramePlacement::FrameFor& frameFor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FrameCorrector(QWidget* window);

    QWidget* window_;
    FramePlacement placement_;
};
