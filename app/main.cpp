#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "AppError.h"
#include "FormKinreader.h"
#include "FormSVG.h"
#include "FormURLs.h"
#include "FormViewpoints.h"

// Starts the main window: it reads the program's arguments, and the program
// ends when it closes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kvora"));
    QApplication::setQuitOnLastWindowClosed(false);

    FormSVG window;
    window.peers().openGedcomBrowser = &FormKinreader::openProgramBrowser;
    window.peers().manageViewpoints = &FormViewpoints::ManageViewpoints;
    FormKinreader::placeKeyEditor() = [](PlaceKeyClass& keys, QWidget* owner) {
        FormURLs::EditPlaceKeys(keys, owner);
    };
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
