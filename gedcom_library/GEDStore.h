#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

#include "GEDBigTable.h"
#include "GEDObject.h"
#include "GEDTagClass.h"
#include "GEDTextIndex.h"

class GEDControlClass;

// Offsets of the library's own errors from the error base.
namespace GEDError {
inline constexpr int CharsetOrVersion = 515;  // unsupported character set or GEDCOM version
inline constexpr int Syntax = 517;            // the file's lines cannot be read as GEDCOM
}  // namespace GEDError

// The inside of one loaded document: every line of the file as a small fixed
// node in one array, every payload in one text arena, and per-record data for
// individuals, families and events in side tables. Record handles share it
// (std::shared_ptr), so a record handed out keeps its document alive.
//
// Node 0 is the document itself; its children are the level-0 records, kept
// in `records` (the list the finishing step reorders). Every other node keeps
// its children as a singly linked list in file order.
class GEDStore {
public:
    // 20 bytes: a large file has tens of millions of lines.
    struct Node {
        qint32 firstChild = -1;
        qint32 next = -1;
        quint32 payOff = 0;
        // Individuals, families and events: the row of the kind's side table.
        // Other lines: the record a pointer line names once resolved (-1:
        // none; -2: not yet looked up), or a DATE line's row among the date
        // texts (-2: none).
        qint32 ext = -1;
        // The payload's length (see payLength): kLongPayload for a payload
        // of that many units or more, whose length is kept in longPayloads.
        quint16 payLen = 0;
        quint8 tag = 0;  // every tag code is below 256
        GEDKind kind = GEDKind::None;
    };
    static_assert(sizeof(Node) == 20);
    static_assert(GEDTag::Count <= 256);
    static constexpr quint16 kLongPayload = 0xFFFF;

    // A text held in the document's text store (see textOf, keepText).
    struct TextSlice {
        quint32 offset = 0;
        quint32 length = 0;
    };

    struct Indi {
        qint32 xref = -1;  // the identifier's entry in `xrefs`, -1 for none
        TextSlice name;
        TextSlice personalNames;
        QString relatedSpouses = QStringLiteral("-");
        QString sex = QStringLiteral("u");
        qint32 node = -1;
        qint32 birth = -1;
        qint32 death = -1;
        qint32 famc = -1;
        bool adopted = false;
        bool tentative = false;
    };

    // What few individuals have, kept apart from `indis` by the same row:
    // local settings, the picture found for them (see GEDIndiClass::GetImage)
    // and its place.
    struct IndiExtra {
        QString localSettings;
        QString image;
        QString imagePlace;
    };

    // An individual's place on the grid, kept apart from the rest of its
    // data (one row per individual, as in `indis`) so that the layout reads
    // and writes a compact table.
    struct Place {
        qint32 row = 0;
        qint32 col = 0;
        qint32 visits = 0;
    };

    struct Fam {
        qint32 xref = -1;  // as Indi::xref
        QString localSettings;
        qint32 node = -1;
        qint32 marriage = -1;
        bool liaison = false;
        bool moreChildren = false;
    };

    struct Event {
        qint32 date = -1;  // nodes of the last DATE, PLAC and TYPE lines
        qint32 place = -1;
        qint32 gtype = -1;
    };

    // The family links of the records as side-table rows, read once from
    // the lines while the load finishes so that a walk over the whole tree
    // (the layout) need not scan every record's lines again. Each person (by
    // its row in `indis`): its birth family and, in line order, the families
    // its FAMS lines name; each family (by its row in `fams`): its partners
    // (the first HUSB and WIFE lines that name an individual) and, in line
    // order, the individuals its CHIL lines name. Pointers that name no
    // record of the right kind are left out; -1 stands for none. Any change
    // to such a line, to a birth family or to the set of records marks the
    // tables stale (`current` false); linkAll() reads them afresh. Also the
    // rows of the individual and family records in document order.
    struct Links {
        std::vector<qint32> indiOrder, famOrder;
        std::vector<qint32> famc;
        std::vector<qint32> famsBegin, famsEnd, fams;  // ranges of `fams` per person
        std::vector<qint32> husb, wife;
        std::vector<qint32> childBegin, childEnd, children;  // ranges of `children` per family
        bool current = false;
    };

    GEDStore();

