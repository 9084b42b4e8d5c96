#include <functional>

#include <QAction>
#include <QApplication>
#include <QGraphicsLineItem>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include "FamilyCircleItem.h"
#include "FormGridFixture.h"
#include "FormGridHost.h"
#include "GridView.h"
#include "ucGridBox.h"

namespace {
// Everything a toggle must give back: title, size, records, boxes and lines.
struct GridState {
    QString title;
    QStringList records;
    QStringList boxes;
    QList<QLineF> lines;
    bool operator==(const GridState&) const = default;
};

GridState stateOf(FormGrid& form) {
    GridState s;
    s.title = form.windowTitle();
    s.records = form.model().DiagDrawing();
    const GridGeometry& g = form.model().geometry();
    for (int cell = 1; cell <= g.cols * g.rows; ++cell)
        if (ucGridBox* box = form.box(cell))
            s.boxes << QStringLiteral("%1:%2@%3,%4").arg(cell).arg(box->Tag).arg(box->x()).arg(box->y());
    for (int i = 1; form.familyLine(i); ++i) s.lines << form.familyLine(i)->line();
    for (int i = 1; form.childLine(i); ++i) s.lines << form.childLine(i)->line();
    return s;
}

QAction* optionsAction(FormGrid& form, const QString& text) {
    for (QAction* a : form.optionsMenu()->actions())
        if (a->text() == text) return a;
    ADD_FAILURE() << "no Options entry " << text.toStdString();
    return nullptr;
}
}  // namespace

TEST(FormGridTitle, NamesTreeViewpointAndGridSize) {
    SVGTree tree;
    tree.GetSettings().set("Title", "My Tree");
    tree.GetDisplay()->Init(tree.GetSettings());
    EXPECT_EQ(FormGrid::titleFor(tree, 12, 8), "Tree Designer - My Tree (12 x 8)");
    tree.AddViewpoint("br", "Branch", 12, 8);
    tree.SetViewpointKey("br");
    EXPECT_EQ(FormGrid::titleFor(tree, 12, 8), "Tree Designer - My Tree, viewpoint Branch (12 x 8)");
}

TEST(FormGridFit, ClientSizeCoversTheGridAndOneMoreCell) {
    struct Case { bool horiz, stepped; int zoom; QSize size; } cases[] = {
        {true, true, 12, {1340, 872}},   // last column of row 2 steps right by half a cell
        {true, false, 12, {1288, 872}},
        {false, true, 12, {1288, 924}},  // column 2 steps down
        {true, false, 8, {859, 582}},
    };
    for (const Case& c : cases) {
        GridGeometry g;
        g.cols = 12;
        g.rows = 8;
        g.horiz = c.horiz;
        g.stepped = c.stepped;
        g.zoom = c.zoom;
        const QRectF r = GridGeometry::toPixels(g.gridRect());
        EXPECT_EQ(QSize(int(std::ceil(r.width())), int(std::ceil(r.height()))), c.size)
            << c.horiz << c.stepped << c.zoom;
    }
}

