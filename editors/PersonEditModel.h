#pragma once

#include <functional>

#include <QSizeF>
#include <QString>
#include <QStringList>

#include "TreeTypes.h"

class SVGTree;

// The person editor without widgets: fills its fields from a person, proposes
// keys, splits and joins the picture text ("$place:file"), finds the file to show
// for a picture, and on OK checks every field before it writes any.
class PersonEditModel {
public:
    // What the dialog shows and the user edits.
    struct Fields {
        QString key;
        QString caption;
        QString shortCaption;
        int sex = 1;             // position in "fmux"; -1 for none
        bool tentative = false;
        bool rootPerson = false;
        QString place;           // place key of the picture, or ""
        QString file;            // path or URL of the picture
        QString notes;           // the four pages, lines joined by "\n"
        QString tooltips;
        QString progData;
        QString locSettings;
        bool namesLoaded = false;  // the names box was filled during this opening
        QString names;             // the names box, one name per line
    };

    // The file to show for the picture, as sResolveImageFile finds it.
    struct ResolvedImage {
        QString file;       // local file to load; "" for none
        QString toolTip;    // the expanded address, when a place was expanded
        QString problem;    // a warning to show; "" when none
        bool local = true;  // the edition used (the "Use local" box)
    };

    explicit PersonEditModel(SVGTree& tree);

    // Edit mode on the person sKey (which must exist); create mode with the
    // fields empty and the sex "Male".
    void loadEdit(const QString& sKey);
    void loadCreate();
    bool createMode() const { return !person_; }
    const SVGBoxPtr& person() const { return person_; }
    Fields& fields() { return fields_; }
    const Fields& fields() const { return fields_; }

    // The key characters of a caption ("Mary Ann Smith" gives "MaryAnnSmith"),
    // without leading characters that cannot begin a key.
    static QString KeyFromCaption(const QString& sCaption);

    // "$K:rest" gives place K and file rest; anything else is a file alone.
    static void splitImageSpec(const QString& sSpec, QString& sPlace, QString& sFile);
    static QString joinImageSpec(const QString& sPlace, const QString& sFile);
    // Splits a person's picture into fields().place and fields().file; a
    // place the tree does not define gives the warning returned (and no place).
    QString SetImageSpec(const QString& sSpec);
    // The tree's place keys, in order.
    QStringList placeKeys() const;

    // The file to show for a place and file; with no place the edition
    // follows the file (remote for http and https). download fetches a
    // remote address into a local file and may raise.
    ResolvedImage sResolveImageFile(const QString& sPlace, const QString& sFile, bool bLocal,
                                    const std::function<QString(const QString&)>& download) const;
    // The local folder of a place, where Browse starts; "" when it has none.
    QString browseFolder(const QString& sPlace) const;

    // The names box's starting text: the personal names, or the name built
    // from the caption, one per line.
    QString namesText() const;
    // The personal names of the names box's lines ("|" removed, blanks
    // trimmed, empty lines and repeats left out).
    static QString namesFromText(const QString& sText);

    // OK: proposes the key (create mode; fields().key shows the proposal),
    // checks every field and raises the first refusal (base + 515) before
    // anything is written; then writes the person. Returns the person's key.
    QString ok();

private:
    SVGTree& tree_;
    SVGBoxPtr person_;
    Fields fields_;
};

// The size a picture is shown at in a frame: as wide as the frame when it is
// no taller in proportion, else as high.
QSizeF fitPicture(const QSizeF& picture, const QSizeF& frame);
