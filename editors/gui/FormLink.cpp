#include "FormLink.h"

#include "ThreeTextDialog.h"

bool FormLink::EditLink(QString& sSelText, QString& sURL, QString& sTarget, QWidget* oParent) {
    static bool positioned = false;
    static const ThreeTextDialog::Field fields[3] = {
        {"txtSelText", "Selected Text", "Visible text to associate the link with"},
        {"txtURL", "Link URL", "Link URL. Place keys may be used (e.g. $Blog:article.html)"},
        {"txtTarget", "Target", "Target for displaying the HTML hyperlink"},
    };
    ThreeTextDialog dialog("FormLink", "Link Details", fields, oParent);
    return dialog.edit(sSelText, sURL, sTarget, positioned);
}
