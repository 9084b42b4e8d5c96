#include "GEDNoteMarkup.h"

#include <algorithm>
#include <array>
#include <iterator>

#include <QList>
#include <QSet>
#include <QStringView>

#include "TextHelpers.h"

namespace {

// White space between the parts of a tag.
bool isTagSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\f' || u == u'\r';
}

QChar asciiLower(QChar c) { return c.unicode() >= u'A' && c.unicode() <= u'Z' ? QChar(c.unicode() + 32) : c; }

// True when `text` at `at` holds `lowerName` in any ASCII letter case (a
// browser folds no other letters in names).
bool holdsNameAt(QStringView text, qsizetype at, QStringView lowerName) {
    if (at + lowerName.size() > text.size()) return false;
    for (qsizetype i = 0; i < lowerName.size(); ++i)
        if (asciiLower(text[at + i]) != lowerName[i]) return false;
    return true;
}

struct Attribute {
    QString name;        // in lower case
    QStringView value;   // as written, without its quotes; empty when it has none
};

struct Tag {
    qsizetype end = 0;   // just after its ">"
    bool isEnd = false;
    QString name;        // in lower case
    QList<Attribute> attributes;
};

// Reads the tag whose "<" stands at `at`, step by step as a browser's
// tokenizer does. False when the "<" begins no tag (a browser shows it as
// text; the tag's name is then empty) or when the text ends inside the tag.
bool readTag(QStringView text, qsizetype at, Tag& tag) {
    const qsizetype n = text.size();
    qsizetype p = at + 1;
    tag = Tag();
    if (p < n && text[p] == u'/') {
        tag.isEnd = true;
        ++p;
    }
    if (p >= n || !isAsciiLetter(text[p])) return false;
    while (p < n && !isTagSpace(text[p]) && text[p] != u'/' && text[p] != u'>') tag.name += asciiLower(text[p++]);
    for (;;) {
        while (p < n && isTagSpace(text[p])) ++p;
        if (p >= n) return false;
        if (text[p] == u'>') {
            tag.end = p + 1;
            return true;
        }
        if (text[p] == u'/') {
            // A "/" is passed over; right before the ">" it closes nothing
            // but a void element, which needs no closing.
            ++p;
            continue;
        }
        Attribute a;
        // The first character always belongs to the name, an "=" included.
        a.name += asciiLower(text[p++]);
        while (p < n && !isTagSpace(text[p]) && text[p] != u'/' && text[p] != u'>' && text[p] != u'=')
            a.name += asciiLower(text[p++]);
        while (p < n && isTagSpace(text[p])) ++p;
        if (p < n && text[p] == u'=') {
            ++p;
            while (p < n && isTagSpace(text[p])) ++p;
            if (p >= n) return false;
            if (text[p] == u'"' || text[p] == u'\'') {
                const qsizetype close = text.indexOf(text[p], p + 1);
                if (close < 0) return false;
                a.value = text.mid(p + 1, close - p - 1);
                p = close + 1;
            } else {
                const qsizetype from = p;
                while (p < n && !isTagSpace(text[p]) && text[p] != u'>') ++p;
                a.value = text.mid(from, p - from);
            }
        }
        tag.attributes.append(a);
    }
}

// Where the mark-up at `at` ends when a browser shows nothing of it: a
// comment ("<!--" up to "-->" or "--!>"; "<!-->" and "<!--->" are empty
// ones), a bogus comment ("<?", "<!" not followed by "--", "</" followed by
// neither a letter nor ">") or a doctype up to the first ">", and "</>". A
// comment without its end runs to the end of the text. -1 when the "<" at
// `at` begins none of these.
qsizetype endOfHiddenMarkup(QStringView text, qsizetype at) {
    const qsizetype n = text.size();
    if (at + 1 >= n) return -1;
    const QChar next = text[at + 1];
    const auto throughFirstGreater = [&](qsizetype from) {
        const qsizetype gt = text.indexOf(u'>', from);
        return gt < 0 ? n : gt + 1;
    };
    if (next == u'!') {
        if (!text.mid(at + 2).startsWith(u"--")) return throughFirstGreater(at + 2);
        const qsizetype body = at + 4;
        if (text.mid(body).startsWith(u">")) return body + 1;
        if (text.mid(body).startsWith(u"->")) return body + 2;
        for (qsizetype p = text.indexOf(u"--", body); p >= 0; p = text.indexOf(u"--", p + 1)) {
            if (text.mid(p + 2).startsWith(u">")) return p + 3;
            if (text.mid(p + 2).startsWith(u"!>")) return p + 4;
        }
        return n;
    }
    if (next == u'?') return throughFirstGreater(at + 1);
    if (next == u'/' && at + 2 < n) {
        if (text[at + 2] == u'>') return at + 3;
        if (!isAsciiLetter(text[at + 2])) return throughFirstGreater(at + 2);
    }
    return -1;
}

