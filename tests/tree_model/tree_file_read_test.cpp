#include <gtest/gtest.h>

#include "SVGTree.h"
#include "foundation/ReadTextFile.h"
#include "applications/SVGApplications.h"
#include "TreeFiles.h"
#include "TreeFixture.h"

namespace {
const int kSyntax = kErrorBase + 514;
const int kInvalid = kErrorBase + 515;
const int kPlacement = kErrorBase + 524;
const int kViewpointFamily = kErrorBase + 529;
const QString kRule = "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ";

// Persons a and b, a couple f1 of them with child c.
const QStringList kBase = {"P a=f(1,1):Ann", "P b=m(2,1):Bob", "P c=u(1,2):Cy"};

// Persons p0 to p(n-1), each the child of the one before with a spouse s,
// and p0 the child of the last.
QStringList longLoop(int n) {
    QStringList lines = {"P s=f(1,1):S"};
    for (int i = 0; i < n; ++i) lines << QString("P p%1=m(1,1):P%1").arg(i);
    for (int i = 0; i < n; ++i) lines << QString("F f%1=p%1+s:p%2").arg(i).arg((i + 1) % n);
    return lines;
}

QString loop(const QString& key, const QString& caption) {
    return "Potential lineage loop near person " + key + ", " + caption + ": the person is their own ancestor";
}
}  // namespace

