#pragma once

#include <QString>

// Sets and ordered lists kept as one string whose items are joined by a
// separator (one or more characters). The empty string is the empty list.
// Items compare as whole items, exactly (case-sensitive). Every operation keeps
// the order of its first argument and appends in the order of the second.

// sA followed by each item of sB that the result does not hold yet.
QString sSetUnion(const QString& sA, const QString& sB, const QString& sSep);
// sA with the items of sB taken out (one occurrence per item of sB).
QString sSetDifference(const QString& sA, const QString& sB, const QString& sSep);
// sA & sSep & sB; whichever is not empty when one is; no duplicate test.
QString sSetJoin(const QString& sA, const QString& sB, const QString& sSep);
// The items of sA that also occur in sB (order and duplicates of sA kept).
QString sSetIntersection(const QString& sA, const QString& sB, const QString& sSep);
// True when sItem is a whole item of sList.
bool bSetMember(const QString& sList, const QString& sItem, const QString& sSep);
// Number of items: 0 for the empty string, else the number of separators + 1.
int iSetCount(const QString& sList, const QString& sSep);
// Item iIndex (1-based); "" when iIndex is below 1 or beyond the last item.
QString sSetItem(const QString& sList, int iIndex, const QString& sSep);
// 1-based position of the first whole-item occurrence of sItem; 0 when absent.
int iSetIndex(const QString& sList, const QString& sItem, const QString& sSep);
