#pragma once

#include "MessageBoxes.h"

// Message boxes shown with QMessageBox, modal to the program's active window.
class QtMessageBoxes : public MessageBoxes {
public:
    QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton) override;
    QMessageBox::StandardButton showTitled(const QString& title, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons) override;
};
