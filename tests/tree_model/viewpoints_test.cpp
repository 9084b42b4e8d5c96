#include <gtest/gtest.h>

#include <random>

#include "PointerList.h"
#include "SVGTree.h"
#include "TreeFixture.h"
#include "RecordingReporter.h"

TEST(Viewpoint, PackedPositions) {
    SVGViewpointClass v;
    v.SetPerColRow("a", 3, 5, true);
    int c = 0, r = 0;
    v.GetPerColRow("a", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(3, 5));
    v.GetPerColRow("a", c, r, false);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(5, 3));
    EXPECT_TRUE(v.AddPerRefFromFile("b", 2, 7));
    EXPECT_EQ(v.GetPerDict().value("b"), 7 * 16384 + 2);
    v.GetPerColRow("b", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(7, 2));
    for (int low : {8191, 8192, 16383}) {
        v.SetPerColRow("c", 9, low, true);
        v.GetPerColRow("c", c, r, true);
        EXPECT_EQ(std::make_pair(c, r), std::make_pair(9, low));
    }
    EXPECT_FALSE(v.AddPerRef("a", 1, 1, true));
    v.GetPerColRow("a", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(3, 5));
    EXPECT_TRUE(v.RemPerRef("a"));
    EXPECT_FALSE(v.RemPerRef("a"));
    EXPECT_EQ(v.GetCols(), 12);
    EXPECT_EQ(v.GetRows(), 8);
}

TEST(Viewpoint, FamiliesNeedBothParents) {
    SVGTree tree;
    addCouple(tree);
    auto v = tree.AddViewpoint("v", "V", 12, 8);
    auto f1 = tree.GetFamilies().value("f1");
    v->AddPerRef("ann", 1, 1, true);
    const AppError e = errorOf([&] { v->AddFamRef(*f1); });
    EXPECT_EQ(e.number, kErrorBase + 529);
    EXPECT_EQ(e.description, "Cannot add reference to family f1 to viewpoint v without both spouses");
    EXPECT_EQ(v->GetFamSet(), "");
    EXPECT_EQ(v->FamiliesShown(*tree.GetPersons().value("ann")), "");
    v->AddPerRef("bob", 2, 1, true);
    EXPECT_TRUE(v->AddFamRef(*f1));
    EXPECT_FALSE(v->AddFamRef(*f1));
    tree.NewPerson("eve", "Eve", "", 3, 1, "f", false, "", true);
    v->AddPerRef("eve", 3, 1, true);
    tree.NewFamily("f0", "bob", "eve");
    EXPECT_TRUE(v->AddFamRef(*tree.GetFamilies().value("f0")));
    EXPECT_EQ(v->GetFamSet(), "f1,f0");
    EXPECT_EQ(v->FamiliesShown(*tree.GetPersons().value("bob")), "f1,f0");
    EXPECT_TRUE(v->FamilyExists("f0"));
    EXPECT_FALSE(v->FamilyExists("f"));
    EXPECT_TRUE(v->RemFamRef("f1"));
    EXPECT_FALSE(v->RemFamRef("f1"));
    EXPECT_EQ(v->FamiliesShown(*tree.GetPersons().value("bob")), "f0");
}

TEST(Viewpoint, DuplicatingTheWholeTree) {
    SVGTree tree;
    addCouple(tree);
    tree.GetSettings().set("DesCols", "20");
    tree.GetSettings().set("DesRows", "9");
    tree.SetHoriz(false);
    auto v = tree.AddViewpoint("v", "V", 5, 5);
    v->AddPerRef("dan", 7, 7, true);
    tree.SetUnsaved();
    QStringList raised;
    QObject::connect(&tree, &SVGTree::ViewpointPFChange, [&](const QString& k) { raised << k; });
    v->DuplicateTree(tree);
    EXPECT_EQ(v->GetCols(), 20);
    EXPECT_EQ(v->GetRows(), 9);
    EXPECT_EQ(v->GetPerDict().keys(), QStringList({"dan", "ann", "bob", "cat"}));
    int c, r;
    v->GetPerColRow("dan", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 2));
    EXPECT_EQ(v->GetFamSet(), "f1");
    EXPECT_EQ(raised, QStringList({"v"}));
    EXPECT_TRUE(tree.IsUnsaved());
}

