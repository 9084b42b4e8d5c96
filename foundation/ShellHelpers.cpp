#include "ShellHelpers.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

namespace {

// True while a call waits for its process: the events processed during the
// wait may lead back here (the same button pressed again).
bool waitingForCommand = false;

// Lets pending events run between the polls of the wait.
constexpr int kPollMilliseconds = 100;

}  // namespace

QString shellCommandBusyText() {
    return QStringLiteral("A command started earlier is still running");
}

QString sShellCommand(const QString& sCommand, bool bWait, int iWindowStyle, double& dTaskId) {
    dTaskId = 0;
    if (waitingForCommand) return shellCommandBusyText();

    QStringList words = QProcess::splitCommand(sCommand);
    if (words.isEmpty()) return QStringLiteral("No command to run");
    const QString program = words.takeFirst();

    if (!bWait) {
        qint64 pid = 0;
        QProcess starter;
        starter.setProgram(program);
        starter.setArguments(words);
        if (!starter.startDetached(&pid)) {
            return QStringLiteral("Unable to start ") + program;
        }
        dTaskId = static_cast<double>(pid);
        return {};
    }

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(program, words);
    if (!process.waitForStarted(-1)) return process.errorString();
    dTaskId = static_cast<double>(process.processId());

    waitingForCommand = true;
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForFinished(kPollMilliseconds)) break;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    waitingForCommand = false;
    return {};
}
