#include <gtest/gtest.h>

#include <QDir>

#include "SVGTree.h"
#include "TreeFiles.h"
#include "TreeFixture.h"
#include "applications/SVGApplications.h"
#include "foundation/ReadTextFile.h"
#include "foundation/TextHelpers.h"

namespace {
QString fixture(const QString& name) { return QStringLiteral(KV_TEST_DATA_DIR "/trees/") + name; }

QStringList fileLines(const QString& file) {
    QString text = QString::fromUtf8(TreeFiles::read(file));
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QStringList lines = text.split("\r\n");
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// A tree with its settings cleared, ready to be filled by a test.
struct SavedTree {
    TreeFiles files;
    SVGTree tree;
    RecordingReporter log;
    SavedTree() {
        tree.setReporter(&log);
        tree.SetTreeFile(files.path("Tree.txt"));
    }
    QStringList save() {
        tree.SaveToFile();
        return fileLines(tree.GetTreeFile());
    }
};
}  // namespace

TEST(TreeFileWriter, RoundTripsKeepTheTreeAndTheBytes) {
    for (const char* name : {"TreeRich-utf8.txt", "TreeRich-ansi.txt", "TreeRich-utf16.txt"}) {
        SCOPED_TRACE(name);
        TreeFiles files;
        SVGTree first;
        RecordingReporter log;
        loadTree(first, fixture(name), log);
        EXPECT_TRUE(log.warnings().isEmpty()) << log.warnings().join("\n");
        EXPECT_EQ(first.GetPersons().count(), 5);
        EXPECT_EQ(first.GetPersons().value("hans")->GetText(), "Hans Müller (1850-1920)");
        const QString before = describeTree(first);

        first.SetTreeFile(files.path("TreeCopy.txt"));
        first.SaveToFile();
        const QByteArray saved = TreeFiles::read(files.path("TreeCopy.txt"));

        SVGTree second;
        loadTree(second, files.path("TreeCopy.txt"), log);
        // The same tree, apart from the version the writer added.
        QString after = describeTree(second);
        after.remove("\nH Version=" + sGetVersion());
        EXPECT_EQ(after, before);

        second.SaveToFile();
        EXPECT_EQ(TreeFiles::read(files.path("TreeCopy.txt")), saved);
    }
}

TEST(TreeFileWriter, RecordLayout) {
    SavedTree s;
    SVGTree& t = s.tree;
    t.GetSettings().set("Title", "T");
    t.GetSettings().set("Viewpoints", "False");
    t.GetPlaceKeys().Define("img", "web/", "C:\\p\\");
    t.NewPerson("a", "Ann", "A", 1, 40, "f", true, "$img:a.png", true);
    t.NewPerson("b", "Bob", "", 4, 40, "m", false, "", true);
    t.NewPerson("c", "Cy", "", -2, 5, "u", false, "", true);
    t.NewPerson("d", "Di", "", 3, 5, "x", false, "", true);
    auto f1 = t.NewFamily("f1", "a", "b");
    f1->AddChild(t.GetPersons().value("c"));
    f1->AddChild(t.GetPersons().value("d"));
    f1->SetMoreChildren(true);
    auto f2 = t.NewFamily("f2", "c", "d");
    f2->SetMoreChildren(true);
    f2->SetLiaison(true);
    f2->AddNotes("n");
    f2->AddTooltips("t");
    f2->AddProgData("P | 1");
    f2->InitSettings("HideLinks=False");
    t.NewFamily("f3", "d", "c");
    auto v = t.AddViewpoint("v", "View", 6, 4);
    v->AddPerRefFromFile("a", 2, 7);
    v->AddPerRefFromFile("b", 3, 7);
    v->AddFamRef(*f1);
    t.AddViewpoint("w", "Empty", 3, 3);

    EXPECT_EQ(s.save(), QStringList({
        "H Title=T,Viewpoints=False,Version=" + sGetVersion(),
        "",
        "U img=web/|C:\\p\\",
        "",
        "P a($img:a.png)~f(1,40):Ann|A|",
        "P b=m(4,40):Bob|Bob|",
        "P c=u(-2,5):Cy|Cy|",
        "P d=x(3,5):Di|Di|",
        "",
        // f2 and f3 share row 5 and a distance of 5: the sort keeps f2 first.
        "F f2~c+d:...",
        "= n",
        "- t",
        "# P | 1",
        "/ HideLinks=False",
        "F f3=d+c:",
        "F f1=a+b:c,d,...",  // row 40
        "",
        // Viewpoints are kept even while the Viewpoints setting is False.
        "V v=View|6,4",
        "",
        "p a(2,7)",
        "p b(3,7)",
        "",
        "f f1",
        "",
        "V w=Empty|3,3",
        "",
    }));
    EXPECT_EQ(s.log.logLines(), QStringList({"Saving changes to tree definition file: " + t.GetTreeFile()}));
    // UTF-8 with a byte-order mark, every line ended by CR LF.
    const QByteArray bytes = TreeFiles::read(t.GetTreeFile());
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count("\r"), bytes.count("\r\n"));
}

