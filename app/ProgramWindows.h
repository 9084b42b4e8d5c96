#pragma once

class FormSVG;

// Connects the program's windows to one another: the main window opens the
// Tree Designer, the GEDCOM browser and the viewpoint manager; the designer
// opens the settings, advanced-settings, applications, place-key and
// viewpoint windows and the GEDCOM browser; the browser opens the place-key
// dialog. The designer's dialogs are the program's, one set for every
// designer: the window connected last lends them its applications.
void connectProgramWindows(FormSVG& window);
