#include "NavigationData.h"

#include <QHash>
#include <QStringList>

#include "ChartDataBlocks.h"
#include "SVGTree.h"
#include "foundation/TextHelpers.h"

namespace {
constexpr int kJoinWidth = 150;
}

NavigationData::NavigationData(const SVGTree& oTree, SVGDisplay::ChartWriter& oOut) : tree_(oTree), out_(oOut) {}

void NavigationData::write(const QString& sText) { out_.WriteOutput(sText, false, kJoinWidth); }
void NavigationData::add(const QString& sText) { out_.WriteOutput(sText, true, kJoinWidth); }

void NavigationData::GenerateNavData() {
    const SVGDisplay& d = *tree_.GetDisplay();
    const bool svg = d.GetSVGFile();
    const QString inst = d.GetInst();
    const QString prefix = QStringLiteral("var nd") + inst + u'_';
    const QString ref = QStringLiteral("nd") + inst + u'_';
    PersonDict viewPersons;
    FamilyDict viewFamilies;
    const PersonDict& persons = tree_.GetViewPersons(viewPersons);
    const FamilyDict& families = tree_.GetViewFamilies(viewFamilies);

    // Positions in view, counted from 0 in dictionary order.
    QHash<QString, int> personPos, familyPos;
    personPos.reserve(persons.count());
    familyPos.reserve(families.count());
    int n = 0;
    for (const auto& kv : persons) personPos.insert(kv.first, n++);
    n = 0;
    for (const auto& kv : families) familyPos.insert(kv.first, n++);
    auto pos = [](const QHash<QString, int>& index, const QString& key) { return index.value(key, -1); };
    auto num = [](int value) { return QString::number(value); };

    write(QStringLiteral("<script>"));
    if (svg) write(QStringLiteral("<![CDATA["));

    const QStringList colours = {d.GetBoxCol(QStringLiteral("f")), d.GetBoxCol(QStringLiteral("m")),
                                 d.GetBoxCol(QStringLiteral("x")), d.GetBoxCol(QStringLiteral("u")),
                                 d.GetBoxBorderCol(),              d.GetCircleCol(QStringLiteral("C")),
                                 d.GetCircleCol(QStringLiteral("C2")), d.GetCircleCol(QStringLiteral("CL")),
                                 d.GetCircleCol(QStringLiteral("CL2")), svg ? QStringLiteral("255") : QStringLiteral("240")};
    write(prefix + QStringLiteral("colours = ['") + colours.join(QStringLiteral("','")) + QStringLiteral("'];"));

    const QStringList dims = {sFormatNum(d.GetOpacity().toDouble()), sFormatNum(d.GetBoxW()), sFormatNum(d.GetBoxH()),
                              sFormatNum(d.GetMarginW()),            sFormatNum(d.GetMarginH()),
                              sFormatNum(d.GetButtonW()),            sFormatNum(d.GetButtonH()),
                              sFormatNum(1.5),                       sFormatNum(1.5),
                              sFormatNum(4)};
    write(prefix + QStringLiteral("dims = [") + dims.join(u',') + QStringLiteral("];"));

    // A map from quoted key to position.
    auto writeMap = [&](const QString& name, const QStringList& keys) {
        if (keys.isEmpty()) {
            write(prefix + name + QStringLiteral(" = {};"));
            return;
        }
        add(prefix + name + QStringLiteral(" = {'") + keys.first() + QStringLiteral("':0"));
        for (int i = 1; i < keys.size(); ++i) add(QStringLiteral(", '") + keys[i] + QStringLiteral("':") + num(i));
        write(QStringLiteral("};"));
    };
    QStringList personKeys, familyKeys;
    for (const auto& kv : persons) personKeys.append(kv.first);
    for (const auto& kv : families) familyKeys.append(kv.first);
    writeMap(QStringLiteral("persons"), personKeys);
    writeMap(QStringLiteral("families"), familyKeys);

    // An array with one plain entry per person.
    auto writeList = [&](const QString& name, const QStringList& values) {
        if (values.isEmpty()) {
            write(prefix + name + QStringLiteral(" = [];"));
            return;
        }
        add(prefix + name + QStringLiteral(" = [") + values.first());
        for (int i = 1; i < values.size(); ++i) add(QStringLiteral(", ") + values[i]);
        write(QStringLiteral("];"));
    };
    // An array with one array of positions per entry.
    auto writeNested = [&](const QString& name, const QList<QList<int>>& lists) {
        if (lists.isEmpty()) {
            write(prefix + name + QStringLiteral(" = [];"));
            return;
        }
        add(prefix + name + QStringLiteral(" = ["));
        for (int i = 0; i < lists.size(); ++i) {
            if (i > 0) add(QStringLiteral(", "));
            if (lists[i].isEmpty()) {
                add(QStringLiteral("[]"));
                continue;
            }
            add(QStringLiteral("["));
            for (int j = 0; j < lists[i].size(); ++j) add((j > 0 ? QStringLiteral(",") : QString()) + num(lists[i][j]));
            add(QStringLiteral("]"));
        }
        write(QStringLiteral("];"));
    };

    QStringList sexes, parentFams, names;
    QList<QList<int>> spouseFams;
    for (const auto& [key, person] : persons) {
        const QString sex = person->GetSex();
        sexes.append(num(sex.size() == 1 ? static_cast<int>(QStringLiteral("fmux").indexOf(sex)) : -1));
        parentFams.append(num(pos(familyPos, tree_.ChildFamily(*person))));
        QList<int> spouses;
        for (const QString& fam : person->GetFamKeys().keys())
            if (const int p = pos(familyPos, fam); p >= 0) spouses.append(p);
        spouseFams.append(spouses);
        names.append(QStringLiteral("'") + ChartDataBlocks::sScriptString(person->GetPersonalNames()) + u'\'');
    }
    writeList(QStringLiteral("sex"), sexes);
    writeList(QStringLiteral("parentFam"), parentFams);
    writeNested(QStringLiteral("spouseFam"), spouseFams);

    QList<QList<int>> parents, children;
    for (const auto& kv : families) {
        const SVGFamily& family = *kv.second;
        const SVGBoxPtr first = family.GetFirstPar(), second = family.GetSecPar();
        const int p1 = first ? pos(personPos, first->GetKey()) : -1;
        const int p2 = second ? pos(personPos, second->GetKey()) : -1;
        const bool firstIsFather = first && first->GetSex() == QLatin1String("m");
        parents.append(firstIsFather ? QList<int>{p1, p2} : QList<int>{p2, p1});
        QList<int> kids;
        for (const SVGBoxPtr& child : family.GetChildren())
            if (const int p = pos(personPos, child->GetKey()); p >= 0) kids.append(p);
        children.append(kids);
    }
    // Every family has both parents; each pair is added whole, so a line
    // never breaks inside one.
    if (parents.isEmpty()) {
        write(prefix + QStringLiteral("famParents = [];"));
    } else {
        add(prefix + QStringLiteral("famParents = ["));
        for (int i = 0; i < parents.size(); ++i) {
            if (i > 0) add(QStringLiteral(", "));
            add(u'[' + num(parents[i][0]) + u',' + num(parents[i][1]) + u']');
        }
        write(QStringLiteral("];"));
    }
    writeNested(QStringLiteral("famChildren"), children);
    writeList(QStringLiteral("personalNames"), names);

    add(QStringLiteral("if (typeof nd_index !== 'undefined') { "));
    add(QStringLiteral("nd_index[\"") + inst + QStringLiteral("\"] = {"));
    add(QStringLiteral("title:'") + ChartDataBlocks::sScriptString(d.GetTitle()) + QStringLiteral("', "));
    const char* members[] = {"persons", "families", "sex", "personalNames", "parentFam",
                             "spouseFam", "famParents", "famChildren", "colours"};
    for (const char* member : members)
        add(QLatin1String(member) + u':' + ref + QLatin1String(member) + QStringLiteral(", "));
    add(QStringLiteral("dims:") + ref + QStringLiteral("dims "));
    write(QStringLiteral("}; }"));
    if (svg) write(QStringLiteral("]]>"));
    write(QStringLiteral("</script>"));
}
