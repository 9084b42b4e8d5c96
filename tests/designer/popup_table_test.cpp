#include <gtest/gtest.h>

#include "DesignerPopups.h"
#include "tree_model/SVGTree.h"

namespace {
QString caption(const PopupMenuModel& m, const QString& name) { return DesignerPopups::item(m, name)->caption; }
bool enabled(const PopupMenuModel& m, const QString& name) { return DesignerPopups::item(m, name)->enabled; }
}  // namespace

TEST(PopupTable, ClipboardFirstLineDecidesPasteAndInclude) {
    SVGTree tree;
    struct Case {
        QString clipboard;
        bool viewpoint;
        QString paste, pasteNew;
        bool pasteOn;
        QString include;
        bool includeOn;
    } cases[] = {
        {"SVG-P\nx", false, "Paste Person", "Paste New Person", true, "Include Person", false},
        {"SVG-NP\nx", false, "Paste Persons", "Paste New Persons", true, "Include Person", false},
        {"SVG-F\nx", false, "Paste Family", "Paste New Family", true, "Include Person", false},
        {"SVG-NF\nx", false, "Paste Families", "Paste New Families", true, "Include Person", false},
        {"SVG-KP\na\nb\n", false, "Paste Person", "Paste New Person", false, "Include Persons", false},
        {"SVG-KP\na\nb\n", true, "Paste Person", "Paste New Person", false, "Include Persons", true},
        {"SVG-KP\na\n", true, "Paste Person", "Paste New Person", false, "Include Person", true},
        {"SVG-KF\nf\n", true, "Paste Person", "Paste New Person", false, "Include Family", true},
        {"SVG-KF0\nf\n", false, "Paste Person", "Paste New Person", false, "Include Family", false},
        {"SVG-P", true, "Paste Person", "Paste New Person", false, "Include Person", false},  // no line end
        {"hello\nworld", true, "Paste Person", "Paste New Person", false, "Include Person", false},
        {"", true, "Paste Person", "Paste New Person", false, "Include Person", false},
    };
    for (const Case& c : cases) {
        DesignerPopups::PersonContext context;
        context.occupied = true;
        context.viewpoint = c.viewpoint;
        context.clipboard = c.clipboard;
        const PopupMenuModel m = DesignerPopups::personPopup(context, tree);
        EXPECT_EQ(caption(m, "mnuPastePersonFamily"), c.paste) << c.clipboard.toStdString();
        EXPECT_EQ(caption(m, "mnuPasteNewPersonFamily"), c.pasteNew) << c.clipboard.toStdString();
        EXPECT_EQ(enabled(m, "mnuPastePersonFamily"), c.pasteOn) << c.clipboard.toStdString();
        EXPECT_EQ(enabled(m, "mnuPasteNewPersonFamily"), c.pasteOn) << c.clipboard.toStdString();
        EXPECT_EQ(caption(m, "mnuIncludePersonFamily"), c.include) << c.clipboard.toStdString();
        EXPECT_EQ(enabled(m, "mnuIncludePersonFamily"), c.includeOn) << c.clipboard.toStdString() << c.viewpoint;
    }
}

TEST(PopupTable, PersonEntriesFollowTheBoxTheSelectionAndTheView) {
    SVGTree tree;
    struct Case {
        bool occupied;
        int selected;
        bool viewpoint, child;
        bool edit, exclude, unlink;
        QString plural;  // "s" when the captions speak of persons
    } cases[] = {
        {true, 0, false, false, true, false, false, ""},  {true, 1, true, false, true, true, false, ""},
        {true, 2, true, true, true, true, true, "s"},     {false, 3, true, true, false, false, false, "s"},
        {false, 0, false, false, false, false, false, ""},
    };
    for (const Case& c : cases) {
        DesignerPopups::PersonContext context{c.occupied, c.selected, c.viewpoint, c.child, QString()};
        const PopupMenuModel m = DesignerPopups::personPopup(context, tree);
        EXPECT_TRUE(enabled(m, "mnuCreatePerson"));
        EXPECT_EQ(enabled(m, "mnuEditPerson"), c.edit);
        EXPECT_EQ(enabled(m, "mnuDeletePerson"), c.occupied);
        EXPECT_EQ(enabled(m, "mnuCopyPerson"), c.occupied);
        EXPECT_EQ(enabled(m, "mnuExcludePersons"), c.exclude);
        EXPECT_EQ(enabled(m, "mnuUnlinkChild"), c.unlink);
        EXPECT_EQ(caption(m, "mnuDeletePerson"), "Delete Person" + c.plural);
        EXPECT_EQ(caption(m, "mnuCopyPerson"), "Copy Person" + c.plural);
        EXPECT_EQ(caption(m, "mnuExcludePersons"), "Exclude Person" + c.plural);
    }
}

TEST(PopupTable, CaptionsInOrderWithSeparators) {
    SVGTree tree;
    QStringList person, family;
    for (const PopupItem& i : DesignerPopups::personPopup({}, tree)) person << i.caption;
    for (const PopupItem& i : DesignerPopups::familyPopup(false)) family << i.caption;
    EXPECT_EQ(person, (QStringList{"Create Person ...", "Edit Person ...", "Delete Person", "-", "Copy Person",
                                   "Paste Person", "Paste New Person", "-", "Include Person", "Exclude Person", "-",
                                   "Unlink Child"}));
    EXPECT_EQ(family, (QStringList{"Edit Family ...", "Delete Family", "-", "Copy Family", "-", "Exclude Family", "-",
                                   "Show/Hide Child Links", "Toggle Child Selections"}));
    EXPECT_FALSE(DesignerPopups::item(DesignerPopups::familyPopup(false), "mnuExcludeFamily")->enabled);
    EXPECT_TRUE(DesignerPopups::item(DesignerPopups::familyPopup(true), "mnuExcludeFamily")->enabled);
}
