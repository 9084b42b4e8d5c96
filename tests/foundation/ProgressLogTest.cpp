#include <stdexcept>

#include <QWidget>

#include <gtest/gtest.h>

#include "AppError.h"
#include "GuiLogFixture.h"
#include "ProgressLog.h"
#include "WindowUpdates.h"

namespace {

// A log of `count` lines of ten characters each (nine digits and the line end).
QString numberedLines(int count) {
    QString text;
    for (int i = 0; i < count; ++i) text += QStringLiteral("%1\n").arg(i, 9, 10, QLatin1Char('0'));
    return text;
}

}  // namespace

using ProgressLog = GuiLogFixture;

TEST_F(ProgressLog, TrimsWholeLinesFromTheHeadBeforeALineThatWouldPassTheLimit) {
    struct Case {
        int logLines;       // of ten characters each
        int messageLength;
        int firstLineLeft;  // number of the first old line still in the log
    };
    const Case cases[] = {
        {4999, 20, 12},      // 49,990 + 20: cut through the line end at position 120
        {4999, 25, 13},      // the cut runs on to the next line end (position 130)
        {4900, 500, 0},      // 49,000 + 500: nothing cut
        {4990, 100, 0},      // exactly 50,000: nothing cut
        {4990, 101, 21},     // one more: at least 201 characters go
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.logLines << " lines, message of " << c.messageLength);
        log.setPlainText(numberedLines(c.logLines));
        const QString message(c.messageLength, QLatin1Char('m'));
        LogProgress(message);
        const QStringList after = lines();
        ASSERT_EQ(after.size(), c.logLines - c.firstLineLeft + 1);
        EXPECT_EQ(after.first(), QStringLiteral("%1").arg(c.firstLineLeft, 9, 10, QLatin1Char('0')));
        EXPECT_EQ(after.last(), message);
    }
}

TEST_F(ProgressLog, AMessageLongerThanTheWholeLogTakesOnlyTheFirstCharacterAndIsNeverCut) {
    // No line end lies past the message's length plus 100: only the log's
    // first character goes; the next message cuts whole lines again.
    log.setPlainText(numberedLines(100));
    const QString message(60000, QLatin1Char('m'));
    LogProgress(message);
    QStringList after = lines();
    ASSERT_EQ(after.size(), 101);
    EXPECT_EQ(after.first(), QStringLiteral("00000000"));
    EXPECT_EQ(after.at(1), QStringLiteral("000000001"));
    EXPECT_EQ(after.last(), message);
    LogProgress(QStringLiteral("next"));
    after = lines();
    ASSERT_EQ(after.size(), 91);
    EXPECT_EQ(after.first(), QStringLiteral("000000011"));
    EXPECT_EQ(after.at(89), message);
    EXPECT_EQ(after.last(), QStringLiteral("next"));

    log.clear();
    LogProgress(message);
    EXPECT_EQ(lines(), QStringList{message});
}

TEST_F(ProgressLog, LinesTakeTheirColourAndDefaultLinesTheLogsNormalColour) {
    LogProgress(QStringLiteral("plain"));
    ReportError(QStringLiteral("an error"));
    LogProgress(QStringLiteral("after the error"));
    LogProgress(QStringLiteral("echo"), LogColour::Blue);
    LogDiagnostic(QStringLiteral("diagnostic"));
    LogProgress(QStringLiteral("plain again"));

    EXPECT_EQ(lines(), (QStringList{"plain", "an error", "after the error", "echo", "diagnostic", "plain again"}));
    EXPECT_EQ(colourOfLine(0), std::nullopt);
    EXPECT_EQ(colourOfLine(1), QColor(255, 0, 0));
    EXPECT_EQ(colourOfLine(2), std::nullopt);  // not the red of the line before
    EXPECT_EQ(colourOfLine(3), QColor(0, 0, 255));
    EXPECT_EQ(colourOfLine(4), QColor(255, 0, 255));
    EXPECT_EQ(colourOfLine(5), std::nullopt);
}

