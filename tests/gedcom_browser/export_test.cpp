// The export of a loaded GEDCOM file as a tree definition file: its lines,
// the mends that keep every exported file loadable, and every real GEDCOM
// file of the test data exported and loaded back in full.
#include <QDir>
#include <QTemporaryDir>

#include "BrowserTestSupport.h"
#include "GEDTreeExport.h"
#include "foundation/AppError.h"
#include "foundation/TextHelpers.h"
#include "tree_model/SVGTree.h"
#include "../support/RecordingReporter.h"

namespace {
// The warnings and errors a tree load reported.
QStringList warningsOf(const RecordingReporter& reporter) {
    QStringList out;
    for (const auto& e : reporter.entries)
        if (e.kind != RecordingReporter::Entry::Log) out << e.text;
    return out;
}
}  // namespace

class ExportTest : public SessionTest {
protected:
    QTemporaryDir dir;
    QString out(const QString& name = QStringLiteral("Tree.txt")) const { return dir.filePath(name); }
    QString exported(const QString& name = QStringLiteral("Tree.txt")) {
        session.ExportTreeFile(out(name));
        return QString::fromUtf8(fileBytes(out(name)));
    }
    // Writes GEDCOM text to a file of the test folder and loads it in the browser.
    void loadGedcom(const QByteArray& gedcom, const QString& name = QStringLiteral("t.ged")) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gedcom);
        f.close();
        session.loadFile(dir.filePath(name));
    }
    // Loads an exported file into a tree; the warnings of the load come back.
    QStringList loadTree(SVGTree& tree, const QString& path) {
        RecordingReporter reporter;
        tree.setReporter(&reporter);
        tree.LoadFile(std::make_shared<SVGDisplay>(), path, false);
        tree.setReporter(nullptr);
        EXPECT_FALSE(tree.IsIncompletelyLoaded());
        return warningsOf(reporter);
    }
};

TEST_F(ExportTest, WritesHeaderPlaceKeysPersonsAndFamiliesWithTheirNotes) {
    load("browser.ged");
    exported();
    const QString expected =
        QStringLiteral("H Title=browser,Version=") + sGetVersion() +
        QStringLiteral(
            ",Horiz=True,Stepped=True,SVGFile=False\r\n"
            "H Small=True,Tooltips=True,Timeline=True,PanZoom=True\r\n"
            "H ImagePart=0.6,DesCols=12,DesRows=8\r\n"
            "U GEDDIR1=|/home/pics/\r\n"
            "\r\n"
            "P I1($GEDDIR1:john.jpg)=m(1,2):John Smith (1850-)|John Smith|John /Smith/|Jack /Smith/\r\n"
            "- Born on Tuesday January 1, 1850.\r\n"
            "= <span data-start='{1850-01-01}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>Born on "
            "Tuesday January 1, 1850.</span>\r\n"
            "P I7=m(1,3):Tom Smith (1880-)|Tom Smith|Tom /Smith/\r\n"
            "- Born in 1880.\r\n"
            "= <span data-start='{1880}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>Born in 1880.</span>\r\n"
            "P I2($GEDDIR1:joan.jpg)=f(2,2):Joan M. Smithers (?-)|Joan M. Smithers|Joan Mary /Smithers/\r\n"
            "- Line one\r\n"
            "- Line two\r\n"
            "= Line one<br/>\r\n"
            "= Line two\r\n"
            "P I3=m(3,1):Smith John (?-)|Smith John|Smith /John/\r\n"
            "P I4=f(2,3):(Unnamed) (?-)|(Unnamed)\r\n"
            "P I5=f(2,1):Mary Jones (?-)|Mary Jones|Mary /Jones/\r\n"
            "P I6=m(1,1):Peter Smith (?-1900)|Peter Smith|Peter /Smith/\r\n"
            "- Died in 1900.\r\n"
            "= <span data-start='{1900}' data-evtype='Death' data-event='Died' data-gtag='DEAT'>Died in 1900.</span>\r\n"
            "P Missing8=f(3,2):(Unknown Person) (?-)|(Unknown Person)\r\n"
            "F F1=I1+I2:I7,I4\r\n"
            "- Married in 1875.\r\n"
            "= <span data-start='{1875}' data-evtype='Marriage' data-event='Married' data-gtag='MARR'>Married in "
            "1875.</span>\r\n"
            "F F0=I6+I5:I1\r\n"
            "F F2=I1+Missing8:\r\n");
    EXPECT_EQ(fileBytes(out()), "\xEF\xBB\xBF" + expected.toUtf8());
    EXPECT_EQ(host.log.last(), QStringLiteral("Exporting GEDCOM to tree definition file: ") + out());

    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetPersons().count(), 8);
    EXPECT_EQ(tree.GetFamilies().count(), 3);
    QString url, local;
    tree.GetPlaceKeys().GetPlaces(QStringLiteral("GEDDIR1"), url, local);
    EXPECT_EQ(local, QStringLiteral("/home/pics/"));
}

