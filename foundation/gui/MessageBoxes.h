#pragma once

#include <QMessageBox>
#include <QString>

#include "ServiceSlot.h"

// The title of every error, warning and question box of the program.
inline const QString kMessageBoxTitle = QStringLiteral("Kvora");

// Modal message boxes titled "Kvora". The program shows real boxes; tests
// install a ScriptedMessageBoxes so that no test ever waits on a modal box.
class MessageBoxes : public ServiceSlot<MessageBoxes> {
public:
    virtual ~MessageBoxes() = default;

    // Shows text in a box with the icon and buttons and returns the button
    // the user chose.
    virtual QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;

    // The same box titled title instead of "Kvora" (an information box that
    // names its subject). Implementations that keep no title show it as show() does.
    virtual QMessageBox::StandardButton showTitled(const QString& title, QMessageBox::Icon icon, const QString& text,
                                                   QMessageBox::StandardButtons buttons) {
        (void)title;
        return show(icon, text, buttons);
    }

    // The implementation that shows QMessageBox boxes.
    static MessageBoxes& standard();
};
