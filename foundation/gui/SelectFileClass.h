#pragma once

#include <QString>
#include <QStringList>

// Bits of SelectFileClass::DialogFlags.
namespace FileDialogFlag {
inline constexpr int OverwritePrompt = 0x2;  // Save asks before replacing an existing file
inline constexpr int HideReadOnly = 0x4;     // accepted; these dialogs have no read-only box
inline constexpr int NoChangeDir = 0x8;      // accepted; the dialogs never change the current folder
inline constexpr int NoValidate = 0x100;     // accepted; names are not validated beyond the toolkit's own checks
}  // namespace FileDialogFlag

// Asks the user for one file with the Open or Save dialog. A caller makes a
// fresh object per question, sets its properties, calls ShowOpen or ShowSave
// and reads FileName.
class SelectFileClass {
public:
    QString FileName;        // proposed name in; the chosen path out ("" after Cancel)
    QString FileTitle;       // the chosen file's name without its folder (set on OK only)
    int DialogFlags = 0;     // FileDialogFlag bits
    QString Filter;          // "Description|pattern|Description|pattern"; patterns joined by ";"
    int FilterIndex = 0;     // 1-based filter shown first; on OK the one the user ended on
    bool CancelError = false;  // Cancel raises the cancel error (kCancelErrorNumber)
    QString DialogTitle;     // caption; "" for the standard caption
    QString DefaultExt;      // extension added to a name typed without one; dots are removed
    QString InitialDir;      // folder shown first; "" means the current folder

    void ShowOpen();
    void ShowSave();

    // The dialog's name filters for a Filter text: one per description and
    // pattern pair, "Description (patterns)", with "*.*" meaning every file.
    static QStringList nameFilters(const QString& filter);

private:
    void show(bool save);
};
