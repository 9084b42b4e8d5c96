#pragma once

#include <QStringView>

// True when the text is not empty and holds only the digits 0 to 9: the test
// both date directions apply to the number fields of a date.
inline bool bAllDigits(QStringView s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
