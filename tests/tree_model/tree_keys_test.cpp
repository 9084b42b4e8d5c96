#include <gtest/gtest.h>

#include "SVGTree.h"
#include "TreeFixture.h"

TEST(TreeKeys, Smoke) {
    SVGTree tree;
    addCouple(tree);
    EXPECT_EQ(tree.ChildFamily("cat"), "f1");
}
