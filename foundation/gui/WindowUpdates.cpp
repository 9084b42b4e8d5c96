#include "WindowUpdates.h"

WindowUpdates::~WindowUpdates() { CancelW(); }

bool WindowUpdates::LockW() {
    if (!wnd || suspended() || !wnd->isVisible() || wnd->window()->isMinimized()) return false;
    wnd->setUpdatesEnabled(false);
    suspendedWnd = wnd;
    return true;
}

void WindowUpdates::UnlockW(bool& bLockStatus) {
    if (!bLockStatus) return;
    CancelW();
    bLockStatus = false;
}

void WindowUpdates::CancelW() {
    if (!suspendedWnd) return;
    QWidget* w = suspendedWnd;
    suspendedWnd = nullptr;
    w->setUpdatesEnabled(true);
    w->repaint();
}

QWidget* WindowUpdates::SetWnd(QWidget* hwnd) {
    if (hwnd == wnd) return hwnd;
    if (suspended()) return nullptr;
    wnd = hwnd;
    return hwnd;
}
