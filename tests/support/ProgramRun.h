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