TEST(TreeFileReader, ErrorsEndTheLoad) {
    struct Case {
        QStringList lines;
        int number;
        QString message;
    };
    const QStringList v = kBase + QStringList{"F f1=a+b:c", "V v1=One|5,5"};
    const std::vector<Case> cases = {
        {{"H W=1,"}, kSyntax, "Syntax error: missing equals sign in setting: "},
        {{"H W=1,,H=2"}, kSyntax, "Syntax error: missing equals sign in setting: "},
        {{"U img"}, kSyntax, "Missing punctuation character on record: img"},
        {{"U 1x=a|b"}, kInvalid, kRule + "1x"},
        {{"U img=a|b", "U img=c"}, kInvalid, "The specified place key name is already defined: img"},
        {{"P a m(1,1):A"}, kSyntax, "Missing '=' or '~' punctuation character on record: a m(1,1):A"},
        {{"P a=m(1,1)A"}, kSyntax, "Missing ':' or comma punctuation character on record: a=m(1,1)A"},
        {{"P a=q(1,1):A"}, kSyntax, "Invalid sex value: q. Must be f/m/u/x"},
        {{"P a=m(x,1):A"}, kSyntax, "Invalid column number"},
        {{"P a=m(1,y):A"}, kSyntax, "Invalid row number"},
        {{"P a=m(1):A,B"}, kSyntax, "Invalid column number"},
        {{"P a=m:1,2"}, kSyntax, "Invalid row number"},
        {{"P a=m(inf,1):A"}, kSyntax, "Invalid column number"},
        {{"P a=m(1,99999):A"}, 6, "Overflow (line 1: P a=m(1,99999):A)"},
        {{"P 1a=m(1,1):A"}, kInvalid, kRule + "1a"},
        {{"P a=m(1,1):A", "P a=f(1,1):B"}, kInvalid, "The specified key name is already in use for a different person: a"},
        {kBase + QStringList{"F c=a+b:"}, kInvalid, "The specified family key name is already in use for a person: c"},
        {v + QStringList{"P d=m(1,1):D"}, kPlacement, "Person definitions (rather than references) not allowed within viewpoints"},
        {v + QStringList{"F f2=a+b:"}, kPlacement, "Family definitions (rather than references) not allowed within viewpoints"},
        {kBase + QStringList{"p a(1,1)"}, kPlacement, "Person references (rather than definitions) not allowed outside of viewpoints"},
        {kBase + QStringList{"f f1"}, kPlacement, "Family references (rather than definitions) not allowed outside of viewpoints"},
        {v + QStringList{"V v1=Again"}, kInvalid, "The specified viewpoint key name is already defined: v1"},
        {{"V 9v=Nine"}, kInvalid, kRule + "9v"},
        {{"V v2"}, kSyntax, "Missing punctuation character on record: v2"},
        {{"V v2=Two|5"}, kSyntax, "Missing punctuation character on record: v2=Two|5"},
        {{"V v2=Two|x,5"}, kSyntax, "Invalid column count"},
        {{"V v2=Two|5,y"}, kSyntax, "Invalid row count"},
        {{"V v2= |5,5"}, kSyntax, "Missing viewpoint name on record: v2= |5,5"},
        // A bad value may only fail on a later record: the setting and the line are named.
        {{"H DesCols=many", "V v2=Two"}, 13, "Type mismatch in setting DesCols=many (line 2: V v2=Two)"},
        {{"H W=90", "H Horiz=maybe"}, 13, "Type mismatch in setting Horiz=maybe (line 2: H Horiz=maybe)"},
        {{"H ImagePart=half%"}, 13, "Type mismatch in setting ImagePart=half% (line 1: H ImagePart=half%)"},
        {{"H Inst=%7"}, kInvalid, "The instance identifier must start with an ASCII letter or digit: Inst=%7"},
        {v + QStringList{"p a(1,1"}, kSyntax, "Missing parenthesis or comma punctuation character on record: a(1,1"},
        {v + QStringList{"p a(1)"}, kSyntax, "Missing parenthesis or comma punctuation character on record: a(1)"},
        {v + QStringList{"p (1,1)"}, kInvalid, "Key name cannot be blank when referencing a person"},
        {v + QStringList{"p a-(1,1)", "p 1a(1,1)"}, kInvalid, "The specified key name is not defined for any person: a-"},
        {v + QStringList{"p 1a(1,1)"}, kInvalid, kRule + "1a"},
        {v + QStringList{"p zz"}, kInvalid, "The specified key name is not defined for any person: zz"},
        {v + QStringList{"p a(x,1)"}, kSyntax, "Invalid column number"},
        {v + QStringList{"p a(1,y)"}, kSyntax, "Invalid row number"},
        {v + QStringList{"p a(1,1)", "p a(2,2)"}, kInvalid, "The specified person key name has already been declared in this viewpoint: a"},
        {v + QStringList{"f "}, kInvalid, "Key name cannot be blank when referencing a family"},
        {v + QStringList{"f _x"}, kInvalid, kRule + "_x"},
        {v + QStringList{"f f9"}, kInvalid, "The specified key name is not defined for any family: f9"},
        {v + QStringList{"p a(1,1)", "f f1"}, kViewpointFamily, "Cannot add reference to family f1 to viewpoint v1 without both spouses"},
        {v + QStringList{"p a(1,1)", "p b(1,2)", "f f1", "f f1"}, kInvalid,
         "The specified family key name has already been declared in this viewpoint: f1"},
        {kBase + QStringList{"/ Foo=1"}, kInvalid, "Unknown local Person setting: Foo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" / ").toStdString());
        TreeFiles files;
        SVGTree tree;
        RecordingReporter log;
        const QString file = files.writeLines("Tree.txt", c.lines);
        const AppError e = errorOf([&] { loadTree(tree, file, log); });
        EXPECT_EQ(e.number, c.number);
        EXPECT_EQ(e.description, c.message);
        EXPECT_TRUE(tree.IsIncompletelyLoaded());
        EXPECT_EQ(tree.GetAppDict(), nullptr);
    }
}

TEST(TreeFileReader, WarningsLetReadingGoOn) {
    struct Case {
        QStringList lines;
        QStringList warnings;
    };
    const std::vector<Case> cases = {
        {{"H Foo=1,1x=2,Title=T"},
         {"Unknown setting in header record: Foo", "Header setting 1x uses invalid characters",
          "Unknown setting in header record: 1x"}},
        {kBase + QStringList{"F f1 a b"}, {"Missing punctuation character on record: f1 a b"}},
        {kBase + QStringList{"F f1=a+zz:c", "= lost"}, {"Person zz doesn't exist", "Dangling notes record: = lost"}},
        {kBase + QStringList{"F f1=[a]+b:c"}, {"Old syntax used for defining family f1"}},
        {kBase + QStringList{"F f1=zz+b:c"}, {"Person zz doesn't exist"}},
        {kBase + QStringList{"F f1=a+a:c"}, {"Must have two distinct persons in order to define a family"}},
        {kBase + QStringList{"F f1=a+b:c,zz,c"}, {"Person zz doesn't exist", "Child c is already associated with family f1"}},
        {kBase + QStringList{"F f1=a+b:c", "F f2=b+a:c"}, {"Child c is already associated with family f1"}},
        {{"= n", "- t", "# d", "/ ButtonTR=True", "_ u"},
         {"Dangling notes record: = n", "Dangling tooltip record: - t", "Dangling program-data record: # d",
          "Dangling local settings record: / ButtonTR=True",
          "The underscore record type (_) is deprecated. Using equals (=) instead", "Dangling notes record: _ u"}},
        {kBase + QStringList{"_ one", "_ two"}, {"The underscore record type (_) is deprecated. Using equals (=) instead"}},
        {kBase + QStringList{"h W=1", "P d=m(1,1):D"}, {"Unknown record type: 'h ' (68 20 57 3D )"}},
        {kBase + QStringList{"="}, {"Unknown record type: '=' (3D )"}},
        {{"  H W=1"}, {"Unknown record type: '  ' (48 20 57 3D )"}},
        // Lineage loops: one warning per loop, naming its first person in the file.
        {kBase + QStringList{"F f1=a+b:c", "F f2=c+a:b"}, {loop("b", "Bob")}},
        {kBase + QStringList{"F f1=a+b:a"}, {loop("a", "Ann")}},
        {kBase + QStringList{"P d=x(3,1):Di", "P e=x(3,2):Ed", "F f1=a+b:c", "F f2=c+d:e", "F f3=e+c:a",
                             "F f4=d+b:", "F f5=b+d:d"},
         {loop("a", "Ann"), loop("d", "Di")}},
        // Two loops through one person are one.
        {kBase + QStringList{"P d=x(3,1):Di", "P e=x(3,2):Ed", "F f1=a+b:c", "F f2=c+d:a", "F f3=c+e:b"},
         {loop("a", "Ann")}},
        // A loop through 20,000 generations.
        {longLoop(20000), {loop("p0", "P0")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" / ").toStdString());
        TreeFiles files;
        SVGTree tree;
        RecordingReporter log;
        EXPECT_NO_THROW(loadTree(tree, files.writeLines("Tree.txt", c.lines), log));
        EXPECT_EQ(log.warnings(), c.warnings);
        EXPECT_EQ(tree.IsIncompletelyLoaded(), c.warnings.join("").contains("Unknown record type"));
        EXPECT_TRUE(log.logLines().last().startsWith("Loaded "));
    }
}

TEST(TreeFileReader, RecordsBuildTheTree) {
    TreeFiles files;
    const QString file = files.writeLines(
        "TreeSmith.txt",
        {"' a comment", "'", "H W=100,Title=Smiths,Horiz=False", "H Foo=a=b", "", "U img = web/pics/ | C:\\Pics\\",
         "U bare=http://x/", "P bob(photos/bob.jpg)=M(3,4):Bob Smith | Bob | Robert /Smith/|Bobby /Smith/",
         "= first note", "= ", "- tip", "# App | 1", "/ ButtonTR=True,TooltipTR = Info", "P ann~f( 1 , 2.5 ):Ann",
         "P cy=u(2,2):Cy", "F f1~bob+ann:cy,...", "= family note", "/ HideLinks=True", "F f2=ann+bob:",
         "V v1=First View|10,6", "p bob(2,5)", "p ann", "f f1", "V v2=Second", "p cy(1,1)"});
    SVGTree tree;
    RecordingReporter log;
    loadTree(tree, file, log, true);
    EXPECT_EQ(log.warnings(), QStringList({"Unknown setting in header record: Foo"}));
    const QStringList logged = log.logLines();
    EXPECT_EQ(logged.first(), "File character set: UTF-8 (terminators CRLF)");
    EXPECT_EQ(logged.last(), "Loaded 3 persons and 2 families from file");
    EXPECT_EQ(logged[1], "' a comment");
    EXPECT_EQ(log.entries[1].colour, LogColour::Blue);

    EXPECT_EQ(tree.GetSettings().keys(), QStringList({"Title", "InfoPanels", "W", "Horiz", "Foo"}));
    EXPECT_EQ(tree.GetSettings().value("Title"), "Smiths");
    EXPECT_EQ(tree.GetSettings().value("Foo"), "a=b");
    EXPECT_EQ(tree.GetDisplay()->GetBoxW(), 100);
    EXPECT_EQ(tree.GetPlaceKeys().GetDict().value("img"), "web/pics/|C:\\Pics\\");
    EXPECT_EQ(tree.GetPlaceKeys().GetDict().value("bare"), "http://x/|");

    auto bob = tree.GetPersons().value("bob");
    EXPECT_EQ(bob->GetImage(), "photos/bob.jpg");
    EXPECT_EQ(bob->GetSex(), "m");
    EXPECT_EQ(bob->GetTreeCol(), 3);
    EXPECT_EQ(bob->GetTreeRow(), 4);
    EXPECT_EQ(bob->GetText(), "Bob Smith");
    EXPECT_EQ(bob->GetShortText(), "Bob");
    EXPECT_EQ(bob->GetPersonalNames(), "Robert /Smith/|Bobby /Smith/");
    EXPECT_EQ(bob->GetNotes(), QStringList({"first note", ""}));
    EXPECT_EQ(bob->GetTooltips(), QStringList({"tip"}));
    EXPECT_EQ(bob->GetProgData(), QStringList({"App | 1"}));
    EXPECT_EQ(bob->GetLocSettings().value("TooltipTR"), "Info");
    auto ann = tree.GetPersons().value("ann");
    EXPECT_TRUE(ann->GetTentative());
    EXPECT_EQ(ann->GetTreeRow(), 2);  // 2.5 rounds to even
    auto f1 = tree.GetFamilies().value("f1");
    EXPECT_TRUE(f1->GetLiaison());
    EXPECT_TRUE(f1->GetMoreChildren());
    EXPECT_EQ(f1->GetNotes(), QStringList({"family note"}));
    EXPECT_EQ(f1->GetLocSettings().value("HideLinks"), "True");
    EXPECT_FALSE(tree.GetFamilies().value("f2")->GetLiaison());
    EXPECT_TRUE(tree.GetFamilies().value("f2")->GetChildren().isEmpty());
    EXPECT_EQ(ann->GetFamSet(), "f1,f2");

    auto v1 = tree.GetViewpoints().value("v1");
    EXPECT_EQ(v1->GetName(), "First View");
    EXPECT_EQ(v1->GetCols(), 10);
    EXPECT_EQ(v1->GetPerDict().value("bob"), 5 * 16384 + 2);
    // A reference without a position takes the full-tree position.
    int c, r;
    v1->GetPerColRow("ann", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(ann->GetTreeCol(), ann->GetTreeRow()));
    EXPECT_EQ(v1->GetFamSet(), "f1");
    auto v2 = tree.GetViewpoints().value("v2");
    EXPECT_EQ(std::make_pair(v2->GetCols(), v2->GetRows()), std::make_pair(12, 8));

    EXPECT_EQ(tree.GetViewpoint(), nullptr);
    EXPECT_FALSE(tree.IsUnsaved());
    EXPECT_FALSE(tree.IsIncompletelyLoaded());
    EXPECT_EQ(tree.GetPendingViewpoints(), "");
    EXPECT_FALSE(tree.HasPendingPFChange());
    ASSERT_NE(tree.GetAppDict(), nullptr);
}

TEST(TreeFileReader, SeededSettingsAndTheDisplay) {
    TreeFiles files;
    SVGTree tree;
    RecordingReporter log;
    // Without a header record the display keeps its defaults.
    loadTree(tree, files.writeLines("TreeJones.txt", {"P a=m(1,1):A"}), log);
    EXPECT_EQ(tree.GetSettings().value("Title"), "TreeJones");
    EXPECT_EQ(tree.GetSettings().value("InfoPanels"), "True");
    EXPECT_EQ(tree.GetDisplay()->GetTitle(), "");

    SVGTree empty;
    loadTree(empty, files.writeLines("New.txt", {"H "}), log);
    EXPECT_EQ(empty.GetSettings().keys(), QStringList({"Title", "InfoPanels"}));
    EXPECT_EQ(empty.GetDisplay()->GetTitle(), "New");
}

TEST(TreeFileReader, SeparatorFollowsTheKeyAndImage) {
    struct Case {
        QString record;
        QString image;
        bool tentative;
        QString caption;
        QString shortCaption;
        QString names;
    };
    const std::vector<Case> cases = {
        {"P a(x=y.jpg)=m(1,1):Cap", "x=y.jpg", false, "Cap", "", ""},
        {"P a(p)=q)=r.jpg)~m(1,1):A=B|S=T|N=M", "p)=q)=r.jpg", true, "A=B", "S=T", "N=M"},
        {"P a~m(1,1):Cap)=x|Sh)=y|Names)=z", "", true, "Cap)=x", "Sh)=y", "Names)=z"},
        {"P a(d~e.png)~f(1,1):A~B", "d~e.png", true, "A~B", "", ""},
        {"P a=m(1,1):Caption: with, comma|Short", "", false, "Caption: with, comma", "Short", ""},
        {"P a(img|:x.png)=m(1,1):C|S|N1|N2", "img|:x.png", false, "C", "S", "N1|N2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        TreeFiles files;
        SVGTree tree;
        RecordingReporter log;
        loadTree(tree, files.writeLines("T.txt", {c.record}), log);
        auto a = tree.GetPersons().value("a");
        ASSERT_TRUE(a);
        EXPECT_EQ(a->GetImage(), c.image);
        EXPECT_EQ(a->GetTentative(), c.tentative);
        EXPECT_EQ(a->GetText(), c.caption);
        EXPECT_EQ(a->GetShortText(), c.shortCaption.isEmpty() ? a->GetShortText() : c.shortCaption);
        EXPECT_EQ(a->GetPersonalNames(), c.names);
    }
}

TEST(TreeFileReader, ApplicationSettingsAreKnownAndEnabled) {
    RecordingReporter log;
    SVGApplications apps;
    apps.Initialise(QStringLiteral(KV_SOURCE_DIR "/share"), log);
    ASSERT_FALSE(apps.GetAppName("Navigation").isEmpty());
    TreeFiles files;
    SVGTree tree;
    tree.setApplications(&apps);
    log.entries.clear();
    loadTree(tree, files.writeLines("Tree.txt", {"H Navigation=True,Timeline=False,Nonsense=True"}), log);
    EXPECT_EQ(log.warnings(), QStringList({"Unknown setting in header record: Nonsense"}));
    ASSERT_NE(tree.GetAppDict(), nullptr);
    EXPECT_TRUE(tree.GetAppDict()->contains("Navigation"));
    EXPECT_TRUE(tree.GetAppDict()->contains("InfoPanels"));  // seeded True by the reader
    EXPECT_FALSE(tree.GetAppDict()->contains("Timeline"));
}

TEST(TreeFileReader, AMissingFileFailsAndLeavesTheTreeMarkedIncomplete) {
    TreeFiles files;
    SVGTree tree;
    RecordingReporter log;
    const AppError e = errorOf([&] { loadTree(tree, files.path("TreeNone.txt"), log); });
    EXPECT_EQ(e.number, kErrorBase + 527);
    EXPECT_TRUE(tree.IsIncompletelyLoaded());
    EXPECT_EQ(tree.GetTreeFile(), files.path("TreeNone.txt"));
}

// A record longer than a tree file's line is refused with the file and the
// line it stands on, so that the user can find it.
TEST(TreeFileReader, ARecordTooLargeIsNamedByItsFileAndLine) {
    TreeFiles files;
    SVGTree tree;
    RecordingReporter log;
    const QString file = files.writeLines(
        "Tree.txt", {"H Title=Big", "P a=f(1,1):Ann", "P b=m(2,1):" + QString(ReadTextFile::kMaxRecordBytes, u'B')});
    const AppError e = errorOf([&] { loadTree(tree, file, log); });
    EXPECT_EQ(e.number, kErrorBase + 527);
    EXPECT_EQ(e.description, "I/O error: Record too large (line 3 of " + file + ")");
    EXPECT_TRUE(tree.IsIncompletelyLoaded());
}

// Bytes that are not UTF-8 in a file whose mark says UTF-8 are read as
// U+FFFD, with one warning naming the first line that holds them.
TEST(TreeFileReader, InvalidUtf8InAMarkedFileWarnsOnceNamingTheFirstLine) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;         // the line warned about, 0 for no warning
        QString caption;  // of person b
    };
    const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray lines = "H Title=T\r\nP a=f(1,1):Ann\r\nP b=m(2,1):%b\r\n= note %n\r\n";
    const auto file = [&](const QByteArray& b, const QByteArray& n) {
        return QByteArray(lines).replace("%b", b).replace("%n", n);
    };
    const std::vector<Case> cases = {
        {"bad bytes on lines 3 and 4", mark + file("Zo\xEB M\xFCller", "caf\xE9"), 3, "Zo\uFFFD M\uFFFDller"},
        {"a cut sequence at the end of line 4", mark + file("Bob", "caf\xC3"), 4, "Bob"},
        {"a clean marked file", mark + file("Zo\xC3\xAB", "caf\xC3\xA9 \xEF\xBF\xBD"), 0, "Zo\u00EB"},
        // Without the mark such a file is read as ANSI.
        {"no mark", file("Zo\xEB", "caf\xE9"), 0, "Zo\u00EB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TreeFiles files;
        SVGTree tree;
        RecordingReporter log;
        const QString path = files.write("Tree.txt", c.bytes);
        loadTree(tree, path, log);
        const QStringList expected =
            c.line ? QStringList{"Warning, file BOM indicates UTF-8 but line " + QString::number(c.line) +
                                 " of " + path + " is the first to hold bytes that are not UTF-8"}
                   : QStringList{};
        EXPECT_EQ(log.warnings(), expected);
        ASSERT_TRUE(tree.GetPersons().contains("b"));
        EXPECT_EQ(tree.GetPersons().value("b")->GetText(), c.caption);
    }
}

TEST(TreeFileReader, AReferenceWithoutPositionShowsThePersonWhereItStands) {
    for (const char* horiz : {"True", "False"}) {
        SCOPED_TRACE(horiz);
        TreeFiles files;
        SVGTree tree;
        RecordingReporter log;
        loadTree(tree, files.writeLines("T.txt", {QString("H Horiz=") + horiz, "P a=m(3,7):A", "V v=V|9,9", "p a"}), log);
        tree.SetViewpointKey("v");
        int c, r, fc, fr, pc, pr;
        tree.GetPerColRow("a", c, r);
        const SVGBox& a = *tree.GetPersons().value("a");
        tree.GetPerColRow(a, pc, pr);
        EXPECT_EQ(std::make_pair(pc, pr), std::make_pair(c, r)) << "the person's own, in the viewpoint";
        tree.SetViewpointKey("");
        tree.GetPerColRow("a", fc, fr);
        EXPECT_EQ(std::make_pair(c, r), std::make_pair(fc, fr));
        tree.GetPerColRow(a, pc, pr);
        EXPECT_EQ(std::make_pair(pc, pr), std::make_pair(fc, fr)) << "the person's own, in the whole tree";
    }
}