TEST_F(FormGridTest, ToggleOrientationTwiceRestoresEverything) {
    person("p1", "m", 2, 1);
    person("p2", "f", 4, 1);
    person("k1", "m", 2, 3);
    person("k2", "f", 5, 2);
    family("F1", "p1", "p2", {"k1", "k2"});
    form->LoadDetails(tree, QString());
    const GridState before = stateOf(*form);
    tree->SetUnsaved(false);

    optionsAction(*form, "Toggle &Orientation")->trigger();
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree (8 x 12)");
    EXPECT_TRUE(tree->IsUnsaved());
    EXPECT_FALSE(tree->GetDisplay()->GetHoriz());
    ASSERT_TRUE(form->box(cell(1, 2)));
    EXPECT_EQ(form->box(cell(1, 2))->Tag, "p1") << "stored (2,1) shows at column 1, row 2";
    const FamilyRecord& r = form->model().records().family(1);
    EXPECT_EQ(r.LCR1, (CellRef{cell(1, 2), 1, 2}));
    EXPECT_EQ(form->familyLine(1)->line().p1().x(), form->familyLine(1)->line().p2().x()) << "vertical spouse line";

    optionsAction(*form, "Toggle &Orientation")->trigger();
    EXPECT_EQ(stateOf(*form), before);

    optionsAction(*form, "Toggle &Step")->trigger();
    EXPECT_TRUE(tree->GetDisplay()->GetStepped());
    EXPECT_EQ(form->box(cell(4, 1))->x(), form->box(cell(2, 1))->x() + 2 * 104) << "row 1 does not step";
    EXPECT_NE(stateOf(*form), before);
    optionsAction(*form, "Toggle &Step")->trigger();
    EXPECT_EQ(stateOf(*form), before);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(FormGridTest, LargeGridIsNotAskedAgainWhenTurned) {
    int cols = 120, rows = 10;
    tree->SetGridColRow(cols, rows, true);
    boxes.answers = {QMessageBox::Yes};
    form->LoadDetails(tree, QString());
    form->mnuOrient_Click();
    form->zoomIn();
    form->mnuOrient_Click();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree (120 x 10)");
}

TEST_F(FormGridTest, ShownViewpointDeletedClosesRenamedRetitles) {
    person("a", "m", 1, 1);
    tree->AddViewpoint("V", "Branch", 6, 5)->AddPerRef("a", 1, 1, true);
    tree->AddViewpoint("W", "Other", 6, 5);
    form->LoadDetails(tree, "V");
    ASSERT_TRUE(form->isVisible());

    tree->RenameViewpoint("W", "W2", "Still other");
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint Branch (6 x 5)");
    tree->RenameViewpoint("V", "V2", "Twig");
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint Twig (6 x 5)");
    tree->RenameViewpoint("V2", "V2", "Leaf");
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint Leaf (6 x 5)");

    tree->DeleteViewpoint("W2");
    EXPECT_TRUE(form->isVisible()) << "another viewpoint deleted";
    tree->DeleteViewpoint("V2");
    EXPECT_FALSE(form->isVisible()) << "the shown viewpoint deleted";
}

TEST_F(FormGridTest, ZoomKeysAndEscReachTheWindowWhateverHasTheFocus) {
    person("a", "m", 1, 1);
    person("b", "f", 2, 1);
    family("F1", "a", "b");
    form->LoadDetails(tree, QString());
    QApplication::setActiveWindow(form.get());
    form->view()->setFocus();
    QWidget* focus = form->view();

    QTest::keyClick(focus, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(form->model().geometry().zoom, 13);
    EXPECT_EQ(form->box(cell(1, 1))->boundingRect().width(), 69) << "80 x 13 twips, snapped";
    QTest::keyClick(focus, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(form->model().geometry().zoom, 14);
    QTest::keyClick(focus, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form->model().geometry().zoom, 12);
    EXPECT_EQ(form->circle(1)->diameter(), 20);

    form->model().geometry().zoom = 30;
    form->ApplyZoom();
    QTest::keyClick(focus, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(form->model().geometry().zoom, 30) << "30 is the largest";
    form->model().geometry().zoom = 1;
    form->ApplyZoom();
    QTest::keyClick(focus, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form->model().geometry().zoom, 1) << "1 is the smallest";

    form->SelectPerson("a");
    ASSERT_FALSE(form->model().selection().isEmpty());
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_TRUE(form->model().selection().isEmpty());
    EXPECT_EQ(form->box(cell(1, 1))->GetBorderWidth(), 1);
}

TEST_F(FormGridTest, OtherModifiersBesideCtrlOrWithEscDoNotMatter) {
    person("a", "m", 1, 1);
    form->LoadDetails(tree, QString());
    QApplication::setActiveWindow(form.get());
    form->view()->setFocus();
    QWidget* focus = form->view();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int zoom;
    } keys[] = {
        {Qt::Key_Equal, ctrl | alt, 13},
        {Qt::Key_Plus, ctrl | shift | alt, 14},
        {Qt::Key_Plus, ctrl | alt | Qt::KeypadModifier, 15},
        {Qt::Key_Minus, ctrl | alt, 14},
        {Qt::Key_Minus, ctrl | shift, 13},
        {Qt::Key_Minus, ctrl | shift | alt | Qt::KeypadModifier, 12},
        {Qt::Key_Equal, alt, 12},  // no Ctrl: no zoom
        {Qt::Key_Minus, shift, 12},
    };
    for (const Key& k : keys) {
        QTest::keyClick(focus, k.key, k.mods);
        EXPECT_EQ(form->model().geometry().zoom, k.zoom) << k.key << " " << k.mods;
    }
    for (const Qt::KeyboardModifiers mods : {shift, ctrl, alt, ctrl | alt, ctrl | shift | alt}) {
        form->SelectPerson("a");
        ASSERT_FALSE(form->model().selection().isEmpty());
        QTest::keyClick(focus, Qt::Key_Escape, mods);
        EXPECT_TRUE(form->model().selection().isEmpty()) << mods;
    }
}

// Opened on tree A and then on tree B, the window hears nothing more of A.
TEST_F(FormGridTest, OnlyTheTreeShownSpeaksToTheWindow) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                                                const QString& text) {
        // The warnings of Qt's objects: refused connections and disconnections.
        if (type != QtDebugMsg && text.startsWith(QLatin1String("QObject::"))) warnings << text;
    });
    person("a", "m", 1, 1);
    tree->AddViewpoint("V", "Branch", 6, 5)->AddPerRef("a", 1, 1, true);
    form->LoadDetails(tree, "V");
    auto other = std::make_shared<SVGTree>();
    other->GetSettings().set("Title", "Other Tree");
    other->GetDisplay()->Init(other->GetSettings());
    other->NewPerson("b", "B", "B", 1, 1, "f", false, QString(), true);
    other->AddViewpoint("V", "Twig", 4, 3)->AddPerRef("b", 1, 1, true);
    form->LoadDetails(other, "V");
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings.join(u'\n'), "") << "no refused disconnection";

    tree->RenameViewpoint("V", "V", "Renamed");
    EXPECT_EQ(form->windowTitle(), "Tree Designer - Other Tree, viewpoint Twig (4 x 3)");
    tree->DeleteViewpoint("V");
    EXPECT_TRUE(form->isVisible()) << "V of the tree no longer shown was deleted";
    other->DeleteViewpoint("V");
    EXPECT_FALSE(form->isVisible()) << "V of the tree shown was deleted";
}