TEST_F(ExportTest, WithoutImagesNoPersonCarriesAPictureButThePlaceKeysStay) {
    load("browser.ged");
    session.setLoadImages(false);
    const QString text = exported();
    EXPECT_TRUE(text.contains(QStringLiteral("U GEDDIR1=|/home/pics/\r\n\r\nP I1=m(1,2):")));
    EXPECT_FALSE(text.contains(QStringLiteral("($GEDDIR1")));
}

TEST_F(ExportTest, WithoutPlaceKeysPersonsFollowTheHeaderAndWideLayoutsWidenTheGrid) {
    QByteArray gedcom = "0 HEAD\n1 CHAR ASCII\n0 @H@ INDI\n1 NAME H /X/\n1 SEX M\n1 FAMS @F@\n0 @W@ INDI\n1 NAME W /X/\n"
                        "1 SEX F\n1 FAMS @F@\n0 @F@ FAM\n1 HUSB @H@\n1 WIFE @W@\n1 _SVG_F True,False\n";
    for (int i = 1; i <= 20; ++i) gedcom += "1 CHIL @C" + QByteArray::number(i) + "@\n";
    for (int i = 1; i <= 20; ++i)
        gedcom += "0 @C" + QByteArray::number(i) + "@ INDI\n1 NAME C" + QByteArray::number(i) + " /X/\n1 FAMC @F@\n";
    gedcom += "0 TRLR\n";
    loadGedcom(gedcom, QStringLiteral("Wide Family, Smith.ged"));
    const QStringList lines = exported().split(QStringLiteral("\r\n"));
    // Blanks and commas of the title become "_": a comma would split the header record.
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("H Title=Wide_Family__Smith,Version="))) << lines[0].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("H ImagePart=0.6,DesCols=20,DesRows=8"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("P H="))) << lines[3].toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("F F=H+W:C1,C2,C3,C4,C5,C6,C7,C8,C9,C10,C11,C12,C13,C14,C15,C16,C17,"
                                              "C18,C19,C20,...")));
    EXPECT_EQ(session.proposedExportName(), QStringLiteral("TreeWide Family, Smith.txt"));
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetSettings().value(QStringLiteral("Title")), QStringLiteral("Wide_Family__Smith"));
    EXPECT_EQ(tree.GetPersons().count(), 22);
}

TEST(ExportTitle, IsATitleThatTreeSettingsAccepts) {
    const struct {
        const char* fileTitle;
        const char* title;
    } cases[] = {
        {"Smith-Jones_2", "Smith-Jones_2"},
        {"smith.family", "smith_family"},
        {"Wide Family, Smith", "Wide_Family__Smith"},
        {"O'Brien=Kelly (1)", "O_Brien_Kelly__1_"},
        {"M\xC3\xBCller", "M_ller"},
        // The title rule wants an ASCII letter first.
        {"1984 tree", "Tree1984_tree"},
        {"_x", "Tree_x"},
        {"", "Tree"},
    };
    for (const auto& c : cases) {
        const QString title = sExportTitle(QString::fromUtf8(c.fileTitle));
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << c.fileTitle;
        EXPECT_TRUE(bValidName(title)) << c.fileTitle;
    }
}

TEST_F(ExportTest, AFamilyATreeCannotHoldIsLeftOutWithAWarning) {
    load("partners.ged");
    const QString text = exported();
    // A liaison with more children; a partner missing from the file is the
    // library's placeholder; one person as both partners cannot stand.
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nF F1~B+A:C,...\r\nF F3=Missing4+A:\r\n"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("F F2")));
    EXPECT_EQ(host.warnings, QStringList{"Families without two distinct partners were not exported: F2"});
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetFamilies().count(), 2);
    EXPECT_TRUE(tree.GetFamilies().value(QStringLiteral("F1"))->GetLiaison());
    EXPECT_TRUE(tree.GetFamilies().value(QStringLiteral("F1"))->GetMoreChildren());
}

TEST_F(ExportTest, AChildOfSeveralFamiliesStaysInItsBirthFamily) {
    session.loadFile(QStringLiteral(KV_TEST_DATA_DIR "/ged/assess.ged"));
    exported();
    ASSERT_EQ(host.warnings.size(), 1);
    EXPECT_TRUE(host.warnings[0].startsWith(
        QStringLiteral("Children of more than one family were exported in one family only, without: I229 of ")))
        << host.warnings[0].toStdString();
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
}

