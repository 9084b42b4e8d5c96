#include "ScriptedMessageBoxes.h"

#include <stdexcept>

QMessageBox::StandardButton ScriptedMessageBoxes::show(QMessageBox::Icon icon, const QString& text,
                                                       QMessageBox::StandardButtons buttons,
                                                       QMessageBox::StandardButton defaultButton) {
    shown.append({icon, text, buttons, defaultButton});
    QMessageBox::StandardButton answer = defaultButton;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else if (answer == QMessageBox::NoButton) {
        // the lowest button flag: OK before Cancel, Yes before No
        const auto bits = buttons.toInt();
        answer = static_cast<QMessageBox::StandardButton>(bits & -bits);
    }
    if (!buttons.testFlag(answer))
        throw std::logic_error("scripted answer is not a button of the message box: " + text.toStdString());
    return answer;
}

QMessageBox::StandardButton ScriptedMessageBoxes::showTitled(const QString& title, QMessageBox::Icon icon,
                                                             const QString& text, QMessageBox::StandardButtons buttons) {
    const QMessageBox::StandardButton answer = show(icon, text, buttons, QMessageBox::NoButton);
    shown.last().title = title;
    return answer;
}

QList<QString> ScriptedMessageBoxes::texts() const {
    QList<QString> out;
    for (const Box& b : shown) out.append(b.text);
    return out;
}