// How a browser reads what follows the start tag of an element: as mark-up,
// or as text up to the element's own end tag (its references decoded or
// not), with a script's own rules, or as text to the end.
enum class ContentKind { Markup, EscapableText, RawText, ScriptText, PlainText };

ContentKind contentKindOf(QStringView name) {
    if (name == u"textarea" || name == u"title") return ContentKind::EscapableText;
    if (name == u"style" || name == u"xmp" || name == u"iframe" || name == u"noembed" || name == u"noframes" ||
        name == u"noscript")
        return ContentKind::RawText;
    if (name == u"script") return ContentKind::ScriptText;
    if (name == u"plaintext") return ContentKind::PlainText;
    return ContentKind::Markup;
}

// True when `text` at `at` holds a start tag ("<") or an end tag ("</") of
// `lowerName` as a browser finds one inside an element's text: the name in
// any letter case, then white space, "/" or ">"; `after` is then just past
// that character.
bool isTagOfAt(QStringView text, qsizetype at, bool end, QStringView lowerName, qsizetype& after) {
    const qsizetype name = at + (end ? 2 : 1);
    const qsizetype next = name + lowerName.size();
    if (next >= text.size() || text[at] != u'<' || (end && text[at + 1] != u'/') ||
        !holdsNameAt(text, name, lowerName))
        return false;
    if (!isTagSpace(text[next]) && text[next] != u'/' && text[next] != u'>') return false;
    after = next + 1;
    return true;
}

bool isEndTagAt(QStringView text, qsizetype at, QStringView lowerName) {
    qsizetype after = 0;
    return isTagOfAt(text, at, true, lowerName, after);
}

// Where the text of a script that starts at `from` ends (the "<" of its end
// tag, or the end of the text), as a browser reads it: inside "<!--" an
// end tag still ends it unless "<script" came first, in which case the
// first "</script" only undoes that, and "-->" leaves both.
qsizetype endOfScriptText(QStringView text, qsizetype from) {
    enum class State { Text, Escaped, DoubleEscaped } state = State::Text;
    int dashes = 0;  // "-" read in a row inside "<!--", its own two included
    const qsizetype n = text.size();
    for (qsizetype p = from; p < n;) {
        const QChar c = text[p];
        qsizetype after = 0;
        if (c == u'<' && state != State::DoubleEscaped && isEndTagAt(text, p, u"script")) return p;
        if (state == State::Text) {
            if (text.mid(p).startsWith(u"<!--")) {
                state = State::Escaped;
                dashes = 2;
                p += 4;
                continue;
            }
        } else if (c == u'-') {
            ++dashes;
            ++p;
            continue;
        } else if (c == u'>' && dashes >= 2) {
            state = State::Text;
        } else if (state == State::Escaped && isTagOfAt(text, p, false, u"script", after)) {
            state = State::DoubleEscaped;
            dashes = 0;
            p = after;
            continue;
        } else if (state == State::DoubleEscaped && isTagOfAt(text, p, true, u"script", after)) {
            state = State::Escaped;
            dashes = 0;
            p = after;
            continue;
        }
        dashes = 0;
        ++p;
    }
    return n;
}

// Where the text of an element of that kind that starts at `from` ends:
// the "<" of the element's end tag, or the end of the text.
qsizetype endOfElementText(QStringView text, qsizetype from, ContentKind kind, QStringView lowerName) {
    if (kind == ContentKind::ScriptText) return endOfScriptText(text, from);
    if (kind == ContentKind::PlainText) return text.size();
    for (qsizetype lt = text.indexOf(u'<', from); lt >= 0; lt = text.indexOf(u'<', lt + 1))
        if (isEndTagAt(text, lt, lowerName)) return lt;
    return text.size();
}

// How a browser closes an element, as far as the elements of a note go: a
// void one (br, img) has no content and no end tag; a block (p, div) or a
// heading (h1, h2, the end tag of either closing both) and a formatting
// element (b, i, u, s, a) are closed by their end tag wherever they stand;
// any other inline one (sub, sup, span) only where no block or heading stands
// between. A new block or heading closes an open paragraph.
enum class ElementKind { Void, Block, Heading, Formatting, Inline };

