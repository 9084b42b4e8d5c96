#include <gtest/gtest.h>

#include "SVGTree.h"
#include "TreeFixture.h"

namespace {
const int kSyntax = kErrorBase + 514;
const int kInvalid = kErrorBase + 515;
const QString kClassMessage =
    "Class name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic), or \"?\" "
    "place-markers: ";
}  // namespace

TEST(Person, PositionsFollowTheOrientation) {
    SVGTree tree;
    tree.SetHoriz(false);
    auto p = tree.NewPerson("a", "A", "", 3, 5, "m", false, "", false);
    EXPECT_EQ(p->GetTreeCol(), 5);
    EXPECT_EQ(p->GetTreeRow(), 3);
    EXPECT_EQ(p->GetCol(), 3);
    EXPECT_EQ(p->GetRow(), 5);
    p->SetNewPosn(3, 5, true);
    EXPECT_EQ(p->GetTreeCol(), 3);
    EXPECT_EQ(p->GetTreeRow(), 5);
    EXPECT_EQ(p->GetCol(), 5);
    tree.SetHoriz(true);
    EXPECT_EQ(p->GetCol(), 3);
    // From a file the position is stored as written.
    auto q = tree.NewPerson("b", "B", "", 7, 2, "m", false, "", true);
    EXPECT_EQ(q->GetTreeCol(), 7);
    EXPECT_EQ(q->GetTreeRow(), 2);
}

TEST(Person, TextsAreTrimmedAndShortTextsDerived) {
    SVGTree tree;
    const std::vector<std::array<QString, 3>> cases = {
        // text, short text given, short text kept
        {"  John Henry Smith (1850-1920) ", "", "John H. Smith"},
        {"Ann de la Cruz", "", "Ann de la Cruz"},
        {"Mary  Anne Jones", "", "Mary  A. Jones"},
        {"Solo", "", "Solo"},
        {"John Henry Smith", " J. Smith ", "J. Smith"},
        {"", "", ""},
    };
    int n = 0;
    for (const auto& [text, given, expected] : cases) {
        auto p = tree.NewPerson("p" + QString::number(++n), text, given, 1, 1, "m", false, "", true);
        EXPECT_EQ(p->GetText(), text.trimmed());
        EXPECT_EQ(p->GetShortText(), expected) << text;
    }
    auto p = tree.GetPersons().value("p1");
    p->SetText("Line\\one");
    EXPECT_EQ(p->GetDisplayText(), "Lineone");
    p->SetShortText("a\\b");
    EXPECT_EQ(p->GetDisplayShortText(), "ab");
    p->CheckShortText();
    EXPECT_EQ(p->GetShortText(), "a\\b");
    p->SetPersonalNames("  A /B/ | C /D/  ");
    EXPECT_EQ(p->GetPersonalNames(), "A /B/ | C /D/");
}

TEST(Person, PersonalNameWrapsTheSurname) {
    SVGTree tree;
    const std::vector<std::pair<QString, QString>> cases = {
        {"John Henry Smith (1850-1920)", "John Henry /Smith/"},
        {"John\\Smith", "/JohnSmith/"},
        {"Jan /van Dijk/ (b. 1900)", "Jan /van Dijk/"},
        {"Single", "/Single/"},
        {"", ""},
    };
    int n = 0;
    for (const auto& [text, expected] : cases) {
        auto p = tree.NewPerson("p" + QString::number(++n), text, "", 1, 1, "m", false, "", true);
        EXPECT_EQ(p->CreatePersonalName(), expected) << text;
    }
}

TEST(Person, LinesAreCopiedInAndOut) {
    SVGTree tree;
    auto p = tree.NewPerson("a", "A", "", 1, 1, "m", false, "", true);
    p->AddNotes("n1");
    p->AddNotes("n2");
    p->AddTooltips("t");
    p->AddProgData("App | 1");
    QStringList notes = p->GetNotes();
    notes.append("changed");
    EXPECT_EQ(p->GetNotes(), QStringList({"n1", "n2"}));
    p->SetTooltips({});
    EXPECT_TRUE(p->GetTooltips().isEmpty());
    EXPECT_EQ(p->GetProgData(), QStringList({"App | 1"}));
}