TEST(TreeFileWriter, HeaderLinesAndVersion) {
    SavedTree s;
    StringDict& settings = s.tree.GetSettings();
    settings.set("Version", "old");
    settings.set("A", QString(50, 'a'));
    settings.set("B", QString(40, 'b'));  // 67 + 1 + 40 characters: still within 120
    settings.set("C", QString(10, 'c'));  // 110 + 1 + 10: a new line
    settings.set("Long", QString(130, 'l'));
    const QStringList lines = s.save();
    const QString v = "Version=" + sGetVersion();
    EXPECT_EQ(lines[0], "H " + v + ",A=" + QString(50, 'a') + ",B=" + QString(40, 'b'));
    EXPECT_EQ(lines[1], "H C=" + QString(10, 'c'));
    EXPECT_EQ(lines[2], "H Long=" + QString(130, 'l'));
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "");  // the empty person section
    EXPECT_EQ(lines.size(), 5);
}

TEST(TreeFileWriter, FamilyOrderIsThatOfTheExchangingSelectionSort) {
    // Each case: the first parent's row and the distance between the parents
    // of every family, in the order the families were made. Keys repeat in
    // many orders; the reference is the plain selection sort with exchanges.
    std::vector<std::vector<std::pair<int, int>>> cases;
    std::vector<std::pair<int, int>> fixed;
    for (int i = 0; int row : {3, 1, 2, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 3, 1}) fixed.push_back({row, i++ % 2});
    cases.push_back(fixed);
    quint32 seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(n));
    };
    for (int length : {2, 3, 7, 40, 120, 300}) {
        for (int spread : {1, 2, 5}) {
            std::vector<std::pair<int, int>> c;
            for (int i = 0; i < length; ++i) c.push_back({1 + next(spread), next(spread)});
            cases.push_back(c);
        }
    }
    for (size_t n = 0; n < cases.size(); ++n) {
        SCOPED_TRACE("case " + std::to_string(n));
        SavedTree s;
        SVGTree& t = s.tree;
        std::vector<std::pair<int, QString>> expected;
        for (size_t i = 0; i < cases[n].size(); ++i) {
            const auto [row, distance] = cases[n][i];
            const QString p = "p" + QString::number(i), q = "q" + QString::number(i), f = "f" + QString::number(i);
            t.NewPerson(p, p, "", 1, row, "m", false, "", true);
            t.NewPerson(q, q, "", 1 + distance, row, "f", false, "", true);
            t.NewFamily(f, p, q);
            expected.push_back({row * 1000 + distance, f});
        }
        for (size_t i = 0; i + 1 < expected.size(); ++i)
            for (size_t j = i + 1; j < expected.size(); ++j)
                if (expected[j].first < expected[i].first) std::swap(expected[i], expected[j]);
        QStringList written;
        for (const QString& line : s.save())
            if (line.startsWith("F ")) written << line.mid(2, line.indexOf('=') - 2);
        QStringList want;
        for (const auto& e : expected) want << e.second;
        EXPECT_EQ(written, want);
    }
}

