#include <gtest/gtest.h>

#include "ClipboardText.h"
#include "RecordingReporter.h"
#include "SVGTree.h"
#include "TreeFixture.h"

namespace {
// The clipboard of a test: a text in memory.
class MemoryClipboard : public ClipboardText {
public:
    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }

private:
    QString text_;
};

// A source tree: ann (with image on a place key, notes, a tooltip, data),
// bob, and their family f1 with children cat and dan.
void fillSource(SVGTree& t) {
    t.GetPlaceKeys().Define("img", "web/", "C:\\p\\");
    t.GetPlaceKeys().Define("other", "o/", "");
    addCouple(t);
    auto ann = t.GetPersons().value("ann");
    ann->SetImage("$img:ann.jpg");
    ann->SetPersonalNames("Ann /Smith/|Annie");
    ann->SetTentative(true);
    ann->AddNotes("note 1");
    ann->AddNotes("");
    ann->AddTooltips("tip");
    ann->AddProgData("App | 1");
    auto f1 = t.GetFamilies().value("f1");
    f1->SetLiaison(true);
    f1->AddNotes("fam note");
    t.GetPersons().value("dan")->SetImage("$other:d.png");
}

const QString kAnn =
    "SVG-P\nann\nAnn Smith\nAnn Smith\nAnn /Smith/|Annie\n1\n1\nf\nTrue\n$img:ann.jpg\n\r=note 1\r=\r-tip\r#App | 1";
const QString kBob = "SVG-P\nbob\nBob Smith\nBob Smith\n\n2\n1\nm\nFalse\n\n";
const QString kCat = "SVG-P\ncat\nCat Smith\nCat Smith\n\n1\n2\nf\nFalse\n\n";
const QString kDan = "SVG-P\ndan\nDan Smith\nDan Smith\n\n2\n2\nm\nFalse\n$other:d.png\n";
}  // namespace

TEST(Clipboard, PackedTextsByteForByte) {
    SVGTree t;
    fillSource(t);
    EXPECT_EQ(t.Pack1Person(*t.GetPersons().value("bob")), kBob);
    EXPECT_EQ(t.Pack1Person(*t.GetPersons().value("ann")), kAnn + "\fSVG-U\n\fimg\nweb/\nC:\\p\\");
    EXPECT_EQ(t.PackNPersons("bob,ann,nobody"), "SVG-NP\n\f" + kBob + "\f" + kAnn + "\fSVG-U\n\fimg\nweb/\nC:\\p\\");
    EXPECT_EQ(t.PackNPersons(""), "SVG-NP\n");

    const QString family = "SVG-F\nf1\nFalse\nTrue\n\r=fam note\v" + kAnn + "\v" + kBob + "\v" + kCat + "\v" + kDan;
    QString keys = "x";
    EXPECT_EQ(t.PackFamily(*t.GetFamilies().value("f1"), keys), family);
    EXPECT_EQ(keys, "x,img,other");
    const QString places = "\fSVG-U\n\fimg\nweb/\nC:\\p\\\fother\no/\n";
    EXPECT_EQ(t.Pack1Family(*t.GetFamilies().value("f1")), family + places);
    EXPECT_EQ(t.PackNFamilies("f1"), "SVG-NF\n\f" + family + places);

    EXPECT_EQ(t.PackKeys("SVG-KP", "a,b"), "SVG-KP\na\nb\n");
    EXPECT_EQ(t.PackKeys("SVG-KF0", ""), "SVG-KF0\n");
    QString sign;
    EXPECT_EQ(t.UnpackKeys("SVG-KP\na\nb\n", sign), "a,b");
    EXPECT_EQ(sign, "SVG-KP");
    EXPECT_EQ(t.UnpackKeys("SVG-KF0\n\nx", sign), "x");
    EXPECT_EQ(t.UnpackKeys("SVG-KX\na\n", sign), "");
    EXPECT_EQ(sign, "");
    EXPECT_EQ(t.UnpackKeys("SVG-KF", sign), "");

    MemoryClipboard clip;
    clip.setText(t.Pack1Family(*t.GetFamilies().value("f1")));
    SVGTree copy;
    QString set;
    ASSERT_TRUE(copy.UnpackFamily(clip.text(), false, set));
    EXPECT_EQ(copy.Pack1Family(*copy.GetFamilies().value("f1")), clip.text());
}

