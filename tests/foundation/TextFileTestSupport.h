#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A scratch folder for the text-file tests; files are written byte for byte.
class TextFileScratch {
public:
    TextFileScratch() { EXPECT_TRUE(dir_.isValid()); }

    QString path(const QString& name) const { return dir_.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return path(name);
    }

    static QByteArray read(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
        return f.readAll();
    }

    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
};
