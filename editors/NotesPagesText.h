#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class AttachedTexts;
class SVGApplications;

// The texts of the four pages of the person and family editors (notes,
// tooltips, program data, local settings). A page holds lines joined by
// "\n"; the program-data editor and the tree file keep CR LF.

// The lines of a list as one page text.
QString sPageText(const QStringList& lines);
// The lines of a page text; none for an empty page.
QStringList pageLines(const QString& sText);

// The local settings as "name=value" lines, in their order.
QString sGetLocSettingsText(const AttachedTexts& object);
// The local-settings page as the comma-separated record InitSettings reads.
// Blank lines at the end of the page are left out.
QString sLocSettingsRecord(const QString& sPage);

// Empties the object's local settings and reads the page into them. Raises
// what InitSettings raises for a setting it refuses; nothing is then kept
// of the page.
template <class Object>
void SetLocSettingsText(Object& object, const QString& sPage) {
    const QString record = sLocSettingsRecord(sPage);
    if (!record.isEmpty()) {
        Object scratch;
        scratch.InitSettings(record);  // refusals are found before the object changes
    }
    object.GetLocSettings().clear();
    if (!record.isEmpty()) object.InitSettings(record);
}

// One item of the "Application Data" menu: its caption and the id of the
// program-data kind it edits ("" for the "(none defined)" item).
struct DataMenuItem {
    QString caption;
    QString id;
};
// "Edit " + description + "..." for each kind that has a description;
// "(none defined)" alone when there are no kinds.
QList<DataMenuItem> dataMenuItems(const SVGApplications* applications);
// The menu is enabled exactly on the program-data page when kinds exist.
bool bDataMenuEnabled(const SVGApplications* applications, int iPage);
