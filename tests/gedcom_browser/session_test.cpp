// The browsing session: loading, the name filter, the minimum year, the
// spouse and child lists, the popup menus' select and details entries, and
// the holder that keeps all of it between openings.
#include <QDir>
#include <QTemporaryDir>

#include "GEDTreeExport.h"
#include "foundation/AppError.h"

#include "BrowserTestSupport.h"
#include "tree_model/PlaceKeyClass.h"

namespace {
const QString kGedData = QStringLiteral(KV_TEST_DATA_DIR "/ged/");
}

TEST_F(SessionTest, LoadLogsThePathAndTheCountsAndListsEveryone) {
    load("browser.ged");
    ASSERT_GE(host.log.size(), 2);
    EXPECT_EQ(host.log.first(), QStringLiteral("Loading GEDCOM file: ") + browserFixture("browser.ged"));
    EXPECT_EQ(host.log.last(), QStringLiteral("Loaded 8 persons and 3 families from GEDCOM file"));
    EXPECT_TRUE(host.warnings.isEmpty());
    EXPECT_TRUE(session.exportEnabled());
    EXPECT_EQ(session.title(), QStringLiteral("browser"));
    EXPECT_EQ(session.filename(), browserFixture("browser.ged"));
    EXPECT_EQ(personRows(), (QStringList{"John Smith", "Tom Smith", "Joan Mary Smithers", "Smith John",
                                         "(Unnamed Person)", "Mary Jones", "Peter Smith", "(Unknown Person)"}));
}

TEST_F(SessionTest, ThreePersonsAndOneFamilyKeepThePluralAndTheTitleStopsAtTheLastDot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("my.family.tree.ged"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0 HEAD\n1 CHAR ASCII\n0 @A@ INDI\n1 NAME A /X/\n0 @B@ INDI\n1 NAME B /X/\n0 @C@ INDI\n"
            "0 @F@ FAM\n1 HUSB @A@\n1 WIFE @B@\n1 CHIL @C@\n0 TRLR\n");
    f.close();
    session.loadFile(path);
    EXPECT_EQ(host.log.last(), QStringLiteral("Loaded 3 persons and 1 families from GEDCOM file"));
    EXPECT_EQ(session.title(), QStringLiteral("my.family.tree"));
    EXPECT_EQ(session.proposedExportName(), QStringLiteral("Treemy.family.tree.txt"));

    // A file title without any "." is taken whole.
    const QString bare = dir.filePath(QStringLiteral("smiths"));
    QFile::copy(path, bare);
    session.loadFile(bare);
    EXPECT_EQ(session.title(), QStringLiteral("smiths"));
    EXPECT_EQ(session.personList().rowCount(), 3);
}

TEST_F(SessionTest, ProposedExportNameKeepsATreePrefixOfAnyCase) {
    const struct {
        const char* title;
        const char* proposed;
    } cases[] = {{"Smith", "TreeSmith.txt"}, {"treeSmith", "treeSmith.txt"}, {"TREE", "TREE.txt"},
                 {"The Smiths", "TreeThe Smiths.txt"}, {"", "Tree.txt"}};
    for (const auto& c : cases) EXPECT_EQ(sExportFileName(QString::fromUtf8(c.title)), QString::fromUtf8(c.proposed));
}

TEST_F(SessionTest, AFileFromThisSystemsExportIsNamedInTheLog) {
    session.loadFile(kGedData + QStringLiteral("export.ged"));
    EXPECT_TRUE(host.log.contains(QStringLiteral("GEDCOM file was originally created by Kvora")));
    load("browser.ged");
    EXPECT_EQ(host.log.count(QStringLiteral("GEDCOM file was originally created by Kvora")), 1);
}

TEST_F(SessionTest, CancelOnALibraryWarningAbandonsTheLoad) {
    host.cancelWarnings = true;
    session.loadFile(kGedData + QStringLiteral("abandon.ged"));
    EXPECT_EQ(host.discardWarnings.size(), 1);
    EXPECT_EQ(session.document(), nullptr);
    EXPECT_EQ(session.personList().rowCount(), 0);
    for (const QString& line : host.log) EXPECT_FALSE(line.startsWith(QStringLiteral("Loaded "))) << line.toStdString();
}

