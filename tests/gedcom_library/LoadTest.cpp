#include <gtest/gtest.h>

#include <QStringConverter>

#include "AppError.h"
#include "GEDEventClass.h"
#include "GEDTagClass.h"
#include "GedFixtures.h"

namespace {

QString tagName(const GEDObject& line) {
    short tag = 0;
    if (line.kind() == GEDKind::Other) tag = GEDOtherClass(line).GetType();
    else if (line.kind() == GEDKind::Event) tag = GEDEventClass(line).GetType();
    else if (line.kind() == GEDKind::Indi) return QStringLiteral("INDI");
    else if (line.kind() == GEDKind::Fam) return QStringLiteral("FAM");
    return GEDTagClass::instance().GetTagname(tag);
}

QStringList tagNames(const QList<GEDObject>& lines) {
    QStringList out;
    for (const GEDObject& line : lines) out.append(tagName(line));
    return out;
}

// The error a load raises, or a null error number when it raises none.
AppError loadError(GedLoad& load, const QByteArray& bytes) {
    try {
        load.loadBytes(bytes);
    } catch (const AppError& e) {
        return e;
    }
    return AppError();
}

TEST(Load, ContinuationLinesFoldIntoTheLineTheyContinue) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("continuation.ged"));
    ASSERT_TRUE(doc);
    const GEDIndiClass anna(doc->GetXrefs().value(QStringLiteral("I1")));
    // Trailing blanks of every line are gone; CONC keeps the blank after its
    // delimiter, CONT starts a new line without leading blanks.
    EXPECT_EQ(anna.GetPersonalNames(), QStringLiteral("Anna /Berg/"));
    const QList<GEDObject> lines = anna.GetData();
    ASSERT_EQ(tagNames(lines), QStringList({"NAME", "NOTE", "NOTE", "CONT"}));
    EXPECT_EQ(GEDOtherClass(lines[1]).GetPayL(), QStringLiteral("First part\nnextline"));
    // A CONT at the level of the line before it is a line of its own.
    EXPECT_EQ(GEDOtherClass(lines[3]).GetPayL(), QStringLiteral("stands alone"));
    EXPECT_EQ(GEDOtherClass(lines[3]).GetType(), 35);
    // Continuations of a BLOB are dropped.
    const QList<GEDObject> object = doc->GetXrefs().value(QStringLiteral("O1")).GetData();
    ASSERT_EQ(tagNames(object), QStringList({"BLOB", "FILE"}));
    EXPECT_EQ(GEDOtherClass(object[0]).GetPayL(), QString());
    // Nothing after TRLR is read.
    EXPECT_FALSE(doc->GetXrefs().contains(QStringLiteral("I2")));
    EXPECT_EQ(doc->GetCountPersons(), 1);
    EXPECT_FALSE(load.listener.warnings().contains(QStringLiteral("Warning, missing TRLR record at end of file")));
}

TEST(Load, DoubledAtSignsInValuesReadAsOne) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NOTE mail me@@example.org\r\n"
        "2 CONC , @@@@ twice\r\n1 BIRT\r\n2 DATE @#DJULIAN@1731\r\n0 TRLR\r\n");
    ASSERT_TRUE(doc);
    const QList<GEDObject> lines = GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetData();
    ASSERT_EQ(tagNames(lines), QStringList({"NOTE", "BIRT"}));
    EXPECT_EQ(GEDOtherClass(lines[0]).GetPayL(), QStringLiteral("mail me@example.org, @@ twice"));
    EXPECT_TRUE(load.listener.warnings().isEmpty()) << load.listener.warnings().join(u'\n').toStdString();
}

