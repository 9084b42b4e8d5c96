#pragma once

#include <QString>

class QWidget;

// "Link Details": the visible text, address and target of a link of a note.
namespace FormLink {
// Shows the three texts for editing; after OK sets them to what was typed and
// returns true, else leaves them as they are and returns false.
bool EditLink(QString& sSelText, QString& sURL, QString& sTarget, QWidget* oParent);
}  // namespace FormLink
