#pragma once

#include <QString>

// The system clipboard's text, as the windows that copy and paste persons,
// families and key lists reach it. The program uses the desktop clipboard
// (QtClipboardText); tests keep the text in memory.
class ClipboardText {
public:
    virtual ~ClipboardText() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};
