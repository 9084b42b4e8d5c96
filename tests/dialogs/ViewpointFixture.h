#pragma once

#include <memory>
#include <ostream>

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "AppError.h"
#include "RecordingReporter.h"
#include "ViewpointManagerModel.h"
#include "tree_model/SVGBox.h"
#include "tree_model/SVGFamily.h"
#include "tree_model/SVGTree.h"
#include "tree_model/SVGViewpointClass.h"
#include "ErrorOf.h"

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A small tree with two viewpoints:
//   f1 = gf (m) + gm: child jo, all three and f1 in North;
//   f2 = jo + ma: children k1, k2 (k2 has no caption), in South with jo and ma;
//   f3 = jo + an: no children, in no viewpoint;
//   f4 = zo (f) + yv (m): child ch, whose first parent is not male;
//   lo: in no family and no viewpoint; so (in South): no family at all.
// Persons are added in the order gf gm jo ma an k1 k2 lo so zo yv ch.
inline std::shared_ptr<SVGTree> makeViewpointTree() {
    auto tree = std::make_shared<SVGTree>();
    const char* const persons[][3] = {
        {"gf", "m", "George Senior Smith"}, {"gm", "f", "Grace Smith"},
        {"jo", "m", "John Smith"},          {"ma", "f", "Mary Jones"},
        {"an", "f", "Anne Brown"},          {"k1", "m", "Kid Smith"},
        {"k2", "f", "Kate Smith"},          {"lo", "m", "Lone Walker"},
        {"so", "f", "Solo Dancer."},        {"zo", "f", "Zoe Hart"},
        {"yv", "m", "Yves Hart"},           {"ch", "m", "Chris Hart"},
    };
    for (const auto& p : persons)
        tree->NewPerson(QLatin1String(p[0]), QLatin1String(p[2]), QString(), 1, 1, QLatin1String(p[1]), false,
                        QString(), true);
    tree->GetPersons().value(QStringLiteral("k2"))->SetText(QString());
    tree->GetPersons()
        .value(QStringLiteral("jo"))
        ->SetTooltips({QStringLiteral("Farmer"), QStringLiteral("Born in York")});
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

// A manager model bound to the small tree, reporting to a recorder.
class ViewpointModelTest : public ::testing::Test {
protected:
    std::shared_ptr<SVGTree> tree = makeViewpointTree();
    RecordingReporter reporter;
    ViewpointManagerModel model;

    void SetUp() override {
        model.setReporter(&reporter);
        model.bind(tree);
    }
    SVGBox* box(const char* key) const { return tree->GetPersons().value(QLatin1String(key)).get(); }
    // Selects the entry of the person in a list, as a click does.
    void select(ViewpointManagerModel::List which, const char* key) {
        const int row = rowOf(model, which, key);
        ASSERT_GE(row, 0) << key;
        if (which == ViewpointManagerModel::PersonList) model.selectPerson(row);
        if (which == ViewpointManagerModel::SpouseList) model.selectSpouse(row);
        if (which == ViewpointManagerModel::ChildList) model.selectChild(row);
    }
};
