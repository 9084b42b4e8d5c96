#include "ChartTestSupport.h"
#include "SVGViewpointClass.h"

namespace {

// The drawing members that write nothing (links, local settings) need no open file.
TreeDrawing preparation(Chart& c) { return TreeDrawing(ChartDrawContext{c.tree, chartOutput(), &c.apps, {}}); }

// x1 and x2 of every line of a class.
QStringList spans(const QString& body, const QString& cls) {
    QStringList out;
    for (const QString& line : linesWith(body, "<line class=\"" + cls + "\"")) {
        const auto attr = [&](const QString& name) {
            const int at = line.indexOf(" " + name + "=\"") + name.size() + 3;
            return line.mid(at, line.indexOf(u'"', at) - at);
        };
        out.append(attr("x1") + "-" + attr("x2"));
    }
    return out;
}

}  // namespace

TEST(FamilyDrawing, BridgesRunBetweenTheNearestBoxesOfAPersonsRowOfSpouses) {
    Chart c;
    c.person("s1", "S1", 1, 1, "m");
    c.person("s4", "S4", 2, 1, "m");
    c.person("p", "P", 3, 1);
    c.person("s2", "S2", 5, 1, "m");
    c.person("s3", "S3", 6, 1, "m");
    c.family("F1", "p", "s1");  // a tie: the second parent anchors
    c.family("F2", "p", "s2");
    c.family("F3", "s3", "p");  // from the outermost spouse towards S3
    c.family("F4", "s4", "p");  // S4 lies inside the row: from P's own box
    const QString body = c.draw();
    EXPECT_EQ(spans(body, "bridge"), (QStringList{"130.00-310.00", "390.00-570.00", "650.00-700.00", "260.00-310.00"}));
    EXPECT_EQ(c.tree.GetPersons().value("p")->GetSpouseSet(), "s1,s2,s3,s4");
}

TEST(FamilyDrawing, ASecondFamilyOfTheSameCoupleIsDrawnToo) {
    Chart c;
    c.person("ann", "Ann", 1, 1);
    c.person("bob", "Bob", 2, 1, "m");
    c.person("kid", "Kid", 1, 2);
    c.family("F1", "ann", "bob");
    c.family("F2", "bob", "ann", {"kid"});
    const QString body = c.draw();
    EXPECT_EQ(linesWith(body, "<use id=\"FA-").size(), 2);
    EXPECT_EQ(linesWith(body, "<g id=\"PA-").size(), 3);
    EXPECT_EQ(c.tree.GetPersons().value("ann")->GetSpouseSet(), "bob");
}

TEST(FamilyDrawing, OneChildLevelWithTheCircleGetsOneStraightLine) {
    Chart c;
    c.person("ann", "Ann", 1, 1);
    c.person("bob", "Bob", 2, 1, "m");
    c.person("kid", "Kid", 1, 2);
    auto f = c.family("F1", "ann", "bob", {"kid"});
    applySettings(c.tree, {{"Stepped", "True"}});  // the second row moves half a cell right
    f->SetMoreChildren(true);
    const QString body = c.draw();
    EXPECT_TRUE(linesWith(body, "descender").isEmpty()) << body;
    EXPECT_TRUE(linesWith(body, "rail").isEmpty()) << body;
    EXPECT_EQ(linesWith(body, "<line class=\"\" x1=\"155.00\" y1=\"90.00\" x2=\"155.00\" y2=\"180.00\"/>").size(), 1);
    EXPECT_EQ(spans(body, "more"), QStringList{"155.00-195.00"});
}

TEST(TreeDrawing, RootLineSearchEndsOnAncestryLoopsAndVisitsEachAncestorOnce) {
    // Each generation's two parents are the children of one couple: walking
    // every path would take 2^60 steps.
    Chart c;
    const int generations = 60;
    for (int k = 0; k <= generations; ++k) {
        c.person(QStringLiteral("m%1").arg(k), "M", 2 * k + 1, 1, "m");
        c.person(QStringLiteral("w%1").arg(k), "W", 2 * k + 2, 1);
    }
    for (int k = 0; k < generations; ++k)
        c.family(QStringLiteral("f%1").arg(k), QStringLiteral("m%1").arg(k + 1), QStringLiteral("w%1").arg(k + 1),
                 {QStringLiteral("m%1").arg(k), QStringLiteral("w%1").arg(k)});
    // And the eldest couple are their own descendants' children.
    c.family("loop", "m0", "w0", {QStringLiteral("m%1").arg(generations)});
    applySettings(c.tree, {{"RootKey", "m0"}});
    c.draw();
    for (const auto& f : c.tree.GetFamilies()) EXPECT_FALSE(f.second->GetRootKey().isEmpty()) << f.first;
}

TEST(TreeDrawing, AMissingRootPersonIsReportedForTheWholeTreeOnly) {
    Chart c;
    c.person("ann", "Ann", 1, 1);
    c.person("bob", "Bob", 2, 1, "m");
    c.person("kid", "Kid", 1, 2);
    c.family("F1", "ann", "bob", {"kid"});
    applySettings(c.tree, {{"RootKey", "nobody"}});
    EXPECT_TRUE(linesWith(c.draw(), "direct").isEmpty());
    EXPECT_EQ(c.reporter.warnings(), QList<QString>{"The specified RootKey (nobody) does not exist"});

    auto view = c.tree.AddViewpoint("v", "View", 4, 4);
    view->AddPerRef("ann", 1, 1, true);
    c.tree.SetViewpointKey("v");
    c.reporter.entries.clear();
    applySettings(c.tree, {{"RootKey", "kid"}});  // a person the viewpoint lacks
    EXPECT_TRUE(linesWith(c.draw(), "direct").isEmpty());
    EXPECT_TRUE(c.reporter.warnings().isEmpty());
}

