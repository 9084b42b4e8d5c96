#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "SVGTree.h"
#include "foundation/AppError.h"
#include "ErrorOf.h"

// A small tree: a couple (ann, bob) with two children (cat, dan) in family f1.
inline void addCouple(SVGTree& tree) {
    tree.NewPerson("ann", "Ann Smith", "", 1, 1, "f", false, "", true);
    tree.NewPerson("bob", "Bob Smith", "", 2, 1, "m", false, "", true);
    tree.NewPerson("cat", "Cat Smith", "", 1, 2, "f", false, "", true);
    tree.NewPerson("dan", "Dan Smith", "", 2, 2, "m", false, "", true);
    auto fam = tree.NewFamily("f1", "ann", "bob");
    fam->AddChild(tree.GetPersons().value("cat"));
    fam->AddChild(tree.GetPersons().value("dan"));
}

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
