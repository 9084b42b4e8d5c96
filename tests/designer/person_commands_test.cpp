#include <gtest/gtest.h>

#include "GestureFixture.h"
#include "foundation/TextHelpers.h"

namespace {
// Parents p1 (1,1) and p2 (2,1) of F1 with children c1 (1,2) and c2 (2,2);
// s (5,1) and t2 (6,1) on their own.
void family(GestureTree& t) {
    smallFamily(t);
    t.person("t2", "m", 6, 1);
}

// Right-clicks a box and picks a popup entry.
void choose(GestureTree& t, int col, int row, const QString& entry) {
    t.host.popupChoices.push_back(entry);
    t.click(t.inBox(col, row), Qt::RightButton);
}

void select(GestureTree& t, int col, int row) { t.click(t.inBox(col, row), Qt::LeftButton, Qt::ControlModifier); }
}  // namespace

TEST(PersonCommands, CreatePersonStandsInTheClickedCell) {
    GestureTree t;
    family(t);
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    v->AddPerRef("s", 5, 1, true);
    t.show("V");
    t.host.createBox = [](SVGTree& tree) {
        tree.NewPerson("n", "New", "New", 1, 1, "u", false, QString(), false);
        return QStringLiteral("n");
    };
    choose(t, 7, 4, "mnuCreatePerson");
    EXPECT_EQ(t.at("n"), (CellRef{t.cell(7, 4), 7, 4}));
    EXPECT_TRUE(v->PersonExists("n"));
    EXPECT_EQ(t.commands().boxTag(t.cell(7, 4)), "n");
    EXPECT_EQ(t.host.redraws.last().cells.value(t.cell(7, 4)), "n");
    EXPECT_EQ(t.events, (QStringList{"PFChange", "ViewpointPFChange V"}));
    EXPECT_EQ(t.model.currentCell, -1);

    // Cancelled: nothing on the grid.
    t.host.createBox = nullptr;
    t.host.redraws.clear();
    choose(t, 8, 4, "mnuCreatePerson");
    EXPECT_FALSE(t.model.occupancy().isOccupied(t.cell(8, 4)));
    EXPECT_TRUE(t.host.cellsRedrawn().isEmpty());
}

TEST(PersonCommands, EditPersonRendersTheFormerRootAndTheChildLine) {
    GestureTree t;
    family(t);
    t.tree.SetRootPerson(t.tree.GetPersons().value("p1"));
    t.show();
    t.host.editBox = [](SVGTree& tree, const QString& key) {
        tree.SetRootPerson(tree.GetPersons().value(key));
        tree.GetPersons().value(key)->SetTentative(true);
        return true;
    };
    choose(t, 1, 2, "mnuEditPerson");
    EXPECT_EQ(t.host.editorCalls, QStringList{"EditBox c1"});
    EXPECT_TRUE(t.host.cellsRedrawn().contains(t.cell(1, 1))) << "the former root loses its border";
    EXPECT_EQ(t.model.renderCell(t.cell(1, 1)).borderWidth, 1);
    EXPECT_TRUE(t.model.records().child(t.childRecord("c1")).bTentative);
    EXPECT_TRUE(t.host.childLinesRedrawn().contains(t.childRecord("c1")));
    EXPECT_EQ(t.events, QStringList{"PersonDetails c1"});

    // Cancelled: nothing raised, nothing redrawn but the selection.
    t.events.clear();
    t.host.editBox = nullptr;
    t.host.redraws.clear();
    choose(t, 5, 1, "mnuEditPerson");
    EXPECT_TRUE(t.events.isEmpty());
    EXPECT_TRUE(t.host.cellsRedrawn().isEmpty());
}

TEST(PersonCommands, DeleteAsksByKeyOrForTheSelection) {
    struct Case {
        const char* name;
        QList<std::pair<int, int>> selected;
        QString question;
        QStringList gone;
    } cases[] = {
        {"nothing selected", {}, "Are you sure you want to delete person s?", {"s"}},
        {"the clicked one selected", {{5, 1}}, "Are you sure you want to delete the selected persons?", {"s"}},
        {"two selected", {{5, 1}, {6, 1}}, "Are you sure you want to delete the selected persons?", {"s", "t2"}},
    };
    for (const Case& c : cases) {
        for (bool yes : {false, true}) {
            GestureTree t;
            family(t);
            t.show();
            for (auto [col, row] : c.selected) select(t, col, row);
            t.host.answers = {yes};
            choose(t, 5, 1, "mnuDeletePerson");
            EXPECT_EQ(t.host.questions, QStringList{c.question}) << c.name;
            for (const QString& k : c.gone) EXPECT_EQ(t.tree.GetPersons().contains(k), !yes) << c.name << k.toStdString();
            EXPECT_EQ(t.events, yes ? QStringList{"PFChange"} : QStringList()) << c.name;
            if (yes) {
                EXPECT_TRUE(t.model.selection().isEmpty()) << c.name;
            }
        }
    }
}

TEST(PersonCommands, DeleteRefusals) {
    // A parent cannot go: "family" for one, "families" for more.
    GestureTree t;
    family(t);
    t.DesignerTree::family("F2", "p1", "s");
    t.show();
    t.host.answers = {true};
    choose(t, 2, 1, "mnuDeletePerson");
    EXPECT_EQ(t.host.errors, QStringList{"Person p2 is still associated with family: F1"});
    t.host.answers = {true};
    choose(t, 1, 1, "mnuDeletePerson");
    EXPECT_EQ(t.host.errors.last(), "Person p1 is still associated with families: F1,F2");
    EXPECT_TRUE(t.tree.GetPersons().contains("p1"));

    // One person selected, another right-clicked: ambiguous, nothing asked or deleted.
    select(t, 6, 1);
    choose(t, 1, 2, "mnuDeletePerson");
    EXPECT_EQ(t.host.warnings, QStringList{"Ambiguity between selected person and current person"});
    EXPECT_EQ(t.host.questions.size(), 2);
    EXPECT_EQ(t.model.currentCell, t.cell(1, 2)) << "the current cell stays";
}