TEST(TreeDrawing, TreeLinksListTheOtherViewpointsOfEachPerson) {
    Chart c;
    auto ann = c.person("ann", "Ann", 1, 1);
    auto bob = c.person("bob", "Bob", 2, 1, "m");
    auto cy = c.person("cy", "Cy", 3, 1, "m");
    for (const char* v : {"v1", "v2", "v3"}) c.tree.AddViewpoint(v, QStringLiteral("View ") + v, 4, 4)->AddPerRef("ann", 1, 1, true);
    c.tree.GetViewpoints().value("v1")->AddPerRef("bob", 2, 1, true);
    ann->SetProgData({"Notes | a", "TreeLinkV | old", "TreeLink | v9 | elsewhere", "", "TreeLink"});
    bob->SetProgData({"TreeLinkV | v1 | View v1 | x_v1 | PA-bob | Self"});
    cy->SetProgData({"Notes | c", ""});

    TreeDrawing prepare = preparation(c);
    prepare.UpdateTreeLinks("v2", "C:\\charts\\family");
    const QStringList annRows = {"Notes | a",
                                 "TreeLink | v9 | elsewhere",
                                 "TreeLink",
                                 "TreeLinkV | v1 | View v1 | family_v1 | PA-ann | Self",
                                 "TreeLinkV | v3 | View v3 | family_v3 | PA-ann | Self"};
    EXPECT_EQ(ann->GetProgData(), annRows);
    EXPECT_EQ(bob->GetProgData(), QStringList{"TreeLinkV | v1 | View v1 | family_v1 | PA-bob | Self"});
    EXPECT_EQ(cy->GetProgData(), (QStringList{"Notes | c", ""}));  // unchanged, empty row and all
    EXPECT_EQ(c.reporter.warnings(),
              QList<QString>{"Person ann references non-existent viewpoint key v9 in the program data tab"});

    prepare.UpdateTreeLinks("v2", "C:\\charts\\family");
    EXPECT_EQ(ann->GetProgData(), annRows);
    prepare.UpdateTreeLinks("v2", "/home/me/charts.d/family");  // a folder with forward slashes
    EXPECT_EQ(ann->GetProgData(), annRows);

    prepare.UpdateTreeLinks("v1", "family");
    EXPECT_TRUE(bob->GetProgData().isEmpty());
    prepare.UpdateTreeLinks("", "family");
    EXPECT_EQ(linesWith(ann->GetProgData().join(u'\n'), "TreeLinkV").size(), 3);
}

TEST(TreeDrawing, LocalSettingsFollowTheProgramDataOfEachPersonAndFamily) {
    Chart c;
    c.apps.Initialise(QStringLiteral(KV_TEST_DATA_DIR "/chart_drawing/apps"), c.reporter);
    StringDict enabled;
    enabled.set("Links", "Links");
    enabled.set("Times", "Times");
    c.tree.SetAppDict(enabled);
    auto both = c.person("both", "Both", 1, 1);
    auto bare = c.person("bare", "Bare", 2, 1);
    c.person("man", "Man", 3, 1, "m");
    auto fam = c.family("F1", "bare", "man");
    both->SetProgData({"Link | x", "Dates | 1900"});
    both->GetLocSettings().set("TooltipBL", "kept");
    bare->SetProgData({"Link"});  // one field: no program-data id
    bare->GetLocSettings().set("TooltipTR", "from an earlier chart");
    fam->SetProgData({" Dates | 1920"});

    preparation(c).AddLocalSettings();
    EXPECT_EQ(both->GetLocSettings().value("ClassPerson"), "linked");
    EXPECT_EQ(both->GetLocSettings().value("TooltipTR"), "When");  // the later application wins
    EXPECT_EQ(both->GetLocSettings().value("TooltipBL"), "kept");
    EXPECT_TRUE(bare->GetLocSettings().isEmpty());
    EXPECT_EQ(fam->GetLocSettings().value("TooltipTR"), "When");
}

TEST(FamilyDrawing, ChildrenLeftOfOrAboveTheirParentsHangFromTheEdgeFacingThem) {
    Chart c;
    applySettings(c.tree, {{"Horiz", "False"}});
    c.person("mum", "Mary", 2, 1);
    c.person("dad", "John", 2, 2, "m");
    c.person("c1", "Ann", 1, 1);
    c.person("c2", "Ben", 1, 3, "m");
    c.family("F1", "mum", "dad", {"c1", "c2"});
    const QString body = c.draw();
    // The circle is at x 220, the children's right edges at 130: the rail
    // stands in the margin between them, not across the children's boxes.
    EXPECT_EQ(spans(body, "descender"), QStringList{"220.00-155.00"});
    EXPECT_EQ(spans(body, ""), (QStringList{"155.00-130.00", "155.00-130.00"}));
}

TEST(FamilyDrawing, ChildrenAboveTheirParentsInAHorizontalChart) {
    Chart c;
    c.person("mum", "Mary", 1, 2);
    c.person("dad", "John", 2, 2, "m");
    c.person("c1", "Ann", 1, 1);
    c.person("c2", "Ben", 3, 1, "m");
    c.family("F1", "mum", "dad", {"c1", "c2"});
    const QString body = c.draw();
    // Circle at y 220, children's bottom edges at 130: the rail at 155.
    EXPECT_EQ(linesWith(body, "descender"),
              QStringList{"<line class=\"descender\" x1=\"155.00\" y1=\"220.00\" x2=\"155.00\" y2=\"155.00\"/>"});
    EXPECT_EQ(linesWith(body, "<line class=\"\"").size(), 2);
    EXPECT_EQ(linesWith(body, "y1=\"155.00\" x2=\"90.00\" y2=\"130.00\"/>").size(), 1);
}
