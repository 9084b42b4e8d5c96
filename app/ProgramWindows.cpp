#include "ProgramWindows.h"

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
#include "SVGTree.h"

void connectProgramWindows(FormSVG& window) {
    window.peers().openDesigner = [&window](const std::shared_ptr<SVGTree>& tree, const QString& viewpointKey) {
        // The designer's commands and its person and family editors use the
        // program's applications.
        FormGrid::OpenDesigner(&window, tree, viewpointKey)->host().setApplications(&window.applications());
    };
    window.peers().openGedcomBrowser = &FormKinreader::openProgramBrowser;
    window.peers().manageViewpoints = &FormViewpoints::ManageViewpoints;

    FormGrid::OptionsDialogs& options = FormGrid::optionsDialogs();
    options.editSettings = [&window](SVGTree& tree, QWidget* owner) {
        return FormSettings::EditSettings(tree, window.applications(), owner);
    };
    options.editAdvSettings = [](StringDict& settings, QWidget* owner) {
        return FormAdvSettings::EditAdvSettings(settings, owner, programDataFolder());
    };
    options.editApplications = &FormApplications::EditApplications;

    FormGrid::MenuDialogs& menus = FormGrid::menuDialogs();
    menus.openGedcomBrowser = &FormKinreader::openProgramBrowser;
    menus.editPlaceKeys = &FormURLs::EditPlaceKeys;
    menus.manageViewpoints = &FormViewpoints::ManageViewpoints;

    FormKinreader::placeKeyEditor() = [](PlaceKeyClass& keys, QWidget* owner) { FormURLs::EditPlaceKeys(keys, owner); };
}
