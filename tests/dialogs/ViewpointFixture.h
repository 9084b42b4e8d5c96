#pragma once

#include <memory>
#include <ostream>

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "AppError.h"
#include "ViewpointManagerModel.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A small tree with two viewpoints:
//   f1 = gf (m) + gm: child jo, all three and f1 in North;
//   f2 = jo + ma: children k1, k2 (k2 has no caption), in South with jo and ma;
//   f3 = jo + an: no children, in no viewpoint;
//   f4 = zo (f) + yv (m): child ch, whose first parent is not male;
//   lo: in no family and no viewpoint; so (in South): no family at all.
// Persons are added in the order gf gm jo ma an k1 k2 lo so zo yv ch.
inline std::shared_ptr<SVGTree> makeViewpointTree() {
    auto tree = std::make_shared<SVGTree>();
    auto person = [&](const char* key, const char* sex, const char* text) {
        tree->NewPerson(QLatin1String(key), QLatin1String(text), QString(), 1, 1, QLatin1String(sex), false,
                        QString(), true);
    };
    person("gf", "m", "George Senior Smith");
    person("gm", "f", "Grace Smith");
    person("jo", "m", "John Smith");
    person("ma", "f", "Mary Jones");
    person("an", "f", "Anne Brown");
    person("k1", "m", "Kid Smith");
    person("k2", "f", "Kate Smith");
    person("lo", "m", "Lone Walker");
    person("so", "f", "Solo Dancer.");
    person("zo", "f", "Zoe Hart");
    person("yv", "m", "Yves Hart");
    person("ch", "m", "Chris Hart");
    tree->GetPersons().value(QStringLiteral("k2"))->SetText(QString());
    tree->GetPersons().value(QStringLiteral("jo"))->SetTooltips({QStringLiteral("Farmer"), QStringLiteral("Born in York")});
    auto family = [&](const char* key, const char* a, const char* b, QStringList children) {
        auto f = tree->NewFamily(QLatin1String(key), QLatin1String(a), QLatin1String(b));
        for (const QString& c : children) f->AddChild(tree->GetPersons().value(c));
        return f;
    };
    family("f1", "gf", "gm", {"jo"});
    family("f2", "jo", "ma", {"k1", "k2"})->SetTooltips({QStringLiteral("Married 1850")});
    family("f3", "jo", "an", {});
    family("f4", "zo", "yv", {"ch"});

    auto north = tree->AddViewpoint(QStringLiteral("north"), QStringLiteral("North"), 12, 8);
    for (const char* k : {"gf", "gm", "jo"}) north->AddPerRef(QLatin1String(k), 1, 1, true);
    north->AddFamRef(*tree->GetFamilies().value(QStringLiteral("f1")));
    auto south = tree->AddViewpoint(QStringLiteral("south"), QStringLiteral("South"), 12, 8);
    for (const char* k : {"jo", "ma", "so"}) south->AddPerRef(QLatin1String(k), 1, 1, true);
    south->AddFamRef(*tree->GetFamilies().value(QStringLiteral("f2")));
    tree->SetUnsaved(false);
    return tree;
}

// The captions of a list, in order.
inline QStringList captions(const ViewpointListModel& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.entry(i).caption;
    return out;
}

// The row of the entry with the key in a list (-1 when absent).
inline int rowOf(const ViewpointManagerModel& model, ViewpointManagerModel::List which, const char* key) {
    return model.list(which).rowOfKey(QLatin1String(key));
}

// The error a call raises; a test failure when it raises none.
template <typename F>
AppError errorOf(F&& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return AppError();
}
