#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "AppError.h"
#include "FormAdvSettings.h"
#include "FormApplications.h"
#include "FormGrid.h"
#include "FormGridHost.h"
#include "FormKinreader.h"
#include "FormSVG.h"
#include "FormSettings.h"
#include "FormURLs.h"
#include "FormViewpoints.h"
#include "ProgramDataFolder.h"
#include "SVGDisplay.h"
#include "SVGTree.h"

// Starts the main window: it reads the program's arguments, and the program
// ends when it closes.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kvora"));
    QApplication::setQuitOnLastWindowClosed(false);

    FormSVG window;
    window.peers().openDesigner = [&window](const std::shared_ptr<SVGTree>& tree, const QString& viewpointKey) {
        // The person and family editors of the designer list the program's applications.
        FormGrid::OpenDesigner(&window, tree, viewpointKey)->host().setApplications(&window.applications());
    };
    FormGrid::OptionsDialogs& options = FormGrid::optionsDialogs();
    options.editSettings = [&window](SVGTree& tree, QWidget* owner) {
        return FormSettings::EditSettings(tree, window.applications(), owner);
    };
    options.editAdvSettings = [](StringDict& settings, QWidget* owner) {
        return FormAdvSettings::EditAdvSettings(settings, owner, programDataFolder());
    };
    options.editApplications = [&window](SVGTree& tree, QWidget* owner) {
        SVGDisplay display;
        display.Init(tree.GetSettings());
        return FormApplications::EditApplications(window.applications(), tree.GetSettings(), display.GetSVGFile(),
                                                  owner);
    };
    FormGrid::MenuDialogs& menus = FormGrid::menuDialogs();
    menus.openGedcomBrowser = &FormKinreader::openProgramBrowser;
    menus.editPlaceKeys = &FormURLs::EditPlaceKeys;
    menus.manageViewpoints = &FormViewpoints::ManageViewpoints;
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
