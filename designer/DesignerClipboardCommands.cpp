#include "DesignerClipboardCommands.h"

#include "DesignerCommands.h"

DesignerClipboardCommands::DesignerClipboardCommands(DesignerCommands& commands)
    : commands_(commands), clip_(commands.model()) {
    clip_.boxTag = [this](int iCell) { return commands_.boxTag(iCell); };
    clip_.warning = [this](const QString& text) { commands_.host().warn(text); };
    auto& other = commands_.otherCommands;
    other.insert(QStringLiteral("mnuPastePersonFamily"), [this] {
        run([this](const QString& text) { clip_.paste(text, false); });
    });
    other.insert(QStringLiteral("mnuPasteNewPersonFamily"), [this] {
        run([this](const QString& text) { clip_.paste(text, true); });
    });
    other.insert(QStringLiteral("mnuIncludePersonFamily"), [this] {
        run([this](const QString& text) { clip_.include(text); });
    });
    other.insert(QStringLiteral("mnuExcludePersons"), [this] { run([this](const QString&) { clip_.excludePersons(); }); });
    other.insert(QStringLiteral("mnuExcludeFamily"), [this] { run([this](const QString&) { clip_.excludeFamily(); }); });
}

void DesignerClipboardCommands::run(const std::function<void(const QString& text)>& body) {
    clip_.takeChanges();
    try {
        body(commands_.host().clipboardText());
    } catch (...) {
        show(clip_.takeChanges());
        throw;
    }
    show(clip_.takeChanges());
}

void DesignerClipboardCommands::show(GridChanges changes) {
    GridRedraw& redraw = commands_.changes();
    for (auto it = changes.cells.cbegin(); it != changes.cells.cend(); ++it) commands_.renderCell(it.key(), it.value());
    redraw.links = redraw.links || changes.links;
    redraw.selection = redraw.selection || changes.selection;
    if (changes.clipboard) commands_.host().setClipboardText(*changes.clipboard);
}
