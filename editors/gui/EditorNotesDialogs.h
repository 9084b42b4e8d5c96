#pragma once

#include "NotesDialogs.h"

class QWidget;
class SVGTree;

// The notes toolbar's dialogs as the editors show them: the image, link and
// event dialogs, owned by the editor window, the event dialog offering the
// tree's event types.
class EditorNotesDialogs : public NotesDialogs {
public:
    EditorNotesDialogs(QWidget* owner, const SVGTree* tree) : owner_(owner), tree_(tree) {}
    void setTree(const SVGTree* tree) { tree_ = tree; }

    bool EditImage(QString& sURL, QString& sTitle, QString& sWidth) override;
    bool EditLink(QString& sSelText, QString& sURL, QString& sTarget) override;
    bool EditEvent(QString& sDate, QString& sEvent, QString& sType, QString& sDivText) override;

private:
    QWidget* owner_;
    const SVGTree* tree_;
};
