#include "TreeText.h"

#include <cmath>

#include "foundation/AppError.h"
#include "foundation/TextCoreErrors.h"
#include "foundation/TextHelpers.h"

bool toBoolean(const QString& text, const QString& source) {
    if (!bIsBoolean(text)) throw AppError(RuntimeError::TypeMismatch, source, QStringLiteral("Type mismatch"));
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    return t.toDouble() != 0.0;
}

QString booleanText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

int toInteger16(const QString& text, const QString& source) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) throw AppError(RuntimeError::TypeMismatch, source, QStringLiteral("Type mismatch"));
    const double r = std::nearbyint(v);  // halves to even
    if (r < -32768.0 || r > 32767.0) throw AppError(RuntimeError::Overflow, source, QStringLiteral("Overflow"));
    return static_cast<int>(r);
}

bool isDigitRun(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

bool hasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

bool fitsBetweenBars(const QString& text) { return !hasLineBreak(text) && !text.contains(u'|'); }

QString blanksForBreaks(const QString& text, bool bars) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(u'\r', u' ').replace(u'\n', u' ');
    if (bars) out.replace(u'|', u' ');
    return out;
}
