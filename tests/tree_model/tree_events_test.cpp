#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "SVGTree.h"
#include "TreeFixture.h"

namespace {
// Every event of a tree in the order raised, as "Event(args)".
struct EventLog : QObject {
    QStringList events;
    explicit EventLog(SVGTree& tree) {
        connect(&tree, &SVGTree::PFChange, this, [this] { events << "PFChange()"; });
        connect(&tree, &SVGTree::ViewpointPFChange, this, [this](const QString& k) { events << "ViewpointPFChange(" + k + ")"; });
        connect(&tree, &SVGTree::ViewpointDeleted, this, [this](const QString& k) { events << "ViewpointDeleted(" + k + ")"; });
        connect(&tree, &SVGTree::ViewpointRenamed, this,
                [this](const QString& k, const QString& n) { events << "ViewpointRenamed(" + k + "," + n + ")"; });
        connect(&tree, &SVGTree::PersonDetails, this, [this](const QString& k) { events << "PersonDetails(" + k + ")"; });
        connect(&tree, &SVGTree::FamilyDetails, this, [this](const QString& k) { events << "FamilyDetails(" + k + ")"; });
    }
};
}  // namespace

TEST(TreeEvents, ChangesAreDeferredUntilRaisedOnce) {
    SVGTree tree;
    addCouple(tree);
    auto v1 = tree.AddViewpoint("v1", "One", 12, 8);
    auto v2 = tree.AddViewpoint("v2", "Two", 12, 8);
    auto v3 = tree.AddViewpoint("v3", "Three", 12, 8);
    v2->AddPerRef("cat", 1, 1, true);
    v1->AddPerRef("cat", 2, 1, true);
    v3->AddPerRef("dan", 2, 1, true);
    tree.ClearPendingEvents();
    EventLog log(tree);

    tree.GetFamilies().value("f1")->RemChild(tree.GetPersons().value("cat").get());
    tree.RemPerson("cat");
    EXPECT_TRUE(log.events.isEmpty());
    tree.NewPerson("eve", "Eve", "", 3, 3, "f", false, "", true);
    tree.RaisePendingEvents();
    EXPECT_EQ(log.events, QStringList({"PFChange()", "ViewpointPFChange(v1)", "ViewpointPFChange(v2)"}));

    log.events.clear();
    tree.RaisePendingEvents();
    EXPECT_TRUE(log.events.isEmpty());

    // ClearPendingEvents forgets what was collected.
    tree.NewPerson("fay", "Fay", "", 3, 3, "f", false, "", true);
    tree.SetPendingViewpointPFChange("v3");
    tree.ClearPendingEvents();
    tree.RaisePendingEvents();
    EXPECT_TRUE(log.events.isEmpty());
}

TEST(TreeEvents, ChangesMadeByListenersAreRaisedNextTime) {
    SVGTree tree;
    addCouple(tree);
    tree.AddViewpoint("v1", "One", 12, 8);
    tree.ClearPendingEvents();
    EventLog log(tree);
    bool once = true;
    QObject::connect(&tree, &SVGTree::PFChange, &log, [&] {
        if (!once) return;
        once = false;
        tree.NewPerson("gus", "Gus", "", 1, 1, "m", false, "", true);
        tree.SetPendingViewpointPFChange("v1");
    });
    tree.SetPendingPFChange();
    tree.SetPendingViewpointPFChange("v1");
    tree.SetPendingViewpointPFChange("v1");
    tree.RaisePendingEvents();
    EXPECT_EQ(log.events, QStringList({"PFChange()", "ViewpointPFChange(v1)"}));
    // The listener's viewpoint key joined the set still to be raised; its new
    // person waits for the next round.
    log.events.clear();
    tree.RaisePendingEvents();
    EXPECT_EQ(log.events, QStringList({"PFChange()"}));
}

