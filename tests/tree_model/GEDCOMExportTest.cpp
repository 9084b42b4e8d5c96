#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "GEDCOMExport.h"
#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "GEDEventClass.h"
#include "GEDTagClass.h"
#include "TreeFiles.h"
#include "TreeFixture.h"
#include "foundation/TextHelpers.h"

namespace {

const QString kExportData = QStringLiteral(KV_TEST_DATA_DIR "/gedcom_export/");

// The file's text without its byte-order mark, split at CR LF.
QStringList exportedLines(const QString& file) {
    const QByteArray bytes = TreeFiles::read(file);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    QString text = QString::fromUtf8(bytes.mid(3));
    EXPECT_FALSE(text.contains(QRegularExpression("[^\r]\n"))) << "a line ends without CR";
    QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.last(), QString());
    lines.removeLast();
    return lines;
}

// The lines of the record that starts with `head` ("0 @k@ INDI"), up to the next record.
QStringList recordLines(const QStringList& lines, const QString& head) {
    QStringList out;
    const qsizetype start = lines.indexOf(head);
    if (start < 0) return {QStringLiteral("no record ") + head};
    for (qsizetype i = start + 1; i < lines.size() && !lines[i].startsWith(u'0'); ++i) out << lines[i];
    return out;
}

QStringList exportTree(const SVGTree& tree, const TreeFiles& files) {
    const QString file = files.path(QStringLiteral("out.ged"));
    tree.ExportToGEDCOM(file);
    return exportedLines(file);
}

// A loaded document together with the warnings its load reported.
struct LoadedGEDCOM : GEDControlListener {
    std::shared_ptr<GEDControlClass> control = createGEDControl();
    std::shared_ptr<GEDDocClass> doc;
    QStringList warnings;
    explicit LoadedGEDCOM(const QString& file) {
        control->SetListener(this);
        doc = control->LoadGEDCOM(file);
    }
    ~LoadedGEDCOM() override { control->SetListener(nullptr); }
    void ReportMessage(const QString& text, bool warning) override {
        if (warning) warnings << text;
    }
    GEDIndiClass person(const QString& key) const { return GEDIndiClass(doc->GetXrefs().value(key)); }
    GEDFamClass family(const QString& key) const { return GEDFamClass(doc->GetXrefs().value(key)); }
};

// "TAG date" for each event line of a record, in file order.
QStringList eventsOf(const GEDObject& record) {
    QStringList out;
    for (const GEDObject& line : record.GetData()) {
        const GEDEventClass event(line);
        if (event) out << GEDTagClass::instance().GetTagname(event.GetType()) + u' ' + event.GetDate();
    }
    out.sort();
    return out;
}

class GEDCOMExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadTree(tree, kExportData + QStringLiteral("TreeExport.txt"), log);
        ASSERT_FALSE(tree.IsIncompletelyLoaded());
        log.entries.clear();
    }
    QString exportFixture() {
        const QString file = files.path(QStringLiteral("TreeExport.ged"));
        tree.ExportToGEDCOM(file);
        return file;
    }

    TreeFiles files;
    RecordingReporter log;
    SVGTree tree;
};

}  // namespace

TEST_F(GEDCOMExportTest, FixtureTreeGivesTheExpectedFile) {
    const QDate before = QDate::currentDate();
    const QString file = exportFixture();
    QStringList lines = exportedLines(file);

    // The header carries the program's version and today's date.
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[2], QStringLiteral("2 VERS ") + sGetVersion());
    const QString today = sGEDCOMHeaderDate(before), after = sGEDCOMHeaderDate(QDate::currentDate());
    EXPECT_TRUE(lines[6] == QStringLiteral("1 DATE ") + today || lines[6] == QStringLiteral("1 DATE ") + after) << lines[6];
    lines[2] = QStringLiteral("2 VERS {version}");
    lines[6] = QStringLiteral("1 DATE {today}");

    const QStringList expected = exportedLines(kExportData + QStringLiteral("TreeExport.ged"));
    EXPECT_EQ(lines.join(u'\n'), expected.join(u'\n'));
    for (const QString& line : lines) EXPECT_LE(line.toUcs4().size() + 2, kGEDCOMMaxLine) << line;

    // The export reads the tree and changes nothing in it.
    EXPECT_EQ(log.texts(RecordingReporter::Entry::Log),
              QList<QString>{QStringLiteral("Exporting tree to GEDCOM file: ") + file});
    EXPECT_FALSE(tree.IsUnsaved());
    EXPECT_FALSE(tree.HasPendingPFChange());
}