// A line keeps a payload of any length, also one longer than 65,535 units
// joined from continuation lines, through loading and rewriting.
TEST(Load, PayloadsLongerThanSixtyFiveThousandUnitsKeepTheirLength) {
    QByteArray file = "0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n1 NOTE start";
    QString expected = QStringLiteral("start");
    for (int i = 0; i < 80; ++i) {
        const QByteArray piece = QByteArray(999, char('a' + i % 26)) + QByteArray::number(i % 10);
        file += "\n2 CONC " + piece;
        expected += QString::fromLatin1(piece);
    }
    file += "\n1 NOTE short\n0 TRLR\n";
    GedLoad load;
    auto doc = load.loadBytes(file);
    ASSERT_TRUE(doc);
    const QList<GEDObject> lines = GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetData();
    ASSERT_EQ(tagNames(lines), QStringList({"NOTE", "NOTE"}));
    GEDOtherClass note(lines[0]);
    ASSERT_EQ(note.GetPayL().size(), 80005);
    EXPECT_EQ(note.GetPayL(), expected);
    EXPECT_EQ(GEDOtherClass(lines[1]).GetPayL(), QStringLiteral("short"));
    // Rewritten short, long again, and exactly at the first long length.
    const QString longer = expected + expected;
    for (const QString& value : {QStringLiteral("now short"), longer, QString(65535, u'x'), QString(65534, u'y'), QString()}) {
        note.SetPayL(value);
        EXPECT_EQ(note.GetPayL(), value) << value.size();
    }
    EXPECT_EQ(GEDOtherClass(lines[1]).GetPayL(), QStringLiteral("short"));
}

TEST(Load, LinesEndingInMixedWaysAreEachALine) {
    // The first line ends in CR LF; later ones in LF alone or CR alone.
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\n1 NAME Ann /Lee/\n1 BIRT\r2 DATE 1850\r"
        "1 NOTE born at home\n\n0 @I2@ INDI\r\n1 NAME Bob /Lee/\r\n0 TRLR\n");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->GetCountPersons(), 2);
    const GEDIndiClass ann(doc->GetXrefs().value(QStringLiteral("I1")));
    EXPECT_EQ(ann.GetPersonalNames(), QStringLiteral("Ann /Lee/"));
    EXPECT_EQ(tagNames(ann.GetData()), QStringList({"NAME", "BIRT", "NOTE"}));
    EXPECT_EQ(GEDOtherClass(ann.GetData()[2]).GetPayL(), QStringLiteral("born at home"));
    EXPECT_TRUE(load.listener.warnings().isEmpty()) << load.listener.warnings().join(u'\n').toStdString();
}

