#include "ScriptedFileDialogs.h"

#include <stdexcept>

FileDialogAnswer ScriptedFileDialogs::ask(const FileDialogRequest& request) {
    requests.append(request);
    if (answers.empty()) throw std::logic_error("unexpected file dialog: " + request.title.toStdString());
    FileDialogAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}
