#include "FrameCorrector.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

FrameCorrector::FrameCorrector(QWidget* window) : QObject(window), window_(window) {}

void FrameCorrector::place(QWidget* window, const QMargins& guessed, const FramePlacement::FrameFor& frameFor) {
    auto* corrector = window->findChild<FrameCorrector*>(QString(), Qt::FindDirectChildrenOnly);
    if (!corrector) {
        corrector = new FrameCorrector(window);
        window->winId();  // the platform window, whose changes are watched
        if (QWindow* handle = window->windowHandle()) handle->installEventFilter(corrector);
    }
    window->setGeometry(FramePlacement::clientFor(frameFor(guessed), guessed));
    // A hidden window takes the place given only when it is shown: the
    // widget holds it until then.
    corrector->placement_.start(frameFor, guessed, window->geometry());
}

bool FrameCorrector::eventFilter(QObject* watched, QEvent* event) {
    const QWindow* handle = window_->windowHandle();
    if (!placement_.following() || watched != handle || !handle->isVisible()) return false;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Expose:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
    case QEvent::FocusIn:
        if (const auto client = placement_.correction(handle->geometry(), handle->frameMargins()))
            window_->setGeometry(*client);
        break;
    default:
        break;
    }
    return false;
}