TEST_F(ExportTest, IdentifiersThatAreNotKeysAreExportedAsTheClipboardNamesThem) {
    load("badkeys.ged");
    const QString text = exported();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nP I1=f(")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nP I_1_2=m(")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nF F2=I_1_2+I1:I_1\r\n")));
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetPersons().keys(), (QList<QString>{"I1", "I_1_2", "I_1"}));
}

// A note paragraph longer than a tree file's line is written over several
// lines, broken at blanks, so the tree loads with every word of it.
TEST_F(ExportTest, ANoteTooLongForOneLineIsWrittenOverSeveral) {
    QByteArray ged = "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Ann /Long/\n1 NOTE start";
    const int pieces = 1600;
    for (int i = 0; i < pieces; ++i) ged += "\n2 CONC  word" + QByteArray::number(i) + " " + QByteArray(40, 'w');
    ged += "\n0 TRLR\n";
    loadGedcom(ged, QStringLiteral("long.ged"));
    exported();
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    const QStringList notes = tree.GetPersons().value(QStringLiteral("I1"))->GetNotes();
    EXPECT_GT(notes.size(), 1);
    const QString joined = notes.join(u' ');
    for (int i : {0, pieces / 2, pieces - 1})
        EXPECT_TRUE(joined.contains(QStringLiteral(" word%1 ").arg(i))) << i;
}

// A long paragraph of mark-up without blanks is broken before a tag, so
// that every line holds whole tags.
TEST_F(ExportTest, ANoteOfMarkUpTooLongForOneLineIsBrokenBetweenTags) {
    QByteArray ged = "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Ann /Long/\n1 NOTE <i>start</i>";
    const int pieces = 2000;
    for (int i = 0; i < pieces; ++i) ged += "\n2 CONC <b>w" + QByteArray::number(i) + "</b><i>" + QByteArray(20, 'x') + "</i>";
    ged += "\n0 TRLR\n";
    const QString gedFile = dir.filePath(QStringLiteral("tags.ged"));
    QFile f(gedFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ged);
    f.close();
    session.loadFile(gedFile);
    exported();
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    const QStringList notes = tree.GetPersons().value(QStringLiteral("I1"))->GetNotes();
    EXPECT_GT(notes.size(), 1);
    for (const QString& line : notes) {
        EXPECT_EQ(line.count(u'<'), line.count(u'>')) << line.left(80).toStdString();
        EXPECT_TRUE(line.startsWith(u'<')) << line.left(80).toStdString();
    }
    EXPECT_TRUE(notes.join(QString()).endsWith(QStringLiteral("<b>w%1</b><i>%2</i>").arg(pieces - 1).arg(QString(20, u'x'))));
}

TEST_F(ExportTest, AFailedExportLeavesAnOlderFileWhole) {
    QFile older(out());
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("H Title=Older\r\n");
    older.close();
    session.loadFile(QStringLiteral(KV_TEST_DATA_DIR "/ged/layout_loop.ged"));
    EXPECT_THROW(session.ExportTreeFile(out()), AppError);
    EXPECT_EQ(fileBytes(out()), QByteArray("H Title=Older\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tree.txt"});
}