// Revert goes back to the last layout only while the persons and families it
// laid out, and the view it laid out, stay as they were.
TEST_F(FormGridTest, TheKeptLayoutIsDroppedWhenPersonsFamiliesOrTheViewChange) {
    using Change = std::function<void(FormGrid&, SVGTree&)>;
    const auto handMove = [](FormGrid& f, SVGTree&) {
        DesignerCommands& c = f.host().commands();
        const CellRef from = f.model().cellOfPerson("k"), to = f.model().geometry().cellRef(9, 7);
        c.run([&] { c.MovePersonToCell("k", from.L, from.C, from.R, to.L, to.C, to.R); });
    };
    const auto inViewpoint = [](const QString& key, std::function<void(SVGViewpointClass&)> change) {
        return [key, change](FormGrid& f, SVGTree& t) {
            f.host().commands().run([&] {
                change(*t.GetViewpoints().value(key));
                t.SetPendingViewpointPFChange(key);
            });
        };
    };
    struct Case {
        const char* name;
        Change change;
        bool kept;
    } cases[] = {
        {"a hand move", handMove, true},
        {"a hand move and a deletion",
         [&](FormGrid& f, SVGTree& t) {
             handMove(f, t);
             DesignerCommands& c = f.host().commands();
             c.run([&] { c.bDeletePerson("s", f.model().cellOfPerson("s").L); });
         },
         false},
        {"a new family", [](FormGrid& f, SVGTree& t) { f.host().commands().run([&] { t.NewFamily("F2", "s", "k"); }); },
         false},
        {"a person excluded from the viewpoint shown", inViewpoint("V", [](SVGViewpointClass& v) { v.RemPerRef("s"); }),
         false},
        {"a person excluded from another viewpoint", inViewpoint("W", [](SVGViewpointClass& v) { v.RemPerRef("s"); }),
         true},
        {"viewpoints turned off in the settings",
         [](FormGrid& f, SVGTree&) {
             FormGrid::OptionsDialogs saved = FormGrid::optionsDialogs();
             FormGrid::optionsDialogs().editSettings = [](SVGTree& t, QWidget*) {
                 t.GetSettings().set("Viewpoints", "False");
                 return true;
             };
             f.mnuSettings_Click();
             FormGrid::optionsDialogs() = saved;
         },
         false},
    };
    for (const Case& c : cases) {
        tree = std::make_shared<SVGTree>();
        setting("Title", "My Tree");
        setting("Viewpoints", "True");
        int cols = 12, rows = 8;
        tree->SetGridColRow(cols, rows, true);
        person("p1", "m", 6, 4);
        person("p2", "f", 2, 6);
        person("k", "m", 8, 1);
        person("s", "f", 3, 3);
        family("F1", "p1", "p2", {"k"});
        for (const char* key : {"V", "W"}) {
            SVGViewpointPtr v = tree->AddViewpoint(key, key, 12, 8);
            v->DuplicateTree(*tree);
        }
        form = std::make_unique<FormGrid>();
        form->LoadDetails(tree, "V");
        form->mnuLayout_Click();
        const CellRef before = form->model().geometry().cellRef(8, 1);
        ASSERT_NE(form->model().cellOfPerson("k"), before) << c.name << ": the layout moved k";

        c.change(*form, *tree);
        const CellRef changed = form->model().cellOfPerson("k");
        form->mnuView_Click();
        EXPECT_EQ(form->menuEntry("mnuRevert")->isEnabled(), c.kept) << c.name;
        form->mnuRevert_Click();
        EXPECT_EQ(form->model().cellOfPerson("k"), c.kept ? before : changed) << c.name;
    }
}

