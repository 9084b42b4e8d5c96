#include <ostream>
#include <vector>

#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include "FormHelpers.h"
#include "FramePlacement.h"
#include "Hourglass.h"
#include "MainWindowLink.h"
#include "WindowPlacement.h"
#include "WindowUpdates.h"

// Rectangles in failure messages.
static void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace {

// A 1920 x 1080 pixel area in twips.
const MonitorBounds kFullHd{0, 1920 * 15, 0, 1080 * 15};
// A second screen right of it, 1280 x 1024 pixels.
const MonitorBounds kRightScreen{1920 * 15, 3200 * 15, 0, 1024 * 15};

}  // namespace

TEST(WindowPlacement, ScreenBoundsInTwipsUseTheWorkAreaOnlyOnThePrimaryScreen) {
    const QRect whole(1920, 0, 1280, 1024);
    const QRect work(1920, 0, 1280, 984);
    const MonitorBounds primary = monitorBoundsOf(QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048), true);
    const MonitorBounds secondary = monitorBoundsOf(whole, work, false);
    EXPECT_EQ(primary.left, 0);
    EXPECT_EQ(primary.top, 32 * 15);
    EXPECT_EQ(primary.right, 1920 * 15);
    EXPECT_EQ(primary.bottom, 1080 * 15);
    EXPECT_EQ(secondary.left, 1920 * 15);
    EXPECT_EQ(secondary.right, 3200 * 15);
    EXPECT_EQ(secondary.bottom, 1024 * 15);
}

