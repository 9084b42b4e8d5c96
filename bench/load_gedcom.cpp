// Loads a GEDCOM file through GEDControlClass::LoadGEDCOM in a process of its
// own, for timing a whole load from outside:
//   load_gedcom <file>            loads it and prints the number of persons
//   load_gedcom <file> --dump     also writes everything the library answers
//                                 about the document, in a fixed order, so that
//                                 two builds of the library can be compared
//                                 line by line over the same files
// load_gedcom runs on the program's heap, load_gedcom_libc on the C library's.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "AppError.h"
#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GEDEventClass.h"
#include "GEDFamClass.h"
#include "GEDIndiClass.h"
#include "GEDOtherClass.h"
#include "GEDSVGClass.h"
#include "GEDXrefTable.h"

namespace {

// Writes UTF-8 lines; line breaks inside a value are shown as "\n", "\r".
class Out {
public:
    void line(const QString& text) {
        QString shown = text;
        shown.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
        const QByteArray bytes = shown.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fputc('\n', stdout);
    }
};

class Recorder : public GEDControlListener {
public:
    explicit Recorder(Out* out) : out_(out) {}
    void ReportMessage(const QString& sText, bool bWarning) override {
        if (out_) out_->line((bWarning ? QStringLiteral("WARN ") : QStringLiteral("INFO ")) + sText);
    }

private:
    Out* out_;
};

QString xrefOf(const GEDObject& o) {
    if (o.isNull()) return QStringLiteral("-");
    switch (o.kind()) {
    case GEDKind::Indi: return GEDIndiClass(o).GetXref();
    case GEDKind::Fam: return GEDFamClass(o).GetXref();
    case GEDKind::Other: return GEDOtherClass(o).GetXref();
    default: return QString();
    }
}

QString eventText(const GEDEventClass& e) {
    if (e.isNull()) return QStringLiteral("-");
    return QStringLiteral("%1[%2|%3|%4|%5]").arg(e.GetType()).arg(e.GetDate(), e.GetPlace(), e.GetGType(), e.GetPayL());
}

void dumpLine(Out& out, const GEDObject& o, int depth) {
    QString text(depth, u' ');
    text += QString::number(static_cast<int>(o.kind()));
    switch (o.kind()) {
    case GEDKind::Other: {
        const GEDOtherClass line(o);
        text += QStringLiteral(" %1 @%2@ %3").arg(line.GetType()).arg(line.GetXref(), line.GetPayL());
        break;
    }
    case GEDKind::Event: text += u' ' + eventText(GEDEventClass(o)); break;
    case GEDKind::SVG: {
        const GEDSVGClass line(o);
        text += QStringLiteral(" %1 %2").arg(line.GetType()).arg(line.GetPayL());
        break;
    }
    default: text += u' ' + xrefOf(o); break;
    }
    out.line(text);
    for (const GEDObject& child : o.GetData()) dumpLine(out, child, depth + 1);
}

QString joinXrefs(const auto& list) {
    QStringList ids;
    for (const auto& o : list) ids.append(xrefOf(o));
    return ids.join(u',');
}

void dumpDocument(Out& out, GEDDocClass& doc) {
    out.line(QStringLiteral("DOC version=%1 persons=%2 families=%3 rows=%4 cols=%5 own=%6")
                 .arg(doc.GetVersion())
                 .arg(doc.GetCountPersons())
                 .arg(doc.GetCountFamilies())
                 .arg(doc.GetMaxRow())
                 .arg(doc.GetMaxCol())
                 .arg(doc.Kestrova()));
    out.line(QStringLiteral("HEAD ") + xrefOf(doc.GetHead()));
    for (const auto& [k, v] : doc.GetAllHRec()) out.line(QStringLiteral("HREC ") + k + u'=' + v);
    for (const auto& [k, v] : doc.GetAllURec()) out.line(QStringLiteral("UREC ") + k + u'=' + v);
    QList<QString> keys = doc.GetXrefs().keys();
    std::sort(keys.begin(), keys.end());
    out.line(QStringLiteral("XREFS %1").arg(doc.GetXrefs().count()));
    for (const QString& k : keys) {
        const GEDObject rec = doc.GetXrefs().value(k);
        out.line(QStringLiteral("XREF %1 %2 %3").arg(k).arg(static_cast<int>(rec.kind())).arg(xrefOf(rec)));
    }
    for (const GEDObject& rec : doc.GetData()) {
        dumpLine(out, rec, 0);
        out.line(QStringLiteral(" NOTES ") + doc.GetNotes(rec));
    }
    const QList<GEDIndiClass> persons = doc.GetAllPersons();
    const QList<QStringList> names = doc.GetAllNames(persons);
    for (qsizetype i = 0; i < persons.size(); ++i) {
        const GEDIndiClass& p = persons[i];
        const QList<GEDFamClass> fams = p.GetFamS();
        out.line(QStringLiteral("INDI %1 name=%2 names=%3 words=%4 sex=%5 at=%6,%7 birth=%8 death=%9")
                     .arg(p.GetXref(), p.GetName(), p.GetPersonalNames(), names[i].join(u'|'), p.GetSex())
                     .arg(p.GetRow())
                     .arg(p.GetCol())
                     .arg(eventText(p.GetBirth()), eventText(p.GetDeath())));
        out.line(QStringLiteral(" famc=%1 fams=%2 spouses=%3 tentative=%4 settings=%5 image=%6 place=%7")
                     .arg(xrefOf(p.GetFamC()), joinXrefs(fams), joinXrefs(p.GetSpouses(fams)))
                     .arg(p.GetTentative())
                     .arg(p.GetLocalSettings(), p.GetImage(), p.GetImagePlace()));
        out.line(QStringLiteral(" caption=%1 short=%2 related=%3").arg(p.GetCaption(), p.GetShortCaption(), p.GetRelatedSpouses()));
        out.line(QStringLiteral(" notes=%1 brief=%2 full=%3").arg(p.GetNotes(), p.GetBriefNotes(), p.GetFullNotes()));
    }
    for (const GEDFamClass& f : doc.GetAllFamilies()) {
        out.line(QStringLiteral("FAM %1 husb=%2 wife=%3 children=%4 marriage=%5 liaison=%6 more=%7 settings=%8")
                     .arg(f.GetXref(), xrefOf(f.GetHusb()), xrefOf(f.GetWife()), joinXrefs(f.GetChildren()),
                          eventText(f.GetMarriage()))
                     .arg(f.GetLiaison())
                     .arg(f.GetMoreChildren())
                     .arg(f.GetLocalSettings()));
        out.line(QStringLiteral(" notes=%1 brief=%2 full=%3").arg(f.GetNotes(), f.GetBriefNotes(), f.GetFullNotes()));
    }
    // The layout reads the link tables the load filled.
    try {
        doc.Layout();
        out.line(QStringLiteral("LAYOUT rows=%1 cols=%2").arg(doc.GetMaxRow()).arg(doc.GetMaxCol()));
        for (const GEDIndiClass& p : persons)
            out.line(QStringLiteral(" %1 %2,%3").arg(p.GetXref()).arg(p.GetRow()).arg(p.GetCol()));
    } catch (const AppError& e) {
        out.line(QStringLiteral("LAYOUT ERROR %1 %2 %3").arg(e.number).arg(e.source, e.description));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file> [--dump]\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const bool dump = argc > 2 && std::strcmp(argv[2], "--dump") == 0;
    Out out;
    Recorder recorder(dump ? &out : nullptr);
    auto control = createGEDControl();
    control->SetListener(&recorder);
    try {
        auto doc = control->LoadGEDCOM(QString::fromLocal8Bit(argv[1]));
        if (!doc) {
            std::printf("abandoned\n");
            return 1;
        }
        if (dump)
            dumpDocument(out, *doc);
        else
            std::printf("%d persons\n", doc->GetCountPersons());
    } catch (const AppError& e) {
        out.line(QStringLiteral("ERROR %1 %2 %3").arg(e.number).arg(e.source, e.description));
        return dump ? 0 : 1;
    }
    return 0;
}
