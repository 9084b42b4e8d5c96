#pragma once

#include <QPointer>
#include <QWidget>

// Suspends the painting of one window during a long update and makes sure it
// is painted again, also when an error cuts the update short: the error
// reporters resume it, and so does the object's destruction.
//     bool locked = updates.LockW();  ...  updates.UnlockW(locked);
// with ReportError / reportHandlerError(&updates) in the error tail.
class WindowUpdates {
public:
    WindowUpdates() = default;
    ~WindowUpdates();
    WindowUpdates(const WindowUpdates&) = delete;
    WindowUpdates& operator=(const WindowUpdates&) = delete;

    // Suspends the set window's painting when it is visible, not minimised and
    // not already suspended by this object; true when it did. Only the caller
    // that got true resumes.
    bool LockW();
    // When bLockStatus is true: resumes the suspended window and sets
    // bLockStatus to false. Does nothing when it is false.
    void UnlockW(bool& bLockStatus);
    // Resumes the suspended window, whoever suspended it.
    void CancelW();
    // Sets the window to work on and returns it; while a window is suspended
    // another one is refused (null is returned and the old one kept).
    QWidget* SetWnd(QWidget* hwnd);

    QWidget* window() const { return wnd; }
    bool suspended() const { return !suspendedWnd.isNull(); }

private:
    QPointer<QWidget> wnd;
    QPointer<QWidget> suspendedWnd;
};
