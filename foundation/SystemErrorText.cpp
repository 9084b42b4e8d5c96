#include "SystemErrorText.h"

#include <cerrno>
#include <cstring>

#include "Windows1252.h"

QString sSystemErrorText(int lCode) {
    char buffer[256];
    // The GNU strerror_r returns the text (possibly not in buffer).
    const char* text = strerror_r(lCode, buffer, sizeof buffer);
    QString result = text ? QString::fromLocal8Bit(text) : QString();
    if (result.isEmpty() || result.startsWith(QLatin1String("Unknown error")))
        return QStringLiteral("Unknown system error code: &H") +
               QString::number(static_cast<quint32>(lCode), 16).toUpper();
    if (result.endsWith(QLatin1String("\r\n"))) result.chop(2);
    return result;
}

QString sLastDllErrorText(int lCode) { return sSystemErrorText(lCode == 0 ? errno : lCode); }

QString sStringFromAnsi(const char* pBytes, qsizetype n) {
    if (!pBytes || n <= 0) return QString();
    return decodeWindows1252(pBytes, n);
}