TEST(Load, AFileWithoutTrailerWarnsAndKeepsItsLastLine) {
    GedLoad load;
    auto doc = load.loadFixture(QStringLiteral("no_trailer.ged"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(load.listener.warnings(), QStringList({"Warning, missing TRLR record at end of file"}));
    const GEDIndiClass person(doc->GetXrefs().value(QStringLiteral("I1")));
    EXPECT_EQ(person.GetBirth().GetDate(), QStringLiteral("1901"));
}

TEST(Load, LevelsIdentifiersAndTags) {
    GedLoad load;
    auto doc = load.loadText(
        "0 HEAD\n"
        "1 CHAR ASCII\n"
        "1 _PRIVATE dropped below a plain line\n"
        "2 NOTE and its children with it\n"
        "0 @I1@ INDI\n"
        "1 NAME Level /Test/\n"
        "   1 SEX F\n"
        "1 BIRT\n"
        "2 DATE 1900\n"
        "PLAC Nowhere\n"
        "2 _WITNESS kept below an event\n"
        "1 _CUSTOM kept below a person\n"
        "0 @X1@ _WEIRD unknown record\n"
        "0 @NOCLOSE INDI\n"
        "0 @I2@ indi\n"
        "1 name Lower /Case/\n"
        "0 @I3@ INDI\n"
        "2 DATE 1900\n"
        "1 NAME Skipped /Level/\n"
        "0 TRLR\n");
    ASSERT_TRUE(doc);
    const GEDXrefTable xrefs = doc->GetXrefs();
    const GEDIndiClass i1(xrefs.value(QStringLiteral("I1")));
    EXPECT_EQ(i1.GetSex(), QStringLiteral("f"));
    // A line without a level number keeps the level of the line before.
    EXPECT_EQ(i1.GetBirth().GetPlace(), QStringLiteral("Nowhere"));
    EXPECT_EQ(tagNames(i1.GetBirth().GetData()), QStringList({"DATE", "PLAC", "?"}));
    EXPECT_EQ(tagNames(i1.GetData()), QStringList({"NAME", "SEX", "BIRT", "?"}));
    // Unknown tags: dropped below HEAD, kept as records of their own at level 0.
    EXPECT_EQ(tagNames(doc->GetHead().GetData()), QStringList({"CHAR"}));
    EXPECT_EQ(GEDOtherClass(xrefs.value(QStringLiteral("X1"))).GetType(), 0);
    EXPECT_EQ(GEDOtherClass(xrefs.value(QStringLiteral("X1"))).GetPayL(), QStringLiteral("unknown record"));
    // An identifier without its closing "@" runs to the end of the line.
    EXPECT_TRUE(xrefs.contains(QStringLiteral("NOCLOSE INDI")));
    // Tags are read in any letter case.
    EXPECT_EQ(GEDIndiClass(xrefs.value(QStringLiteral("I2"))).GetName(), QStringLiteral("Lower Case"));
    // A line that skips a level goes one below the open line.
    const GEDIndiClass i3(xrefs.value(QStringLiteral("I3")));
    EXPECT_EQ(tagNames(i3.GetData()), QStringList({"DATE", "NAME"}));
    EXPECT_EQ(i3.GetName(), QStringLiteral("Skipped Level"));
}

TEST(Load, NestingStopsAtLevel99WithAClearError) {
    const auto nested = [](int deepest) {
        QByteArray text("0 HEAD\n1 CHAR ASCII\n0 @N1@ NOTE top\n");
        for (int level = 1; level <= deepest; ++level) text += QByteArray::number(level) + " _DEEP x\n";
        return text + "0 TRLR\n";
    };
    GedLoad load;
    EXPECT_TRUE(load.loadBytes(nested(99)));
    const AppError e = loadError(load, nested(100));
    EXPECT_EQ(e.number, kErrorBase + 517);
    EXPECT_EQ(e.description, QStringLiteral("GEDCOM lines nested deeper than level 99 on line 103"));
}

// A level number that no line can have (negative, or too large for a level)
// gives a warning naming the line, and the line is left out with its
// continuation lines: the lines around it load as if it were not there.
TEST(Load, LevelNumbersOutOfRangeAreWarnedAboutAndLeftOut) {
    const QString longTail(200, u'x');
    const struct {
        QString line;
        QString quoted;
    } cases[] = {
        {"-1 NAME Bad /Name/", "-1 NAME Bad /Name/"},
        {"-0 NAME Bad /Name/", "-0 NAME Bad /Name/"},
        {"99999999999999999999 NAME Bad /Name/", "99999999999999999999 NAME Bad /Name/"},
        {"2147483648 NAME Bad /Name/", "2147483648 NAME Bad /Name/"},
        {"-1 NOTE " + longTail, "-1 NOTE " + longTail.left(92) + "..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        GedLoad load;
        const QString text = "0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n1 NAME Good /Name/\n2 GIVN Good\n" + c.line +
                             "\n3 CONT more\n1 SEX F\n0 TRLR\n";
        const auto doc = load.loadBytes(text.toUtf8());
        ASSERT_TRUE(doc);
        EXPECT_EQ(load.listener.warnings(), QStringList{"Warning, invalid level number on line 6: " + c.quoted});
        const GEDIndiClass person(doc->GetXrefs().value(QStringLiteral("I1")));
        EXPECT_EQ(tagNames(person.GetData()), QStringList({"NAME", "SEX"}));
        EXPECT_EQ(person.GetPersonalNames(), QStringLiteral("Good /Name/|Good"));
        EXPECT_EQ(person.GetSex(), QStringLiteral("f"));
    }
}

TEST(Load, HeadLineMustStandAlone) {
    GedLoad load;
    EXPECT_TRUE(load.loadText("0 HEAD \n1 CHAR ASCII\n0 TRLR\n"));
    const AppError e = loadError(load, "0 HEAD x\n1 CHAR ASCII\n0 TRLR\n");
    EXPECT_EQ(e.number, kErrorBase + 517);
    EXPECT_EQ(e.source, QStringLiteral("GEDControlClass"));
    EXPECT_EQ(e.description, QStringLiteral("Syntax error on HEAD record. Possible carriage-control issue"));
    // A first line that is not HEAD is accepted.
    EXPECT_TRUE(load.loadText("0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n"));
}

TEST(Load, EmptyFileGivesAnEmptyDocument) {
    GedLoad load;
    auto doc = load.loadText("");
    ASSERT_TRUE(doc);
    EXPECT_EQ(load.listener.warnings(), QStringList({"Warning, missing TRLR record at end of file"}));
    EXPECT_TRUE(doc->GetData().isEmpty());
    EXPECT_TRUE(doc->GetHead().isNull());
    EXPECT_EQ(doc->GetVersion(), QString());
    EXPECT_TRUE(doc->GetAllPersons().isEmpty());
    EXPECT_EQ(doc->GetCountPersons(), 0);
}

TEST(Load, AFileThatCannotBeReadRaisesTheReadersError) {
    GedLoad load;
    try {
        load.control->LoadGEDCOM(load.dir.filePath(QStringLiteral("absent.ged")));
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kErrorBase + 518);
    }
    EXPECT_TRUE(load.listener.messages.isEmpty());
}

// A line longer than the reader takes ends the load with the reader's error,
// named by the file and the line it stands on (lines counted as the load
// counts them, each piece of a record that holds line ends of its own a line).
TEST(Load, ALineTooLargeIsNamedByItsFileAndLine) {
    struct Case {
        const char* name;
        QByteArray bytes;
        int line;
    };
    const QByteArray head = "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n";
    const QList<Case> cases = {
        {"a 70,000-character place", head + "1 BIRT\r\n2 PLAC " + QByteArray(70000, 'p') + "\r\n0 TRLR\r\n",
         5},
        {"a 3 MB name", head + "1 NAME " + QByteArray(3 << 20, 'n') + "\r\n0 TRLR\r\n", 4},
        {"after a line ending in LF alone",
         head + "1 NAME Ann\n1 SEX F\r\n1 NOTE " + QByteArray(70000, 'x') + "\r\n", 6},
        {"the last line, without a line end", head + "1 NOTE " + QByteArray(70000, 'y'), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GedLoad load;
        const AppError e = loadError(load, c.bytes);
        const QString file = load.dir.filePath(QStringLiteral("t%1.ged").arg(load.files));
        EXPECT_EQ(e.number, kErrorBase + 518);
        EXPECT_EQ(e.description,
                  QStringLiteral("I/O error: Record too large (line %1 of %2)").arg(c.line).arg(file));
    }
}

// Bytes that are not UTF-8 in a file whose mark says UTF-8 are read as
// U+FFFD, with one warning naming the first line that holds them.
TEST(Load, InvalidUtf8InAMarkedFileWarnsOnceNamingTheFirstLine) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList warnings;  // with "%2" for the file
        QString name1;         // the decoded name of I1
    };
    const QByteArray mark("\xEF\xBB\xBF");
    const auto file = [](const QByteArray& name1, const QByteArray& note) {
        return "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME " + name1 + "\r\n1 NOTE " + note +
               "\r\n0 @I2@ INDI\r\n1 NAME Bob\r\n0 TRLR\r\n";
    };
    const QString warning = QStringLiteral(
        "Warning, file BOM indicates UTF-8 but line %1 of %2 is the first to hold bytes that are not UTF-8");
    const QList<Case> cases = {
        {"bad bytes on lines 4 and 5",
         mark + file("Zo\xEB /M\xFCller/", "caf\xE9"),
         {warning.arg(4)},
         QStringLiteral("Zo\uFFFD M\uFFFDller")},
        {"an overlong form and a cut sequence",
         mark + file("Ann",
                     "a\xC0\xAF"
                     "b \xE2\x82"),
         {warning.arg(5)},
         QStringLiteral("Ann")},
        {"a clean marked file",
         mark + file("Zo\xC3\xAB /M\xC3\xBCller/", "caf\xC3\xA9 \xEF\xBF\xBD"),
         {},
         QStringLiteral("Zo\u00EB M\u00FCller")},
        // Lines after a line end other than the first line's are lines of their own.
        {"in the second piece of a record",
         mark + file("Ann\n1 NOTE \xFF", "fine"),
         {warning.arg(5)},
         QStringLiteral("Ann")},
        // Without the mark such a file is read as ANSI, and its declaration warned about.
        {"no mark",
         file("Zo\xEB", "caf\xE9"),
         {QStringLiteral("Warning, GEDCOM character set is UTF-8 but file BOM indicates ANSI")},
         QStringLiteral("Zo\u00EB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GedLoad load;
        const auto doc = load.loadBytes(c.bytes);
        ASSERT_TRUE(doc);
        const QString path = load.dir.filePath(QStringLiteral("t%1.ged").arg(load.files));
        QStringList expected;
        for (const QString& w : c.warnings) expected << (w.contains(QStringLiteral("%2")) ? w.arg(path) : w);
        EXPECT_EQ(load.listener.warnings(), expected);
        EXPECT_EQ(GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetName(), c.name1);
        EXPECT_EQ(doc->GetCountPersons(), 2);
    }
}

// A record whose identifier an earlier one took is kept under a fresh
// identifier that no record of the file uses; pointers lead to the first.
TEST(Load, DuplicateIdentifierKeepsBothRecords) {
    struct Case {
        const char* what;
        const char* text;
        QStringList xrefs;  // of the persons, in file order
        QString warning;
    };
    const QList<Case> cases = {
        {"the fixture", nullptr, {"I1", "I2", "I1_2"},
         "Warning, duplicate cross-reference ID: @I1@ on lines 2 and 6; the record on line 6 is kept as @I1_2@ and "
         "pointers to @I1@ lead to the one on line 2"},
        {"the fresh identifier is taken later in the file",
         "0 HEAD\n0 @I1@ INDI\n1 NAME First\n0 @I1@ INDI\n1 NAME Second\n0 @I1_2@ INDI\n0 @F1@ FAM\n1 HUSB @I1@\n"
         "1 WIFE @I1_2@\n0 TRLR\n",
         {"I1", "I1_3", "I1_2"},
         "Warning, duplicate cross-reference ID: @I1@ on lines 2 and 4; the record on line 4 is kept as @I1_3@ and "
         "pointers to @I1@ lead to the one on line 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GedLoad load;
        const auto doc = c.text ? load.loadText(c.text) : load.loadFixture(QStringLiteral("duplicate.ged"));
        ASSERT_TRUE(doc);
        QStringList xrefs;
        for (const GEDIndiClass& person : doc->GetAllPersons()) xrefs << person.GetXref();
        EXPECT_EQ(xrefs, c.xrefs);
        EXPECT_EQ(load.listener.warnings(), QStringList{c.warning});
        if (c.text) {
            // Pointers are looked up here: the identifier leads to the first
            // record, the fresh one to the second.
            EXPECT_EQ(GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetName(), QStringLiteral("First"));
            EXPECT_EQ(GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1_3"))).GetName(), QStringLiteral("Second"));
        }
    }
}

TEST(Load, CharacterSetAndVersionChecks) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList messages;  // after the first progress line
        int error;             // offset of the error raised, 0 for none
        QString errorText;
    };
    const QByteArray bomUtf8("\xEF\xBB\xBF");
    const auto utf16 = [](const QString& text, bool littleEndian) {
        QStringEncoder enc(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::WriteBom);
        return QByteArray(enc(text));
    };
    const auto file = [](const char* charLine, const char* version) {
        QString text = QStringLiteral("0 HEAD\n1 GEDC\n");
        if (version) text += QStringLiteral("2 VERS %1\n").arg(QLatin1String(version));
        if (charLine) text += QStringLiteral("1 CHAR %1\n").arg(QLatin1String(charLine));
        return text + QStringLiteral("0 TRLR\n");
    };
    // The file with a note of the given bytes before its trailer.
    const auto withNote = [](const QByteArray& bytes, const char* note) {
        QByteArray out = bytes;
        out.insert(out.indexOf("0 TRLR"), QByteArray("0 @N1@ NOTE ") + note + "\n");
        return out;
    };
    const QList<Case> cases = {
        {"utf-8 declared, no mark", file("utf-8", "5.5.1").toUtf8(),
         {"GEDCOM data character set: UTF-8", "Warning, GEDCOM character set is UTF-8 but file BOM indicates ANSI"}, 0, {}},
        {"utf-8 declared and marked", bomUtf8 + file("UTF-8", "5.5").toUtf8(), {"GEDCOM data character set: UTF-8"}, 0, {}},
        {"ansi declared, utf-8 mark", bomUtf8 + file("ANSI", "5.5").toUtf8(),
         {"GEDCOM data character set: ANSI", "Warning, GEDCOM character set is ANSI but file BOM indicates UTF-8"}, 0, {}},
        {"ascii declared", file("ASCII", "5.5").toUtf8(), {"GEDCOM data character set: ASCII"}, 0, {}},
        {"unicode declared and marked", utf16(file("UNICODE", "5.5.1"), true), {"GEDCOM data character set: UNICODE"}, 0, {}},
        {"ansi declared, utf-16 mark", utf16(file("ANSI", "5.5.1"), false),
         {"GEDCOM data character set: ANSI", "Warning, GEDCOM character set is ANSI but file BOM indicates Unicode big-endian"},
         0, {}},
        {"unicode declared, no mark", file("UNICODE", "5.5.1").toUtf8(),
         {"GEDCOM data character set: UNICODE", "Warning, GEDCOM character set is UNICODE but file BOM indicates ANSI"}, 0, {}},
        {"no character set line", file(nullptr, "5.5.1").toUtf8(), {}, 0, {}},
        // A set the library does not decode: read when the file holds only
        // ASCII or says by its mark how it is encoded, else refused.
        {"ansel, ascii only", file("ANSEL", "5.5").toUtf8(),
         {"GEDCOM data character set: ANSEL",
          "Warning, GEDCOM character set ANSEL is not supported, but the file holds only ASCII characters and is read as "
          "ASCII"},
         0, {}},
        {"made-up set, ascii only", file("MACROMAN", "5.5").toUtf8(),
         {"GEDCOM data character set: MACROMAN",
          "Warning, GEDCOM character set MACROMAN is not supported, but the file holds only ASCII characters and is read "
          "as ASCII"},
         0, {}},
        {"ansel with non-ascii bytes", withNote(file("ANSEL", "5.5").toUtf8(), "caf\xE2" "e"),
         {"GEDCOM data character set: ANSEL"}, 515, "Unsupported GEDCOM character set: ANSEL"},
        {"ansel in valid utf-8 without a mark", withNote(file("ANSEL", "5.5").toUtf8(), "caf\xC3\xA9"),
         {"GEDCOM data character set: ANSEL"}, 515, "Unsupported GEDCOM character set: ANSEL"},
        {"ansel, utf-8 mark", bomUtf8 + withNote(file("ANSEL", "5.5").toUtf8(), "caf\xC3\xA9"),
         {"GEDCOM data character set: ANSEL", "Warning, GEDCOM character set is ANSEL but file BOM indicates UTF-8"}, 0, {}},
        {"ansel, utf-16 mark", utf16(file("ANSEL", "5.5"), true),
         {"GEDCOM data character set: ANSEL",
          "Warning, GEDCOM character set is ANSEL but file BOM indicates Unicode little-endian"},
         0, {}},
        {"ibm windows is ansi", withNote(file("IBM WINDOWS", "5.5").toUtf8(), "caf\xE9"),
         {"GEDCOM data character set: IBM WINDOWS"}, 0, {}},
        {"ibm windows, utf-8 mark", bomUtf8 + file("IBM WINDOWS", "5.5").toUtf8(),
         {"GEDCOM data character set: IBM WINDOWS",
          "Warning, GEDCOM character set is IBM WINDOWS but file BOM indicates UTF-8"},
         0, {}},
        {"version 5.5.5", file("UTF-8", "5.5.5").toUtf8(),
         {"GEDCOM data character set: UTF-8", "Warning, GEDCOM character set is UTF-8 but file BOM indicates ANSI"}, 515,
         "Unsupported GEDCOM version: 5.5.5"},
        {"no version", file("ASCII", nullptr).toUtf8(), {"GEDCOM data character set: ASCII"}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GedLoad load;
        const AppError e = loadError(load, c.bytes);
        const QStringList texts = load.texts();
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_TRUE(texts.front().startsWith(QStringLiteral("GEDCOM file character set: ")));
        EXPECT_EQ(texts.mid(1), c.messages);
        EXPECT_EQ(e.number, c.error ? kErrorBase + c.error : 0);
        EXPECT_EQ(e.description, c.errorText);
    }
}

TEST(Load, TextDecodesTheSameInEveryEncoding) {
    const QString text = QStringLiteral("0 HEAD\r\n1 CHAR %1\r\n0 @I1@ INDI\r\n1 NAME Zoë /Müller/\r\n0 TRLR\r\n");
    QStringEncoder le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QStringEncoder be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    QStringEncoder latin(QStringConverter::Latin1);
    QStringEncoder leBare(QStringConverter::Utf16LE);
    QStringEncoder beBare(QStringConverter::Utf16BE);
    struct Case {
        const char* name;
        QByteArray bytes;
        QString firstLine;
    };
    const QList<Case> cases = {
        {"utf-8 with mark", "\xEF\xBB\xBF" + text.arg(QStringLiteral("UTF-8")).toUtf8(),
         "GEDCOM file character set: UTF-8 (terminators CRLF)"},
        {"utf-8 without mark", text.arg(QStringLiteral("UTF-8")).toUtf8(), "GEDCOM file character set: UTF-8 (terminators CRLF)"},
        {"utf-16 little-endian", le(text.arg(QStringLiteral("UNICODE"))),
         "GEDCOM file character set: Unicode little-endian (terminators CRLF)"},
        {"utf-16 big-endian", be(text.arg(QStringLiteral("UNICODE"))),
         "GEDCOM file character set: Unicode big-endian (terminators CRLF)"},
        {"ansi", latin(text.arg(QStringLiteral("ANSI"))), "GEDCOM file character set: ANSI (terminators CRLF)"},
        // Some programs write UTF-16 without a byte-order mark.
        {"utf-16 little-endian without mark", leBare(text.arg(QStringLiteral("UNICODE"))),
         "GEDCOM file character set: Unicode little-endian (terminators CRLF)"},
        {"utf-16 big-endian without mark", beBare(text.arg(QStringLiteral("UNICODE"))),
         "GEDCOM file character set: Unicode big-endian (terminators CRLF)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GedLoad load;
        auto doc = load.loadBytes(c.bytes);
        ASSERT_TRUE(doc);
        EXPECT_EQ(load.texts().front(), c.firstLine);
        EXPECT_TRUE(load.listener.warnings().isEmpty()) << load.listener.warnings().join(u'\n').toStdString();
        EXPECT_EQ(GEDIndiClass(doc->GetXrefs().value(QStringLiteral("I1"))).GetName(), QStringLiteral("Zoë Müller"));
    }
}

TEST(Load, RealSampleFiles) {
    {
        // An ANSI (Windows-1252) family file.
        GedLoad load;
        auto doc = load.loadFixture(QStringLiteral("a31486.ged"));
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->GetCountPersons() - doc->GetAllPersons().size(), 0);
        EXPECT_GE(doc->GetCountPersons(), 64);
        EXPECT_GE(doc->GetCountFamilies(), 17);
        // Its partial dates warn while it loads; its character set matches.
        const QStringList texts = load.texts();
        EXPECT_EQ(texts.front(), QStringLiteral("GEDCOM file character set: ANSI (terminators CRLF)"));
        EXPECT_TRUE(texts.contains(QStringLiteral("GEDCOM data character set: ANSI")));
        EXPECT_FALSE(texts.join(u'\n').contains(QStringLiteral("BOM indicates")));
    }
    {
        // A UTF-16 file of a later GEDCOM version is read, then refused.
        GedLoad load;
        try {
            load.loadFixture(QStringLiteral("555SAMPLE16LE.GED"));
            FAIL() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.description, QStringLiteral("Unsupported GEDCOM version: 5.5.5"));
        }
        EXPECT_EQ(load.texts(), QStringList({"GEDCOM file character set: Unicode little-endian (terminators CRLF)",
                                             "GEDCOM data character set: UNICODE"}));
    }
}

TEST(Load, QuitFromTheListenerAbandonsTheLoad) {
    GedLoad load;
    load.listener.reaction = [&load](const RecordingListener::Message& m) {
        if (m.warning) load.control->Quit();
    };
    EXPECT_EQ(load.loadFixture(QStringLiteral("abandon.ged")), nullptr);
    // The line whose date warned is finished; the next line read ends the load.
    const QStringList texts = load.texts();
    ASSERT_EQ(texts.size(), 3);
    // The warning names the date's own line.
    EXPECT_EQ(texts[1], QStringLiteral("Bad date syntax: \"1 XYZ 1850\" (record no. 6)"));
    EXPECT_EQ(texts[2], QStringLiteral("Loading of GEDCOM abandoned"));
    EXPECT_FALSE(load.listener.messages[2].warning);
}

TEST(Load, QuitBeforeTheLoadDoesNotAbandonIt) {
    GedLoad load;
    load.control->Quit();
    // Nor does a Quit answering the first progress line, sent before the load begins.
    load.listener.reaction = [&load](const RecordingListener::Message& m) {
        if (m.text.startsWith(QStringLiteral("GEDCOM file character set"))) load.control->Quit();
    };
    auto doc = load.loadFixture(QStringLiteral("people.ged"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->GetCountPersons(), 8);
}

}  // namespace

// Public files that declare a character set the library does not decode.
TEST(Load, RealFilesInUndecodedCharacterSetsLoad) {
    struct Case {
        const char* file;
        int persons;
        QString warning;
    };
    const QString asciiOnly = QStringLiteral(
        "Warning, GEDCOM character set ANSEL is not supported, but the file holds only ASCII characters and is read as "
        "ASCII");
    const QList<Case> cases = {
        {"minimal55.ged", 0, asciiOnly},
        // Its family names a missing wife, for whom a placeholder stands.
        {"customtagstorture.ged", 4, asciiOnly},
        {"utf8_bom_ansel.ged", 0, QStringLiteral("Warning, GEDCOM character set is ANSEL but file BOM indicates UTF-8")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        GedLoad load;
        const auto doc = load.loadFixture(QString::fromLatin1(c.file));
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->GetCountPersons(), c.persons);
        // The character set's warning comes first, once.
        const QStringList warnings = load.listener.warnings();
        EXPECT_EQ(warnings.value(0), c.warning);
        EXPECT_EQ(warnings.count(c.warning), 1);
    }
}