    // --- lines -----------------------------------------------------------
    qint32 newNode(GEDKind kind, short tag, QStringView payload);
    // A line whose payload is text the store holds already, shared with the
    // lines that hold it (a repeated date or place).
    qint32 newNodeAt(GEDKind kind, short tag, quint32 payOff, quint32 payLen);
    Node& node(qint32 n) { return nodes[static_cast<std::size_t>(n)]; }
    const Node& node(qint32 n) const { return nodes[static_cast<std::size_t>(n)]; }
    QStringView payloadView(qint32 n) const;
    quint32 payLength(qint32 n) const {
        const Node& nd = node(n);
        return nd.payLen != kLongPayload ? nd.payLen : longPayloads.value(n);
    }
    void setPayLength(qint32 n, quint32 length);
    // Texts kept in the text store beside the payloads; an empty one is none.
    QString textOf(TextSlice slice) const {
        return slice.length == 0 ? QString()
                                 : QString(reinterpret_cast<const QChar*>(text.data() + slice.offset), static_cast<qsizetype>(slice.length));
    }
    QStringView textView(TextSlice slice) const {
        return QStringView(text.data() + slice.offset, static_cast<qsizetype>(slice.length));
    }
    TextSlice keepText(QStringView value);
    // Adds a text at the end of the text store; it must not be held there.
    void appendText(QStringView value);
    QString payload(qint32 n) const { return payloadView(n).toString(); }
    void setPayload(qint32 n, QStringView text);
    bool inArena(QStringView v) const;
    // The children of a line (or of the document, node 0) in order.
    QList<qint32> children(qint32 n) const;
    // Rewrites a line's child list (after a sort).
    void relink(qint32 n, const QList<qint32>& kids);
    void relink(qint32 n, const qint32* kids, qsizetype count);
    void appendChild(qint32 parent, qint32 child);
    // The first child of a given kind and, when tag is not 0, of that tag.
    qint32 firstChildOf(qint32 n, GEDKind kind, short tag) const;

    // --- adding lines with the records' own rules -------------------------
    // Attaches a complete child line to its parent, as each record class takes
    // its lines (individuals derive names, sex, events; families the marriage
    // and flags; events their date, place and type; plain lines drop children
    // of unknown tags).
    void addData(qint32 parent, qint32 child);
    // Files one level-0 record in the document.
    void addRecord(qint32 rec);

    // --- identifiers ------------------------------------------------------
    QString xrefOf(qint32 n) const;
    QString xrefText(qint32 entry) const;
    // Enters a record under its identifier; false when the identifier is taken.
    bool registerXref(QStringView id, qint32 n);
    qint32 lookup(QStringView id) const { return xrefs.find(id); }
    // A text over characters held elsewhere, for look-ups that must not copy
    // them; it must not outlive them.
    static QString borrowed(QStringView v) { return QString::fromRawData(reinterpret_cast<const QChar*>(v.utf16()), v.size()); }
    // Resolves a pointer payload ("@id@") to a record of the wanted kind (and
    // tag, when not 0). A pointer to no record, or to a record of another
    // kind, is reported once per identifier and gives -1. Payloads that are
    // not pointers give -1 without a report.
    qint32 resolve(QStringView pointer, GEDKind kind, short tag = 0);
    // The same for a pointer whose identifier was looked up already (n: the
    // record found, -1 for none).
    qint32 judgeTarget(QStringView pointer, qint32 n, GEDKind kind, short tag);
    // The record a pointer line (FAMC, FAMS, CHIL, HUSB, WIFE, NOTE, OBJE)
    // names, resolved once with the kind its tag calls for; -1 when none.
    qint32 resolveLine(qint32 line);
    static bool isPointer(QStringView s) { return s.size() >= 2 && s.front() == u'@' && s.back() == u'@'; }

    // --- document-level queries -------------------------------------------
    qint32 query(qint32 start, const QString& path) const;
    QString notesOf(qint32 n);
    QString version();
    void reportMsg(const QString& text, bool warning) const;
    // Warns, the first time only, that notes of the file held mark-up a note
    // may not hold, naming the record `n` where it was found.
    void reportUnsafeNotes(qint32 n);

    // --- the records' own algorithms --------------------------------------
    void correctPayload(qint32 ev);
    void sortEvents(qint32 rec);
    void sortChildren(qint32 fam);
    void checkFAMC(qint32 indi);
    void checkParents(qint32 fam);
    qint32 partner(qint32 fam, short tag);
    QList<qint32> pointedRecords(qint32 rec, short tag, GEDKind kind);
    QString relatedSpouses(qint32 indi);
    qint32 createPerson(const QString& sex);
    // Placeholders for missing partners, individual and family checks, and
    // the sorts by birth and marriage dates; run once after the last line.
    void finishLoad();
    // Reports every pointer of the file that names no record, or a record of
    // the wrong kind (once per identifier).
    void checkPointers();
    // Fills `links` for one record from its lines (once per record: the
    // ranges are appended), or for every record after the tables were reset.
    void linkIndi(qint32 indi);
    void linkFam(qint32 fam);
    void linkAll();

