#include "TreeDrawing.h"

#include <algorithm>

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include "BoxDrawing.h"
#include "FamilyDrawing.h"
#include "SVGApplications.h"
#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "SVGViewpointClass.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

namespace {

const QString kTreeLinkV = QStringLiteral("TreeLinkV");

void warn(const SVGTree& tree, const QString& text) {
    if (Reporter* reporter = tree.reporter()) reporter->warn(text);
}

// Gives one person or family the local settings required for the program-data
// ids of its rows (rows of one field name no id).
void applyLocalSettings(const QStringList& progData, StringDict& local, const OrderedDict<StringDict>& required,
                        const QStringList& requiredNames) {
    QSet<QString> ids;
    for (const QString& row : progData) {
        const QList<QString> fields = row.split(u'|');
        if (fields.size() >= 2) ids.insert(sTrimWhite(fields.first()));
    }
    for (const QString& name : requiredNames) local.remove(name);
    for (const auto& entry : required) {
        if (!ids.contains(entry.first)) continue;
        for (const auto& setting : entry.second) local.set(setting.first, setting.second);
    }
}

}  // namespace

TreeDrawing::TreeDrawing(const ChartDrawContext& context) : context_(context) {}

void TreeDrawing::DrawTree() {
    SVGTree& tree = context_.tree;
    PersonDict viewPersons;
    FamilyDict viewFamilies;
    const PersonDict& persons = tree.GetViewPersons(viewPersons);
    const FamilyDict& families = tree.GetViewFamilies(viewFamilies);
    for (const auto& person : persons) person.second->SetSpouseSet(QString());
    ClearRootKeys();

    const QString rootKey = tree.GetDisplay()->GetRootKey();
    if (!rootKey.isEmpty()) {
        if (const SVGViewpointPtr viewpoint = tree.GetViewpoint()) {
            if (viewpoint->PersonExists(rootKey)) MarkRootLine(rootKey, families);
        } else if (!persons.contains(rootKey)) {
            warn(tree, QStringLiteral("The specified RootKey (") + rootKey + QStringLiteral(") does not exist"));
        } else {
            MarkRootLine(rootKey, families);
        }
    }

    FamilyDrawing familyDrawing(context_);
    for (const auto& family : families)
        familyDrawing.DrawFamily(*family.second, family.second->GetMoreChildren(), family.second->GetLiaison());
    BoxDrawing boxDrawing(context_);
    for (const auto& person : persons) boxDrawing.DrawBox(*person.second);
}

void TreeDrawing::ClearRootKeys() {
    for (const auto& family : context_.tree.GetFamilies()) family.second->SetRootKey(QString());
}

void TreeDrawing::MarkRootLine(const QString& sKey, const FamilyDict& oFams) {
    // The first family, in the order of oFams, that has each person as a child.
    QHash<QString, SVGFamily*> parentsOf;
    for (const auto& family : oFams)
        for (const SVGBoxPtr& child : family.second->GetChildren())
            if (!parentsOf.contains(child->GetKey())) parentsOf.insert(child->GetKey(), family.second.get());

    // Depth first, the first parent's line before the second's.
    QSet<QString> visited;
    QList<QString> pending = {sKey};
    while (!pending.isEmpty()) {
        const QString key = pending.takeLast();
        if (visited.contains(key)) continue;
        visited.insert(key);
        SVGFamily* family = parentsOf.value(key);
        if (!family) continue;
        family->SetRootKey(key);
        pending.append(family->GetSecPar()->GetKey());
        pending.append(family->GetFirstPar()->GetKey());
    }
}

void TreeDrawing::AddLocalSettings() {
    const StringDict* appDict = context_.tree.GetAppDict();
    if (!context_.apps || !appDict) return;
    QString names;
    const OrderedDict<StringDict> required = context_.apps->GetLocalSettings(*appDict, names);
    if (required.isEmpty()) return;
    QStringList requiredNames = names.split(u',', Qt::SkipEmptyParts);
    for (const auto& person : context_.tree.GetPersons())
        applyLocalSettings(person.second->GetProgData(), person.second->GetLocSettings(), required, requiredNames);
    for (const auto& family : context_.tree.GetFamilies())
        applyLocalSettings(family.second->GetProgData(), family.second->GetLocSettings(), required, requiredNames);
}

void TreeDrawing::UpdateTreeLinks(const QString& sViewpoint, const QString& sRootName) {
    SVGTree& tree = context_.tree;
    // The base name alone, whichever separator the folder before it uses.
    const QString rootName = sRootName.mid(std::max(sRootName.lastIndexOf(u'\\'), sRootName.lastIndexOf(u'/')) + 1);
    const QString inst = tree.GetDisplay()->GetInst();
    const bool usingViewpoints = tree.UsingViewpoints();
    const QString sep = QStringLiteral(" | ");
    for (const auto& entry : tree.GetPersons()) {
        SVGBox& person = *entry.second;
        QStringList rows;
        bool changed = false;
        for (const QString& row : person.GetProgData()) {
            if (row.isEmpty()) continue;  // an empty row has no field to keep
            const QList<QString> fields = row.split(u'|');
            const QString id = sTrimWhite(fields.first());
            if (id == kTreeLinkV) {
                changed = true;
                continue;
            }
            rows.append(row);
            if (id == u"TreeLink" && fields.size() >= 2) {
                const QString viewpoint = sTrimWhite(fields[1]);
                if (!viewpoint.isEmpty() && !tree.GetViewpoints().contains(viewpoint))
                    warn(tree, QStringLiteral("Person ") + person.GetKey() +
                                   QStringLiteral(" references non-existent viewpoint key ") + viewpoint +
                                   QStringLiteral(" in the program data tab"));
            }
        }
        if (usingViewpoints) {
            const QString held = tree.GetPersonViewpoints(person);
            for (const QString& key : held.split(u',', Qt::SkipEmptyParts)) {
                if (key == sViewpoint) continue;
                const SVGViewpointPtr viewpoint = tree.GetViewpoints().value(key);
                rows.append(kTreeLinkV + sep + key + sep + viewpoint->GetName() + sep + rootName + QLatin1Char('_') +
                            key + sep + QLatin1Char('P') + inst + QLatin1Char('-') + person.GetKey() + sep +
                            QStringLiteral("Self"));
                changed = true;
            }
        }
        if (changed) person.SetProgData(rows);
    }
}
