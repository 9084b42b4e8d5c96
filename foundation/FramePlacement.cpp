#include "FramePlacement.h"

QRect FramePlacement::clientFor(const QRect& frame, const QMargins& margins) { return frame.marginsRemoved(margins); }

bool FramePlacement::known(const QMargins& margins) {
    return !margins.isNull() && margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 &&
           margins.bottom() >= 0;
}

void FramePlacement::start(const FrameFor& frameFor, const QMargins& guessed, const QRect& client) {
    frameFor_ = frameFor;
    placedBy_ = guessed;
    client_ = before_ = client;
    steady_ = elsewhere_ = 0;
    framed_ = false;
    following_ = true;
}

std::optional<QRect> FramePlacement::correction(const QRect& client, const QMargins& margins) {
    if (!following_ || !known(margins)) return std::nullopt;
    if (!framed_) {
        // The frame's margins, known for the first time. Nobody can have
        // moved a window without a frame but the window manager framing it:
        // the window goes where its frame is wanted.
        framed_ = true;
        placedBy_ = margins;
        before_ = client;
        client_ = clientFor(frameFor_(margins), margins);
        if (client == client_) return std::nullopt;
        return client_;
    }
    if (client == client_) {
        before_ = client_;  // the last place given has come
        elsewhere_ = 0;
    } else if (client != before_) {
        // Elsewhere: for a moment while the window manager finishes its
        // frame, or moved or resized by the user, whose place then stands.
        if (++elsewhere_ >= kElsewhereLooks) following_ = false;
        return std::nullopt;
    }
    if (margins == placedBy_) {
        if (client == client_ && ++steady_ >= kSteadyLooks) following_ = false;
        return std::nullopt;
    }
    // Told again otherwise: a frame still being made can show a passing size.
    placedBy_ = margins;
    steady_ = 0;
    before_ = client;
    client_ = clientFor(frameFor_(margins), margins);
    return client_;
}
