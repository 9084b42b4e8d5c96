#include <gtest/gtest.h>

#include "DesignerFixture.h"
#include "FindPersonModel.h"

namespace {

struct FindPersonTest : ::testing::Test {
    DesignerTree t;
    FindPersonModel find;

    void named(const QString& key, const QString& text) {
        t.tree.NewPerson(key, text, text, 1, 1, "m", false, QString(), true);
    }
    // The texts of the rows shown.
    QStringList shown() {
        QStringList out;
        for (int r = 0; r < find.filter().rowCount(); ++r) out << find.filter().index(r, 0).data().toString();
        return out;
    }
};

TEST_F(FindPersonTest, NamesAndKeysMatchTheirPartialText) {
    named("JS1", "John Smith");
    named("SJ", "Smith John");
    named("JJ", "John Jones");
    named("J", "John");
    named("AB12", "");
    named("abc", "Ann  Brown");
    named("xab", "Jo");
    find.open(t.tree);
    EXPECT_EQ(shown(), (QStringList{"John Smith", "Smith John", "John Jones", "John", "(Unnamed Person)", "Ann  Brown", "Jo"}));

    struct Case {
        const char* partial;
        bool byKey;
        QStringList rows;
    };
    const Case cases[] = {
        {"jo sm", false, {"John Smith"}},
        {"JO", false, {"John Smith", "Smith John", "John Jones", "John", "Jo"}},
        {"jo jo", false, {"John Jones"}},
        {"smith", false, {"John Smith", "Smith John"}},
        {"ann  b", false, {"Ann  Brown"}},  // two blanks: an empty word matches any one word
        {"ann  br  x", false, {}},
        {"x", false, {}},
        {"ab", true, {"AB12", "abc"}},
        {"", true, {"JS1", "SJ", "JJ", "J", "AB12", "abc", "xab"}},
        {"", false, {"John Smith", "Smith John", "John Jones", "John", "(Unnamed Person)", "Ann  Brown", "Jo"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.partial);
        find.setByKey(c.byKey);
        find.setPartialName(c.partial);
        EXPECT_EQ(shown(), c.rows);
    }
}

TEST_F(FindPersonTest, PersonsOutsideTheViewpointAreMarkedAndPickedOnlyThroughItsMenu) {
    t.setting("Viewpoints", "True");
    for (const char* key : {"in", "out", "other"}) named(key, QString(key) + " Person");
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    SVGViewpointPtr w = t.tree.AddViewpoint("W", "Roots", 12, 8);
    v->AddPerRef("in", 1, 1, true);
    w->AddPerRef("out", 1, 1, true);
    w->AddPerRef("in", 1, 1, true);
    t.tree.SetViewpointKey("V");
    find.open(t.tree);
    EXPECT_EQ(find.newViewpoint(), "V");
    EXPECT_FALSE(find.list().isOutside(0));
    EXPECT_TRUE(find.filter().index(1, 0).data(FindPersonList::OutsideRole).toBool());

    // A left click on a red row picks nothing.
    EXPECT_FALSE(find.clickRow(1));
    EXPECT_EQ(find.chosenKey(), "");

    // Its right-click menu offers the full tree and the viewpoints that hold it.
    EXPECT_EQ(find.viewpointMenu(1), (QList<ViewpointMenuEntry>{{"", "(Full Tree)"}, {"W", "Roots"}}));
    find.chooseViewpoint(2);
    EXPECT_EQ(find.chosenKey(), "out");
    EXPECT_EQ(find.newViewpoint(), "W");
    EXPECT_EQ(find.viewpointMenu(0), (QList<ViewpointMenuEntry>{{"", "(Full Tree)"}, {"V", "Branch"}, {"W", "Roots"}}));
    find.chooseViewpoint(1);
    EXPECT_EQ(find.chosenKey(), "in");
    EXPECT_EQ(find.newViewpoint(), "");

    // The close box picks nothing, after a dismissed menu too.
    find.viewpointMenu(2);
    find.closeBox();
    EXPECT_EQ(find.chosenKey(), "");

    // The rows keep their persons while filtered.
    find.setPartialName("oth");
    ASSERT_EQ(shown(), QStringList{"other Person"});
    EXPECT_TRUE(find.viewpointMenu(0).size() == 1);
    EXPECT_FALSE(find.clickRow(0));
    find.setPartialName("in");
    EXPECT_TRUE(find.clickRow(0));
    EXPECT_EQ(find.chosenKey(), "in");
    EXPECT_EQ(find.viewpointMenu(5), QList<ViewpointMenuEntry>{});
}

}  // namespace