TEST(LocalSettings, PersonAndFamilyRecords) {
    struct Case {
        bool family;
        QString record;
        int number;  // 0: accepted
        QString message;
        QString stored;  // name=value pairs kept, joined by ";"
    };
    const std::vector<Case> cases = {
        {false, "ButtonTR=True, TooltipTR = Info ", 0, "", "ButtonTR=True;TooltipTR=Info"},
        {false, "ButtonBL=1,ButtonBL=False", 0, "", "ButtonBL=False"},
        {false, "ClassPerson=a?|b??c", 0, "", "ClassPerson=a?|b??c"},
        {false, "ClassPersonNotes=ok|1x", kInvalid, kClassMessage + "1x", ""},
        {false, "ButtonTR=True,Foo=1", kInvalid, "Unknown local Person setting: Foo", "ButtonTR=True"},
        {false, "ButtonTR", kSyntax, "Syntax error: missing equals sign in setting: ButtonTR", ""},
        {false, "TooltipTL=a, ButtonTL", kSyntax, "Syntax error: missing equals sign in setting:  ButtonTL",
         "TooltipTL=a"},
        {false, "ButtonTL=yes", kInvalid, "Local setting ButtonTL must have a Boolean value", ""},
        {false, "HideLinks=True", kInvalid, "Unknown local Person setting: HideLinks", ""},
        {true, "HideLinks=True", 0, "", "HideLinks=True"},
        {true, "HideLinks=yes", kInvalid, "Local setting HideLinks must have a Boolean value", ""},
        {true, "ClassFamilyLines=x|?y", 0, "", "ClassFamilyLines=x|?y"},
        {true, "ClassFamily=-x", kInvalid, kClassMessage + "-x", ""},
        {true, "ClassPerson=a", kInvalid, "Unknown local Family setting: ClassPerson", ""},
        {true, "TooltipTR=a", kInvalid, "Unknown local Family setting: TooltipTR", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record.toStdString());
        SVGTree tree;
        addCouple(tree);
        StringDict* settings;
        std::function<void()> parse;
        if (c.family) {
            auto f = tree.GetFamilies().value("f1");
            settings = &f->GetLocSettings();
            parse = [f, &c] { f->InitSettings(c.record); };
        } else {
            auto p = tree.GetPersons().value("ann");
            settings = &p->GetLocSettings();
            parse = [p, &c] { p->InitSettings(c.record); };
        }
        if (c.number == 0) {
            EXPECT_NO_THROW(parse());
        } else {
            const AppError e = errorOf(parse);
            EXPECT_EQ(e.number, c.number);
            EXPECT_EQ(e.description, c.message);
            EXPECT_EQ(e.source, c.family ? "SVGFamily" : "SVGBox");
        }
        QStringList stored;
        for (const auto& kv : *settings) stored << kv.first + "=" + kv.second;
        EXPECT_EQ(stored.join(";"), c.stored);
    }
    SVGTree tree;
    addCouple(tree);
    auto p = tree.GetPersons().value("ann");
    p->InitSettings("TooltipTL=x");
    EXPECT_TRUE(p->LocSettingExists("TooltipTR,TooltipTL"));
    EXPECT_FALSE(p->LocSettingExists("TooltipTR,ButtonTL"));
}

TEST(Person, FamilyAndSpouseSets) {
    SVGTree tree;
    addCouple(tree);
    auto ann = tree.GetPersons().value("ann");
    AppError e = errorOf([&] { ann->AddFamSet("f1"); });
    EXPECT_EQ(e.number, kInvalid);
    EXPECT_EQ(e.description, "Person ann is already associated with family f1");
    e = errorOf([&] { ann->RemFamSet("f9"); });
    EXPECT_EQ(e.description, "Person ann is not associated with family f9");
    ann->AddFamSet("f2");
    ann->AddFamSet("f3");
    ann->RemFamSet("f2");
    EXPECT_EQ(ann->GetFamSet(), "f1,f3");

    ann->AddSpouseSet("bob");
    e = errorOf([&] { ann->AddSpouseSet("bob"); });
    EXPECT_EQ(e.description, "Spouse bob has already been drawn for person ann");
    ann->SetSpouseSet("");
    EXPECT_EQ(ann->GetSpouseSet(), "");
}

