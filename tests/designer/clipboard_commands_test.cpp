#include <QSignalSpy>

#include <gtest/gtest.h>

#include "AppError.h"
#include "DesignerFixture.h"
#include "GridClipboard.h"

namespace {

// Persons and families copied from another tree, as the clipboard carries them.
struct SourceTree {
    DesignerTree t;
    SourceTree() {
        for (const char* key : {"p1", "p2", "c1", "c2", "c3", "q1"}) t.person(key, "m", 1, 1);
        t.family("F1", "p1", "p2", {"c1", "c2", "c3"});
        t.family("F2", "q1", "p1", {});
    }
};

struct ClipboardTest : ::testing::Test {
    DesignerTree t;
    GridClipboard clip{t.model};
    SourceTree source;

    QPair<int, int> pos(const QString& key) const {
        int c = 0, r = 0;
        t.tree.GetPerColRow(key, c, r);
        return {c, r};
    }
    void at(int col, int row) { t.model.currentCell = t.cell(col, row); }
    // A viewpoint holding the persons at the positions given, shown by the model.
    SVGViewpointPtr view(const QList<std::tuple<QString, int, int>>& persons, const QStringList& families = {}) {
        t.setting("Viewpoints", "True");
        SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
        for (const auto& [key, c, r] : persons) v->AddPerRef(key, c, r, true);
        for (const QString& f : families) v->AddFamRef(*t.tree.GetFamilies().value(f));
        t.open("V");
        t.model.BuildFamilyRecords(true);
        return v;
    }
};

using P = QPair<int, int>;

TEST_F(ClipboardTest, PastedPersonsRunAlongTheRowAndWrap) {
    t.open();
    at(11, 3);
    clip.paste(source.t.tree.PackNPersons("p1,p2,c1"), false);
    EXPECT_EQ(pos("p1"), P(11, 3));
    EXPECT_EQ(pos("p2"), P(12, 3));
    EXPECT_EQ(pos("c1"), P(1, 3));
    EXPECT_EQ(t.model.occupancy().keyList(t.cell(1, 3)), "c1");
    EXPECT_EQ(clip.changes().cells.value(t.cell(12, 3)), "p2");
    EXPECT_EQ(t.model.currentCell, -1);
    EXPECT_FALSE(clip.changes().links);  // the whole tree: links are not rebuilt for persons

    // Vertically the row runs and wraps past the last row.
    DesignerTree v;
    v.setting("Horiz", "False");
    v.open();
    GridClipboard vclip(v.model);
    const int rows = v.model.geometry().rows;
    v.model.currentCell = v.cell(2, rows);
    vclip.paste(source.t.tree.PackNPersons("p1,p2"), true);
    int c = 0, r = 0;
    v.tree.GetPerColRow("p2", c, r);
    EXPECT_EQ(P(c, r), P(2, 1));
}

TEST_F(ClipboardTest, PastedFamilyPutsChildrenBelowTheParentsClampedAtColumnOne) {
    t.open();
    at(2, 3);
    clip.paste(source.t.tree.Pack1Family(*source.t.tree.GetFamilies().value("F1")), false);
    // n = 5: the children start at column 2 - (5 \ 2 - 1) = 1 of the next row.
    EXPECT_EQ(pos("p1"), P(2, 3));
    EXPECT_EQ(pos("p2"), P(3, 3));
    EXPECT_EQ(pos("c1"), P(1, 4));
    EXPECT_EQ(pos("c2"), P(2, 4));
    EXPECT_EQ(pos("c3"), P(3, 4));
    // On the whole tree no viewpoint gains a family; the links show the family.
    EXPECT_TRUE(clip.changes().links);
    EXPECT_EQ(t.model.records().familyCount(), 1);
    EXPECT_EQ(t.model.records().childCount(), 3);
    EXPECT_TRUE(t.tree.GetViewpoints().isEmpty());

    // A start further right is not clamped: column 5 - 1 = 4.
    DesignerTree u;
    u.open();
    GridClipboard uclip(u.model);
    u.model.currentCell = u.cell(5, 1);
    uclip.paste(source.t.tree.Pack1Family(*source.t.tree.GetFamilies().value("F1")), false);
    int c = 0, r = 0;
    u.tree.GetPerColRow("c1", c, r);
    EXPECT_EQ(P(c, r), P(4, 2));
}

TEST_F(ClipboardTest, PasteIntoAViewpointAddsTheFamilyAndMarksTheViewpointPending) {
    t.person("x", "m", 1, 1);
    view({{"x", 1, 1}});
    at(4, 2);
    t.tree.ClearPendingEvents();
    clip.paste(source.t.tree.Pack1Family(*source.t.tree.GetFamilies().value("F1")), true);
    const SVGViewpointPtr v = t.tree.GetViewpoint();
    EXPECT_EQ(v->GetFamKeys().count(), 1);
    EXPECT_TRUE(v->PersonExists("p1"));
    EXPECT_EQ(t.tree.GetPendingViewpoints(), "V");
    EXPECT_TRUE(t.tree.HasPendingPFChange());

    QSignalSpy pf(&t.tree, &SVGTree::PFChange), vpf(&t.tree, &SVGTree::ViewpointPFChange);
    t.tree.RaisePendingEvents();
    EXPECT_EQ(pf.count(), 1);
    ASSERT_EQ(vpf.count(), 1);
    EXPECT_EQ(vpf.at(0).at(0).toString(), "V");
}

TEST_F(ClipboardTest, PastedFamiliesFindTheSharedParentInEitherPlace) {
    t.open();
    at(5, 2);
    // F1 is p1 + p2, F2 is q1 + p1: p1 is F2's second parent, yet shared.
    clip.paste(source.t.tree.PackNFamilies("F1,F2"), false);
    EXPECT_EQ(pos("p1"), P(5, 2));
    EXPECT_EQ(pos("p2"), P(6, 2));
    EXPECT_EQ(pos("q1"), P(7, 2));
    // Three children and three parents: the children start under the shared parent.
    EXPECT_EQ(pos("c1"), P(5, 3));
    EXPECT_EQ(pos("c3"), P(7, 3));
    EXPECT_EQ(t.model.records().familyCount(), 2);
}

TEST_F(ClipboardTest, PasteOfOneExistingPersonOnTheWholeTreeOrAnotherTextDoesNothing) {
    t.person("p1", "m", 3, 3);
    t.open();
    at(1, 1);
    for (const QString& text : {source.t.tree.Pack1Person(*source.t.tree.GetPersons().value("p1")),
                                QStringLiteral("SVG-X\np1\n"), QStringLiteral("plain text"), QString()}) {
        clip.paste(text, false);
        at(1, 1);
        clip.include(text);
    }
    EXPECT_EQ(pos("p1"), P(3, 3));
    EXPECT_EQ(t.tree.GetPersons().count(), 1);
    EXPECT_FALSE(clip.changes().links);
}

TEST_F(ClipboardTest, IncludedPersonsSkipThoseAlreadyShownAndUnknownKeys) {
    for (const char* key : {"a", "b", "c"}) t.person(key, "f", 1, 1);
    view({{"b", 9, 7}});
    at(2, 2);
    clip.include(t.tree.PackKeys("SVG-KP", "a,b,ghost,c"));
    EXPECT_EQ(pos("a"), P(2, 2));
    EXPECT_EQ(pos("b"), P(9, 7));  // already shown: it neither moves nor uses a cell
    EXPECT_EQ(pos("c"), P(3, 2));
    EXPECT_FALSE(t.tree.GetViewpoint()->PersonExists("ghost"));
    EXPECT_EQ(t.reporter.warnings(), QList<QString>{GridClipboard::unknownPersonsWarning("ghost")});
    EXPECT_EQ(t.tree.GetPendingViewpoints(), "V");
    EXPECT_TRUE(clip.changes().links);
    EXPECT_EQ(clip.changes().cells.value(t.cell(3, 2)), "c");
}

TEST_F(ClipboardTest, IncludedFamiliesBringParentsAndWithKFTheChildren) {
    for (const char* key : {"p1", "p2", "c1", "c2", "q1"}) t.person(key, "m", 1, 1);
    t.family("F1", "p1", "p2", {"c1", "c2"});
    t.family("F2", "q1", "p1");
    t.family("F3", "c1", "c2");

    struct Case {
        const char* tag;
        QStringList in;  // persons expected in the viewpoint afterwards
    };
    for (const Case& c : {Case{"SVG-KF0", {"p1", "p2", "q1"}}, Case{"SVG-KF", {"p1", "p2", "q1", "c1", "c2"}}}) {
        SCOPED_TRACE(c.tag);
        if (t.tree.GetViewpoints().contains("V")) t.tree.DeleteViewpoint("V");
        view({});
        at(4, 3);
        t.reporter.entries.clear();
        clip.include(t.tree.PackKeys(c.tag, "F1,F2,Fx"));
        const SVGViewpointPtr v = t.tree.GetViewpoint();
        EXPECT_EQ(v->GetPerDict().keys(), c.in);
        EXPECT_EQ(v->GetFamSet(), "F1,F2");
        EXPECT_EQ(t.reporter.warnings(), QList<QString>{GridClipboard::unknownFamiliesWarning("Fx")});
        // p1, shared by both families, comes first at the current cell.
        EXPECT_EQ(pos("p1"), P(4, 3));
        EXPECT_EQ(pos("p2"), P(5, 3));
        EXPECT_EQ(pos("q1"), P(6, 3));
        if (QString(c.tag) == "SVG-KF") {
            // Two children of two families: (2 - 4) \ 2 = -1, one column right.
            EXPECT_EQ(pos("c1"), P(5, 4));
            EXPECT_EQ(pos("c2"), P(6, 4));
        }
    }
}

TEST_F(ClipboardTest, ExcludeFamilyThenIncludeGivesBackTheSameViewpoint) {
    for (const char* key : {"p1", "p2", "c1"}) t.person(key, "m", 1, 1);
    t.family("F1", "p1", "p2", {"c1"});
    const SVGViewpointPtr v = view({{"p1", 2, 2}, {"p2", 3, 2}, {"c1", 2, 3}}, {"F1"});
    const auto persons = v->GetPerDict().keys();
    t.model.currentFamily = t.model.records().familyIndex("F1");
    clip.excludeFamily();
    ASSERT_TRUE(clip.changes().clipboard.has_value());
    const QString text = *clip.changes().clipboard;
    EXPECT_EQ(text, "SVG-KF0\nF1\n");
    EXPECT_EQ(v->GetFamSet(), "");
    EXPECT_EQ(t.model.records().familyCount(), 0);
    EXPECT_EQ(t.model.currentFamily, -1);

    at(2, 2);
    clip.include(text);
    EXPECT_EQ(v->GetFamSet(), "F1");
    EXPECT_EQ(v->GetPerDict().keys(), persons);
    EXPECT_EQ(pos("p1"), P(2, 2));
    EXPECT_EQ(pos("p2"), P(3, 2));
    EXPECT_EQ(t.model.records().familyCount(), 1);
}

TEST_F(ClipboardTest, ExcludePersonsPutsOnlyTheExcludedOnTheClipboard) {
    for (const char* key : {"a", "p1", "p2", "b"}) t.person(key, "m", 1, 1);
    t.family("F1", "p1", "p2");
    const SVGViewpointPtr v = view({{"b", 5, 1}, {"p1", 2, 1}, {"p2", 3, 1}, {"a", 1, 1}}, {"F1"});
    // Selected in the order b, p1, a: b goes, p1 is refused and ends the command.
    for (const char* key : {"b", "p1", "a"}) t.model.SelectPerson(key);
    at(1, 1);
    try {
        clip.excludePersons();
        FAIL() << "no refusal";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, errorNumber(518));
        EXPECT_EQ(e.description, "Person p1 is still associated with family in this viewpoint: F1");
    }
    EXPECT_FALSE(v->PersonExists("b"));
    EXPECT_TRUE(v->PersonExists("p1"));
    EXPECT_TRUE(v->PersonExists("a"));
    EXPECT_EQ(clip.changes().clipboard.value_or("none"), "SVG-KP\nb\n");
    EXPECT_TRUE(t.model.selection().isEmpty());
    EXPECT_EQ(t.tree.GetPendingViewpoints(), "V");
    EXPECT_TRUE(clip.changes().links);

