#include "DesignerPopups.h"

#include "foundation/TextHelpers.h"
#include "tree_model/SVGTree.h"

namespace {
PopupItem entry(const char* name, const QString& caption, bool enabled = true) {
    return {QString::fromLatin1(name), caption, enabled, false};
}
PopupItem separator() { return {QString(), QStringLiteral("-"), true, true}; }
}  // namespace

PopupMenuModel DesignerPopups::personPopup(const PersonContext& c, const SVGTree& tree) {
    const bool many = c.selected >= 2;
    QString paste = QStringLiteral("Paste Person"), pasteNew = QStringLiteral("Paste New Person");
    QString include = QStringLiteral("Include Person");
    bool pasteOn = false, includeOn = false;
    const QString first = sFirstLine(c.clipboard);
    if (first == u"SVG-P") {
        pasteOn = true;
    } else if (first == u"SVG-NP") {
        paste = QStringLiteral("Paste Persons");
        pasteNew = QStringLiteral("Paste New Persons");
        pasteOn = true;
    } else if (first == u"SVG-F") {
        paste = QStringLiteral("Paste Family");
        pasteNew = QStringLiteral("Paste New Family");
        pasteOn = true;
    } else if (first == u"SVG-NF") {
        paste = QStringLiteral("Paste Families");
        pasteNew = QStringLiteral("Paste New Families");
        pasteOn = true;
    } else if (first == u"SVG-KP") {
        QString sign;
        const QString keys = tree.UnpackKeys(c.clipboard, sign);
        if (keys.count(u',') >= 1) include = QStringLiteral("Include Persons");
        includeOn = c.viewpoint;
    } else if (first == u"SVG-KF" || first == u"SVG-KF0") {
        include = QStringLiteral("Include Family");
        includeOn = c.viewpoint;
    }
    return {
        entry("mnuCreatePerson", QStringLiteral("Create Person ...")),
        entry("mnuEditPerson", QStringLiteral("Edit Person ..."), c.occupied),
        entry("mnuDeletePerson", many ? QStringLiteral("Delete Persons") : QStringLiteral("Delete Person"), c.occupied),
        separator(),
        entry("mnuCopyPerson", many ? QStringLiteral("Copy Persons") : QStringLiteral("Copy Person"), c.occupied),
        entry("mnuPastePersonFamily", paste, pasteOn),
        entry("mnuPasteNewPersonFamily", pasteNew, pasteOn),
        separator(),
        entry("mnuIncludePersonFamily", include, includeOn),
        entry("mnuExcludePersons", many ? QStringLiteral("Exclude Persons") : QStringLiteral("Exclude Person"),
              c.occupied && c.viewpoint),
        separator(),
        entry("mnuUnlinkChild", QStringLiteral("Unlink Child"), c.occupied && c.childRecord),
    };
}

PopupMenuModel DesignerPopups::familyPopup(bool viewpoint) {
    return {
        entry("mnuEditFamily", QStringLiteral("Edit Family ...")),
        entry("mnuDeleteFamily", QStringLiteral("Delete Family")),
        separator(),
        entry("mnuCopyFamily", QStringLiteral("Copy Family")),
        separator(),
        entry("mnuExcludeFamily", QStringLiteral("Exclude Family"), viewpoint),
        separator(),
        entry("mnuShowHideChildLinks", QStringLiteral("Show/Hide Child Links")),
        entry("mnuToggleChildSelect", QStringLiteral("Toggle Child Selections")),
    };
}

const PopupItem* DesignerPopups::item(const PopupMenuModel& menu, const QString& name) {
    for (const PopupItem& i : menu)
        if (!i.separator && i.name == name) return &i;
    return nullptr;
}
