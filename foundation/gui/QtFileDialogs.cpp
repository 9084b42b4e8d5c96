#include "QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "MainWindowLink.h"

namespace {

// The index of the filter the dialog ended on; the dialog names it without
// its patterns (the last bracketed group).
int filterIndex(const QStringList& filters, const QString& selected) {
    for (int i = 0; i < filters.size(); ++i) {
        const QString& f = filters.at(i);
        if (f == selected || f.left(f.lastIndexOf(QStringLiteral(" ("))) == selected) return i;
    }
    return 0;
}

}  // namespace

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
    answer.selectedFilter = filterIndex(request.nameFilters, dialog.selectedNameFilter());
    return answer;
}
