#include "GEDNoteMarkup.h"

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

// The elements a note may hold, with the attributes each may carry, each
// name between blanks.
struct Element {
    const char16_t* name;
    const char16_t* attributes;
};

const Element kElements[] = {
    {u"b", u""},   {u"i", u""},   {u"u", u""},   {u"s", u""},  {u"sub", u""}, {u"sup", u""},
    {u"h1", u""},  {u"h2", u""},  {u"br", u""},  {u"p", u" align "},
    {u"a", u" href target "},
    {u"img", u" src alt width "},
    {u"span", u" data-start data-event data-evtype data-gtag data-gtype data-gpayl "},
    {u"div", u" data-start data-event data-evtype data-gtag data-gtype data-gpayl "},
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

// Appends the tag read at `at`: as written when a note may hold it, with its
// other attributes left out, or as text.
void appendTag(QString& out, QStringView text, qsizetype at, const Tag& tag, bool& unsafe) {
    const QStringView written = text.mid(at, tag.end - at);
    const Element* element = findElement(tag.name);
    if (!element) {
        out += sEscapeXML(written.toString());
        unsafe = true;
        return;
    }
    if (tag.isEnd) {
        // A browser passes over what an end tag holds besides its name.
        if (tag.attributes.isEmpty() && !holdsLineBreak(written)) out += written;
        else out += QStringLiteral("</") + tag.name + u'>';
        return;
    }
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
    while (lt >= 0) {
        out += text.mid(done, lt - done);
        if (text.mid(lt).startsWith(u"<!--")) {
            // A comment shows nothing: it is left out, up to its end or,
            // when it has none, to the end of the text.
            // (From its "--", so that "<!-->" and "<!--->" end where they stand.)
            const qsizetype close = text.indexOf(u"-->", lt + 2);
            done = close < 0 ? text.size() : close + 3;
        } else if (readTag(text, lt, tag)) {
            appendTag(out, text, lt, tag, unsafe);
            done = tag.end;
        } else {
            out += QStringLiteral("&lt;");
            done = lt + 1;
        }
        lt = done < text.size() ? text.indexOf(u'<', done) : -1;
    }
    out += text.mid(done);
    return out;
}
