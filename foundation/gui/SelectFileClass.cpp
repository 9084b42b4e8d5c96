#include "SelectFileClass.h"

#include <QDir>
#include <QFileInfo>

#include "AppError.h"
#include "FileDialogs.h"

QStringList SelectFileClass::nameFilters(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        out.append(parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return out;
}

void SelectFileClass::ShowOpen() { show(false); }

void SelectFileClass::ShowSave() { show(true); }

void SelectFileClass::show(bool save) {
    if (Filter.isEmpty()) Filter = QStringLiteral("All Files (*.*)|*.*");
    if (InitialDir.isEmpty()) InitialDir = QDir::currentPath();
    if (!Filter.endsWith(QLatin1Char('|'))) Filter += QLatin1Char('|');
    DefaultExt.remove(QLatin1Char('.'));

    FileDialogRequest request;
    request.save = save;
    request.title = DialogTitle;
    request.directory = InitialDir;
    request.fileName = FileName;
    request.nameFilters = nameFilters(Filter);
    request.selectedFilter = qBound(0, FilterIndex - 1, qMax(0, int(request.nameFilters.size()) - 1));
    request.defaultSuffix = DefaultExt;
    request.confirmOverwrite = save && (DialogFlags & FileDialogFlag::OverwritePrompt);

    const FileDialogAnswer answer = FileDialogs::current().ask(request);
    if (answer.accepted) {
        FileName = answer.path;
        FileTitle = QFileInfo(answer.path).fileName();
        FilterIndex = answer.selectedFilter + 1;
        return;
    }
    FileName.clear();
    if (CancelError)
        throw AppError(kCancelErrorNumber, QStringLiteral("SelectFileClass"), QStringLiteral("Cancel was selected"));
}