TEST_F(SessionTest, AFailedLoadKeepsTheNewPathWithEmptyListsAndNoDocument) {
    load("browser.ged");
    session.setPartName(QStringLiteral("jo"));
    const QString missing = browserFixture("no such file.ged");
    EXPECT_THROW(session.loadFile(missing), AppError);
    EXPECT_EQ(session.filename(), missing);
    EXPECT_EQ(session.title(), QStringLiteral("no such file"));
    EXPECT_EQ(session.partName(), QString());
    EXPECT_EQ(session.personList().rowCount(), 0);
    EXPECT_EQ(session.document(), nullptr);
    EXPECT_TRUE(session.exportEnabled());
    // The export then stops before writing anything.
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("Tree.txt"));
    EXPECT_THROW(session.ExportTreeFile(out), AppError);
    EXPECT_TRUE(host.log.last().startsWith(QStringLiteral("Exporting GEDCOM to tree definition file: ")));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(SessionTest, NameFilterMatchesWordBeginningsInOrder) {
    load("browser.ged");
    const struct {
        const char* filter;
        QStringList rows;
    } cases[] = {
        {"jo sm", {"John Smith", "Joan Mary Smithers"}},
        {"JO SM", {"John Smith", "Joan Mary Smithers"}},
        {"smith", {"John Smith", "Tom Smith", "Joan Mary Smithers", "Smith John", "Peter Smith"}},
        {"mary", {"Joan Mary Smithers", "Mary Jones"}},
        {"x", {}},
        {"", {"John Smith", "Tom Smith", "Joan Mary Smithers", "Smith John", "(Unnamed Person)", "Mary Jones",
              "Peter Smith", "(Unknown Person)"}},
    };
    for (const auto& c : cases) {
        session.setPartName(QString::fromUtf8(c.filter));
        EXPECT_EQ(personRows(), c.rows) << c.filter;
    }
}

TEST_F(SessionTest, ChangingTheFilterEmptiesTheSpouseAndChildLists) {
    load("browser.ged");
    pick("John Smith");
    session.selectSpouseRow(0);
    ASSERT_FALSE(session.childRows().isEmpty());
    session.setPartName(QStringLiteral("jo"));
    EXPECT_TRUE(session.spouseRows().isEmpty());
    EXPECT_TRUE(session.childRows().isEmpty());
    EXPECT_EQ(session.selectedPersonRow(), -1);
}

TEST_F(SessionTest, MinimumValidYearAcceptsZeroTo2499AndKeepsTheOldValueOtherwise) {
    const struct {
        const char* text;
        bool accepted;
        short year;
    } cases[] = {
        {"0", true, 0},        {"2499", true, 2499},  {"1500", true, 1500}, {"2500", false, 1500},
        {"-1", false, 1500},   {"x", false, 1500},    {"2499.5", false, 1500}, {"", false, 1500},
        {" 1200", true, 1200}, {"1200.5", true, 1200}, {"1201.5", true, 1202},
    };
    for (const auto& c : cases) {
        host.warnings.clear();
        EXPECT_EQ(session.setMinValidDateText(QString::fromUtf8(c.text)), c.accepted) << c.text;
        EXPECT_EQ(session.control()->GetMinValidDate(), c.year) << c.text;
        EXPECT_EQ(host.warnings, c.accepted ? QStringList() : QStringList{"Invalid date value"}) << c.text;
    }
    EXPECT_EQ(session.minValidDateText(), QStringLiteral("1202"));
}

TEST_F(SessionTest, SpouseAndChildListsFollowTheSelection) {
    load("browser.ged");
    pick("John Smith");
    // Families in the order of the person's links; a missing partner shows
    // the library's placeholder.
    EXPECT_EQ(session.spouseRows(), (QStringList{"Joan Mary Smithers", "(Unknown Person)"}));
    EXPECT_TRUE(session.childRows().isEmpty());
    session.selectSpouseRow(0);
    EXPECT_EQ(session.childRows(), (QStringList{"Tom Smith", "(Unnamed Child)"}));
    session.selectSpouseRow(1);
    EXPECT_TRUE(session.childRows().isEmpty());
    pick("Smith John");
    EXPECT_TRUE(session.spouseRows().isEmpty());
}

TEST_F(SessionTest, SelectEntriesPutARelativesNameIntoTheFilter) {
    load("browser.ged");
    pick("John Smith");
    EXPECT_TRUE(session.personHasParent(true));
    EXPECT_TRUE(session.personHasParent(false));
    session.selectPersonMotherName();
    EXPECT_EQ(session.partName(), QStringLiteral("Mary Jones"));
    EXPECT_EQ(personRows(), (QStringList{"Mary Jones"}));

    pick("Mary Jones");
    EXPECT_FALSE(session.personHasParent(true));
    session.selectPersonFatherName();  // no father: nothing changes
    EXPECT_EQ(session.partName(), QStringLiteral("Mary Jones"));

    session.setPartName(QStringLiteral("joan"));
    pick("Joan Mary Smithers");
    session.selectSpouseRow(0);
    // The spouse menu's parents are those of the partner in the row.
    EXPECT_TRUE(session.spouseRowNamed());
    EXPECT_TRUE(session.spouseHasParent(true));
    session.selectSpouseFatherName();
    EXPECT_EQ(session.partName(), QStringLiteral("Peter Smith"));

    session.setPartName(QStringLiteral("john sm"));
    pick("John Smith");
    session.selectSpouseRow(1);
    EXPECT_FALSE(session.spouseRowNamed());
    EXPECT_FALSE(session.spouseHasParent(true));
    EXPECT_FALSE(session.spouseHasParent(false));
    session.selectSpouseName();  // a placeholder row: nothing changes
    EXPECT_EQ(session.partName(), QStringLiteral("john sm"));
    session.selectSpouseRow(0);
    session.selectSpouseName();
    EXPECT_EQ(session.partName(), QStringLiteral("Joan Mary Smithers"));

    pick("Joan Mary Smithers");
    session.selectSpouseRow(0);
    session.selectChildRow(1);
    EXPECT_FALSE(session.childRowNamed());
    session.selectChildName();
    EXPECT_EQ(session.partName(), QStringLiteral("Joan Mary Smithers"));
    session.selectChildRow(0);
    EXPECT_TRUE(session.childRowNamed());
    session.selectChildName();
    EXPECT_EQ(session.partName(), QStringLiteral("Tom Smith"));
}

