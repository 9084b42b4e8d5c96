#pragma once

#include <QString>

// Colours of progress-log lines (24-bit RGB).
enum class LogColour : unsigned { Default = 0xFFFFFFFFu, Red = 0xFF0000u, Blue = 0x0000FFu, Magenta = 0xFF00FFu };

// How model and chart code talk to the user: the main window writes the
// progress log and shows message boxes; tests use a recording double.
class Reporter {
public:
    virtual ~Reporter() = default;
    // Appends one line to the progress log in a colour.
    virtual void logLine(const QString& text, LogColour colour = LogColour::Default) = 0;
    // A warning: a red log line and an exclamation box with OK.
    virtual void warn(const QString& text) = 0;
    // A warning with OK and Cancel; returns true when the user chose Cancel
    // (the caller then stops reporting or abandons its work).
    virtual bool warnDiscard(const QString& text) = 0;
    // A Yes/No question; returns true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
};
