#include "GEDLoader.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "AppError.h"
#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GEDEventTable.h"
#include "GEDStore.h"
#include "ReadTextFile.h"

namespace {
constexpr qint32 kMaxLevel = 99;
const QString kSource = QStringLiteral("GEDControlClass");

// A line as a warning quotes it: a long one is cut short.
QString quotedLine(QStringView text) {
    constexpr qsizetype kQuoted = 100;
    return text.size() <= kQuoted ? text.toString() : text.left(kQuoted).toString() + QStringLiteral("...");
}
}  // namespace

GEDLoader::GEDLoader(GEDControlClass& control)
    : control(control), eventTags(GEDTag::Count, false), slots(kMaxLevel + 2, -1) {
    for (short tag = 1; tag < GEDTag::Count; ++tag) eventTags[static_cast<std::size_t>(tag)] = bIsEventTag(tag);
}

std::shared_ptr<GEDDocClass> GEDLoader::load(const QString& sFile) {
    ReadTextFile reader;
    reader.OpenFile(sFile);
    const QString readerCharset = reader.GetCharset();
    control.ReportMsg(QStringLiteral("GEDCOM file character set: ") + readerCharset + QStringLiteral(" (terminators ") +
                          reader.GetTerminators() + u')',
                      false);
    qint32 lineCounter = 0;
    xrefLines.clear();
    duplicates.clear();
    control.SetLineCounter(0);
    control.ClearAbandon();

    store = std::make_shared<GEDStore>();
    store->control = control.shared_from_this();
    // Room for a typical file without growing: a line object per 16 bytes,
    // payload characters for 70% of the characters.
    const qint64 size = reader.FileSize();
    const qint64 characters = readerCharset.startsWith(QStringLiteral("Unicode")) ? size / 2 : size;
    store->nodes.reserve(static_cast<std::size_t>(size / 16 + 16));
    store->text.reserve(static_cast<std::size_t>(characters * 7 / 10 + 16));
    store->xrefs.reserve(static_cast<qsizetype>(size / 256 + 16));
    xrefLines.reserve(static_cast<std::size_t>(size / 256 + 16));
    // Records of individuals take some 300 bytes of a file, events some 100:
    // room for more than that costs address space only.
    store->indis.reserve(static_cast<std::size_t>(size / 256 + 16));
    store->places.reserve(static_cast<std::size_t>(size / 256 + 16));
    store->events.reserve(static_cast<std::size_t>(size / 64 + 16));
    store->fams.reserve(static_cast<std::size_t>(size / 1024 + 16));
    slots[0] = 0;
    top = -1;

    bool trailer = false;
    bool skippingContinuations = false;  // after a line left out for its level
    bool invalidBytesWarned = false;
    QStringView raw;  // the record read last, in the reader's buffer
    qsizetype rest = -1;  // where the next line of a record holding several starts
    while (rest >= 0 || !reader.EOD()) {
        // A GEDCOM line never holds a line break, so a record that does comes
        // from a file whose lines end in more than one way (the reader splits at
        // the first line's ending only): each of its pieces is a line.
        QStringView piece;
        if (rest < 0) {
            try {
                raw = reader.ReadLineView();
            } catch (AppError& e) {
                // A record the reader refuses (too large, unreadable) is named by its place.
                e.description += QStringLiteral(" (") + reader.LineOfFile(lineCounter + 1) + u')';
                throw;
            }
            rest = 0;
        }
        const qsizetype pieceAt = rest;
        const qsizetype breakAt = reader.LastRecordHoldsLineBreak() ? nextLineBreak(raw, rest) : -1;
        if (breakAt < 0) {
            piece = raw.sliced(rest);
            rest = -1;
        } else {
            piece = raw.sliced(rest, breakAt - rest);
            rest = breakAt + 1;
            if (raw[breakAt] == u'\r' && rest < raw.size() && raw[rest] == u'\n') ++rest;
            if (rest >= raw.size()) rest = -1;
        }
        control.SetLineCounter(++lineCounter);
        if (control.IsAbandoned()) {
            control.ReportMsg(QStringLiteral("Loading of GEDCOM abandoned"), false);
            return nullptr;
        }
        // Bytes that are not UTF-8 in a file marked as UTF-8 are read as
        // U+FFFD; the first line holding them is named, once.
        const qsizetype invalidAt = reader.LastRecordInvalidAt();
        if (!invalidBytesWarned && invalidAt >= pieceAt && invalidAt < pieceAt + piece.size()) {
            invalidBytesWarned = true;
            control.ReportMsg(reader.InvalidUtf8Warning(lineCounter), true);
        }
        const QStringView text = GEDLineParser::trimBlanks(piece);
        if (text.isEmpty()) continue;
        const GEDLineParser::Line& line = parser.parse(text);
        if (!line.levelValid) {
            // Where such a line belongs cannot be known: it is left out, with
            // the continuation lines that follow it.
            control.ReportMsg(QStringLiteral("Warning, invalid level number on line ") + QString::number(lineCounter) +
                                  QStringLiteral(": ") + quotedLine(text),
                              true);
            skippingContinuations = true;
            continue;
        }
        if (skippingContinuations) {
            if (line.tag == GEDTag::CONC || line.tag == GEDTag::CONT) continue;
            skippingContinuations = false;
        }
        // The line's date or identifier is looked up once the next line is
        // read (see completePending): its slot in the index can be on its
        // way from memory meanwhile.
        if (line.tag == GEDTag::DATE) convertedDates.prefetch(line.payload);
        if (!line.xref.isEmpty()) store->xrefs.prefetch(line.xref);
        if (hasPending && (line.tag == GEDTag::CONC || line.tag == GEDTag::CONT) &&
            line.level == pendingLevel + 1) {
            if (pendingTag != GEDTag::BLOB) {
                if (line.tag == GEDTag::CONT) pendingText.push(u'\n');
                pendingText.append(line.payload);
            }
            continue;
        }
        if (hasPending) {
            completePending();
            if (line.tag == GEDTag::TRLR) {
                hasPending = false;
                trailer = true;
                break;
            }
        }
        hasPending = true;
        pendingLevel = line.level;
        pendingLineNumber = lineCounter;
        pendingTag = line.tag;
        pendingXref.assign(line.xref);
        pendingText.assign(line.payload);
    }
    if (!trailer) {
        control.ReportMsg(QStringLiteral("Warning, missing TRLR record at end of file"), true);
        if (hasPending) completePending();
    }
    hasPending = false;
    while (top >= 1) attachTop();
    if (top == 0) attachTop();

    keepDuplicates();
    checkCharacterSet(readerCharset, reader.HasByteOrderMark(), reader.HoldsNonAscii());
    checkVersion();
    reader.CloseFile();
    store->finishLoad();
    return std::make_shared<GEDDocClass>(store);
}

