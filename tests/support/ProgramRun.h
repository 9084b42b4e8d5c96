#pragma once

#include <functional>

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QStringList>
#include <QTimer>

// Starts the built program under the offscreen platform with arguments and
// waits until `done` holds (asked at each change of `folder`, where the
// program writes its files), until the program ends, or for a minute at
// most; then ends the program. Returns true when the program was still
// running at that point. Its error output goes to ours, or into `errors`.
inline bool runProgramUntil(const QString& program, const QStringList& arguments, const QString& folder,
                            const std::function<bool()>& done, QByteArray* errors = nullptr) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(errors ? QProcess::ForwardedOutputChannel : QProcess::ForwardedErrorChannel);

    // Files are renamed into place when complete: each change of the folder
    // is a chance that the last one has arrived.
    QEventLoop loop;
    QFileSystemWatcher watcher({folder});
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (done()) loop.quit();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (!process.waitForStarted()) return false;
    if (!done()) loop.exec();

    const bool stillRunning = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished();
    if (errors) *errors = process.readAllStandardError();
    return stillRunning;
}

// Starts the built program under the offscreen platform with arguments and
// collects its error output into `errors` until it holds `awaited`, until the
// program ends, or for a minute at most; then ends the program. A box the
// program shows meanwhile waits for an answer that never comes, which keeps
// the program where it stood. `childSetUp`, when given, runs in the new
// process just before the program starts (a limit to set, say). Returns true
// when the program was still running at that point.
inline bool runProgramUntilError(const QString& program, const QStringList& arguments, const QByteArray& awaited,
                                 QByteArray& errors, const std::function<void()>& childSetUp = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    if (childSetUp) process.setChildProcessModifier(childSetUp);

    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardError, &loop, [&] {
        errors += process.readAllStandardError();
        if (errors.contains(awaited)) loop.quit();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (!process.waitForStarted()) return false;
    loop.exec();

    const bool stillRunning = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished();
    errors += process.readAllStandardError();
    return stillRunning;
}
