#pragma once

#include <QList>
#include <QString>

#include "DateContext.h"
#include "HTMLUndoStack.h"
#include "NotesText.h"
#include "foundation/HTMLParseClass.h"
#include "foundation/OrderedDict.h"

class NotesDialogs;
class Reporter;

// The engine behind the HTML toolbar of a notes page: for a pressed button's
// key it wraps or unwraps the selection in a tag, widens an empty selection to
// a whole element, inserts or edits an image, link or event element through
// the dialogs, inserts a line break, or undoes the last change. Each notes
// page has its own engine and undo stack.
class SVGEditHTML {
public:
    SVGEditHTML(NotesDialogs& dialogs, Reporter& reporter, DateContext context);

    // Applies the button with key sKey to box. Returns true only for
    // "Preview"; any key it does not know does nothing. Errors (an unreadable
    // event date, a repeated attribute) are raised to the caller with the text
    // unchanged.
    bool bEditHTMLButton(NotesText& box, const QString& sKey);

    // Empties the undo stack.
    void ResetUndo() { undo_.clear(); }
    // The "Undo" button is enabled exactly when there is something to undo.
    bool undoEnabled() const { return !undo_.empty(); }
    int undoCount() const { return undo_.count(); }

private:
    struct Tag {
        QString name;
        int start = 0;   // 1-based position of "<"
        int length = 0;  // "<" through ">"
        int end() const { return start + length; }  // 1-based position after ">"
    };

    void parse(const QString& text);
    bool toggle(NotesText& box, const QString& tag, const QString& open, const QString& close);
    void AdjustSelection(NotesText& box, const QString& tag1, const QString& tag2);
    // Saves undo and selects from tag i's "<" to the end of tag j.
    void selectTags(NotesText& box, int i, int j);
    bool bInsertImage(NotesText& box, QString& replacement);
    bool bInsertLink(NotesText& box, QString& replacement);
    bool bInsertEvent(NotesText& box, QString& replacement);
    // Shared walk of the link and event buttons over the tags.
    enum class Found { New, Edit, Done };
    Found findElement(NotesText& box, const QStringList& names, const QString& endName1, const QString& endName2,
                      const QString& refusal, int& startTag, int& endTag);
    QString sOtherAttributes(int iTag, const QString& sOwn) const;
    bool selectionEndsInsideTag(const NotesText& box) const;
    static bool bNeedsBreak(const NotesText& box);

    NotesDialogs& dialogs_;
    Reporter& reporter_;
    DateContext context_;
    HTMLParseClass parser_;
    HTMLUndoStack undo_;
    QList<Tag> tags_;               // 1-based: index 0 unused
    QList<QString> names_;          // the parser's names, 1-based
    QList<StringDict> attributes_;  // 1-based
};

// An attribute value between apostrophes, or between double quotes when it
// holds an apostrophe; an apostrophe in a value that holds both is written as
// "&apos;".
QString sQuoteAttribute(const QString& sValue);