namespace {

// Position of the first "@@" in a text, or -1. The text's buffer must be
// readable up to the next multiple of eight units past its end.
qsizetype firstDoubledAtSign(const char16_t* p, qsizetype n) {
#if defined(__SSE2__)
    const __m128i at = _mm_set1_epi16(u'@');
    for (qsizetype i = 0; i < n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // Two mask bits per unit; only the units of the text count.
        const unsigned inside = n - i >= 8 ? 0xFFFFu : (1u << (2 * (n - i))) - 1;
        for (unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, at))) & inside; hits != 0;
             hits &= hits - 1) {
            const qsizetype k = i + (__builtin_ctz(hits) >> 1);
            hits &= hits - 1;  // the second bit of the same unit
            if (k + 1 < n && p[k + 1] == u'@') return k;
        }
    }
    return -1;
#else
    for (qsizetype k = 0; k + 1 < n; ++k)
        if (p[k] == u'@' && p[k + 1] == u'@') return k;
    return -1;
#endif
}

}  // namespace

// Position of the first CR or LF at or after `from`, or -1. Only records
// that hold a line end of their own are searched (see ReadTextFile).
qsizetype GEDLoader::nextLineBreak(QStringView text, qsizetype from) {
    const char16_t* p = text.utf16();
    for (qsizetype i = from, n = text.size(); i < n; ++i)
        if (p[i] == u'\r' || p[i] == u'\n') return i;
    return -1;
}