// A tree file may ask for a grid of up to 32767 columns or rows; more than
// 16383 along a side is refused and never shown.
TEST_F(FormGridTest, AGridTooLargeForTheDesignerIsRefusedAndNotShown) {
    person("a", "m", 1, 1);
    int cols = 20000, rows = 5;
    tree->SetGridColRow(cols, rows, true);
    tree->AddViewpoint("V", "Branch", 6, 5)->AddPerRef("a", 1, 1, true);
    tree->AddViewpoint("Big", "Tall", 5, 16384)->AddPerRef("a", 1, 1, true);

    const auto refusal = [](const char* view, FormGrid& f, const std::shared_ptr<SVGTree>& t) -> QString {
        try {
            f.LoadDetails(t, QString::fromLatin1(view));
        } catch (const AppError& e) {
            return e.description;
        }
        return QStringLiteral("not refused");
    };
    EXPECT_EQ(refusal("", *form, tree),
              "The grid of 20000 columns and 5 rows is too large for the Tree Designer, which takes at most 16383 "
              "columns and 16383 rows.");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty()) << "refused without the very-large-grid question";

    form->LoadDetails(tree, "V");
    ASSERT_TRUE(form->isVisible());
    form->mnuViewpointKey_Click("Big");
    EXPECT_EQ(boxes.texts(), QStringList{"The grid of 5 columns and 16384 rows is too large for the Tree Designer, "
                                         "which takes at most 16383 columns and 16383 rows."});
    EXPECT_EQ(tree->GetViewpointKey(), "V") << "the window keeps what it shows";
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint Branch (6 x 5)");
    ASSERT_TRUE(form->box(cell(1, 1)));
    EXPECT_EQ(form->box(cell(1, 1))->Tag, "a");
}

