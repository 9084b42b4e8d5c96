#include "ChartClassLists.h"

#include "SVGBox.h"
#include "SVGFamily.h"
#include "SVGTree.h"
#include "foundation/StringSets.h"

namespace {

QString classList(const SVGTree& tree, const StringDict& local, const QString& key, const QString& classType,
                  const QString& base) {
    const QString sep = QStringLiteral("|");
    QString list = base;
    if (const QString* header = tree.GetSettings().find(classType)) list = sSetUnion(list, *header, sep);
    if (const QString* own = local.find(classType)) list = sSetUnion(list, *own, sep);
    if (list.isEmpty()) return list;
    list.replace(QStringLiteral("??"), key);
    list.replace(u'?', tree.GetDisplay()->GetInst());
    list.replace(u'|', u' ');
    return list;
}

}  // namespace

QString GetPersonClassList(const SVGTree& oTree, const SVGBox& oBox, const QString& sClassType,
                           const QString& sBaseClasses) {
    return classList(oTree, oBox.GetLocSettings(), oBox.GetKey(), sClassType, sBaseClasses);
}

QString GetFamilyClassList(const SVGTree& oTree, const SVGFamily& oFam, const QString& sClassType,
                           const QString& sBaseClasses) {
    return classList(oTree, oFam.GetLocSettings(), oFam.GetKey(), sClassType, sBaseClasses);
}