// A line value writes "@" as "@@" (a single "@" opens a pointer or an
// escape); the stored text holds the character itself.
void GEDLoader::undoubleAtSigns(Units& text) {
    char16_t* p = text.data();
    const qsizetype n = text.view().size();
    const qsizetype at = firstDoubledAtSign(p, n);
    if (at < 0) return;
    qsizetype out = at;
    for (qsizetype in = at; in < n; ++in) {
        p[out++] = p[in];
        if (p[in] == u'@' && in + 1 < n && p[in + 1] == u'@') ++in;
    }
    text.truncate(static_cast<std::size_t>(out));
}

void GEDLoader::attachTop() {
    store->addData(slots[static_cast<std::size_t>(top)], slots[static_cast<std::size_t>(top + 1)]);
    slots[static_cast<std::size_t>(top + 1)] = -1;
    --top;
}

void GEDLoader::completePending() {
    while (pendingLevel < top) attachTop();
    // A finished line of the same level is complete now.
    if (pendingLevel <= kMaxLevel && slots[static_cast<std::size_t>(pendingLevel + 1)] >= 0) attachTop();
    if (top + 1 > kMaxLevel)
        raiseError(GEDError::Syntax, kSource,
                   QStringLiteral("GEDCOM lines nested deeper than level %1 on line %2").arg(kMaxLevel).arg(pendingLineNumber));

    undoubleAtSigns(pendingText);
    const QStringView payload = pendingText.view();
    qint32 n;
    if (pendingTag == GEDTag::INDI)
        n = store->newNode(GEDKind::Indi, pendingTag, QStringView());
    else if (pendingTag == GEDTag::FAM)
        n = store->newNode(GEDKind::Fam, pendingTag, QStringView());
    else if (pendingTag == GEDTag::DATE)
        n = newDateLine(payload);
    else if (pendingTag == GEDTag::PLAC)
        n = newPlaceLine(payload);
    else if (eventTags[static_cast<std::size_t>(pendingTag)])
        n = store->newNode(GEDKind::Event, pendingTag, payload);
    else if (pendingTag >= GEDTag::SVG_H && pendingTag <= GEDTag::SVG_LS)
        n = store->newNode(GEDKind::SVG, pendingTag, payload);
    else
        n = store->newNode(GEDKind::Other, pendingTag, payload);
    ++top;
    slots[static_cast<std::size_t>(top + 1)] = n;
    if (pendingXref.isEmpty()) return;
    const QStringView xref = pendingXref.view();
    if (store->registerXref(xref, n)) {
        xrefLines.push_back({n, pendingLineNumber});
    } else {
        // The first record keeps the identifier; this one gets a fresh one
        // once every identifier of the file is known.
        duplicates.push_back({n, pendingLineNumber, xref.toString()});
    }
}

void GEDLoader::keepDuplicates() {
    for (const Duplicate& dup : duplicates) {
        QString fresh;
        for (int k = 2;; ++k) {
            fresh = dup.xref + QStringLiteral("_") + QString::number(k);
            if (store->lookup(fresh) < 0) break;
        }
        store->registerXref(fresh, dup.node);
        // Records are made in line order, so their lines are found by node.
        const qint32 first = store->lookup(dup.xref);
        const auto at = std::lower_bound(xrefLines.begin(), xrefLines.end(), first,
                                         [](const XrefLine& x, qint32 node) { return x.node < node; });
        const qint32 firstLine = at != xrefLines.end() && at->node == first ? at->line : 0;
        control.ReportMsg(QStringLiteral("Warning, duplicate cross-reference ID: @%1@ on lines %2 and %3; the record "
                                         "on line %3 is kept as @%4@ and pointers to @%1@ lead to the one on line %2")
                              .arg(dup.xref)
                              .arg(firstLine)
                              .arg(dup.line)
                              .arg(fresh),
                          true);
    }
    duplicates.clear();
    xrefLines.clear();
}

