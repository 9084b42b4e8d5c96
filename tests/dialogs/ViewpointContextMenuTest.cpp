// The viewpoint manager's context-menu commands without the window: parents,
// membership and details texts, the key lists copied for the Tree Designer,
// the enabled states and the commands' errors.
#include <gtest/gtest.h>

#include "ViewpointFixture.h"

namespace {

using List = ViewpointManagerModel::List;

class ViewpointMenuTest : public ViewpointModelTest {
protected:
    static QString keyOf(const SVGBoxPtr& p) { return p ? p->GetKey() : QStringLiteral("-"); }
};

TEST_F(ViewpointMenuTest, FatherAndMother) {
    struct Case {
        const char* person;
        const char* father;
        const char* mother;
    } const cases[] = {
        {"jo", "gf", "gm"},  // a male first parent: father first, mother second
        {"ch", "yv", "zo"},  // a female first parent: the father is the second, the mother the other one
        {"lo", "-", "-"},    // no birth family
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyOf(model.oGetParent(box(c.person), true)), c.father) << c.person;
        EXPECT_EQ(keyOf(model.oGetParent(box(c.person), false)), c.mother) << c.person;
    }
    EXPECT_FALSE(model.oGetParent(nullptr, true));

    select(List::PersonList, "lo");
    ViewpointManagerModel::MenuState state = model.menuState(List::PersonList);
    EXPECT_FALSE(state.selectFather);
    EXPECT_FALSE(state.selectMother);
    select(List::PersonList, "jo");
    state = model.menuState(List::PersonList);
    EXPECT_TRUE(state.selectFather && state.selectMother);
    EXPECT_EQ(model.parentCaption(List::PersonList, true).value_or("-"), "George Senior Smith");
    EXPECT_EQ(model.parentCaption(List::PersonList, false).value_or("-"), "Grace Smith");

    // The spouse list's entries concern the spouse's parents.
    select(List::PersonList, "gm");
    select(List::SpouseList, "gf");
    EXPECT_FALSE(model.parentCaption(List::SpouseList, true).has_value());
    select(List::PersonList, "ma");
    select(List::SpouseList, "jo");
    EXPECT_EQ(model.parentCaption(List::SpouseList, false).value_or("-"), "Grace Smith");
}

TEST_F(ViewpointMenuTest, CaptionsOfPlaceholderEntriesAreNotSelectable) {
    select(List::PersonList, "jo");
    select(List::SpouseList, "ma");
    EXPECT_TRUE(model.menuState(List::SpouseList).selectCaption);
    EXPECT_EQ(model.entryCaption(List::SpouseList).value_or("-"), "Mary Jones");
    select(List::ChildList, "k2");
    EXPECT_EQ(model.list(List::ChildList).entry(model.selectedRow(List::ChildList)).caption,
              "(Unnamed Child)");
    EXPECT_FALSE(model.menuState(List::ChildList).selectCaption);
    EXPECT_FALSE(model.entryCaption(List::ChildList).has_value());
    select(List::ChildList, "k1");
    EXPECT_EQ(model.entryCaption(List::ChildList).value_or("-"), "Kid Smith");

    box("an")->SetText(QString());
    tree->RaisePersonDetails(QStringLiteral("an"));
    select(List::PersonList, "jo");
    select(List::SpouseList, "an");
    EXPECT_EQ(model.list(List::SpouseList).entry(1).caption, "(Unnamed Person)");
    EXPECT_FALSE(model.menuState(List::SpouseList).selectCaption);
}

