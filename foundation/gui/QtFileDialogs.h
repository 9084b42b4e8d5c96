#pragma once

#include "FileDialogs.h"

// File dialogs shown with QFileDialog, modal to the program's active window.
class QtFileDialogs : public FileDialogs {
public:
    FileDialogAnswer ask(const FileDialogRequest& request) override;
};
