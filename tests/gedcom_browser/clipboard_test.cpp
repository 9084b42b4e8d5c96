// The clipboard texts of the browser's copy entries, byte for byte, and each
// read back by the tree's own clipboard reader.
#include "BrowserTestSupport.h"
#include "GEDClipboardTexts.h"
#include "foundation/AppError.h"
#include "tree_model/SVGTree.h"

namespace {
// A text written with <LF>, <CR>, <VT>, <FF> for the control characters.
QString marked(const char* text) {
    QString s = QString::fromUtf8(text);
    s.replace(QStringLiteral("<LF>"), QChar(10));
    s.replace(QStringLiteral("<CR>"), QChar(13));
    s.replace(QStringLiteral("<VT>"), QChar(11));
    s.replace(QStringLiteral("<FF>"), QChar(12));
    return s;
}

const char* const kJohn =
    "SVG-P<LF>I1<LF>John Smith (1850-)<LF>John Smith<LF>John /Smith/|Jack /Smith/<LF>1<LF>1<LF>m<LF>False<LF>"
    "$GEDDIR1:john.jpg<LF>"
    "<CR>=<span data-start='{1850-01-01}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>Born on Tuesday "
    "January 1, 1850.</span><CR>-Born on Tuesday January 1, 1850.";
const char* const kJoan =
    "SVG-P<LF>I2<LF>Joan M. Smithers (?-)<LF>Joan M. Smithers<LF>Joan Mary /Smithers/<LF>1<LF>1<LF>f<LF>False<LF>"
    "$GEDDIR1:joan.jpg<LF><CR>=Line one<br/><CR>=Line two<CR>-Line one<CR>-Line two";
const char* const kTom =
    "SVG-P<LF>I7<LF>Tom Smith (1880-)<LF>Tom Smith<LF>Tom /Smith/<LF>1<LF>1<LF>m<LF>False<LF><LF>"
    "<CR>=<span data-start='{1880}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>Born in 1880.</span>"
    "<CR>-Born in 1880.";
const char* const kUnnamed = "SVG-P<LF>I4<LF>(Unnamed) (?-)<LF>(Unnamed)<LF><LF>1<LF>1<LF>f<LF>False<LF><LF>";
const char* const kF1Head =
    "SVG-F<LF>F1<LF>False<LF>False<LF><CR>=<span data-start='{1875}' data-evtype='Marriage' data-event='Married' "
    "data-gtag='MARR'>Married in 1875.</span><CR>-Married in 1875.";
const char* const kPlaces = "<FF>SVG-U<LF><FF>GEDDIR1<LF><LF>/home/pics/";

QString join(std::initializer_list<const char*> parts) {
    QString out;
    for (const char* p : parts) out += marked(p);
    return out;
}
}  // namespace

class ClipboardTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        load("browser.ged");
        tree.GetPersons();
    }
    SVGTree tree;
};

TEST_F(ClipboardTest, CopyPersonGivesThePersonBlockAndItsPlaceKey) {
    pick("John Smith");
    session.copyPerson();
    EXPECT_EQ(host.clipboard, join({kJohn, kPlaces}));

    QString key;
    const SVGBoxPtr person = tree.Unpack1Person(host.clipboard, false, key);
    ASSERT_TRUE(person);
    EXPECT_EQ(key, QStringLiteral("I1"));
    EXPECT_EQ(person->GetText(), QStringLiteral("John Smith (1850-)"));
    EXPECT_EQ(person->GetShortText(), QStringLiteral("John Smith"));
    EXPECT_EQ(person->GetPersonalNames(), QStringLiteral("John /Smith/|Jack /Smith/"));
    EXPECT_EQ(person->GetSex(), QStringLiteral("m"));
    EXPECT_EQ(person->GetImage(), QStringLiteral("$GEDDIR1:john.jpg"));
    EXPECT_EQ(person->GetNotes().size(), 1);
    EXPECT_EQ(person->GetTooltips(), QStringList{"Born on Tuesday January 1, 1850."});
    EXPECT_EQ(person->GetTreeCol(), 1);
    EXPECT_EQ(person->GetTreeRow(), 1);
    QString url, local;
    tree.GetPlaceKeys().GetPlaces(QStringLiteral("GEDDIR1"), url, local);
    EXPECT_EQ(local, QStringLiteral("/home/pics/"));
}

