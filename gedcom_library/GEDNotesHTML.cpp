#include "GEDNotesHTML.h"

#include "GEDDateText.h"
#include "GEDEventClass.h"
#include "GEDEventTable.h"
#include "GEDFamClass.h"
#include "GEDIndiClass.h"
#include "GEDNoteMarkup.h"
#include "GEDNoteText.h"
#include "GEDStore.h"
#include "GEDTagClass.h"
#include "TextHelpers.h"

QString sEncodeEventAttr(const QString& sValue) { return sEscapeXML(sValue); }

QString sDecodeEventAttr(const QString& sValue) { return sUnescapeXML(sValue); }

namespace {

// The sentence of one event: the head word or description, the date in
// words, the place, a full stop, then the event's own note.
QString eventText(const GEDEventClass& event, const QString& head) {
    QString text = head;
    const QString date = event.GetDate();
    if (!date.isEmpty()) text += sGetEventPhrase(date) + sGetEventDate(date);
    const QString place = event.GetPlace();
    if (!place.isEmpty()) text += QStringLiteral(" in ") + place;
    text = sAddFullStop(text);
    const QString notes = event.GetNotes();
    if (!notes.isEmpty()) text += u' ' + notes;
    return text;
}

// The element of a dated event: a span around escaped one-line text, a div
// around text that already holds mark-up or line feeds (kept to the mark-up
// a note may hold).
QString eventElement(const GEDEventClass& event, const QString& description, const QString& kind, const QString& text,
                     bool& unsafe) {
    const bool block = bHasHTMLEndTag(text) || text.contains(u'\n');
    const QString element = block ? QStringLiteral("div") : QStringLiteral("span");
    QString out = u'<' + element + QStringLiteral(" data-start='{") + sEncodeEventAttr(event.GetDate()) +
                  QStringLiteral("}' data-evtype='") + sEncodeEventAttr(kind) + QStringLiteral("' data-event='") +
                  sEncodeEventAttr(description) + QStringLiteral("' data-gtag='") +
                  sEncodeEventAttr(GEDTagClass::instance().GetTagname(event.GetType())) + u'\'';
    const QString payload = event.GetPayL();
    if (!payload.isEmpty()) out += QStringLiteral(" data-gpayl=\"") + sEncodeEventAttr(payload) + u'"';
    const QString gtype = event.GetGType();
    if (!gtype.isEmpty()) out += QStringLiteral(" data-gtype=\"") + sEncodeEventAttr(gtype) + u'"';
    out += u'>' + (block ? safeNoteMarkup(text, unsafe) : sEscapeXML(text)) + QStringLiteral("</") + element + u'>';
    return out;
}

// The record's note followed by each of its events, in line order. Mark-up
// a note may not hold is reported once for the whole file.
QString fullNotes(const GEDObject& record, const QString& ownNotes) {
    bool unsafe = false;
    QString result = sNoteTextToHTML(ownNotes, &unsafe);
    for (const GEDObject& line : record.GetData()) {
        if (line.kind() != GEDKind::Event) continue;
        const GEDEventClass event(line);
        QString kind;
        const QString description = sGetEventDescr(event.GetType(), kind);
        // An undated event has no element to carry its value (an occupation,
        // a title, a description), so the value joins its sentence rather than
        // being lost; "Y" only says that the event took place.
        QString head = description;
        const QString payload = event.GetPayL();
        if (event.GetDate().isEmpty() && !payload.isEmpty() && payload != QStringLiteral("Y"))
            head += QStringLiteral(": ") + payload;
        const QString text = eventText(event, head);
        if (!result.isEmpty()) result += QStringLiteral("\n\n");
        result += event.GetDate().isEmpty() ? sNoteTextToHTML(text, &unsafe)
                                            : eventElement(event, description, kind, text, unsafe);
    }
    if (unsafe) record.store()->reportUnsafeNotes(record.node());
    result.replace(QChar(u'\n'), QStringLiteral("<br/>\n"));
    return result;
}

}  // namespace

QString GEDIndiClass::GetFullNotes() const { return isNull() ? QString() : fullNotes(*this, GetNotes()); }

QString GEDIndiClass::GetBriefNotes() const {
    if (isNull()) return QString();
    const GEDEventClass birth = GetBirth();
    const GEDEventClass death = GetDeath();
    if (birth.isNull() && death.isNull()) return sStripHTML(GetNotes());
    QString text;
    if (!birth.isNull()) text = eventText(birth, QStringLiteral("Born"));
    if (!death.isNull()) {
        if (!text.isEmpty()) text += QStringLiteral("\n\n");
        text += eventText(death, QStringLiteral("Died"));
    }
    return sStripHTML(text);
}

QString GEDFamClass::GetFullNotes() const { return isNull() ? QString() : fullNotes(*this, GetNotes()); }

QString GEDFamClass::GetBriefNotes() const {
    if (isNull()) return QString();
    const GEDEventClass marriage = GetMarriage();
    return sStripHTML(marriage.isNull() ? GetNotes() : eventText(marriage, QStringLiteral("Married")));
}