TEST(Person, RelatedSpousesFollowChainsOfFamilies) {
    SVGTree tree;
    for (const char* k : {"a", "b", "c", "d", "e"}) tree.NewPerson(k, k, "", 1, 1, "u", false, "", true);
    tree.NewFamily("f1", "b", "a");
    tree.NewFamily("f2", "b", "c");
    tree.NewFamily("f3", "d", "c");
    auto& persons = tree.GetPersons();
    EXPECT_EQ(persons.value("a")->GetRelatedSpouses(), "a,b,c,d");
    EXPECT_EQ(persons.value("e")->GetRelatedSpouses(), "e");
    // The whole group got the list computed for a.
    tree.NewFamily("f5", "d", "e");
    EXPECT_EQ(persons.value("d")->GetRelatedSpouses(), "a,b,c,d");
    persons.value("d")->ResetRelatedSpouses();
    EXPECT_EQ(persons.value("d")->GetRelatedSpouses(), "d,c,e,b,a");
    EXPECT_EQ(persons.value("a")->GetRelatedSpouses(), "d,c,e,b,a");
}

// The family set holds keys: they name whatever family the tree holds under
// them when asked, also after a family has left and its key come back.
TEST(Person, RelatedSpousesFollowTheKeysOfTheFamilySet) {
    SVGTree tree;
    for (const char* k : {"a", "b", "c", "d", "e"}) tree.NewPerson(k, k, "", 1, 1, "u", false, "", true);
    auto& persons = tree.GetPersons();
    auto related = [&](const char* key) {
        for (const auto& kv : persons) kv.second->ResetRelatedSpouses();
        return persons.value(key)->GetRelatedSpouses();
    };
    tree.NewFamily("f1", "a", "b");
    tree.RemFamily("f1");
    EXPECT_EQ(related("a"), "a");
    tree.NewFamily("f1", "c", "d");
    EXPECT_EQ(related("a"), "a,c,d");
    EXPECT_EQ(related("b"), "b,c,d");
    EXPECT_EQ(related("c"), "c,d");
    persons.value("e")->AddFamSet("f1");
    EXPECT_EQ(related("e"), "e,c,d");
}

// A long chain of couples: the group is listed outwards from the person asked.
TEST(Person, RelatedSpousesOfALargeGroup) {
    SVGTree tree;
    const int n = 41;
    for (int i = 0; i < n; ++i) tree.NewPerson(QStringLiteral("p%1").arg(i), "P", "", 1, 1, "u", false, "", true);
    for (int i = 0; i + 1 < n; ++i)
        tree.NewFamily(QStringLiteral("f%1").arg(i), QStringLiteral("p%1").arg(i), QStringLiteral("p%1").arg(i + 1));
    QStringList fromStart, fromMiddle{"p20"};
    for (int i = 0; i < n; ++i) fromStart << QStringLiteral("p%1").arg(i);
    for (int d = 1; d <= 20; ++d) fromMiddle << QStringLiteral("p%1").arg(20 - d) << QStringLiteral("p%1").arg(20 + d);
    auto& persons = tree.GetPersons();
    EXPECT_EQ(persons.value("p0")->GetRelatedSpouses(), fromStart.join(u','));
    EXPECT_EQ(persons.value("p40")->GetRelatedSpouses(), fromStart.join(u','));
    for (const auto& kv : persons) kv.second->ResetRelatedSpouses();
    EXPECT_EQ(persons.value("p20")->GetRelatedSpouses(), fromMiddle.join(u','));
}

TEST(Family, ChildrenKeepTheirOrderWhenOneLeaves) {
    SVGTree tree;
    for (const char* k : {"p", "q", "A", "B", "C", "D"}) tree.NewPerson(k, k, "", 1, 1, "u", false, "", true);
    auto f = tree.NewFamily("f", "p", "q");
    auto keys = [&] {
        QStringList out;
        for (const auto& c : f->GetChildren()) out << c->GetKey();
        return out.join("");
    };
    auto& persons = tree.GetPersons();
    EXPECT_FALSE(f->ChildExists("A"));
    for (const char* k : {"A", "B", "C", "D"}) f->AddChild(persons.value(k));
    f->RemChild(persons.value("B").get());
    EXPECT_EQ(keys(), "ADC");
    f->RemChild(persons.value("C").get());
    EXPECT_EQ(keys(), "AD");
    f->RemChild(persons.value("p").get());
    EXPECT_EQ(keys(), "AD");
    EXPECT_TRUE(f->ChildExists("D"));
    EXPECT_FALSE(f->ChildExists("d"));
    f->RemChild(persons.value("A").get());
    f->RemChild(persons.value("D").get());
    EXPECT_TRUE(f->GetChildren().isEmpty());
    EXPECT_EQ(f->GetFirstPar()->GetKey(), "p");
    EXPECT_EQ(f->GetSecPar()->GetKey(), "q");
}
