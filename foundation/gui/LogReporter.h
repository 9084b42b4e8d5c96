#pragma once

#include <QPointer>
#include <QTextEdit>
#include <QString>

#include "Reporter.h"

class MessageBoxes;
class WindowUpdates;

// The progress log and error boxes of the program: appends coloured lines to
// a QTextEdit log, trimming its head so that it stays near 50,000 characters,
// and shows errors both in red in the log and in a box titled "Kvora". The
// main window owns one on its log box; the model and the chart run report
// through it as their Reporter. Without a log box, lines go to standard error;
// with one, the red lines (errors and warnings) go there too.
class LogReporter : public Reporter {
public:
    // The log text is trimmed before a line that would take it past this length.
    static constexpr int kMaxLogLength = 50000;

    // boxes: the message boxes to use; null means the installed ones
    // (MessageBoxes::current()) at the time of each box.
    explicit LogReporter(QTextEdit* log = nullptr, MessageBoxes* boxes = nullptr);
    ~LogReporter() override;
    LogReporter(const LogReporter&) = delete;
    LogReporter& operator=(const LogReporter&) = delete;

    QTextEdit* log() const { return logBox; }

    // Appends text and a line end at the end of the log. A line in the default
    // colour takes the log's normal text colour.
    void logLine(const QString& text, LogColour colour = LogColour::Default) override;
    // reportError without a window to repaint.
    void warn(const QString& text) override;
    // reportErrorDiscard without a window to repaint.
    bool warnDiscard(const QString& text) override;
    // A question box with Yes and No; true for Yes. Nothing is logged.
    bool askYesNo(const QString& text) override;

    // Resumes the painting that updates holds suspended (when given), logs
    // text in red and shows it in an exclamation box with OK.
    void reportError(const QString& text, WindowUpdates* updates);
    // As reportError with OK and Cancel. Cancel logs "Further errors from this
    // module discarded" in red and returns true; OK returns false.
    bool reportErrorDiscard(const QString& text, WindowUpdates* updates);

private:
    MessageBoxes& boxes() const;
    void appendToLog(const QString& text, LogColour colour);

    QPointer<QTextEdit> logBox;
    MessageBoxes* fixedBoxes;
};
