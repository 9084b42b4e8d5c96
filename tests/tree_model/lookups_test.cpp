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
