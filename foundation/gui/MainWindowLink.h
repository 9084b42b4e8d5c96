#pragma once

#include <functional>

class QWidget;
class LogReporter;

// What the shared helpers need of the main window: its widget (placement of
// dialogs inside its screen, owner of message boxes) and its progress log
// (a LogReporter on its log box). The main window attaches itself when it is
// built; until then a creator set at start-up is asked to build it on first
// need, and without one the helpers fall back to standard error output.
class MainWindowLink {
public:
    // Registers the main window and the reporter on its log (either may be null).
    static void attach(QWidget* window, LogReporter* reporter);
    // Forgets a reporter that is going away (the reporter calls this itself).
    static void forget(const LogReporter* reporter);
    // The function that builds the main window on first need; it is expected
    // to call attach().
    static void setCreator(std::function<void()> creator);

    // The main window, built through the creator when it does not exist yet;
    // null when there is none.
    static QWidget* window();
    // The main window when it exists, without building it.
    static QWidget* existingWindow();
    // The main window's reporter, built through the creator when needed; a
    // reporter without a log box (writing to standard error) when there is none.
    static LogReporter& reporter();
};
