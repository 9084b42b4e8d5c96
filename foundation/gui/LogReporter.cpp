#include "LogReporter.h"

#include <cstdio>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "MainWindowLink.h"
#include "MessageBoxes.h"
#include "WindowUpdates.h"

namespace {

const QString kDiscardedText = QStringLiteral("Further errors from this module discarded");

// Removes whole lines from the head of the log so that a message of
// messageLength characters fits: everything up to and including the first
// line end at or after (0-based) position messageLength + 99. When no line
// end lies there, only the first character goes; the lines are cut on the
// following messages.
void trimHead(QTextDocument& doc, int messageLength) {
    const int length = doc.characterCount() - 1;  // without the document's closing separator
    if (qint64(length) + messageLength <= LogReporter::kMaxLogLength) return;
    QTextCursor cut(&doc);
    const QTextBlock block = qint64(messageLength) + 99 < length ? doc.findBlock(messageLength + 99) : QTextBlock();
    if (block.isValid() && block.next().isValid())
        cut.setPosition(block.position() + block.length(), QTextCursor::KeepAnchor);
    else if (length > 0)
        cut.setPosition(1, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
}

}  // namespace

LogReporter::LogReporter(QTextEdit* log, MessageBoxes* boxes) : logBox(log), fixedBoxes(boxes) {
    // The log is rewritten all the time; an undo history would only grow.
    if (log) log->document()->setUndoRedoEnabled(false);
}

LogReporter::~LogReporter() { MainWindowLink::forget(this); }

MessageBoxes& LogReporter::boxes() const { return fixedBoxes ? *fixedBoxes : MessageBoxes::current(); }

void LogReporter::appendToLog(const QString& text, LogColour colour) {
    QTextDocument& doc = *logBox->document();
    trimHead(doc, int(text.size()));
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;  // no colour of its own: the log's normal text colour
    if (colour != LogColour::Default) format.setForeground(QColor::fromRgb(QRgb(colour)));
    cursor.insertText(text + QLatin1Char('\n'), format);
    logBox->setTextCursor(cursor);
    logBox->ensureCursorVisible();
}

void LogReporter::logLine(const QString& text, LogColour colour) {
    if (logBox) appendToLog(text, colour);
    // Errors and warnings are red; they also go to standard error, so that a
    // run from a terminal or a script shows why it stopped.
    if (!logBox || colour == LogColour::Red) std::fputs(text.toLocal8Bit().append('\n').constData(), stderr);
}

void LogReporter::warn(const QString& text) { reportError(text, nullptr); }

bool LogReporter::warnDiscard(const QString& text) { return reportErrorDiscard(text, nullptr); }

bool LogReporter::askYesNo(const QString& text) {
    return boxes().show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

void LogReporter::reportError(const QString& text, WindowUpdates* updates) {
    if (updates) updates->CancelW();
    logLine(text, LogColour::Red);
    boxes().show(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool LogReporter::reportErrorDiscard(const QString& text, WindowUpdates* updates) {
    if (updates) updates->CancelW();
    logLine(text, LogColour::Red);
    if (boxes().show(QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) !=
        QMessageBox::Cancel)
        return false;
    logLine(kDiscardedText, LogColour::Red);
    return true;
}
