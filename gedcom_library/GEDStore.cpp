#include "GEDStore.h"

#include <algorithm>

#include "AppError.h"
#include "GEDControlClass.h"
#include "GEDDateText.h"
#include "GEDEventTable.h"
#include "GEDTagClass.h"
#include "StringSets.h"

namespace {

const QString kUnknownPerson = QStringLiteral("(Unknown Person)");

// A Boolean field of an extension line: "True"/"False" in any letter case, or a number.
bool parseBool(QStringView field, bool& ok) {
    const QStringView f = field.trimmed();
    ok = true;
    if (f.compare(u"true", Qt::CaseInsensitive) == 0) return true;
    if (f.compare(u"false", Qt::CaseInsensitive) == 0) return false;
    const double v = f.toDouble(&ok);
    return ok && v != 0.0;
}

// A line the family link tables are read from.
bool isLinkLine(const GEDStore::Node& n) {
    return n.kind == GEDKind::Other && (n.tag == GEDTag::FAMC || n.tag == GEDTag::FAMS || n.tag == GEDTag::CHIL ||
                                        n.tag == GEDTag::HUSB || n.tag == GEDTag::WIFE);
}

[[noreturn]] void raiseBadExtension(const QString& source, short tag, QStringView payload) {
    raiseError(GEDError::Syntax, source,
               QStringLiteral("Invalid %1 value: %2").arg(GEDTagClass::instance().GetTagname(tag), payload.toString()));
}

}  // namespace

GEDStore::GEDStore() {
    nodes.emplace_back();  // node 0: the document
}

bool GEDStore::inArena(QStringView v) const {
    const char16_t* p = v.utf16();
    return !v.isEmpty() && p >= text.data() && p < text.data() + text.size();
}

qint32 GEDStore::newNode(GEDKind kind, short tag, QStringView payload) {
    // A payload taken from the text store itself is copied first: adding to
    // the store may move it.
    if (inArena(payload)) return newNode(kind, tag, QString(payload.toString()));
    const auto payOff = static_cast<quint32>(text.size());
    appendText(payload);
    return newNodeAt(kind, tag, payOff, static_cast<quint32>(payload.size()));
}

void GEDStore::setPayLength(qint32 n, quint32 length) {
    Node& nd = node(n);
    if (length < kLongPayload) {
        if (nd.payLen == kLongPayload) longPayloads.remove(n);
        nd.payLen = static_cast<quint16>(length);
    } else {
        nd.payLen = kLongPayload;
        longPayloads.insert(n, length);
    }
}

qint32 GEDStore::newNodeAt(GEDKind kind, short tag, quint32 payOff, quint32 payLen) {
    Node n;
    n.kind = kind;
    n.tag = static_cast<quint8>(tag);
    n.payOff = payOff;
    n.payLen = static_cast<quint16>(std::min<quint32>(payLen, kLongPayload));
    n.ext = -2;
    if (kind == GEDKind::Indi) {
        n.ext = static_cast<qint32>(indis.size());
        indis.emplace_back();
        places.emplace_back();
        indis.back().node = static_cast<qint32>(nodes.size());
    } else if (kind == GEDKind::Fam) {
        n.ext = static_cast<qint32>(fams.size());
        fams.emplace_back();
        fams.back().node = static_cast<qint32>(nodes.size());
    } else if (kind == GEDKind::Event) {
        n.ext = static_cast<qint32>(events.size());
        events.emplace_back();
    }
    nodes.push_back(n);
    const auto number = static_cast<qint32>(nodes.size() - 1);
    if (payLen >= kLongPayload) longPayloads.insert(number, payLen);
    return number;
}

void GEDStore::appendText(QStringView value) {
    // The added units are written once: the text store's allocator leaves
    // the units it adds as they are.
    const std::size_t at = text.size();
    text.resize(at + static_cast<std::size_t>(value.size()));
    std::copy(value.utf16(), value.utf16() + value.size(), text.data() + at);
}

GEDStore::TextSlice GEDStore::keepText(QStringView value) {
    // A text taken from the store itself is copied first: adding to the
    // store may move it.
    if (inArena(value)) return keepText(value.toString());
    const TextSlice slice{static_cast<quint32>(text.size()), static_cast<quint32>(value.size())};
    appendText(value);
    return slice;
}

QStringView GEDStore::payloadView(qint32 n) const {
    const Node& nd = node(n);
    return QStringView(text.data() + nd.payOff, static_cast<qsizetype>(payLength(n)));
}

void GEDStore::setPayload(qint32 n, QStringView value) {
    if (inArena(value)) return setPayload(n, QString(value.toString()));
    Node& nd = node(n);
    // Lines may share their text (see newNodeAt): a new value goes to the end.
    if (!value.isEmpty()) {
        nd.payOff = static_cast<quint32>(text.size());
        appendText(value);
    }
    setPayLength(n, static_cast<quint32>(value.size()));
    if (nd.kind == GEDKind::Other) nd.ext = -2;
    if (isLinkLine(nd)) links.current = false;
}

QList<qint32> GEDStore::children(qint32 n) const {
    if (n == 0) return records;
    QList<qint32> out;
    for (qint32 c = node(n).firstChild; c >= 0; c = node(c).next) out.append(c);
    return out;
}

void GEDStore::relink(qint32 n, const QList<qint32>& kids) { relink(n, kids.constData(), kids.size()); }

