#include "SettingWrites.h"

#include <cmath>

#include "TreeText.h"
#include "foundation/TextHelpers.h"

bool readSwitch(const StringDict& settings, const QString& key, bool fallback) {
    const QString* value = settings.find(key);
    if (!value || !bIsBoolean(*value)) return fallback;
    return toBoolean(*value, key);
}

void writeSwitch(StringDict& settings, const QString& key, bool on) { settings.set(key, booleanText(on)); }

void writeTextSetting(StringDict& settings, const QString& key, const QString& text) {
    if (text.isEmpty())
        settings.remove(key);
    else
        settings.set(key, text);
}

bool wholeGridNumber(const QString& text, int& value) {
    if (!bIsNumber(text)) return false;
    const double rounded = std::nearbyint(text.toDouble());
    // Far beyond any grid: kept in range so that the caller's limits refuse it.
    value = rounded > 1e6 ? 1000000 : static_cast<int>(rounded);
    return true;
}
