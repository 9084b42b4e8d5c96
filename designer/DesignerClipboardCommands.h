#pragma once

#include "GridClipboard.h"

class DesignerCommands;

// The clipboard commands of the designer's popups (Paste Person, Paste New
// Person, Include Person, Exclude Person, Exclude Family) as commands of a
// DesignerCommands: each runs in its command scope, reads and writes the
// clipboard through the host, and shows what it changed, also when it fails
// half-way.
class DesignerClipboardCommands {
public:
    explicit DesignerClipboardCommands(DesignerCommands& commands);

    GridClipboard& clipboard() { return clip_; }

private:
    // Runs one body on the grid clipboard and hands what it changed to the
    // command's redraw and to the host's clipboard.
    void run(const std::function<void(const QString& text)>& body);
    void show(GridChanges changes);

    DesignerCommands& commands_;
    GridClipboard clip_;
};
