#pragma once

#include <cstddef>

#include <QHash>
#include <QString>
#include <QStringView>

// Splits one GEDCOM line into level, identifier, tag code and payload.
// A line that does not begin with digits keeps the level of the line before;
// one that begins with a negative number or with one too large for a 32-bit
// level is marked as having no valid level, and keeps that level too.
class GEDLineParser {
public:
    struct Line {
        qint32 level = 0;
        bool levelValid = true;  // false: the line's level number is negative or too large
        short tag = 0;
        QStringView xref;     // without the "@" signs; empty when none
        QStringView payload;  // the rest of the line after the tag
    };

    // Parses a line already trimmed of blanks at both ends; the views point
    // into it. A HEAD line that is not exactly "0 HEAD" raises the syntax error.
    const Line& parse(QStringView line);

    // Blanks at both ends of a line removed (tabs stay).
    static QStringView trimBlanks(QStringView line);

private:
    // The code of a tag word, given the word packed as packedCode does.
    short tagCode(QStringView word, quint64 key);

    Line current;
    QHash<quint64, short> shortTags;  // tag words of up to 10 characters, packed
    // The tag words met last, by their packed form, in front of shortTags:
    // a file uses a few dozen tags on millions of lines.
    struct RecentTag {
        quint64 key = 0;
        short code = 0;
    };
    static constexpr std::size_t kRecentTags = 256;
    RecentTag recentTags[kRecentTags];
};
