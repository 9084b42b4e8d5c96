#pragma once

#include <QString>

// Starts sCommand (a command line: a program followed by its arguments,
// double quotes grouping words) as a new process and hands its process id
// back through dTaskId. With bWait the call returns only when the process has
// ended; meanwhile the application's events keep being processed, so the
// windows stay responsive. iWindowStyle is accepted for the callers' sake: a
// process here chooses its own window.
// Returns "" when all went well, else the description of the failure (the
// call itself never throws). A second call made while one is still waiting
// (from an event handled during the wait) starts nothing and returns a
// description saying so.
QString sShellCommand(const QString& sCommand, bool bWait, int iWindowStyle, double& dTaskId);

// The description returned when a waited-for command is already running.
QString shellCommandBusyText();
