#pragma once

#include <deque>

#include <QList>

#include "FileDialogs.h"

// File dialogs for tests: records every request and answers from a script.
// A dialog that the script does not expect is a fault of the test and throws
// std::logic_error.
class ScriptedFileDialogs : public FileDialogs {
public:
    QList<FileDialogRequest> requests;
    std::deque<FileDialogAnswer> answers;

    // Scripts the next answer: the user picks path (ending on the 0-based filter).
    void choose(const QString& path, int selectedFilter = 0) { answers.push_back({true, path, selectedFilter}); }
    // Scripts the next answer: the user cancels.
    void cancel() { answers.push_back({}); }

    FileDialogAnswer ask(const FileDialogRequest& request) override;
};