void GEDStore::relink(qint32 n, const qint32* kids, qsizetype count) {
    Node& parent = node(n);
    if (parent.kind == GEDKind::Indi || parent.kind == GEDKind::Fam) links.current = false;
    parent.firstChild = count == 0 ? -1 : kids[0];
    lastChildren[static_cast<std::size_t>(n) % kLastChildren] = {n, count == 0 ? -1 : kids[count - 1]};
    for (qsizetype i = 0; i < count; ++i) node(kids[i]).next = i + 1 < count ? kids[i + 1] : -1;
}

void GEDStore::appendChild(qint32 parent, qint32 child) {
    node(child).next = -1;
    Node& p = node(parent);
    if ((p.kind == GEDKind::Indi || p.kind == GEDKind::Fam) && isLinkLine(node(child))) links.current = false;
    const qint32 last = lastChildOf(parent);
    if (last < 0)
        p.firstChild = child;
    else
        node(last).next = child;
    lastChildren[static_cast<std::size_t>(parent) % kLastChildren] = {parent, child};
}

qint32 GEDStore::lastChildOf(qint32 parent) {
    const LastChild& known = lastChildren[static_cast<std::size_t>(parent) % kLastChildren];
    if (known.parent == parent) return known.last;
    qint32 last = node(parent).firstChild;
    if (last < 0) return -1;
    while (node(last).next >= 0) last = node(last).next;
    return last;
}

qint32 GEDStore::firstChildOf(qint32 n, GEDKind kind, short tag) const {
    if (n == 0) {
        for (qint32 r : records)
            if (node(r).kind == kind && (tag == 0 || node(r).tag == tag)) return r;
        return -1;
    }
    for (qint32 c = node(n).firstChild; c >= 0; c = node(c).next)
        if (node(c).kind == kind && (tag == 0 || node(c).tag == tag)) return c;
    return -1;
}

void GEDStore::addData(qint32 parent, qint32 child) {
    Node& p = node(parent);
    const Node& c = node(child);
    switch (p.kind) {
    case GEDKind::Other:
        // Lines of tags the table does not know are dropped with everything below them.
        if (c.tag == 0) return;
        break;
    case GEDKind::SVG:
        // Extension lines carry no child lines.
        return;
    case GEDKind::Event: {
        Event& ev = events[static_cast<std::size_t>(p.ext)];
        if (c.kind == GEDKind::Other) {
            if (c.tag == GEDTag::DATE) ev.date = child;
            else if (c.tag == GEDTag::PLAC) ev.place = child;
            else if (c.tag == GEDTag::TYPE) ev.gtype = child;
        }
        break;
    }
    case GEDKind::Indi: {
        Indi& ind = indis[static_cast<std::size_t>(p.ext)];
        if (c.kind == GEDKind::Event) {
            if (c.tag == GEDTag::BIRT) ind.birth = child;
            else if (c.tag == GEDTag::DEAT) ind.death = child;
        } else if (c.kind == GEDKind::Other && c.tag == GEDTag::SEX) {
            const QStringView v = payloadView(child);
            static const QString codes[] = {QStringLiteral("m"), QStringLiteral("f"), QStringLiteral("x"), QStringLiteral("u")};
            const QChar s = v.isEmpty() ? QChar(u'u') : v.front().toLower();
            // Anything but the four sex codes reads as unknown.
            ind.sex = s == u'm' ? codes[0] : s == u'f' ? codes[1] : s == u'x' ? codes[2] : codes[3];
        } else if (c.kind == GEDKind::Other && c.tag == GEDTag::NAME) {
            normalisePersonalName(payloadView(child), scratch.name);
            offerPersonalName(p.ext, QStringView(scratch.name));
            nameFromPieces(child, scratch.pieces);
            offerPersonalName(p.ext, QStringView(scratch.pieces));
        } else if (c.kind == GEDKind::SVG && c.tag == GEDTag::SVG_P) {
            const QList<QStringView> f = payloadView(child).split(u',');
            bool okC = false, okR = false, okT = false;
            const int col = f.size() >= 3 ? f[0].trimmed().toInt(&okC) : 0;
            const int row = f.size() >= 3 ? f[1].trimmed().toInt(&okR) : 0;
            const bool tent = f.size() >= 3 ? parseBool(f[2], okT) : false;
            if (!okC || !okR || !okT) raiseBadExtension(QStringLiteral("GEDIndiClass"), c.tag, payloadView(child));
            Place& place = places[static_cast<std::size_t>(p.ext)];
            place.col = col;
            place.row = row;
            ind.tentative = tent;
            if (col > maxCol) maxCol = static_cast<short>(col);
            if (row > maxRow) maxRow = static_cast<short>(row);
        } else if (c.kind == GEDKind::SVG && c.tag == GEDTag::SVG_LS) {
            QString& settings = extraOf(p.ext).localSettings;
            settings = sSetJoin(settings, payload(child), QStringLiteral(","));
        }
        break;
    }
    case GEDKind::Fam: {
        Fam& fam = fams[static_cast<std::size_t>(p.ext)];
        if (c.kind == GEDKind::Event && c.tag == GEDTag::MARR) {
            fam.marriage = child;
        } else if (c.kind == GEDKind::SVG && c.tag == GEDTag::SVG_F) {
            const QList<QStringView> f = payloadView(child).split(u',');
            bool okM = false, okL = false;
            const bool more = f.size() >= 2 ? parseBool(f[0], okM) : false;
            const bool liaison = f.size() >= 2 ? parseBool(f[1], okL) : false;
            if (!okM || !okL) raiseBadExtension(QStringLiteral("GEDFamClass"), c.tag, payloadView(child));
            fam.moreChildren = more;
            fam.liaison = liaison;
        } else if (c.kind == GEDKind::SVG && c.tag == GEDTag::SVG_LS) {
            fam.localSettings = sSetJoin(fam.localSettings, payload(child), QStringLiteral(","));
        }
        break;
    }
    case GEDKind::None:
        addRecord(child);
        return;
    }
    appendChild(parent, child);
}

