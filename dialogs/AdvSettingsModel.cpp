#include "AdvSettingsModel.h"

#include <functional>

#include "SettingWrites.h"
#include "foundation/AppError.h"
#include "foundation/PathHelpers.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"

const QString AdvSettingsModel::kSource = QStringLiteral("FormAdvSettings");

namespace {
using Kind = AdvSettingsModel::Kind;

const QString kHeader = QStringLiteral("Header");

// The corners in the order they are filled and checked: key suffix and the
// name the messages use.
struct Corner {
    const char16_t* suffix;
    const char16_t* name;
};
constexpr Corner kCorners[] = {{u"TL", u"Top-left"}, {u"BL", u"Bottom-left"}, {u"TR", u"Top-right"}, {u"BR", u"Bottom-right"}};

// A size: numeric (a plain number, or a percentage), then its value in range.
QString sizeProblem(const QString& text, const QString& what, float low, bool lowIncluded, float high,
                    const QString& rangeText) {
    if (!bIsNumOrPct(text)) return what + QStringLiteral(" must be numeric");
    const float v = sngNumOrPct(text);
    if ((lowIncluded ? v < low : v <= low) || v > high) return what + rangeText;
    return {};
}

QString boxProblem(const QString& text, const QString& what) {
    return sizeProblem(text, what, 0, false, 320, QStringLiteral(" must be greater than 0 and not greater than 320"));
}
QString marginProblem(const QString& text, const QString& what) {
    return sizeProblem(text, what, 0, true, 200, QStringLiteral(" must be between 0 and 200"));
}
QString buttonProblem(const QString& text, const QString& what) {
    return sizeProblem(text, what, 0, true, 48, QStringLiteral(" must be between 0 and 48"));
}
QString shareProblem(const QString& text, const QString& what) {
    return sizeProblem(text, what, 0, true, 1, QStringLiteral(" must be between 0 and 1 (or 0% and 100%)"));
}

// The check of each text field that has one (applied to a non-empty text).
const QHash<QString, std::function<QString(const QString&)>>& checks() {
    static const QHash<QString, std::function<QString(const QString&)>> table = [] {
        QHash<QString, std::function<QString(const QString&)>> t;
        t.insert(QStringLiteral("Inst"), [](const QString& s) {
            const bool ok = s.size() == 1 && s[0].unicode() < 128 && s[0].isLetterOrNumber();
            return ok ? QString() : QStringLiteral("Instance ID can only be a single digit or letter");
        });
        t.insert(QStringLiteral("W"), [](const QString& s) { return boxProblem(s, QStringLiteral("Box width")); });
        t.insert(QStringLiteral("H"), [](const QString& s) { return boxProblem(s, QStringLiteral("Box height")); });
        t.insert(QStringLiteral("MW"), [](const QString& s) { return marginProblem(s, QStringLiteral("Margin width")); });
        t.insert(QStringLiteral("MH"), [](const QString& s) { return marginProblem(s, QStringLiteral("Margin height")); });
        t.insert(QStringLiteral("BW"), [](const QString& s) { return buttonProblem(s, QStringLiteral("Button width")); });
        t.insert(QStringLiteral("BH"), [](const QString& s) { return buttonProblem(s, QStringLiteral("Button height")); });
        for (const Corner& c : kCorners) {
            const QString name = QString::fromUtf16(c.name);
            const QString suffix = QString::fromUtf16(c.suffix);
            // A header record is split at its commas: neither text may hold one.
            t.insert(QStringLiteral("Tooltip") + suffix, [name](const QString& s) {
                return s.contains(u',') ? name + QStringLiteral(" button tooltip contains commas") : QString();
            });
            t.insert(QStringLiteral("Icon") + suffix, [name](const QString& s) {
                return s.contains(u',') ? name + QStringLiteral(" button icon contains commas") : QString();
            });
        }
        t.insert(QStringLiteral("BGImage"), [](const QString& s) {
            return s.contains(u',') ? QStringLiteral("Background image file name contains commas") : QString();
        });
        t.insert(QStringLiteral("BGImageWidth"),
                 [](const QString& s) { return shareProblem(s, QStringLiteral("Background image width")); });
        t.insert(QStringLiteral("BGImageHeight"),
                 [](const QString& s) { return shareProblem(s, QStringLiteral("Background image height")); });
        t.insert(QStringLiteral("BGImageOpacity"),
                 [](const QString& s) { return shareProblem(s, QStringLiteral("Background image opacity")); });
        t.insert(kHeader, [](const QString& s) {
            return s.contains(u',') ? QStringLiteral("Header file name contains commas") : QString();
        });
        return t;
    }();
    return table;
}
}  // namespace

