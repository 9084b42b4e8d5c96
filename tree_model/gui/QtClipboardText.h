#pragma once

#include "ClipboardText.h"

// The desktop clipboard's plain text.
class QtClipboardText : public ClipboardText {
public:
    QString text() const override;
    void setText(const QString& text) override;
};