TEST(WindowPlacement, DialogsOpenAtTheMainWindowsCornerAndStayInsideRightAndBottom) {
    struct Case {
        const char* what;
        QPointF mainCorner;
        QSizeF dialog;
        MonitorBounds bounds;
        QPointF expected;
    };
    const Case cases[] = {
        {"fits", {1500, 1500}, {6000, 4500}, kFullHd, {1500, 1500}},
        {"too wide", {20000, 1500}, {9000, 4500}, kFullHd, {28800 - 9000, 1500}},
        {"too high", {1500, 14000}, {6000, 4500}, kFullHd, {1500, 16200 - 4500}},
        {"both", {27000, 15000}, {6000, 4500}, kFullHd, {28800 - 6000, 16200 - 4500}},
        {"ends exactly at the edge", {22800, 11700}, {6000, 4500}, kFullHd, {22800, 11700}},
        {"second screen", {45000, 3000}, {6000, 4500}, kRightScreen, {48000 - 6000, 3000}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialogPlace(c.mainCorner, c.dialog, c.bounds), c.expected) << c.what;
}

TEST(WindowPlacement, TheDesignerWindowFitsItsScreen) {
    struct Case {
        const char* what;
        QPointF current;
        QSizeF wanted;
        bool top, bottom, centre;
        MonitorBounds bounds;
        QRectF expected;
    };
    const Case cases[] = {
        {"fits where it is", {1500, 1500}, {15000, 9000}, false, false, false, kFullHd, {1500, 1500, 15000, 9000}},
        {"centred on request", {1500, 1500}, {15000, 9000}, false, false, true, kFullHd, {6900, 3600, 15000, 9000}},
        {"centred across when too far right", {20000, 1500}, {15000, 9000}, false, false, false, kFullHd,
         {6900, 1500, 15000, 9000}},
        {"centred down when too low", {1500, 9000}, {15000, 9000}, false, false, false, kFullHd,
         {1500, 3600, 15000, 9000}},
        {"shrunk to the screen", {0, 0}, {40000, 20000}, false, false, false, kFullHd, {0, 0, 28800, 16200}},
        {"top half", {5000, 5000}, {15000, 9000}, true, false, false, kFullHd, {0, 0, 15000, 8100}},
        {"bottom half", {5000, 5000}, {40000, 9000}, false, true, false, kFullHd, {0, 8100, 28800, 8100}},
        {"top half of a second screen", {30000, 0}, {15000, 9000}, true, false, false, kRightScreen,
         {28800, 0, 15000, 7680}},
        {"centred on a second screen", {0, 0}, {15000, 9000}, false, false, true, kRightScreen,
         {28800 + 2100, 3180, 15000, 9000}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(designerPlace(c.current, c.wanted, c.top, c.bottom, c.centre, c.bounds), c.expected) << c.what;
}

// The designer is placed by its client area with the frame margins guessed
// (none while neither it nor the main window is decorated yet); once its own
// are known it is placed again, once. The screen is 1600 x 1000 pixels, and
// the window manager draws borders of 1 pixel, a title bar of 20 and a
// bottom edge of 5.
TEST(WindowPlacement, TheDesignersFrameEndsInsideTheScreenOnceItsMarginsAreKnown) {
    const MonitorBounds screen{0, 1600 * 15, 0, 1000 * 15};
    const QMargins decoration(1, 20, 1, 5);
    const QMargins none;
    const QMargins passing(0, 0, -1599, -999);  // a frame still being made
    const QMargins wrong(0, 0, 2, 25);
    const QSizeF largeGrid(40000, 30000);        // wanted sizes in twips
    const QSizeF smallGrid(600 * 15, 400 * 15);
    // What happens after the window was placed: the margins it then shows,
    // after a move by the user (none when empty).
    struct Step {
        QMargins margins;
        QRect movedTo;
    };
    struct Case {
        const char* what;
        QPointF current;
        QSizeF wanted;
        bool top, bottom, centre;
        QMargins guessed;
        std::vector<Step> steps;
        QRect client;  // where the client area ends up, in pixels
    };
    const Case cases[] = {
        {"guessed right from the main window", {}, largeGrid, false, false, true, decoration,
         {{none, {}}, {decoration, {}}}, {1, 20, 1598, 975}},
        {"known only once shown", {}, largeGrid, false, false, true, none, {{none, {}}, {decoration, {}}},
         {1, 20, 1598, 975}},
        {"a passing size first", {}, largeGrid, false, false, true, none, {{passing, {}}, {decoration, {}}},
         {1, 20, 1598, 975}},
        // Under load a frame being made can show margins that look real.
        {"a wrong size first", {}, largeGrid, false, false, true, none, {{wrong, {}}, {decoration, {}}},
         {1, 20, 1598, 975}},
        {"a wrong size first, its place still on its way", {}, largeGrid, false, false, true, none,
         {{wrong, {}}, {decoration, {0, 0, 1600, 1000}}}, {1, 20, 1598, 975}},
        {"upper half", {}, largeGrid, true, false, true, none, {{decoration, {}}}, {1, 20, 1598, 475}},
        {"lower half", {}, largeGrid, false, true, true, none, {{decoration, {}}}, {1, 520, 1598, 475}},
        {"lower half, guessed right", {}, smallGrid, false, true, true, decoration, {{decoration, {}}},
         {1, 520, 598, 475}},
        // A grid that fits keeps the client size it asked for, centred again.
        {"a small grid, centred", {}, smallGrid, false, false, true, none, {{decoration, {}}},
         {500, 308, 600, 400}},
        {"a small grid where it was", {1500, 1500}, smallGrid, false, false, false, none, {{decoration, {}}},
         {101, 120, 600, 400}},
        // Before its frame only the window manager framing it moves a
        // window: it goes where its frame is wanted all the same.
        {"moved while being framed", {}, largeGrid, false, false, true, none,
         {{none, {300, 200, 800, 600}}, {decoration, {}}}, {1, 20, 1598, 975}},
        {"framed at a passing place", {}, smallGrid, false, false, true, none,
         {{decoration, {0, 0, 600, 400}}}, {500, 308, 600, 400}},
        {"the frame kept on the screen by the window manager", {}, largeGrid, true, false, true, none,
         {{decoration, {1, 20, 1600, 500}}}, {1, 20, 1598, 475}},
        // Framed, a place of the window's own is the user's once it has been
        // seen a few times in a row; seen once, it is a moment of the frame.
        {"the user's later moves stand", {}, largeGrid, false, false, true, none,
         {{decoration, {}}, {decoration, {50, 60, 800, 600}}, {decoration, {}}, {decoration, {}},
          {QMargins(4, 30, 4, 4), {}}},
         {50, 60, 800, 600}},
        {"a moment elsewhere once framed", {}, largeGrid, false, false, true, none,
         {{decoration, {}}, {decoration, {0, 0, 1598, 975}}, {QMargins(2, 22, 2, 2), {1, 20, 1598, 975}}},
         {2, 22, 1596, 976}},
        {"a frame never known", {}, largeGrid, false, false, true, none, {{none, {}}, {none, {}}},
         {0, 0, 1600, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FramePlacement::FrameFor frameFor = [&](const QMargins& margins) {
            return designerFrame(c.current, c.wanted, c.guessed, margins, c.top, c.bottom, c.centre, screen);
        };
        FramePlacement placement;
        QRect client = FramePlacement::clientFor(frameFor(c.guessed), c.guessed);
        placement.start(frameFor, c.guessed, client);
        for (const Step& step : c.steps) {
            if (!step.movedTo.isNull()) client = step.movedTo;
            if (const auto corrected = placement.correction(client, step.margins)) client = *corrected;
        }
        EXPECT_EQ(client, c.client);
    }
}

class PlacedWindows : public ::testing::Test {
protected:
    QWidget mainWindow;
    void SetUp() override { MainWindowLink::attach(&mainWindow, nullptr); }
    void TearDown() override { MainWindowLink::attach(nullptr, nullptr); }
    static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(PlacedWindows, PositionFormPlacesADialogOnlyWhileItsFlagIsClear) {
    const QRect area = screenArea();
    mainWindow.setGeometry(area.left() + 100, area.top() + 50, 300, 200);
    QWidget dialog;
    dialog.resize(area.width() - 50, 100);
    bool positioned = false;

    PositionForm(&dialog, positioned);
    EXPECT_TRUE(positioned);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(area.left() + 50, area.top() + 50));
    EXPECT_EQ(dialog.size(), QSize(area.width() - 50, 100));

    dialog.move(area.left(), area.top());
    PositionForm(&dialog, positioned);
    EXPECT_EQ(dialog.pos(), area.topLeft());
}

TEST_F(PlacedWindows, FitFormToMonitorOnTopGivesTheUpperHalfOfTheScreen) {
    const QRect area = screenArea();
    QWidget designer;
    float width = float(area.width() * 2 * 15);
    float height = 3000;
    FitFormToMonitor(&designer, width, height, true, false, false);
    EXPECT_EQ(width, area.width() * 15);
    EXPECT_EQ(height, area.height() * 15 / 2.0f);
    EXPECT_EQ(designer.frameGeometry(), QRect(area.left(), area.top(), area.width(), qRound(area.height() / 2.0)));
}

TEST(WindowUpdates, SuspendsOneWindowUntilUnlockedCancelledOrDestroyed) {
    QWidget window;
    window.show();
    bool locked = false;
    {
        WindowUpdates updates;
        EXPECT_FALSE(updates.LockW());  // no window set
        EXPECT_EQ(updates.SetWnd(&window), &window);
        locked = updates.LockW();
        EXPECT_TRUE(locked);
        EXPECT_FALSE(window.updatesEnabled());
        EXPECT_FALSE(updates.LockW());  // already suspended

        QWidget other;
        EXPECT_EQ(updates.SetWnd(&other), nullptr);  // refused while suspended
        EXPECT_EQ(updates.window(), &window);

        bool notMine = false;
        updates.UnlockW(notMine);
        EXPECT_FALSE(window.updatesEnabled());
        updates.UnlockW(locked);
        EXPECT_FALSE(locked);
        EXPECT_TRUE(window.updatesEnabled());

        EXPECT_EQ(updates.SetWnd(&other), &other);  // free again
        EXPECT_EQ(updates.SetWnd(&window), &window);
        EXPECT_TRUE(updates.LockW());
        updates.CancelW();
        EXPECT_TRUE(window.updatesEnabled());
        EXPECT_TRUE(updates.LockW());
    }
    EXPECT_TRUE(window.updatesEnabled());  // the destructor resumed it
}

TEST(WindowUpdates, HiddenOrMinimisedWindowsAreNotSuspended) {
    QWidget hidden;
    QWidget minimised;
    minimised.showMinimized();
    for (QWidget* w : {&hidden, &minimised}) {
        WindowUpdates updates;
        updates.SetWnd(w);
        EXPECT_FALSE(updates.LockW());
        EXPECT_TRUE(w->updatesEnabled());
    }
}

TEST(Hourglass, ShowsTheWaitCursorForItsLifetimeAndNests) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        Hourglass outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            Hourglass inner;
        }
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(FormHelpers, FormLoadedFindsWindowsByNameInAnyLetterCase) {
    QWidget designer;
    designer.setObjectName(QStringLiteral("FormGrid"));
    EXPECT_TRUE(bFormLoaded(QStringLiteral("formgrid")));
    EXPECT_TRUE(bFormLoaded(QStringLiteral("FORMGRID")));
    EXPECT_FALSE(bFormLoaded(QStringLiteral("FormKinreader")));
}

TEST(FormHelpers, AutoSizeColumnsFitsContentAndHeader) {
    QTreeWidget list;
    list.setHeaderLabels({QStringLiteral("A rather long column header"), QStringLiteral("B")});
    auto* row = new QTreeWidgetItem(&list);
    row->setText(0, QStringLiteral("x"));
    row->setText(1, QStringLiteral("a value much longer than its header"));
    list.setColumnWidth(0, 5);
    list.setColumnWidth(1, 5);
    AutoSizeColumns(&list);
    EXPECT_GE(list.columnWidth(0), list.header()->sectionSizeHint(0));
    EXPECT_GE(list.columnWidth(1), list.fontMetrics().horizontalAdvance(row->text(1)));
}
