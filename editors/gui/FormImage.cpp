#include "FormImage.h"

#include "ThreeTextDialog.h"

bool FormImage::EditImage(QString& sURL, QString& sTitle, QString& sWidth, QWidget* oParent) {
    static bool positioned = false;
    static const ThreeTextDialog::Field fields[3] = {
        {"txtURL", "Image URL", "URL to locate the image. May use place keys (e.g. $Gallery:me.jpg)"},
        {"txtTitle", "Alternate Text", "Alternate text if image cannot be shown"},
        {"txtWidth", "Width", "Width of image in pixels"},
    };
    ThreeTextDialog dialog("FormImage", "Image Details", fields, oParent);
    return dialog.edit(sURL, sTitle, sWidth, positioned);
}
