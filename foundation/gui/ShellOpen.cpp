#include "ShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "AppError.h"
#include "PathHelpers.h"
#include "Reporter.h"

namespace {

constexpr int kShellErrorOffset = 513;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

void raiseShellError(int code) {
    raiseError(kShellErrorOffset, QStringLiteral("SVGData"),
               QStringLiteral("Error ") + QString::number(code) + QStringLiteral(" returned by ShellExecute"));
}

bool isAddress(const QString& text) {
    const QString lower = text.toLower();
    return lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")) ||
           lower.startsWith(QLatin1String("mailto:"));
}

}  // namespace

void ShellOpen(const QString& sFile, Reporter& reporter) {
    try {
        QUrl url;
        if (isAddress(sFile)) {
            url = QUrl(sFile);
        } else {
            const QString full = sGetFullPath(sFile);
            if (!QFileInfo::exists(full)) raiseShellError(kFileNotFound);
            url = QUrl::fromLocalFile(full);
        }
        if (!QDesktopServices::openUrl(url)) raiseShellError(kNoAssociation);
    } catch (const AppError& error) {
        reporter.warn(error.description);
    }
}
