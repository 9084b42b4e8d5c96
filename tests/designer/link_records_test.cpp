#include <gtest/gtest.h>

#include "DesignerFixture.h"

namespace {
// Parents p1 (1,1) and p2 (2,1), children c1 (1,2) and c2 (2,2).
void couple(DesignerTree& t) {
    t.person("p1", "m", 1, 1);
    t.person("p2", "f", 2, 1);
    t.person("c1", "m", 1, 2);
    t.person("c2", "f", 2, 2, QString(), true);
    t.family("F1", "p1", "p2", {"c1", "c2"});
}
}  // namespace

TEST(LinkRecords, CirclePictureFromMoreChildrenLiaisonAndTheView) {
    struct Case { bool more, liaison, childOutside; QString picture; } cases[] = {
        {false, false, false, "Circle"}, {true, false, false, "CircleH"},    {false, true, false, "Circle-L"},
        {true, true, false, "CircleH-L"}, {false, false, true, "CircleH"},   {false, true, true, "CircleH-L"},
    };
    for (const Case& c : cases) {
        DesignerTree t;
        couple(t);
        SVGFamilyPtr f = t.tree.GetFamilies().value("F1");
        f->SetMoreChildren(c.more);
        f->SetLiaison(c.liaison);
        QString view;
        if (c.childOutside) {
            SVGViewpointPtr v = t.tree.AddViewpoint("V", "Branch", 12, 8);
            for (const char* k : {"p1", "p2", "c1"}) v->AddPerRef(k, 0, 0, true);
            v->SetPerColRow("p1", 1, 1, true);
            v->SetPerColRow("p2", 2, 1, true);
            v->SetPerColRow("c1", 1, 2, true);
            v->AddFamRef(*f);
            view = "V";
        }
        t.open(view);
        ASSERT_TRUE(t.model.BuildFamilyRecords(true));
        const int i = t.model.records().familyIndex("F1");
        ASSERT_EQ(i, 1);
        EXPECT_EQ(t.model.records().family(i).circlePicture(), c.picture) << c.more << c.liaison << c.childOutside;
        EXPECT_EQ(t.model.records().childCount(), c.childOutside ? 1 : 2);
    }
}

TEST(LinkRecords, EndpointsInBothOrientations) {
    // Box 80 x 80 and margins 50 at zoom 12: boxes are 960 twips, cells 1560.
    DesignerTree t;
    couple(t);
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    EXPECT_EQ(t.model.familyLine(1), QLineF(1560, 1080, 2160, 1080)) << "right edge to left edge";
    EXPECT_EQ(t.model.circleCentre(1), QPointF(1860, 1080));
    EXPECT_EQ(t.model.circleRect(1), QRectF(1710, 930, 300, 300));
    EXPECT_EQ(t.model.childLine(1), QLineF(1860, 1080, 1080, 2160)) << "to the child's top centre";
    EXPECT_TRUE(t.model.records().child(2).bTentative);

    DesignerTree v;
    v.setting("Horiz", "False");
    couple(v);  // stored positions: displayed exchanged
    v.open();
    ASSERT_TRUE(v.model.BuildFamilyRecords(true));
    const FamilyRecord& r = v.model.records().family(1);
    EXPECT_EQ(std::pair(r.LCR1.C, r.LCR1.R), std::pair(1, 1));
    EXPECT_EQ(std::pair(r.LCR2.C, r.LCR2.R), std::pair(1, 2));
    EXPECT_EQ(v.model.familyLine(1), QLineF(1080, 1560, 1080, 2160)) << "bottom of the upper box to top of the lower";
    EXPECT_EQ(v.model.childLine(1).p2(), QPointF(2160, 1080)) << "to the child's left middle";
}

TEST(LinkRecords, FirstParentIsTheOneFurtherLeftOrUp) {
    DesignerTree t;
    t.person("right", "m", 3, 1);
    t.person("left", "f", 1, 1);
    t.family("F1", "right", "left");
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    EXPECT_EQ(t.model.records().family(1).Key1, "left");
    EXPECT_EQ(t.model.records().family(1).LCR1, (CellRef{1, 1, 1}));
}