    // The key list brings b back to the cell it left.
    at(5, 1);
    clip.include(*clip.changes().clipboard);
    EXPECT_EQ(pos("b"), P(5, 1));
}

TEST_F(ClipboardTest, ExcludeWithoutSelectionTakesTheCurrentCellsPersonAndLeavesItsChildLine) {
    for (const char* key : {"p1", "p2", "c1"}) t.person(key, "m", 1, 1);
    t.family("F1", "p1", "p2", {"c1"});
    const SVGViewpointPtr v = view({{"p1", 2, 2}, {"p2", 3, 2}, {"c1", 2, 3}}, {"F1"});
    int iFamily = 0;
    const int child = t.model.iFindChild("c1", iFamily);
    ASSERT_GT(child, 0);
    at(2, 3);
    clip.excludePersons();
    EXPECT_FALSE(v->PersonExists("c1"));
    EXPECT_EQ(clip.changes().clipboard.value_or("none"), "SVG-KP\nc1\n");
    EXPECT_EQ(t.model.records().childCount(), 0);
    EXPECT_FALSE(t.model.occupancy().isOccupied(t.cell(2, 3)));
    EXPECT_EQ(t.model.currentCell, -1);

    // A single selected person elsewhere than the current cell is ambiguous.
    t.model.SelectPerson("p1");
    at(3, 2);
    clip.takeChanges();
    clip.excludePersons();
    EXPECT_EQ(t.reporter.warnings().last(), GridClipboard::ambiguityWarning());
    EXPECT_TRUE(v->PersonExists("p1"));
    EXPECT_FALSE(clip.changes().clipboard.has_value());
}

}  // namespace