void GEDStore::addRecord(qint32 rec) {
    const Node& r = node(rec);
    if (r.kind == GEDKind::Fam) {
        ++countFamilies;
        links.current = false;
    } else if (r.kind == GEDKind::Indi) {
        ++countPersons;
        links.current = false;
    } else if (r.kind == GEDKind::Other && r.tag == GEDTag::HEAD) {
        head = rec;
        const qint32 sour = firstChildOf(rec, GEDKind::Other, GEDTag::SOUR);
        if (sour >= 0 && payloadView(sour) == u"Kvora") {
            exportedBySystem = true;
            positionsComplete = true;
        }
    }
    records.append(rec);
}

QString GEDStore::xrefOf(qint32 n) const {
    const Node& nd = node(n);
    switch (nd.kind) {
    case GEDKind::Indi: return xrefText(indis[static_cast<std::size_t>(nd.ext)].xref);
    case GEDKind::Fam: return xrefText(fams[static_cast<std::size_t>(nd.ext)].xref);
    case GEDKind::Other: {
        const auto row = otherXrefRows.constFind(n);
        return row == otherXrefRows.constEnd() ? QString() : otherXrefs[*row];
    }
    default: return QString();
    }
}

QString GEDStore::xrefText(qint32 entry) const { return entry < 0 ? QString() : xrefs.keyAt(entry).toString(); }

bool GEDStore::registerXref(QStringView id, qint32 n) {
    const qint32 entry = xrefs.add(id, n);
    if (entry < 0) return false;
    Node& nd = node(n);
    if (nd.kind == GEDKind::Indi) {
        indis[static_cast<std::size_t>(nd.ext)].xref = entry;
    } else if (nd.kind == GEDKind::Fam) {
        fams[static_cast<std::size_t>(nd.ext)].xref = entry;
    } else if (nd.kind == GEDKind::Other) {
        otherXrefRows.insert(n, static_cast<qint32>(otherXrefs.size()));
        otherXrefs.append(id.toString());
    } else {
        spareXrefs.append(id.toString());
    }
    return true;
}

namespace {
// The kind of record a line of the given tag points to (None for a tag that
// takes no pointer) and the tag that record must have (0 for any).
GEDKind pointedKind(short tag, short& wantedTag) {
    wantedTag = 0;
    switch (tag) {
    case GEDTag::FAMC:
    case GEDTag::FAMS: return GEDKind::Fam;
    case GEDTag::CHIL:
    case GEDTag::HUSB:
    case GEDTag::WIFE: return GEDKind::Indi;
    case GEDTag::NOTE:
    case GEDTag::OBJE: wantedTag = tag; return GEDKind::Other;
    default: return GEDKind::None;
    }
}
}  // namespace

qint32 GEDStore::resolve(QStringView pointer, GEDKind kind, short tag) {
    if (!isPointer(pointer)) return -1;
    return judgeTarget(pointer, lookup(pointer.mid(1, pointer.size() - 2)), kind, tag);
}

qint32 GEDStore::judgeTarget(QStringView pointer, qint32 n, GEDKind kind, short tag) {
    if (n >= 0 && node(n).kind == kind && (tag == 0 || node(n).tag == tag)) return n;
    const QStringView id = pointer.mid(1, pointer.size() - 2);
    if (!reportedIds.contains(borrowed(id))) {
        reportedIds.insert(id.toString());
        if (n < 0)
            reportMsg(QStringLiteral("Undefined cross-reference ID: ") + pointer.toString(), true);
        else
            reportMsg(QStringLiteral("Cross-reference ID names a record of the wrong type: ") + pointer.toString(), true);
    }
    return -1;
}

qint32 GEDStore::resolveLine(qint32 line) {
    if (node(line).ext != -2) return node(line).ext;
    short wanted = 0;
    const GEDKind kind = pointedKind(node(line).tag, wanted);
    const qint32 target = kind == GEDKind::None ? -1 : resolve(payloadView(line), kind, wanted);
    node(line).ext = target;
    return target;
}

qint32 GEDStore::query(qint32 start, const QString& path) const {
    if (path.isEmpty()) return start;
    qint32 current = start;
    for (const QString& step : path.split(u',')) {
        const qsizetype colon = step.indexOf(u':');
        const QString kindName = colon < 0 ? step : step.left(colon);
        short tag = 0;
        if (colon >= 0 && colon + 1 < step.size()) {
            tag = GEDTagClass::instance().GetTag(step.mid(colon + 1).toUpper());
            if (tag == 0) return -1;
        }
        GEDKind kind = GEDKind::None;
        if (kindName == u"Other") kind = GEDKind::Other;
        else if (kindName == u"Event") kind = GEDKind::Event;
        else if (kindName == u"Indi") kind = GEDKind::Indi;
        else if (kindName == u"Fam") kind = GEDKind::Fam;
        else if (kindName == u"SVG") kind = GEDKind::SVG;
        if (kind == GEDKind::None) return -1;
        // Individuals and families carry no tag code, so a tag never matches them.
        if (tag != 0 && (kind == GEDKind::Indi || kind == GEDKind::Fam)) return -1;
        current = firstChildOf(current, kind, tag);
        if (current < 0) return -1;
    }
    return current;
}

