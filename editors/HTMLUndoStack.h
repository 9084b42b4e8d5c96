#pragma once

#include <deque>

#include "NotesText.h"

// The undo entries of one notes page: the whole text and the selection
// before each toolbar change. Past the cap the oldest entry is dropped.
class HTMLUndoStack {
public:
    static constexpr int kCap = 4096;

    void PushUndo(const NotesText& state);
    // Restores the newest entry into state and takes it off; false when the
    // stack is empty (state untouched).
    bool PopUndo(NotesText& state);
    void clear() { entries_.clear(); }
    int count() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }

private:
    std::deque<NotesText> entries_;
};
