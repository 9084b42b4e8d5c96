#pragma once

#include <QString>
#include <QStringList>

#include "ServiceSlot.h"

// One question to the user for a file: what the Open or Save dialog shows.
struct FileDialogRequest {
    bool save = false;              // Save dialog (else Open)
    QString title;                  // caption; empty for the standard one
    QString directory;              // folder shown first
    QString fileName;               // name proposed
    QStringList nameFilters;        // "Description (pattern pattern)"
    int selectedFilter = 0;         // 0-based index into nameFilters
    QString defaultSuffix;          // appended to a name typed without one (no dot)
    bool confirmOverwrite = false;  // Save asks before replacing an existing file
};

// The user's answer: the chosen path and the filter the dialog ended on.
struct FileDialogAnswer {
    bool accepted = false;
    QString path;
    int selectedFilter = 0;
};

// Modal file dialogs. The program shows QFileDialog; tests install a
// ScriptedFileDialogs so that no test waits on a dialog.
class FileDialogs : public ServiceSlot<FileDialogs> {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogAnswer ask(const FileDialogRequest& request) = 0;

    // The implementation that shows QFileDialog.
    static FileDialogs& standard();
};