// A person or family record longer than a tree file's line would make a
// tree that does not load: the export is refused, naming the record, and an
// older file stays as it was.
TEST_F(ExportTest, ARecordTooLongForATreeFileIsRefusedNamingIt) {
    const QByteArray longName = "1 NAME " + QByteArray(22000, 'n') + " /Long/\n";
    QByteArray bigFamily = "0 HEAD\n1 CHAR ASCII\n0 @H@ INDI\n1 NAME H /X/\n0 @W@ INDI\n1 NAME W /X/\n"
                           "0 @F1@ FAM\n1 HUSB @H@\n1 WIFE @W@\n";
    QByteArray kids;
    for (int i = 0; i < 3300; ++i) {
        const QByteArray id = "CHILD_OF_A_LARGE_FAMILY_" + QByteArray::number(i);
        bigFamily += "1 CHIL @" + id + "@\n";
        kids += "0 @" + id + "@ INDI\n1 NAME C /X/\n1 FAMC @F1@\n";
    }
    const std::pair<QByteArray, QString> cases[] = {
        {"0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n1 NAME Ann /Short/\n0 @I2@ INDI\n" + longName + "0 TRLR\n", "person I2"},
        {bigFamily + kids + "0 TRLR\n", "family F1"},
    };
    for (const auto& [gedcom, what] : cases) {
        SCOPED_TRACE(what.toStdString());
        QFile older(out());
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("H Title=Older\r\n");
        older.close();
        loadGedcom(gedcom);
        try {
            session.ExportTreeFile(out());
            ADD_FAILURE() << "exported";
        } catch (const AppError& e) {
            EXPECT_EQ(e.description, QStringLiteral("The GEDCOM file cannot be exported: the record of ") + what +
                                         QStringLiteral(" would be longer than the 65536 bytes of a line that a tree "
                                                        "definition file can hold"));
        }
        EXPECT_EQ(fileBytes(out()), QByteArray("H Title=Older\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList({"Tree*"}, QDir::Files | QDir::Hidden), QStringList{"Tree.txt"});
    }
}

// A name holding "|" or a line break, which a person record cannot hold,
// is exported with blanks in their place, and the tree loads back with the
// whole name; one warning names the persons.
TEST_F(ExportTest, NamesWithBarsOrLineBreaksGetBlanksWithOneWarning) {
    loadGedcom("0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n1 NAME Mary|Ann /Smith/\n"
               "0 @I2@ INDI\n1 NAME John\n2 CONT Henry /Brown/\n0 @I3@ INDI\n1 NAME Plain /Name/\n0 TRLR\n");
    const QString text = exported();
    EXPECT_TRUE(text.contains(QStringLiteral(":Mary Ann Smith (?-)|Mary Ann Smith|Mary|Ann /Smith/\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(":John Henry Brown (?-)|John Henry Brown|John Henry /Brown/\r\n")))
        << text.toStdString();
    EXPECT_EQ(host.warnings, QStringList{"Names holding \"|\" or a line break, which a tree definition file cannot "
                                         "hold there, were exported with blanks in their place: I1, I2"});
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetPersons().value(QStringLiteral("I1"))->GetText(), QStringLiteral("Mary Ann Smith (?-)"));
    EXPECT_EQ(tree.GetPersons().value(QStringLiteral("I2"))->GetText(), QStringLiteral("John Henry Brown (?-)"));
    EXPECT_NO_THROW(tree.SaveToFile());
}

// A tree wider or taller than the Tree Designer opens is exported all the
// same (its chart can be written), with a warning that gives its size.
TEST_F(ExportTest, AGridTooLargeForTheDesignerIsExportedWithAWarning) {
    loadGedcom("0 HEAD\n1 SOUR Kvora\n1 CHAR ASCII\n0 @I1@ INDI\n1 NAME Far /Away/\n1 _SVG_P 20000,3,False\n"
               "0 @I2@ INDI\n1 NAME Near /By/\n1 _SVG_P 1,16383,False\n0 TRLR\n");
    const QStringList lines = exported().split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[2], QStringLiteral("H ImagePart=0.6,DesCols=20000,DesRows=16383"));
    EXPECT_EQ(host.warnings, QStringList{"The exported tree's grid of 20000 columns and 16383 rows is larger than the "
                                         "Tree Designer can open, at most 16383 columns and 16383 rows; its chart can "
                                         "still be written"});
    SVGTree tree;
    EXPECT_EQ(loadTree(tree, out()), QStringList());
    EXPECT_EQ(tree.GetPersons().count(), 2);
}

// Every GEDCOM file of the test data that the library accepts is exported and
// loads back as a tree with as many persons and families as the browser
// listed, without a warning. Files the library refuses (ANSEL, 5.5.5) and the
// fixtures written with lineage loops are the only ones left out.
TEST_F(ExportTest, EveryAcceptedGedcomFileExportsToATreeThatLoadsInFull) {
    const QDir data(QStringLiteral(KV_TEST_DATA_DIR "/ged"));
    const QStringList loops{"layout_loop.ged", "queries.ged"};
    int exportedFiles = 0, refused = 0;
    for (const QString& name : data.entryList({"*.ged", "*.GED"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        try {
            session.loadFile(data.filePath(name));
        } catch (const AppError& e) {
            EXPECT_TRUE(e.description.startsWith(QStringLiteral("Unsupported GEDCOM"))) << e.description.toStdString();
            ++refused;
            continue;
        }
        ASSERT_NE(session.document(), nullptr);
        if (loops.contains(name)) {
            EXPECT_THROW(session.ExportTreeFile(out()), AppError);
            continue;
        }
        ASSERT_NO_THROW(session.ExportTreeFile(out()));
        SVGTree tree;
        QStringList warnings;
        ASSERT_NO_THROW(warnings = loadTree(tree, out()));
        EXPECT_EQ(warnings, QStringList());
        EXPECT_EQ(tree.GetPersons().count(), session.document()->GetAllPersons().size());
        EXPECT_EQ(tree.GetFamilies().count(), session.document()->GetAllFamilies().size());
        ++exportedFiles;
    }
    EXPECT_GE(exportedFiles, 25);
    EXPECT_GE(refused, 2);
}
