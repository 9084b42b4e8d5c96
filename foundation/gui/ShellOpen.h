#pragma once

#include <QString>

class Reporter;

// Opens a file (or an http, https or mailto address) with the program the
// desktop associates with it. A failure is reported through the reporter
// (a red log line and a box), never passed to the caller: error base + 513,
// "Error <code> returned by ShellExecute", 2 for a missing file and 31 when
// no program could open it.
void ShellOpen(const QString& sFile, Reporter& reporter);
