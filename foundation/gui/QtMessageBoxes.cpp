#include "QtMessageBoxes.h"

#include <QApplication>

#include "MainWindowLink.h"

MessageBoxes& MessageBoxes::standard() {
    static QtMessageBoxes boxes;
    return boxes;
}

QMessageBox::StandardButton QtMessageBoxes::show(QMessageBox::Icon icon, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) {
    QWidget* parent = QApplication::activeWindow();
    if (!parent) parent = MainWindowLink::existingWindow();
    QMessageBox box(icon, kMessageBoxTitle, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
