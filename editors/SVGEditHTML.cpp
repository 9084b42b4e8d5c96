#include "SVGEditHTML.h"

#include "EventDateText.h"
#include "NotesDialogs.h"
#include "foundation/Reporter.h"
#include "foundation/StringSets.h"

namespace {
struct ToggleKey {
    const char* key;
    const char* tag;
    const char* open;
    const char* close;
};
const ToggleKey kToggles[] = {
    {"Bold", "b", "<b>", "</b>"},
    {"Italic", "i", "<i>", "</i>"},
    {"Underline", "u", "<u>", "</u>"},
    {"StrikeThrough", "s", "<s>", "</s>"},
    {"Subscript", "sub", "<sub>", "</sub>"},
    {"Superscript", "sup", "<sup>", "</sup>"},
    {"H1", "h1", "<h1>", "</h1>"},
    {"H2", "h2", "<h2>", "</h2>"},
    {"Paragraph", "p", "<p align='left'>", "</p>"},
};

bool isBlank(QChar c) { return c.isSpace(); }

void replaceSelection(NotesText& box, const QString& replacement) {
    box.text.replace(box.selStart, box.selLength, replacement);
    box.selStart += int(replacement.size());
    box.selLength = 0;
}
}  // namespace

QString sQuoteAttribute(const QString& sValue) {
    if (!sValue.contains(u'\'')) return u'\'' + sValue + u'\'';
    if (!sValue.contains(u'"')) return u'"' + sValue + u'"';
    return u'\'' + QString(sValue).replace(u'\'', QStringLiteral("&apos;")) + u'\'';
}

SVGEditHTML::SVGEditHTML(NotesDialogs& dialogs, Reporter& reporter, DateContext context)
    : dialogs_(dialogs), reporter_(reporter), context_(std::move(context)) {}

void SVGEditHTML::parse(const QString& text) {
    int count = 0;
    QList<int> starts;
    QList<int> lengths;
    const bool ok = parser_.bParseHTML(text, count, names_, starts, lengths, attributes_);
    tags_ = {Tag()};
    for (int i = 1; i <= count && i < names_.size(); ++i) tags_.append(Tag{names_[i], starts[i], lengths[i]});
    if (!ok) reporter_.warn(QStringLiteral("Warning, HTML is not syntactically valid"));
}

bool SVGEditHTML::bEditHTMLButton(NotesText& box, const QString& sKey) {
    parse(box.text);
    for (const ToggleKey& t : kToggles)
        if (sKey == QLatin1String(t.key))
            return toggle(box, QString::fromLatin1(t.tag), QString::fromLatin1(t.open), QString::fromLatin1(t.close));

    QString replacement;
    if (sKey == u"Image") {
        if (bInsertImage(box, replacement)) {
            undo_.PushUndo(box);
            replaceSelection(box, replacement);
        }
    } else if (sKey == u"Link") {
        if (bInsertLink(box, replacement)) {
            undo_.PushUndo(box);
            replaceSelection(box, replacement);
        }
    } else if (sKey == u"Event") {
        if (bInsertEvent(box, replacement)) {
            undo_.PushUndo(box);
            replaceSelection(box, replacement);
        }
    } else if (sKey == u"Newline") {
        undo_.PushUndo(box);
        replaceSelection(box, QStringLiteral("<br/>\n"));
    } else if (sKey == u"Undo") {
        undo_.PopUndo(box);
    } else if (sKey == u"Preview") {
        return true;
    }
    return false;
}

bool SVGEditHTML::toggle(NotesText& box, const QString& tag, const QString& open, const QString& close) {
    undo_.PushUndo(box);
    if (box.selLength == 0) {
        AdjustSelection(box, tag, QString());
        return false;
    }
    const QString selected = box.selText();
    QString inner;
    bool wrapped = false;
    if (tag == u"p") {
        const qsizetype gt = selected.indexOf(u'>');
        if (selected.startsWith(QStringLiteral("<p")) && selected.endsWith(QStringLiteral("</p>")) && gt >= 0 &&
            gt + 1 <= selected.size() - 4) {
            wrapped = true;
            inner = selected.mid(gt + 1, selected.size() - 4 - (gt + 1));
        }
    } else if (selected.size() >= open.size() + close.size() && selected.startsWith(open) && selected.endsWith(close)) {
        wrapped = true;
        inner = selected.mid(open.size(), selected.size() - open.size() - close.size());
    }
    const QString replacement = wrapped ? inner : open + selected + close;
    box.text.replace(box.selStart, box.selLength, replacement);
    box.selLength = int(replacement.size());
    return false;
}