TEST_F(ClipboardTest, PersonsWithoutNotesNamesOrPicturesKeepEveryField) {
    pick("Smith John");
    session.copyPerson();
    EXPECT_EQ(host.clipboard, marked("SVG-P<LF>I3<LF>Smith John (?-)<LF>Smith John<LF>Smith /John/<LF>1<LF>1<LF>m<LF>"
                                     "False<LF><LF>"));
    pick("(Unnamed Person)");
    session.copyPerson();
    EXPECT_EQ(host.clipboard, marked(kUnnamed));
    QString key;
    const SVGBoxPtr person = tree.Unpack1Person(host.clipboard, false, key);
    ASSERT_TRUE(person);
    EXPECT_EQ(person->GetSex(), QStringLiteral("f"));
    EXPECT_EQ(person->GetPersonalNames(), QString());
    EXPECT_TRUE(person->GetNotes().isEmpty());
}

TEST_F(ClipboardTest, CopyPersonAndSpouseGivesTheCoupleWithOneSharedKey) {
    pick("John Smith");
    session.selectSpouseRow(0);
    session.copyPersonAndSpouse();
    EXPECT_EQ(host.clipboard, join({kF1Head, "<VT>", kJohn, "<VT>", kJoan, kPlaces}));

    QString keys;
    const SVGFamilyPtr family = tree.UnpackFamily(host.clipboard, false, keys);
    ASSERT_TRUE(family);
    EXPECT_EQ(family->GetKey(), QStringLiteral("F1"));
    EXPECT_EQ(family->GetFirstPar()->GetKey(), QStringLiteral("I1"));
    EXPECT_EQ(family->GetSecPar()->GetKey(), QStringLiteral("I2"));
    EXPECT_TRUE(family->GetChildren().isEmpty());
    EXPECT_EQ(family->GetTooltips(), QStringList{"Married in 1875."});
    EXPECT_EQ(keys, QStringLiteral("I1,I2"));
    EXPECT_EQ(tree.GetPersons().value(QStringLiteral("I2"))->GetNotes(),
              (QStringList{"Line one<br/>", "Line two"}));
}

TEST_F(ClipboardTest, CopyPersonSpouseAndChildrenAddsTheChildrenInOrder) {
    pick("John Smith");
    session.selectSpouseRow(0);
    session.copyPersonSpouseAndChildren();
    EXPECT_EQ(host.clipboard, join({kF1Head, "<VT>", kJohn, "<VT>", kJoan, "<VT>", kTom, "<VT>", kUnnamed, kPlaces}));

    QString keys;
    const SVGFamilyPtr family = tree.UnpackFamily(host.clipboard, false, keys);
    ASSERT_TRUE(family);
    ASSERT_EQ(family->GetChildren().size(), 2);
    EXPECT_EQ(family->GetChildren()[0]->GetKey(), QStringLiteral("I7"));
    EXPECT_EQ(family->GetChildren()[1]->GetKey(), QStringLiteral("I4"));

    session.selectChildRow(0);
    session.copyChild();
    EXPECT_EQ(host.clipboard, marked(kTom));
}

