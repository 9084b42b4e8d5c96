#pragma once

#include "MessageBoxes.h"

// Message boxes for benchmarks of windows: every box is answered Yes (the
// very-large-grid question of the wide trees goes on with the whole grid).
class YesBoxes : public MessageBoxes {
public:
    QMessageBox::StandardButton show(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons,
                                     QMessageBox::StandardButton) override {
        return QMessageBox::Yes;
    }
};