TEST(TreeFileWriter, TextsTheFileCannotHoldAreRefusedBeforeWriting) {
    struct Case {
        const char* what;
        std::function<void(SVGTree&)> change;
        QString message;
    };
    std::vector<Case> cases = {
        {"comma in a header value", [](SVGTree& t) { t.GetSettings().set("Title", "a,b"); },
         "the header setting Title holds a comma"},
        {"line break in a header value", [](SVGTree& t) { t.GetSettings().set("Title", "a\nb"); },
         "the header setting Title holds a line break"},
        {"equals in a header name", [](SVGTree& t) { t.GetSettings().set("a=b", "c"); },
         "the header setting a=b has an equals sign in its name"},
        {"line break in a caption", [](SVGTree& t) { t.GetPersons().value("ann")->SetText("A\r\nB"); },
         "the caption of person ann holds a line break or \"|\""},
        {"sex the reader refuses", [](SVGTree& t) { t.GetPersons().value("ann")->SetSex("q"); },
         "the sex of person ann is \"q\""},
        {"bar in a short caption", [](SVGTree& t) { t.GetPersons().value("ann")->SetShortText("A|B"); },
         "the short caption of person ann holds a line break or \"|\""},
        {"line break in a notes line", [](SVGTree& t) { t.GetFamilies().value("f1")->AddNotes("x\ny"); },
         "a notes line of family f1 holds a line break"},
        {"notes line longer than a file's line", [](SVGTree& t) {
             t.GetFamilies().value("f1")->AddNotes(QString(ReadTextFile::kMaxRecordBytes, u'x'));
         },
         "a notes line of family f1 is longer than the 65536 bytes of a line"},
        {"comma in a local setting", [](SVGTree& t) { t.GetPersons().value("bob")->GetLocSettings().set("TooltipTR", "a,b"); },
         "the local setting TooltipTR of person bob holds a comma"},
        {"bar in a viewpoint name", [](SVGTree& t) { t.AddViewpoint("v", "a|b", 1, 1); },
         "the name of viewpoint v holds a line break or \"|\""},
        {"empty viewpoint name", [](SVGTree& t) { t.AddViewpoint("v", " ", 1, 1); },
         "the name of viewpoint v is empty"},
        {"bad viewpoint key", [](SVGTree& t) { t.AddViewpoint("v=1", "V", 1, 1); },
         "the viewpoint key v=1 is no valid key name"},
        {"viewpoint family without a parent", [](SVGTree& t) {
             auto v = t.AddViewpoint("v", "V", 4, 4);
             v->AddPerRef("ann", 1, 1, true);
             v->AddPerRef("bob", 2, 1, true);
             v->AddFamRef(*t.GetFamilies().value("f1"));
             v->RemPerRef("bob");
         },
         "the family f1 of viewpoint v is shown without both its parents"},
        {"bad place key", [](SVGTree& t) { t.GetPlaceKeys().Define("a b", "u", "l"); },
         "the place key a b is no valid key name"},
        {"place with a line break", [](SVGTree& t) { t.GetPlaceKeys().Define("a", "u\n", "l"); },
         "the place key a holds a line break"},
    };
    const QString tail = ", which a tree definition file cannot hold there";
    // Header values the reader's display settings would refuse.
    cases.push_back({"Boolean setting that is no Boolean", [](SVGTree& t) { t.GetSettings().set("Horiz", "maybe"); },
                     "the header settings would not load again (Type mismatch in setting Horiz=maybe)"});
    cases.push_back({"instance that is no letter or digit", [](SVGTree& t) { t.GetSettings().set("Inst", "-a"); },
                     "the header settings would not load again (The instance identifier must start with an ASCII "
                     "letter or digit: Inst=-a)"});
    // A local setting the reader would refuse is refused here too.
    cases.push_back({"unknown local setting", [](SVGTree& t) { t.GetFamilies().value("f1")->GetLocSettings().set("Foo", "1"); },
                     "the local setting Foo of family f1 would not load again (Unknown local Family setting: Foo)"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SavedTree s;
        addCouple(s.tree);
        const QString file = s.files.writeLines("Tree.txt", {"H Title=Old"});
        const QByteArray old = TreeFiles::read(file);
        s.tree.ClearPendingEvents();
        s.tree.SetPendingPFChange();
        c.change(s.tree);
        s.tree.SetUnsaved(true);
        const AppError e = errorOf([&] { s.tree.SaveToFile(); });
        EXPECT_EQ(e.number, kErrorBase + 515);
        EXPECT_EQ(e.description, "The tree cannot be saved: " + c.message + (c.message.endsWith(")") ? "" : tail));
        EXPECT_EQ(TreeFiles::read(file), old);
        EXPECT_TRUE(s.tree.IsUnsaved());
        EXPECT_TRUE(s.tree.HasPendingPFChange());
    }
}

TEST(TreeFileWriter, AnApplicationSettingThatIsNoBooleanIsRefused) {
    SavedTree s;
    SVGApplications apps;
    apps.Initialise(QStringLiteral(KV_SOURCE_DIR "/share"), s.log);
    s.tree.setApplications(&apps);
    addCouple(s.tree);
    s.tree.GetSettings().set("Timeline", "True");
    EXPECT_NO_THROW(s.tree.SaveToFile());
    s.tree.GetSettings().set("Timeline", "perhaps");
    const AppError e = errorOf([&] { s.tree.SaveToFile(); });
    EXPECT_EQ(e.description, "The tree cannot be saved: the header settings would not load again (Setting Timeline "
                             "must have a Boolean value: perhaps)");
}

TEST(TreeFileWriter, SavingClearsTheStateAndSaveAsAsksForAFile) {
    SavedTree s;
    addCouple(s.tree);
    s.tree.SetPendingViewpointPFChange("v");
    s.save();
    EXPECT_FALSE(s.tree.IsUnsaved());
    EXPECT_EQ(s.tree.GetPendingViewpoints(), "");
    EXPECT_FALSE(s.tree.HasPendingPFChange());

    s.tree.SetUnsaved(true);
    EXPECT_FALSE(s.tree.SaveAs([]() -> QString { throw AppError(kCancelErrorNumber, "SelectFileClass", "Cancel was selected"); }));
    EXPECT_TRUE(s.tree.IsUnsaved());
    EXPECT_EQ(s.tree.GetTreeFile(), s.files.path("Tree.txt"));
    const QString other = s.files.path("TreeOther.txt");
    EXPECT_TRUE(s.tree.SaveAs([&] { return other; }));
    EXPECT_EQ(s.tree.GetTreeFile(), other);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(s.tree.IsUnsaved());
    EXPECT_THROW(s.tree.SaveAs([]() -> QString { throw AppError(1, "x", "other"); }), AppError);

    // A folder that does not exist: the error reaches the caller, the tree stays unsaved.
    s.tree.SetUnsaved(true);
    s.tree.SetTreeFile(s.files.path("missing/Tree.txt"));
    EXPECT_THROW(s.tree.SaveToFile(), AppError);
    EXPECT_TRUE(s.tree.IsUnsaved());
}

TEST(TreeFileWriter, AwkwardTextsSurviveSavingAndLoading) {
    SavedTree s;
    SVGTree& t = s.tree;
    const std::vector<std::tuple<QString, QString, bool, QString, QString>> persons = {
        // key, image, tentative, caption, personal names
        {"a", "pics/a=1.jpg", false, "Caption = with ~ and: colon", "A /B/|C /D/"},
        {"b", "pics/x)=y.jpg", true, "Tent = ative )= x", "N=1|N~2"},
        {"c", "C:\\p|q:r\\c~1.jpg", true, "Colon: then, comma", ""},
        {"d", "", true, "Ends with )=", "x)=y"},
        {"e", "$img:e (1).jpg", false, "(Only parentheses)", ""},
    };
    for (const auto& [key, image, tentative, caption, names] : persons) {
        auto p = t.NewPerson(key, caption, "", 1, 1, "u", tentative, image, true);
        p->SetPersonalNames(names);
        p->AddNotes("= not a record | : ~");
        p->AddProgData("App | $img:x.png | a=b");
    }
    s.save();
    SVGTree back;
    RecordingReporter log;
    loadTree(back, t.GetTreeFile(), log);
    EXPECT_TRUE(log.warnings().isEmpty());
    // The reader seeds its own settings; everything else is as it was.
    auto withoutSettings = [](SVGTree& tree) {
        QStringList lines = describeTree(tree).split("\n");
        lines.removeIf([](const QString& l) { return l.startsWith("H "); });
        return lines.join("\n");
    };
    EXPECT_EQ(withoutSettings(back), withoutSettings(t));
}
