#include <gtest/gtest.h>

#include "GestureFixture.h"
#include "foundation/TextHelpers.h"

namespace {
// Right-clicks the circle of F1 and picks a popup entry.
void choose(GestureTree& t, const QString& entry) {
    t.host.popupChoices.push_back(entry);
    t.click(t.onCircle("F1"), Qt::RightButton);
}
}  // namespace

TEST(FamilyCommands, EditFamilyChangesTheCircleAndTheEditedChildren) {
    struct Case {
        bool liaison, more;
        QString picture;
    } cases[] = {{true, true, "CircleH-L"}, {true, false, "Circle-L"}, {false, true, "CircleH"}, {false, false, "Circle"}};
    for (const Case& c : cases) {
        GestureTree t;
        smallFamily(t);
        t.tree.GetFamilies().value("F1")->SetLiaison(!c.liaison);
        t.show();
        t.host.editFamily = [&](SVGTree& tree, const QString& key, QString& children) {
            const SVGFamilyPtr f = tree.GetFamilies().value(key);
            f->SetLiaison(c.liaison);
            f->SetMoreChildren(c.more);
            tree.GetPersons().value("c2")->SetTentative(true);
            children = QStringLiteral("c2");
            return true;
        };
        choose(t, "mnuEditFamily");
        EXPECT_EQ(t.host.editorCalls, QStringList{"EditFamily F1"});
        EXPECT_EQ(t.model.records().family(1).circlePicture(), c.picture);
        EXPECT_TRUE(t.host.redraws.last().families.contains(1));
        EXPECT_TRUE(t.host.cellsRedrawn().contains(t.cell(2, 2)));
        EXPECT_TRUE(t.model.records().child(t.childRecord("c2")).bTentative);
        EXPECT_EQ(t.events, QStringList{"FamilyDetails F1"});
        EXPECT_EQ(t.model.currentFamily, -1);
    }

    // Cancelled: the circle stays, the children edited meanwhile are shown again.
    GestureTree t;
    smallFamily(t);
    t.show();
    t.host.editFamily = [](SVGTree& tree, const QString& key, QString& children) {
        tree.GetFamilies().value(key)->SetLiaison(true);
        children = QStringLiteral("c1");
        return false;
    };
    choose(t, "mnuEditFamily");
    EXPECT_EQ(t.model.records().family(1).circlePicture(), "Circle");
    EXPECT_TRUE(t.host.cellsRedrawn().contains(t.cell(1, 2)));
    EXPECT_TRUE(t.events.isEmpty());
}

TEST(FamilyCommands, DeleteFamilyAsksThenRemovesItEverywhere) {
    GestureTree t;
    smallFamily(t);
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    v->AddPerRef("p1", 1, 1, true);
    v->AddPerRef("p2", 2, 1, true);
    v->AddFamRef(*t.tree.GetFamilies().value("F1"));
    t.show();

    t.host.answers = {false};
    choose(t, "mnuDeleteFamily");
    EXPECT_EQ(t.host.questions, QStringList{"Are you sure you want to delete this family relationship?"});
    EXPECT_TRUE(t.tree.GetFamilies().contains("F1"));
    EXPECT_TRUE(t.model.records().family(1).inUse());
    EXPECT_TRUE(t.events.isEmpty());

    t.host.answers = {true};
    t.host.redraws.clear();
    QObject::connect(&t.tree, &SVGTree::PFChange,
                     [&] { EXPECT_TRUE(t.host.familiesRedrawn().contains(1)) << "raised after the redraw"; });
    choose(t, "mnuDeleteFamily");
    EXPECT_FALSE(t.tree.GetFamilies().contains("F1"));
    EXPECT_FALSE(v->FamilyExists("F1"));
    EXPECT_TRUE(t.tree.GetPersons().value("p1")->GetFamSet().isEmpty());
    EXPECT_TRUE(t.tree.ChildFamily("c1").isEmpty());
    EXPECT_EQ(t.model.records().familyCount(), 0);
    EXPECT_EQ(t.model.records().childCount(), 0);
    EXPECT_EQ(t.host.childLinesRedrawn(), (QSet<int>{1, 2})) << "the child lines go";
    EXPECT_EQ(t.model.occupancy().occupiedCount(), 5) << "its persons stay";
    EXPECT_EQ(t.events, (QStringList{"PFChange", "ViewpointPFChange V"}));
    EXPECT_EQ(t.model.currentFamily, -1);
}

TEST(FamilyCommands, DeleteFamilyChangesNothingWhenItCannotFinish) {
    GestureTree t;
    smallFamily(t);
    t.show();
    // A parent that no longer lists the family: the deletion would stop half-way.
    t.tree.GetPersons().value("p2")->RemFamSet("F1");
    t.host.answers = {true};
    choose(t, "mnuDeleteFamily");
    EXPECT_EQ(t.host.errors, QStringList{"Person p2 is not associated with family F1"});
    const SVGFamilyPtr f = t.tree.GetFamilies().value("F1");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->ChildCount(), 2);
    EXPECT_EQ(t.tree.GetPersons().value("p1")->GetFamSet(), "F1");
}

TEST(FamilyCommands, CopyFamilyThenThePersonPopupOffersPasteFamily) {
    GestureTree t;
    smallFamily(t);
    t.show();
    choose(t, "mnuCopyFamily");
    EXPECT_EQ(t.host.clipboard, t.tree.Pack1Family(*t.tree.GetFamilies().value("F1")));
    EXPECT_EQ(t.model.currentFamily, -1);
    t.click(t.inBox(5, 1), Qt::RightButton);
    const PopupMenuModel& menu = t.host.popups.last();
    EXPECT_EQ(*DesignerPopups::item(menu, "mnuPastePersonFamily"), (PopupItem{"mnuPastePersonFamily", "Paste Family", true}));
    EXPECT_EQ(*DesignerPopups::item(menu, "mnuPasteNewPersonFamily"),
              (PopupItem{"mnuPasteNewPersonFamily", "Paste New Family", true}));
}

TEST(FamilyCommands, ShowHideChildLinksTwiceLeavesThemAsTheyWere) {
    GestureTree t;
    smallFamily(t);
    t.show();
    t.tree.SetUnsaved(false);
    choose(t, "mnuShowHideChildLinks");
    EXPECT_TRUE(t.model.records().family(1).bChildrenHidden);
    EXPECT_EQ(t.host.childLinesRedrawn(), (QSet<int>{1, 2}));
    EXPECT_EQ(t.model.currentFamily, 1) << "the command keeps the current family";
    choose(t, "mnuShowHideChildLinks");
    EXPECT_FALSE(t.model.records().family(1).bChildrenHidden);
    EXPECT_FALSE(t.tree.IsUnsaved());
    EXPECT_FALSE(t.tree.GetFamilies().value("F1")->GetLocSettings().contains("HideLinks"));
}

TEST(FamilyCommands, ToggleChildSelectionsSkipsChildrenOutOfView) {
    GestureTree t;
    smallFamily(t);
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    for (auto [k, col, row] : {std::tuple{"p1", 1, 1}, {"p2", 2, 1}, {"c1", 1, 2}}) v->AddPerRef(k, col, row, true);
    v->AddFamRef(*t.tree.GetFamilies().value("F1"));
    t.show("V");
    choose(t, "mnuToggleChildSelect");
    EXPECT_EQ(t.model.selection().text(), "c1");
    EXPECT_EQ(t.tree.GetViewpointKey(), "V");
    EXPECT_EQ(t.model.currentFamily, -1);
    choose(t, "mnuToggleChildSelect");
    EXPECT_TRUE(t.model.selection().isEmpty());
}