TEST(LinkRecords, CircleOfRelatedSpousesSitsBesideTheRightHandParent) {
    // b (1,1) married to a (3,1), who is also married to c (5,1): b's related
    // spouses are b, a and c.
    DesignerTree t;
    t.person("b", "f", 1, 1);
    t.person("a", "m", 3, 1);
    t.person("c", "f", 5, 1);
    t.family("F1", "a", "b");
    t.family("F2", "a", "c");
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    const int f1 = t.model.records().familyIndex("F1");
    EXPECT_TRUE(t.model.records().family(f1).bRelatedSpouses);
    // Half-way between a's left edge (3720) and the right edge of cell (2,1) (3120).
    EXPECT_EQ(t.model.circleCentre(f1), QPointF(3420, 1080));
    EXPECT_EQ(t.model.familyLine(f1).center(), QPointF(2640, 1080));
}

TEST(LinkRecords, CircleSizePerZoom) {
    DesignerTree t;
    couple(t);
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    for (auto [zoom, size] : {std::pair{8, 250.0}, {12, 300.0}, {20, 400.0}}) {
        t.model.geometry().zoom = zoom;
        EXPECT_DOUBLE_EQ(t.model.circleRect(1).width(), size) << zoom;
        EXPECT_EQ(t.model.circleRect(1).center(), t.model.familyLine(1).center()) << zoom;
    }
}

TEST(LinkRecords, HiddenLinksAreFramedAndNotHit) {
    DesignerTree t;
    couple(t);
    t.tree.GetFamilies().value("F1")->GetLocSettings().set("HideLinks", "True");
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    EXPECT_TRUE(t.model.records().family(1).bChildrenHidden);
    const QPointF onLine = t.model.childLine(1).pointAt(0.5);
    EXPECT_EQ(t.model.iChildLineAtPoint(onLine.x(), onLine.y(), 30), 0);
    t.model.records().setChildrenHidden(1, false);
    EXPECT_EQ(t.model.iChildLineAtPoint(onLine.x(), onLine.y(), 30), 1);
}

TEST(LinkRecords, BuildingAgainReusesIndicesWithoutDuplicates) {
    DesignerTree t;
    couple(t);
    t.person("q1", "m", 4, 1);
    t.person("q2", "f", 5, 1);
    t.family("F2", "q1", "q2");
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    LinkRecords& r = t.model.records();
    EXPECT_EQ(r.familyCount(), 2);
    EXPECT_EQ(r.childCount(), 2);
    EXPECT_EQ(r.familyUpperBound(), 2);
    EXPECT_EQ(r.familyIndex("F1"), 1);
    EXPECT_EQ(r.familyIndex("F2"), 2);
    EXPECT_EQ(r.childrenOfFamily(1), (QList<int>{1, 2}));

    // A freed record's index is the first one taken again.
    for (int child : r.childrenOfFamily(1)) r.freeChild(child);
    r.freeFamily(1);
    FamilyRecord again = FamilyRecord();
    again.LCR1 = {1, 1, 1};
    again.LCR2 = {2, 2, 1};
    again.Key = "F9";
    EXPECT_EQ(r.addFamily(again), 1);
    EXPECT_EQ(r.addFamily(again), 3);
    int family = -1;
    EXPECT_EQ(r.iFindChild("c1", family), 0);
    EXPECT_EQ(family, 0);
}

TEST(LinkRecords, FindChildAndMovedParents) {
    DesignerTree t;
    couple(t);
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    int family = -1;
    EXPECT_EQ(t.model.iFindChild("c2", family), 2);
    EXPECT_EQ(family, 1);
    EXPECT_EQ(t.model.iFindChild("C2", family), 0) << "keys are case-sensitive";

    EXPECT_EQ(t.model.RedrawPersonLinks("p2", t.cell(4, 1), 4, 1), QList<int>{1});
    EXPECT_EQ(t.model.records().family(1).LCR2, (CellRef{4, 4, 1}));
    EXPECT_EQ(t.model.familyLine(1).p2(), QPointF(5280, 1080));
    EXPECT_TRUE(t.model.RedrawPersonLinks("c1", 1, 1, 1).isEmpty()) << "only families of which it is a parent";
}

