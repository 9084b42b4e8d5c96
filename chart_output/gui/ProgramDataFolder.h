#pragma once

#include <QString>

// The folder of the data that lives beside the program (header templates,
// applications definitions, support scripts): ../share/kvora beside the
// executable's folder when the program is installed, else the executable's
// own folder, into which the build copies that data.
QString programDataFolder();

// The same choice for a given executable folder.
QString programDataFolder(const QString& executableFolder);