QString GEDStore::notesOf(qint32 n) {
    QString result;
    for (qint32 c = node(n).firstChild; c >= 0; c = node(c).next) {
        if (node(c).kind != GEDKind::Other || node(c).tag != GEDTag::NOTE) continue;
        qint32 line = c;
        QList<qint32> followed;
        while (line >= 0 && isPointer(payloadView(line))) {
            const qint32 target = resolveLine(line);
            // A chain that comes back to a record it passed ends there.
            if (target >= 0 && followed.contains(target)) line = -1;
            else line = target;
            followed.append(target);
        }
        if (line < 0 || payLength(line) == 0) continue;
        const QStringView s = payloadView(line);
        if (!result.isEmpty()) result += QStringLiteral("\n\n");
        result += s;
    }
    while (result.endsWith(u'\n')) result.chop(1);
    return result;
}

QString GEDStore::version() {
    if (versionText.isEmpty() && head >= 0) {
        const qint32 vers = query(head, QStringLiteral("Other:GEDC,Other:VERS"));
        if (vers >= 0) versionText = payload(vers).toUpper();
    }
    return versionText;
}

void GEDStore::reportMsg(const QString& msg, bool warning) const {
    if (control) control->ReportMsg(msg, warning);
}

void GEDStore::reportUnsafeNotes(qint32 n) {
    if (unsafeNotesReported) return;
    unsafeNotesReported = true;
    reportMsg(QStringLiteral("Warning, notes in this GEDCOM file hold mark-up that notes do not need, such as scripts, "
                             "styles, event handlers or links that are no web or mail addresses; it is shown as text "
                             "or left out (first in the notes of @") +
                  xrefOf(n) + QStringLiteral("@)"),
              true);
}

bool GEDStore::isEventTag(short tag) { return bIsEventTag(tag); }

bool GEDStore::isYesOnlyEventTag(short tag) {
    // Events whose GEDCOM line value is only "Y" or nothing (the first 32 of the
    // event table); the others carry a descriptor as their value.
    static const auto table = [] {
        std::vector<bool> yes(GEDTag::Count, false);
        const char* const names[] = {"BIRT", "CHR",  "DEAT", "BURI", "CREM", "ADOP", "BAPM", "BARM",
                                     "BASM", "BLES", "CHRA", "CONF", "FCOM", "ORDN", "NATU", "EMIG",
                                     "IMMI", "PROB", "WILL", "GRAD", "RETI", "ANUL", "CENS", "DIV",
                                     "DIVF", "ENGA", "MARB", "MARC", "MARR", "MARL", "MARS", "RESI"};
        for (const char* name : names) yes[static_cast<std::size_t>(GEDTagClass::instance().GetTag(QString::fromLatin1(name)))] = true;
        return yes;
    }();
    return tag > 0 && tag < GEDTag::Count && table[static_cast<std::size_t>(tag)];
}

QString GEDStore::normalisePersonalName(QString s) {
    std::u16string out;
    normalisePersonalName(s, out);
    return QString::fromStdU16String(out);
}

void GEDStore::normalisePersonalName(QStringView s, std::u16string& out) {
    // Tabs count as blanks; runs of blanks are one blank; the pieces between
    // "/" signs, trimmed, are joined by single blanks, every second piece (the
    // surname) between "/" signs.
    out.clear();
    bool inside = false;
    for (QStringView piece : s.tokenize(u'/')) {
        qsizetype b = 0, e = piece.size();
        const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
        while (b < e && blank(piece[b])) ++b;
        while (e > b && blank(piece[e - 1])) --e;
        if (b < e) {
            if (!out.empty()) out += u' ';
            if (inside) out += u'/';
            bool lastBlank = false;
            for (qsizetype i = b; i < e; ++i) {
                if (blank(piece[i])) {
                    if (!lastBlank) out += u' ';
                    lastBlank = true;
                } else {
                    out += piece[i].unicode();
                    lastBlank = false;
                }
            }
            if (inside) out += u'/';
        }
        inside = !inside;
    }
}

QString GEDStore::nameFromPieces(qint32 nameLine) const {
    std::u16string out;
    nameFromPieces(nameLine, out);
    return QString::fromStdU16String(out);
}

void GEDStore::nameFromPieces(qint32 nameLine, std::u16string& out) const {
    enum { Npfx, Givn, Nick, Spfx, Surn, Nsfx, Pieces };
    QStringView piece[Pieces];
    for (qint32 c = node(nameLine).firstChild; c >= 0; c = node(c).next) {
        if (node(c).kind != GEDKind::Other) continue;
        switch (node(c).tag) {
        case GEDTag::NPFX: piece[Npfx] = payloadView(c); break;
        case GEDTag::GIVN: piece[Givn] = payloadView(c); break;
        case GEDTag::NICK: piece[Nick] = payloadView(c); break;
        case GEDTag::SPFX: piece[Spfx] = payloadView(c); break;
        case GEDTag::SURN: piece[Surn] = payloadView(c); break;
        case GEDTag::NSFX: piece[Nsfx] = payloadView(c); break;
        default: break;
        }
    }
    out.clear();
    for (int i = 0; i < Pieces; ++i) {
        if (piece[i].isEmpty()) continue;
        if (!out.empty()) out += u' ';
        const char16_t mark = i == Nick ? u'"' : i == Surn ? u'/' : u'\0';
        if (mark) out += mark;
        out.append(piece[i].utf16(), static_cast<std::size_t>(piece[i].size()));
        if (mark) out += mark;
    }
}

