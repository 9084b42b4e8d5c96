#include <gtest/gtest.h>

#include "StringSets.h"

namespace {
struct SetCase {
    const char* a;
    const char* b;
    const char* sep;
    const char* expected;
};
}  // namespace

TEST(StringSets, UnionDifferenceIntersectionAndJoin) {
    const SetCase unions[] = {
        {"a,b", "b,c,a,d", ",", "a,b,c,d"},
        {"", "x,x", ",", "x"},
        {"a,a", "a", ",", "a,a"},   // sA's own duplicates stay
        {"a", "", ",", "a"},        // an empty list has no items
        {"", "", ",", ""},
        {"", ",x", ",", "x"},       // an empty item is dropped while nothing is in the result
        {"ab||c", "c||d||ab", "||", "ab||c||d"},
        {"Ab", "ab", ",", "Ab,ab"},  // case counts
    };
    for (const SetCase& c : unions) EXPECT_EQ(sSetUnion(c.a, c.b, c.sep), c.expected) << c.a << " + " << c.b;

    const SetCase differences[] = {
        {"a,b,a,c", "a", ",", "b,a,c"},  // one occurrence per item of sB
        {"a,b,a,c", "a,a", ",", "b,c"},
        {"a", "a", ",", ""},
        {"a", "a", "||", ""},
        {"a||b||c", "b", "||", "a||c"},
        {"a,b", "", ",", "a,b"},
        {"ab,b", "b", ",", "ab"},  // whole items only
    };
    for (const SetCase& c : differences) EXPECT_EQ(sSetDifference(c.a, c.b, c.sep), c.expected) << c.a << " - " << c.b;

    EXPECT_EQ(sSetIntersection("c,b,a", "a,c", ","), "c,a");
    EXPECT_EQ(sSetIntersection("a,b,a", "a", ","), "a");  // one duplicate goes with the double difference
    EXPECT_EQ(sSetIntersection("a,b", "", ","), "");

    EXPECT_EQ(sSetJoin("", "x", "|"), "x");
    EXPECT_EQ(sSetJoin("x", "x", "|"), "x|x");
    EXPECT_EQ(sSetJoin("x", "", "|"), "x");
    EXPECT_EQ(sSetJoin("", "", "|"), "");
}

TEST(StringSets, MembershipCountItemAndIndex) {
    EXPECT_FALSE(bSetMember("Ab,c", "ab", ","));
    EXPECT_FALSE(bSetMember("ab,c", "b", ","));
    EXPECT_TRUE(bSetMember("ab,c", "c", ","));
    EXPECT_TRUE(bSetMember("", "", ","));  // the empty list holds the empty item
    EXPECT_FALSE(bSetMember("", "x", ","));
    EXPECT_TRUE(bSetMember("a\r\nb", "b", "\r\n"));

    EXPECT_EQ(iSetCount("", ","), 0);
    EXPECT_EQ(iSetCount("a", ","), 1);
    EXPECT_EQ(iSetCount("a,,b", ","), 3);
    EXPECT_EQ(iSetCount("a||b||c", "||"), 3);
    EXPECT_EQ(iSetCount("a|||b", "||"), 2);  // separators counted without overlap

    EXPECT_EQ(sSetItem("a,b,c", 2, ","), "b");
    EXPECT_EQ(sSetItem("a,b,c", 4, ","), "");
    EXPECT_EQ(sSetItem("a,b,c", 0, ","), "");
    EXPECT_EQ(sSetItem("", 1, ","), "");
    EXPECT_EQ(sSetItem("x||y", 2, "||"), "y");

    EXPECT_EQ(iSetIndex("a,b,c", "a", ","), 1);
    EXPECT_EQ(iSetIndex("a,b,c", "c", ","), 3);
    EXPECT_EQ(iSetIndex("a,b,c", "d", ","), 0);
    EXPECT_EQ(iSetIndex("b,ab,b", "b", ","), 1);
    EXPECT_EQ(iSetIndex("x||yy||y", "y", "||"), 3);
    EXPECT_EQ(iSetIndex("", "a", ","), 0);
}

TEST(StringSets, EmptySeparatorTreatsTheListAsOneItem) {
    EXPECT_EQ(iSetCount("abc", ""), 1);
    EXPECT_EQ(sSetItem("abc", 1, ""), "abc");
    EXPECT_EQ(sSetUnion("abc", "d", ""), "abcd");
}