qint32 GEDLoader::newDateLine(QStringView gedcomDate) {
    // Files repeat their dates a great deal. A conversion that failed comes
    // back in a form beginning with "@" (and warned); such dates, and dates
    // kept in GEDCOM form, are converted again each time so that every line
    // gets its own warning.
    if (control.GetMinValidDate() != convertedMinYear) {
        convertedDates = GEDTextIndex();
        convertedMinYear = control.GetMinValidDate();
    }
    qint32 row = convertedDates.find(gedcomDate);
    if (row >= 0) {
        // The line shares the text of the first line with that date.
        const TextAt& at = dateAt[static_cast<std::size_t>(row)];
        const qint32 n = store->newNodeAt(GEDKind::Other, GEDTag::DATE, at.offset, at.length);
        store->node(n).ext = row;
        return n;
    }
    // A warning about the date names the date's own line, not the line read
    // after it that completed it.
    const int linesRead = control.GetLineCounter();
    control.SetLineCounter(pendingLineNumber);
    const QString converted = control.sDateGED2SVG(gedcomDate.toString());
    control.SetLineCounter(linesRead);
    const qint32 n = store->newNode(GEDKind::Other, GEDTag::DATE, converted);
    if (!converted.startsWith(u'@')) {
        row = static_cast<qint32>(store->dateTexts.size());
        store->dateTexts.push_back(converted);
        convertedDates.insert(gedcomDate, row);
        dateAt.push_back({store->node(n).payOff, store->payLength(n)});
        store->node(n).ext = row;
    }
    return n;
}

qint32 GEDLoader::newPlaceLine(QStringView place) {
    // Files name the same places over and over: a place's lines share its
    // text. Past a bound on the distinct places, new ones are only stored.
    constexpr qsizetype kMaxPlaces = 1 << 16;
    const qint32 row = knownPlaces.find(place);
    if (row >= 0) {
        const TextAt& at = placeAt[static_cast<std::size_t>(row)];
        return store->newNodeAt(GEDKind::Other, GEDTag::PLAC, at.offset, at.length);
    }
    const qint32 n = store->newNode(GEDKind::Other, GEDTag::PLAC, place);
    if (knownPlaces.size() < kMaxPlaces && knownPlaces.insert(place, static_cast<qint32>(placeAt.size())))
        placeAt.push_back({store->node(n).payOff, store->payLength(n)});
    return n;
}

void GEDLoader::checkCharacterSet(const QString& readerCharset, bool byteOrderMark, bool nonAscii) {
    const qint32 charLine = store->query(0, QStringLiteral("Other:HEAD,Other:CHAR"));
    if (charLine < 0) return;
    const QString declared = store->payload(charLine).toUpper();
    if (declared.isEmpty()) return;
    control.ReportMsg(QStringLiteral("GEDCOM data character set: ") + declared, false);
    // Some programs name the Windows code page so.
    const QString charset = declared == u"IBM WINDOWS" ? QStringLiteral("ANSI") : declared;
    const QString warning = QStringLiteral("Warning, GEDCOM character set is ") + declared +
                            QStringLiteral(" but file BOM indicates ") + readerCharset;
    if (charset != u"ASCII" && charset != u"UTF-8" && charset != u"ANSI" && charset != u"UNICODE") {
        // A set the library does not decode can still be read when the file
        // says by its mark how it is encoded, or holds nothing but ASCII,
        // which every such set shares.
        if (byteOrderMark) {
            control.ReportMsg(warning, true);
            return;
        }
        const bool wide = readerCharset.contains(QStringLiteral("Unicode"), Qt::CaseInsensitive);
        if (!nonAscii && !wide) {
            control.ReportMsg(QStringLiteral("Warning, GEDCOM character set ") + declared +
                                  QStringLiteral(" is not supported, but the file holds only ASCII characters and is "
                                                 "read as ASCII"),
                              true);
            return;
        }
        raiseError(GEDError::CharsetOrVersion, kSource, QStringLiteral("Unsupported GEDCOM character set: ") + declared);
    }
    const bool readerUnicode = readerCharset.contains(QStringLiteral("Unicode"), Qt::CaseInsensitive);
    const bool declaredUnicode = charset == u"UNICODE";
    if (readerUnicode || declaredUnicode) {
        if (!(readerUnicode && declaredUnicode)) control.ReportMsg(warning, true);
    } else if (charset == u"UTF-8" || readerCharset == u"UTF-8") {
        if (!(charset == u"UTF-8" && readerCharset == u"UTF-8")) control.ReportMsg(warning, true);
    }
}

void GEDLoader::checkVersion() {
    const QString version = store->version();
    if (!version.isEmpty() && version != u"5.5.1" && version != u"5.5")
        raiseError(GEDError::CharsetOrVersion, kSource, QStringLiteral("Unsupported GEDCOM version: ") + version);
}