TEST_F(GEDCOMExportTest, LibraryReadsEverythingBack) {
    const LoadedGEDCOM loaded(exportFixture());
    ASSERT_TRUE(loaded.doc);
    EXPECT_EQ(loaded.warnings, QStringList());
    EXPECT_TRUE(loaded.doc->Kestrova());
    EXPECT_EQ(loaded.doc->GetVersion(), QStringLiteral("5.5.1"));

    StringDict settings = tree.GetSettings();
    for (const char* skipped : {"Version", "Inst", "RootKey"}) settings.remove(QString::fromLatin1(skipped));
    EXPECT_TRUE(settings.contains(QStringLiteral("inst")));
    EXPECT_EQ(loaded.doc->GetAllHRec(), settings);
    EXPECT_EQ(loaded.doc->GetAllURec(), tree.GetPlaceKeys().GetDict());

    ASSERT_EQ(loaded.doc->GetCountPersons(), tree.GetPersons().count());
    for (const auto& [key, box] : tree.GetPersons()) {
        SCOPED_TRACE(key.toStdString());
        const GEDIndiClass person = loaded.person(key);
        ASSERT_TRUE(person);
        const QString names = box->GetPersonalNames().isEmpty() ? box->CreatePersonalName() : box->GetPersonalNames();
        EXPECT_EQ(person.GetPersonalNames(), names);
        EXPECT_EQ(person.GetSex(), box->GetSex() == u"x" ? QStringLiteral("u") : box->GetSex());
        EXPECT_EQ(person.GetCol(), box->GetCol());
        EXPECT_EQ(person.GetRow(), box->GetRow());
        EXPECT_EQ(person.GetTentative(), box->GetTentative());
        QStringList locals;
        for (const auto& kv : box->GetLocSettings()) locals << kv.first + u'=' + kv.second;
        EXPECT_EQ(person.GetLocalSettings(), locals.join(u','));
        EXPECT_EQ(person.GetFamC().isNull() ? QString() : person.GetFamC().GetXref(), tree.ChildFamily(key));
    }
    // Every position came from the file: the layout keeps them.
    loaded.doc->Layout();
    EXPECT_EQ(loaded.person(QStringLiteral("otto")).GetCol(), tree.GetPersons().value("otto")->GetCol());

    ASSERT_EQ(loaded.doc->GetCountFamilies(), tree.GetFamilies().count());
    for (const auto& [key, fam] : tree.GetFamilies()) {
        SCOPED_TRACE(key.toStdString());
        const GEDFamClass family = loaded.family(key);
        ASSERT_TRUE(family);
        QStringList parents{family.GetHusb().GetXref(), family.GetWife().GetXref()};
        QStringList treeParents{fam->GetFirstPar()->GetKey(), fam->GetSecPar()->GetKey()};
        parents.sort();
        treeParents.sort();
        EXPECT_EQ(parents, treeParents);
        QStringList children, treeChildren;
        for (const GEDIndiClass& c : family.GetChildren()) children << c.GetXref();
        for (const SVGBoxPtr& c : fam->GetChildren()) treeChildren << c->GetKey();
        children.sort();
        treeChildren.sort();
        EXPECT_EQ(children, treeChildren);
        EXPECT_EQ(family.GetMoreChildren(), fam->GetMoreChildren());
        EXPECT_EQ(family.GetLiaison(), fam->GetLiaison());
        QStringList locals;
        for (const auto& kv : fam->GetLocSettings()) locals << kv.first + u'=' + kv.second;
        EXPECT_EQ(family.GetLocalSettings(), locals.join(u','));
    }

    // Every dated event comes back with its date; a date the conversion has
    // no GEDCOM form for comes back as a phrase.
    EXPECT_EQ(eventsOf(loaded.person(QStringLiteral("hans"))),
              (QStringList{"BAPM 1850-03-10J", "BIRT 1850-03-05", "CENS 1871-06-01D", "OCCU FROM 1870 TO 1875"}));
    EXPECT_EQ(eventsOf(loaded.person(QStringLiteral("greta"))),
              (QStringList{"DEAT ABT 1920", "EVEN @#DGREGORIAN@INT 1850(about then)", "EVEN BEF 1920-12",
                           "RESI @#DGREGORIAN@(in the spring)"}));
    EXPECT_EQ(eventsOf(loaded.family(QStringLiteral("fam1"))), QStringList{"MARR BET 1870-05 AND 1871"});
}