TEST(TreeViewpoints, MembershipAndCurrentView) {
    SVGTree tree;
    RecordingReporter log;
    tree.setReporter(&log);
    addCouple(tree);
    const SVGBox& cat = *tree.GetPersons().value("cat");
    EXPECT_EQ(tree.GetViewpointSet(), "");
    EXPECT_FALSE(tree.UsingViewpoints());
    auto v1 = tree.AddViewpoint("v1", "First", 12, 8);
    auto v2 = tree.AddViewpoint("v2", "Second", 6, 4);
    v2->AddPerRef("cat", 1, 1, true);
    v2->AddPerRef("ann", 1, 2, true);
    v2->AddPerRef("bob", 2, 2, true);
    v1->AddPerRef("cat", 1, 1, true);
    v2->AddFamRef(*tree.GetFamilies().value("f1"));
    EXPECT_TRUE(tree.UsingViewpoints());
    EXPECT_EQ(tree.GetViewpointSet(), "v1,v2");
    EXPECT_EQ(tree.GetPersonViewpoints(cat), "v1,v2");
    EXPECT_EQ(tree.GetPersonViewpoints(*tree.GetPersons().value("dan")), "");
    EXPECT_EQ(tree.GetFamilyViewpoints(*tree.GetFamilies().value("f1")), "v2");
    EXPECT_TRUE(tree.IsPersonInViewpoint(cat));
    EXPECT_TRUE(tree.IsFamilyInViewpoint("f1"));
    EXPECT_FALSE(tree.IsFamilyInViewpoint("f2"));

    tree.GetSettings().set("Viewpoints", "False");
    tree.GetDisplay()->Init(tree.GetSettings());
    EXPECT_FALSE(tree.UsingViewpoints());
    EXPECT_EQ(tree.GetPersonViewpoints(cat), "");
    EXPECT_FALSE(tree.IsPersonInViewpoint(cat));
    EXPECT_FALSE(tree.IsFamilyInViewpoint("f1"));

    EXPECT_EQ(tree.GetViewPersons().keys(), QStringList({"ann", "bob", "cat", "dan"}));
    tree.SetViewpointKey("v2");
    EXPECT_EQ(tree.GetViewpointKey(), "v2");
    EXPECT_EQ(tree.GetViewpointName(), "Second");
    EXPECT_EQ(tree.GetViewPersons().keys(), QStringList({"cat", "ann", "bob"}));
    EXPECT_EQ(tree.GetViewFamilies().keys(), QStringList({"f1"}));
    tree.SetViewpointKey("v2");
    tree.SetViewpointKey("");
    tree.SetViewpointKey("");
    EXPECT_EQ(tree.GetViewpoint(), nullptr);
    EXPECT_EQ(tree.GetViewFamilies().keys(), QStringList({"f1"}));
    EXPECT_EQ(log.logLines(), QStringList({"Using viewpoint Second", "Using full tree (no viewpoint)"}));

    // Removing a person or family takes it out of every viewpoint.
    tree.SetViewpointKey("v2");
    tree.DeleteViewpoint("v1");
    EXPECT_EQ(tree.GetViewpointKey(), "v2");
    tree.RemFamily("f1");
    EXPECT_EQ(v2->GetFamSet(), "");
    tree.RemPerson("cat");
    EXPECT_FALSE(v2->PersonExists("cat"));
    EXPECT_EQ(tree.GetPendingViewpoints(), "v2");
}

TEST(TreeViewpoints, GridSizesInBothOrientations) {
    SVGTree tree;
    int c = 0, r = 0;
    tree.GetFullGridColRow(c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(12, 8));
    tree.SetHoriz(false);
    EXPECT_EQ(tree.GetSettings().value("Horiz"), "False");
    tree.GetFullGridColRow(c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(8, 12));
    tree.GetFullGridColRow(c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(12, 8));

    c = 8, r = 12;
    tree.SetGridColRow(c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(12, 8));
    EXPECT_EQ(tree.GetSettings().value("DesCols"), "12");
    EXPECT_EQ(tree.GetSettings().value("DesRows"), "8");

    const std::vector<std::tuple<QString, QString, int, int>> values = {
        {"0", "8", 12, 8}, {"-3", "5", 12, 5}, {"20", "", 20, -1}, {" 7 ", "2.5", 7, 2}, {"3.5", "30", 4, 30},
    };
    tree.SetHoriz(true);
    for (const auto& [cols, rows, ec, er] : values) {
        tree.GetSettings().set("DesCols", cols);
        if (rows.isEmpty()) tree.GetSettings().remove("DesRows");
        else tree.GetSettings().set("DesRows", rows);
        tree.GetFullGridColRow(c, r);
        EXPECT_EQ(c, ec) << cols;
        EXPECT_EQ(r, er < 0 ? 8 : er) << rows;
    }
    tree.GetSettings().set("DesCols", "abc");
    EXPECT_EQ(errorOf([&] { tree.GetFullGridColRow(c, r); }).number, 13);
    tree.GetSettings().set("DesCols", "40000");
    EXPECT_EQ(errorOf([&] { tree.GetFullGridColRow(c, r); }).number, 6);
    tree.GetSettings().set("DesCols", "12");

    auto v = tree.AddViewpoint("v", "V", 6, 4);
    tree.SetViewpointKey("v");
    tree.SetHoriz(false);
    tree.GetGridColRow(c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(4, 6));
    tree.GetGridColRow(c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(6, 4));
    c = 3, r = 9;
    tree.SetGridColRow(c, r);
    EXPECT_EQ(v->GetCols(), 9);
    EXPECT_EQ(v->GetRows(), 3);
    EXPECT_EQ(tree.GetSettings().value("DesCols"), "12");
}

