#pragma once

#include <deque>

#include <QList>

#include "MessageBoxes.h"

// Message boxes for tests: records every box and answers from a script.
// With the script empty a box is answered with its default button, or else
// with the first of its buttons.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Box {
        QMessageBox::Icon icon;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QString title = kMessageBoxTitle;
    };

    QList<Box> shown;
    std::deque<QMessageBox::StandardButton> answers;

    // An answer that the box does not offer is a fault of the test: it throws
    // std::logic_error.
    QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton) override;

    QMessageBox::StandardButton showTitled(const QString& title, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons) override;

    QList<QString> texts() const;
};