// The elements a note may hold, with the attributes each may carry, each
// name between blanks.
struct Element {
    const char16_t* name;
    const char16_t* attributes;
    ElementKind kind;
};

const Element kElements[] = {
    {u"b", u"", ElementKind::Formatting},   {u"i", u"", ElementKind::Formatting},
    {u"u", u"", ElementKind::Formatting},   {u"s", u"", ElementKind::Formatting},
    {u"sub", u"", ElementKind::Inline},     {u"sup", u"", ElementKind::Inline},
    {u"h1", u"", ElementKind::Heading},     {u"h2", u"", ElementKind::Heading},
    {u"br", u"", ElementKind::Void},        {u"p", u" align ", ElementKind::Block},
    {u"a", u" href target ", ElementKind::Formatting},
    {u"img", u" src alt width ", ElementKind::Void},
    {u"span", u" data-start data-event data-evtype data-gtag data-gtype data-gpayl ", ElementKind::Inline},
    {u"div", u" data-start data-event data-evtype data-gtag data-gtype data-gpayl ", ElementKind::Block},
};

const Element* findElement(const QString& name) {
    for (const Element& e : kElements)
        if (QStringView(name) == QStringView(e.name)) return &e;
    return nullptr;
}

bool allows(const Element& element, const QString& attribute) {
    return QStringView(element.attributes).contains(QString(u' ' + attribute + u' '));
}

bool isURLAttribute(const QString& name) { return QStringView(name) == u"href" || QStringView(name) == u"src"; }

// Stands for a named reference that decodeReferences leaves as it is.
constexpr char16_t kUnknownReference = 0xFFFF;

// An attribute value with the character references a browser would turn
// into the characters that make up a URL's scheme: numeric ones, with or
// without their ";", and the named ones for ":", tab, line feed and the five
// of XML. A "&" and a letter that begin any other name become
// kUnknownReference.
QString decodeReferences(QStringView value) {
    static const std::pair<QStringView, QChar> named[] = {
        {u"&colon;", u':'}, {u"&Tab;", u'\t'}, {u"&NewLine;", u'\n'}, {u"&amp;", u'&'},
        {u"&lt;", u'<'},    {u"&gt;", u'>'},   {u"&quot;", u'"'},     {u"&apos;", u'\''},
    };
    QString out;
    qsizetype p = 0;
    const qsizetype n = value.size();
    while (p < n) {
        const qsizetype amp = value.indexOf(u'&', p);
        if (amp < 0) break;
        out += value.mid(p, amp - p);
        p = amp + 1;
        if (p < n && value[p] == u'#') {
            const bool hex = p + 1 < n && (value[p + 1] == u'x' || value[p + 1] == u'X');
            qsizetype q = p + (hex ? 2 : 1);
            char32_t code = 0;
            bool digits = false;
            for (; q < n; ++q) {
                const QChar c = value[q];
                int d = -1;
                if (isAsciiDigit(c)) d = c.unicode() - u'0';
                else if (hex && c.unicode() >= u'a' && c.unicode() <= u'f') d = c.unicode() - u'a' + 10;
                else if (hex && c.unicode() >= u'A' && c.unicode() <= u'F') d = c.unicode() - u'A' + 10;
                if (d < 0) break;
                digits = true;
                code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + char32_t(d);
            }
            if (digits) {
                if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
                out += QString::fromUcs4(&code, 1);
                p = q < n && value[q] == u';' ? q + 1 : q;
                continue;
            }
        } else {
            bool found = false;
            for (const auto& [reference, character] : named)
                if (value.mid(amp).startsWith(reference)) {
                    out += character;
                    p = amp + reference.size();
                    found = true;
                    break;
                }
            if (found) continue;
            if (p < n && isAsciiLetter(value[p])) {
                out += QChar(kUnknownReference);
                continue;
            }
        }
        out += u'&';
    }
    out += value.mid(p);
    return out;
}