TEST(TreeViewpoints, PositionsFarEdgesAndRoot) {
    SVGTree tree;
    double right = 0, bottom = 0;
    tree.GetFarEdges(right, bottom);
    EXPECT_EQ(std::make_pair(right, bottom), std::make_pair(50.0, 50.0));

    addCouple(tree);  // ann (1,1), bob (2,1), cat (1,2), dan (2,2) as stored
    tree.GetFarEdges(right, bottom);
    // dan: column 2 on an even row of a stepped chart
    EXPECT_EQ(right, 2 * 50 + 80 + 65 + 80 + 50);
    EXPECT_EQ(bottom, 2 * 50 + 80 + 80 + 50);
    tree.SetHoriz(false);  // cells exchange: dan sits at column 2, row 2 still; bob at column 1, row 2
    int c, r;
    tree.GetPerColRow("bob", c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(1, 2));
    tree.GetFarEdges(right, bottom);
    EXPECT_EQ(right, 50 + 80 + 50 + 80 + 50);
    EXPECT_EQ(bottom, 50 + 80 + 50 + 80 + 65 + 50);

    // Moving a person in the full tree stores the display position swapped.
    c = 4, r = 3;
    tree.SetPerColRow("ann", c, r);
    EXPECT_EQ(tree.GetPersons().value("ann")->GetTreeCol(), 3);
    EXPECT_EQ(tree.GetPersons().value("ann")->GetTreeRow(), 4);

    // In a viewpoint: a new person joins it and, without a full-tree place,
    // gets one clipped to the full grid.
    tree.SetHoriz(true);
    auto v = tree.AddViewpoint("v", "V", 20, 20);
    tree.SetViewpointKey("v");
    auto eve = tree.NewPerson("eve", "Eve", "", 0, 0, "f", false, "", true);
    tree.ClearPendingEvents();
    c = 15, r = 3;
    tree.SetPerColRow("eve", c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(12, 3));
    v->GetPerColRow("eve", c, r, true);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(15, 3));
    EXPECT_EQ(eve->GetTreeCol(), 12);
    EXPECT_EQ(eve->GetTreeRow(), 3);
    EXPECT_EQ(tree.GetPendingViewpoints(), "v");
    tree.ClearPendingEvents();
    c = 5, r = 6;
    tree.SetPerColRow("eve", c, r);
    EXPECT_EQ(tree.GetPendingViewpoints(), "");
    EXPECT_EQ(eve->GetTreeCol(), 12);
    tree.GetPerColRow("eve", c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(5, 6));
    tree.GetFarEdges(right, bottom);
    // Row 6 is even: the stepped chart shifts it by half a cell.
    EXPECT_EQ(right, 5 * 50 + 4 * 80 + 65 + 80 + 50);
    EXPECT_EQ(bottom, 6 * 50 + 5 * 80 + 80 + 50 + 0);
    EXPECT_EQ(eve->GetXL(), 5 * 50 + 4 * 80 + 65);
    EXPECT_EQ(eve->GetXC(), 5 * 50 + 4 * 80 + 65 + 40);
    EXPECT_EQ(eve->GetYM(), 6 * 50 + 5 * 80 + 40);

    EXPECT_EQ(tree.GetRootPerson(), nullptr);
    tree.SetRootPerson(eve);
    EXPECT_EQ(tree.GetSettings().value("RootKey"), "eve");
    EXPECT_EQ(tree.GetRootPerson(), eve);
    tree.GetDisplay()->SetRootKey("nobody");
    EXPECT_EQ(tree.GetRootPerson(), nullptr);
    tree.SetRootPerson(nullptr);
    EXPECT_FALSE(tree.GetSettings().contains("RootKey"));
    EXPECT_EQ(tree.GetDisplay()->GetRootKey(), "");
    tree.SetStepped(false);
    EXPECT_EQ(tree.GetSettings().value("Stepped"), "False");
    EXPECT_FALSE(tree.GetDisplay()->GetStepped());
}

