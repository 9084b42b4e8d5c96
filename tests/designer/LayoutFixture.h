#pragma once

#include <gtest/gtest.h>

#include <QSet>
#include <QString>
#include <QStringList>

#include "SVGTree.h"
#include "foundation/AppError.h"
#include "ErrorOf.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Small trees for the layout tests: persons start in the cells given (or in
// a diagonal so that both orientations read them alike).
struct LayoutTree {
    SVGTree tree;
    int next = 1;

    explicit LayoutTree(int cols = 12, int rows = 8) {
        int c = cols, r = rows;
        tree.SetGridColRow(c, r, true);
    }
    void person(const QString& key, const QString& text = QString(), int col = 0, int row = 0) {
        if (!col) {
            col = next;
            row = next;
            ++next;
        }
        tree.NewPerson(key, text.isEmpty() ? key : text, "", col, row, "", false, "", true);
    }
    void persons(const QStringList& keys) {
        for (const QString& k : keys) person(k);
    }
    SVGFamilyPtr family(const QString& key, const QString& a, const QString& b, const QStringList& children = {}) {
        SVGFamilyPtr fam = tree.NewFamily(key, a, b);
        for (const QString& c : children) fam->AddChild(tree.GetPersons().value(c));
        return fam;
    }
    int col(const QString& key) const { return tree.GetPersons().value(key)->GetTreeCol(); }
    int row(const QString& key) const { return tree.GetPersons().value(key)->GetTreeRow(); }
    QPair<int, int> cell(const QString& key) const { return {col(key), row(key)}; }
    QPair<int, int> grid() const {
        int c = 0, r = 0;
        tree.GetGridColRow(c, r, true);
        return {c, r};
    }
};
