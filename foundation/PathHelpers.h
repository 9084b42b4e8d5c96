#pragma once

#include <QString>

// Full paths, file tests and environment values of the program's shared
// module. A "\" in a path (as stored by a Windows user) is read as a folder
// separator when a local file is looked up; drives have no meaning here.

// The full path of sFile (relative names are taken from the current folder,
// "." and ".." removed). sBaseName receives the name after the last "/"
// without its extension, sExtension the text after the last "." of that name
// ("" when there is none). An empty name raises an error with source
// "sGetFullPath".
QString sGetFullPath(const QString& sFile, QString& sBaseName, QString& sExtension);
QString sGetFullPath(const QString& sFile);

// True when sPath names an existing entry that is not a folder.
bool bFileExists(const QString& sPath);

// The value of an environment variable, "" when it is not set.
QString sGetEnvironmentVar(const QString& sName);

// A stored path with "\" read as a folder separator.
QString localPath(const QString& sPath);
