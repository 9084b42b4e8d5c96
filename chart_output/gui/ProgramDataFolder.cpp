#include "ProgramDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString programDataFolder(const QString& executableFolder) {
    const QDir folder(executableFolder);
    const QString installed = QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../share/kvora")));
    if (QFileInfo(installed).isDir()) return installed;
    return QDir::cleanPath(folder.absolutePath());
}

QString programDataFolder() { return programDataFolder(QCoreApplication::applicationDirPath()); }
