#pragma once

#include <memory>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "GEDControlClass.h"
#include "GEDDocClass.h"
#include "RecordingListener.h"

// A control with a recording listener, and ways to load fixture files or
// GEDCOM text written to a temporary file.
struct GedLoad {
    std::shared_ptr<GEDControlClass> control = createGEDControl();
    RecordingListener listener;
    QTemporaryDir dir;

    GedLoad() { control->SetListener(&listener); }

    static QString fixture(const QString& name) { return QStringLiteral(KV_TEST_DATA_DIR "/ged/") + name; }

    std::shared_ptr<GEDDocClass> loadFixture(const QString& name) { return control->LoadGEDCOM(fixture(name)); }

    // Writes the bytes to a temporary file and loads it.
    std::shared_ptr<GEDDocClass> loadBytes(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("t%1.ged").arg(++files));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        return control->LoadGEDCOM(path);
    }
    std::shared_ptr<GEDDocClass> loadText(const char* text) { return loadBytes(QByteArray(text)); }

    QStringList texts() const {
        QStringList out;
        for (const auto& m : listener.messages) out.append(m.text);
        return out;
    }

    int files = 0;
};