void GEDStore::offerPersonalName(qint32 row, QStringView name) {
    if (name.isEmpty()) return;
    // `name` is held by the caller, never by the text store; what is built
    // from the store's own texts goes through a buffer before it is kept,
    // since keeping a text may move the store.
    std::u16string& joined = scratch.joined;
    if (indis[static_cast<std::size_t>(row)].name.length == 0) {
        joined.clear();
        for (QChar c : name)
            if (c != u'/') joined += c.unicode();
        indis[static_cast<std::size_t>(row)].name = keepText(QStringView(joined));
    }
    const QStringView names = textView(indis[static_cast<std::size_t>(row)].personalNames);
    if (name.contains(u'|')) {
        const QString updated = sSetUnion(names.toString(), name.toString(), QStringLiteral("|"));
        if (updated == names) return;
        indis[static_cast<std::size_t>(row)].personalNames = keepText(updated);
        return;
    }
    if (names.isEmpty()) {
        indis[static_cast<std::size_t>(row)].personalNames = keepText(name);
        return;
    }
    // One name: added unless it is already one of the names.
    for (QStringView known : names.tokenize(u'|'))
        if (known == name) return;
    joined.assign(names.utf16(), static_cast<std::size_t>(names.size()));
    joined += u'|';
    joined.append(name.utf16(), static_cast<std::size_t>(name.size()));
    indis[static_cast<std::size_t>(row)].personalNames = keepText(QStringView(joined));
}

// ---------------------------------------------------------------------------
// The records' own algorithms

QString GEDStore::sortKeyOfEvent(qint32 ev) {
    if (ev < 0) return QStringLiteral("??");
    const qint32 date = events[static_cast<std::size_t>(node(ev).ext)].date;
    return sDateSortKey(date < 0 ? QString() : payload(date));
}

void GEDStore::computeEventRanks() {
    // Dates repeat: each distinct date text gets its key computed once. The
    // keys are then put in order once, so that the sorts of the load compare
    // whole numbers: equal keys get the same rank, and ranks follow the
    // keys' own order.
    GEDBigVector<QString> keys;
    keys.reserve(dateTexts.size() + 1);
    keys.push_back(QStringLiteral("??"));
    GEDBigVector<qint32> keyOfText(dateTexts.size(), -1);
    eventRanks.assign(events.size(), 0);
    for (std::size_t row = 0; row < events.size(); ++row) {
        const qint32 date = events[row].date;
        if (date < 0) continue;
        const qint32 text = node(date).tag == GEDTag::DATE ? node(date).ext : -2;
        if (text < 0) {
            eventRanks[row] = static_cast<qint32>(keys.size());
            keys.push_back(sDateSortKey(payload(date)));
            continue;
        }
        qint32& key = keyOfText[static_cast<std::size_t>(text)];
        if (key < 0) {
            key = static_cast<qint32>(keys.size());
            keys.push_back(sDateSortKey(dateTexts[static_cast<std::size_t>(text)]));
        }
        eventRanks[row] = key;
    }
    // The keys are put in order by their first eight units, packed so that
    // whole numbers compare as the texts do, and by the whole texts only
    // where those are the same: a sort that reads the keys' own memory for
    // every comparison costs a cache miss each on a large file.
    struct Sortable {
        quint64 head[2];
        qint32 key;
    };
    GEDBigVector<Sortable> order(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        Sortable& s = order[k];
        s.head[0] = s.head[1] = 0;
        s.key = static_cast<qint32>(k);
        const QString& key = keys[k];
        for (qsizetype i = 0; i < std::min<qsizetype>(key.size(), 8); ++i)
            s.head[i / 4] |= quint64(key[i].unicode()) << (16 * (3 - i % 4));
    }
    std::sort(order.begin(), order.end(), [&keys](const Sortable& a, const Sortable& b) {
        if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
        return keys[static_cast<std::size_t>(a.key)] < keys[static_cast<std::size_t>(b.key)];
    });
    std::vector<qint32> rankOfKey(keys.size());
    rankKeys.clear();
    for (const Sortable& sorted : order) {
        const qint32 k = sorted.key;
        if (rankKeys.empty() || rankKeys.back() != keys[static_cast<std::size_t>(k)])
            rankKeys.push_back(keys[static_cast<std::size_t>(k)]);
        // Odd ranks for the keys met here; the even ones between them are
        // left for a key met later (see rankOfKey).
        rankOfKey[static_cast<std::size_t>(k)] = static_cast<qint32>(2 * rankKeys.size() - 1);
    }
    for (qint32& rank : eventRanks) rank = rankOfKey[static_cast<std::size_t>(rank)];
    unknownRank = rankOfKey[0];
}

qint32 GEDStore::rankOf(const QString& key) const {
    const auto at = std::lower_bound(rankKeys.begin(), rankKeys.end(), key);
    const auto index = static_cast<qint32>(at - rankKeys.begin());
    return at != rankKeys.end() && *at == key ? 2 * index + 1 : 2 * index;
}

qint32 GEDStore::rankOfEvent(qint32 ev) {
    if (ev < 0) return unknownRank;
    const auto row = static_cast<std::size_t>(node(ev).ext);
    return row < eventRanks.size() ? eventRanks[row] : rankOf(sortKeyOfEvent(ev));
}

void GEDStore::correctPayload(qint32 ev) {
    if (payLength(ev) <= 1 || !isYesOnlyEventTag(node(ev).tag)) return;
    const qint32 note = newNode(GEDKind::Other, GEDTag::NOTE, payloadView(ev));
    setPayload(ev, QStringView());
    addData(ev, note);
}