TEST(GEDCOMExportLines, LongLinesAreContinuedWithinTheLimit) {
    const QString x250 = QString(250, u'x');
    const QString book = QString::fromUcs4(U"\U0001F4D6");
    struct Case {
        QString line;
        int level;
        QStringList expected;  // empty: only the general rules are checked
    };
    const QString prefix = QStringLiteral("1 NOTE ");
    const QList<Case> cases = {
        // 253 characters fit; one more goes on a CONC line one level down.
        {prefix + QString(246, u'a'), 1, {prefix + QString(246, u'a')}},
        {prefix + QString(247, u'a'), 1, {prefix + QString(246, u'a'), QStringLiteral("2 CONC a")}},
        // A cut in a run of blanks moves back to fall between two letters.
        {prefix + QString(240, u'a') + QStringLiteral(" bcd     ") + QStringLiteral("efg"), 1,
         {prefix + QString(240, u'a') + QStringLiteral(" bc"), QStringLiteral("2 CONC d     efg")}},
        // A character outside the basic plane counts once and is never divided.
        {prefix + QString(245, u'a') + book + QStringLiteral("bc"), 3,
         {prefix + QString(245, u'a') + book, QStringLiteral("4 CONC bc")}},
        {prefix + QString(245, u'a') + QStringLiteral("b") + book + QStringLiteral("c"), 1,
         {prefix + QString(245, u'a') + QStringLiteral("b"), QStringLiteral("2 CONC ") + book + QStringLiteral("c")}},
        // A doubled "@" stays whole.
        {prefix + QString(245, u'a') + QStringLiteral("@@b"), 1,
         {prefix + QString(245, u'a'), QStringLiteral("2 CONC @@b")}},
        // Long runs: every part within the limit, wholly kept.
        {prefix + x250 + x250 + x250 + x250, 1, {}},
        {prefix + QString(600, u' ') + QStringLiteral("end"), 1, {}},
        {QStringLiteral("11 NOTE ") + QString(300, u'@'), 11, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.left(40).toStdString());
        const QStringList lines = splitGEDCOMLine(c.line, c.level);
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(lines, c.expected);
        }
        QString joined = lines.value(0);
        const QString conc = QString::number(c.level + 1) + QStringLiteral(" CONC ");
        for (qsizetype i = 1; i < lines.size(); ++i) {
            ASSERT_TRUE(lines[i].startsWith(conc)) << lines[i];
            joined += lines[i].mid(conc.size());
        }
        EXPECT_EQ(joined, c.line);
        for (const QString& line : lines) {
            EXPECT_LE(line.toUcs4().size() + 2, kGEDCOMMaxLine);
            EXPECT_FALSE(line.back().isHighSurrogate());
            EXPECT_FALSE(line.mid(conc.size(), 1).front().isLowSurrogate());
            EXPECT_EQ(line.count(u'@') % 2, 0);
        }
    }
    EXPECT_EQ(sGEDCOMHeaderDate(QDate(2026, 3, 5)), QStringLiteral("05 MAR 2026"));
    EXPECT_EQ(sGEDCOMHeaderDate(QDate(1999, 12, 31)), QStringLiteral("31 DEC 1999"));
}

