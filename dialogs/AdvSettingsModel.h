#pragma once

#include <QList>
#include <QString>

#include "foundation/OrderedDict.h"

class Reporter;

// The advanced settings dialog's form over the tree's header settings: the
// data-block switches, the instance identifier, the box, margin and button
// sizes, the four corner buttons with their tooltips and icons, the
// background picture and the header template. Every field is one setting;
// the fields are filled, checked and written in one fixed order.
class AdvSettingsModel {
public:
    enum class Kind { Switch, Text };
    struct Field {
        QString key;
        Kind kind = Kind::Text;
        QString fallback;  // the text shown when the key is absent
    };

    // The fields in the order they are filled, checked and written.
    static const QList<Field>& fields();
    // Index in fields() of a key; -1 for a key that is no field.
    static int fieldIndex(const QString& key);

    // The source and number of the error raised for a missing header file.
    static const QString kSource;
    static constexpr int kFileMissingOffset = 520;

    // One value per field: "True"/"False" for a switch, the text otherwise.
    QList<QString> values;

    QString value(const QString& key) const { return values.value(fieldIndex(key)); }
    void setValue(const QString& key, const QString& text) { values[fieldIndex(key)] = text; }
    bool isOn(const QString& key) const { return value(key) == u"True"; }
    void setOn(const QString& key, bool on) { setValue(key, on ? QStringLiteral("True") : QStringLiteral("False")); }

    // Fills the fields from the settings (a switch whose text is no Boolean
    // shows cleared).
    void load(const StringDict& settings);

    // The first field that fails its check as the message to show; empty
    // when all pass. The header file's existence is not tested here.
    QString problem() const;

    // Checks every field; on the first failure reports it and returns false
    // with the settings unchanged. A header file that does not exist raises
    // AppError (base + kFileMissingOffset, source kSource) after every other
    // field has passed. Otherwise writes every field in order (switches as
    // "True"/"False", texts as typed, an empty text removing its key) and
    // returns true.
    bool accept(StringDict& settings, Reporter& reporter) const;
};