TEST(PersonCommands, DeletingPersonsOfASelectionStopsAtTheFirstParent) {
    GestureTree t;
    family(t);
    t.show();
    select(t, 5, 1);
    select(t, 1, 1);  // a parent
    select(t, 6, 1);
    t.host.answers = {true};
    choose(t, 5, 1, "mnuDeletePerson");
    EXPECT_FALSE(t.tree.GetPersons().contains("s")) << "deleted before the refusal";
    EXPECT_TRUE(t.tree.GetPersons().contains("p1"));
    EXPECT_TRUE(t.tree.GetPersons().contains("t2")) << "not reached";
    EXPECT_EQ(t.host.errors, QStringList{"Person p1 is still associated with family: F1"});
    EXPECT_EQ(t.events, QStringList{"PFChange"}) << "the deletion made before the error is announced";
}

TEST(PersonCommands, DeletingAChildLeavesEveryFamilyAndTheRoot) {
    GestureTree t;
    family(t);
    // G holds c1 as a child too, outside the viewpoint shown.
    t.person("g1", "m", 8, 1);
    t.person("g2", "f", 9, 1);
    t.DesignerTree::family("G", "g1", "g2", {"c1"});
    t.tree.SetRootPerson(t.tree.GetPersons().value("c1"));
    SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
    for (auto [k, col, row] : {std::tuple{"p1", 1, 1}, {"p2", 2, 1}, {"c1", 1, 2}, {"c2", 2, 2}}) v->AddPerRef(k, col, row, true);
    v->AddFamRef(*t.tree.GetFamilies().value("F1"));
    t.show("V");
    const int line = t.childRecord("c1");
    ASSERT_NE(line, 0);
    t.host.answers = {true};
    choose(t, 1, 2, "mnuDeletePerson");
    EXPECT_FALSE(t.tree.GetPersons().contains("c1"));
    EXPECT_FALSE(t.tree.GetFamilies().value("F1")->ChildExists("c1"));
    EXPECT_FALSE(t.tree.GetFamilies().value("G")->ChildExists("c1")) << "also the family not in view";
    EXPECT_FALSE(t.model.records().child(line).inUse());
    EXPECT_TRUE(t.host.childLinesRedrawn().contains(line));
    EXPECT_EQ(t.tree.GetRootPerson(), nullptr);
    EXPECT_EQ(t.events, (QStringList{"PFChange", "ViewpointPFChange V"}));
}

TEST(PersonCommands, DeletingOneOfTwoInACellShowsTheOther) {
    GestureTree t;
    family(t);
    t.person("x", "m", 5, 1);
    t.show();
    t.host.answers = {true};
    choose(t, 5, 1, "mnuDeletePerson");
    EXPECT_EQ(t.host.questions, QStringList{"Are you sure you want to delete person s?"});
    EXPECT_EQ(t.commands().boxTag(t.cell(5, 1)), "x");
    EXPECT_EQ(t.model.renderCell(t.cell(5, 1)).tag, "x");
}

TEST(PersonCommands, CopyPersonOrSelection) {
    GestureTree t;
    family(t);
    t.show();
    choose(t, 5, 1, "mnuCopyPerson");
    EXPECT_EQ(sFirstLine(t.host.clipboard), "SVG-P");
    EXPECT_EQ(t.host.clipboard, t.tree.Pack1Person(*t.tree.GetPersons().value("s")));

    select(t, 5, 1);
    choose(t, 5, 1, "mnuCopyPerson");
    EXPECT_EQ(t.host.clipboard, t.tree.PackNPersons("s")) << "one selected person: SVG-NP";
    EXPECT_TRUE(t.model.selection().isEmpty());

    select(t, 6, 1);
    select(t, 1, 2);
    choose(t, 6, 1, "mnuCopyPerson");
    EXPECT_EQ(t.host.clipboard, t.tree.PackNPersons("c1,t2")) << "in grid order";

    // One selected, another clicked: ambiguous, the clipboard stays.
    const int writes = t.host.clipboardWrites;
    select(t, 6, 1);
    choose(t, 5, 1, "mnuCopyPerson");
    EXPECT_EQ(t.host.warnings, QStringList{"Ambiguity between selected person and current person"});
    EXPECT_EQ(t.host.clipboardWrites, writes);
}

TEST(PersonCommands, UnlinkChild) {
    GestureTree t;
    family(t);
    t.show();
    const int line = t.childRecord("c2");
    choose(t, 2, 2, "mnuUnlinkChild");
    EXPECT_FALSE(t.tree.GetFamilies().value("F1")->ChildExists("c2"));
    EXPECT_FALSE(t.model.records().child(line).inUse());
    EXPECT_TRUE(t.tree.IsUnsaved());
    EXPECT_EQ(t.events, QStringList{"FamilyDetails F1"});

    t.model.currentCell = t.cell(5, 1);
    t.commands().mnuUnlinkChild_Click();
    EXPECT_EQ(t.host.warnings, QStringList{"Person s is not associated with a family"});
}
