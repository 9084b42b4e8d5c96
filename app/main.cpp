#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "AppError.h"
#include "FileSizeSignal.h"
#include "FormSVG.h"
#include "ProgramWindows.h"

// Starts the main window: it reads the program's arguments, and the program
// ends when it closes. A write past the file-size limit fails and is reported
// like any failed write instead of ending the program with unsaved work.
int main(int argc, char** argv) {
    catchFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kvora"));
    QApplication::setQuitOnLastWindowClosed(false);

    FormSVG window;
    connectProgramWindows(window);
    QObject::connect(&window, &FormSVG::windowClosed, &app, &QApplication::quit, Qt::QueuedConnection);
    try {
        window.Form_Load(app.arguments().mid(1));
    } catch (const AppError& error) {
        std::fprintf(stderr, "Kvora cannot start: %s\n", error.description.toLocal8Bit().constData());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Kvora cannot start: %s\n", error.what());
        return 1;
    }
    window.show();
    return app.exec();
}
