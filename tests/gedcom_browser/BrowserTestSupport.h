#pragma once

#include <functional>

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "GEDBrowserHost.h"
#include "GEDBrowserSession.h"
#include "LoadedGEDCOMClass.h"
#include "../gedcom_library/QStringPrinting.h"

// A browser host that records what the session shows and answers warnings
// with a scripted button.
class RecordingHost : public GEDBrowserHost {
public:
    QStringList log, warnings, discardWarnings, information;
    QString clipboard = QStringLiteral("(untouched)");
    bool cancelWarnings = false;
    std::function<void(PlaceKeyClass&)> editor;

    void logLine(const QString& text, LogColour) override { log << text; }
    void warn(const QString& text) override { warnings << text; }
    bool warnDiscard(const QString& text) override {
        discardWarnings << text;
        return cancelWarnings;
    }
    bool askYesNo(const QString&) override { return false; }
    void showInformation(const QString& text) override { information << text; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void editPlaceKeys(PlaceKeyClass& keys) override {
        if (editor) editor(keys);
    }
};

inline QString browserFixture(const QString& name) {
    return QStringLiteral(KV_TEST_DATA_DIR "/gedcom_browser/") + name;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A session opened on a fresh holder.
class SessionTest : public ::testing::Test {
protected:
    RecordingHost host;
    LoadedGEDCOMClass holder;
    GEDBrowserSession session{host};

    void SetUp() override { session.open(holder); }
    void TearDown() override { session.close(); }

    void load(const QString& name) { session.loadFile(browserFixture(name)); }
    QStringList personRows() {
        QStringList rows;
        for (int r = 0; r < session.personList().rowCount(); ++r) rows << session.personList().rowText(r);
        return rows;
    }
    // Selects the person row with this text.
    void pick(const QString& name) {
        const int row = int(personRows().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        session.selectPersonRow(row);
    }
};
