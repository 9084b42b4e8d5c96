#include <gtest/gtest.h>

#include "SVGTree.h"
#include "TreeFixture.h"

namespace {
const int kInvalid = kErrorBase + 515;
}

TEST(TreeKeys, PersonAndFamilyKeysShareOneSpaceAndFollowTheKeyRule) {
    SVGTree tree;
    addCouple(tree);
    tree.GetPlaceKeys().Define("pk", "web/", "C:\\pics\\");
    tree.AddViewpoint("vp", "View", 12, 8);

    struct Case {
        const char* what;
        std::function<void()> call;
        QString message;
    };
    const QString rule =
        "Key name can only contain alphanumerics, underscores, and hyphens (starting with an alphabetic): ";
    const std::vector<Case> cases = {
        {"blank person", [&] { tree.NewPerson("", "x", "", 1, 1, "m", false, "", true); },
         "Key name cannot be blank when adding new person"},
        {"digit first", [&] { tree.NewPerson("1a", "x", "", 1, 1, "m", false, "", true); }, rule + "1a"},
        {"blank inside", [&] { tree.NewPerson("a b", "x", "", 1, 1, "m", false, "", true); }, rule + "a b"},
        {"person twice", [&] { tree.NewPerson("ann", "x", "", 1, 1, "m", false, "", true); },
         "The specified key name is already in use for a different person: ann"},
        {"person on family key", [&] { tree.NewPerson("f1", "x", "", 1, 1, "m", false, "", true); },
         "The specified person key name is already in use for a family: f1"},
        {"blank family", [&] { tree.NewFamily("", "ann", "bob"); }, "Key name cannot be blank when adding new family"},
        {"bad family key", [&] { tree.NewFamily("_f", "ann", "bob"); }, rule + "_f"},
        {"family twice", [&] { tree.NewFamily("f1", "cat", "dan"); },
         "The specified key name is already in use for a different family: f1"},
        {"family on person key", [&] { tree.NewFamily("cat", "cat", "dan"); },
         "The specified family key name is already in use for a person: cat"},
        {"remove blank person", [&] { tree.RemPerson(""); }, "Key name cannot be blank when removing a person"},
        {"remove unknown person", [&] { tree.RemPerson("zed"); },
         "The specified key name is not in use for any person: zed"},
        {"remove blank family", [&] { tree.RemFamily(""); }, "Key name cannot be blank when removing a family"},
        {"remove unknown family", [&] { tree.RemFamily("ann"); },
         "The specified key name is not in use for any family: ann"},
        {"same person as both parents", [&] { tree.NewFamily("f2", "cat", "cat"); },
         "Person cat is already associated with family f2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int persons = tree.GetPersons().count(), families = tree.GetFamilies().count();
        tree.SetUnsaved(false);
        const AppError e = errorOf(c.call);
        EXPECT_EQ(e.number, kInvalid);
        EXPECT_EQ(e.description, c.message);
        // Nothing changes before an error.
        EXPECT_EQ(tree.GetPersons().count(), persons);
        EXPECT_EQ(tree.GetFamilies().count(), families);
        EXPECT_FALSE(tree.IsUnsaved());
    }
    EXPECT_EQ(tree.GetPersons().value("cat")->GetFamSet(), "");

    // Place keys, viewpoints and other letter cases do not block a person key.
    EXPECT_NO_THROW(tree.NewPerson("pk", "P", "", 1, 1, "u", false, "", true));
    EXPECT_NO_THROW(tree.NewPerson("vp", "V", "", 1, 1, "u", false, "", true));
    EXPECT_NO_THROW(tree.NewPerson("Ann", "A", "", 1, 1, "f", false, "", true));
}

TEST(TreeKeys, MakeUniqueKeyIsFreeInAllFourKinds) {
    SVGTree tree;
    tree.NewPerson("john", "John", "", 1, 1, "m", false, "", true);
    tree.NewPerson("john-1", "John", "", 1, 1, "m", false, "", true);
    tree.NewPerson("ann", "Ann", "", 1, 1, "f", false, "", true);
    tree.NewFamily("fam", "john", "ann");
    tree.GetPlaceKeys().Define("place", "u", "l");
    tree.AddViewpoint("view", "V", 12, 8);

    const std::vector<std::pair<QString, QString>> cases = {
        {"john-3", "john-2"}, {"john", "john-2"},   {"mary", "mary"},     {"mary-7", "mary"},
        {"", "key"},          {"fam", "fam-1"},     {"place-2", "place-1"}, {"view", "view-1"},
        {"anna-", "anna-"},   {"smith-a", "smith-a"}, {"-5", "key"},      {"John", "John"},
    };
    for (const auto& [base, expected] : cases) EXPECT_EQ(tree.MakeUniqueKey(base), expected) << base;

    tree.NewPerson("key", "K", "", 1, 1, "u", false, "", true);
    EXPECT_EQ(tree.MakeUniqueKey(""), "key-1");
    tree.NewPerson("anna-", "A", "", 1, 1, "u", false, "", true);
    EXPECT_EQ(tree.MakeUniqueKey("anna-"), "anna--1");
}
