#pragma once

#include <deque>

#include <QList>
#include <QString>

#include "Reporter.h"

// A Reporter for tests: records every call in order and answers the OK/Cancel
// and Yes/No questions from a script (default answers when the script is empty).
class RecordingReporter : public Reporter {
public:
    struct Entry {
        enum Kind { Log, Warn, WarnDiscard, Ask } kind;
        QString text;
        LogColour colour = LogColour::Default;
    };

    QList<Entry> entries;
    std::deque<bool> answers;      // next answers to warnDiscard (true = Cancel) and askYesNo (true = Yes)
    bool defaultDiscard = false;   // answer of warnDiscard when the script is empty
    bool defaultYes = false;       // answer of askYesNo when the script is empty

    void logLine(const QString& text, LogColour colour = LogColour::Default) override {
        entries.append({Entry::Log, text, colour});
    }
    void warn(const QString& text) override { entries.append({Entry::Warn, text}); }
    bool warnDiscard(const QString& text) override {
        entries.append({Entry::WarnDiscard, text});
        return next(defaultDiscard);
    }
    bool askYesNo(const QString& text) override {
        entries.append({Entry::Ask, text});
        return next(defaultYes);
    }

    // Texts of the entries of one kind, in order.
    QList<QString> texts(Entry::Kind kind) const {
        QList<QString> out;
        for (const auto& e : entries)
            if (e.kind == kind) out.append(e.text);
        return out;
    }
    QList<QString> warnings() const {
        QList<QString> out;
        for (const auto& e : entries)
            if (e.kind == Entry::Warn || e.kind == Entry::WarnDiscard) out.append(e.text);
        return out;
    }
    QList<QString> logLines() const { return texts(Entry::Log); }

private:
    bool next(bool fallback) {
        if (answers.empty()) return fallback;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
};
