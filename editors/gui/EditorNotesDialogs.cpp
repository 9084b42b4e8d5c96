#include "EditorNotesDialogs.h"

#include <QWidget>

#include "FormEvent.h"
#include "FormImage.h"
#include "FormLink.h"

bool EditorNotesDialogs::EditImage(QString& sURL, QString& sTitle, QString& sWidth) {
    return FormImage::EditImage(sURL, sTitle, sWidth, owner_ ? owner_->window() : nullptr);
}

bool EditorNotesDialogs::EditLink(QString& sSelText, QString& sURL, QString& sTarget) {
    return FormLink::EditLink(sSelText, sURL, sTarget, owner_ ? owner_->window() : nullptr);
}

bool EditorNotesDialogs::EditEvent(QString& sDate, QString& sEvent, QString& sType, QString& sDivText) {
    return FormEvent::EditEvent(sDate, sEvent, sType, sDivText, owner_ ? owner_->window() : nullptr, tree_);
}
