#include "HTMLUndoStack.h"

void HTMLUndoStack::PushUndo(const NotesText& state) {
    if (entries_.size() >= size_t(kCap)) entries_.pop_front();
    entries_.push_back(state);
}

bool HTMLUndoStack::PopUndo(NotesText& state) {
    if (entries_.empty()) return false;
    state = entries_.back();
    entries_.pop_back();
    return true;
}
