#include <gtest/gtest.h>

#include <utility>

#include "KeySet.h"
#include "SVGTree.h"
#include "TreeFixture.h"

TEST(KeySetTest, OrderOfFirstAdditionSurvivesRemovals) {
    KeySet set = KeySet::fromText(",b,a,,c,a,");
    EXPECT_EQ(set.join(), "b,a,c");
    EXPECT_EQ(set.count(), 3);
    EXPECT_FALSE(set.add("a"));
    EXPECT_TRUE(set.add("A"));  // whole keys, case-sensitive
    EXPECT_TRUE(set.contains("A"));
    EXPECT_FALSE(set.contains("b,a"));
    EXPECT_TRUE(set.remove("b"));
    EXPECT_FALSE(set.remove("b"));
    EXPECT_EQ(set.join(u';'), "a;c;A");
    EXPECT_EQ(set.keys(), QStringList({"a", "c", "A"}));
    EXPECT_EQ(set.at(1), "c");
    EXPECT_TRUE(set.add("b"));  // back at the end
    EXPECT_EQ(set.join(), "a,c,A,b");

    // Equal sets hold the same keys in the same order.
    EXPECT_EQ(KeySet::fromText("x,y"), KeySet::fromText("x,,y,x"));
    EXPECT_FALSE(KeySet::fromText("x,y") == KeySet::fromText("y,x"));
    KeySet copy = set;
    copy.clear();
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(copy.join(), "");
    EXPECT_EQ(set.count(), 4);
}

// Every box is drawn at the place the tree holds for its key: its own in the
// full tree, the viewpoint's in a viewpoint, and once it has left the tree the
// place of whatever now has its key.
TEST(PersonPlaces, ABoxIsDrawnWhereTheTreeHoldsItsKey) {
    SVGTree tree;
    addCouple(tree);
    const SVGDisplay& d = *tree.GetDisplay();
    const SVGBoxPtr cat = tree.GetPersons().value("cat");
    auto at = [&](int c, int r) { return std::make_pair(d.GetX(c, r), d.GetY(c, r)); };
    auto place = [&] { return std::make_pair(cat->GetXL(), cat->GetYT()); };

    EXPECT_EQ(place(), at(1, 2));
    auto v = tree.AddViewpoint("v", "V", 12, 8);
    v->AddPerRef("cat", 4, 6, true);
    tree.SetViewpointKey("v");
    EXPECT_EQ(place(), at(4, 6));
    tree.SetViewpointKey("");
    EXPECT_EQ(place(), at(1, 2));

    tree.RemPerson("cat");
    EXPECT_EQ(place(), at(0, 0));
    tree.NewPerson("cat", "Cat Jones", "", 5, 3, "f", false, "", true);
    EXPECT_EQ(place(), at(5, 3));
    tree.GetPersons().value("cat")->SetNewPosn(7, 2, true);
    EXPECT_EQ(place(), at(7, 2));
}

// A child's family is the first family in the tree's order that lists it:
// removing a family keeps the order of the others, adding one (again under
// an old key, too) puts it last, whatever its key. Asked with a box, the
// answer is the one for the person the tree holds under the box's key.
TEST(ChildFamilyOrder, FollowsRemovalsAndAdditionsByKeyAndByBox) {
    SVGTree tree;
    addCouple(tree);
    for (const char* key : {"eve", "fay", "gil"}) tree.NewPerson(key, key, "", 3, 1, "m", false, "", true);
    const SVGBoxPtr cat = tree.GetPersons().value("cat");
    auto childFamily = [&] {
        const QString byKey = tree.ChildFamily("cat");
        EXPECT_EQ(tree.ChildFamily(*cat), byKey);
        return byKey;
    };
    auto addFamily = [&](const QString& key, const QString& p1, const QString& p2, const SVGBoxPtr& child) {
        tree.NewFamily(key, p1, p2)->AddChild(child);
    };

    EXPECT_EQ(childFamily(), "f1");
    const SVGFamilyPtr f2 = tree.NewFamily("f2", "eve", "fay");
    tree.RemFamily("f1");
    EXPECT_EQ(childFamily(), "");
    addFamily("f1", "dan", "eve", cat);  // the old key, now after f2
    EXPECT_EQ(childFamily(), "f1");
    f2->AddChild(cat);  // listed last, yet first in family order
    EXPECT_EQ(childFamily(), "f2");
    addFamily("f0", "fay", "gil", cat);
    EXPECT_EQ(childFamily(), "f2");
    tree.RemFamily("f2");
    EXPECT_EQ(childFamily(), "f1");
    tree.RemFamily("f1");
    EXPECT_EQ(childFamily(), "f0");

    // A family of another tree that lists the box does not count.
    SVGTree other;
    other.NewPerson("x", "X", "", 1, 1, "m", false, "", true);
    other.NewPerson("y", "Y", "", 2, 1, "f", false, "", true);
    other.NewFamily("a0", "x", "y")->AddChild(cat);
    EXPECT_EQ(childFamily(), "f0");

    // Once the box has left the tree, the person now under its key answers.
    tree.RemPerson("cat");
    EXPECT_EQ(childFamily(), "");
    tree.NewPerson("cat", "Cat Jones", "", 5, 3, "f", false, "", true);
    EXPECT_EQ(childFamily(), "");
    tree.NewFamily("f3", "ann", "gil")->AddChild(tree.GetPersons().value("cat"));
    EXPECT_EQ(childFamily(), "f3");
}

// Without a copy: the full tree answers with its own dictionaries, a
// viewpoint refills the caller's (whatever it held) as the copies are made.
TEST(ViewLookups, AnswerWithoutCopyingTheWholeTree) {
    SVGTree tree;
    addCouple(tree);
    tree.NewPerson("eve", "Eve", "", 3, 1, "f", false, "", true);
    tree.NewFamily("f2", "dan", "eve");
    PersonDict persons;
    FamilyDict families;
    EXPECT_EQ(&tree.GetViewPersons(persons), &tree.GetPersons());
    EXPECT_EQ(&tree.GetViewFamilies(families), &tree.GetFamilies());

    auto v = tree.AddViewpoint("v", "V", 12, 8);
    for (const char* key : {"eve", "dan", "ann", "gone"}) v->AddPerRef(key, 1, 1, true);
    v->AddFamRef(*tree.GetFamilies().value("f2"));
    tree.SetViewpointKey("v");
    persons.add("bob", tree.GetPersons().value("bob"));
    families.add("f1", tree.GetFamilies().value("f1"));
    const PersonDict& inView = tree.GetViewPersons(persons);
    EXPECT_EQ(&inView, &persons);
    EXPECT_EQ(inView.keys(), QStringList({"eve", "dan", "ann"}));
    EXPECT_TRUE(inView == tree.GetViewPersons());
    EXPECT_EQ(tree.GetViewFamilies(families).keys(), QStringList({"f2"}));
    EXPECT_TRUE(families == tree.GetViewFamilies());
}