TEST(GEDCOMExportRecords, PlainCoupleAndParentOrder) {
    SVGTree tree;
    addCouple(tree);
    tree.NewPerson("eve", "Eve", "", 3, 1, "x", false, "", true);
    tree.NewFamily("f2", "ann", "eve");  // first parent female: the other is HUSB
    TreeFiles files;
    const QStringList lines = exportTree(tree, files);
    EXPECT_EQ(recordLines(lines, "0 @ann@ INDI"),
              (QStringList{"1 NAME Ann /Smith/", "1 SEX F", "1 _SVG_P 1,1,False", "1 FAMS @f1@", "1 FAMS @f2@"}));
    EXPECT_EQ(recordLines(lines, "0 @cat@ INDI"),
              (QStringList{"1 NAME Cat /Smith/", "1 SEX F", "1 _SVG_P 1,2,False", "1 FAMC @f1@"}));
    EXPECT_EQ(recordLines(lines, "0 @eve@ INDI"),
              (QStringList{"1 NAME /Eve/", "1 SEX U", "1 _SVG_P 3,1,False", "1 FAMS @f2@"}));
    EXPECT_EQ(recordLines(lines, "0 @f1@ FAM"),
              (QStringList{"1 _SVG_F False,False", "1 HUSB @bob@", "1 WIFE @ann@", "1 CHIL @cat@", "1 CHIL @dan@"}));
    EXPECT_EQ(recordLines(lines, "0 @f2@ FAM"), (QStringList{"1 _SVG_F False,False", "1 HUSB @eve@", "1 WIFE @ann@"}));
    EXPECT_EQ(lines.last(), QStringLiteral("0 TRLR"));
}

TEST(GEDCOMExportRecords, SubmitterKeepsClearOfTheTreesKeys) {
    SVGTree tree;
    tree.NewPerson("Subm_User", "Sam User", "", 1, 1, "m", false, "", true);
    TreeFiles files;
    const QStringList lines = exportTree(tree, files);
    EXPECT_TRUE(lines.contains("1 SUBM @Subm_User-1@"));
    EXPECT_EQ(recordLines(lines, "0 @Subm_User-1@ SUBM"), QStringList{"1 NAME Velmont"});
    const LoadedGEDCOM loaded(files.path("out.ged"));
    ASSERT_TRUE(loaded.doc);
    EXPECT_EQ(loaded.person("Subm_User").GetName(), QStringLiteral("Sam User"));
}

