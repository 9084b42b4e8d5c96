#pragma once

#include <functional>
#include <optional>

#include <QMargins>
#include <QRect>

// Puts a top-level window's frame, title bar included, where it is wanted. A
// window is placed by its client area, inside the frame; the frame's margins
// are a guess until the window system tells them, which under X happens only
// once the window manager has decorated the shown window, and a frame still
// being made can show a passing size first. The window is placed with the
// margins guessed; placed again by its frame once the margins are first
// known, wherever the window manager put it while framing it; and placed
// again whenever the margins it shows differ from those it was last placed
// by, until they have held for a while. A window the user moves or resizes
// once it has its frame is left where it is.
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

    // After a change of the window, or a look at it, with its client
    // rectangle and frame margins as they are now: the client rectangle that
    // puts its frame where it is wanted, when the margins are known for the
    // first time and the window is not there, or when they are not those it
    // was last placed by. Following ends once the margins have held for
    // kSteadyLooks looks with the window where it was put, or when, framed,
    // the client rectangle has been kElsewhereLooks times in a row neither
    // the one given last nor, while that is on its way, the one before.
    std::optional<QRect> correction(const QRect& client, const QMargins& margins);

    static constexpr int kSteadyLooks = 10;
    static constexpr int kElsewhereLooks = 3;

    bool following() const { return following_; }

private:
    FrameFor frameFor_;
    QMargins placedBy_;  // the margins the window was last placed by
    QRect client_;       // the client rectangle given last
    QRect before_;       // the one given before it, while that is on its way
    int steady_ = 0, elsewhere_ = 0;
    bool framed_ = false;  // the margins have been known
    bool following_ = false;
};
