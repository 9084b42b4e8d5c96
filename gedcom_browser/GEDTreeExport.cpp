#include "GEDTreeExport.h"

#include <algorithm>

#include <QSet>
#include <QStringList>

#include "GEDDocClass.h"
#include "GEDKeyMap.h"
#include "PictureFolders.h"
#include "foundation/AppError.h"
#include "foundation/ReadTextFile.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"
#include "tree_model/PlaceKeyClass.h"
#include "tree_model/SVGViewpointClass.h"
#include "tree_model/TreeText.h"

namespace {
constexpr int kNamedItems = 10;

// A warning that names the first items of a list and counts the rest.
QString namedList(const QString& head, const QStringList& items) {
    QString text = head + items.mid(0, kNamedItems).join(QStringLiteral(", "));
    if (items.size() > kNamedItems)
        text += QStringLiteral(" and ") + QString::number(items.size() - kNamedItems) + QStringLiteral(" more");
    return text;
}

// A person or family record that a tree file could not read back stops the
// export before the file takes the place of an older one.
void checkRecord(const QString& line, const QString& what) {
    if (!ReadTextFile::FitsInRecord(line))
        raiseError(ErrorOffset::InvalidKey, QStringLiteral("FormKinreader"),
                   QStringLiteral("The GEDCOM file cannot be exported: the record of ") + what +
                       QStringLiteral(" would be longer than the ") + QString::number(ReadTextFile::kMaxRecordBytes) +
                       QStringLiteral(" bytes of a line that a tree definition file can hold"));
}

// Writes one note line after its mark; a line too long for a tree file to
// read back is broken into several, at the last blank that fits where there
// is one (notes are HTML, where a line break reads as a blank), else before
// the last tag that begins in it, so that no tag is cut in two (a tag cut
// after its "</" would be read as a comment, and the element it ends would
// stay open).
void writeNoteLine(QString line, const QString& mark, const std::function<void(const QString&)>& writeLine) {
    while (!ReadTextFile::FitsInRecord(QString(mark + line))) {
        // Three bytes at most for a UTF-16 unit, room for the mark and CR LF.
        qsizetype cut = (ReadTextFile::kMaxRecordBytes - mark.size() - 2) / 3;
        if (line.at(cut - 1).isHighSurrogate()) --cut;
        const qsizetype blank = line.lastIndexOf(u' ', cut - 1);
        const qsizetype tag = line.lastIndexOf(u'<', cut - 1);
        if (blank > 0) cut = blank;
        else if (tag > 0) cut = tag;
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

QString sExportTitle(const QString& sTitle) { return sMakeValidName(sTitle, QStringLiteral("Tree")); }

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
    const int gridCols = std::max<int>(oDoc.GetMaxCol(), 12), gridRows = std::max<int>(oDoc.GetMaxRow(), 8);
    writeLine(QStringLiteral("H ImagePart=0.6,DesCols=") + QString::number(gridCols) + QStringLiteral(",DesRows=") +
              QString::number(gridRows));

    if (context.placeKeys && !context.placeKeys->GetDict().isEmpty()) {
        const StringDict& dict = context.placeKeys->GetDict();
        for (int i = 0; i < dict.count(); ++i)
            writeLine(QStringLiteral("U ") + dict.keyAt(i) + u'=' + dict.valueAt(i));
        writeLine(QString());
    }

    const QString lineMarkTip = QStringLiteral("- "), lineMarkNote = QStringLiteral("= ");
    QStringList mendedNames;
    for (const GEDIndiClass& person : oDoc.GetAllPersons()) {
        QString line = QStringLiteral("P ") + key(person.GetXref());
        const QString image = sGetImageSpec(person, context.loadImages);
        if (!image.isEmpty()) line += u'(' + image + u')';
        line += person.GetTentative() ? u'~' : u'=';
        // A name that held "|" or a line break (a NAME continued on a CONT
        // line) has blanks in their place, as the record can hold them.
        QString caption = person.GetCaption(), shortCaption = person.GetShortCaption(),
                names = person.GetPersonalNames();
        if (!fitsBetweenBars(caption) || !fitsBetweenBars(shortCaption) || hasLineBreak(names)) {
            caption = blanksForBreaks(caption, true);
            shortCaption = blanksForBreaks(shortCaption, true);
            names = blanksForBreaks(names, false);
            mendedNames << person.GetXref();
        }
        line += person.GetSex() + u'(' + QString::number(person.GetCol()) + u',' + QString::number(person.GetRow()) +
                QStringLiteral("):") + caption + u'|' + shortCaption;
        if (!names.isEmpty()) line += u'|' + names;
        checkRecord(line, QStringLiteral("person ") + person.GetXref());
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
        checkRecord(line, QStringLiteral("family ") + family.GetXref());
        writeLine(line);
        noteLines(family.GetBriefNotes(), lineMarkTip, writeLine);
        noteLines(family.GetFullNotes(), lineMarkNote, writeLine);
    }
    if (!context.reporter) return;
    if (!mendedNames.isEmpty())
        context.reporter->warn(namedList(
            QStringLiteral("Names holding \"|\" or a line break, which a tree definition file cannot hold there, were "
                           "exported with blanks in their place: "),
            mendedNames));
    if (gridCols > SVGViewpointClass::kMaxGridSide || gridRows > SVGViewpointClass::kMaxGridSide)
        context.reporter->warn(QStringLiteral("The exported tree's grid of %1 columns and %2 rows is larger than the "
                                              "Tree Designer can open, at most %3 columns and %3 rows; its chart can "
                                              "still be written")
                                   .arg(gridCols)
                                   .arg(gridRows)
                                   .arg(SVGViewpointClass::kMaxGridSide));
    if (!skipped.isEmpty())
        context.reporter->warn(namedList(QStringLiteral("Families without two distinct partners were not exported: "), skipped));
    if (!movedChildren.isEmpty())
        context.reporter->warn(namedList(
            QStringLiteral("Children of more than one family were exported in one family only, without: "), movedChildren));
}