// Sorts the lines at the given positions of a child list by their keys, in
// ascending order; lines of equal keys keep their order. Lines at other
// positions stay where they are. When given, `carried` (one entry per
// position) is put in the same order.
template <class List, class Key>
void GEDStore::sortAtPositions(List& kids, const std::vector<qsizetype>& positions, const std::vector<Key>& keys,
                               std::vector<qint32>* carried) {
    GEDBigVector<qsizetype>& order = scratch.order;
    order.resize(positions.size());
    if constexpr (std::is_same_v<Key, qint32>) {
        // Whole-number keys (ranks) are sorted with their positions in one
        // number each: the sort then reads no memory of its own beside it.
        GEDBigVector<quint64>& packed = scratch.packed;
        packed.resize(positions.size());
        bool sorted = true;
        for (std::size_t i = 0; i < packed.size(); ++i) {
            packed[i] = (quint64(quint32(keys[i]) ^ 0x80000000u) << 32) | quint64(i);
            sorted = sorted && (i == 0 || packed[i - 1] < packed[i]);
        }
        if (sorted) return;
        std::sort(packed.begin(), packed.end());
        for (std::size_t i = 0; i < packed.size(); ++i) order[i] = static_cast<qsizetype>(packed[i] & 0xFFFFFFFFu);
    } else {
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<qsizetype>(i);
        // Equal keys keep their order by position, so that the sort is stable
        // without the buffer a stable sort would ask the heap for each time.
        const auto before = [&keys](qsizetype a, qsizetype b) {
            const Key& keyA = keys[static_cast<std::size_t>(a)];
            const Key& keyB = keys[static_cast<std::size_t>(b)];
            return keyA < keyB || (!(keyB < keyA) && a < b);
        };
        if (std::is_sorted(order.begin(), order.end(), before)) return;
        std::sort(order.begin(), order.end(), before);
    }
    std::vector<qint32>& lines = scratch.lines;
    lines.resize(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) lines[i] = kids[positions[i]];
    for (std::size_t i = 0; i < positions.size(); ++i) kids[positions[i]] = lines[static_cast<std::size_t>(order[i])];
    if (!carried) return;
    lines.assign(carried->begin(), carried->end());
    for (std::size_t i = 0; i < positions.size(); ++i) (*carried)[i] = lines[static_cast<std::size_t>(order[i])];
}

// The child lines of a record in a reused list.
std::vector<qint32>& GEDStore::childrenInScratch(qint32 rec) {
    std::vector<qint32>& kids = scratch.kids;
    kids.clear();
    for (qint32 c = node(rec).firstChild; c >= 0; c = node(c).next) kids.push_back(c);
    return kids;
}

// Sorts the child lines of a record that `take` accepts (it adds the key of
// each to `keys`), leaving the others where they are.
template <class Key, class Take>
void GEDStore::sortLinesBy(qint32 rec, std::vector<Key>& keys, Take take) {
    std::vector<qint32>& kids = childrenInScratch(rec);
    std::vector<qsizetype>& positions = scratch.positions;
    positions.clear();
    keys.clear();
    for (std::size_t i = 0; i < kids.size(); ++i)
        if (take(kids[i])) positions.push_back(static_cast<qsizetype>(i));
    if (positions.size() < 2) return;
    sortAtPositions(kids, positions, keys);
    relink(rec, kids.data(), static_cast<qsizetype>(kids.size()));
}

template <class Key, class KeyOf>
void GEDStore::sortEventsBy(qint32 rec, std::vector<Key>& keys, KeyOf keyOf) {
    sortLinesBy(rec, keys, [&](qint32 line) {
        if (node(line).kind != GEDKind::Event) return false;
        correctPayload(line);
        keys.push_back(keyOf(line));
        return true;
    });
}

template <class Key, class KeyOf>
void GEDStore::sortChildrenBy(qint32 fam, std::vector<Key>& keys, KeyOf keyOf) {
    sortLinesBy(fam, keys, [&](qint32 line) {
        if (node(line).kind != GEDKind::Other || node(line).tag != GEDTag::CHIL) return false;
        const qint32 child = resolveLine(line);
        keys.push_back(keyOf(child < 0 ? -1 : indis[static_cast<std::size_t>(node(child).ext)].birth));
        return true;
    });
}

void GEDStore::sortEvents(qint32 rec) {
    // While the load finishes, by the events' ranks; afterwards by their keys.
    if (!eventRanks.empty())
        sortEventsBy(rec, scratch.ranks, [this](qint32 ev) { return rankOfEvent(ev); });
    else
        sortEventsBy(rec, scratch.keys, [this](qint32 ev) { return sortKeyOfEvent(ev); });
}

void GEDStore::sortChildren(qint32 fam) {
    if (!eventRanks.empty())
        sortChildrenBy(fam, scratch.ranks, [this](qint32 ev) { return rankOfEvent(ev); });
    else
        sortChildrenBy(fam, scratch.keys, [this](qint32 ev) { return sortKeyOfEvent(ev); });
}

