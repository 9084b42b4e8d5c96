#include "PathHelpers.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileInfo>

#include "AppError.h"

QString localPath(const QString& sPath) {
    QString path = sPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString sGetFullPath(const QString& sFile, QString& sBaseName, QString& sExtension) {
    sBaseName.clear();
    sExtension.clear();
    if (sFile.isEmpty() || sFile.contains(QChar(0))) {
        // Nothing to resolve: the same answer the system gives for an invalid name.
        throw AppError(EINVAL, QStringLiteral("sGetFullPath"), QString::fromLocal8Bit(std::strerror(EINVAL)));
    }
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(localPath(sFile)));
    const qsizetype slash = full.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        sBaseName = full;
        return full;
    }
    const QString name = full.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        sBaseName = name.left(dot);
        sExtension = name.mid(dot + 1);
    } else {
        sBaseName = name;
    }
    return full;
}

QString sGetFullPath(const QString& sFile) {
    QString base;
    QString extension;
    return sGetFullPath(sFile, base, extension);
}

bool bFileExists(const QString& sPath) {
    if (sPath.isEmpty()) return false;
    const QFileInfo info(localPath(sPath));
    return info.exists() && !info.isDir();
}

QString sGetEnvironmentVar(const QString& sName) {
    if (sName.isEmpty()) return {};
    return qEnvironmentVariable(sName.toLocal8Bit().constData());
}