TEST(TreeEvents, ImmediateEventsAndTheUnsavedFlag) {
    SVGTree tree;
    EventLog log(tree);
    QSignalSpy spy(&tree, &SVGTree::PersonDetails);
    EXPECT_FALSE(tree.IsUnsaved());

    // Each change below sets the unsaved flag; the flag is cleared between them.
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"NewPerson", [&] { addCouple(tree); }},
        {"RemFamily", [&] { tree.RemFamily("f1"); }},
        {"NewFamily", [&] { tree.NewFamily("f2", "cat", "dan"); }},
        {"RemPerson", [&] { tree.RemPerson("ann"); }},
        {"AddViewpoint", [&] { tree.AddViewpoint("v", "V", 12, 8); }},
        {"RenameViewpoint", [&] { tree.RenameViewpoint("v", "w", "W"); }},
        {"DeleteViewpoint", [&] { tree.DeleteViewpoint("w"); }},
        {"SetPendingViewpointPFChange", [&] { tree.SetPendingViewpointPFChange("x"); }},
        {"RaisePersonDetails", [&] { tree.RaisePersonDetails("bob"); }},
        {"RaiseFamilyDetails", [&] { tree.RaiseFamilyDetails("f2"); }},
        {"RaiseViewpointPFChange", [&] { tree.RaiseViewpointPFChange("v9"); }},
    };
    for (const auto& [what, change] : changes) {
        tree.SetUnsaved();
        change();
        EXPECT_TRUE(tree.IsUnsaved()) << what;
    }
    EXPECT_EQ(log.events, QStringList({"ViewpointRenamed(v,w)", "ViewpointDeleted(w)", "PersonDetails(bob)",
                                       "FamilyDetails(f2)", "ViewpointPFChange(v9)"}));
    EXPECT_EQ(spy.count(), 1);

    // These do not touch the flag.
    tree.SetUnsaved();
    tree.SetPendingPFChange();
    tree.SetHoriz(false);
    tree.SetStepped(false);
    int c = 5, r = 6;
    tree.SetGridColRow(c, r);
    tree.GetSettings().set("Title", "T");
    EXPECT_FALSE(tree.IsUnsaved());
    tree.SetUnsaved(true);
    tree.SetUnsaved();
    EXPECT_FALSE(tree.IsUnsaved());
}

TEST(TreeEvents, RenamingKeepsOrMovesTheViewpoint) {
    SVGTree tree;
    tree.AddViewpoint("a", "A", 12, 8);
    tree.AddViewpoint("b", "B", 12, 8);
    tree.AddViewpoint("c", "C", 12, 8);
    EventLog log(tree);
    tree.RenameViewpoint("a", "a", "Alpha");
    EXPECT_EQ(tree.GetViewpointSet(), "a,b,c");
    EXPECT_EQ(tree.GetViewpoints().value("a")->GetName(), "Alpha");
    tree.RenameViewpoint("a", "z", "Zed");
    EXPECT_EQ(tree.GetViewpointSet(), "b,c,z");
    EXPECT_EQ(tree.GetViewpoints().value("z")->GetKey(), "z");
    EXPECT_EQ(log.events, QStringList({"ViewpointRenamed(a,a)", "ViewpointRenamed(a,z)"}));
}

// The tree's indexes (child families, spouses, viewpoints) follow its own add
// and remove members only, so callers can read its dictionaries but not change
// them: a family removed through the dictionary would still be found through
// its child.
static_assert(std::is_const_v<std::remove_reference_t<decltype(std::declval<SVGTree&>().GetPersons())>>);
static_assert(std::is_const_v<std::remove_reference_t<decltype(std::declval<SVGTree&>().GetFamilies())>>);

TEST(TreeModel, LinkingAndRemovingPersonsAndFamilies) {
    SVGTree tree;
    addCouple(tree);
    auto ann = tree.GetPersons().value("ann");
    EXPECT_EQ(ann->GetFamSet(), "f1");
    EXPECT_EQ(tree.GetPersons().value("bob")->GetFamSet(), "f1");
    EXPECT_EQ(tree.GetPersons().keys(), QStringList({"ann", "bob", "cat", "dan"}));

    // A child's family is the first, in family order, that lists it.
    tree.NewPerson("eve", "Eve", "", 1, 1, "f", false, "", true);
    auto f2 = tree.NewFamily("f2", "cat", "eve");
    auto f3 = tree.NewFamily("f3", "dan", "eve");
    f3->AddChild(ann);
    f2->AddChild(ann);
    EXPECT_EQ(tree.ChildFamily("ann"), "f2");
    EXPECT_EQ(tree.ChildFamily("cat"), "f1");
    EXPECT_EQ(tree.ChildFamily("eve"), "");
    EXPECT_EQ(tree.ChildFamily("Cat"), "");
    f2->RemChild(ann.get());
    EXPECT_EQ(tree.ChildFamily("ann"), "f3");
    tree.RemFamily("f3");
    EXPECT_EQ(tree.ChildFamily("ann"), "");
    // A removed family no longer answers, even when changed afterwards.
    f3->AddChild(tree.GetPersons().value("bob"));
    EXPECT_EQ(tree.ChildFamily("bob"), "");
    tree.GetFamilies().value("f1")->RemAllChildren();
    EXPECT_EQ(tree.ChildFamily("cat"), "");
    // Removing a family leaves the parents' family sets to the caller.
    EXPECT_EQ(tree.GetPersons().value("dan")->GetFamSet(), "f3");
}