// True when a link or picture may point there: an http, https or mailto
// address, or a relative one. The value is read as a browser reads a URL:
// references decoded, tabs and line breaks dropped, control characters and
// blanks at the ends trimmed; the scheme is a letter followed by letters,
// digits, "+", "-" or "." up to a ":".
bool isSafeTarget(QStringView value) {
    QString url = decodeReferences(value);
    url.remove(u'\t').remove(u'\n').remove(u'\r');
    qsizetype from = 0, to = url.size();
    while (from < to && url[from].unicode() <= 0x20) ++from;
    while (to > from && url[to - 1].unicode() <= 0x20) --to;
    const QStringView u = QStringView(url).mid(from, to - from);
    qsizetype i = 0;
    if (!u.isEmpty() && isAsciiLetter(u[0])) {
        while (i < u.size() && (isAsciiLetter(u[i]) || isAsciiDigit(u[i]) || u[i] == u'+' || u[i] == u'-' || u[i] == u'.'))
            ++i;
        if (i < u.size() && u[i] == u':') {
            const QStringView scheme = u.left(i);
            return scheme.compare(u"http", Qt::CaseInsensitive) == 0 ||
                   scheme.compare(u"https", Qt::CaseInsensitive) == 0 ||
                   scheme.compare(u"mailto", Qt::CaseInsensitive) == 0;
        }
    }
    // Relative; a reference not decoded here where a scheme would stand
    // might make one, so it is not taken.
    qsizetype end = 0;
    while (end < u.size() && u[end] != u'/' && u[end] != u'?' && u[end] != u'#') ++end;
    return !u.left(end).contains(QChar(kUnknownReference));
}

// True when a link or picture may point there once the chart has written
// it. A value that begins with "$" is a place-key reference, which the chart
// expands into the key's place; where the tree has no such key the chart
// drops the "$" alone and the rest becomes the address. So the rest must be
// safe too, unless it begins with a key's name and ":" that no browser takes
// for the scheme of a script or of a document of its own.
bool isSafeLink(QStringView value) {
    if (!isSafeTarget(value)) return false;
    if (!value.startsWith(u'$')) return true;
    const QStringView rest = value.mid(1);
    if (isSafeTarget(rest)) return true;
    const QStringView key = rest.left(rest.indexOf(u':'));
    return bValidName(key.toString()) && key.compare(u"javascript", Qt::CaseInsensitive) != 0 &&
           key.compare(u"vbscript", Qt::CaseInsensitive) != 0 && key.compare(u"data", Qt::CaseInsensitive) != 0;
}

constexpr qsizetype kElementCount = qsizetype(std::size(kElements));

qsizetype elementIndex(const Element& element) { return &element - kElements; }
bool isHeading(const Element& element) { return element.kind == ElementKind::Heading; }
bool isBlock(const Element& element) { return element.kind == ElementKind::Block || isHeading(element); }
bool isNamed(const Element& element, QStringView name) { return QStringView(element.name) == name; }

// The elements the note has opened and not yet closed. A note's mark-up is
// kept balanced on its own: in a chart it stands inside a holder of the
// page, which an end tag of the note must never close and which an element
// the note leaves open must never outlast. Where each element stands open is
// kept beside the stack, so that a note that opens thousands of elements is
// read in one pass all the same.
struct OpenElements {
    QList<const Element*> stack;                          // the innermost last
    std::array<QList<qsizetype>, kElementCount> places;  // per element, its places in the stack, the innermost last
};

void push(OpenElements& open, const Element& element) {
    open.places[elementIndex(element)].append(open.stack.size());
    open.stack.append(&element);
}

// Where the innermost open element that `pick` takes stands, -1 when none.
qsizetype innermost(const OpenElements& open, auto pick) {
    qsizetype found = -1;
    for (qsizetype e = 0; e < kElementCount; ++e)
        if (pick(kElements[e]) && !open.places[e].isEmpty()) found = std::max(found, open.places[e].last());
    return found;
}

// Writes the end tags of the open elements from the innermost through the
// one at `index`, and forgets them.
void closeThrough(QString& out, OpenElements& open, qsizetype index) {
    while (open.stack.size() > index) {
        const Element& element = *open.stack.takeLast();
        open.places[elementIndex(element)].removeLast();
        out += QStringLiteral("</");
        out += QStringView(element.name);
        out += u'>';
    }
}

// Where the open element that an end tag of `element` closes stands (for a
// heading: the innermost heading), -1 when none. Below a block or a
// heading, an inline element is out of an end tag's reach.
qsizetype closedBy(const OpenElements& open, const Element& element) {
    if (isHeading(element)) return innermost(open, isHeading);
    const qsizetype at = innermost(open, [&element](const Element& e) { return &e == &element; });
    if (element.kind == ElementKind::Inline && at < innermost(open, isBlock)) return -1;
    return at;
}

