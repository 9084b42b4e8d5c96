#include "QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "MainWindowLink.h"

FileDialogs& FileDialogs::standard() {
    static QtFileDialogs dialogs;
    return dialogs;
}

FileDialogAnswer QtFileDialogs::ask(const FileDialogRequest& request) {
    QWidget* parent = QApplication::activeWindow();
    if (!parent) parent = MainWindowLink::existingWindow();
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The filters carry their own description text; the patterns Qt reads
    // from their last brackets are not shown a second time.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(request.nameFilters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.selectedFilter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);

    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().first();
    answer.selectedFilter = qMax(0, request.nameFilters.indexOf(dialog.selectedNameFilter()));
    return answer;
}
