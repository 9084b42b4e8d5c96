#include "GEDTreeExport.h"

#include <algorithm>

#include <QSet>
#include <QStringList>

#include "GEDDocClass.h"
#include "GEDKeyMap.h"
#include "PictureFolders.h"
#include "foundation/ReadTextFile.h"
#include "foundation/Reporter.h"
#include "tree_model/PlaceKeyClass.h"

namespace {
constexpr int kNamedItems = 10;

// A warning that names the first items of a list and counts the rest.
QString namedList(const QString& head, const QStringList& items) {
    QString text = head + items.mid(0, kNamedItems).join(QStringLiteral(", "));
    if (items.size() > kNamedItems)
        text += QStringLiteral(" and ") + QString::number(items.size() - kNamedItems) + QStringLiteral(" more");
    return text;
}

// Writes one note line after its mark; a line too long for a tree file to
// read back is broken into several, at the last blank that fits where there
// is one (notes are HTML, where a line break reads as a blank).
void writeNoteLine(QString line, const QString& mark, const std::function<void(const QString&)>& writeLine) {
    while (!ReadTextFile::FitsInRecord(QString(mark + line))) {
        // Three bytes at most for a UTF-16 unit, room for the mark and CR LF.
        qsizetype cut = (ReadTextFile::kMaxRecordBytes - mark.size() - 2) / 3;
        if (line.at(cut - 1).isHighSurrogate()) --cut;
        const qsizetype blank = line.lastIndexOf(u' ', cut - 1);
        if (blank > 0) cut = blank;
        writeLine(mark + line.left(cut));
        line.remove(0, blank > 0 ? cut + 1 : cut);
    }
    writeLine(mark + line);
}

// A line per piece of a note text, each after its mark; pieces keep their
// blanks, a carriage return (which no record may hold) is dropped.
void noteLines(const QString& text, const QString& mark, const std::function<void(const QString&)>& writeLine) {
    if (text.isEmpty()) return;
    for (const QString& piece : text.split(u'\n')) writeNoteLine(QString(piece).remove(u'\r'), mark, writeLine);
}
}  // namespace

QString sExportTitle(const QString& sTitle) {
    auto isLetter = [](QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
    QString title = sTitle;
    for (QChar& c : title)
        if (!isLetter(c) && !(c >= u'0' && c <= u'9') && c != u'_' && c != u'-') c = u'_';
    if (title.isEmpty() || !isLetter(title[0])) title.prepend(QStringLiteral("Tree"));
    return title;
}

QString sExportFileName(const QString& sTitle) {
    const bool hasPrefix = sTitle.startsWith(QStringLiteral("Tree"), Qt::CaseInsensitive);
    return (hasPrefix ? QString() : QStringLiteral("Tree")) + sTitle + QStringLiteral(".txt");
}

void writeGEDTreeLines(const GEDDocClass& oDoc, const GEDTreeExportContext& context,
                       const std::function<void(const QString&)>& writeLine) {
    auto key = [&context](const QString& xref) { return context.keys ? context.keys->key(xref) : xref; };

    writeLine(QStringLiteral("H Title=") + sExportTitle(context.title) + QStringLiteral(",Version=") +
              context.version + QStringLiteral(",Horiz=True,Stepped=True,SVGFile=False"));
    writeLine(QStringLiteral("H Small=True,Tooltips=True,Timeline=True,PanZoom=True"));
    writeLine(QStringLiteral("H ImagePart=0.6,DesCols=") + QString::number(std::max<int>(oDoc.GetMaxCol(), 12)) +
              QStringLiteral(",DesRows=") + QString::number(std::max<int>(oDoc.GetMaxRow(), 8)));

    if (context.placeKeys && !context.placeKeys->GetDict().isEmpty()) {
        const StringDict& dict = context.placeKeys->GetDict();
        for (int i = 0; i < dict.count(); ++i)
            writeLine(QStringLiteral("U ") + dict.keyAt(i) + u'=' + dict.valueAt(i));
        writeLine(QString());
    }

    const QString lineMarkTip = QStringLiteral("- "), lineMarkNote = QStringLiteral("= ");
    for (const GEDIndiClass& person : oDoc.GetAllPersons()) {
        QString line = QStringLiteral("P ") + key(person.GetXref());
        const QString image = sGetImageSpec(person, context.loadImages);
        if (!image.isEmpty()) line += u'(' + image + u')';
        line += person.GetTentative() ? u'~' : u'=';
        line += person.GetSex() + u'(' + QString::number(person.GetCol()) + u',' + QString::number(person.GetRow()) +
                QStringLiteral("):") + person.GetCaption() + u'|' + person.GetShortCaption();
        const QString names = person.GetPersonalNames();
        if (!names.isEmpty()) line += u'|' + names;
        writeLine(line);
        noteLines(person.GetBriefNotes(), lineMarkTip, writeLine);
        noteLines(person.GetFullNotes(), lineMarkNote, writeLine);
    }

    // A person is the child of one family in a tree: a child that GEDCOM
    // lists in several families is written in its birth family (the one the
    // library chose, which the layout placed it under), else in the first.
    const QList<GEDFamClass> families = oDoc.GetAllFamilies();
    QSet<QString> placed;
    auto writtenHere = [&placed](const GEDIndiClass& child, const GEDFamClass& family) {
        const QString xref = child.GetXref();
        const GEDFamClass birth = child.GetFamC();
        if (!birth.isNull() && !(birth == family) && birth.GetChildren().contains(child)) return false;
        if (placed.contains(xref)) return false;
        placed.insert(xref);
        return true;
    };
    QStringList skipped, movedChildren;
    for (const GEDFamClass& family : families) {
        const GEDIndiClass husb = family.GetHusb(), wife = family.GetWife();
        if (husb.isNull() || wife.isNull() || husb == wife) {
            skipped << family.GetXref();
            continue;
        }
        QStringList children;
        for (const GEDIndiClass& child : family.GetChildren()) {
            if (writtenHere(child, family)) children << key(child.GetXref());
            else movedChildren << child.GetXref() + QStringLiteral(" of ") + family.GetXref();
        }
        QString line = QStringLiteral("F ") + key(family.GetXref()) + (family.GetLiaison() ? u'~' : u'=') +
                       key(husb.GetXref()) + u'+' + key(wife.GetXref()) + u':' + children.join(u',');
        if (family.GetMoreChildren()) line += children.isEmpty() ? QStringLiteral("...") : QStringLiteral(",...");
        writeLine(line);
        noteLines(family.GetBriefNotes(), lineMarkTip, writeLine);
        noteLines(family.GetFullNotes(), lineMarkNote, writeLine);
    }
    if (!context.reporter) return;
    if (!skipped.isEmpty())
        context.reporter->warn(namedList(QStringLiteral("Families without two distinct partners were not exported: "), skipped));
    if (!movedChildren.isEmpty())
        context.reporter->warn(namedList(
            QStringLiteral("Children of more than one family were exported in one family only, without: "), movedChildren));
}