// Before a start tag: the end tags of what a browser would close there on
// its own (an open paragraph before a block or a heading, a heading right
// before another, a link before another link), written out, so that what
// the note keeps needs no such repair and reads to a browser as it is
// written.
void closeBeforeStart(QString& out, OpenElements& open, const Element& element) {
    const auto closeNamed = [&out, &open](QStringView name) {
        const qsizetype at = innermost(open, [name](const Element& e) { return isNamed(e, name); });
        if (at >= 0) closeThrough(out, open, at);
    };
    if (isBlock(element)) closeNamed(u"p");
    if (isHeading(element) && !open.stack.isEmpty() && isHeading(*open.stack.last()))
        closeThrough(out, open, open.stack.size() - 1);
    if (isNamed(element, u"a")) closeNamed(u"a");
}

// An end tag: written anew when it closes an element the note opened,
// after the end tags of the elements opened inside that one; else left out,
// as a browser passes over most of them. "</br>" is a line break to a
// browser.
void appendEndTag(QString& out, const Element& element, OpenElements& open) {
    if (element.kind == ElementKind::Void) {
        if (isNamed(element, u"br")) out += QStringLiteral("<br>");
        return;
    }
    const qsizetype index = closedBy(open, element);
    if (index >= 0) closeThrough(out, open, index);
}

// Appends the tag read at `at`: written anew from what was read when a note
// may hold it (its name in lower case, the attributes it may carry, nothing
// else), or as text.
void appendTag(QString& out, QStringView text, qsizetype at, const Tag& tag, OpenElements& open, bool& unsafe) {
    const Element* element = findElement(tag.name);
    if (!element) {
        out += sEscapeXML(text.mid(at, tag.end - at).toString());
        unsafe = true;
        return;
    }
    if (tag.isEnd) {
        appendEndTag(out, *element, open);
        return;
    }
    closeBeforeStart(out, open, *element);
    // "<b/>" opens a b element to a browser, as "<b>" does.
    if (element->kind != ElementKind::Void) push(open, *element);
    out += u'<' + tag.name;
    QSet<QString> seen;
    for (const Attribute& a : tag.attributes) {
        // A browser keeps the first of attributes of one name.
        if (seen.contains(a.name)) continue;
        seen.insert(a.name);
        if (!allows(*element, a.name) || (isURLAttribute(a.name) && !isSafeLink(a.value))) {
            unsafe = true;
            continue;
        }
        // The value as written, between double quotes: the references it
        // holds are left for a browser to decode as it would have.
        out += u' ' + a.name + QStringLiteral("=\"") + escapeAttributeValue(a.value.toString()) + u'"';
    }
    out += u'>';
}

// The text of an element a note may not hold (a script's, a style's, a text
// area's, ...), shown as text: where a browser decodes references in it,
// they stay references.
void appendElementText(QString& out, QStringView content, ContentKind kind) {
    if (kind != ContentKind::EscapableText) {
        out += sEscapeXML(content.toString());
        return;
    }
    for (const QChar c : content) {
        if (c == u'<') out += QStringLiteral("&lt;");
        else if (c == u'>') out += QStringLiteral("&gt;");
        else out += c;
    }
}

}  // namespace

QString safeNoteMarkup(const QString& html, bool& unsafe) {
    if (!html.contains(u'<')) return html;
    // Read as the chart's file will hold it: characters XML does not allow
    // (a form feed among them) are written there as U+FFFD, so they are
    // U+FFFD here too, in tags as in text.
    const QString chars = withXMLCharacters(html);
    const QStringView text(chars);
    QString out;
    out.reserve(text.size() + 16);
    qsizetype done = 0;  // the text before it is in `out`
    Tag tag;
    OpenElements open;
    for (qsizetype lt = text.indexOf(u'<'); lt >= 0; lt = done < text.size() ? text.indexOf(u'<', done) : -1) {
        out += text.mid(done, lt - done);
        const qsizetype hidden = endOfHiddenMarkup(text, lt);
        if (hidden >= 0) {
            done = hidden;
        } else if (readTag(text, lt, tag)) {
            appendTag(out, text, lt, tag, open, unsafe);
            done = tag.end;
            const ContentKind kind = tag.isEnd ? ContentKind::Markup : contentKindOf(tag.name);
            if (kind != ContentKind::Markup) {
                const qsizetype end = endOfElementText(text, done, kind, tag.name);
                appendElementText(out, text.mid(done, end - done), kind);
                done = end;
            }
        } else if (tag.name.isEmpty()) {
            out += QStringLiteral("&lt;");
            done = lt + 1;
        } else {
            // The note ends inside this tag: a browser would show nothing
            // more. All the rest is shown as text, so that no word is lost.
            out += sEscapeXML(text.mid(lt).toString());
            done = text.size();
        }
    }
    out += text.mid(done);
    closeThrough(out, open, 0);
    return out;
}