TEST_F(ClipboardTest, CopyPersonAndAllSpousesGivesEveryFamilyWithoutChildren) {
    pick("John Smith");
    session.copyPersonAndAllSpouses();
    const char* const missing =
        "SVG-P<LF>Missing8<LF>(Unknown Person) (?-)<LF>(Unknown Person)<LF><LF>1<LF>1<LF>f<LF>False<LF><LF>";
    EXPECT_EQ(host.clipboard, join({"SVG-NF<LF><FF>", kF1Head, "<VT>", kJohn, "<VT>", kJoan,
                                    "<FF>SVG-F<LF>F2<LF>False<LF>False<LF><VT>", kJohn, "<VT>", missing, kPlaces}));

    QString keys;
    EXPECT_EQ(tree.UnpackNFamilies(host.clipboard, false, keys), QStringLiteral("F1,F2"));
    EXPECT_EQ(keys, QStringLiteral("I1,I2,Missing8"));
    EXPECT_EQ(tree.GetFamilies().count(), 2);
    EXPECT_TRUE(tree.GetPlaceKeys().Exists(QStringLiteral("GEDDIR1")));

    // A person without families copies as the person alone.
    pick("Smith John");
    session.copyPersonAndAllSpouses();
    EXPECT_TRUE(host.clipboard.startsWith(QStringLiteral("SVG-P\nI3\n")));
    session.copyPersonAndSpouse();
    EXPECT_TRUE(host.clipboard.startsWith(QStringLiteral("SVG-P\nI3\n")));
}

TEST_F(ClipboardTest, WithoutImagesNoPictureAndNoPlaceKeysAreWritten) {
    session.setLoadImages(false);
    pick("John Smith");
    session.selectSpouseRow(0);
    session.copyPersonAndSpouse();
    QString expected = join({kF1Head, "<VT>", kJohn, "<VT>", kJoan});
    expected.replace(QStringLiteral("$GEDDIR1:john.jpg"), QString());
    expected.replace(QStringLiteral("$GEDDIR1:joan.jpg"), QString());
    EXPECT_EQ(host.clipboard, expected);
    EXPECT_TRUE(session.placeKeys().Exists(QStringLiteral("GEDDIR1")));
}

TEST_F(SessionTest, InvalidIdentifiersBecomeValidKeysAndNotesLoseTheirRecordSeparators) {
    load("badkeys.ged");
    ASSERT_EQ(host.warnings.size(), 1);
    EXPECT_EQ(host.warnings[0], QStringLiteral("Some GEDCOM identifiers are not valid keys and are written with other "
                                               "keys: 1 as I1, I.1 as I_1_2, 2 as F2"));
    pick("Ann Lee");
    session.selectSpouseRow(0);
    session.copyPersonSpouseAndChildren();
    EXPECT_EQ(host.clipboard,
              marked("SVG-F<LF>F2<LF>False<LF>False<LF>"
                     "<VT>SVG-P<LF>I_1_2<LF>Bob Lee (?-)<LF>Bob Lee<LF>Bob /Lee/<LF>1<LF>1<LF>m<LF>False<LF><LF>"
                     "<VT>SVG-P<LF>I1<LF>Ann Lee (?-)<LF>Ann Lee<LF>Ann /Lee/<LF>1<LF>1<LF>f<LF>False<LF><LF>"
                     "<CR>=Tab\tandverticalfeed<CR>-Tab\tandverticalfeed"
                     "<VT>SVG-P<LF>I_1<LF>Cy Lee (?-)<LF>Cy Lee<LF>Cy /Lee/<LF>1<LF>1<LF>u<LF>False<LF><LF>"));
    SVGTree tree;
    QString keys;
    const SVGFamilyPtr family = tree.UnpackFamily(host.clipboard, false, keys);
    ASSERT_TRUE(family);
    EXPECT_EQ(keys, QStringLiteral("I_1_2,I1,I_1"));
    EXPECT_EQ(tree.GetPersons().value(QStringLiteral("I1"))->GetNotes(), QStringList{"Tab\tandverticalfeed"});
}

TEST_F(SessionTest, ACopyThatFailsLeavesTheClipboardAsItWas) {
    load("browser.ged");
    ASSERT_NO_THROW(session.copyPerson());  // nothing selected: nothing copied
    EXPECT_EQ(host.clipboard, QStringLiteral("(untouched)"));
    GEDClipboardTexts texts(session.keyMap(), session.placeKeys(), true);
    EXPECT_THROW(texts.sPackGEDFamilyKeys(*session.document(), QStringLiteral("F1,F9"), true), AppError);
}
