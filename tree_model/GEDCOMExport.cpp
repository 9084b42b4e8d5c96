#include "GEDCOMExport.h"

#include <algorithm>
#include <vector>

#include "GEDControlClass.h"
#include "GEDNotesHTML.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "foundation/AppError.h"
#include "foundation/HTMLParseClass.h"
#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"
#include "foundation/WriteTextFile.h"

namespace {

// Header settings the file does not carry: they belong to the tree file or
// to the chart instance and are made afresh there.
const QString kSkippedSettings = QStringLiteral("Version,Inst,RootKey");

// The shortest part a cut may leave while it looks for a place between two
// non-blank characters.
constexpr int kMinPart = 11;
// Characters of a line besides its CR LF terminator.
constexpr int kMaxText = kGEDCOMMaxLine - 2;

QString boolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

QString pointer(const QString& key) { return u'@' + key + u'@'; }

// One unit a cut may not divide: a character (a surrogate pair is one) or a
// doubled "@", which counts as two characters.
struct Unit {
    qsizetype begin;
    qsizetype size;  // UTF-16 code units
    int chars;
    bool blank;
};

std::vector<Unit> unitsOf(const QString& s) {
    std::vector<Unit> units;
    units.reserve(static_cast<std::size_t>(s.size()));
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c == u'@' && i + 1 < s.size() && s.at(i + 1) == u'@') {
            units.push_back({i, 2, 2, false});
            i += 2;
        } else if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            units.push_back({i, 2, 1, false});
            i += 2;
        } else {
            units.push_back({i, 1, 1, c == u' '});
            ++i;
        }
    }
    return units;
}

// The person's names for NAME lines: each of its personal names, or the name
// made from its text when it has none.
QStringList sGEDCOMNames(const SVGBox& oBox) {
    QStringList names;
    for (const QString& name : oBox.GetPersonalNames().split(u'|'))
        if (!name.trimmed().isEmpty()) names << name;
    if (names.isEmpty()) {
        const QString made = oBox.CreatePersonalName();
        if (!made.isEmpty()) names << made;
    }
    return names;
}

QString sexCode(const QString& sex) {
    const QString code = sex.toUpper();
    return code == u"F" || code == u"M" ? code : QStringLiteral("U");
}

// The picture format GEDCOM expects: the extension of the path's last
// segment in lower case, "jpg" when it has none.
QString pictureFormat(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || dot + 1 >= name.size()) return QStringLiteral("jpg");
    return name.mid(dot + 1).toLower();
}

// A tag word as GEDCOM writes it: an optional "_", then letters, digits and "_".
bool isTagWord(const QString& tag) {
    qsizetype i = tag.startsWith(u'_') ? 1 : 0;
    if (i >= tag.size()) return false;
    for (; i < tag.size(); ++i) {
        const QChar c = tag.at(i);
        const bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
        if (!ok) return false;
    }
    return true;
}

// Every "@" doubled, as a GEDCOM value needs.
QString doubleAt(QString value) { return value.replace(u'@', QStringLiteral("@@")); }

// "@" doubled in a date, except in its calendar escapes («@#DJULIAN@»).
QString doubleDateAt(const QString& date) {
    QString out;
    for (qsizetype i = 0; i < date.size(); ++i) {
        if (date.at(i) != u'@') {
            out += date.at(i);
            continue;
        }
        const qsizetype close = date.indexOf(u'@', i + 1);
        if (i + 1 < date.size() && date.at(i + 1) == u'#' && close > i) {
            out += date.mid(i, close - i + 1);
            i = close;
        } else {
            out += QStringLiteral("@@");
        }
    }
    return out;
}

// The decoded value of one of an event element's attributes; `present`
// tells an empty value from a missing one.
QString eventAttr(const StringDict& attributes, const QString& name, bool* present = nullptr) {
    const QString* value = attributes.find(name);
    if (present) *present = value != nullptr;
    return value ? sDecodeEventAttr(*value) : QString();
}

}  // namespace

