#pragma once

#include <QString>

// The dialogs the notes toolbar asks for an element's details. Each returns
// true when the user accepted, and only then changes its arguments. The
// editors show the image, link and event dialogs; tests script the answers.
class NotesDialogs {
public:
    virtual ~NotesDialogs() = default;
    virtual bool EditImage(QString& sURL, QString& sTitle, QString& sWidth) = 0;
    virtual bool EditLink(QString& sSelText, QString& sURL, QString& sTarget) = 0;
    // May raise the date text's error for an unreadable sDate.
    virtual bool EditEvent(QString& sDate, QString& sEvent, QString& sType, QString& sDivText) = 0;
};
