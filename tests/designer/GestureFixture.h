#pragma once

#include <deque>
#include <functional>

#include <QObject>
#include <QStringList>

#include "DesignerFixture.h"
#include "DesignerHost.h"
#include "DesignerPopups.h"
#include "GridGestures.h"

// A designer host for tests: records warnings, errors, questions, popups,
// editor calls and redraws; answers questions, popups and editors from a script.
struct ScriptedDesignerHost : DesignerHost {
    QStringList warnings, errors, questions, editorCalls;
    std::deque<bool> answers;  // Yes/No answers; No when empty
    QString clipboard;
    int clipboardWrites = 0;
    QList<PopupMenuModel> popups;
    std::deque<QString> popupChoices;  // "" dismisses; dismissed when empty
    QList<GridRedraw> redraws;
    int gestureChanges = 0;
    // The editors; without a script they are cancelled.
    std::function<QString(SVGTree&)> createBox;
    std::function<bool(SVGTree&, const QString&)> editBox;
    std::function<QString(SVGTree&, const QString&, const QString&)> createFamily;
    std::function<bool(SVGTree&, const QString&, QString&)> editFamily;

    void warn(const QString& text) override { warnings << text; }
    void reportError(const QString& description) override { errors << description; }
    bool askYesNo(const QString& question) override {
        questions << question;
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& text) override {
        clipboard = text;
        ++clipboardWrites;
    }
    QString popup(const PopupMenuModel& menu, QPointF) override {
        popups << menu;
        if (popupChoices.empty()) return QString();
        const QString c = popupChoices.front();
        popupChoices.pop_front();
        return c;
    }
    QString CreateBox(SVGTree& t) override {
        editorCalls << QStringLiteral("CreateBox");
        return createBox ? createBox(t) : QString();
    }
    bool EditBox(SVGTree& t, const QString& key) override {
        editorCalls << QStringLiteral("EditBox ") + key;
        return editBox && editBox(t, key);
    }
    QString CreateFamily(SVGTree& t, const QString& a, const QString& b) override {
        editorCalls << QStringLiteral("CreateFamily %1 %2").arg(a, b);
        return createFamily ? createFamily(t, a, b) : QString();
    }
    bool EditFamily(SVGTree& t, const QString& key, QString& childSet) override {
        editorCalls << QStringLiteral("EditFamily ") + key;
        return editFamily && editFamily(t, key, childSet);
    }
    void redraw(const GridRedraw& changes) override { redraws << changes; }
    void gestureChanged() override { ++gestureChanges; }

    // Every cell, family and child line redrawn since the last clear.
    QSet<int> cellsRedrawn() const {
        QSet<int> out;
        for (const GridRedraw& r : redraws)
            for (auto it = r.cells.begin(); it != r.cells.end(); ++it) out.insert(it.key());
        return out;
    }
    QSet<int> childLinesRedrawn() const {
        QSet<int> out;
        for (const GridRedraw& r : redraws) out.unite(r.childLines);
        return out;
    }
    QSet<int> familiesRedrawn() const {
        QSet<int> out;
        for (const GridRedraw& r : redraws) out.unite(r.families);
        return out;
    }
};

// A designer tree with its gestures on a scripted host, and the tree's events
// recorded in order ("PFChange", "ViewpointPFChange V", "PersonDetails p1", ...).
struct GestureTree : DesignerTree {
    ScriptedDesignerHost host;
    GridGestures gestures{model, host};
    QStringList events;

    explicit GestureTree(int cols = 12, int rows = 8) : DesignerTree(cols, rows) {
        QObject::connect(&tree, &SVGTree::PFChange, [this] { events << QStringLiteral("PFChange"); });
        QObject::connect(&tree, &SVGTree::ViewpointPFChange,
                         [this](const QString& k) { events << QStringLiteral("ViewpointPFChange ") + k; });
        QObject::connect(&tree, &SVGTree::PersonDetails,
                         [this](const QString& k) { events << QStringLiteral("PersonDetails ") + k; });
        QObject::connect(&tree, &SVGTree::FamilyDetails,
                         [this](const QString& k) { events << QStringLiteral("FamilyDetails ") + k; });
    }

