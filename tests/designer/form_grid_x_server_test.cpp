// The Tree Designer under a real X server with a window manager: its frame,
// title bar included, lies inside the screen's available area. The window
// manager decorates a window only once it is shown, so the frame's size is
// known late; the offscreen platform knows it at once and cannot show this.
//
// The test starts Xvfb on a display of its own choosing and openbox on it,
// then runs itself once per way of opening the designer, in a process on
// that display under the xcb platform, which opens the designer as the
// program does and checks where its frame ended up.
#include <csignal>
#include <functional>

#include <sys/prctl.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScrollBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "FormGrid.h"
#include "FormSVG.h"
#include "FramePlacement.h"
#include "GridView.h"
#include "ProgramWindows.h"
#include "ScriptedMessageBoxes.h"
#include "ServiceSlot.h"

namespace {

// Set in the process that opens the designer: which way it is opened.
constexpr char kCaseVariable[] = "KV_DESIGNER_FRAME_CASE";
constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 1000;

// Asks `done` until it holds or `ms` milliseconds have passed, handling
// events meanwhile; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(20);
    }
    return true;
}

// Xvfb on a free display and openbox on it, both ended when this goes, or
// with this process should it be killed.
class XServerWithWindowManager {
public:
    XServerWithWindowManager() {
        for (QProcess* p : {&windowManager_, &server_})
            p->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
    ~XServerWithWindowManager() {
        for (QProcess* p : {&windowManager_, &server_}) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    // Empty when both run, else what went wrong.
    QString start(const QString& xvfb, const QString& openbox, const QString& folder) {
        // Xvfb picks a free display itself and writes its number when it
        // takes connections.
        server_.start(xvfb, {"-displayfd", "1", "-screen", "0",
                             QStringLiteral("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight), "-nolisten", "tcp"});
        if (!server_.waitForStarted(10000)) return QStringLiteral("Xvfb did not start");
        QByteArray number;
        if (!waitUntil([&] {
                number += server_.readAllStandardOutput();
                return number.contains('\n') || server_.state() == QProcess::NotRunning;
            }, 10000) || !number.contains('\n'))
            return QStringLiteral("Xvfb gave no display: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        display_ = u':' + QString::fromLatin1(number.trimmed());

        // openbox runs its start-up command once it manages the screen; its
        // settings are its defaults, not the user's.
        const QString ready = QDir(folder).filePath(QStringLiteral("wm-ready"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display_);
        env.insert("XDG_CONFIG_HOME", folder);
        windowManager_.setProcessEnvironment(env);
        windowManager_.start(openbox, {"--sm-disable", "--startup", "touch '" + ready + "'"});
        if (!windowManager_.waitForStarted(10000)) return QStringLiteral("openbox did not start");
        if (!waitUntil([&] { return QFile::exists(ready) || windowManager_.state() == QProcess::NotRunning; }, 10000) ||
            !QFile::exists(ready))
            return QStringLiteral("openbox did not take the screen: ") +
                   QString::fromLocal8Bit(windowManager_.readAllStandardError());
        return {};
    }

    const QString& display() const { return display_; }

private:
    QProcess server_;
    QProcess windowManager_;
    QString display_;
};

// The frame of a window as the X server places it and the window manager
// reports it.
QRect frameOf(const QWidget* w) { return w->windowHandle()->frameGeometry(); }

QString text(const QRect& r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// In the process on the X server: opens the designer as the program does and
// checks its frame. "D", "DT" and "DB" start the program with the /D switch
// (and /T or /B), which opens the designer before the main window is shown,
// on a grid larger than the screen; "small" does the same on a grid that
// fits; "shown" opens it with Design from the shown main window.
void openAndCheckTheDesigner(const QString& how) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const bool small = how == u"small";
    const QString file = dir.filePath(QStringLiteral("Tree.txt"));
    QFile tree(file);
    ASSERT_TRUE(tree.open(QIODevice::WriteOnly));
    tree.write(small ? "H Title=Small,DesCols=3,DesRows=2\nP ann=f(1,1):Ann|A|\n"
                     : "H Title=Wide,DesCols=40,DesRows=30\nP ann=f(1,1):Ann|A|\n");
    tree.close();

    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes(boxes);
    FormSVG window;
    window.setDataFolder(QStringLiteral(KV_SOURCE_DIR "/share"));
    connectProgramWindows(window);
    QStringList arguments;
    if (how == u"DT") arguments << QStringLiteral("/T");
    if (how == u"DB") arguments << QStringLiteral("/B");
    if (how != u"shown") arguments << QStringLiteral("/D");
    window.Form_Load(arguments << file);
    window.show();
    if (how == u"shown") {
        ASSERT_TRUE(waitUntil([&] { return FramePlacement::known(window.windowHandle()->frameMargins()); }, 10000))
            << "the main window was not decorated";
        window.cmdDesign_Click();
    }
    FormGrid* designer = window.findChild<FormGrid*>();
    ASSERT_TRUE(designer);
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join(u'\n').toStdString();

    const QRect area = designer->screen()->availableGeometry();
    QRect wanted = area;
    if (how == u"DT" || how == u"DB") wanted.setHeight(area.height() / 2);
    if (how == u"DB") wanted.moveTop(area.top() + area.height() / 2);
    // Waits for the window manager's frame and for the window to be put
    // right: a large grid's frame fills its part of the area, a small one's
    // is centred in it.
    const auto settled = [&] {
        if (!FramePlacement::known(designer->windowHandle()->frameMargins())) return false;
        const QRect frame = frameOf(designer);
        if (!small) return frame == wanted;
        const QPoint off = frame.center() - area.center();
        return qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
    };
    const bool placed = waitUntil(settled, 10000);
    const QRect frame = frameOf(designer);
    const QMargins margins = designer->windowHandle()->frameMargins();
    EXPECT_TRUE(placed) << "frame " << text(frame).toStdString() << ", wanted " << text(wanted).toStdString()
                        << ", frame margins " << margins.left() << "/" << margins.right() << "/" << margins.top()
                        << "/" << margins.bottom();
    // The frame holds the title bar at its top: all of it is on the screen.
    EXPECT_TRUE(area.contains(frame)) << text(frame).toStdString();
    EXPECT_GT(margins.top(), margins.bottom()) << "no title bar";
    if (small) {
        // The grid that fits shows whole, without scroll bars.
        EXPECT_FALSE(designer->view()->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(designer->view()->verticalScrollBar()->isVisible());
    }
}

}  // namespace

TEST(FormGridOnAnXServer, TheFrameAndTitleBarLieInsideTheAvailableArea) {
    const QString how = qEnvironmentVariable(kCaseVariable);
    if (!how.isEmpty()) {
        openAndCheckTheDesigner(how);
        return;
    }

    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty() || openbox.isEmpty())
        GTEST_SKIP() << "Xvfb or openbox is not installed (Debian packages xvfb, openbox): the designer's frame is "
                        "not checked under a window manager";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    XServerWithWindowManager x;
    const QString problem = x.start(xvfb, openbox, dir.path());
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();

    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(self->test_suite_name(), self->name());
    for (const QString how : {"D", "DT", "DB", "small", "shown"}) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", x.display());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert(kCaseVariable, how);
        env.remove("GTEST_OUTPUT");  // the report is this process's to write
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(), {filter});
        const bool finished = run.waitForFinished(60000);
        if (!finished) {
            run.kill();
            run.waitForFinished();
        }
        EXPECT_TRUE(finished && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0)
            << "opened by " << how.toStdString() << ":\n"
            << run.readAll().toStdString();
    }
}
