#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "GridModel.h"
#include "RecordingReporter.h"
#include "SVGTree.h"

// A small tree for the designer's tests: persons placed in the cells given,
// families, header settings, and a grid model on it with a recording reporter
// (Yes/No questions answered from its script).
struct DesignerTree {
    SVGTree tree;
    RecordingReporter reporter;
    GridModel model{&reporter};

    explicit DesignerTree(int cols = 12, int rows = 8) {
        setting("Stepped", "False");
        setGrid(cols, rows);
    }
    void setGrid(int cols, int rows) { tree.SetGridColRow(cols, rows, true); }
    void setting(const QString& name, const QString& value) {
        tree.GetSettings().set(name, value);
        tree.GetDisplay()->Init(tree.GetSettings());
    }
    SVGBoxPtr person(const QString& key, const QString& sex, int col, int row, const QString& image = QString(),
                     bool tentative = false) {
        return tree.NewPerson(key, key + QStringLiteral(" Full Name"), key, col, row, sex, tentative, image, true);
    }
    SVGFamilyPtr family(const QString& key, const QString& a, const QString& b, const QStringList& children = {}) {
        SVGFamilyPtr fam = tree.NewFamily(key, a, b);
        for (const QString& c : children) fam->AddChild(tree.GetPersons().value(c));
        return fam;
    }
    // Opens the model on the tree (or a viewpoint) as the designer does and builds its grid.
    void open(const QString& view = QString()) {
        tree.SetViewpointKey(view);
        model.takeTree(&tree);
        model.readGridSize();
        model.prepareGrid();
    }
    int cell(int col, int row) const { return model.geometry().iCellIndex(col, row); }
    CellAppearance look(int col, int row) const { return model.renderCell(cell(col, row)); }
};