TEST(GEDCOMExportRecords, EventMarkupInNotes) {
    struct Case {
        const char* what;
        QStringList notes;
        QStringList expected;  // the record's lines after its _SVG_P line
    };
    const QList<Case> cases = {
        {"an unknown description gives EVEN",
         {"<span data-start='1901' data-event='Went to sea'>Off &amp; away.</span>"},
         {"1 EVEN", "2 DATE 1901", "2 NOTE Off &amp; away."}},
        {"the description gives the tag; decoded attribute values",
         {"<span data-start='{1850-01-02}' data-event='Christened' data-gtype=\"&lt;a&gt; &amp; b\">x</span>"},
         {"1 CHR", "2 DATE 02 JAN 1850", "2 TYPE <a> & b", "2 NOTE x"}},
        {"an event without end tag runs to the end; the notes before it stay",
         {"Before.", "", "<div data-start='1850'>Unclosed", "text"},
         {"1 EVEN", "2 DATE 1850", "2 NOTE Unclosed", "3 CONT text", "1 NOTE Before."}},
        {"a nested event is written on its own and left out of the outer text",
         {"<div data-start='1850' data-gtag='RESI'>In town <span data-start='1851' data-gtag='OCCU' "
          "data-gpayl='Smith'>smithing</span> for years.</div>"},
         {"1 RESI", "2 DATE 1850", "2 NOTE In town  for years.", "1 OCCU Smith", "2 DATE 1851", "2 NOTE smithing"}},
        {"paragraphs become NOTE structures, line breaks CONT lines, @ doubled",
         {"First<br/>", "line @ two<br/>", "<br/>", "Second."},
         {"1 NOTE First", "2 CONT line @@ two", "1 NOTE Second."}},
        {"mark-up the parser refuses is kept as text",
         {"<a href='x' href='y'>link</a>"},
         {"1 NOTE <a href='x' href='y'>link</a>"}},
        {"elements without a start date are no events",
         {"<span data-event='Born'>Born</span> <div>x</div>"},
         {"1 NOTE <span data-event='Born'>Born</span> <div>x</div>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SVGTree tree;
        tree.NewPerson("p", "P Q", "", 1, 1, "m", false, "", true)->SetNotes(c.notes);
        TreeFiles files;
        EXPECT_EQ(recordLines(exportTree(tree, files), "0 @p@ INDI").mid(3), c.expected);
    }
}

TEST(GEDCOMExportErrors, FailuresRiseAndLeaveTheTargetAlone) {
    TreeFiles files;
    RecordingReporter log;
    SVGTree tree;
    tree.setReporter(&log);
    addCouple(tree);

    // A file that cannot be created: the log line comes first.
    const QString missing = files.path(QStringLiteral("no/such/folder/out.ged"));
    const AppError io = errorOf([&] { tree.ExportToGEDCOM(missing); });
    EXPECT_EQ(io.number, errorNumber(ErrorOffset::TextFileIO));
    EXPECT_EQ(log.texts(RecordingReporter::Entry::Log).value(0),
              QStringLiteral("Exporting tree to GEDCOM file: ") + missing);

    // A date the library cannot convert ends the export; the file that was
    // there stays whole.
    const QString target = files.write(QStringLiteral("old.ged"), "old contents");
    tree.GetPersons().value("dan")->SetNotes({"<span data-start='1850-xx-01'>bad</span>"});
    const AppError date = errorOf([&] { tree.ExportToGEDCOM(target); });
    EXPECT_NE(date.description, QString());
    EXPECT_EQ(TreeFiles::read(target), QByteArray("old contents"));
}

// An independent GEDCOM reader (the Perl Gedcom module, with its GEDCOM 5.5.1
// grammar) reads the exported files of the fixtures and of the sample tree
// the program ships, and validates them without complaint.
TEST_F(GEDCOMExportTest, IndependentReaderValidatesTheExport) {
    const QString perl = QStandardPaths::findExecutable(QStringLiteral("perl"));
    if (perl.isEmpty() || QProcess::execute(perl, {"-MGedcom", "-e", "1"}) != 0)
        GTEST_SKIP() << "perl with the Gedcom module is not installed";
    const QString script = QStringLiteral(KV_SOURCE_DIR "/tests/tree_model/validate_gedcom.pl");
    const QStringList treeFiles = {kExportData + "TreeExport.txt", QStringLiteral(KV_TEST_DATA_DIR "/trees/TreeRich-utf8.txt"),
                                   QStringLiteral(KV_SOURCE_DIR "/share/samples/TreeHarwood.txt")};
    for (const QString& treeFile : treeFiles) {
        SCOPED_TRACE(treeFile.toStdString());
        SVGTree sample;
        RecordingReporter sampleLog;
        loadTree(sample, treeFile, sampleLog);
        const QString file = files.path(QFileInfo(treeFile).baseName() + QStringLiteral(".ged"));
        sample.ExportToGEDCOM(file);
        QProcess run;
        run.start(perl, {script, file});
        ASSERT_TRUE(run.waitForFinished(60000));
        const QString output = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());
        EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("persons=") + QString::number(sample.GetPersons().count()))) << output.toStdString();
    }
}
