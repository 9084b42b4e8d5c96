#include "FramePlacement.h"

QRect FramePlacement::clientFor(const QRect& frame, const QMargins& margins) { return frame.marginsRemoved(margins); }

bool FramePlacement::known(const QMargins& margins) {
    return !margins.isNull() && margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 &&
           margins.bottom() >= 0;
}

void FramePlacement::start(const FrameFor& frameFor, const QMargins& guessed, const QRect& client) {
    frameFor_ = frameFor;
    guessed_ = guessed;
    client_ = client;
    following_ = true;
}

std::optional<QRect> FramePlacement::correction(const QRect& client, const QMargins& margins) {
    if (!following_) return std::nullopt;
    if (client != client_) {
        // Moved or resized by the user or the window manager: theirs stands.
        following_ = false;
        return std::nullopt;
    }
    if (!known(margins)) return std::nullopt;
    following_ = false;
    if (margins == guessed_) return std::nullopt;
    return clientFor(frameFor_(margins), margins);
}
