#pragma once

#include <optional>

#include <QColor>
#include <QStringList>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "LogReporter.h"
#include "MainWindowLink.h"
#include "ScriptedMessageBoxes.h"

// A progress log on a QTextEdit, attached as the main window's log, with
// scripted message boxes installed.
class GuiLogFixture : public ::testing::Test {
protected:
    QTextEdit log;
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    LogReporter reporter{&log};

    void SetUp() override { MainWindowLink::attach(nullptr, &reporter); }
    void TearDown() override { MainWindowLink::attach(nullptr, nullptr); }

    // The lines of the log, without the empty line after the last line end.
    QStringList lines() const {
        QStringList out = log.toPlainText().split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    }

    // The colour of a log line; nothing when the line has no colour of its own
    // (it shows in the log's normal text colour).
    std::optional<QColor> colourOfLine(int line) const {
        const QTextBlock block = log.document()->findBlockByNumber(line);
        const QTextCharFormat format = block.begin().fragment().charFormat();
        if (!format.hasProperty(QTextFormat::ForegroundBrush)) return std::nullopt;
        return format.foreground().color();
    }
};
