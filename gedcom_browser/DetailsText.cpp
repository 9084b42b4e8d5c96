#include "DetailsText.h"

#include <QStringList>

#include "foundation/StringSets.h"
#include "foundation/TextHelpers.h"

QString sKnownAsText(const QString& sPersonalNames) {
    if (sPersonalNames.isEmpty()) return QString();
    QString names = sPersonalNames;
    names.replace(u'|', QStringLiteral(", "));
    names.remove(u'/');
    return QStringLiteral("Known as: ") + names;
}

QString sDetailsParagraph(const QString& sText1, const QString& sText2, const QString& sText3,
                          const QString& sText4) {
    const QString lf(QChar(10));
    QString t = sText1.trimmed();
    for (const QString* s : {&sText2, &sText3, &sText4}) t = sSetJoin(t, s->trimmed(), lf);
    if (t.isEmpty()) return QString();
    // One pass from the left: three line feeds become two.
    QString single;
    single.reserve(t.size());
    for (int i = 0; i < t.size(); ++i) {
        single += t[i];
        if (t[i] == u'\n' && i + 1 < t.size() && t[i + 1] == u'\n') ++i;
    }
    QStringList lines = single.split(lf);
    if (lines.size() >= 2)
        for (QString& line : lines) line = sAddFullStop(line.trimmed());
    return lines.join(u' ');
}