void GEDStore::checkFAMC(qint32 indi) {
    enum { Natural, Adopted, Foster, Kinds };
    qint32 chosen[Kinds] = {-1, -1, -1};
    for (qint32 c = node(indi).firstChild; c >= 0; c = node(c).next) {
        if (node(c).kind != GEDKind::Other || node(c).tag != GEDTag::FAMC) continue;
        const qint32 pedi = firstChildOf(c, GEDKind::Other, GEDTag::PEDI);
        int kind = Kinds;
        const QStringView p = pedi < 0 ? QStringView() : payloadView(pedi);
        if (pedi < 0 || p.compare(u"birth", Qt::CaseInsensitive) == 0) kind = Natural;
        else if (p.compare(u"adopted", Qt::CaseInsensitive) == 0) kind = Adopted;
        else if (p.compare(u"foster", Qt::CaseInsensitive) == 0) kind = Foster;
        if (kind == Kinds || chosen[kind] >= 0) continue;
        chosen[kind] = resolveLine(c);
    }
    Indi& ind = indis[static_cast<std::size_t>(node(indi).ext)];
    for (int kind = Natural; kind < Kinds; ++kind) {
        if (chosen[kind] < 0) continue;
        if (ind.famc != chosen[kind]) links.current = false;
        ind.famc = chosen[kind];
        if (kind != Natural) {
            ind.adopted = true;
            // The family counts an adopted or foster child among its children,
            // once, unless it lists the child already.
            const QString pointer = u'@' + xrefText(ind.xref) + u'@';
            bool listed = false;
            for (qint32 c = node(ind.famc).firstChild; c >= 0 && !listed; c = node(c).next)
                listed = node(c).tag == GEDTag::CHIL && payloadView(c) == pointer;
            if (!listed) addData(ind.famc, newNode(GEDKind::Other, GEDTag::CHIL, pointer));
        }
        return;
    }
}

qint32 GEDStore::partner(qint32 fam, short tag) {
    for (qint32 c = node(fam).firstChild; c >= 0; c = node(c).next) {
        if (node(c).kind != GEDKind::Other || node(c).tag != tag) continue;
        const qint32 person = resolveLine(c);
        if (person >= 0) return person;
    }
    return -1;
}

QList<qint32> GEDStore::pointedRecords(qint32 rec, short tag, GEDKind kind) {
    QList<qint32> out;
    for (qint32 c = node(rec).firstChild; c >= 0; c = node(c).next) {
        if (node(c).kind != GEDKind::Other || node(c).tag != tag) continue;
        const qint32 target = resolveLine(c);
        if (target >= 0 && node(target).kind == kind) out.append(target);
    }
    return out;
}

qint32 GEDStore::createPerson(const QString& sex) {
    qint32 number = countPersons + 1;
    QString id = QStringLiteral("Missing%1").arg(number);
    // The file may use such identifiers itself, for a record or in a pointer
    // to none: take the next free number.
    while (xrefs.contains(id) || reportedIds.contains(id)) id = QStringLiteral("Missing%1").arg(++number);
    const qint32 n = newNode(GEDKind::Indi, GEDTag::INDI, QStringView());
    Indi& ind = indis[static_cast<std::size_t>(node(n).ext)];
    ind.sex = sex;
    ind.name = keepText(kUnknownPerson);
    registerXref(id, n);
    addRecord(n);
    return n;
}

void GEDStore::checkParents(qint32 fam) {
    const qint32 husb = partner(fam, GEDTag::HUSB);
    const qint32 wife = partner(fam, GEDTag::WIFE);
    const auto addPlaceholder = [&](short tag, const QString& sex) {
        const qint32 person = createPerson(sex);
        addData(fam, newNode(GEDKind::Other, tag, QString(u'@' + xrefOf(person) + u'@')));
        addData(person, newNode(GEDKind::Other, GEDTag::FAMS, QString(u'@' + xrefOf(fam) + u'@')));
    };
    if (husb < 0) addPlaceholder(GEDTag::HUSB, QStringLiteral("m"));
    if (wife < 0) addPlaceholder(GEDTag::WIFE, QStringLiteral("f"));
}

QString GEDStore::relatedSpouses(qint32 indi) {
    Indi& self = indis[static_cast<std::size_t>(node(indi).ext)];
    if (self.relatedSpouses != u"-") return self.relatedSpouses;
    QList<qint32> group{indi};
    QSet<qint32> members{indi};
    for (qsizetype done = 0; done < group.size();) {
        const qsizetype passEnd = group.size();
        for (; done < passEnd; ++done) {
            for (qint32 fam : pointedRecords(group[done], GEDTag::FAMS, GEDKind::Fam)) {
                for (short tag : {GEDTag::HUSB, GEDTag::WIFE}) {
                    const qint32 p = partner(fam, tag);
                    if (p >= 0 && !members.contains(p)) {
                        members.insert(p);
                        group.append(p);
                    }
                }
            }
        }
    }
    QStringList ids;
    for (qint32 p : group) ids.append(xrefOf(p));
    const QString list = ids.join(u',');
    for (qint32 p : group) indis[static_cast<std::size_t>(node(p).ext)].relatedSpouses = list;
    return list;
}

void GEDStore::checkPointers() {
    // What resolveLine does for every line, with the pointers looked up in
    // batches in line order: the identifier index then fetches the memory
    // of many look-ups at once.
    constexpr qsizetype kBatch = 64;
    qint32 lines[kBatch];
    QStringView ids[kBatch];
    qint32 found[kBatch];
    qsizetype count = 0;
    const auto settle = [&] {
        xrefs.findMany(ids, found, count);
        for (qsizetype i = 0; i < count; ++i) {
            short wanted = 0;
            const GEDKind kind = pointedKind(node(lines[i]).tag, wanted);
            node(lines[i]).ext = judgeTarget(payloadView(lines[i]), found[i], kind, wanted);
        }
        count = 0;
    };
    for (qint32 n = 1; n < static_cast<qint32>(nodes.size()); ++n) {
        Node& nd = nodes[static_cast<std::size_t>(n)];
        if (nd.kind != GEDKind::Other || nd.payLen < 2 || nd.ext != -2) continue;  // a long one counts too
        short wanted = 0;
        const GEDKind kind = pointedKind(nd.tag, wanted);
        const QStringView payload = payloadView(n);
        if (kind == GEDKind::None || !isPointer(payload)) {
            nd.ext = -1;
            continue;
        }
        lines[count] = n;
        ids[count] = payload.mid(1, payload.size() - 2);
        if (++count == kBatch) settle();
    }
    settle();
}

