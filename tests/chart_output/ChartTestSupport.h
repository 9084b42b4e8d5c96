#pragma once

#include <functional>

#include <gtest/gtest.h>

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "ChartOutputWriter.h"
#include "RecordingReporter.h"
#include "SVGApplications.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "TreeDrawing.h"
#include "../tree_model/TreeFixture.h"  // errorOf, printing of QString
#include "foundation/AppError.h"

// The bytes a chart writer left in a file.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// What `draw` writes through a chart writer, as text: without the byte-order
// mark, lines ending in LF.
inline QString drawToText(const std::function<void(ChartOutputWriter&)>& draw) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.svg"));
    ChartOutputWriter writer;
    writer.OpenOutput(path);
    draw(writer);
    writer.CloseOutput();
    QByteArray bytes = fileBytes(path);
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The lines of a body that hold `part`.
inline QStringList linesWith(const QString& body, const QString& part) {
    QStringList out;
    for (const QString& line : body.split(u'\n'))
        if (line.contains(part)) out.append(line);
    return out;
}

// "" when the body, wrapped in an <svg> root, is well-formed XML; else the
// parser's message with its line.
inline QString xmlError(const QString& body) {
    const QString doc = QStringLiteral(
                            "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n") +
                        body + QStringLiteral("</svg>\n");
    QXmlStreamReader reader(doc);
    while (!reader.atEnd()) reader.readNext();
    if (!reader.hasError()) return QString();
    return reader.errorString() + QStringLiteral(" at line ") + QString::number(reader.lineNumber());
}

// Sets header settings and reads them into the tree's display.
inline void applySettings(SVGTree& tree, const QList<std::pair<QString, QString>>& settings) {
    for (const auto& s : settings) tree.GetSettings().set(s.first, s.second);
    tree.GetDisplay()->Init(tree.GetSettings());
}

// A chart drawn from one tree: its body, and what the drawing reported.
struct Chart {
    SVGTree tree;
    RecordingReporter reporter;
    SVGApplications apps;
    PictureSizeFn pictures;
    QTemporaryDir folder;  // local copies of pictures

    Chart() {
        tree.setReporter(&reporter);
        applySettings(tree, {{"Inst", "A"}, {"Stepped", "False"}});
    }
    SVGBoxPtr person(const QString& key, const QString& caption, int col, int row, const QString& sex = "f") {
        return tree.NewPerson(key, caption, QString(), col, row, sex, false, QString(), false);
    }
    SVGFamilyPtr family(const QString& key, const QString& p1, const QString& p2, const QStringList& children = {}) {
        auto fam = tree.NewFamily(key, p1, p2);
        for (const QString& c : children) fam->AddChild(tree.GetPersons().value(c));
        return fam;
    }
    // Boxes, pictures, buttons and circles are clickable with one application
    // enabled in an HTML chart.
    void enableClicks() {
        StringDict enabled;
        enabled.set("InfoPanel", "Information panel");
        tree.SetAppDict(enabled);
    }
    QString draw() {
        return drawToText([&](ChartOutputWriter& w) { TreeDrawing(ChartDrawContext{tree, w, &apps, pictures}).DrawTree(); });
    }
};