const QList<AdvSettingsModel::Field>& AdvSettingsModel::fields() {
    static const QList<Field> list = [] {
        QList<Field> f = {
            {QStringLiteral("ProgData"), Kind::Switch, {}}, {QStringLiteral("NavData"), Kind::Switch, {}},
            {QStringLiteral("NotesData"), Kind::Switch, {}}, {QStringLiteral("Inst"), Kind::Text, {}},
            {QStringLiteral("W"), Kind::Text, QStringLiteral("80")},  {QStringLiteral("H"), Kind::Text, QStringLiteral("80")},
            {QStringLiteral("MW"), Kind::Text, QStringLiteral("50")}, {QStringLiteral("MH"), Kind::Text, QStringLiteral("50")},
            {QStringLiteral("BW"), Kind::Text, QStringLiteral("12")}, {QStringLiteral("BH"), Kind::Text, QStringLiteral("12")},
        };
        for (const Corner& c : kCorners) {
            const QString suffix = QString::fromUtf16(c.suffix);
            f.append({QStringLiteral("Button") + suffix, Kind::Switch, {}});
            f.append({QStringLiteral("Tooltip") + suffix, Kind::Text, {}});
            f.append({QStringLiteral("Icon") + suffix, Kind::Text, {}});
        }
        for (const char* key : {"BGImage", "BGImageWidth", "BGImageHeight", "BGImageOpacity", "Header"})
            f.append({QString::fromLatin1(key), Kind::Text, {}});
        return f;
    }();
    return list;
}

int AdvSettingsModel::fieldIndex(const QString& key) {
    const QList<Field>& list = fields();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].key == key) return i;
    return -1;
}

void AdvSettingsModel::load(const StringDict& settings) {
    values.clear();
    for (const Field& f : fields()) {
        if (f.kind == Kind::Switch)
            values.append(readSwitch(settings, f.key, false) ? QStringLiteral("True") : QStringLiteral("False"));
        else
            values.append(settings.value(f.key, f.fallback));
    }
}

QString AdvSettingsModel::problem() const {
    for (int i = 0; i < fields().size(); ++i) {
        const QString& text = values[i];
        if (text.isEmpty()) continue;
        const auto check = checks().constFind(fields()[i].key);
        if (check == checks().cend()) continue;
        const QString message = (*check)(text);
        if (!message.isEmpty()) return message;
    }
    return {};
}

bool AdvSettingsModel::accept(StringDict& settings, Reporter& reporter) const {
    const QString message = problem();
    if (!message.isEmpty()) {
        reporter.warn(message);
        return false;
    }
    const QString header = value(kHeader);
    if (!header.isEmpty() && !bFileExists(header))
        raiseError(kFileMissingOffset, kSource, QStringLiteral("File ") + header + QStringLiteral(" does not exist"));

    for (int i = 0; i < fields().size(); ++i) {
        const Field& f = fields()[i];
        if (f.kind == Kind::Switch)
            writeSwitch(settings, f.key, values[i] == u"True");
        else
            writeTextSetting(settings, f.key, values[i]);
    }
    return true;
}
