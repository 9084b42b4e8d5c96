#pragma once

#include <QString>

class QWidget;

// "Image Details": the address, alternate text and width of an image of a note.
namespace FormImage {
// Shows the three texts for editing; after OK sets them to what was typed and
// returns true, else leaves them as they are and returns false.
bool EditImage(QString& sURL, QString& sTitle, QString& sWidth, QWidget* oParent);
}  // namespace FormImage
