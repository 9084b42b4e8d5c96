#pragma once

#include <initializer_list>
#include <memory>
#include <ostream>

#include <QString>
#include <QStringList>

#include "RecordingReporter.h"
#include "SVGApplications.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(list[i], os);
    }
    *os << '}';
}

// Definitions loaded from one folder of tests/data/applications, with the
// reports made while loading.
struct LoadedDefinitions {
    std::unique_ptr<SVGApplications> apps = std::make_unique<SVGApplications>();
    RecordingReporter reporter;
};

inline QString fixtureFolder(const QString& name) {
    return QStringLiteral(KV_TEST_DATA_DIR "/applications/") + name;
}

inline std::unique_ptr<LoadedDefinitions> loadDefinitions(const QString& folder) {
    auto loaded = std::make_unique<LoadedDefinitions>();
    loaded->apps->Initialise(folder, loaded->reporter);
    return loaded;
}

inline std::unique_ptr<LoadedDefinitions> loadFixture(const QString& name) {
    return loadDefinitions(fixtureFolder(name));
}

// An enabled-applications dictionary holding these ids, named as the
// definitions name them.
inline StringDict enabled(const SVGApplications& apps, std::initializer_list<const char*> ids) {
    StringDict dict;
    for (const char* id : ids) dict.add(QString::fromUtf8(id), apps.GetAppName(QString::fromUtf8(id)));
    return dict;
}

inline StringDict settingsOf(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    StringDict dict;
    for (const auto& [name, value] : pairs) dict.set(QString::fromUtf8(name), QString::fromUtf8(value));
    return dict;
}
