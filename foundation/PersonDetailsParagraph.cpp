#include "PersonDetailsParagraph.h"

#include <QStringList>

#include "StringSets.h"
#include "TextHelpers.h"

QString sPersonDetailsParagraph(const QString& s1, const QString& s2, const QString& s3, const QString& s4) {
    const QString lf(QChar(10));
    QString text = trimBlanks(s1);
    for (const QString* s : {&s2, &s3, &s4}) text = sSetJoin(text, trimBlanks(*s), lf);
    if (text.isEmpty()) return QString();

    // One left-to-right pass: three line feeds in a row become two.
    QString single;
    single.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        single += text[i];
        if (text[i] == u'\n' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }

    QStringList lines = single.split(lf);
    if (lines.size() > 1)
        for (QString& line : lines) line = sAddFullStop(trimBlanks(line));
    return lines.join(u' ');
}
