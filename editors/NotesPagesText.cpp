#include "NotesPagesText.h"

#include "AttachedTexts.h"
#include "SVGApplications.h"

QString sPageText(const QStringList& lines) { return lines.join(u'\n'); }

QStringList pageLines(const QString& sText) {
    if (sText.isEmpty()) return {};
    QString text = sText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(u'\n');
}

QString sGetLocSettingsText(const AttachedTexts& object) {
    QStringList lines;
    for (const auto& [name, value] : object.GetLocSettings()) lines.append(name + u'=' + value);
    return lines.join(u'\n');
}

QString sLocSettingsRecord(const QString& sPage) {
    QStringList lines = pageLines(sPage);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    return lines.join(u',');
}

QList<DataMenuItem> dataMenuItems(const SVGApplications* applications) {
    QStringList ids, descrs, sigs;
    if (applications) applications->GetDataList(ids, descrs, sigs);
    QList<DataMenuItem> items;
    for (int i = 0; i < ids.size(); ++i)
        if (i < descrs.size() && !descrs[i].isEmpty())
            items.append({QStringLiteral("Edit ") + descrs[i] + QStringLiteral("..."), ids[i]});
    if (ids.isEmpty()) items.append({QStringLiteral("(none defined)"), QString()});
    return items;
}

bool bDataMenuEnabled(const SVGApplications* applications, int iPage) {
    return iPage == 3 && applications && applications->TotalData() > 0;
}
