#include <gtest/gtest.h>

#include "DesignerClipboardCommands.h"
#include "GestureFixture.h"

namespace {

// The popups' clipboard commands, run as the popups run them.
struct ClipboardPopupTest : ::testing::Test {
    GestureTree t;
    DesignerClipboardCommands clip{t.commands()};

    void SetUp() override {
        t.setting("Viewpoints", "True");
        for (const char* key : {"a", "p1", "p2", "b"}) t.person(key, "m", 1, 1);
        t.family("F1", "p1", "p2");
        SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
        v->AddPerRef("a", 1, 1, true);
        v->AddPerRef("p1", 2, 1, true);
        v->AddPerRef("p2", 3, 1, true);
        v->AddPerRef("b", 5, 1, true);
        v->AddFamRef(*t.tree.GetFamilies().value("F1"));
        t.show("V");
        t.tree.ClearPendingEvents();
    }
};

TEST_F(ClipboardPopupTest, PasteReadsTheClipboardAndRaisesThePendingEventsOnce) {
    DesignerTree source;
    source.person("n1", "f", 1, 1);
    source.person("n2", "m", 1, 1);
    source.family("N", "n1", "n2");
    t.host.clipboard = source.tree.Pack1Family(*source.tree.GetFamilies().value("N"));
    t.model.currentCell = t.cell(4, 3);
    t.commands().runPopupItem("mnuPasteNewPersonFamily");
    EXPECT_EQ(t.events, (QStringList{"PFChange", "ViewpointPFChange V"}));
    EXPECT_TRUE(t.tree.GetViewpoint()->FamilyExists("N"));
    EXPECT_EQ(t.model.currentCell, -1);
    ASSERT_FALSE(t.host.redraws.isEmpty());
    EXPECT_TRUE(t.host.redraws.last().links);
    EXPECT_TRUE(t.host.errors.isEmpty());
}

TEST_F(ClipboardPopupTest, AnExclusionRefusedHalfWayRaisesWhatItChangedAndLeavesItsKeys) {
    for (const char* key : {"b", "p1", "a"}) t.model.SelectPerson(key);
    t.model.currentCell = t.cell(1, 1);
    t.commands().runPopupItem("mnuExcludePersons");
    EXPECT_EQ(t.host.errors, QStringList{"Person p1 is still associated with family in this viewpoint: F1"});
    EXPECT_EQ(t.host.clipboard, "SVG-KP\nb\n");
    EXPECT_EQ(t.events, QStringList{"ViewpointPFChange V"});
    EXPECT_FALSE(t.tree.GetViewpoint()->PersonExists("b"));
    EXPECT_TRUE(t.tree.GetViewpoint()->PersonExists("a"));

    // Include takes b back where it was, through the same clipboard.
    t.events.clear();
    t.model.currentCell = t.cell(5, 1);
    t.commands().runPopupItem("mnuIncludePersonFamily");
    EXPECT_TRUE(t.tree.GetViewpoint()->PersonExists("b"));
    EXPECT_EQ(t.model.cellOfPerson("b").L, t.cell(5, 1));
    EXPECT_EQ(t.events, QStringList{"ViewpointPFChange V"});
}

TEST_F(ClipboardPopupTest, ExcludeFamilyLeavesItsKeyOnTheClipboard) {
    t.model.currentFamily = t.model.records().familyIndex("F1");
    t.commands().runPopupItem("mnuExcludeFamily");
    EXPECT_EQ(t.host.clipboard, "SVG-KF0\nF1\n");
    EXPECT_FALSE(t.tree.GetViewpoint()->FamilyExists("F1"));
    EXPECT_EQ(t.events, QStringList{"ViewpointPFChange V"});
    EXPECT_EQ(t.model.currentFamily, -1);
}

}  // namespace