QStringList splitGEDCOMLine(const QString& sLine, int iLevel) {
    // A line of no more code units than the limit fits whatever it holds.
    if (sLine.size() <= kMaxText) return {sLine};
    const std::vector<Unit> units = unitsOf(sLine);
    int total = 0;
    for (const Unit& u : units) total += u.chars;
    if (total <= kMaxText) return {sLine};

    const QString concPrefix = QString::number(iLevel + 1) + QStringLiteral(" CONC ");
    QStringList lines;
    const std::size_t n = units.size();
    std::size_t pos = 0;
    while (pos < n) {
        const bool first = lines.isEmpty();
        const int room = first ? kMaxText : kMaxText - static_cast<int>(concPrefix.size());
        std::size_t end = pos;
        int chars = 0;
        while (end < n && chars + units[end].chars <= room) chars += units[end++].chars;
        if (end == pos) end = pos + 1;  // a unit wider than the room still goes somewhere
        if (end < n) {
            // Move the cut back until it falls between two non-blank
            // characters, since readers drop blanks at either side of it.
            std::size_t cut = end;
            int cutChars = chars;
            while (cutChars > kMinPart && (units[cut - 1].blank || units[cut].blank)) cutChars -= units[--cut].chars;
            if (!units[cut - 1].blank && !units[cut].blank) end = cut;
        }
        const qsizetype from = units[pos].begin;
        const qsizetype to = end < n ? units[end].begin : sLine.size();
        const QString part = sLine.mid(from, to - from);
        lines << (first ? part : concPrefix + part);
        pos = end;
    }
    return lines;
}

QString sGEDCOMHeaderDate(const QDate& date) {
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kMonths[date.month() - 1]))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

GEDCOMExport::GEDCOMExport(const SVGTree& tree) : tree_(tree) {}

GEDCOMExport::~GEDCOMExport() = default;

void GEDCOMExport::Write(const QString& sFile) {
    WriteTextFile file;
    file.OpenFile(sFile, false);
    out_ = &file;
    // The submitter's identifier stays clear of the tree's own keys, which
    // identify the persons and families.
    submitter_ = tree_.MakeUniqueKey(QStringLiteral("Subm_User"));
    // An error leaves the function here: the writer, destroyed while it
    // unwinds, throws its unfinished text away.
    writeHeader();
    writePlain(QStringLiteral("0 ") + pointer(submitter_) + QStringLiteral(" SUBM"));
    writePlain(QStringLiteral("1 NAME Velmont"));
    for (const auto& kv : tree_.GetPersons()) WriteGEDCOMIndi(*kv.second);
    for (const auto& kv : tree_.GetFamilies()) WriteGEDCOMFam(*kv.second);
    writePlain(QStringLiteral("0 TRLR"));
    file.CloseFile();
    out_ = nullptr;
}

void GEDCOMExport::writeHeader() {
    writePlain(QStringLiteral("0 HEAD"));
    writePlain(QStringLiteral("1 SOUR Kvora"));
    writeValue(2, QStringLiteral("VERS"), sGetVersion());
    writePlain(QStringLiteral("2 NAME Kestrova"));
    writePlain(QStringLiteral("2 CORP Velmont"));
    writePlain(QStringLiteral("1 SUBM ") + pointer(submitter_));
    writePlain(QStringLiteral("1 DATE ") + sGEDCOMHeaderDate(QDate::currentDate()));
    writePlain(QStringLiteral("1 GEDC"));
    writePlain(QStringLiteral("2 VERS 5.5.1"));
    writePlain(QStringLiteral("2 FORM Lineage-Linked"));
    writePlain(QStringLiteral("1 CHAR UTF-8"));
    for (const auto& kv : tree_.GetSettings()) {
        if (bSetMember(kSkippedSettings, kv.first, QStringLiteral(","))) continue;
        writeValue(1, QStringLiteral("_SVG_H"), kv.first + u'=' + kv.second);
    }
    for (const auto& kv : tree_.GetPlaceKeys().GetDict())
        writeValue(1, QStringLiteral("_SVG_U"), kv.first + u'=' + kv.second);
}