// The window opens inside the screen's available area, frame and title bar
// included; the grid shows whole when it fits, else its scroll bars are in sight.
TEST_F(FormGridTest, TheWindowFitsTheScreenWithItsFrameAndScrollBars) {
    const QRect area(100, 50, 600, 400);
    struct Case {
        int cols, rows;
        bool across, down;  // the scroll bars expected
    } cases[] = {
        {3, 2, false, false},
        {50, 40, true, true},
        {4, 40, false, true},  // a tall grid: its vertical bar does not cut the width short
        {40, 3, true, false},
    };
    for (const Case& c : cases) {
        tree = std::make_shared<SVGTree>();
        setting("Title", "My Tree");
        int cols = c.cols, rows = c.rows;
        tree->SetGridColRow(cols, rows, true);
        person("a", "m", 1, 1);
        form = std::make_unique<FormGrid>();
        form->screenArea = monitorBoundsOf(QRect(0, 0, 800, 800), area, true);
        form->LoadDetails(tree, QString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        const QString what = QStringLiteral("%1 x %2").arg(c.cols).arg(c.rows);
        EXPECT_TRUE(area.contains(form->frameGeometry())) << what.toStdString() << ": " << form->frameGeometry().x()
                                                          << "," << form->frameGeometry().y() << " "
                                                          << form->frameGeometry().width() << "x"
                                                          << form->frameGeometry().height();
        EXPECT_NE(form->frameGeometry(), form->geometry()) << "the frame is counted";
        EXPECT_EQ(form->view()->horizontalScrollBar()->isVisible(), c.across) << what.toStdString();
        EXPECT_EQ(form->view()->verticalScrollBar()->isVisible(), c.down) << what.toStdString();
        if (!c.across && !c.down) {
            EXPECT_EQ(form->view()->viewport()->size(), form->gridClientSize());
        }
    }
}

TEST_F(FormGridTest, SettingsCommandsCancelledOrMissingChangeNothing) {
    person("a", "m", 1, 1);
    form->LoadDetails(tree, QString());
    tree->SetUnsaved(false);
    FormGrid::OptionsDialogs saved = FormGrid::optionsDialogs();
    FormGrid::optionsDialogs() = {};
    form->mnuSettings_Click();
    form->mnuAdvSettings_Click();
    EXPECT_TRUE(logLines().contains("Edit Settings is not available in this version of Kvora"));
    EXPECT_TRUE(logLines().contains("Advanced Settings is not available in this version of Kvora"));

    int asked = 0;
    FormGrid::optionsDialogs().editSettings = [&](SVGTree&, QWidget*) { return ++asked, false; };
    FormGrid::optionsDialogs().editAdvSettings = [&](StringDict&, QWidget*) { return ++asked, false; };
    form->mnuSettings_Click();
    form->mnuAdvSettings_Click();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(tree->IsUnsaved()) << "cancelled: the unsaved flag stays as it was";
    FormGrid::optionsDialogs() = saved;
}

TEST_F(FormGridTest, EditSettingsThatTurnsTheChartTransposesOnceAndLeavesViewpoints) {
    person("p1", "m", 2, 1);
    person("p2", "f", 4, 1);
    person("k", "m", 3, 2);
    family("F1", "p1", "p2", {"k"});
    SVGViewpointPtr v = tree->AddViewpoint("V", "Branch", 12, 8);
    v->AddPerRef("p1", 2, 1, true);
    setting("Viewpoints", "True");
    form->LoadDetails(tree, "V");
    FormGrid::OptionsDialogs saved = FormGrid::optionsDialogs();
    FormGrid::optionsDialogs().editSettings = [](SVGTree& t, QWidget*) {
        t.GetSettings().set("Horiz", "False");
        t.GetSettings().set("Viewpoints", "False");
        return true;
    };
    form->mnuSettings_Click();
    FormGrid::optionsDialogs() = saved;
    EXPECT_TRUE(tree->IsUnsaved());
    EXPECT_EQ(tree->GetViewpointKey(), "") << "viewpoints off: the full tree";
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree (8 x 12)");
    EXPECT_EQ(form->model().records().family(1).LCR1, (CellRef{cell(1, 2), 1, 2}));
    EXPECT_EQ(form->box(cell(1, 2))->Tag, "p1");
    EXPECT_EQ(form->box(cell(2, 3))->Tag, "k");
}

TEST_F(FormGridTest, AfterAnErrorNothingStaysSelectedOrDrawn) {
    person("a", "m", 1, 1);
    person("b", "f", 2, 1);
    form->LoadDetails(tree, QString());
    form->SelectPerson("a");
    form->childLine(0)->show();
    FormGrid::OptionsDialogs saved = FormGrid::optionsDialogs();
    FormGrid::optionsDialogs().editSettings = [](SVGTree&, QWidget*) -> bool {
        throw AppError(kErrorBase + 515, "FormSettings", "Settings could not be read");
    };
    form->mnuSettings_Click();
    FormGrid::optionsDialogs() = saved;
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, "Settings could not be read");
    EXPECT_TRUE(form->model().selection().isEmpty());
    EXPECT_EQ(form->box(cell(1, 1))->GetBorderWidth(), 1);
    EXPECT_FALSE(form->childLine(0)->isVisible());
    EXPECT_EQ(form->model().currentCell, -1);
}

TEST_F(FormGridTest, ClosingTheDesignerAsksNothingAndKeepsChanges) {
    person("a", "m", 1, 1);
    form->LoadDetails(tree, QString());
    tree->SetUnsaved(true);
    form->mnuClose_Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty()) << "the main window owns the unsaved-changes question";
    EXPECT_TRUE(tree->IsUnsaved());
}
