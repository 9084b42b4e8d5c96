#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "ChartTestSupport.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGTree.h"

// The pixel size of a PNG file, read from its header (the chart tests have no
// image library).
inline QSize pngSize(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = f.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG")) return {};
    auto be32 = [&](int at) {
        return (uchar(head[at]) << 24) | (uchar(head[at + 1]) << 16) | (uchar(head[at + 2]) << 8) | uchar(head[at + 3]);
    };
    return QSize(be32(16), be32(20));
}

// A chart file as text: without the byte-order mark, lines ending in LF.
inline QString chartText(const QString& path) {
    QByteArray bytes = fileBytes(path);
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline void writeFile(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path;
    f.write(text.toUtf8());
}

// A small tree, its applications and a folder to write charts into:
//   dad (m) + mum (f) = fam1, children kid (f) and other (x); lone (u).
// dad and fam1 have notes, kid has program data of a kind with place keys and
// of one without, fam1 has a program-data row. Instance letter A.
class ChartFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        apps.Initialise(QStringLiteral(KV_TEST_DATA_DIR "/chart_run/defs"), reporter);
        reporter.entries.clear();
        tree = std::make_unique<SVGTree>();
        tree->SetTreeFile(path(QStringLiteral("TreeSmall.txt")));
        tree->GetPlaceKeys().Define(QStringLiteral("web"), QStringLiteral("http://example.org/"),
                                    QStringLiteral("/nowhere/"));
        auto dad = tree->NewPerson(QStringLiteral("dad"), QStringLiteral("Dad"), QStringLiteral("D"), 1, 1,
                                   QStringLiteral("m"), false, QString(), true);
        auto mum = tree->NewPerson(QStringLiteral("mum"), QStringLiteral("Mum"), QStringLiteral("M"), 2, 1,
                                   QStringLiteral("f"), false, QString(), true);
        auto kid = tree->NewPerson(QStringLiteral("kid"), QStringLiteral("Kid"), QStringLiteral("K"), 1, 2,
                                   QStringLiteral("f"), false, QString(), true);
        auto other = tree->NewPerson(QStringLiteral("other"), QStringLiteral("Other"), QStringLiteral("O"), 2, 2,
                                     QStringLiteral("x"), false, QString(), true);
        tree->NewPerson(QStringLiteral("lone"), QStringLiteral("Lone"), QStringLiteral("L"), 3, 1,
                        QStringLiteral("u"), false, QString(), true);
        dad->SetPersonalNames(QStringLiteral("Dad /Smith/"));
        dad->AddNotes(QStringLiteral("<p>See <a href=\"$web:dad.html\">his page</a>.</p>"));
        kid->AddProgData(QStringLiteral("Link | $web:kid.html | Kid's page"));
        kid->AddProgData(QStringLiteral("Plain | $web:kept"));
        auto fam = tree->NewFamily(QStringLiteral("fam1"), QStringLiteral("dad"), QStringLiteral("mum"));
        fam->AddChild(kid);
        fam->AddChild(other);
        fam->AddNotes(QStringLiteral("<p>Married.</p>"));
        fam->AddProgData(QStringLiteral("Plain | 1"));
        settings({{QStringLiteral("Title"), QStringLiteral("Small")}, {QStringLiteral("Inst"), QStringLiteral("A")}});
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Sets header settings, re-reads the display and rebuilds the enabled set.
    void settings(const QList<std::pair<QString, QString>>& values) {
        applySettings(*tree, values);
        tree->SetAppDict(apps.Load(tree->GetSettings()));
    }

    // Writes a template into the folder and names it in the Header setting.
    void useTemplate(const QString& text) {
        writeFile(path(QStringLiteral("Custom.tpl")), text);
        settings({{QStringLiteral("Header"), path(QStringLiteral("Custom.tpl"))}});
    }

    QTemporaryDir dir;
    RecordingReporter reporter;
    SVGApplications apps;
    std::unique_ptr<SVGTree> tree;
};
