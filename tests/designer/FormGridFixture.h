#pragma once

#include <memory>

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "FormGrid.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "ScriptedMessageBoxes.h"
#include "SVGTree.h"

// The Tree Designer window on a small tree, with the program's log on a text
// box and message boxes answered from a script.
class FormGridTest : public ::testing::Test {
protected:
    QTextEdit log;
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    LogReporter reporter{&log};
    std::shared_ptr<SVGTree> tree = std::make_shared<SVGTree>();
    std::unique_ptr<FormGrid> form;

    void SetUp() override {
        MainWindowLink::attach(nullptr, &reporter);
        setting("Stepped", "False");
        setting("Title", "My Tree");
        int cols = 12, rows = 8;
        tree->SetGridColRow(cols, rows, true);
        form = std::make_unique<FormGrid>();
    }
    void TearDown() override {
        form.reset();
        MainWindowLink::attach(nullptr, nullptr);
    }
    void setting(const QString& name, const QString& value) {
        tree->GetSettings().set(name, value);
        tree->GetDisplay()->Init(tree->GetSettings());
    }
    SVGBoxPtr person(const QString& key, const QString& sex, int col, int row, const QString& image = QString(),
                     bool tentative = false) {
        return tree->NewPerson(key, key + QStringLiteral(" Full Name"), key, col, row, sex, tentative, image, true);
    }
    SVGFamilyPtr family(const QString& key, const QString& a, const QString& b, const QStringList& children = {}) {
        SVGFamilyPtr fam = tree->NewFamily(key, a, b);
        for (const QString& c : children) fam->AddChild(tree->GetPersons().value(c));
        return fam;
    }
    int cell(int col, int row) const { return form->model().geometry().iCellIndex(col, row); }
    // Whether the scene, painted, shows a pixel of the colour within a few
    // pixels of a point (scene pixels).
    bool showsColourNear(QPointF point, const QColor& colour) const {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            form->scene()->render(&painter, QRectF(0, 0, 16, 16), QRectF(point - QPointF(8, 8), QSizeF(16, 16)));
        }
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (image.pixelColor(x, y).rgb() == colour.rgb()) return true;
        return false;
    }
    QStringList logLines() const {
        QStringList out = log.toPlainText().split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    }
};