namespace {
// Starts empty link tables for the given numbers of individuals and families.
void resetLinks(GEDStore::Links& links, std::size_t indis, std::size_t fams) {
    links = GEDStore::Links();
    links.indiOrder.reserve(indis);
    links.famOrder.reserve(fams);
    links.famc.assign(indis, -1);
    links.famsBegin.assign(indis, 0);
    links.famsEnd.assign(indis, 0);
    links.fams.reserve(indis);
    links.husb.assign(fams, -1);
    links.wife.assign(fams, -1);
    links.childBegin.assign(fams, 0);
    links.childEnd.assign(fams, 0);
    links.children.reserve(indis);
}
}  // namespace

void GEDStore::linkIndi(qint32 indi) {
    const auto ext = static_cast<std::size_t>(node(indi).ext);
    const qint32 famc = indis[ext].famc;
    links.famc[ext] = famc >= 0 ? node(famc).ext : -1;
    links.famsBegin[ext] = static_cast<qint32>(links.fams.size());
    for (qint32 c = node(indi).firstChild; c >= 0; c = node(c).next) {
        const Node& line = node(c);
        if (line.kind != GEDKind::Other || line.tag != GEDTag::FAMS) continue;
        const qint32 fam = resolveLine(c);
        if (fam >= 0) links.fams.push_back(node(fam).ext);
    }
    links.famsEnd[ext] = static_cast<qint32>(links.fams.size());
}

void GEDStore::linkFam(qint32 fam) {
    const auto ext = static_cast<std::size_t>(node(fam).ext);
    links.childBegin[ext] = static_cast<qint32>(links.children.size());
    bool husb = false, wife = false;
    for (qint32 c = node(fam).firstChild; c >= 0; c = node(c).next) {
        const Node& line = node(c);
        if (line.kind != GEDKind::Other) continue;
        // The first HUSB (WIFE) line that names an individual is the partner.
        const bool isHusb = line.tag == GEDTag::HUSB && !husb;
        const bool isWife = line.tag == GEDTag::WIFE && !wife;
        if (!isHusb && !isWife && line.tag != GEDTag::CHIL) continue;
        const qint32 target = resolveLine(c);
        if (target < 0) continue;
        const qint32 person = node(target).ext;
        if (isHusb) links.husb[ext] = person;
        else if (isWife) links.wife[ext] = person;
        else links.children.push_back(person);
        husb = husb || isHusb;
        wife = wife || isWife;
    }
    links.childEnd[ext] = static_cast<qint32>(links.children.size());
}

void GEDStore::linkAll() {
    resetLinks(links, indis.size(), fams.size());
    for (qint32 rec : records) {
        if (node(rec).kind == GEDKind::Indi) {
            linkIndi(rec);
            links.indiOrder.push_back(node(rec).ext);
        } else if (node(rec).kind == GEDKind::Fam) {
            linkFam(rec);
            links.famOrder.push_back(node(rec).ext);
        }
    }
    links.current = true;
}

void GEDStore::finishLoad() {
    if (records.isEmpty()) return;
    computeEventRanks();
    checkPointers();

    // Families get placeholder partners only now that every individual of
    // the file is known; each placeholder is filed just before its family.
    const QList<qint32> filed = records;
    QList<qint32> ordered;
    ordered.reserve(filed.size());
    for (qint32 rec : filed) {
        if (node(rec).kind == GEDKind::Fam) {
            const qsizetype before = records.size();
            checkParents(rec);
            for (qsizetype i = before; i < records.size(); ++i) ordered.append(records[i]);
        }
        ordered.append(rec);
    }
    records = ordered;

    // Each kind's side-table rows come out in the records' new order.
    const auto sortRecords = [this](GEDKind kind, std::vector<qint32>& rows, const auto& finishOne) {
        std::vector<qsizetype> slots;
        std::vector<qint32> keys;
        slots.reserve(static_cast<std::size_t>(records.size()));
        keys.reserve(static_cast<std::size_t>(records.size()));
        for (qsizetype i = 0; i < records.size(); ++i) {
            if (node(records[i]).kind != kind) continue;
            slots.push_back(i);
            rows.push_back(node(records[i]).ext);
            keys.push_back(finishOne(records[i]));
        }
        sortAtPositions(records, slots, keys, &rows);
    };
    // The link tables are read here, one record at a time while its lines
    // are at hand; nothing after a record's turn changes its links.
    resetLinks(links, indis.size(), fams.size());
    sortRecords(GEDKind::Indi, links.indiOrder, [this](qint32 rec) {
        checkFAMC(rec);
        const Indi& ind = indis[static_cast<std::size_t>(node(rec).ext)];
        const Place& place = places[static_cast<std::size_t>(node(rec).ext)];
        if (place.col == 0 || place.row == 0) positionsComplete = false;
        const qint32 key = rankOfEvent(ind.birth);
        sortEvents(rec);
        linkIndi(rec);
        return key;
    });
    sortRecords(GEDKind::Fam, links.famOrder, [this](qint32 rec) {
        const qint32 key = rankOfEvent(fams[static_cast<std::size_t>(node(rec).ext)].marriage);
        sortEvents(rec);
        sortChildren(rec);
        linkFam(rec);
        return key;
    });
    links.current = true;
    eventRanks = GEDBigVector<qint32>();
    rankKeys = GEDBigVector<QString>();
}