void GEDCOMExport::WriteGEDCOMIndi(const SVGBox& oBox) {
    writePlain(QStringLiteral("0 ") + pointer(oBox.GetKey()) + QStringLiteral(" INDI"));
    for (const QString& name : sGEDCOMNames(oBox)) writeValue(1, QStringLiteral("NAME"), name);
    writePlain(QStringLiteral("1 SEX ") + sexCode(oBox.GetSex()));
    writePlain(QStringLiteral("1 _SVG_P %1,%2,%3").arg(oBox.GetCol()).arg(oBox.GetRow()).arg(boolText(oBox.GetTentative())));
    if (!oBox.GetImage().isEmpty()) {
        QString path = tree_.GetPlaceKeys().ExpandURLName(oBox.GetImage(), false, true);
        // A reference whose place key is unknown keeps its own text.
        if (path.isEmpty()) path = oBox.GetImage();
        writePlain(QStringLiteral("1 OBJE"));
        writeValue(2, QStringLiteral("FILE"), path);
        writeValue(3, QStringLiteral("FORM"), pictureFormat(path));
    }
    WriteGEDCOMEvents(oBox.GetNotes());
    const KeySet& families = oBox.GetFamKeys();
    for (int i = 0; i < families.count(); ++i) writePlain(QStringLiteral("1 FAMS ") + pointer(families.at(i)));
    const QString childOf = tree_.ChildFamily(oBox);
    if (!childOf.isEmpty()) writePlain(QStringLiteral("1 FAMC ") + pointer(childOf));
    for (const auto& kv : oBox.GetLocSettings()) writeValue(1, QStringLiteral("_SVG_LS"), kv.first + u'=' + kv.second);
}

void GEDCOMExport::WriteGEDCOMFam(const SVGFamily& oFam) {
    writePlain(QStringLiteral("0 ") + pointer(oFam.GetKey()) + QStringLiteral(" FAM"));
    writePlain(QStringLiteral("1 _SVG_F ") + boolText(oFam.GetMoreChildren()) + u',' + boolText(oFam.GetLiaison()));
    SVGBoxPtr husband = oFam.GetFirstPar(), wife = oFam.GetSecPar();
    if (!husband || husband->GetSex() != u"m") std::swap(husband, wife);
    if (husband) writePlain(QStringLiteral("1 HUSB ") + pointer(husband->GetKey()));
    if (wife) writePlain(QStringLiteral("1 WIFE ") + pointer(wife->GetKey()));
    for (const SVGBoxPtr& child : oFam.GetChildren()) writePlain(QStringLiteral("1 CHIL ") + pointer(child->GetKey()));
    WriteGEDCOMEvents(oFam.GetNotes());
    for (const auto& kv : oFam.GetLocSettings()) writeValue(1, QStringLiteral("_SVG_LS"), kv.first + u'=' + kv.second);
}

void GEDCOMExport::WriteGEDCOMEvents(const QStringList& notes) {
    if (notes.isEmpty()) return;
    QString text = notes.join(u'\n');
    text.replace(QStringLiteral("<br/>\n"), QStringLiteral("\n"));

    int entries = 0;
    QList<QString> names;
    QList<int> starts, lengths;
    QList<StringDict> attributes;
    HTMLParseClass parser;
    try {
        parser.bParseHTML(text, entries, names, starts, lengths, attributes);
    } catch (const AppError&) {
        // Mark-up the parser refuses (a repeated attribute) holds no event
        // that can be read: the notes are written as they stand.
        entries = 0;
    }

    // An event element: a div or span with a data-start attribute. Its end is
    // its matching end tag; without one it runs to the end of the notes.
    struct Element {
        int tag;
        qsizetype begin, innerBegin, innerEnd, end;  // 0-based positions in text
    };
    auto isEventElement = [&](int i) {
        return (names[i] == u"div" || names[i] == u"span") && lengths[i] > 0 && attributes[i].contains(QStringLiteral("data-start"));
    };
    std::vector<Element> elements;
    for (int i = 1; i <= entries && i < names.size(); ++i) {
        if (!isEventElement(i)) continue;
        Element e{i, starts[i] - 1, starts[i] - 1 + lengths[i], text.size(), text.size()};
        const int j = parser.iFindEnd(i, names);
        if (j > i && lengths[j] > 0) {
            e.innerEnd = starts[j] - 1;
            e.end = e.innerEnd + lengths[j];
        }
        elements.push_back(e);
    }

    // Each event gets its own text; an event element nested in another is
    // written as an event of its own and left out of the outer one's text.
    for (const Element& e : elements) {
        QString inner;
        qsizetype pos = e.innerBegin;
        for (const Element& nested : elements) {
            if (nested.begin < e.innerBegin || nested.begin >= e.innerEnd || nested.begin < pos) continue;
            inner += QStringView(text).mid(pos, nested.begin - pos);
            pos = std::min(nested.end, e.innerEnd);
        }
        if (pos < e.innerEnd) inner += QStringView(text).mid(pos, e.innerEnd - pos);
        writeEvent(attributes[e.tag], inner);
    }

    // The notes without their event elements.
    QString rest;
    qsizetype pos = 0;
    for (const Element& e : elements) {
        if (e.begin > pos) rest += QStringView(text).mid(pos, e.begin - pos);
        pos = std::max(pos, e.end);
    }
    if (pos < text.size()) rest += QStringView(text).mid(pos);
    WriteGEDCOMNote(rest, 1);
}

