#pragma once

#include <ostream>

#include <QString>
#include <QStringList>

#include "foundation/OrderedDict.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) { *os << '{' << list.join(u'|').toStdString() << '}'; }

// The settings as "key=value" texts, in the dictionary's order.
inline QStringList entriesOf(const StringDict& dict) {
    QStringList out;
    for (const auto& kv : dict) out.append(kv.first + u'=' + kv.second);
    return out;
}
