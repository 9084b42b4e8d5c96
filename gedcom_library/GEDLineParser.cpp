#include "GEDLineParser.h"

#include <limits>

#include "AppError.h"
#include "GEDStore.h"
#include "GEDTagClass.h"
#include "TextHelpers.h"

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
constexpr qint64 kLargestLevel = std::numeric_limits<qint32>::max();
bool isTagChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
}
// Six bits per character of a tag word: digits, letters of either case as the
// same upper-case letter, and "_". Words of up to kMaxPackedLength characters
// are told apart by their packed form.
quint64 packedCode(char16_t u) {
    if (u >= u'0' && u <= u'9') return 1 + (u - u'0');
    if (u >= u'a' && u <= u'z') u = static_cast<char16_t>(u - u'a' + u'A');
    if (u >= u'A' && u <= u'Z') return 11 + (u - u'A');
    return 37;  // "_"
}
constexpr qsizetype kMaxPackedLength = 10;
}  // namespace

QStringView GEDLineParser::trimBlanks(QStringView line) {
    qsizetype b = 0, e = line.size();
    while (b < e && line[b] == u' ') ++b;
    while (e > b && line[e - 1] == u' ') --e;
    return line.sliced(b, e - b);
}

short GEDLineParser::tagCode(QStringView word, quint64 key) {
    if (word.isEmpty()) return 0;
    if (word.size() > kMaxPackedLength) return GEDTagClass::instance().GetTag(word.toString().toUpper());
    RecentTag& recent = recentTags[(key ^ (key >> 17) ^ (key >> 31)) % kRecentTags];
    if (recent.key == key) return recent.code;
    auto it = shortTags.constFind(key);
    short code;
    if (it != shortTags.constEnd()) {
        code = it.value();
    } else {
        code = GEDTagClass::instance().GetTag(word.toString().toUpper());
        shortTags.insert(key, code);
    }
    recent = {key, code};
    return code;
}

const GEDLineParser::Line& GEDLineParser::parse(QStringView line) {
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (pos < n && isBlank(line[pos])) ++pos;
    // A level is digits; a minus sign before them makes a level that no line
    // can have, as does a number too large for a level.
    const bool negative = pos + 1 < n && line[pos] == u'-' && isAsciiDigit(line[pos + 1]);
    current.levelValid = true;
    if (negative || (pos < n && isAsciiDigit(line[pos]))) {
        if (negative) ++pos;
        qint64 level = 0;
        for (; pos < n && isAsciiDigit(line[pos]); ++pos) {
            // Numbers past the largest level stay out of range without overflowing.
            if (level <= kLargestLevel) level = level * 10 + (line[pos].unicode() - u'0');
        }
        current.levelValid = !negative && level <= kLargestLevel;
        if (current.levelValid) current.level = static_cast<qint32>(level);
    }
    while (pos < n && isBlank(line[pos])) ++pos;
    current.xref = QStringView();
    if (pos < n && line[pos] == u'@') {
        const qsizetype close = line.indexOf(u'@', pos + 1);
        if (close < 0) {
            current.xref = line.sliced(pos + 1);
            pos = n;
        } else {
            current.xref = line.sliced(pos + 1, close - pos - 1);
            pos = close + 1;
        }
    }
    while (pos < n && isBlank(line[pos])) ++pos;
    // The tag word is packed while it is scanned.
    const qsizetype tagStart = pos;
    quint64 key = 0;
    if (pos < n && line[pos] == u'_') {
        key = packedCode(u'_');
        ++pos;
    }
    for (; pos < n && isTagChar(line[pos]); ++pos) key = (key << 6) | packedCode(line[pos].unicode());
    current.tag = tagCode(line.sliced(tagStart, pos - tagStart), key);
    if (current.tag == GEDTag::CONC) {
        if (pos < n) ++pos;  // the one delimiter; further blanks belong to the text
    } else if (current.tag == GEDTag::HEAD) {
        if (n != 6)
            raiseError(GEDError::Syntax, QStringLiteral("GEDControlClass"),
                       QStringLiteral("Syntax error on HEAD record. Possible carriage-control issue"));
    } else {
        while (pos < n && isBlank(line[pos])) ++pos;
    }
    current.payload = line.sliced(pos);
    return current;
}