void GEDCOMExport::writeEvent(const StringDict& attributes, const QString& innerText) {
    QString tag = eventAttr(attributes, QStringLiteral("data-gtag"));
    if (!isTagWord(tag)) tag = control().CvtEventDescrToTag(eventAttr(attributes, QStringLiteral("data-event")));
    if (!isTagWord(tag)) tag = QStringLiteral("EVEN");

    bool hasPayload = false;
    const QString payload = eventAttr(attributes, QStringLiteral("data-gpayl"), &hasPayload);
    if (hasPayload)
        writeValue(1, tag, payload);
    else
        writePlain(QStringLiteral("1 ") + tag);

    QString date = eventAttr(attributes, QStringLiteral("data-start"));
    if (date.size() >= 2 && date.startsWith(u'{') && date.endsWith(u'}')) date = date.mid(1, date.size() - 2);
    writeDate(2, date);

    bool hasType = false;
    const QString type = eventAttr(attributes, QStringLiteral("data-gtype"), &hasType);
    if (hasType) writeValue(2, QStringLiteral("TYPE"), type);
    WriteGEDCOMNote(innerText, 2);
}

void GEDCOMExport::writeDate(int iLevel, const QString& sDate) {
    if (sDate.trimmed().isEmpty()) return;
    QString date = control().sDateSVG2GED(sDate);
    // A date the conversion has no GEDCOM form for is kept as a date phrase
    // rather than lost.
    if (date.trimmed().isEmpty()) date = u'(' + sDate + u')';
    date.replace(u'\r', u' ').replace(u'\n', u' ');
    for (const QString& line : splitGEDCOMLine(QString::number(iLevel) + QStringLiteral(" DATE ") + doubleDateAt(date), iLevel))
        out_->WriteLine(line);
}

void GEDCOMExport::WriteGEDCOMNote(const QString& sText, int iLevel) {
    const QString text = QString(sText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QString paragraph : text.split(QStringLiteral("\n\n"))) {
        if (paragraph.trimmed().isEmpty()) continue;
        // Line feeds left at either end (where an event was taken out) carry nothing.
        while (paragraph.startsWith(u'\n')) paragraph.remove(0, 1);
        while (paragraph.endsWith(u'\n')) paragraph.chop(1);
        writeValue(iLevel, QStringLiteral("NOTE"), paragraph);
    }
}

void GEDCOMExport::writeValue(int iLevel, const QString& sTag, const QString& sValue) {
    QString value = sValue;
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList lines = value.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = i == 0 ? QString::number(iLevel) + u' ' + sTag : QString::number(iLevel + 1) + QStringLiteral(" CONT");
        if (!lines[i].isEmpty()) line += u' ' + doubleAt(lines[i]);
        WriteGEDCOMLine(line, iLevel);
    }
}

void GEDCOMExport::WriteGEDCOMLine(const QString& sLine, int iLevel) {
    for (const QString& line : splitGEDCOMLine(sLine, iLevel)) out_->WriteLine(line);
}

void GEDCOMExport::writePlain(const QString& sLine) { out_->WriteLine(sLine); }

GEDControlClass& GEDCOMExport::control() {
    if (!control_) control_ = createGEDControl();
    return *control_;
}
