#pragma once

#include <algorithm>

#include <QFile>
#include <QString>
#include <QTextStream>

// Writes a tree definition file of `persons` persons for benchmarks: rows of
// 200 persons, couples of neighbours in each row with two children in the row
// below, a notes line and a tooltip on every other person, and two viewpoints
// holding couples of alternate rows with their children. With `reversedFamilies` the
// families are written from the last row up, so that saving must reorder them all.
inline void generateTreeFile(const QString& file, int persons, bool reversedFamilies = false) {
    QFile out(file);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream s(&out);
    s.setEncoding(QStringConverter::Utf8);
    s.setGenerateByteOrderMark(true);
    s << "H Title=Generated,W=90,H=70,DesCols=200,DesRows=" << (persons / 200 + 1) << ",Viewpoints=True\r\n\r\n";
    s << "U img=http://example.org/pics/|/home/me/pics/\r\n\r\n";
    auto col = [](int i) { return 1 + i % 200; };
    auto row = [](int i) { return 1 + i / 200; };
    for (int i = 0; i < persons; ++i) {
        s << "P p" << i;
        if (i % 10 == 0) s << "($img:p" << i << ".jpg)";
        s << (i % 50 == 0 ? '~' : '=') << (i % 2 ? 'm' : 'f') << '(' << col(i) << ',' << row(i) << "):Person Number "
          << i << " (1800-1870)|P. N. " << i << "|Person /Number" << i << "/\r\n";
        if (i % 2 == 0) s << "= <p>Notes of person " << i << " with a <a href=\"$img:doc" << i << ".html\">link</a></p>\r\n";
        if (i % 2 == 1) s << "- Tooltip " << i << "\r\n";
    }
    s << "\r\n";
    // Couple k: persons 2k and 2k+1 of a row; children: the same places one row down.
    QStringList families;
    for (int a = 0; a + 1 < persons; a += 2) {
        const int c1 = a + 200, c2 = a + 201;
        if (c2 >= persons) break;
        families << QStringLiteral("F f%1=p%1+p%2:p%3,p%4\r\n= Family %1\r\n").arg(a).arg(a + 1).arg(c1).arg(c2);
    }
    if (reversedFamilies) std::reverse(families.begin(), families.end());
    for (const QString& f : families) s << f;
    s << "\r\n";
    for (int v = 0; v < 2; ++v) {
        s << "V v" << v << "=Viewpoint " << v << "|200," << (persons / 200 + 1) << "\r\n\r\n";
        QStringList fams;
        // Viewpoint v: couples of every other row (even rows for v0, odd for v1)
        // standing at a place divisible by 4, with their children.
        for (int a = 0; a + 201 < persons; a += 4) {
            if ((a / 200) % 2 != v) continue;
            for (int p : {a, a + 1, a + 200, a + 201}) s << "p p" << p << '(' << row(p) << ',' << col(p) << ")\r\n";
            fams << QStringLiteral("f f%1\r\n").arg(a);
        }
        s << "\r\n";
        for (const QString& f : fams) s << f;
        s << "\r\n";
    }
}
