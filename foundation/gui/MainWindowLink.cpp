#include "MainWindowLink.h"

#include <QPointer>
#include <QWidget>

#include "LogReporter.h"

namespace {

struct Link {
    QPointer<QWidget> window;
    LogReporter* reporter = nullptr;
    std::function<void()> creator;
    bool creating = false;
};

Link& link() {
    static Link l;
    return l;
}

// Runs the creator once while nothing is attached; a log line written while
// the main window is being built does not start a second build.
void createIfMissing() {
    Link& l = link();
    if ((l.window || l.reporter) || !l.creator || l.creating) return;
    l.creating = true;
    try {
        l.creator();
    } catch (...) {
        l.creating = false;
        throw;
    }
    l.creating = false;
}

}  // namespace

void MainWindowLink::attach(QWidget* window, LogReporter* reporter) {
    link().window = window;
    link().reporter = reporter;
}

void MainWindowLink::forget(const LogReporter* reporter) {
    if (link().reporter == reporter) link().reporter = nullptr;
}

void MainWindowLink::setCreator(std::function<void()> creator) { link().creator = std::move(creator); }

QWidget* MainWindowLink::window() {
    createIfMissing();
    return link().window;
}

QWidget* MainWindowLink::existingWindow() { return link().window; }

LogReporter& MainWindowLink::reporter() {
    createIfMissing();
    if (link().reporter) return *link().reporter;
    static LogReporter toStandardError;
    return toStandardError;
}
