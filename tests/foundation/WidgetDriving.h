#pragma once

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

// Drives a modal dialog or popup menu that the code under test opens: as soon
// as find() gives a widget (looked for a few times from the event loop), act
// runs on it.
inline void whenWidgetOpens(std::function<QWidget*()> find, std::function<void(QWidget*)> act, int tries = 50) {
    QTimer::singleShot(0, [find, act, tries] {
        if (QWidget* w = find())
            act(w);
        else if (tries > 0)
            whenWidgetOpens(find, act, tries - 1);
    });
}

inline void whenModalOpens(std::function<void(QWidget*)> act) { whenWidgetOpens(&QApplication::activeModalWidget, act); }

inline void whenPopupOpens(std::function<void(QWidget*)> act) { whenWidgetOpens(&QApplication::activePopupWidget, act); }