TEST_F(ProgressLog, ReportErrorLogsInRedShowsAWarningBoxAndRepaintsTheSuspendedWindow) {
    QWidget window;
    window.show();
    WindowUpdates updates;
    updates.SetWnd(&window);
    ASSERT_TRUE(updates.LockW());

    ReportError(QStringLiteral("Bad record"), &updates);

    EXPECT_FALSE(updates.suspended());
    EXPECT_TRUE(window.updatesEnabled());
    EXPECT_EQ(lines(), QStringList{"Bad record"});
    EXPECT_EQ(colourOfLine(0), QColor(255, 0, 0));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.shown[0].text, "Bad record");
    EXPECT_EQ(boxes.shown[0].buttons, QMessageBox::Ok);
}

TEST_F(ProgressLog, ReportErrorDiscardCancelLogsTheDiscardLineAndReturnsTrue) {
    boxes.answers = {QMessageBox::Ok, QMessageBox::Cancel};
    EXPECT_FALSE(bReportErrorDiscard(QStringLiteral("first warning")));
    EXPECT_TRUE(bReportErrorDiscard(QStringLiteral("second warning")));

    EXPECT_EQ(lines(), (QStringList{"first warning", "second warning", "Further errors from this module discarded"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(colourOfLine(i), QColor(255, 0, 0)) << i;
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[1].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(boxes.shown[1].icon, QMessageBox::Warning);
}

TEST_F(ProgressLog, TheReporterInterfaceWarnsAndAsksThroughTheLogAndBoxes) {
    boxes.answers = {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Yes};
    Reporter& r = reporter;
    r.logLine(QStringLiteral("loading"));
    EXPECT_TRUE(r.warnDiscard(QStringLiteral("odd date")));
    EXPECT_FALSE(r.askYesNo(QStringLiteral("Save changes?")));
    EXPECT_TRUE(r.askYesNo(QStringLiteral("Save changes?")));

    EXPECT_EQ(lines(), (QStringList{"loading", "odd date", "Further errors from this module discarded"}));
    ASSERT_EQ(boxes.shown.size(), 3);
    EXPECT_EQ(boxes.shown[1].icon, QMessageBox::Question);
    EXPECT_EQ(boxes.shown[1].buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST_F(ProgressLog, HandlerErrorTailReportsErrorsAndIsSilentOnACancelledDialog) {
    auto handler = [](auto fault) {
        try {
            fault();
        } catch (...) {
            reportHandlerError();
        }
    };
    handler([] { throw AppError(kCancelErrorNumber, "SelectFileClass", "Cancel was selected"); });
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());

    handler([] { raiseError(ErrorOffset::InvalidKey, "SVGTree", "Invalid key: 1x"); });
    handler([] { throw std::runtime_error("out of range"); });
    EXPECT_EQ(lines(), (QStringList{"Invalid key: 1x", "out of range"}));
    EXPECT_EQ(boxes.texts(), (QStringList{"Invalid key: 1x", "out of range"}));
}

TEST_F(ProgressLog, ReportErrDescriptionWithoutAWindowStillLogsAndShows) {
    ReportErrDescription(AppError(kErrorBase + 527, "ReadTextFile", "Cannot open file"));
    EXPECT_EQ(lines(), QStringList{"Cannot open file"});
    EXPECT_EQ(boxes.texts(), QStringList{"Cannot open file"});
}

TEST(ProgressLogMainWindow, TheMainWindowIsBuiltOnFirstNeedAndOnlyOnce) {
    QTextEdit log;
    LogReporter reporter(&log);
    int built = 0;
    MainWindowLink::attach(nullptr, nullptr);
    MainWindowLink::setCreator([&] {
        ++built;
        LogProgress(QStringLiteral("while building"));  // must not build a second time
        MainWindowLink::attach(&log, &reporter);
    });
    LogProgress(QStringLiteral("first"));
    LogProgress(QStringLiteral("second"));
    EXPECT_EQ(built, 1);
    EXPECT_EQ(log.toPlainText(), QStringLiteral("first\nsecond\n"));
    EXPECT_EQ(MainWindowLink::window(), &log);
    MainWindowLink::setCreator(nullptr);
    MainWindowLink::attach(nullptr, nullptr);
}
