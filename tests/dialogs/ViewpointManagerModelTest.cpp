// The viewpoint manager without its window: the name search, allocation
// states and filters, the spouse and children lists, the refreshes on the
// tree's events, and adding, deleting and renaming viewpoints.
#include <gtest/gtest.h>

#include "ViewpointFixture.h"
#include "ViewpointNameIndex.h"

namespace {

using List = ViewpointManagerModel::List;

TEST(ViewpointNameSearch, PartialWordsBeginDistinctLaterWords) {
    struct Case {
        const char* partial;
        const char* text;
        bool matches;
    } const cases[] = {
        {"", "John Smith", true},
        {"", "", true},
        {"jo", "", false},
        {"jo sm", "John Smith", true},
        {"JO SM", "john smith", true},
        {"sm jo", "John Smith", false},            // reverse order fails
        {"j s", "Mary John Paul Smith Jr", true},  // words before, between and after
        {"mith", "John Smith", false},             // a part must begin the word
        {"jo jo", "John Smith", false},            // each part a word of its own
        {"jo jo", "John Joseph", true},
        {"jo ", "John", false},  // a trailing blank asks for one more word
        {"jo ", "John Smith", true},
        {"jo sm", "John  Smith", true},  // two blanks give an empty word between
        {"smith", "(1800-1870) Smith", true},
    };
    for (const Case& c : cases) {
        const QStringList partial = ViewpointNameIndex::partialWords(QString::fromUtf8(c.partial));
        EXPECT_EQ(ViewpointNameIndex::bMatchesPartName(partial, QString::fromUtf8(c.text)), c.matches)
            << c.partial << " / " << c.text;
    }
}

class ViewpointManagerTest : public ViewpointModelTest {
protected:
    QStringList persons() const { return captions(model.list(List::PersonList)); }
    int stateOf(const char* key) const { return model.iPersonDoneState(*box(key)); }
    void selectPerson(const char* key) { select(List::PersonList, key); }
};

TEST_F(ViewpointManagerTest, EmptySearchListsEveryPersonInTreeOrderWithItsState) {
    EXPECT_EQ(persons(), (QStringList{"George Senior Smith", "Grace Smith", "John Smith", "Mary Jones",
                                      "Anne Brown", "Kid Smith", "(Unnamed Person)", "Lone Walker",
                                      "Solo Dancer.", "Zoe Hart", "Yves Hart", "Chris Hart"}));
    // In no viewpoint; in one with a spousal family in none; done (also
    // without any spousal family).
    struct Case {
        const char* key;
        int state;
    } const cases[] = {{"lo", 0}, {"an", 0}, {"k1", 0}, {"jo", 1}, {"ma", 2}, {"gf", 2}, {"so", 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(stateOf(c.key), c.state) << c.key;
        EXPECT_EQ(model.list(List::PersonList).entry(rowOf(model, List::PersonList, c.key)).state, c.state)
            << c.key;
    }
    const ViewpointListEntry& k2 = model.list(List::PersonList).entry(6);
    EXPECT_EQ(k2.key, "k2");
    EXPECT_EQ(k2.tag, 6);
}

TEST_F(ViewpointManagerTest, CheckBoxesHideAllocatedPersons) {
    model.setHidePersonFamiliesDone(true);
    EXPECT_EQ(rowOf(model, List::PersonList, "ma"), -1);
    EXPECT_EQ(rowOf(model, List::PersonList, "so"), -1);
    EXPECT_GE(rowOf(model, List::PersonList, "jo"), 0);
    model.setHidePersonFamiliesDone(false);
    model.setHidePersonDone(true);
    EXPECT_EQ(persons(), (QStringList{"Anne Brown", "Kid Smith", "(Unnamed Person)", "Lone Walker",
                                      "Zoe Hart", "Yves Hart", "Chris Hart"}));
}

TEST_F(ViewpointManagerTest, WithoutViewpointsInUseNobodyIsAllocated) {
    tree->GetSettings().set(QStringLiteral("Viewpoints"), QStringLiteral("False"));
    tree->GetDisplay()->Init(tree->GetSettings());
    model.setHidePersonDone(true);
    model.setHidePersonFamiliesDone(true);
    EXPECT_EQ(model.list(List::PersonList).count(), 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(model.list(List::PersonList).entry(i).state, 0);
}

TEST_F(ViewpointManagerTest, SearchTextNarrowsThePersonListAndEmptiesTheOthers) {
    selectPerson("jo");
    ASSERT_EQ(model.list(List::SpouseList).count(), 2);
    model.setPartialName(QStringLiteral("har"));
    EXPECT_EQ(persons(), (QStringList{"Zoe Hart", "Yves Hart", "Chris Hart"}));
    EXPECT_EQ(model.list(List::SpouseList).count(), 0);
    EXPECT_EQ(model.selectedRow(List::PersonList), -1);
    model.setPartialName(QStringLiteral("smith geo"));
    EXPECT_TRUE(persons().isEmpty());
}

TEST_F(ViewpointManagerTest, SpousesPerFamilyAndChildrenOfTheChosenFamily) {
    selectPerson("jo");
    const ViewpointListModel& spouses = model.list(List::SpouseList);
    EXPECT_EQ(captions(spouses), (QStringList{"Mary Jones", "Anne Brown"}));
    EXPECT_EQ(spouses.entry(0).family, "f2");
    EXPECT_EQ(spouses.entry(0).tag, 3);
    EXPECT_EQ(spouses.entry(0).state, 2);
    model.selectSpouse(0);
    EXPECT_EQ(captions(model.list(List::ChildList)), (QStringList{"Kid Smith", "(Unnamed Child)"}));
    model.selectSpouse(1);
    EXPECT_EQ(model.list(List::ChildList).count(), 0);
    // The spouse's own side: the first parent lists the second.
    selectPerson("ma");
    EXPECT_EQ(captions(model.list(List::SpouseList)), QStringList{"John Smith"});
    EXPECT_EQ(model.list(List::ChildList).count(), 0);
}

TEST_F(ViewpointManagerTest, ACoupleWithTwoFamiliesKeepsEachFamilyOnItsEntry) {
    auto f5 = tree->NewFamily(QStringLiteral("f5"), QStringLiteral("ma"), QStringLiteral("jo"));
    f5->AddChild(tree->GetPersons().value(QStringLiteral("lo")));
    tree->SetPendingPFChange();
    tree->RaisePendingEvents();
    selectPerson("jo");
    const ViewpointListModel& spouses = model.list(List::SpouseList);
    ASSERT_EQ(captions(spouses), (QStringList{"Mary Jones", "Anne Brown", "Mary Jones"}));
    EXPECT_EQ(spouses.entry(2).family, "f5");
    model.selectSpouse(2);
    EXPECT_EQ(captions(model.list(List::ChildList)), QStringList{"Lone Walker"});
    EXPECT_EQ(model.copyPersonAndSpouse(), "SVG-KF0\nf5\n");
    model.selectSpouse(0);
    EXPECT_EQ(model.copyPersonSpouseAndChildren(), "SVG-KF\nf2\n");
}

TEST_F(ViewpointManagerTest, TreeEventsRefreshAndKeepTheSelectedPerson) {
    selectPerson("jo");
    model.selectSpouse(0);
    // A family joins a viewpoint: the states change, the person stays
    // selected with its spouses, the spouse selection is not kept.
    auto south = tree->GetViewpoints().value(QStringLiteral("south"));
    south->AddPerRef(QStringLiteral("an"), 2, 2, true);
    south->AddFamRef(*tree->GetFamilies().value(QStringLiteral("f3")));
    tree->RaiseViewpointPFChange(QStringLiteral("south"));
    const int jo = rowOf(model, List::PersonList, "jo");
    EXPECT_EQ(model.selectedRow(List::PersonList), jo);
    EXPECT_EQ(model.list(List::PersonList).entry(jo).state, 2);
    EXPECT_EQ(model.list(List::SpouseList).count(), 2);
    EXPECT_EQ(model.selectedRow(List::SpouseList), -1);
    EXPECT_EQ(model.list(List::ChildList).count(), 0);

    // Now allocated while a hiding box is checked: no longer listed, and the
    // dependent lists stay empty.
    model.setHidePersonFamiliesDone(true);
    EXPECT_EQ(rowOf(model, List::PersonList, "jo"), -1);
    EXPECT_EQ(model.selectedRow(List::PersonList), -1);
    EXPECT_EQ(model.list(List::SpouseList).count(), 0);
}

TEST_F(ViewpointManagerTest, NameChangesAndNewPersonsReachTheSearch) {
    tree->GetPersons().value(QStringLiteral("lo"))->SetText(QStringLiteral("Lonely Wanderer"));
    model.setPartialName(QStringLiteral("lonely"));
    EXPECT_TRUE(persons().isEmpty());  // the index waits for the event
    tree->RaisePersonDetails(QStringLiteral("lo"));
    EXPECT_EQ(persons(), QStringList{"Lonely Wanderer"});

    tree->NewPerson(QStringLiteral("nw"), QStringLiteral("Lonely Newcomer"), QString(), 1, 1,
                    QStringLiteral("f"), false, QString(), false);
    tree->RaisePendingEvents();
    EXPECT_EQ(persons(), (QStringList{"Lonely Wanderer", "Lonely Newcomer"}));
    tree->RemPerson(QStringLiteral("lo"));
    tree->RaisePendingEvents();
    EXPECT_EQ(persons(), QStringList{"Lonely Newcomer"});
    EXPECT_EQ(model.list(List::PersonList).entry(0).tag, 11);
    EXPECT_TRUE(reporter.entries.isEmpty());
}

TEST_F(ViewpointManagerTest, ViewpointDetails) {
    EXPECT_EQ(model.ShowViewpointDetails(QStringLiteral("north")).text,
              "Viewpoint north has 3 persons and 1 families");
    EXPECT_EQ(model.ShowViewpointDetails(QStringLiteral("north")).name, "North");
    EXPECT_EQ(model.currentKey(), "north");
    const auto none = model.ShowViewpointDetails(QString());
    EXPECT_EQ(none.text, "No viewpoint details");
    EXPECT_EQ(none.name, "");
    EXPECT_EQ(model.currentKey(), "");
    tree->AddViewpoint(QStringLiteral("empty"), QStringLiteral("Empty"), 12, 8);
    EXPECT_EQ(model.ShowViewpointDetails(QStringLiteral("empty")).text,
              "Viewpoint empty has 0 persons and 0 families");
}

TEST_F(ViewpointManagerTest, AddingChecksTheKey) {
    const QString rule = ViewpointManagerModel::kKeyRuleMessage;
    struct Case {
        const char* key;
        QString error;
    } const cases[] = {
        {"", rule},
        {"9lives", rule + "9lives"},
        {"two words", rule + "two words"},
        {"north", QStringLiteral("The specified viewpoint key name is already defined: north")},
    };
    for (const Case& c : cases) {
        const AppError e =
            errorOf([&] { model.AddViewpoint(QString::fromUtf8(c.key), QStringLiteral("X")); });
        EXPECT_EQ(e.description, c.error);
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::InvalidKey));
    }
    EXPECT_EQ(
        errorOf([&] { model.AddViewpoint(QString(), QString()); }).description,
        "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ");
    EXPECT_EQ(tree->GetViewpoints().count(), 2);
    EXPECT_FALSE(tree->IsUnsaved());

    // A case variant is another key; an empty name takes the key.
    EXPECT_EQ(model.AddViewpoint(QStringLiteral("North"), QString()), "North");
    EXPECT_EQ(model.AddViewpoint(QStringLiteral("east"), QStringLiteral("Eastern Branch")), "Eastern Branch");
    const auto east = tree->GetViewpoints().value(QStringLiteral("east"));
    ASSERT_TRUE(east);
    EXPECT_EQ(east->GetName(), "Eastern Branch");
    EXPECT_EQ(std::make_pair(east->GetCols(), east->GetRows()), std::make_pair(12, 8));
    EXPECT_EQ(model.viewpointKeys(), (QStringList{"north", "south", "North", "east"}));
}

TEST_F(ViewpointManagerTest, RenamingMovesTheKeyOrOnlyTheName) {
    model.ShowViewpointDetails(QStringLiteral("north"));
    EXPECT_EQ(
        errorOf([&] { model.RenameViewpoint(QStringLiteral("south"), QStringLiteral("N")); }).description,
        "The specified viewpoint key name is already defined: south");
    EXPECT_EQ(
        errorOf([&] { model.RenameViewpoint(QStringLiteral("no way"), QStringLiteral("N")); }).description,
        ViewpointManagerModel::kKeyRuleMessage + "no way");
    EXPECT_EQ(tree->GetViewpoints().value(QStringLiteral("north"))->GetName(), "North");

    EXPECT_FALSE(model.RenameViewpoint(QStringLiteral("north"), QStringLiteral("Northern")));
    EXPECT_EQ(model.viewpointKeys(), (QStringList{"north", "south"}));
    EXPECT_EQ(tree->GetViewpoints().value(QStringLiteral("north"))->GetName(), "Northern");

    EXPECT_TRUE(model.RenameViewpoint(QStringLiteral("nord"), QStringLiteral("Nord")));
    EXPECT_TRUE(tree->GetViewpoints().contains(QStringLiteral("nord")));
    EXPECT_FALSE(tree->GetViewpoints().contains(QStringLiteral("north")));

    model.ShowViewpointDetails(QString());
    EXPECT_FALSE(model.RenameViewpoint(QStringLiteral("west"), QStringLiteral("West")));
}

TEST_F(ViewpointManagerTest, DeletingAskByNameAndRefreshesOnTheEvent) {
    model.ShowViewpointDetails(QStringLiteral("south"));
    EXPECT_EQ(model.DeleteQuestion(), "Are you sure you want to delete viewpoint 'South'?");
    selectPerson("ma");
    EXPECT_EQ(model.list(List::PersonList).entry(model.selectedRow(List::PersonList)).state, 2);
    model.DeleteViewpoint();
    EXPECT_FALSE(tree->GetViewpoints().contains(QStringLiteral("south")));
    const int ma = model.selectedRow(List::PersonList);
    ASSERT_EQ(ma, rowOf(model, List::PersonList, "ma"));
    EXPECT_EQ(model.list(List::PersonList).entry(ma).state, 0);
}

TEST_F(ViewpointManagerTest, RebindingToAnotherTreeRefillsTheLists) {
    selectPerson("jo");
    model.ShowViewpointDetails(QStringLiteral("north"));
    EXPECT_FALSE(model.bind(tree));
    EXPECT_EQ(model.currentKey(), "north");
    auto other = std::make_shared<SVGTree>();
    other->NewPerson(QStringLiteral("x"), QStringLiteral("Xavier"), QString(), 1, 1, QStringLiteral("m"),
                     false, QString(), true);
    EXPECT_TRUE(model.bind(other));
    EXPECT_EQ(persons(), QStringList{"Xavier"});
    EXPECT_EQ(model.list(List::SpouseList).count(), 0);
    EXPECT_EQ(model.currentKey(), "");
    EXPECT_TRUE(model.viewpointKeys().isEmpty());
    // The old tree's events no longer reach the model.
    tree->SetPendingPFChange();
    tree->RaisePendingEvents();
    EXPECT_EQ(persons(), QStringList{"Xavier"});
}

}  // namespace
