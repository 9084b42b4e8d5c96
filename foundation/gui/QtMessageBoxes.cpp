#include "QtMessageBoxes.h"

#include <QApplication>

#include "MainWindowLink.h"

MessageBoxes& MessageBoxes::standard() {
    static QtMessageBoxes boxes;
    return boxes;
}

namespace {

QWidget* boxOwner() {
    QWidget* parent = QApplication::activeWindow();
    return parent ? parent : MainWindowLink::existingWindow();
}

}  // namespace

QMessageBox::StandardButton QtMessageBoxes::showTitled(const QString& title, QMessageBox::Icon icon,
                                                       const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, boxOwner());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton QtMessageBoxes::show(QMessageBox::Icon icon, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, kMessageBoxTitle, text, buttons, boxOwner());
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