TEST_F(ViewpointMenuTest, MembershipTexts) {
    tree->AddViewpoint(QStringLiteral("west"), QStringLiteral("West"), 12, 8)
        ->AddPerRef(QStringLiteral("gf"), 1, 1, true);
    struct Case {
        const char* person;
        const char* text;
    } const cases[] = {
        {"lo", "Person not present in any viewpoints"},
        {"an", "Person not present in any viewpoints"},  // nothing about its families
        {"so", "Person present in viewpoint 'South'"},
        {"gm", "Person present in viewpoint 'North'\nSpousal family f1 present in viewpoint 'North'"},
        {"gf",
         "Person present in viewpoints 'North', 'West'\nSpousal family f1 present in viewpoint 'North'"},
        {"jo",
         "Person present in viewpoints 'North', 'South'\nSpousal family f2 present in viewpoint 'South'\n"
         "Spousal family f3 not present in any viewpoints"},
    };
    for (const Case& c : cases) EXPECT_EQ(model.sGetMembershipText(*box(c.person)), c.text) << c.person;
    EXPECT_EQ(model.sViewpointNames(QStringLiteral("north,south")), "'North', 'South'");
}

TEST_F(ViewpointMenuTest, ShowDetailsTexts) {
    select(List::PersonList, "lo");
    EXPECT_EQ(model.detailsText(List::PersonList), "Lone Walker. Person not present in any viewpoints.");
    select(List::PersonList, "so");
    EXPECT_EQ(model.detailsText(List::PersonList), "Solo Dancer. Person present in viewpoint 'South'.");
    box("an")->SetTooltips({QStringLiteral("Seamstress")});
    tree->AddViewpoint(QStringLiteral("west"), QStringLiteral("West"), 12, 8)
        ->AddPerRef(QStringLiteral("an"), 1, 1, true);
    select(List::PersonList, "an");
    EXPECT_EQ(
        model.detailsText(List::PersonList),
        "Anne Brown. Seamstress. Person present in viewpoint 'West'. Spousal family f3 not present in any "
        "viewpoints.");

    // The spouse's tooltips, then the couple's family's, then the spouse's membership.
    select(List::PersonList, "ma");
    select(List::SpouseList, "jo");
    EXPECT_EQ(
        model.detailsText(List::SpouseList),
        "John Smith. Farmer. Born in York. Married 1850. Person present in viewpoints 'North', 'South'. "
        "Spousal family f2 present in viewpoint 'South'. Spousal family f3 not present in any viewpoints.");
    model.selectSpouse(0);
    select(List::ChildList, "k1");
    EXPECT_EQ(model.detailsText(List::ChildList), "Kid Smith. Person not present in any viewpoints.");
}

TEST_F(ViewpointMenuTest, CopiedKeyLists) {
    select(List::PersonList, "lo");
    EXPECT_EQ(model.copyPerson(), "SVG-KP\nlo\n");
    EXPECT_EQ(model.copyPersonAndAllSpouses(), "SVG-KP\nlo\n");
    select(List::PersonList, "jo");
    EXPECT_EQ(model.copyPersonAndAllSpouses(), "SVG-KF0\nf2\nf3\n");
    select(List::SpouseList, "an");
    EXPECT_EQ(model.copyPersonAndSpouse(), "SVG-KF0\nf3\n");
    select(List::SpouseList, "ma");
    EXPECT_EQ(model.copyPersonSpouseAndChildren(), "SVG-KF\nf2\n");
    select(List::ChildList, "k2");
    EXPECT_EQ(model.copyChild(), "SVG-KP\nk2\n");
}

TEST_F(ViewpointMenuTest, CommandsWithoutTheirPersonFail) {
    // Nothing selected.
    EXPECT_EQ(errorOf([&] { model.copyPerson(); }).number, errorNumber(ErrorOffset::InvalidKey));
    EXPECT_EQ(errorOf([&] { model.copyPersonAndSpouse(); }).description, "No person is selected");
    EXPECT_EQ(errorOf([&] { model.menuState(List::ChildList); }).description, "No child is selected");

    // A person who left the tree after the lists were filled.
    select(List::PersonList, "lo");
    tree->RemPerson(QStringLiteral("lo"));
    EXPECT_EQ(errorOf([&] { model.copyPerson(); }).description,
              "The person with key lo is no longer in the tree");
    EXPECT_EQ(errorOf([&] { model.detailsText(List::PersonList); }).description,
              "The person with key lo is no longer in the tree");
}

}  // namespace