namespace {
// The viewpoints holding a key, asked of every viewpoint in the tree's order.
QString holdingByScan(const SVGTree& tree, const QString& key, bool family) {
    QStringList keys;
    for (const auto& kv : tree.GetViewpoints())
        if (family ? kv.second->FamilyExists(key) : kv.second->PersonExists(key)) keys << kv.first;
    return keys.join(u',');
}
}  // namespace

// Persons and families keep the list of viewpoints that hold them; after any
// sequence of changes, made through the tree or the viewpoints themselves
// (also viewpoints the tree has let go), it answers as asking every
// viewpoint would, in the tree's order of viewpoints.
TEST(TreeViewpoints, HeldViewpointsFollowEveryChange) {
    SVGTree tree;
    std::mt19937 random(20261210);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const QStringList personKeys = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7"};
    const QStringList familyKeys = {"f0", "f1", "f2", "f3"};
    const QStringList viewKeys = {"v0", "v1", "v2", "v3", "v4", "v5"};
    std::vector<SVGViewpointPtr> handedOut;
    std::vector<SVGBoxPtr> removed;  // persons the tree no longer holds, kept by the caller
    auto anyView = [&]() -> SVGViewpointPtr {
        if (!handedOut.empty() && pick(5) == 0) return handedOut[static_cast<std::size_t>(pick(int(handedOut.size())))];
        const auto& views = tree.GetViewpoints();
        return views.isEmpty() ? nullptr : views.valueAt(pick(views.count()));
    };
    for (const QString& key : personKeys.mid(0, 6)) tree.NewPerson(key, key, "", 1, 1, "u", false, "", true);
    for (int step = 0; step < 3000; ++step) {
        const QString person = personKeys[pick(personKeys.size())];
        const QString family = familyKeys[pick(familyKeys.size())];
        const QString view = viewKeys[pick(viewKeys.size())];
        const SVGViewpointPtr v = anyView();
        int col = 1 + pick(5), row = 1 + pick(5);
        try {
            switch (pick(14)) {
            case 0:
                if (!tree.GetViewpoints().contains(view)) handedOut.push_back(tree.AddViewpoint(view, view, 9, 9));
                break;
            case 1: tree.DeleteViewpoint(view); break;
            case 2:
                if (tree.GetViewpoints().contains(view))
                    tree.RenameViewpoint(view, viewKeys[pick(viewKeys.size())], "renamed");
                break;
            case 3:
            case 4:
                if (v) v->AddPerRef(person, col, row, true);
                break;
            case 5:
                if (v) v->RemPerRef(person);
                break;
            case 6:
                tree.SetViewpointKey(tree.GetViewpoints().contains(view) ? view : QString());
                tree.SetPerColRow(person, col, row);
                break;
            case 7:
                if (!tree.GetPersons().contains(person)) tree.NewPerson(person, person, "", 1, 1, "u", false, "", true);
                break;
            case 8:
                if (const SVGBoxPtr held = tree.GetPersons().value(person)) removed.push_back(held);
                tree.RemPerson(person);
                break;
            case 9: tree.NewFamily(family, person, personKeys[pick(personKeys.size())]); break;
            case 10: tree.RemFamily(family); break;
            case 11:
                if (v && tree.GetFamilies().contains(family)) v->AddFamRef(*tree.GetFamilies().value(family));
                break;
            case 12:
                if (v) v->RemFamRef(family);
                break;
            case 13:
                if (v && pick(10) == 0) v->DuplicateTree(tree);
                break;
            }
        } catch (const AppError&) {
            // Refused changes (unknown or clashing keys) change nothing.
        }
        for (const auto& kv : tree.GetPersons()) {
            ASSERT_EQ(tree.GetPersonViewpoints(*kv.second), holdingByScan(tree, kv.first, false))
                << "person " << kv.first << " after step " << step;
            ASSERT_EQ(tree.IsPersonInViewpoint(*kv.second), !holdingByScan(tree, kv.first, false).isEmpty());
        }
        for (const auto& kv : tree.GetFamilies())
            ASSERT_EQ(tree.GetFamilyViewpoints(*kv.second), holdingByScan(tree, kv.first, true))
                << "family " << kv.first << " after step " << step;
        if (!removed.empty()) {
            const SVGBox& gone = *removed[static_cast<std::size_t>(pick(int(removed.size())))];
            ASSERT_EQ(tree.GetPersonViewpoints(gone), holdingByScan(tree, gone.GetKey(), false))
                << "removed person " << gone.GetKey() << " after step " << step;
        }
    }
    // With viewpoints switched off in the display, nothing is held.
    ASSERT_FALSE(tree.GetViewpoints().isEmpty());
    tree.GetSettings().set("Viewpoints", "False");
    tree.GetDisplay()->Init(tree.GetSettings());
    for (const auto& kv : tree.GetPersons()) {
        EXPECT_EQ(tree.GetPersonViewpoints(*kv.second), "");
        EXPECT_FALSE(tree.IsPersonInViewpoint(*kv.second));
    }
    for (const auto& kv : tree.GetFamilies()) EXPECT_EQ(tree.GetFamilyViewpoints(*kv.second), "");
    // A viewpoint handed out may outlive its tree.
    auto owner = std::make_unique<SVGTree>();
    owner->NewPerson("ann", "Ann", "", 1, 1, "f", false, "", true);
    auto kept = owner->AddViewpoint("v", "V", 9, 9);
    kept->AddPerRef("ann", 1, 1, true);
    owner.reset();
    EXPECT_TRUE(kept->RemPerRef("ann"));
    EXPECT_TRUE(kept->AddPerRef("ann", 2, 2, true));
}

