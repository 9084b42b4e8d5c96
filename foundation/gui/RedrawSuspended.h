#pragma once

#include "WindowUpdates.h"

// A window's painting suspended for a scope: LockW when made, UnlockW when
// the scope ends, also when an error leaves it. Only the outermost scope of
// one WindowUpdates resumes the window.
class RedrawSuspended {
public:
    explicit RedrawSuspended(WindowUpdates& updates) : updates_(updates), locked_(updates.LockW()) {}
    ~RedrawSuspended() { updates_.UnlockW(locked_); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

    // Resumes painting before the scope ends.
    void resume() { updates_.UnlockW(locked_); }

private:
    WindowUpdates& updates_;
    bool locked_;
};