TEST_F(SessionTest, ShowDetailsLogsAndShowsOneParagraph) {
    load("browser.ged");
    pick("John Smith");
    session.showPersonDetails();
    const QString person = QStringLiteral(
        "John Smith (1850-). Known as: John Smith, Jack Smith. Born on Tuesday January 1, 1850.");
    EXPECT_EQ(host.information, QStringList{person});
    EXPECT_EQ(host.log.last(), person);

    session.selectSpouseRow(0);
    session.showSpouseDetails();
    EXPECT_EQ(host.information.last(), QStringLiteral("Joan M. Smithers (?-). Known as: Joan Mary Smithers. "
                                                      "Line one. Line two. Married in 1875."));
    session.selectChildRow(1);
    session.showChildDetails();
    EXPECT_EQ(host.information.last(), QStringLiteral("(Unnamed) (?-)"));

    // Only blanks are trimmed, as in the viewpoint manager: a tooltip that
    // begins with an empty line keeps it; four empty texts show nothing.
    session.ShowDetails(QStringLiteral(" Ann "), QStringLiteral("\n\nFarmer "), QString(), QString());
    EXPECT_EQ(host.information.last(), QStringLiteral("Ann.  Farmer."));
    EXPECT_EQ(host.log.last(), host.information.last());
    const auto shown = host.information.size();
    session.ShowDetails(QStringLiteral("  "), QString(), QString(), QString());
    EXPECT_EQ(host.information.size(), shown);
}

TEST_F(SessionTest, KnownAsListsThePersonalNamesWithoutSurnameMarks) {
    load("browser.ged");
    const struct {
        int person;  // index into the document's persons, in the person list's order
        const char* knownAs;
    } cases[] = {
        {0, "Known as: John Smith, Jack Smith"},
        {2, "Known as: Joan Mary Smithers"},
        {4, ""},  // no name
    };
    for (const auto& c : cases)
        EXPECT_EQ(GEDBrowserSession::sGetKnownAs(session.persons().at(c.person)), QString::fromUtf8(c.knownAs))
            << c.knownAs;
}

TEST_F(SessionTest, ReopeningRestoresTheFileListsSwitchYearAndKeysWithoutALoad) {
    load("browser.ged");
    session.setPartName(QStringLiteral("jo"));
    session.setLoadImages(false);
    session.setMinValidDateText(QStringLiteral("1200"));
    const auto document = session.document();
    session.close();

    EXPECT_EQ(holder.GetFilename(), browserFixture("browser.ged"));
    EXPECT_FALSE(holder.GetLoadImages());
    EXPECT_EQ(holder.GetPersons().size(), 8);

    RecordingHost otherHost;
    GEDBrowserSession again(otherHost);
    again.open(holder);
    EXPECT_EQ(again.document(), document);
    EXPECT_TRUE(otherHost.log.isEmpty());
    EXPECT_EQ(again.filename(), browserFixture("browser.ged"));
    EXPECT_TRUE(again.exportEnabled());
    EXPECT_FALSE(again.loadImages());
    EXPECT_EQ(again.partName(), QString());
    EXPECT_EQ(again.personList().rowCount(), 8);
    EXPECT_EQ(again.minValidDateText(), QStringLiteral("1200"));
    EXPECT_TRUE(again.placeKeys().Exists(QStringLiteral("GEDDIR1")));
    again.close();
    session.open(holder);
}

TEST_F(SessionTest, ANewHolderStartsWithTheImageSwitchOnAndExportDisabled) {
    EXPECT_TRUE(session.loadImages());
    EXPECT_FALSE(session.exportEnabled());
    EXPECT_EQ(session.minValidDateText(), QStringLiteral("1000"));
    EXPECT_EQ(session.personList().rowCount(), 0);
}

TEST_F(SessionTest, ManagePlacesEditsTheBrowsersOwnKeys) {
    host.editor = [](PlaceKeyClass& keys) { keys.Define(QStringLiteral("web"), QStringLiteral("http://x/"), QString()); };
    session.manageKeys();
    EXPECT_TRUE(session.placeKeys().Exists(QStringLiteral("web")));
    session.close();
    EXPECT_TRUE(holder.GetPlaceKeys()->Exists(QStringLiteral("web")));
    session.open(holder);
}
