#include "FrameCorrector.h"

#include <QEvent>
#include <QTimerEvent>
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

namespace {

// How often, and how many times at most, the margins are looked at once the
// window shows.
constexpr int kLookEveryMs = 20;
constexpr int kLooks = 250;

}  // namespace

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
        correct();
        if (placement_.following() && !look_.isActive()) {
            looks_ = 0;
            look_.start(kLookEveryMs, this);
        }
        break;
    default:
        break;
    }
    return false;
}

void FrameCorrector::timerEvent(QTimerEvent* event) {
    if (event->timerId() != look_.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    const QWindow* handle = window_->windowHandle();
    if (handle && handle->isVisible()) correct();
    if (!placement_.following() || ++looks_ >= kLooks) look_.stop();
}

void FrameCorrector::correct() {
    const QWindow* handle = window_->windowHandle();
    if (const auto client = placement_.correction(window_->geometry(), handle->frameMargins()))
        window_->setGeometry(*client);
}
