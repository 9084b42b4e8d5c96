#pragma once

#include <QList>
#include <QString>

#include "OrderedDict.h"
#include "ParseClass.h"

// Lists the tags of a small HTML fragment in order, with their positions and
// attributes, and pairs start tags with end tags over that list. The text
// between tags is not kept; callers take it from the positions.
//
// The lists are 1-based: entry i of a tag is at index i, index 0 is an unused
// empty entry, and index 0 returned by the finding operations means "none".
// Names are lower-cased: "p" for a start tag, "/p" for an end tag, "br/" for a
// self-closed tag. Start positions are 1-based positions of "<"; lengths count
// the characters from "<" through ">". Attribute values are kept as written.
class HTMLParseClass {
public:
    // Lists the tags of sText. True when every "<" began a well-formed tag;
    // False at the first that did not, with the tags before it listed (and the
    // bad tag too, with length 0, when its name was read). A repeated attribute
    // within one tag raises the duplicate-key error.
    bool bParseHTML(const QString& sText, int& iEntries, QList<QString>& sDiv, QList<int>& iStart,
                    QList<int>& iLength, QList<StringDict>& oAttributes);
    // The matching end tag of start tag iEnt (nested tags of the same name
    // counted); iEnt itself for a void element; 0 for an end tag or none.
    int iFindEnd(int iEnt, const QList<QString>& sDiv) const;
    // The matching start tag of end tag iEnt; 0 when iEnt is not an end tag or none matches.
    int iFindStart(int iEnt, const QList<QString>& sDiv) const;
    // The first entry from iEnt on that is "/" + sTag, "/" + sTag2 or a nameless
    // end tag "/" (no nesting); 0 when none.
    int iFindEndOf(const QString& sTag, const QString& sTag2, int iEnt, const QList<QString>& sDiv) const;
    // True for a self-closed entry or one of the void elements of HTML.
    bool bIsVoidElement(int iEnt, const QList<QString>& sDiv) const;

private:
    ParseClass parser_;
};
