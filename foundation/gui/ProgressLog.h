#pragma once

#include <QString>

#include "Reporter.h"

struct AppError;
class WindowUpdates;

// The program's progress log and error reporting, on the main window's log
// (MainWindowLink::reporter()).

// Appends a line to the progress log in a colour.
void LogProgress(const QString& sMessage, LogColour lColour = LogColour::Default);
// A diagnostic line, in magenta.
void LogDiagnostic(const QString& sMessage);
// Resumes the painting oWindowUpdates holds suspended (when given), logs the
// message in red and shows it in an exclamation box with OK.
void ReportError(const QString& sMessage, WindowUpdates* oWindowUpdates = nullptr);
// As ReportError with OK and Cancel; Cancel logs "Further errors from this
// module discarded" in red and returns true: the caller stops reporting or
// abandons its work.
bool bReportErrorDiscard(const QString& sMessage, WindowUpdates* oWindowUpdates = nullptr);
// Reports an error's description as ReportError does.
void ReportErrDescription(const AppError& error, WindowUpdates* oWindowUpdates = nullptr);

// The error tail of user-interface handlers; call it from inside a catch
// block. Reports the error being handled with ReportErrDescription and returns;
// a cancelled file dialog ends the handler silently.
//     try { ... } catch (...) { reportHandlerError(&updates); }
void reportHandlerError(WindowUpdates* oWindowUpdates = nullptr);
