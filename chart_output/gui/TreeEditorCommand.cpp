#include "TreeEditorCommand.h"

#include <QStandardPaths>

#include "AppError.h"
#include "PathHelpers.h"

namespace {

struct KnownEditor {
    const char* program;
    const char* waitOption;  // "" when the program waits of its own accord
};

// In order of preference. Editors that hand a file to a running instance and
// return at once are started with their option to wait for the file.
constexpr KnownEditor kKnownEditors[] = {
    {"gedit", "--wait"}, {"gnome-text-editor", "--standalone"}, {"kate", "--block"},
    {"gvim", "-f"},      {"leafpad", ""},                       {"xedit", ""},
};

constexpr int kNoEditorOffset = 513;

}  // namespace

QString treeEditorCommand(const QString& editorSetting, const QStringList& searchFolders) {
    if (!editorSetting.trimmed().isEmpty()) return editorSetting.trimmed();
    for (const KnownEditor& editor : kKnownEditors) {
        const QString program = QLatin1String(editor.program);
        const QString found = searchFolders.isEmpty() ? QStandardPaths::findExecutable(program)
                                                      : QStandardPaths::findExecutable(program, searchFolders);
        if (found.isEmpty()) continue;
        const QString option = QLatin1String(editor.waitOption);
        return option.isEmpty() ? program : program + u' ' + option;
    }
    raiseError(kNoEditorOffset, QStringLiteral("FormSVG"),
               QStringLiteral("No text editor was found to edit the tree definition file: set the environment "
                              "variable SVG_EDITOR to the command of your text editor"));
}

QString treeEditorCommand() { return treeEditorCommand(sGetEnvironmentVar(QStringLiteral("SVG_EDITOR")), {}); }
