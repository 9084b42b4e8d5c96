#include "GEDNoteMarkup.h"

#include <algorithm>
#include <array>
#include <iterator>

#include <QList>
#include <QStringView>

#include "TextHelpers.h"

namespace {

// White space between the parts of a tag.
bool isTagSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\f' || u == u'\r';
}

QChar asciiLower(QChar c) { return c.unicode() >= u'A' && c.unicode() <= u'Z' ? QChar(c.unicode() + 32) : c; }

struct Attribute {
    QString name;        // in lower case
    QStringView value;   // as written, without its quotes
    QChar quote;         // the quote it was written in; null when none
    bool hasValue = false;
};

struct Tag {
    qsizetype end = 0;   // just after its ">"
    bool isEnd = false;
    bool selfClosing = false;
    QString name;        // in lower case
    QList<Attribute> attributes;
};

// Reads the tag whose "<" stands at `at`, step by step as a browser's
// tokenizer does. False when the "<" begins no tag (a browser shows it as
// text, or takes it for a comment of its own) or when the text ends inside
// the tag.
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
            // A "/" counts only right before the ">"; elsewhere it is passed over.
            if (++p < n && text[p] == u'>') {
                tag.selfClosing = true;
                tag.end = p + 1;
                return true;
            }
            continue;
        }
        Attribute a;
        // The first character always belongs to the name, an "=" included.
        a.name += asciiLower(text[p++]);
        while (p < n && !isTagSpace(text[p]) && text[p] != u'/' && text[p] != u'>' && text[p] != u'=')
            a.name += asciiLower(text[p++]);
        while (p < n && isTagSpace(text[p])) ++p;
        if (p < n && text[p] == u'=') {
            a.hasValue = true;
            ++p;
            while (p < n && isTagSpace(text[p])) ++p;
            if (p >= n) return false;
            if (text[p] == u'"' || text[p] == u'\'') {
                const qsizetype close = text.indexOf(text[p], p + 1);
                if (close < 0) return false;
                a.quote = text[p];
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

// An attribute value written again between quotes: its own quote when it had
// one, else apostrophes; line breaks as references, so the value stays on
// the tag's line.
void appendValue(QString& out, const Attribute& a) {
    const QChar quote = a.quote.isNull() ? QChar(u'\'') : a.quote;
    QString value = a.value.toString();
    if (a.quote.isNull()) value.replace(u'\'', QStringLiteral("&#39;"));
    value.replace(u'\r', QStringLiteral("&#13;")).replace(u'\n', QStringLiteral("&#10;"));
    out += u'=' + quote + value + quote;
}

bool holdsLineBreak(QStringView text) { return text.contains(u'\n') || text.contains(u'\r'); }

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

// An end tag: kept when it closes an element the note opened, after the end
// tags of the elements opened inside that one; else left out, as a browser
// passes over most of them. "</br>" is a line break to a browser.
void appendEndTag(QString& out, QStringView written, const Tag& tag, const Element& element, OpenElements& open) {
    if (element.kind == ElementKind::Void) {
        if (isNamed(element, u"br")) out += QStringLiteral("<br>");
        return;
    }
    const qsizetype index = closedBy(open, element);
    if (index < 0) return;
    closeThrough(out, open, index + 1);
    // A browser passes over what an end tag holds besides its name.
    if (open.stack.last() == &element && tag.attributes.isEmpty() && !holdsLineBreak(written)) {
        out += written;
        open.places[elementIndex(element)].removeLast();
        open.stack.removeLast();
    } else {
        closeThrough(out, open, index);
    }
}

// Appends the tag read at `at`: as written when a note may hold it, with its
// other attributes left out, or as text.
void appendTag(QString& out, QStringView text, qsizetype at, const Tag& tag, OpenElements& open, bool& unsafe) {
    const QStringView written = text.mid(at, tag.end - at);
    const Element* element = findElement(tag.name);
    if (!element) {
        out += sEscapeXML(written.toString());
        unsafe = true;
        return;
    }
    if (tag.isEnd) {
        appendEndTag(out, written, tag, *element, open);
        return;
    }
    closeBeforeStart(out, open, *element);
    // "<b/>" opens a b element to a browser, as "<b>" does.
    if (element->kind != ElementKind::Void) push(open, *element);
    // Written anew when anything is left out, and when it spans lines: a
    // note's line breaks become "<br/>" tags, which must not land inside it.
    bool rewrite = holdsLineBreak(written);
    QList<const Attribute*> kept;
    QList<QStringView> seen;
    for (const Attribute& a : tag.attributes) {
        // A browser keeps the first of attributes of one name.
        if (seen.contains(QStringView(a.name))) {
            rewrite = true;
            continue;
        }
        seen.append(a.name);
        if (!allows(*element, a.name) || (isURLAttribute(a.name) && !isSafeTarget(a.value))) {
            unsafe = true;
            rewrite = true;
            continue;
        }
        kept.append(&a);
    }
    if (!rewrite) {
        out += written;
        return;
    }
    out += u'<' + tag.name;
    for (const Attribute* a : kept) {
        out += u' ' + a->name;
        if (a->hasValue) appendValue(out, *a);
    }
    out += tag.selfClosing ? QStringLiteral("/>") : QStringLiteral(">");
}

}  // namespace

QString safeNoteMarkup(const QString& html, bool& unsafe) {
    qsizetype lt = html.indexOf(u'<');
    if (lt < 0) return html;
    const QStringView text(html);
    QString out;
    out.reserve(html.size() + 16);
    qsizetype done = 0;  // the text before it is in `out`
    Tag tag;
    OpenElements open;
    while (lt >= 0) {
        out += text.mid(done, lt - done);
        if (text.mid(lt).startsWith(u"<!--")) {
            // A comment shows nothing: it is left out, up to its end or,
            // when it has none, to the end of the text.
            // (From its "--", so that "<!-->" and "<!--->" end where they stand.)
            const qsizetype close = text.indexOf(u"-->", lt + 2);
            done = close < 0 ? text.size() : close + 3;
        } else if (readTag(text, lt, tag)) {
            appendTag(out, text, lt, tag, open, unsafe);
            done = tag.end;
        } else {
            out += QStringLiteral("&lt;");
            done = lt + 1;
        }
        lt = done < text.size() ? text.indexOf(u'<', done) : -1;
    }
    out += text.mid(done);
    closeThrough(out, open, 0);
    return out;
}
