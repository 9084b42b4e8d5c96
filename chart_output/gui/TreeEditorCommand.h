#pragma once

#include <QString>
#include <QStringList>

// The command that edits a tree definition file: the value of the
// environment variable SVG_EDITOR when it is set and not blank, else the first
// of a few common graphical text editors found on the search path, with the
// option that keeps it running until the file is closed where it needs one.
// Raises an error naming SVG_EDITOR when there is none.
QString treeEditorCommand();

// The same choice from given values: the SVG_EDITOR value and the folders
// searched for an editor program.
QString treeEditorCommand(const QString& editorSetting, const QStringList& searchFolders);