    // Opens the grid and builds the link records, as the window does.
    void show(const QString& view = QString()) {
        open(view);
        model.BuildFamilyRecords(true);
    }
    DesignerCommands& commands() { return gestures.commands(); }

    // Points of the grid (window units).
    QPointF inBox(int col, int row, double dx = 0, double dy = 0) const {
        return model.geometry().boxRect(col, row).center() + QPointF(dx, dy);
    }
    QPointF onCircle(const QString& family) const {
        return model.circleRect(model.records().familyIndex(family)).center();
    }
    int childRecord(const QString& key) const {
        int f = 0;
        return model.iFindChild(key, f);
    }
    CellRef at(const QString& key) const { return model.cellOfPerson(key); }
    // The link records in use, by content (families by key, children by
    // person and family key), sorted: records kept up to date step by step
    // must equal those built afresh, whatever their indices.
    QStringList recordsByContent() const {
        QStringList out;
        const LinkRecords& r = model.records();
        auto cell = [](const CellRef& c) { return QStringLiteral("(%1,%2,%3)").arg(c.L).arg(c.C).arg(c.R); };
        for (int i = 1; i <= r.familyUpperBound(); ++i) {
            const FamilyRecord& f = r.family(i);
            if (!f.inUse()) continue;
            out << QStringList{f.Key, f.Key1, cell(f.LCR1), f.Key2, cell(f.LCR2), QString::number(f.bChildrenHidden),
                               QString::number(f.bMoreChildren), QString::number(f.bMoreChildren2),
                               QString::number(f.bLiaison), QString::number(f.bRelatedSpouses)}
                       .join(u' ');
        }
        for (int i = 1; i <= r.childUpperBound(); ++i) {
            const ChildRecord& c = r.child(i);
            if (!c.inUse()) continue;
            out << QStringList{c.Key, r.family(c.iFamily).Key, cell(c.LCR), QString::number(c.bTentative)}.join(u' ');
        }
        out.sort();
        return out;
    }
    // The records as a fresh build makes them.
    QStringList freshRecords() {
        const QStringList kept = recordsByContent();
        GridModel fresh(&reporter);
        fresh.takeTree(&tree);
        fresh.readGridSize();
        fresh.prepareGrid();
        fresh.BuildFamilyRecords(true);
        std::swap(fresh.records(), model.records());
        QStringList out = recordsByContent();
        std::swap(fresh.records(), model.records());
        EXPECT_EQ(recordsByContent(), kept);
        return out;
    }

    // Mouse events.
    void press(QPointF p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        gestures.press({b, b, mods, p});
    }
    void moveTo(QPointF p, Qt::MouseButtons held = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        gestures.move({Qt::NoButton, held, mods, p});
    }
    void releaseAt(QPointF p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        gestures.release({b, Qt::NoButton, mods, p});
    }
    // Press, a move past the drag distance, the move to the end, release.
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        press(from, Qt::LeftButton, mods);
        moveTo((from + to) / 2, Qt::LeftButton, mods);
        moveTo(to, Qt::LeftButton, mods);
        releaseAt(to, Qt::LeftButton, mods);
    }
    void click(QPointF p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        press(p, b, mods);
        releaseAt(p, b, mods);
    }
    // Hovers over a point with no button held.
    void hover(QPointF p, Qt::KeyboardModifiers mods = Qt::NoModifier) { moveTo(p, Qt::NoButton, mods); }
};

// Parents p1 (1,1) and p2 (2,1) of F1 with children c1 (1,2) and c2 (2,2);
// s (5,1) on its own.
inline void smallFamily(GestureTree& t) {
    t.person("p1", "m", 1, 1);
    t.person("p2", "f", 2, 1);
    t.person("c1", "m", 1, 2);
    t.person("c2", "f", 2, 2);
    t.person("s", "f", 5, 1);
    t.DesignerTree::family("F1", "p1", "p2", {"c1", "c2"});
}
