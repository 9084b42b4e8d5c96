#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// What every harness shares: one application object, and a scratch folder
// where the input bytes are written as a file for readers that take a path.
namespace fuzz {

inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

inline QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

// Writes the bytes to a file of the scratch folder and returns its path.
inline QString writeFile(const QString& name, const uint8_t* data, size_t size) {
    const QString path = scratch().filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(reinterpret_cast<const char*>(data), qint64(size));
        f.close();
    }
    return path;
}

}  // namespace fuzz