    static bool isEventTag(short tag);
    static bool isYesOnlyEventTag(short tag);
    static QString normalisePersonalName(QString s);
    // The same into a buffer (cleared first), for the load's millions of names.
    static void normalisePersonalName(QStringView s, std::u16string& out);
    QString nameFromPieces(qint32 nameLine) const;
    void nameFromPieces(qint32 nameLine, std::u16string& out) const;
    // Offers a personal name of an individual (by its row): the first one
    // also gives the display name; each is added to the personal names
    // unless it is one of them already.
    void offerPersonalName(qint32 row, QStringView name);
    QString sortKeyOfEvent(qint32 ev);
    // While the load finishes: every event's date sort key as a rank among
    // the keys of the file (see computeEventRanks).
    void computeEventRanks();
    qint32 rankOf(const QString& key) const;
    qint32 rankOfEvent(qint32 ev);

    std::shared_ptr<GEDControlClass> control;
    GEDBigVector<Node> nodes;
    // The lengths of the few payloads too long for a node, by node.
    QHash<qint32, quint32> longPayloads;
    GEDBigVector<char16_t> text;
    GEDBigVector<Indi> indis;
    QHash<qint32, IndiExtra> indiExtras;
    // The extra data of an individual by its row: made when written, none when never written.
    IndiExtra& extraOf(qint32 row) { return indiExtras[row]; }
    const IndiExtra* findExtra(qint32 row) const {
        const auto it = indiExtras.constFind(row);
        return it == indiExtras.constEnd() ? nullptr : &*it;
    }
    GEDBigVector<Place> places;
    GEDBigVector<Fam> fams;
    GEDBigVector<Event> events;
    QList<QString> otherXrefs;
    QHash<qint32, qint32> otherXrefRows;  // other records with an identifier: its row in otherXrefs
    QList<qint32> records;
    GEDTextIndex xrefs;
    QList<QString> spareXrefs;  // identifiers of event and extension lines
    // The distinct date texts of DATE lines; a DATE line's `target` is its
    // row here (-2 for a date text that is not in the list).
    GEDBigVector<QString> dateTexts;
    QSet<QString> reportedIds;
    bool unsafeNotesReported = false;
    // While the load finishes: the rank of each event's date sort key, the
    // distinct keys in order, and the rank of "??" (no date).
    GEDBigVector<qint32> eventRanks;
    GEDBigVector<QString> rankKeys;
    qint32 unknownRank = 0;
    Links links;
    qint32 head = -1;
    qint32 countFamilies = 0;
    qint32 countPersons = 0;
    short maxRow = 0;
    short maxCol = 0;
    bool positionsComplete = false;
    bool exportedBySystem = false;
    QString versionText;

private:
    // Lists the sorts reuse from record to record.
    struct Scratch {
        std::vector<qint32> kids, lines, ranks;
        std::vector<qsizetype> positions;
        // As long as the longest list sorted: the records of a whole file.
        GEDBigVector<qsizetype> order;
        GEDBigVector<quint64> packed;
        std::vector<QString> keys;
        std::u16string name, pieces, joined;
    };
    Scratch scratch;
    // The last child of the lines children were appended to lately, so that
    // appending to a line need not walk its children.
    struct LastChild {
        qint32 parent = -1;
        qint32 last = -1;
    };
    static constexpr std::size_t kLastChildren = 1024;
    LastChild lastChildren[kLastChildren];
    qint32 lastChildOf(qint32 parent);
    std::vector<qint32>& childrenInScratch(qint32 rec);
    template <class List, class Key>
    void sortAtPositions(List& kids, const std::vector<qsizetype>& positions, const std::vector<Key>& keys,
                         std::vector<qint32>* carried = nullptr);
    template <class Key, class Take>
    void sortLinesBy(qint32 rec, std::vector<Key>& keys, Take take);
    template <class Key, class KeyOf>
    void sortEventsBy(qint32 rec, std::vector<Key>& keys, KeyOf keyOf);
    template <class Key, class KeyOf>
    void sortChildrenBy(qint32 fam, std::vector<Key>& keys, KeyOf keyOf);
};