void SVGEditHTML::AdjustSelection(NotesText& box, const QString& tag1, const QString& tag2) {
    const int n = int(tags_.size()) - 1;
    const int caret = box.selStart + 1;
    auto select = [&](int from, int to) {  // 1-based, to exclusive
        box.selStart = from - 1;
        box.selLength = to - from;
    };
    if (n == 0) {
        select(1, int(box.text.size()) + 1);
        return;
    }
    int p = 0;
    int next = 0;
    for (int i = 1; i <= n; ++i) {
        const Tag& t = tags_[i];
        if (t.length > 0 && caret > t.start && caret < t.end()) {
            if (t.name.contains(u'/') && !t.name.startsWith(u'/')) {
                select(t.start, t.end());
            } else if (t.name.startsWith(u'/')) {
                const int s = parser_.iFindStart(i, names_);
                select(s ? tags_[s].start : t.start, t.end());
            } else {
                const int e = parser_.iFindEnd(i, names_);
                select(t.start, e ? tags_[e].end() : t.end());
            }
            return;
        }
        if (t.end() <= caret) p = i;
        if (!next && t.start >= caret) next = i;
    }
    if (!p) {
        select(1, tags_[next ? next : 1].start);
        return;
    }
    if (!next) {
        select(tags_[p].end(), int(box.text.size()) + 1);
        return;
    }
    auto isTag = [&](const QString& name, const QString& prefix) {
        return name == prefix + tag1 || (!tag2.isEmpty() && name == prefix + tag2);
    };
    if (isTag(tags_[p].name, QString())) {
        if (const int e = parser_.iFindEnd(p, names_); e && e != p) {
            select(tags_[p].start, tags_[e].end());
            return;
        }
    }
    if (isTag(tags_[next].name, QStringLiteral("/"))) {
        if (const int s = parser_.iFindStart(next, names_)) {
            select(tags_[s].start, tags_[next].end());
            return;
        }
    }
    select(tags_[p].end(), tags_[next].start);
}

void SVGEditHTML::selectTags(NotesText& box, int i, int j) {
    undo_.PushUndo(box);
    box.selStart = tags_[i].start - 1;
    box.selLength = tags_[j].end() - tags_[i].start;
}

bool SVGEditHTML::selectionEndsInsideTag(const NotesText& box) const {
    const int end = box.selStart + box.selLength + 1;  // 1-based position after the selection
    for (int i = 1; i < tags_.size(); ++i)
        if (end > tags_[i].start && end < tags_[i].end()) return true;
    return false;
}

bool SVGEditHTML::bNeedsBreak(const NotesText& box) {
    QStringView before = QStringView(box.text).left(box.selStart);
    while (!before.isEmpty() && isBlank(before.back())) before.chop(1);
    while (!before.isEmpty() && isBlank(before.front())) before = before.mid(1);
    return !before.isEmpty() && !before.endsWith(u"<br/>") && !before.endsWith(u"<br>");
}

QString SVGEditHTML::sOtherAttributes(int iTag, const QString& sOwn) const {
    QString out;
    for (const auto& [name, value] : attributes_[iTag])
        if (!bSetMember(sOwn, name, QStringLiteral(","))) out += u' ' + name + u'=' + sQuoteAttribute(value);
    return out;
}

bool SVGEditHTML::bInsertImage(NotesText& box, QString& replacement) {
    const QString refusal = QStringLiteral("Cannot insert image part-way through another element");
    const int caret = box.selStart + 1;
    int edited = 0;
    for (int i = 1; i < tags_.size(); ++i) {
        const Tag& t = tags_[i];
        const bool image = t.name == u"img" || t.name == u"img/";
        if (t.start == caret && box.selLength > 0) {
            // A selection from a tag's "<" that does not take in the whole
            // tag would cut it in two.
            if (!image || box.selLength < t.length) {
                reporter_.warn(refusal);
                return false;
            }
            box.selLength = t.length;
            edited = i;
            break;
        }
        if (caret > t.start && caret < t.end()) {
            if (!image) {
                reporter_.warn(refusal);
                return false;
            }
            undo_.PushUndo(box);
            box.selStart = t.start;
            box.selLength = 0;
            AdjustSelection(box, QStringLiteral("img"), QString());
            return false;
        }
    }
    if (!edited && selectionEndsInsideTag(box)) {
        reporter_.warn(refusal);
        return false;
    }
    QString url, title, width, others;
    if (edited) {
        const StringDict& a = attributes_[edited];
        url = a.value(QStringLiteral("src"));
        title = a.value(QStringLiteral("alt"));
        width = a.value(QStringLiteral("width"));
        others = sOtherAttributes(edited, QStringLiteral("src,alt,width"));
    } else {
        title = box.selText();
        width = QStringLiteral("300");
    }
    if (!dialogs_.EditImage(url, title, width)) return false;
    replacement = (bNeedsBreak(box) ? QStringLiteral("<br/>") : QString()) + QStringLiteral("<img src=") +
                  sQuoteAttribute(url) + QStringLiteral(" alt=") + sQuoteAttribute(title) +
                  QStringLiteral(" width=") + sQuoteAttribute(width) + others + QStringLiteral("/>");
    return true;
}