TEST(Clipboard, PastingIntoAnotherTree) {
    SVGTree source;
    fillSource(source);
    SVGTree t;
    RecordingReporter log;
    t.setReporter(&log);
    t.GetPlaceKeys().Define("img", "mine/", "");

    QString set;
    auto f1 = t.UnpackFamily(source.Pack1Family(*source.GetFamilies().value("f1")), false, set);
    ASSERT_TRUE(f1);
    EXPECT_EQ(set, "ann,bob,cat,dan");
    EXPECT_TRUE(f1->GetLiaison());
    EXPECT_FALSE(f1->GetMoreChildren());
    EXPECT_EQ(f1->GetNotes(), QStringList({"fam note"}));
    EXPECT_EQ(t.ChildFamily("dan"), "f1");
    auto ann = t.GetPersons().value("ann");
    EXPECT_EQ(ann->GetNotes(), QStringList({"note 1", ""}));
    EXPECT_EQ(ann->GetTooltips(), QStringList({"tip"}));
    EXPECT_EQ(ann->GetProgData(), QStringList({"App | 1"}));
    EXPECT_TRUE(ann->GetTentative());
    EXPECT_EQ(ann->GetPersonalNames(), "Ann /Smith/|Annie");
    // A place key the tree defines keeps its own places.
    EXPECT_EQ(t.GetPlaceKeys().GetDict().value("img"), "mine/|");
    EXPECT_EQ(t.GetPlaceKeys().GetDict().value("other"), "o/|");
    EXPECT_TRUE(t.IsUnsaved());
    EXPECT_TRUE(t.HasPendingPFChange());

    // The same family again: the existing one, children added where missing.
    f1->RemChild(t.GetPersons().value("cat").get());
    log.entries.clear();
    auto again = t.UnpackFamily(source.Pack1Family(*source.GetFamilies().value("f1")), false, set);
    EXPECT_EQ(again, f1);
    EXPECT_EQ(set, "");
    EXPECT_EQ(f1->ChildCount(), 2);
    EXPECT_EQ(log.logLines(), QStringList({"Person ann already exists. No changes were made to it",
                                           "Person bob already exists. No changes were made to it",
                                           "Family f1 already exists. Properties not changed",
                                           "Person cat already exists. No changes were made to it",
                                           "Person dan already exists. No changes were made to it"}));

    // As new: fresh keys everywhere; the copied children already have a family.
    log.entries.clear();
    auto copy = t.UnpackFamily(source.Pack1Family(*source.GetFamilies().value("f1")), true, set);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetKey(), "f1-1");
    EXPECT_EQ(set, "ann-1,bob-1,cat-1,dan-1");
    EXPECT_EQ(copy->ChildCount(), 2);
    EXPECT_TRUE(log.warnings().isEmpty());
}

TEST(Clipboard, PersonsPastedWithExistingKeys) {
    SVGTree source;
    fillSource(source);
    SVGTree t;
    RecordingReporter log;
    t.setReporter(&log);
    addCouple(t);
    auto view = t.AddViewpoint("v", "V", 12, 8);
    const QString bob = source.Pack1Person(*source.GetPersons().value("bob"));
    QString key;
    EXPECT_EQ(t.Unpack1Person(bob, false, key), nullptr);
    EXPECT_EQ(key, "bob");
    EXPECT_EQ(log.logLines(), QStringList({"Person bob already exists. No changes were made to it"}));
    // In a viewpoint that does not show bob, the existing person comes back.
    t.SetViewpointKey("v");
    EXPECT_EQ(t.Unpack1Person(bob, false, key), t.GetPersons().value("bob"));
    view->AddPerRef("bob", 1, 1, true);
    EXPECT_EQ(t.Unpack1Person(bob, false, key), nullptr);
    t.SetViewpointKey("");

    t.NewPerson("bob-1", "B", "", 1, 1, "m", false, "", true);
    t.NewPerson("bob-2", "B", "", 1, 1, "m", false, "", true);
    QString third = bob;
    third.replace("\nbob\n", "\nbob-2\n");
    auto copy = t.Unpack1Person(third, true, key);
    ASSERT_TRUE(copy);
    EXPECT_EQ(key, "bob-3");

    // A person block on a family's key, a block with other attached lines.
    log.entries.clear();
    QString onFamily = bob;
    onFamily.replace("\nbob\n", "\nf1\n");
    EXPECT_EQ(t.Unpack1Person(onFamily, true, key), nullptr);
    EXPECT_EQ(key, "f1");
    EXPECT_EQ(log.warnings(), QStringList({"Person key f1 is already used for a family"}));
    auto odd = t.Unpack1Person("SVG-P\nodd\nOdd\n\n\n1\n1\nu\nFalse\n\n\r=n\r?skip\r-t", false, key);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->GetNotes(), QStringList({"n"}));
    EXPECT_EQ(odd->GetTooltips(), QStringList({"t"}));
    EXPECT_EQ(odd->GetShortText(), "Odd");
    EXPECT_EQ(t.Unpack1Person("SVG-P\nshort\n1\n1", false, key), nullptr);
    EXPECT_EQ(key, "");

    // Several persons; a wrong tag pastes nothing.
    const QString many = source.PackNPersons("ann,cat");
    EXPECT_EQ(t.UnpackNPersons(many, true), "ann-1,cat-1");
    EXPECT_EQ(t.GetPlaceKeys().GetDict().value("img"), "web/|C:\\p\\");
    EXPECT_EQ(t.UnpackNPersons("SVG-P\nx", false), "");
    EXPECT_EQ(t.UnpackNPersons("SVG-NP", false), "");
}

