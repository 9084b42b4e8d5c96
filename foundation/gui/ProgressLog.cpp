#include "ProgressLog.h"

#include <exception>

#include "AppError.h"
#include "LogReporter.h"
#include "MainWindowLink.h"

void LogProgress(const QString& sMessage, LogColour lColour) { MainWindowLink::reporter().logLine(sMessage, lColour); }

void LogDiagnostic(const QString& sMessage) { LogProgress(sMessage, LogColour::Magenta); }

void ReportError(const QString& sMessage, WindowUpdates* oWindowUpdates) {
    MainWindowLink::reporter().reportError(sMessage, oWindowUpdates);
}

bool bReportErrorDiscard(const QString& sMessage, WindowUpdates* oWindowUpdates) {
    return MainWindowLink::reporter().reportErrorDiscard(sMessage, oWindowUpdates);
}

void ReportErrDescription(const AppError& error, WindowUpdates* oWindowUpdates) {
    ReportError(error.description, oWindowUpdates);
}

void reportHandlerError(WindowUpdates* oWindowUpdates) {
    try {
        throw;
    } catch (const AppError& e) {
        if (e.number == kCancelErrorNumber) return;
        ReportErrDescription(e, oWindowUpdates);
    } catch (const std::exception& e) {
        ReportError(QString::fromLocal8Bit(e.what()), oWindowUpdates);
    } catch (...) {
        ReportError(QStringLiteral("Unexpected error"), oWindowUpdates);
    }
}
