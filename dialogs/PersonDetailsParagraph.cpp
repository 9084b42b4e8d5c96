#include "PersonDetailsParagraph.h"

#include <QStringList>

#include "StringSets.h"
#include "TextHelpers.h"

namespace {

const QString kLF = QStringLiteral("\n");

// Blanks (not other white space) removed at both ends.
QString trimBlanks(const QString& s) {
    qsizetype start = 0;
    qsizetype end = s.size();
    while (start < end && s[start] == u' ') ++start;
    while (end > start && s[end - 1] == u' ') --end;
    return s.mid(start, end - start);
}

}  // namespace

QString sPersonDetailsParagraph(const QString& s1, const QString& s2, const QString& s3, const QString& s4) {
    QString text = trimBlanks(s1);
    for (const QString* s : {&s2, &s3, &s4}) text = sSetJoin(text, trimBlanks(*s), kLF);
    if (text.isEmpty()) return QString();

    // One left-to-right pass: three line feeds in a row become two.
    QString single;
    single.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        single += text[i];
        if (text[i] == u'\n' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }

    QStringList lines = single.split(u'\n');
    if (lines.size() > 1)
        for (QString& line : lines) line = sAddFullStop(trimBlanks(line));
    return lines.join(u' ');
}