TEST(LinkRecords, TranspositionSwapsColumnAndRowAndReindexes) {
    DesignerTree t(6, 4);
    t.person("a", "m", 4, 2);
    t.person("b", "f", 5, 2);
    t.person("k", "m", 4, 3);
    t.family("F1", "a", "b", {"k"});
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    t.model.geometry().transposeSize();
    t.model.TransposeRecords();
    const FamilyRecord& r = t.model.records().family(1);
    EXPECT_EQ(r.LCR1, (CellRef{(4 - 1) * 4 + 2, 2, 4}));
    EXPECT_EQ(r.LCR2, (CellRef{(5 - 1) * 4 + 2, 2, 5}));
    EXPECT_EQ(t.model.records().child(1).LCR, (CellRef{(4 - 1) * 4 + 3, 3, 4}));
    t.model.geometry().transposeSize();
    t.model.TransposeRecords();
    EXPECT_EQ(t.model.records().family(1).LCR1, (CellRef{(2 - 1) * 6 + 4, 4, 2})) << "twice gives back the first";
}

TEST(LinkRecords, OverlappingCirclesFindTheLowerRecord) {
    DesignerTree t;
    t.person("a", "m", 1, 1);
    t.person("b", "f", 2, 1);
    t.family("F1", "a", "b");
    t.family("F2", "a", "b");
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    const QPointF c = t.model.circleCentre(2);
    EXPECT_EQ(t.model.iCircleAtPoint(c.x(), c.y()), 1);
    const QRectF rect = t.model.circleRect(1);
    EXPECT_EQ(t.model.iCircleAtPoint(rect.left(), rect.top()), 1) << "left and top edges inside";
    EXPECT_EQ(t.model.iCircleAtPoint(rect.right(), rect.center().y()), 0) << "right edge outside";
}

TEST(GridSelectionModel, ToggleSelectAndSortedOrder) {
    DesignerTree t(50, 8);
    t.person("x", "m", 40, 1);
    t.person("y", "f", 3, 5);
    t.person("z", "f", 33, 5);
    t.open();
    const int cellX = t.cell(40, 1);
    EXPECT_EQ(t.model.ToggleSelect("x"), cellX);
    EXPECT_TRUE(t.model.isCellMarked(cellX));
    EXPECT_EQ(t.model.ToggleSelect("x"), cellX);
    EXPECT_FALSE(t.model.isCellMarked(cellX));
    EXPECT_TRUE(t.model.selection().isEmpty()) << "toggling twice leaves it as it was";
    EXPECT_EQ(t.model.ToggleSelect(""), 0);
    EXPECT_EQ(t.model.ToggleSelect("nobody"), 0);
    EXPECT_EQ(t.model.SelectPerson("nobody"), 0);

    for (const char* k : {"x", "z", "y"}) t.model.SelectPerson(k);
    EXPECT_EQ(t.model.SelectPerson("x"), 0) << "already selected";
    EXPECT_EQ(t.model.sSortedSelection(), "y,z,x") << "by column, then row";
    t.setting("Horiz", "False");
    t.model.takeTree(&t.tree);
    t.model.readGridSize();
    // Displayed (1,40), (5,3) and (5,33): by row, then column.
    EXPECT_EQ(t.model.sSortedSelection(), "y,z,x") << "vertical: by displayed row, then column";
    const QList<int> cells = t.model.ClearSelection();
    EXPECT_EQ(cells.size(), 3);
    EXPECT_TRUE(t.model.selection().isEmpty());
}

TEST(GridDiagnostics, RecordsAreDumpedInFieldOrder) {
    DesignerTree t;
    couple(t);
    t.open();
    ASSERT_TRUE(t.model.BuildFamilyRecords(true));
    const QStringList lines = t.model.DiagDrawing();
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines.mid(0, 6),
              (QStringList{"atFamily(1):", "\tKey=F1", "\tLCR1=(1,1,1)", "\tLCR2=(2,2,1)", "\tKey1=p1, Key2=p2",
                           "\tbChildrenHidden=False, bMoreChildren=False, bMoreChildren2=False, bLiaison=False, "
                           "bRelatedSpouses=False"}));
    EXPECT_EQ(lines.mid(6, 3), (QStringList{"atChild(1):", "\tKey=c1, bTentative=False, LCR=(13,1,2)", "\tiFamily=1"}));
}