SVGEditHTML::Found SVGEditHTML::findElement(NotesText& box, const QStringList& names, const QString& endName1,
                                            const QString& endName2, const QString& refusal, int& startTag,
                                            int& endTag) {
    const int caret = box.selStart + 1;
    const int selectionEnd = caret + box.selLength;  // 1-based position after the selection
    auto isEnd = [&](const QString& name) { return name == u'/' + endName1 || name == u'/' + endName2; };
    for (int i = 1; i < tags_.size(); ++i) {
        const Tag& t = tags_[i];
        if (t.start == caret && box.selLength > 0 && names.contains(t.name)) {
            const int e = parser_.iFindEnd(i, names_);
            if (e && e != i && tags_[e].end() == selectionEnd) {
                startTag = i;
                endTag = e;
                return Found::Edit;
            }
            if (e && e != i) selectTags(box, i, e);
            return Found::Done;
        }
        if (caret > t.start && caret < t.end()) {
            if (names.contains(t.name)) {
                if (const int e = parser_.iFindEnd(i, names_); e && e != i) selectTags(box, i, e);
            } else if (isEnd(t.name)) {
                if (const int s = parser_.iFindStart(i, names_)) selectTags(box, s, i);
            } else {
                reporter_.warn(refusal);
            }
            return Found::Done;
        }
        if (t.start > caret) {
            // The caret may stand in the text of an element of this kind.
            if (const int e = parser_.iFindEndOf(endName1, endName2, i, names_)) {
                const int s = parser_.iFindStart(e, names_);
                if (s && tags_[s].start <= caret) {
                    selectTags(box, s, e);
                    return Found::Done;
                }
            }
            // A selection that ends before this tag takes in no tag: a new
            // element goes round it.
            if (t.start >= selectionEnd && !selectionEndsInsideTag(box)) return Found::New;
            return Found::Done;
        }
    }
    if (selectionEndsInsideTag(box)) {
        reporter_.warn(refusal);
        return Found::Done;
    }
    return Found::New;
}

bool SVGEditHTML::bInsertLink(NotesText& box, QString& replacement) {
    int s = 0, e = 0;
    const Found found = findElement(box, {QStringLiteral("a")}, QStringLiteral("a"), QStringLiteral("a"),
                                    QStringLiteral("Cannot insert a link part-way through another element"), s, e);
    if (found == Found::Done) return false;
    QString text, url, target, others;
    if (found == Found::Edit) {
        text = box.text.mid(tags_[s].end() - 1, tags_[e].start - tags_[s].end());
        url = attributes_[s].value(QStringLiteral("href"));
        target = attributes_[s].value(QStringLiteral("target"));
        others = sOtherAttributes(s, QStringLiteral("href,target"));
    } else {
        text = box.selText();
        target = QStringLiteral("_blank");
    }
    if (!dialogs_.EditLink(text, url, target)) return false;
    replacement = QStringLiteral("<a href=") + sQuoteAttribute(url) + QStringLiteral(" target=") +
                  sQuoteAttribute(target) + others + u'>' + text + QStringLiteral("</a>");
    return true;
}

bool SVGEditHTML::bInsertEvent(NotesText& box, QString& replacement) {
    int s = 0, e = 0;
    const Found found =
        findElement(box, {QStringLiteral("span"), QStringLiteral("div")}, QStringLiteral("span"), QStringLiteral("div"),
                    QStringLiteral("Cannot insert event mark-up part-way through another element"), s, e);
    if (found == Found::Done) return false;
    QString date, event, type, divText, others, before, after;
    if (found == Found::Edit) {
        divText = box.text.mid(tags_[s].end() - 1, tags_[e].start - tags_[s].end());
        const StringDict& a = attributes_[s];
        date = a.value(QStringLiteral("data-start"));
        event = a.value(QStringLiteral("data-event"));
        type = a.value(QStringLiteral("data-evtype"));
        others = sOtherAttributes(s, QStringLiteral("data-start,data-event,data-evtype"));
    } else {
        // Blanks around the selection stay outside the new element.
        const QString selected = box.selText();
        qsizetype from = 0, to = selected.size();
        while (from < to && isBlank(selected[from])) ++from;
        while (to > from && isBlank(selected[to - 1])) --to;
        before = selected.left(from);
        after = selected.mid(to);
        divText = selected.mid(from, to - from);
        date = sTextToDate(divText, context_);
    }
    if (!dialogs_.EditEvent(date, event, type, divText)) return false;
    const QString element = divText.contains(u'<') ? QStringLiteral("div") : QStringLiteral("span");
    replacement = before + u'<' + element + QStringLiteral(" data-start='") + date + QStringLiteral("' data-event='") +
                  event + QStringLiteral("' data-evtype='") + type + u'\'' + others + u'>' + divText + QStringLiteral("</") +
                  element + u'>' + after;
    return true;
}
