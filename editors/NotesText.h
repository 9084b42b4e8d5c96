#pragma once

#include <QString>

// What the notes toolbar works on: the text of a notes page and its selection
// (0-based start and length, in UTF-16 units). Line ends are "\n".
struct NotesText {
    QString text;
    int selStart = 0;
    int selLength = 0;

    QString selText() const { return text.mid(selStart, selLength); }
    bool operator==(const NotesText&) const = default;
};
