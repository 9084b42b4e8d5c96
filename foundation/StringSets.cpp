#include "StringSets.h"

#include <QStringList>

namespace {

// The items of a list; the empty string has none. With an empty separator a
// list is one item.
QStringList splitItems(const QString& list, const QString& sep) {
    if (list.isEmpty()) return {};
    if (sep.isEmpty()) return {list};
    return list.split(sep, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

// Occurrences of sep in text, counted left to right without overlap.
int countSeparators(QStringView text, const QString& sep) {
    if (sep.isEmpty()) return 0;
    int count = 0;
    for (qsizetype from = text.indexOf(sep); from >= 0; from = text.indexOf(sep, from + sep.size())) ++count;
    return count;
}

QString wrapped(const QString& s, const QString& sep) { return sep + s + sep; }

// The list inside a separator-wrapped string; "" when nothing is left.
QString unwrapped(const QString& r, const QString& sep) {
    if (r.size() < 2 * sep.size()) return QString();
    return r.mid(sep.size(), r.size() - 2 * sep.size());
}

}  // namespace

QString sSetUnion(const QString& sA, const QString& sB, const QString& sSep) {
    QString r = wrapped(sA, sSep);
    const QString emptyResult = sSep + sSep;
    for (const QString& item : splitItems(sB, sSep)) {
        if (r == emptyResult) {
            r = wrapped(item, sSep);
        } else if (!r.contains(wrapped(item, sSep))) {
            r += item;
            r += sSep;
        }
    }
    return unwrapped(r, sSep);
}

QString sSetDifference(const QString& sA, const QString& sB, const QString& sSep) {
    QString r = wrapped(sA, sSep);
    for (const QString& item : splitItems(sB, sSep)) {
        const qsizetype at = r.indexOf(wrapped(item, sSep));
        if (at >= 0) r.remove(at, sSep.size() + item.size());  // the following separator stays
    }
    return unwrapped(r, sSep);
}

QString sSetJoin(const QString& sA, const QString& sB, const QString& sSep) {
    if (sA.isEmpty()) return sB;
    if (sB.isEmpty()) return sA;
    return sA + sSep + sB;
}

QString sSetIntersection(const QString& sA, const QString& sB, const QString& sSep) {
    return sSetDifference(sA, sSetDifference(sA, sB, sSep), sSep);
}

bool bSetMember(const QString& sList, const QString& sItem, const QString& sSep) {
    return wrapped(sList, sSep).contains(wrapped(sItem, sSep));
}

int iSetCount(const QString& sList, const QString& sSep) {
    if (sList.isEmpty()) return 0;
    return countSeparators(sList, sSep) + 1;
}

QString sSetItem(const QString& sList, int iIndex, const QString& sSep) {
    const QStringList items = splitItems(sList, sSep);
    if (iIndex < 1 || iIndex > items.size()) return QString();
    return items.at(iIndex - 1);
}

int iSetIndex(const QString& sList, const QString& sItem, const QString& sSep) {
    // In the wrapped list the match starts with the separator before the item,
    // so its index is where the item starts in sList itself.
    const qsizetype at = wrapped(sList, sSep).indexOf(wrapped(sItem, sSep));
    if (at < 0) return 0;
    return countSeparators(QStringView(sList).left(at), sSep) + 1;
}
