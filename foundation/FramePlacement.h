#pragma once

#include <functional>
#include <optional>

#include <QMargins>
#include <QRect>

// Puts a top-level window's frame, title bar included, where it is wanted. A
// window is placed by its client area, inside the frame; the frame's margins
// are a guess until the window system tells them, which under X happens only
// once the window manager has decorated the shown window. The window is
// placed with the margins guessed, and placed again, once, when its own are
// first known and differ; a window moved or resized by anyone else in the
// meantime is left where it is.
class FramePlacement {
public:
    // The frame wanted for a window whose frame has the margins given.
    using FrameFor = std::function<QRect(const QMargins& margins)>;

    // The client rectangle that puts a frame of these margins at `frame`.
    static QRect clientFor(const QRect& frame, const QMargins& margins);

    // Whether margins read from a window are its frame's: none negative (a
    // frame still being made can show a passing size), not all zero.
    static bool known(const QMargins& margins);

    // Starts following a window that was given the client rectangle `client`
    // (as it stands once given) for its frame with the margins `guessed`.
    void start(const FrameFor& frameFor, const QMargins& guessed, const QRect& client);

    // After a change of the window, with its client rectangle and frame
    // margins as they are now: the client rectangle that puts its frame where
    // it is wanted, when the margins now known are not those guessed.
    // Following ends with the first margins known, or when the client
    // rectangle is not the one given.
    std::optional<QRect> correction(const QRect& client, const QMargins& margins);

    bool following() const { return following_; }

private:
    FrameFor frameFor_;
    QMargins guessed_;
    QRect client_;
    bool following_ = false;
};
