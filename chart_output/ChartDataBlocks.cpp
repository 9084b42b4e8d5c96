#include "ChartDataBlocks.h"

#include "ChartClassLists.h"
#include "SVGApplications.h"
#include "SVGTree.h"
#include "foundation/TextHelpers.h"

namespace {

constexpr int kNotesWidth = 256;
constexpr int kJoinWidth = 150;
const QString kXhtmlNamespace = QStringLiteral("http://www.w3.org/1999/xhtml");

QString notesBaseClass(const QString& sex) {
    if (sex == QLatin1String("f")) return QStringLiteral("tp-female");
    if (sex == QLatin1String("m")) return QStringLiteral("tp-male");
    if (sex == QLatin1String("u")) return QStringLiteral("tp-unk");
    return QStringLiteral("tp-other");
}

}  // namespace

ChartDataBlocks::ChartDataBlocks(const SVGTree& oTree, const SVGApplications& oApps, SVGDisplay::ChartWriter& oOut)
    : tree_(oTree), apps_(oApps), out_(oOut), svg_(oTree.GetDisplay()->GetSVGFile()),
      inst_(oTree.GetDisplay()->GetInst()) {}

QString ChartDataBlocks::sCDataSafe(const QString& sText) {
    if (!sText.contains(QStringLiteral("]]>"))) return sText;
    QString out = sText;
    return out.replace(QStringLiteral("]]>"), QStringLiteral("]]]]><![CDATA[>"));
}

QString ChartDataBlocks::sScriptString(const QString& sText) {
    QString out;
    out.reserve(sText.size());
    for (const QChar c : sText) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\'': out += QStringLiteral("\\'"); break;
        case u'<': out += QStringLiteral("\\x3C"); break;
        case u'>': out += QStringLiteral("\\x3E"); break;
        case u'&': out += QStringLiteral("\\x26"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
                out += QStringLiteral("\\u") + QString::number(uint(c.unicode()), 16).toUpper().rightJustified(4, u'0');
            else
                out += c;
        }
    }
    return out;
}

int ChartDataBlocks::iWriteNotesLines(const QStringList& sLines, bool bData) {
    const PlaceKeyClass& places = tree_.GetPlaceKeys();
    for (const QString& line : sLines) {
        QString text;
        if (bData)
            text = apps_.UsesPlaceKeys(line) ? places.ExpandAllDataURLs(line, false) : line;
        else
            text = places.ExpandAllHTMLURLs(line, false);
        // Notes are HTML; program-data rows are plain text, which an SVG chart
        // keeps in a CDATA section and an HTML page needs escaped, so that a
        // row holding "<" or "&" reads back as written and never as mark-up.
        if (svg_)
            text = sCDataSafe(text);
        else if (bData)
            text = text.toHtmlEscaped();
        out_.WriteOutput(text, false, kNotesWidth);
    }
    return static_cast<int>(sLines.size());
}

void ChartDataBlocks::writeElementStart(const QString& sId, const QString& sClasses) {
    const QString classAttr =
        sClasses.isNull() ? QString() : QStringLiteral("class=\"") + sEscapeXML(sClasses) + QStringLiteral("\" ");
    if (svg_) {
        out_.WriteOutput(QStringLiteral("<foreignObject>"), false, kNotesWidth);
        out_.WriteOutput(QStringLiteral("<div ") + classAttr + QStringLiteral("id=\"") + sId +
                             QStringLiteral("\" xmlns=\"") + kXhtmlNamespace + QStringLiteral("\"><![CDATA["),
                         false, kNotesWidth);
    } else {
        out_.WriteOutput(QStringLiteral("<div ") + classAttr + QStringLiteral("id=\"") + sId +
                             QStringLiteral("\" style=\"display:none;\">"),
                         false, kNotesWidth);
    }
}

void ChartDataBlocks::writeElementEnd() {
    out_.WriteOutput(svg_ ? QStringLiteral("]]></div></foreignObject>") : QStringLiteral("</div>"), false,
                     kNotesWidth);
}

void ChartDataBlocks::GenerateNotes() {
    if (!svg_) out_.WriteOutput(QStringLiteral("<div>"), false, kNotesWidth);
    PersonDict viewPersons;
    for (const auto& [key, person] : tree_.GetViewPersons(viewPersons)) {
        const QStringList notes = person->GetNotes();
        if (notes.isEmpty()) continue;
        writeElementStart(QStringLiteral("P") + inst_ + u'_' + key,
                          GetPersonClassList(tree_, *person, QStringLiteral("ClassPersonNotes"),
                                             notesBaseClass(person->GetSex())));
        iWriteNotesLines(notes, false);
        writeElementEnd();
    }
    FamilyDict viewFamilies;
    for (const auto& [key, family] : tree_.GetViewFamilies(viewFamilies)) {
        const QStringList notes = family->GetNotes();
        if (notes.isEmpty()) continue;
        writeElementStart(QStringLiteral("F") + inst_ + u'_' + key,
                          GetFamilyClassList(tree_, *family, QStringLiteral("ClassFamilyNotes"),
                                             QStringLiteral("tp-family")));
        iWriteNotesLines(notes, false);
        writeElementEnd();
    }
    if (!svg_) out_.WriteOutput(QStringLiteral("</div>"), false, kNotesWidth);
}

void ChartDataBlocks::GenerateProgData() {
    PersonDict viewPersons;
    for (const auto& [key, person] : tree_.GetViewPersons(viewPersons)) {
        const QStringList rows = person->GetProgData();
        if (rows.isEmpty()) continue;
        writeElementStart(QStringLiteral("P") + inst_ + u'.' + key, QString());
        iWriteNotesLines(rows, true);
        writeElementEnd();
    }
    FamilyDict viewFamilies;
    for (const auto& [key, family] : tree_.GetViewFamilies(viewFamilies)) {
        const QStringList rows = family->GetProgData();
        if (rows.isEmpty()) continue;
        writeElementStart(QStringLiteral("F") + inst_ + u'.' + key, QString());
        iWriteNotesLines(rows, true);
        writeElementEnd();
    }
}

void ChartDataBlocks::GenerateDataSignatures() {
    QStringList ids, descrs, sigs;
    apps_.GetDataList(ids, descrs, sigs);
    if (ids.isEmpty()) return;
    out_.WriteOutput(QStringLiteral("<script>"), false, kJoinWidth);
    if (svg_) out_.WriteOutput(QStringLiteral("<![CDATA["), false, kJoinWidth);
    out_.WriteOutput(QStringLiteral("if (typeof pd_dataSignatures !== 'undefined') { "), true, kJoinWidth);
    out_.WriteOutput(QStringLiteral("pd_dataSignatures[\"") + inst_ + QStringLiteral("\"] = {"), true, kJoinWidth);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const bool last = i == ids.size() - 1;
        out_.WriteOutput(ids[i] + QStringLiteral(":'") + sScriptString(sigs.value(i)) +
                             (last ? QStringLiteral("' ") : QStringLiteral("', ")),
                         true, kJoinWidth);
    }
    out_.WriteOutput(QStringLiteral("}; }"), false, kJoinWidth);
    if (svg_) out_.WriteOutput(QStringLiteral("]]>"), false, kJoinWidth);
    out_.WriteOutput(QStringLiteral("</script>"), false, kJoinWidth);
}