TEST(Clipboard, FamilyPastesThatCannotStand) {
    SVGTree source;
    fillSource(source);
    const QString family = source.Pack1Family(*source.GetFamilies().value("f1"));
    struct Case {
        const char* what;
        std::function<void(SVGTree&)> prepare;
        QString text;
        QStringList warnings;
    };
    QString sameParents = family;
    sameParents.replace("\v" + kBob, "\v" + kAnn);
    const std::vector<Case> cases = {
        {"same person twice", [](SVGTree&) {}, sameParents,
         {"Family f1 has the same person ann as both parents. No changes made"}},
        {"family key used by a person", [](SVGTree& t) { t.NewPerson("f1", "F", "", 1, 1, "u", false, "", true); },
         family, {"Family key f1 is already used for a person"}},
        {"other spouses", [](SVGTree& t) {
             addCouple(t);
             t.GetFamilies().value("f1")->RemAllChildren();
             t.RemFamily("f1");
             t.GetPersons().value("ann")->RemFamSet("f1");
             t.GetPersons().value("bob")->RemFamSet("f1");
             t.NewFamily("f1", "bob", "ann");
         },
         family, {"Family f1 already exists but with different spouses. No changes made"}},
        {"child of another family", [](SVGTree& t) {
             addCouple(t);
             t.NewPerson("x", "X", "", 1, 1, "u", false, "", true);
             t.NewPerson("y", "Y", "", 1, 1, "u", false, "", true);
             t.GetFamilies().value("f1")->RemAllChildren();
             t.NewFamily("g", "x", "y")->AddChild(t.GetPersons().value("dan"));
         },
         family, {"Child dan is already a child of family g. Relationship not changed"}},
        {"parent block on a family key", [](SVGTree& t) {
             t.NewPerson("p", "P", "", 1, 1, "u", false, "", true);
             t.NewPerson("q", "Q", "", 1, 1, "u", false, "", true);
             t.NewFamily("bob", "p", "q");
         },
         family, {"Person key bob is already used for a family"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SVGTree t;
        RecordingReporter log;
        t.setReporter(&log);
        c.prepare(t);
        QString set;
        const int families = t.GetFamilies().count();
        // Only the existing family whose child belongs elsewhere comes back (without that child).
        const bool pasted = QString(c.what) == "child of another family";
        const SVGFamilyPtr result = t.UnpackFamily(c.text, false, set);
        EXPECT_EQ(result != nullptr, pasted);
        EXPECT_EQ(log.warnings(), c.warnings);
        EXPECT_EQ(t.GetFamilies().count(), families);
        if (pasted) {
            EXPECT_EQ(result->ChildCount(), 1);
        }
        // No family ever names a person the tree does not hold.
        for (const auto& kv : t.GetFamilies()) {
            EXPECT_TRUE(t.GetPersons().contains(kv.second->GetFirstPar()->GetKey()));
            EXPECT_TRUE(t.GetPersons().contains(kv.second->GetSecPar()->GetKey()));
            EXPECT_NE(kv.second->GetFirstPar(), kv.second->GetSecPar());
        }
    }

    // Several families: the keys pasted and every person key created.
    SVGTree t;
    QString total = "stale";
    EXPECT_EQ(t.UnpackNFamilies(source.PackNFamilies("f1"), false, total), "f1");
    EXPECT_EQ(total, "ann,bob,cat,dan");
    EXPECT_EQ(t.UnpackNFamilies("SVG-F\n", false, total), "");
}