// Persons and families handed out may outlive their tree; a tree made later
// in the same memory does not take them for its own.
TEST(TreeViewpoints, RecordsOfAnEndedTreeAreNotTakenForANewOnes) {
    alignas(SVGTree) unsigned char storage[sizeof(SVGTree)];
    auto* first = new (storage) SVGTree;
    first->NewPerson("ann", "Ann", "", 1, 1, "f", false, "", true);
    first->NewPerson("bob", "Bob", "", 2, 1, "m", false, "", true);
    first->NewPerson("cat", "Cat", "", 2, 2, "f", false, "", true);
    const SVGBoxPtr ann = first->GetPersons().value("ann");
    const SVGBoxPtr cat = first->GetPersons().value("cat");
    const SVGFamilyPtr family = first->NewFamily("f", "ann", "bob");
    family->AddChild(cat);
    auto view = first->AddViewpoint("v", "V", 9, 9);
    view->AddPerRef("ann", 1, 1, true);
    view->AddPerRef("bob", 2, 1, true);
    view->AddFamRef(*family);
    view.reset();
    first->~SVGTree();
    auto* second = new (storage) SVGTree;
    second->AddViewpoint("w", "W", 9, 9);
    EXPECT_EQ(second->GetPersonViewpoints(*ann), "");
    EXPECT_FALSE(second->IsPersonInViewpoint(*ann));
    EXPECT_EQ(second->GetFamilyViewpoints(*family), "");
    EXPECT_EQ(second->ChildFamily(*cat), "");
    second->~SVGTree();
}

TEST(PointerListTest, KeepsOrderInPlaceAndOnTheHeap) {
    int cells[7] = {};
    PointerList<const int*> list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.removeOne(&cells[0]));
    for (const int& cell : cells) list.append(&cell);
    auto contents = [](const PointerList<const int*>& l) {
        std::vector<const int*> out(l.begin(), l.end());
        return out;
    };
    EXPECT_EQ(list.size(), 7);
    EXPECT_TRUE(list.removeOne(&cells[3]));
    EXPECT_FALSE(list.contains(&cells[3]));
    EXPECT_EQ(contents(list), (std::vector<const int*>{&cells[0], &cells[1], &cells[2], &cells[4], &cells[5], &cells[6]}));
    PointerList<const int*> copy(list);
    PointerList<const int*> moved(std::move(list));
    EXPECT_EQ(contents(copy), contents(moved));
    EXPECT_TRUE(list.isEmpty());  // NOLINT: a moved-from list is empty and usable
    list.append(&cells[1]);
    EXPECT_EQ(list.front(), &cells[1]);
    copy = list;
    copy = copy;
    EXPECT_EQ(contents(copy), std::vector<const int*>{&cells[1]});
    moved = std::move(copy);
    EXPECT_EQ(contents(moved), std::vector<const int*>{&cells[1]});
    EXPECT_TRUE(moved.removeOne(&cells[1]));
    EXPECT_TRUE(moved.isEmpty());
}
